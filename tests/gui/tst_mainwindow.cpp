// The main window against scripted prompts and the emulated controller.
#include "editor/parametereditor.h"
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "gpo/frmgpo.h"
#include "params/codec.h"
#include "params/defaults.h"
#include "params/fieldrules.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QString kCompany = QStringLiteral("Velmont Sensors");
const QString kMain = QStringLiteral("Revora Shift Version 1.0");
const QString kOpenTitle = QStringLiteral("Open Data File");
const QString kOverwrite = QStringLiteral("Data buffer not empty. OK to overwrite?");
const QString kFirmware = QStringLiteral("Firmware ID: Revora Shift Light v1.0");
const QString kDownloadTitle = QStringLiteral("Download From EEPROM");

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
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "1" for each hidden widget, "0" for each other, so one comparison shows them all.
QString hidden(std::initializer_list<QWidget*> widgets)
{
    QString s;
    for (QWidget* w : widgets)
        s += w->isHidden() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

enum Start { Empty, Defaults };

// A fresh window with its own prompts and controller.
struct Fixture {
    ScriptedPrompter prompter;
    EmulatedController controller;
    EmulatedPort port{controller};
    std::unique_ptr<frmRevora_Main> window;

    explicit Fixture(Start start = Empty, bool shown = false)
        : window(std::make_unique<frmRevora_Main>(prompter, port, QStringList{kCompany, QStringLiteral("Line 2")}))
    {
        LinkTiming t;
        t.replyDeadlineMs = 30;
        t.pauseMs = 0;
        window->setLinkTiming(t);
        controller.setFirmwareId("Revora Shift Light v1.0");
        controller.setConfigBlock(defaultsBlock());
        if (start == Defaults)
            window->mnuDisplayDefaults->trigger();
        if (shown) {
            window->show();
            window->activateWindow();
            active = QTest::qWaitForWindowActive(window.get());
        }
    }
    bool active = false;  // shown and active, when asked for
    ~Fixture() { prompter.setLenient(true); }
    ParameterEditor& ed() { return *window->editor(); }
    ParameterSet& params() { return window->store().params; }
    QByteArray image() { return window->store().image.configBlock(); }
    QLineEdit* field(const QString& name) { return window->findChild<QLineEdit*>(name); }
    QString text(const QString& name) { return field(name)->text(); }
    QString title() { return window->windowTitle(); }
    // Runs a menu command; every prompt scripted so far must have come.
    void run(QAction* command)
    {
        command->trigger();
        QVERIFY_PROMPTS(prompter);
    }
    void warns(const QString& text, const QString& title)
    {
        prompter.expectBox(text, title, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
    }
    // Opens a file through the menu, answering the usual prompts.
    void open(const QString& name)
    {
        if (!window->store().image.BufferEmpty)
            prompter.expect(kOverwrite, kOpenTitle);
        prompter.expectOpenFile(name).expect(QString(), kOpenTitle);
        run(window->mnuOpenFile);
    }
    // Types into a field and moves the focus on, as the person does with Tab.
    void typeAndLeave(const QString& name, const QString& typed, bool modified = true)
    {
        QLineEdit* f = field(name);
        f->setFocus(Qt::TabFocusReason);
        QVERIFY(f->hasFocus());
        f->setText(typed);
        f->setModified(modified);
        field(name == "txtVSSFreq" ? "txtPulsePerRev" : "txtVSSFreq")->setFocus(Qt::TabFocusReason);
        QVERIFY(!f->hasFocus());
    }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init() { settings().remove(QStringLiteral("Properties")); }

    void startup_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("port");
        QTest::newRow("255") << "255" << 255;
        QTest::newRow("not a number") << "abc" << 1;
    }
    void startup()
    {
        QFETCH(QString, stored);
        QFETCH(int, port);
        settings().setValue("Properties/CommPort", stored);
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(w.linkState().PortNumber, port);
        QCOMPARE(w.cboPort->currentText(), QString("Com%1").arg(port));
        // The selection stores the number back, a bad one replaced without a box.
        QCOMPARE(settings().value("Properties/CommPort").toString(), QString::number(port));
        QCOMPARE(w.cboPort->count(), 255);
        QCOMPARE(fx.title(), kCompany + ' ' + kMain);
        QVERIFY(w.store().image.BufferEmpty && !fx.port.isOpen());
        QCOMPARE(hidden({fx.ed().fraShiftSetup, fx.ed().fraMultiStageShiftSetup, fx.ed().fraScaleFactors,
                         w.fraPortSelect, w.fraProgress1}),
                 "11111");
        QVERIFY_PROMPTS(fx.prompter);
    }

    void menus()
    {
        Fixture fx;
        QStringList shown;
        for (QAction* m : fx.window->menuBar()->actions()) {
            shown << '[' + m->text() + ']';
            for (QAction* a : m->menu()->actions())
                shown << a->objectName() + '=' + a->text();
        }
        QCOMPARE(shown, (QStringList{
            "[&File]", "mnuOpenFile=&Open File", "mnuSaveFIle=&Save File", "mnuSep1=", "mnuPrintParams=&Print Parameters",
            "mnuPrintPreview=Print Pre&view...", "mnuPrintSetup=Print Set&up...", "mnuSep2=", "mnuExit=E&xit", "[&Edit]",
            "mnuEditGPOParams=Edit GPO Parameters", "mnuEditAlarmVSS=Edit VSS (Speed) Alarm",
            "mnuEditAlarms=Edit User Defined Alarms", "mnuDisplayDefaults=Display Default Parameters",
            "[&Communications]", "mnuDownload=&Download From EEPROM", "mnuUpload=&Upload To EEPROM",
            "mnuPortSetup=&Port Setup", "[&Help]", "mnuHelpContents=&Contents", "mnuAbout=&About..."}));
    }

    void defaultsShowFactoryValues()
    {
        Fixture fx;
        fx.field("txtUserData")->setText("old text");
        fx.params().UserData = "old text";
        fx.run(fx.window->mnuDisplayDefaults);
        QCOMPARE(fx.title(), kMain + " - Default Values");
        QStringList texts;
        for (const char* f : {"txtPulsePerRev", "txtRPMDebounce", "txtShiftVSS5", "txtUserData"})
            texts << fx.text(f);
        // The old user text is gone from the window, the parameters and the image alike.
        QCOMPARE(texts, (QStringList{"0.5", "0.50", "125", ""}));
        QCOMPARE(fx.image(), defaultsBlock());
        QCOMPARE(hidden({fx.ed().fraMultiStageShiftSetup, fx.ed().fraScaleFactors, fx.ed().fraShiftSetup}), "001");
        QCOMPARE(swatchColor(fx.ed().txtLaunchColor), 255u);
        const ParameterSet once = fx.params();
        fx.run(fx.window->mnuDisplayDefaults);
        QCOMPARE(fx.params(), once);
    }

    // ------------------------------------------------------------ files

    void openFile_data()
    {
        QTest::addColumn<int>("size");  // -1: a directory, which cannot be read
        QTest::newRow("144 bytes") << 144;
        QTest::newRow("100 bytes") << 100;
        QTest::newRow("unreadable") << -1;
    }
    void openFile()
    {
        QFETCH(int, size);
        const bool loads = size >= 144;
        QByteArray bytes = defaultsBlock();
        bytes[0] = char(24);        // 12 pulses per revolution
        bytes[20 - 16] = char(0x11);  // GPO on, gear detection on, multi-stage off
        const QString name = path(QString("open%1.dat").arg(size));
        if (size < 0)
            QVERIFY(QDir().mkpath(name));
        else
            writeFile(name, bytes.left(size));
        Fixture fx(Defaults);
        fx.prompter.expectBox(kOverwrite, kOpenTitle, PromptButtons::OKCancel, PromptIcon::None, PromptAnswer::OK);
        fx.prompter.expectOpenFile(name);
        if (loads)
            fx.prompter.expectBox("Loaded " + name + " to buffer. Ready for editing or upload.", kOpenTitle,
                                  PromptButtons::OK, PromptIcon::None, PromptAnswer::OK);
        else if (size >= 0)
            fx.warns("Error - reached premature end-of-file", kOpenTitle);
        else  // the read error goes to the error prompt; Retry reads again
            fx.prompter.expectError(QString(), PromptAnswer::Retry).expectError(QString(), PromptAnswer::Ignore);
        fx.run(fx.window->mnuOpenFile);
        QCOMPARE(fx.image(), loads ? bytes : QByteArray(144, '\0'));
        QCOMPARE(fx.window->store().image.BufferEmpty, !loads);
        QCOMPARE(fx.title(), kMain + " - " + (loads ? "open144.dat" : "Data Buffer Empty"));
        QCOMPARE(hidden({fx.ed().fraScaleFactors, fx.ed().fraShiftSetup}), loads ? "00" : "11");
        if (!loads)
            return;
        // The window shows the file as decoded: setting the switches does not run
        // their handlers a second time over it.
        ParameterSet decoded;
        ImageBuffer image;
        image.setConfigBlock(bytes);
        QVERIFY(UpdateParams(image, decoded));
        QCOMPARE(fx.params(), decoded);
        QVERIFY(!decoded.VSSGearDetect && !fx.ed().chkVSSGearDetect->isChecked() && !fx.ed().chkVSSGearDetect->isEnabled());
        QVERIFY(fx.ed().fraMultiStageShiftSetup->isHidden());
        QCOMPARE(fx.text("txtPulsePerRev"), "12");
    }

    void openFailures()
    {
        const QString missing = path("missing.dat");
        const QString notFound = missing + "\r\nFile not found.";
        writeFile(path("good.dat"), defaultsBlock());
        Fixture fx;
        // Retry shows the dialog again.
        fx.prompter.expectOpenFile(missing).expectBox(notFound, "File Open", PromptButtons::RetryCancel,
                                                      PromptIcon::Exclamation, PromptAnswer::Retry);
        fx.open(path("good.dat"));
        QVERIFY(!fx.window->store().image.BufferEmpty);
        // Cancel at the overwrite question keeps what is loaded.
        fx.prompter.expect(kOverwrite, kOpenTitle, PromptAnswer::Cancel);
        fx.run(fx.window->mnuOpenFile);
        QCOMPARE(fx.image(), defaultsBlock());
        QCOMPARE(fx.title(), kMain + " - good.dat");
        // Cancel reaches the command's error prompt; Abort leaves the buffer empty.
        fx.prompter.expect(kOverwrite, kOpenTitle).expectOpenFile(missing);
        fx.prompter.expect(notFound, "File Open", PromptAnswer::Cancel)
            .expectError("Canceled File Open", PromptAnswer::Abort);
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.window->store().image.BufferEmpty);
        // A cancelled dialog opens nothing and asks nothing more.
        fx.prompter.expectOpenFile(QString());
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.window->store().image.BufferEmpty);
    }

    void saveFile_data()
    {
        QTest::addColumn<QStringList>("picked");  // the names the dialog gives, in turn
        QTest::addColumn<int>("replace");         // the answer to "already exists"
        QTest::addColumn<int>("error");           // the answer to the error prompt, -1: none
        QTest::addColumn<QString>("written");
        const int yes = int(PromptAnswer::Yes), no = int(PromptAnswer::No), cancel = int(PromptAnswer::Cancel);
        QTest::newRow("existing, Yes") << QStringList{"existing.dat"} << yes << -1 << "existing.dat";
        QTest::newRow("existing, No, a new name") << QStringList{"existing.dat", "fresh.dat"} << no << -1 << "fresh.dat";
        QTest::newRow("existing, Cancel, Abort") << QStringList{"existing.dat"} << cancel << int(PromptAnswer::Abort)
                                                 << "";
        QTest::newRow("dialog cancelled") << QStringList{""} << -1 << -1 << "";
        QTest::newRow("no such folder") << QStringList{"no/such.dat"} << -1 << int(PromptAnswer::Ignore) << "";
    }
    void saveFile()
    {
        QFETCH(QStringList, picked);
        QFETCH(int, replace);
        QFETCH(int, error);
        QFETCH(QString, written);
        QTemporaryDir dir;
        const auto full = [&](const QString& name) { return name.isEmpty() ? name : dir.filePath(name); };
        writeFile(full("existing.dat"), "old");
        Fixture fx(Defaults);
        for (const QString& name : picked) {
            fx.prompter.expectSaveFile(full(name));
            if (name == "existing.dat")
                fx.prompter.expectBox(full(name) + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                                      "File Save", PromptButtons::YesNoCancel, PromptIcon::Exclamation,
                                      PromptAnswer(replace));
        }
        if (error >= 0)
            fx.prompter.expectError(replace >= 0 ? "Canceled File Save" : QString(), PromptAnswer(error));
        fx.run(fx.window->mnuSaveFIle);
        if (!written.isEmpty()) {
            QCOMPARE(readFile(full(written)), defaultsBlock());
            QCOMPARE(fx.title(), kMain + " - " + written);
        } else {
            QCOMPARE(readFile(full("existing.dat")), "old");
            QVERIFY(!QFile::exists(full("fresh.dat")));
            QCOMPARE(fx.title(), kMain + " - Default Values");
        }
    }

    void commandsNeedData_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("save") << "mnuSaveFIle" << "Data buffer empty." << "Save Data File";
        QTest::newRow("upload") << "mnuUpload" << "No data available for uploading." << "Upload To EEPROM";
        QTest::newRow("print") << "mnuPrintParams" << "Data buffer empty." << "Print Parameters";
    }
    void commandsNeedData()
    {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Fixture fx;
        fx.warns(text, title);
        fx.run(fx.window->findChild<QAction*>(action));
        QCOMPARE(fx.port.openCount(), 0);
    }

    // ------------------------------------------------------------ fields

    // A few rows per kind of rule; the rules themselves are tested on their own.
    void fieldValidation_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("warning");  // "title: text"
        QTest::addColumn<QString>("fullscale");
        QTest::newRow("empty") << "txtLaunchRPM" << "" << true << "1000"
                               << "Launch RPM: Value must be greater than or equal to 1000" << "4.6";
        QTest::newRow("unchanged, normalised too") << "txtLaunchRPM" << "  4500.7abc" << false << "4500" << "" << "4.6";
        QTest::newRow("rounded") << "txtPulsePerRev" << "2.5" << true << "3" << "" << "4.6";
        QTest::newRow("decimals") << "txtDataLogInterval" << "0.05" << true << "0.10"
                                  << "Data Logging Interval: Value must be greater than or equal to 0.1" << "4.6";
        QTest::newRow("TPS zero above full scale moves both") << "txtTPSZero" << "4.8" << true << "4.8" << "" << "4.8";
    }
    void fieldValidation()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, modified);
        QFETCH(QString, shown);
        QFETCH(QString, warning);
        QFETCH(QString, fullscale);
        Fixture fx(Defaults, true);
        QVERIFY(fx.active);
        fx.field("txtVSSFreq")->setText("1");
        if (!warning.isEmpty())
            fx.warns(warning.section(": ", 1), warning.section(": ", 0, 0));
        fx.typeAndLeave(field, typed, modified);
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.text(field), shown);
        QCOMPARE(fx.text("txtTPSFullscale"), fullscale);
        // The parameters hold what the fields show.
        QCOMPARE(fieldrules::display(field, fx.params()), shown);
        QCOMPARE(fieldrules::display("txtTPSFullscale", fx.params()), fullscale);
        // The focus went on to this field, unvalidated: a warning box taking the
        // focus from it is not the person leaving it.
        QCOMPARE(fx.text("txtVSSFreq"), "1");
    }

    void saveKeepsEveryByteAndWhatIsTyped()
    {
        // Reserved gaps and flag bits the editors do not use travel unchanged.
        QByteArray bytes = defaultsBlock();
        bytes[53 - 16] = char(0xA5);
        bytes[71 - 16] = char(0xF0);
        writeFile(path("gaps.dat"), bytes);
        Fixture fx(Empty, true);
        QVERIFY(fx.active);
        fx.open(path("gaps.dat"));
        // The user text takes printable ASCII only, 32 characters at most; typed key
        // by key (QTest::keyClicks takes ASCII only).
        fx.ed().txtUserData->setFocus();
        for (QChar c : QString::fromUtf8("Car 7\u00e9\t") + QString(40, 'x')) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(fx.ed().txtUserData, &press);
        }
        QCOMPARE(fx.params().UserData, "Car 7" + QString(27, 'x'));
        // A value typed but not yet left is taken by the command.
        fx.field("txtLaunchRPM")->setFocus(Qt::TabFocusReason);
        fx.field("txtLaunchRPM")->setText("4500");
        fx.field("txtLaunchRPM")->setModified(true);
        fx.prompter.expectSaveFile(path("gaps-out.dat"));
        fx.run(fx.window->mnuSaveFIle);
        bytes[32 - 16] = char(4500 & 0xFF);
        bytes[33 - 16] = char(4500 >> 8);
        bytes.replace(128 - 16, 32, "Car 7" + QByteArray(27, 'x'));
        QCOMPARE(readFile(path("gaps-out.dat")), bytes);
    }

    // ------------------------------------------------------------ switches and colours

    void switches()
    {
        Fixture fx(Defaults);
        ParameterEditor& ed = fx.ed();
        const auto gearLayout = [&] { return hidden({ed.txtShiftVSS3, ed.lblMinVSS, ed.txtShortShiftRPM, ed.lblShiftDropRPM}); };
        QVERIFY(fx.params().GPOEnable);
        ed.chkVSSGearDetect->setChecked(false);
        QCOMPARE(gearLayout(), "1100");
        // Without gear detection the GPO goes off, and stays off when it comes back.
        QVERIFY(!fx.params().VSSGearDetect && !fx.params().GPOEnable);
        ed.chkVSSGearDetect->setChecked(true);
        QVERIFY(fx.params().VSSGearDetect && !fx.params().GPOEnable);
        QCOMPARE(gearLayout(), "0011");

        // Multi-stage off goes through the image and takes gear detection with it.
        fx.field("txtShiftRPM2")->setText("not validated");
        ed.chkMultiStageShift->setChecked(false);
        QVERIFY(!fx.params().MultiStageShift && !fx.params().VSSGearDetect);
        QCOMPARE(fx.window->store().image.EEPROMBuffer[20] & 0x08, 0x00);
        QCOMPARE(hidden({ed.fraShiftSetup, ed.fraMultiStageShiftSetup}), "01");
        QVERIFY(!ed.chkVSSGearDetect->isChecked() && !ed.chkVSSGearDetect->isEnabled());
        QCOMPARE(fx.title(), kMain + " - Downloaded Data");
        ed.chkMultiStageShift->setChecked(true);
        QVERIFY(fx.params().MultiStageShift && ed.chkVSSGearDetect->isEnabled() && !ed.chkVSSGearDetect->isChecked());
        QCOMPARE(hidden({ed.fraMultiStageShiftSetup, ed.txtShortShiftRPM}), "00");
        QCOMPARE(fx.text("txtShiftRPM2"), "6000");

        ParameterSet expected = fx.params();
        expected.LogArmed = true;
        ed.chkLogArmed->setChecked(true);
        QCOMPARE(fx.params(), expected);
        QVERIFY_PROMPTS(fx.prompter);
    }

    void colorPicker_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("steps");  // pick, or cancel and answer the error prompt
        QTest::newRow("launch, picked") << "cmdLaunchColor" << "pick";
        QTest::newRow("single-stage shift, picked") << "cmdShiftColor" << "pick";
        QTest::newRow("cancel, abort") << "cmdLaunchColor" << "abort";
        QTest::newRow("cancel, retry, picked") << "cmdMultiStageShiftColor" << "retry pick";
        QTest::newRow("cancel, ignore") << "cmdLaunchColor" << "ignore";
    }
    void colorPicker()
    {
        QFETCH(QString, button);
        QFETCH(QString, steps);
        Fixture fx(Defaults);
        const bool launch = button == "cmdLaunchColor", stored = steps.endsWith("pick");
        for (const QString& step : steps.split(' ')) {
            if (step == "pick")
                fx.prompter.expectColor(0xFF123456u);  // bits above 24 come back from the dialog
            else
                fx.prompter.expectColor(std::nullopt).expectError(
                    "Cancel was selected.",
                    step == "retry" ? PromptAnswer::Retry : step == "abort" ? PromptAnswer::Abort : PromptAnswer::Ignore);
        }
        fx.window->findChild<QPushButton*>(button)->click();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.prompter.lastColorInitial, 255u);
        const int32_t value = launch ? fx.params().LaunchColor : fx.params().ShiftColor;
        QCOMPARE(uint32_t(value), stored ? 0x123456u : 255u);
        auto* swatch = fx.window->findChild<QLineEdit*>(QString(button).replace("cmd", "txt"));
        QCOMPARE(swatchColor(swatch), uint32_t(value));
        QVERIFY(swatch->text().isEmpty());
        QCOMPARE(uint32_t(launch ? fx.params().ShiftColor : fx.params().LaunchColor), 255u);  // the other one stays
        // Both shift light swatches show the one shift colour.
        if (!launch) {
            fx.ed().chkMultiStageShift->toggle();
            QCOMPARE(swatchColor(fx.ed().txtShiftColor), uint32_t(value));
            QCOMPARE(swatchColor(fx.ed().txtMultiStageShiftColor), uint32_t(value));
        }
    }

    // ------------------------------------------------------------ other windows and the port

    void editAndHelpMenus()
    {
        Fixture fx(Defaults);
        // The GPO editor sees the window's parameters: without gear detection it refuses.
        fx.ed().chkVSSGearDetect->setChecked(false);
        fx.prompter.expect(QLatin1String(frmGPO::kGPIRequired), "Edit GPO Parameters");
        fx.run(fx.window->mnuEditGPOParams);
        // About names the company the window was given.
        fx.prompter.expectBox(QString(), "About", PromptButtons::OK, PromptIcon::Information, PromptAnswer::OK);
        fx.run(fx.window->mnuAbout);
        QVERIFY(fx.prompter.shown().last().startsWith("About: Velmont Sensors Revora Shift Version 1.00"));
    }

    void portSetupEscAndExit()
    {
        Fixture fx(Empty, true);
        QVERIFY(fx.active);
        fx.run(fx.window->mnuPortSetup);
        QVERIFY(!fx.window->fraPortSelect->isHidden());
        QVERIFY(fx.window->lblPortDevice->text().contains("/dev/ttyS0"));
        QVERIFY(fx.port.open(nullptr));
        // A new selection is stored and closes the port; the next transfer opens the new one.
        fx.window->cboPort->setCurrentIndex(2);
        QCOMPARE(fx.window->linkState().PortNumber, 3);
        QCOMPARE(settings().value("Properties/CommPort").toString(), "3");
        QVERIFY(!fx.port.isOpen());
        QVERIFY(fx.window->lblPortDevice->text().contains("/dev/ttyS2"));
        fx.window->cmdPortSelectOK->click();
        QVERIFY(fx.window->fraPortSelect->isHidden());

        QTest::keyClick(fx.field("txtVSSFreq"), Qt::Key_Escape);
        QVERIFY(fx.window->linkState().UserAbort);
        QVERIFY(fx.port.open(nullptr));
        fx.run(fx.window->mnuExit);
        QVERIFY(!fx.window->isVisible() && !fx.port.isOpen());
    }

    // ------------------------------------------------------------ transfers

    void download_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("complete") << "complete";
        QTest::newRow("no controller") << "silent";
        QTest::newRow("Esc during the read") << "esc";
        // The transfer runs on the window's stack: closing waits for it, and stops the read as Esc does.
        QTest::newRow("closing during the read") << "close";
    }
    void download()
    {
        QFETCH(QString, way);
        const bool completes = way == "complete";
        QByteArray block = defaultsBlock();
        block[32 - 16] = char(0xA0);  // launch at 0x0FA0 = 4000 RPM
        block[33 - 16] = char(0x0F);
        Fixture fx(Empty, true);
        QVERIFY(fx.active);
        fx.controller.setConfigBlock(block);
        if (way == "silent") {
            fx.controller.addFailure({emu::FailureKind::Silent, -1});
            fx.prompter.expect("Cannot establish RS-232 link. Check cable and controller power.", kDownloadTitle);
        } else {
            fx.prompter.expectBox(kFirmware, kDownloadTitle, PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
            if (!completes)
                fx.prompter.expect("Download failed.", kDownloadTitle);
        }
        bool disabledWhileRunning = false, stillOpen = false;
        int stoppedAt = -1;
        connect(fx.window->prgProgress1, &QProgressBar::valueChanged, fx.window.get(), [&](int value) {
            disabledWhileRunning = !fx.window->mnuOpenFile->isEnabled() && !fx.window->mnuUpload->isEnabled()
                                   && !fx.window->cboPort->isEnabled() && fx.window->transferRunning();
            if (value < 20 || stoppedAt >= 0 || completes)
                return;
            stoppedAt = value;
            if (way == "close")
                stillOpen = !fx.window->close() && fx.window->isVisible();
            else
                QTest::keyClick(fx.window->menuBar(), Qt::Key_Escape);
        });
        fx.run(fx.window->mnuDownload);
        QCOMPARE(fx.image(), completes ? block : QByteArray(144, '\0'));
        QCOMPARE(hidden({fx.ed().fraScaleFactors, fx.window->fraProgress1}), completes ? "01" : "11");
        QCOMPARE(fx.title(), kMain + (completes ? " - Downloaded Data" : " - Data Buffer Empty"));
        QCOMPARE(fx.text("txtLaunchRPM"), completes ? "4000" : "");
        QVERIFY(!fx.port.isOpen() && !fx.window->linkState().UserAbort);  // the read loop clears it
        QVERIFY(fx.window->mnuOpenFile->isEnabled() && fx.window->cboPort->isEnabled() && fx.ed().isEnabled());
        QCOMPARE(disabledWhileRunning, way != "silent");
        if (stoppedAt < 0)
            return;
        QCOMPARE(stoppedAt, 20);
        // The loop stopped at the next byte: the controller was asked for no more.
        QVERIFY(fx.controller.address() < 40);
        QCOMPARE(stillOpen, way == "close");
        QTRY_COMPARE(fx.window->isVisible(), way != "close");
    }

    void upload()
    {
        Fixture fx(Defaults);
        fx.ed().txtUserData->setText("Uploaded");
        fx.prompter.expect("Upload completed.", "Upload To EEPROM");
        fx.run(fx.window->mnuUpload);
        QByteArray expected = defaultsBlock();
        expected.replace(128 - 16, 8, "Uploaded");
        QCOMPARE(fx.controller.configBlock(), expected);
        QCOMPARE(fx.controller.resetCount(), 1);
        QVERIFY(!fx.port.isOpen());
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
