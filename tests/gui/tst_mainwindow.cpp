// The main window against scripted prompts and the emulated controller.
#include "editor/parametereditor.h"
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"
#include "params/fieldrules.h"
#include "gpo/frmgpo.h"
#include "link/serialport.h"
#include "report/printer.h"
#include "support/scriptedprompter.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

const QString kCompany = QStringLiteral("Velmont Sensors");
const QString kMain = QStringLiteral("Revora Shift Version 1.0");
const QString kOpenTitle = QStringLiteral("Open Data File");

QSettings settings() { return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")); }

QByteArray defaultsBlock()
{
    ParameterStore s;
    loadDefaults(s);
    return s.image.configBlock();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// Printer dialogs for a machine without printers; nothing is shown.
class NoPrinterDialogs : public report::PrintDialogs {
public:
    QStringList printers() override { return {}; }
    bool setup(QPrinter&) override { return false; }
    void preview(QPrinter&, const std::function<void(QPrinter&)>&) override {}
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    // A fresh window for each test, with its own prompts and controller.
    struct Fixture {
        ScriptedPrompter prompter;
        EmulatedController controller;
        EmulatedPort port{controller};
        std::unique_ptr<frmRevora_Main> window;

        Fixture()
        {
            window = std::make_unique<frmRevora_Main>(prompter, port, QStringList{kCompany, QStringLiteral("Line 2")});
            LinkTiming t;
            t.replyDeadlineMs = 30;
            t.pauseMs = 0;
            window->setLinkTiming(t);
        }
        ~Fixture() { prompter.setLenient(true); }
        ParameterEditor& ed() { return *window->editor(); }
        QLineEdit* field(const QString& name) { return window->findChild<QLineEdit*>(name); }
        QString text(const QString& name) { return field(name)->text(); }
        ParameterSet& params() { return window->store().params; }
        void loadDefaults() { window->mnuDisplayDefaults->trigger(); }
        void show()
        {
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        // Types into a field and moves the focus on, as the person does with Tab.
        void typeAndLeave(const QString& name, const QString& typed, const QString& next = QString())
        {
            QLineEdit* f = field(name);
            QVERIFY2(f, qPrintable(name));
            f->setFocus(Qt::TabFocusReason);
            QVERIFY(f->hasFocus());
            f->setText(typed);
            f->setModified(true);
            QLineEdit* to = field(next.isEmpty() ? QStringLiteral("txtVSSFreq") : next);
            if (to == f)
                to = field(QStringLiteral("txtPulsePerRev"));
            to->setFocus(Qt::TabFocusReason);
            QVERIFY(!f->hasFocus());
        }
    };

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init() { settings().remove(QStringLiteral("Properties")); }

    // ------------------------------------------------------------ start-up

    void startupPort_data()
    {
        QTest::addColumn<QString>("stored");  // empty: nothing stored
        QTest::addColumn<int>("port");
        QTest::newRow("nothing stored") << QString() << 1;
        QTest::newRow("7") << QStringLiteral("7") << 7;
        QTest::newRow("255") << QStringLiteral("255") << 255;
        QTest::newRow("not a number") << QStringLiteral("abc") << 1;
        QTest::newRow("zero") << QStringLiteral("0") << 1;
        QTest::newRow("above 255") << QStringLiteral("256") << 1;
        QTest::newRow("negative") << QStringLiteral("-4") << 1;
    }
    void startupPort()
    {
        QFETCH(QString, stored);
        QFETCH(int, port);
        if (!stored.isEmpty())
            settings().setValue(QStringLiteral("Properties/CommPort"), stored);
        Fixture fx;
        QCOMPARE(fx.window->linkState().PortNumber, port);
        QCOMPARE(fx.window->cboPort->currentText(), QStringLiteral("Com%1").arg(port));
        // The selection stores the number back, a bad one replaced without a box.
        QCOMPARE(settings().value(QStringLiteral("Properties/CommPort")).toString(), QString::number(port));
        QVERIFY_PROMPTS(fx.prompter);
    }

    void startupState()
    {
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(w.objectName(), QStringLiteral("frmRevora_Main"));
        QCOMPARE(w.windowTitle(), kCompany + QLatin1Char(' ') + kMain);
        QCOMPARE(w.store().MainCaption, kMain);
        QVERIFY(w.store().DataSourceName.isEmpty());
        QVERIFY(w.store().image.BufferEmpty);
        for (const char* name : {"fraShiftSetup", "fraMultiStageShiftSetup", "fraScaleFactors", "fraPortSelect",
                                 "fraProgress1"})
            QVERIFY2(w.findChild<QWidget*>(QLatin1String(name))->isHidden(), name);
        QCOMPARE(w.cboPort->count(), 255);
        QCOMPARE(w.cboPort->itemText(0), QStringLiteral("Com1"));
        QCOMPARE(w.cboPort->itemText(254), QStringLiteral("Com255"));
        QCOMPARE(w.prgProgress1->minimum(), 0);
        QCOMPARE(w.prgProgress1->maximum(), 100);
        QVERIFY(!w.linkState().UserAbort);
        QCOMPARE(w.linkState().CommErrorCount, 0);
        QVERIFY(!fx.port.isOpen());
        QVERIFY_PROMPTS(fx.prompter);
    }

    void menuCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char* rows[][2] = {
            {"mnuOpenFile", "&Open File"},
            {"mnuSaveFIle", "&Save File"},
            {"mnuPrintParams", "&Print Parameters"},
            {"mnuPrintPreview", "Print Pre&view..."},
            {"mnuPrintSetup", "Print Set&up..."},
            {"mnuExit", "E&xit"},
            {"mnuEditGPOParams", "Edit GPO Parameters"},
            {"mnuEditAlarmVSS", "Edit VSS (Speed) Alarm"},
            {"mnuEditAlarms", "Edit User Defined Alarms"},
            {"mnuDisplayDefaults", "Display Default Parameters"},
            {"mnuDownload", "&Download From EEPROM"},
            {"mnuUpload", "&Upload To EEPROM"},
            {"mnuPortSetup", "&Port Setup"},
            {"mnuHelpContents", "&Contents"},
            {"mnuAbout", "&About..."},
        };
        for (auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
    }
    void menuCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        Fixture fx;
        auto* a = fx.window->findChild<QAction*>(name);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QVERIFY(a->isEnabled());
        QVERIFY(a->shortcut().isEmpty());
    }

    void menuBarOrder()
    {
        Fixture fx;
        QStringList titles;
        for (QAction* a : fx.window->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Communications", "&Help"}));
        QStringList file;
        for (QAction* a : fx.window->mnuFile->actions())
            file << a->objectName();
        QCOMPARE(file, (QStringList{"mnuOpenFile", "mnuSaveFIle", "mnuSep1", "mnuPrintParams", "mnuPrintPreview", "mnuPrintSetup",
                                    "mnuSep2", "mnuExit"}));
    }

    // ------------------------------------------------------------ defaults

    void defaultsShowFactoryValues()
    {
        Fixture fx;
        fx.field(QStringLiteral("txtUserData"))->setText(QStringLiteral("old text"));
        fx.params().UserData = QStringLiteral("old text");
        fx.loadDefaults();
        frmRevora_Main& w = *fx.window;
        QCOMPARE(w.windowTitle(), kMain + QStringLiteral(" - Default Values"));
        QCOMPARE(w.store().DataSourceName, QStringLiteral("Default Values"));
        QVERIFY(!w.store().image.BufferEmpty);
        const QMap<QString, QString> shown{{"txtPulsePerRev", "0.5"}, {"txtVSSFreq", "150"},
                                           {"txtTPSZero", "0.9"},     {"txtTPSFullscale", "4.6"},
                                           {"txtRPMDebounce", "0.50"}, {"txtDataLogInterval", "0.10"},
                                           {"txtMaxLEDPWM", "100"},    {"txtMinLEDPWM", "6"},
                                           {"txtLaunchRPM", "3000"},   {"txtShiftRPM3", "6000"},
                                           {"txtShiftVSS5", "125"},    {"txtUserData", ""}};
        for (auto it = shown.cbegin(); it != shown.cend(); ++it)
            QVERIFY2(fx.text(it.key()) == it.value(), qPrintable(it.key() + ": " + fx.text(it.key())));
        QVERIFY(fx.params().UserData.trimmed().isEmpty());
        QVERIFY(!fx.ed().fraMultiStageShiftSetup->isHidden());
        QVERIFY(fx.ed().fraShiftSetup->isHidden());
        QVERIFY(!fx.ed().fraScaleFactors->isHidden());
        QVERIFY(!fx.ed().txtShiftVSS1->isHidden());
        QVERIFY(!fx.ed().lblMinVSS->isHidden());
        QVERIFY(fx.ed().txtShortShiftRPM->isHidden());
        QVERIFY(fx.ed().chkMultiStageShift->isChecked());
        QVERIFY(fx.ed().chkVSSGearDetect->isChecked());
        QVERIFY(fx.ed().chkVSSGearDetect->isEnabled());
        QCOMPARE(swatchColor(fx.ed().txtLaunchColor), 255u);
        // User text padded with spaces in the image.
        QCOMPARE(w.store().image.configBlock(), defaultsBlock());

        const ParameterSet once = fx.params();
        const QByteArray image = w.store().image.configBlock();
        fx.loadDefaults();
        QCOMPARE(fx.params(), once);
        QCOMPARE(w.store().image.configBlock(), image);
        QVERIFY_PROMPTS(fx.prompter);
    }

    // ------------------------------------------------------------ open

    void openFile_data()
    {
        QTest::addColumn<int>("size");  // -1: a directory, which cannot be read
        QTest::addColumn<bool>("loads");
        QTest::newRow("144 bytes") << 144 << true;
        QTest::newRow("200 bytes") << 200 << true;
        QTest::newRow("100 bytes") << 100 << false;
        QTest::newRow("empty") << 0 << false;
        QTest::newRow("unreadable") << -1 << false;
    }
    void openFile()
    {
        QFETCH(int, size);
        QFETCH(bool, loads);
        QByteArray bytes = defaultsBlock();
        bytes[0] = char(24);  // 12 pulses per revolution
        bytes += QByteArray(56, char(0x5A));
        const QString name = path(QStringLiteral("open%1.dat").arg(size));
        if (size < 0)
            QVERIFY(QDir().mkpath(name));
        else
            writeFile(name, bytes.left(size));

        Fixture fx;
        fx.loadDefaults();
        fx.prompter.expectBox(QStringLiteral("Data buffer not empty. OK to overwrite?"), kOpenTitle,
                              PromptButtons::OKCancel, PromptIcon::None, PromptAnswer::OK);
        fx.prompter.expectOpenFile(name);
        if (loads)
            fx.prompter.expectBox(QStringLiteral("Loaded ") + name + QStringLiteral(" to buffer. Ready for editing or upload."),
                                  kOpenTitle, PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
        else if (size >= 0)
            fx.prompter.expectBox(QStringLiteral("Error - reached premature end-of-file"), kOpenTitle,
                                  PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        else  // the read error goes to the error prompt; Retry reads again
            fx.prompter.expectError(QString(), PromptAnswer::Retry).expectError(QString(), PromptAnswer::Ignore);
        fx.window->mnuOpenFile->trigger();
        QVERIFY_PROMPTS(fx.prompter);

        ParameterStore& s = fx.window->store();
        if (loads) {
            QVERIFY(!s.image.BufferEmpty);
            QCOMPARE(s.image.configBlock(), bytes.left(144));
            QCOMPARE(fx.params().PulsePerRev, int16_t(24));
            QCOMPARE(fx.text(QStringLiteral("txtPulsePerRev")), QStringLiteral("12"));
            QCOMPARE(s.DataSourceName, QStringLiteral("open%1.dat").arg(size));
            QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - open%1.dat").arg(size));
            QVERIFY(!fx.ed().fraScaleFactors->isHidden());
        } else {
            QVERIFY(s.image.BufferEmpty);
            QCOMPARE(s.image.configBlock(), QByteArray(144, '\0'));
            QCOMPARE(s.DataSourceName, QStringLiteral("Data Buffer Empty"));
            QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Data Buffer Empty"));
            QVERIFY(fx.ed().fraScaleFactors->isHidden());
            QVERIFY(fx.ed().fraShiftSetup->isHidden());
        }
    }

    void openKeepsDataWhenOverwriteCancelled()
    {
        Fixture fx;
        fx.loadDefaults();
        const QByteArray image = fx.window->store().image.configBlock();
        fx.prompter.expect(QStringLiteral("Data buffer not empty. OK to overwrite?"), kOpenTitle, PromptAnswer::Cancel);
        fx.window->mnuOpenFile->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(!fx.window->store().image.BufferEmpty);
        QCOMPARE(fx.window->store().image.configBlock(), image);
        QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Default Values"));
    }

    void openMissingFile()
    {
        const QString good = path(QStringLiteral("good.dat"));
        writeFile(good, defaultsBlock());
        const QString missing = path(QStringLiteral("missing.dat"));
        Fixture fx;
        // Retry shows the dialog again.
        fx.prompter.expectOpenFile(missing)
            .expectBox(missing + QStringLiteral("\r\nFile not found."), QStringLiteral("File Open"),
                       PromptButtons::RetryCancel, PromptIcon::Exclamation, PromptAnswer::Retry)
            .expectOpenFile(good)
            .expect(QString(), kOpenTitle);
        fx.window->mnuOpenFile->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(!fx.window->store().image.BufferEmpty);

        // Cancel reaches the command's error prompt; Abort leaves the buffer empty.
        fx.prompter.expect(QString(), kOpenTitle, PromptAnswer::OK)
            .expectOpenFile(missing)
            .expect(missing + QStringLiteral("\r\nFile not found."), QStringLiteral("File Open"), PromptAnswer::Cancel)
            .expectError(QStringLiteral("Canceled File Open"), PromptAnswer::Abort);
        fx.window->mnuOpenFile->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(fx.window->store().image.BufferEmpty);

        // A cancelled dialog opens nothing and asks nothing more.
        fx.prompter.expectOpenFile(QString());
        fx.window->mnuOpenFile->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(fx.window->store().image.BufferEmpty);
    }

    void openingTheSameFileGivesTheSameWindow()
    {
        // Multi-stage off with gear detection and the GPO on: the refresh must not
        // change the parameters a second time when its switches are set.
        QByteArray bytes = defaultsBlock();
        bytes[20 - 16] = char(0x11);  // GPO on, gear detection on, multi-stage off
        const QString name = path(QStringLiteral("mixed.dat"));
        writeFile(name, bytes);
        Fixture fx;
        ParameterSet first;
        QStringList firstTexts;
        for (int i = 0; i < 2; ++i) {
            if (i == 1)
                fx.prompter.expect(QString(), kOpenTitle, PromptAnswer::OK);
            fx.prompter.expectOpenFile(name).expect(QString(), kOpenTitle);
            fx.window->mnuOpenFile->trigger();
            QVERIFY_PROMPTS(fx.prompter);
            QStringList texts;
            for (const QString& f : fx.ed().validatedFields())
                texts << fx.text(f);
            texts << QString::number(fx.ed().chkVSSGearDetect->isChecked())
                  << QString::number(fx.ed().fraShiftSetup->isHidden());
            if (i == 0) {
                first = fx.params();
                firstTexts = texts;
            } else {
                QCOMPARE(fx.params(), first);
                QCOMPARE(texts, firstTexts);
            }
        }
        QVERIFY(!fx.params().VSSGearDetect);
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked());
        QVERIFY(!fx.ed().chkVSSGearDetect->isEnabled());
        QVERIFY(!fx.ed().fraShiftSetup->isHidden());
        QVERIFY(fx.ed().fraMultiStageShiftSetup->isHidden());
    }

    // ------------------------------------------------------------ save

    void saveFile_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("written");
        QTest::newRow("new file") << "new" << true;
        QTest::newRow("existing, Yes") << "yes" << true;
        QTest::newRow("existing, No, then a new name") << "no" << true;
        QTest::newRow("existing, Cancel, Abort") << "cancel" << false;
        QTest::newRow("dialog cancelled") << "dialog" << false;
        QTest::newRow("folder does not exist") << "nofolder" << false;
    }
    void saveFile()
    {
        QFETCH(QString, scenario);
        QFETCH(bool, written);
        const QString existing = path(QStringLiteral("existing-%1.dat").arg(scenario));
        const QString fresh = path(QStringLiteral("fresh-%1.dat").arg(scenario));
        writeFile(existing, "old");
        Fixture fx;
        fx.loadDefaults();
        const QString replace = QStringLiteral("\r\nThis file already exists.\r\n\r\nReplace existing file?");
        QString target = existing;
        if (scenario == QLatin1String("new")) {
            target = fresh;
            fx.prompter.expectSaveFile(fresh);
        } else if (scenario == QLatin1String("yes")) {
            fx.prompter.expectSaveFile(existing).expectBox(existing + replace, QStringLiteral("File Save"),
                                                           PromptButtons::YesNoCancel, PromptIcon::Exclamation,
                                                           PromptAnswer::Yes);
        } else if (scenario == QLatin1String("no")) {
            target = fresh;
            fx.prompter.expectSaveFile(existing)
                .expect(existing + replace, QStringLiteral("File Save"), PromptAnswer::No)
                .expectSaveFile(fresh);
        } else if (scenario == QLatin1String("cancel")) {
            fx.prompter.expectSaveFile(existing)
                .expect(existing + replace, QStringLiteral("File Save"), PromptAnswer::Cancel)
                .expectError(QStringLiteral("Canceled File Save"), PromptAnswer::Abort);
        } else if (scenario == QLatin1String("dialog")) {
            fx.prompter.expectSaveFile(QString());
        } else {
            target = path(QStringLiteral("no/such/folder.dat"));
            fx.prompter.expectSaveFile(target).expectError(QString(), PromptAnswer::Ignore);
        }
        fx.window->mnuSaveFIle->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        if (written) {
            const QByteArray bytes = readFile(target);
            QCOMPARE(bytes, defaultsBlock());
            QCOMPARE(bytes.left(8), QByteArray::fromHex("019600061d2ceb0a"));
            QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - ") + QFileInfo(target).fileName());
        } else {
            QCOMPARE(readFile(existing), QByteArray("old"));
            QVERIFY(!QFile::exists(fresh));
            QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Default Values"));
        }
    }

    void saveNeedsData()
    {
        Fixture fx;
        fx.prompter.expectBox(QStringLiteral("Data buffer empty."), QStringLiteral("Save Data File"), PromptButtons::OK,
                              PromptIcon::Exclamation, PromptAnswer::OK);
        fx.window->mnuSaveFIle->trigger();
        QVERIFY_PROMPTS(fx.prompter);
    }

    void saveAndOpenKeepEveryByte()
    {
        // Reserved gaps and flag bits the editors do not use travel unchanged.
        QByteArray bytes = defaultsBlock();
        bytes[53 - 16] = char(0xA5);
        bytes[71 - 16] = char(0xF0);
        const QString in = path(QStringLiteral("gaps.dat"));
        const QString out = path(QStringLiteral("gaps-out.dat"));
        writeFile(in, bytes);
        Fixture fx;
        fx.prompter.expectOpenFile(in).expect(QString(), kOpenTitle).expectSaveFile(out);
        fx.window->mnuOpenFile->trigger();
        fx.window->mnuSaveFIle->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(readFile(out), bytes);
    }

    // ------------------------------------------------------------ fields

    void fieldValidation_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("title");
        QTest::newRow("empty launch") << "txtLaunchRPM" << "" << "1000"
                                      << "Value must be greater than or equal to 1000" << "Launch RPM";
        QTest::newRow("leading number") << "txtLaunchRPM" << "4000 rpm" << "4000" << "" << "";
        QTest::newRow("gear 3 too high") << "txtShiftRPM3" << "99999" << "20000"
                                         << "Value must be less than or equal to 20000" << "Shift RPM";
        QTest::newRow("speed below zero") << "txtShiftVSS2" << "-3" << "0"
                                          << "Value must be greater than or equal to zero" << "Minimum VSS";
        QTest::newRow("pulses 0.7") << "txtPulsePerRev" << "0.7" << "0.5" << "" << "";
        QTest::newRow("pulses 2.5") << "txtPulsePerRev" << "2.5" << "3" << "" << "";
        QTest::newRow("pulses 0") << "txtPulsePerRev" << "0" << "0.5"
                                  << "Value must be greater than or equal to .5" << "RPM Pulses Per Revolution";
        QTest::newRow("interval 1") << "txtDataLogInterval" << "1" << "1.00" << "" << "";
        QTest::newRow("interval 0.05") << "txtDataLogInterval" << "0.05" << "0.10"
                                       << "Value must be greater than or equal to 0.1" << "Data Logging Interval";
        QTest::newRow("debounce 0.12") << "txtRPMDebounce" << "0.12" << "0.10" << "" << "";
        QTest::newRow("brightness 30") << "txtMaxLEDPWM" << "30" << "30" << "" << "";
        QTest::newRow("brightness 4") << "txtMinLEDPWM" << "4" << "5"
                                      << "Value must be greater than or equal to 5" << "LED PWM";
        QTest::newRow("TPS zero 0.5") << "txtTPSZero" << "0.5" << "0.5" << "" << "";
        QTest::newRow("VSS frequency") << "txtVSSFreq" << "5000" << "3000"
                                       << "Value must be less than or equal to 3000" << "VSS Frequency";
    }
    void fieldValidation()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, warning);
        QFETCH(QString, title);
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        if (!warning.isEmpty())
            fx.prompter.expectBox(warning, title, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
        fx.typeAndLeave(field, typed);
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.text(field), shown);
        // The parameter holds what the field shows.
        QCOMPARE(fieldrules::display(field, fx.params()), shown);
    }

    void leavingAnUnchangedFieldNormalisesIt()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        QLineEdit* f = fx.field(QStringLiteral("txtLaunchRPM"));
        f->setText(QStringLiteral("  4500.7abc"));
        f->setModified(false);
        f->setFocus(Qt::TabFocusReason);
        fx.field(QStringLiteral("txtShiftRPM1"))->setFocus(Qt::BacktabFocusReason);
        QCOMPARE(f->text(), QStringLiteral("4500"));
        QCOMPARE(fx.params().LaunchRPM, int16_t(4500));
        QVERIFY_PROMPTS(fx.prompter);
    }

    void tpsZeroAboveFullscaleMovesBoth()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        fx.typeAndLeave(QStringLiteral("txtTPSFullscale"), QStringLiteral("4.5"));
        QCOMPARE(fx.params().TPSFullscale, int16_t(230));
        fx.typeAndLeave(QStringLiteral("txtTPSZero"), QStringLiteral("4.8"));
        QCOMPARE(fx.params().TPSZero, int16_t(245));
        QCOMPARE(fx.params().TPSFullscale, int16_t(245));
        QCOMPARE(fx.text(QStringLiteral("txtTPSZero")), QStringLiteral("4.8"));
        QCOMPARE(fx.text(QStringLiteral("txtTPSFullscale")), QStringLiteral("4.8"));
        QCOMPARE(fx.params().GPOOffTPS, int16_t(245));
        QCOMPARE(fx.params().GPOOnTPS, int16_t(245));
        QVERIFY_PROMPTS(fx.prompter);
    }

    void aWarningBoxDoesNotValidateTheNextField()
    {
        // The box takes the focus from the field the person moved to; that field
        // must not be validated (and warn) in turn.
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        fx.field(QStringLiteral("txtVSSFreq"))->setText(QStringLiteral("1"));
        fx.prompter.expect(QStringLiteral("Value must be greater than or equal to 1000"), QStringLiteral("Launch RPM"));
        fx.typeAndLeave(QStringLiteral("txtLaunchRPM"), QStringLiteral("5"), QStringLiteral("txtVSSFreq"));
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.text(QStringLiteral("txtVSSFreq")), QStringLiteral("1"));
    }

    void aMenuCommandTakesTheTypedValue()
    {
        const QString out = path(QStringLiteral("typed.dat"));
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        QLineEdit* f = fx.field(QStringLiteral("txtLaunchRPM"));
        f->setFocus(Qt::TabFocusReason);
        f->setText(QStringLiteral("4500"));
        f->setModified(true);
        fx.field(QStringLiteral("txtUserData"))->setText(QStringLiteral("Car 7"));
        fx.prompter.expectSaveFile(out);
        fx.window->mnuSaveFIle->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        const QByteArray bytes = readFile(out);
        QCOMPARE(bytes.size(), 144);
        QCOMPARE(uint8_t(bytes[32 - 16]) | uint8_t(bytes[33 - 16]) << 8, 4500);
        QCOMPARE(bytes.mid(128 - 16, 5), QByteArray("Car 7"));
        QCOMPARE(bytes.mid(133 - 16), QByteArray(27, ' '));
    }

    void userTextLimits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << "Race car 7" << "Race car 7";
        QTest::newRow("40 characters") << QString(40, QLatin1Char('x')) << QString(32, QLatin1Char('x'));
        QTest::newRow("not ASCII") << QString::fromUtf8("caf\u00e9!") << "caf!";
        QTest::newRow("tab") << "a\tb" << "ab";
    }
    void userTextLimits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        QLineEdit* f = fx.ed().txtUserData;
        f->setFocus();
        // Key by key, as typed (QTest::keyClicks takes ASCII only).
        for (QChar c : typed) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(f, &press);
        }
        QCOMPARE(f->text(), kept);
        QCOMPARE(fx.params().UserData, kept);
    }

    // ------------------------------------------------------------ switches

    void gearDetectionSwitch()
    {
        Fixture fx;
        fx.loadDefaults();
        QVERIFY(fx.params().GPOEnable);
        fx.ed().chkVSSGearDetect->setChecked(false);
        QVERIFY(!fx.params().VSSGearDetect);
        QVERIFY(!fx.params().GPOEnable);
        for (QWidget* w : {static_cast<QWidget*>(fx.ed().txtShiftVSS1), static_cast<QWidget*>(fx.ed().txtShiftVSS5),
                           static_cast<QWidget*>(fx.ed().lblMinVSS)})
            QVERIFY(w->isHidden());
        for (QWidget* w : {static_cast<QWidget*>(fx.ed().txtShortShiftRPM), static_cast<QWidget*>(fx.ed().txtShiftDropRPM),
                           static_cast<QWidget*>(fx.ed().lblShortShiftRPM), static_cast<QWidget*>(fx.ed().lblShiftDropRPM)})
            QVERIFY(!w->isHidden());
        fx.ed().chkVSSGearDetect->setChecked(true);
        QVERIFY(fx.params().VSSGearDetect);
        QVERIFY(!fx.params().GPOEnable);  // not turned back on
        QVERIFY(!fx.ed().txtShiftVSS3->isHidden());
        QVERIFY(fx.ed().txtShortShiftRPM->isHidden());
        QVERIFY_PROMPTS(fx.prompter);
    }

    void multiStageOffWithGearDetection()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.ed().chkMultiStageShift->setChecked(false);
        QVERIFY(!fx.params().MultiStageShift);
        QVERIFY(!fx.params().VSSGearDetect);
        QVERIFY(!fx.params().GPOEnable);
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked());
        QVERIFY(!fx.ed().chkVSSGearDetect->isEnabled());
        QVERIFY(!fx.ed().fraShiftSetup->isHidden());
        QVERIFY(fx.ed().fraMultiStageShiftSetup->isHidden());
        // The switch went through the image.
        QCOMPARE(fx.window->store().image.EEPROMBuffer[20] & 0x08, 0x00);
        QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Downloaded Data"));

        fx.ed().chkMultiStageShift->setChecked(true);
        QVERIFY(fx.params().MultiStageShift);
        QVERIFY(!fx.ed().fraMultiStageShiftSetup->isHidden());
        QVERIFY(fx.ed().chkVSSGearDetect->isEnabled());
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked());
        QVERIFY(!fx.ed().txtShortShiftRPM->isHidden());
        QVERIFY_PROMPTS(fx.prompter);
    }

    void multiStageSwitchNormalisesFields()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.field(QStringLiteral("txtShiftRPM2"))->setText(QStringLiteral("not validated"));
        fx.ed().chkMultiStageShift->setChecked(false);
        fx.ed().chkMultiStageShift->setChecked(true);
        QCOMPARE(fx.text(QStringLiteral("txtShiftRPM2")), QStringLiteral("6000"));
        QVERIFY_PROMPTS(fx.prompter);
    }

    void logArmedSwitch()
    {
        Fixture fx;
        fx.loadDefaults();
        const ParameterSet before = fx.params();
        fx.ed().chkLogArmed->setChecked(true);
        QVERIFY(fx.params().LogArmed);
        ParameterSet expected = before;
        expected.LogArmed = true;
        QCOMPARE(fx.params(), expected);
        fx.ed().chkLogArmed->setChecked(false);
        QVERIFY(!fx.params().LogArmed);
    }

    void colorPicker_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("answers");  // error prompt answers after a Cancel; -1: pick
        QTest::addColumn<bool>("stored");
        QTest::newRow("launch, picked") << "cmdLaunchColor" << QList<int>{-1} << true;
        QTest::newRow("single-stage shift, picked") << "cmdShiftColor" << QList<int>{-1} << true;
        QTest::newRow("cancel, abort") << "cmdLaunchColor" << QList<int>{int(PromptAnswer::Abort)} << false;
        QTest::newRow("cancel, retry, picked")
            << "cmdMultiStageShiftColor" << QList<int>{int(PromptAnswer::Retry), -1} << true;
        QTest::newRow("cancel, ignore") << "cmdLaunchColor" << QList<int>{int(PromptAnswer::Ignore)} << false;
    }
    void colorPicker()
    {
        QFETCH(QString, button);
        QFETCH(QList<int>, answers);
        QFETCH(bool, stored);
        Fixture fx;
        fx.loadDefaults();
        const bool launch = button == QLatin1String("cmdLaunchColor");
        const uint32_t picked = 0xFF123456u;  // bits above 24 come back from the dialog
        if (answers.first() != -1)
            fx.prompter.expectColor(std::nullopt);
        for (int a : answers) {
            if (a == -1)
                fx.prompter.expectColor(picked);
            else
                fx.prompter.expectError(QStringLiteral("Cancel was selected."), PromptAnswer(a));
            if (a == int(PromptAnswer::Retry))
                continue;
        }
        const ParameterSet before = fx.params();
        fx.window->findChild<QPushButton*>(button)->click();
        QVERIFY_PROMPTS(fx.prompter);
        const int32_t value = launch ? fx.params().LaunchColor : fx.params().ShiftColor;
        QCOMPARE(uint32_t(value), stored ? 0x123456u : 255u);
        QCOMPARE(fx.prompter.lastColorInitial, 255u);
        QLineEdit* swatch = button == QLatin1String("cmdLaunchColor") ? fx.ed().txtLaunchColor
                            : button == QLatin1String("cmdShiftColor") ? fx.ed().txtShiftColor
                                                                        : fx.ed().txtMultiStageShiftColor;
        QCOMPARE(swatchColor(swatch), uint32_t(value));
        QVERIFY(swatch->text().isEmpty());
        ParameterSet others = fx.params();
        (launch ? others.LaunchColor : others.ShiftColor) = launch ? before.LaunchColor : before.ShiftColor;
        QCOMPARE(others, before);
    }

    void shiftColourReachesBothSwatches()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.prompter.expectColor(0x00FF00u);
        fx.ed().cmdMultiStageShiftColor->click();
        QCOMPARE(swatchColor(fx.ed().txtMultiStageShiftColor), 0x00FF00u);
        fx.ed().chkMultiStageShift->setChecked(false);
        QCOMPARE(swatchColor(fx.ed().txtShiftColor), 0x00FF00u);
        QVERIFY_PROMPTS(fx.prompter);
    }

    // ------------------------------------------------------------ other windows

    void editMenu()
    {
        Fixture fx;
        fx.loadDefaults();
        // The VSS alarm dialog opens modally on the window's parameter set.
        QString shown;
        QTimer::singleShot(0, fx.window.get(), [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = modal->objectName();
                qobject_cast<QDialog*>(modal)->accept();
            }
        });
        fx.window->mnuEditAlarmVSS->trigger();
        QCOMPARE(shown, QStringLiteral("frmAlarmVSS"));
        // Multi-stage without gear detection needs the GPI: the GPO editor refuses.
        fx.ed().chkVSSGearDetect->setChecked(false);
        fx.prompter.expect(QLatin1String(frmGPO::kGPIRequired), QStringLiteral("Edit GPO Parameters"));
        fx.window->mnuEditGPOParams->trigger();
        QVERIFY_PROMPTS(fx.prompter);
    }

    void aboutBox()
    {
        Fixture fx;
        fx.prompter.expectBox(QString(), QStringLiteral("About"), PromptButtons::OK, PromptIcon::Information,
                              PromptAnswer::OK);
        fx.window->mnuAbout->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(fx.prompter.shown().value(0).startsWith(QStringLiteral("About: Velmont Sensors Revora Shift Version 1.00")));
    }

    void printWithoutPrinterWritesPdf()
    {
        const QString pdf = path(QStringLiteral("sheet.pdf"));
        Fixture fx;
        fx.window->setPrintDialogs(std::make_unique<NoPrinterDialogs>());
        fx.prompter.expect(QLatin1String(report::kBufferEmpty), QLatin1String(report::kPrintTitle));
        fx.window->mnuPrintParams->trigger();
        QVERIFY_PROMPTS(fx.prompter);

        fx.loadDefaults();
        fx.prompter.expectInput(QLatin1String(report::kCommentPrompt), QLatin1String(report::kCommentTitle),
                                QStringLiteral("SN 42"))
            .expect(QLatin1String(report::kNoPrinter), QLatin1String(report::kPrintTitle), PromptAnswer::Yes)
            .expectSaveFile(pdf);
        fx.window->mnuPrintParams->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(readFile(pdf).startsWith("%PDF"));
    }

    // ------------------------------------------------------------ port

    void portSetup()
    {
        Fixture fx;
        fx.window->mnuPortSetup->trigger();
        QVERIFY(!fx.window->fraPortSelect->isHidden());
        QVERIFY(fx.window->lblPortDevice->text().contains(QStringLiteral("/dev/ttyS0")));
        QVERIFY(fx.port.open(nullptr));
        fx.window->cboPort->setCurrentIndex(2);
        QCOMPARE(fx.window->linkState().PortNumber, 3);
        QCOMPARE(settings().value(QStringLiteral("Properties/CommPort")).toString(), QStringLiteral("3"));
        QVERIFY(!fx.port.isOpen());
        QVERIFY(fx.window->lblPortDevice->text().contains(QStringLiteral("/dev/ttyS2")));
        fx.window->cmdPortSelectOK->click();
        QVERIFY(fx.window->fraPortSelect->isHidden());
        QVERIFY_PROMPTS(fx.prompter);
    }

    void closingClosesThePort()
    {
        Fixture fx;
        fx.show();
        QVERIFY(fx.port.open(nullptr));
        fx.window->mnuExit->trigger();
        QVERIFY(!fx.window->isVisible());
        QVERIFY(!fx.port.isOpen());
    }

    void escSetsUserAbort()
    {
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        QLineEdit* f = fx.field(QStringLiteral("txtVSSFreq"));
        f->setFocus();
        QTest::keyClick(f, Qt::Key_Escape);
        QVERIFY(fx.window->linkState().UserAbort);
        QVERIFY_PROMPTS(fx.prompter);
    }

    // ------------------------------------------------------------ transfers

    void download()
    {
        QByteArray block = defaultsBlock();
        block[32 - 16] = char(0xA0);  // launch at 0x0FA0 = 4000 RPM
        block[33 - 16] = char(0x0F);
        block[0] = char(6);           // 3 pulses per revolution
        Fixture fx;
        fx.controller.setFirmwareId("Revora Shift Light v1.0");
        fx.controller.setConfigBlock(block);
        fx.prompter.expectBox(QStringLiteral("Firmware ID: Revora Shift Light v1.0"),
                              QStringLiteral("Download From EEPROM"), PromptButtons::OK, PromptIcon::Exclamation,
                              PromptAnswer::OK);
        fx.window->mnuDownload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(!fx.window->store().image.BufferEmpty);
        QCOMPARE(fx.window->store().image.configBlock(), block);
        QCOMPARE(fx.text(QStringLiteral("txtPulsePerRev")), QStringLiteral("3"));
        QCOMPARE(fx.text(QStringLiteral("txtLaunchRPM")), QStringLiteral("4000"));
        QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Downloaded Data"));
        QVERIFY(!fx.ed().fraScaleFactors->isHidden());
        QVERIFY(fx.window->fraProgress1->isHidden());
        QVERIFY(!fx.port.isOpen());
        QVERIFY(fx.window->mnuOpenFile->isEnabled());
    }

    void downloadWithoutController()
    {
        Fixture fx;
        fx.controller.addFailure({emu::FailureKind::Silent, -1});
        fx.prompter.expect(QStringLiteral("Cannot establish RS-232 link. Check cable and controller power."),
                           QStringLiteral("Download From EEPROM"));
        fx.window->mnuDownload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(fx.window->store().image.BufferEmpty);
        QCOMPARE(fx.window->windowTitle(), kMain + QStringLiteral(" - Data Buffer Empty"));
        QVERIFY(!fx.port.isOpen());
    }

    void escDuringTheReadFailsTheDownload()
    {
        Fixture fx;
        fx.controller.setFirmwareId("Revora Shift Light v1.0");
        fx.controller.setConfigBlock(defaultsBlock());
        fx.show();
        bool disabledWhileRunning = false;
        int progressSeen = -1;
        fx.prompter.expect(QStringLiteral("Firmware ID: Revora Shift Light v1.0"), QString());
        fx.prompter.expect(QStringLiteral("Download failed."), QStringLiteral("Download From EEPROM"));
        // Esc a fifth of the way through the read, as the person presses it.
        connect(fx.window->prgProgress1, &QProgressBar::valueChanged, fx.window.get(), [&](int value) {
            if (value < 20 || progressSeen >= 0)
                return;
            disabledWhileRunning = !fx.window->mnuOpenFile->isEnabled() && !fx.window->mnuUpload->isEnabled()
                                   && !fx.window->cboPort->isEnabled() && fx.window->transferRunning();
            progressSeen = value;
            QTest::keyClick(fx.window->menuBar(), Qt::Key_Escape);
        });
        fx.window->mnuDownload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(disabledWhileRunning);
        QCOMPARE(progressSeen, 20);
        // The loop stopped at the next byte: the controller was asked for no more.
        QVERIFY(fx.controller.address() < 40);
        QVERIFY(fx.window->store().image.BufferEmpty);
        QVERIFY(!fx.window->linkState().UserAbort);  // the read loop clears it
        QVERIFY(fx.window->fraProgress1->isHidden());
        QVERIFY(fx.window->mnuOpenFile->isEnabled());
        QVERIFY(fx.ed().isEnabled());
    }

    void closingDuringATransferWaitsForIt()
    {
        // The transfer runs on the window's stack: the window closes after it,
        // with the read stopped as by Esc.
        Fixture fx;
        fx.controller.setFirmwareId("Revora Shift Light v1.0");
        fx.controller.setConfigBlock(defaultsBlock());
        fx.show();
        bool stillOpen = false;
        connect(fx.window->prgProgress1, &QProgressBar::valueChanged, fx.window.get(), [&](int value) {
            if (value == 20) {
                fx.window->close();
                stillOpen = fx.window->isVisible();
            }
        });
        fx.prompter.expect(QStringLiteral("Firmware ID: Revora Shift Light v1.0"), QString())
            .expect(QStringLiteral("Download failed."), QStringLiteral("Download From EEPROM"));
        fx.window->mnuDownload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(stillOpen);
        QTRY_VERIFY(!fx.window->isVisible());
        QVERIFY(!fx.port.isOpen());
    }

    void upload()
    {
        Fixture fx;
        fx.controller.setFirmwareId("Revora Shift Light v1.0");
        fx.loadDefaults();
        fx.ed().txtUserData->setText(QStringLiteral("Uploaded"));
        fx.prompter.expect(QStringLiteral("Upload completed."), QStringLiteral("Upload To EEPROM"));
        fx.window->mnuUpload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QByteArray expected = defaultsBlock();
        expected.replace(128 - 16, 8, "Uploaded");
        QCOMPARE(fx.controller.configBlock(), expected);
        QCOMPARE(fx.controller.resetCount(), 1);
        QVERIFY(!fx.port.isOpen());
    }

    void downloadAndUploadThroughTheSerialPort()
    {
        // The real serial backend against the emulator program on a
        // pseudo-terminal, found as Com9 through the settings store.
        QProcess emulator;
        emulator.start(QStringLiteral(REVORA_EMULATOR), {QStringLiteral("--com"), QStringLiteral("9")});
        QVERIFY(emulator.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(emulator.canReadLine(), 5000);
        const QString pty = QString::fromLocal8Bit(emulator.readLine()).trimmed();
        QVERIFY(pty.startsWith(QLatin1String("/dev/")));
        settings().setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("9"));

        ScriptedPrompter prompter;
        SerialPort port;
        {
            frmRevora_Main window(prompter, port, {kCompany});
            QCOMPARE(window.linkState().PortNumber, 9);
            QVERIFY(window.lblPortDevice->text().startsWith(pty));
            prompter.expect(QStringLiteral("Firmware ID: Revora Shift Light v1.0"), QStringLiteral("Download From EEPROM"));
            window.mnuDownload->trigger();
            QVERIFY_PROMPTS(prompter);
            QCOMPARE(window.store().image.configBlock(), defaultsBlock());
            QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtVSSFreq"))->text(), QStringLiteral("150"));

            window.findChild<QLineEdit*>(QStringLiteral("txtUserData"))->setText(QStringLiteral("Round trip"));
            prompter.expect(QStringLiteral("Upload completed."), QStringLiteral("Upload To EEPROM"));
            window.mnuUpload->trigger();
            QVERIFY_PROMPTS(prompter);
            QVERIFY(!port.isOpen());

            prompter.expect(QStringLiteral("Data buffer not empty. OK to overwrite?"), QString(), PromptAnswer::OK)
                .expect(QStringLiteral("Firmware ID: Revora Shift Light v1.0"), QString());
            window.mnuDownload->trigger();
            QVERIFY_PROMPTS(prompter);
            QCOMPARE(window.store().params.UserData.trimmed(), QStringLiteral("Round trip"));
        }
        emulator.terminate();
        QVERIFY(emulator.waitForFinished(5000));
    }

    // Pictures to look at by eye: REVORA_SCREENSHOT_DIR=dir xvfb-run -a tst_gui screenshots
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("REVORA_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("set REVORA_SCREENSHOT_DIR to write the window's pictures");
        Fixture fx;
        fx.loadDefaults();
        fx.show();
        QTest::qWait(100);
        QVERIFY(fx.window->grab().save(dir + QStringLiteral("/main-defaults.png")));
        fx.ed().chkVSSGearDetect->setChecked(false);
        fx.window->mnuPortSetup->trigger();
        fx.window->showProgress(QStringLiteral("Reading EEPROM"));
        fx.window->setProgress(42);
        QTest::qWait(100);
        QVERIFY(fx.window->grab().save(dir + QStringLiteral("/main-panels.png")));
        fx.ed().chkMultiStageShift->setChecked(false);
        fx.window->hideProgress();
        fx.window->cmdPortSelectOK->click();
        QTest::qWait(100);
        QVERIFY(fx.window->grab().save(dir + QStringLiteral("/main-single.png")));
    }

    void uploadNeedsData()
    {
        Fixture fx;
        fx.prompter.expect(QStringLiteral("No data available for uploading."), QStringLiteral("Upload To EEPROM"));
        fx.window->mnuUpload->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.port.openCount(), 0);
    }
};

int main(int argc, char* argv[])
{
    // The settings store of the tests is a private one.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_mainwindow.moc"
