// The main window against scripted prompts and the emulated controller.
#include "editor/parametereditor.h"
#include "link/workflows.h"
#include "emulator/controller.h"
#include "emulator/emulatedport.h"
#include "gpo/frmgpo.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString kMain = QStringLiteral("Revora Shift Version 1.0");
const QString kOpenTitle = QStringLiteral("Open Data File");
const QString kOverwrite = QStringLiteral("Data buffer not empty. OK to overwrite?");

QSettings settings() { return QSettings(QStringLiteral("Revora_Shift"), QStringLiteral("Revora_Shift")); }

enum Start { Empty, Defaults };

// A fresh window with its own prompts and controller.
struct Fixture {
    ScriptedPrompter prompter;
    EmulatedController controller;
    EmulatedPort port{controller};
    std::unique_ptr<frmRevora_Main> window;

    explicit Fixture(Start start = Empty, bool backUp = false)
        : window(std::make_unique<frmRevora_Main>(prompter, port, QStringList{"Velmont Sensors", "Line 2"}))
    {
        window->setLinkTiming(LinkTiming{30, 0});
        if (!backUp)  // the upload as it always was, unless a test asks for the backup
            window->mnuBackupBeforeUpload->setChecked(false);
        controller.setFirmwareId("Revora Shift Light v1.0");
        controller.setConfigBlock(defaultsBlock());
        if (start == Defaults)
            window->mnuDisplayDefaults->trigger();
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    ParameterEditor& ed() { return *window->editor(); }
    ParameterSet& params() { return window->store().params; }
    QByteArray image() { return window->store().image.configBlock(); }
    QLineEdit* field(const QString& name) { return window->findChild<QLineEdit*>(name); }
    QString title() { return window->windowTitle().remove("[*]"); }
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
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        // A private settings store, documents and backups folder.
        qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
        qputenv("XDG_DATA_HOME", path("data").toUtf8());
        qputenv("HOME", path("home").toUtf8());
    }
    void init() { settings().clear(); }

    // A fresh window: the port from the settings, the company shown, nothing to save, upload or print.
    // The port list: the system's ports first, kept by their stable name. A new choice is stored and
    // closes the port (the next transfer opens the new one), and stays when unplugged; Exit closes the port.
    void startupAndPortList()
    {
        settings().setValue("Properties/CommPort", "255");
        settings().setValue("Ports/Com7", "/dev/pts/9");  // the emulator's terminal
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(w.linkState().PortNumber, 255);
        QCOMPARE(fx.title(), "Velmont Sensors " + kMain);
        QVERIFY(!w.fraStart->isHidden());
        QVERIFY(w.lblStartPort->text().startsWith("Downloads use Com255 (/dev/ttyS254)"));
        fx.prompter.expectBox(QString(), "About", PromptButtons::OK, PromptIcon::Information, PromptAnswer::OK);
        fx.warns("Data buffer empty.", "Save Data File");
        fx.warns("No data available for uploading.", "Upload To EEPROM");
        fx.warns("Data buffer empty.", "Print Parameters");
        fx.prompter.expect(QString(), "Compare With Controller");
        for (QAction* command : {w.mnuAbout, w.mnuSaveFIle, w.mnuUpload, w.mnuPrintParams, w.mnuCompare})
            command->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QVERIFY(fx.prompter.shown().first().startsWith("About: Velmont Sensors Revora Shift Version 1.00"));
        QCOMPARE(fx.port.openCount(), 0);

        const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        QList<portsettings::PortRecord> present{{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", byId, true}};
        w.setPortScanner([&](const QString&) { return present; });
        fx.run(w.mnuPortSetup);
        QVERIFY(!w.fraPortSelect->isHidden() && w.lblPortDevice->text().contains("/dev/ttyS254"));
        QVERIFY(fx.port.open(nullptr));
        w.cboPort->setCurrentIndex(0);
        QVERIFY(w.linkState().DevicePath == byId && portsettings::loadPortChoice() == byId && !fx.port.isOpen());
        present.clear();
        w.cmdPortRefresh->click();
        QCOMPARE(w.cboPort->currentText(), byId + " (not found)");
        QCOMPARE(Fixture().window->cboPort->currentText(), byId + " (not found)");
        // Back to a Com entry: the number as before, no path.
        w.cboPort->setCurrentIndex(1 + 6);
        QVERIFY(w.linkState().PortNumber == 7 && w.linkState().DevicePath.isEmpty());
        QVERIFY(w.lblStartPort->text().contains("/dev/pts/9") && w.lblPortDevice->text().contains("/dev/pts/9"));
        QVERIFY(fx.port.open(nullptr));
        fx.run(w.mnuExit);
        QVERIFY(!w.isVisible() && !fx.port.isOpen());
    }

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
        bytes[0] = char(24);          // 12 pulses per revolution
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
        else  // Retry reads again; Ignore cannot make an unread file loaded
            fx.prompter.expectError(QString(), PromptAnswer::Retry).expectError(QString(), PromptAnswer::Ignore);
        fx.run(fx.window->mnuOpenFile);
        QCOMPARE(fx.image(), loads ? bytes : QByteArray(144, '\0'));
        QCOMPARE(fx.window->store().image.BufferEmpty, !loads);
        QCOMPARE(fx.title(), kMain + " - " + (loads ? "open144.dat" : "Data Buffer Empty"));
        QVERIFY(fx.window->fraStart->isHidden());  // not beside the multi-stage frame a failed open leaves
        QVERIFY(fx.ed().fraScaleFactors->isHidden() != loads && fx.ed().fraShiftSetup->isHidden() != loads);
        if (!loads)
            return;
        // Shown as decoded: showing gear detection unticked does not run its handler, which turns the GPO off.
        QVERIFY(fx.params().GPOEnable && !fx.params().VSSGearDetect && !fx.params().MultiStageShift);
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked() && fx.ed().fraMultiStageShiftSetup->isHidden());
        QCOMPARE(fx.field("txtPulsePerRev")->text(), "12");
    }

    // An error prompt means nothing was written; else the last name picked holds the data.
    void saveFile_data()
    {
        QTest::addColumn<QStringList>("picked");  // the names the dialog gives, in turn
        QTest::addColumn<int>("replace");         // the answer to "already exists"
        QTest::addColumn<int>("error");           // the answer to the error prompt, -1: none
        const int yes = int(PromptAnswer::Yes), no = int(PromptAnswer::No), cancel = int(PromptAnswer::Cancel);
        QTest::newRow("existing, Yes") << QStringList{"existing.dat"} << yes << -1;
        QTest::newRow("existing, No, a new name") << QStringList{"existing.dat", "fresh.dat"} << no << -1;
        QTest::newRow("existing, Cancel, Abort") << QStringList{"existing.dat"} << cancel << int(PromptAnswer::Abort);
        QTest::newRow("no such folder") << QStringList{"no/such.dat"} << -1 << int(PromptAnswer::Ignore);
    }
    void saveFile()
    {
        QFETCH(QStringList, picked);
        QFETCH(int, replace);
        QFETCH(int, error);
        const QString written = error < 0 ? picked.last() : QString();
        QTemporaryDir dir;
        writeFile(dir.filePath("existing.dat"), "old");
        Fixture fx(Defaults);
        for (const QString& name : picked) {
            fx.prompter.expectSaveFile(dir.filePath(name));
            if (name == "existing.dat")
                fx.prompter.expectBox(dir.filePath(name) + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                                      "File Save", PromptButtons::YesNoCancel, PromptIcon::Exclamation,
                                      PromptAnswer(replace));
        }
        if (error >= 0)
            fx.prompter.expectError(replace >= 0 ? "Canceled File Save" : QString(), PromptAnswer(error));
        fx.run(fx.window->mnuSaveFIle);
        QCOMPARE(readFile(dir.filePath("existing.dat")), written == "existing.dat" ? defaultsBlock() : QByteArray("old"));
        QCOMPARE(readFile(dir.filePath("fresh.dat")), written == "fresh.dat" ? defaultsBlock() : QByteArray());
        QCOMPARE(fx.title(), kMain + " - " + (written.isEmpty() ? "Default Values" : written));
    }

    // A field is validated when left (the rules are tested on their own): a text left as shown keeps the
    // stored value, a text the person typed is stored as typed, even when it is what the field showed.
    void fieldValidation_data()
    {
        QTest::addColumn<QString>("typed");  // null: left as shown
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");  // half pulses, 3 before
        QTest::newRow("above the limit") << "13" << "Value must be less than or equal to 12" << "12" << 24;
        QTest::newRow("typed as shown") << "2" << "" << "2" << 4;
        QTest::newRow("shown, kept") << QString() << "" << "2" << 3;
    }
    void fieldValidation()
    {
        QFETCH(QString, typed);
        QFETCH(QString, warning);
        Fixture fx(Defaults);
        QVERIFY(fx.show());
        fx.params().PulsePerRev = 3;
        fx.ed().refresh();
        fx.field("txtVSSFreq")->setText("1");
        if (!warning.isEmpty())
            fx.warns(warning, "RPM Pulses Per Revolution");
        QLineEdit* f = fx.field("txtPulsePerRev");
        f->setFocus(Qt::TabFocusReason);
        if (!typed.isNull())
            f->setText(typed);
        f->setModified(!typed.isNull());
        fx.field("txtVSSFreq")->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QVERIFY_PROMPTS(fx.prompter);
        QTEST(f->text(), "shown");
        QTEST(int(fx.params().PulsePerRev), "stored");
        QCOMPARE(fx.field("txtVSSFreq")->text(), "1");  // a warning box taking the focus is not leaving
    }

    void saveKeepsEveryByteAndWhatIsTyped()
    {
        // Reserved gaps and flag bits the editors do not use travel unchanged.
        QByteArray bytes = defaultsBlock();
        bytes[53 - 16] = char(0xA5);
        bytes[71 - 16] = char(0xF0);
        writeFile(path("gaps.dat"), bytes);
        Fixture fx;
        QVERIFY(fx.show());
        fx.prompter.expectOpenFile(path("gaps.dat")).expect(QString(), kOpenTitle);
        fx.run(fx.window->mnuOpenFile);
        // The user text takes printable ASCII only, 32 characters at most (keyClicks takes ASCII only).
        fx.ed().txtUserData->setFocus();
        for (QChar c : QString::fromUtf8("Car 7\u00e9\t") + QString(40, 'x')) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(fx.ed().txtUserData, &press);
        }
        // A value typed but not yet left is taken by the command.
        fx.field("txtLaunchRPM")->setFocus(Qt::TabFocusReason);  // selects what is there
        QTest::keyClicks(fx.field("txtLaunchRPM"), "4500");
        fx.prompter.expectSaveFile(path("gaps-out.dat"));
        fx.run(fx.window->mnuSaveFIle);
        bytes.replace(32 - 16, 2, QByteArray("\x94\x11"));  // 4500 = 0x1194
        bytes.replace(128 - 16, 32, "Car 7" + QByteArray(27, 'x'));
        QCOMPARE(readFile(path("gaps-out.dat")), bytes);
    }

    // Closing during the read waits for the transfer on the window's stack, and stops it as Esc does;
    // an Esc pressed while nothing ran does not.
    void download_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::newRow("complete") << false;
        QTest::newRow("closing during the read") << true;
    }
    void download()
    {
        QFETCH(bool, closing);
        Fixture fx;
        QVERIFY(fx.show());
        frmRevora_Main* w = fx.window.get();
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->linkState().UserAbort);
        fx.prompter.expectBox("Firmware ID: Revora Shift Light v1.0", "Download From EEPROM", PromptButtons::OK,
                              PromptIcon::Exclamation, PromptAnswer::OK);
        if (closing)
            fx.prompter.expect("Download failed.", "Download From EEPROM");
        bool disabledWhileRunning = false, stillOpen = false;
        connect(w->prgProgress1, &QProgressBar::valueChanged, w, [&](int value) {
            disabledWhileRunning = !w->mnuOpenFile->isEnabled() && !w->mnuUpload->isEnabled()
                                   && !w->cboPort->isEnabled() && w->transferRunning();
            if (closing && value == 20)
                stillOpen = !w->close() && w->isVisible();
        });
        fx.run(w->mnuDownload);
        QCOMPARE(fx.image(), closing ? QByteArray(144, '\0') : defaultsBlock());
        QCOMPARE(fx.title(), kMain + (closing ? " - Data Buffer Empty" : " - Downloaded Data"));
        QVERIFY(!fx.port.isOpen() && !w->linkState().UserAbort);  // the read loop clears the abort
        QVERIFY(w->mnuOpenFile->isEnabled() && w->cboPort->isEnabled() && fx.ed().isEnabled());
        QVERIFY(disabledWhileRunning);
        if (!closing)
            return;
        QVERIFY(fx.controller.address() < 40);  // stopped at the next byte: nothing more was asked for
        QVERIFY(stillOpen);
        QTRY_VERIFY(!w->isVisible());
    }

    // Closing asks only when the configuration differs from the one last loaded or saved.
    void unsavedChanges_data()
    {
        QTest::addColumn<int>("answer");  // to the question, -1: none asked, nothing edited
        QTest::addColumn<QString>("saveAs");  // what the Save dialog gives
        QTest::addColumn<bool>("closes");
        const int save = int(PromptAnswer::Save);
        QTest::newRow("unchanged") << -1 << "" << true;
        QTest::newRow("Cancel") << int(PromptAnswer::Cancel) << "" << false;
        QTest::newRow("Discard") << int(PromptAnswer::Discard) << "" << true;
        QTest::newRow("Save, dialog cancelled") << save << "" << false;
        QTest::newRow("Save") << save << "saved.dat" << true;
    }
    void unsavedChanges()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closes);
        QTemporaryDir dir;
        Fixture fx(Defaults);
        QVERIFY(fx.show());
        QVERIFY(!fx.window->isWindowModified());
        const auto typeLaunchRPM = [&](const char* text) {
            fx.field("txtLaunchRPM")->setFocus();
            fx.field("txtLaunchRPM")->selectAll();
            QTest::keyClicks(fx.field("txtLaunchRPM"), text);
            fx.field("txtVSSFreq")->setFocus();
        };
        if (answer >= 0) {
            typeLaunchRPM("4400");
            QTRY_VERIFY(fx.window->isWindowModified() && fx.window->windowTitle().endsWith("[*]"));
            typeLaunchRPM("3000");  // the old value back is no change
            QTRY_VERIFY(!fx.window->isWindowModified());
            fx.field("txtUserData")->setText("changed text");
            fx.prompter.expectBox(QString(), "Exit", PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation,
                                  PromptAnswer(answer));
        }
        if (answer == int(PromptAnswer::Save))
            fx.prompter.expectSaveFile(saveAs.isEmpty() ? QString() : dir.filePath(saveAs));
        fx.run(fx.window->mnuExit);
        QCOMPARE(fx.window->isVisible(), !closes);
        if (!saveAs.isEmpty())
            QCOMPARE(readFile(dir.filePath(saveAs)).mid(128 - 16, 12), QByteArray("changed text"));
    }

    // Recent files: newest first, five at most, a missing one taken off with a word; Open's
    // failures keep or empty the buffer.
    void recentFiles()
    {
        QStringList names;
        Fixture fx;
        for (int i = 0; i < 6; ++i) {
            names << path(QString("recent%1.dat").arg(i));
            writeFile(names.last(), defaultsBlock());
            if (i > 0)
                fx.prompter.expect(kOverwrite, kOpenTitle);
            fx.prompter.expect(QString(), kOpenTitle);
            fx.window->openDataFile(names.last());
        }
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(frmRevora_Main::recentFiles(), (QStringList{names[5], names[4], names[3], names[2], names[1]}));
        QFile::remove(names[4]);
        fx.prompter.expect(names[4] + "\r\nFile not found. It is taken off the recent files.", kOpenTitle);
        fx.run(fx.window->mnuRecentFiles.at(1));
        QCOMPARE(frmRevora_Main::recentFiles(), (QStringList{names[5], names[3], names[2], names[1]}));
        // What was loaded stays, and so it does after Cancel at the overwrite question.
        fx.prompter.expect(kOverwrite, kOpenTitle, PromptAnswer::Cancel);
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.image() == defaultsBlock() && fx.title() == kMain + " - recent5.dat");
        // A missing file: Cancel reaches the command's error prompt; Abort leaves the buffer empty.
        const QString missing = path("missing.dat");
        fx.prompter.expect(kOverwrite, kOpenTitle).expectOpenFile(missing);
        fx.prompter.expectBox(missing + "\r\nFile not found.", "File Open", PromptButtons::RetryCancel,
                              PromptIcon::Exclamation, PromptAnswer::Cancel);
        fx.prompter.expectError("Canceled File Open", PromptAnswer::Abort);
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.window->store().image.BufferEmpty);
        // A file named on the command line is found from where the program was started.
        QCOMPARE(frmRevora_Main::startupFile({"revora-shift", "car.dat", "-x"}), QDir::current().absoluteFilePath("car.dat"));
    }

    // Comparing reads the controller into a scratch image, the window keeps what it holds; then switches and colours.
    void compareSwitchesAndColours()
    {
        const QString title = "Compare With Controller", firmware = "Firmware ID: Revora Shift Light v1.0";
        Fixture fx(Defaults);
        fx.prompter.expect(firmware, title).expect("The controller holds this configuration.", title);
        fx.run(fx.window->mnuCompare);
        QByteArray block = defaultsBlock();
        block.replace(32 - 16, 2, QByteArray("\xAC\x0D"));  // launch 3500
        block[20 - 16] = char(block[20 - 16] & ~0x08);       // multi-stage off
        block[53 - 16] = char(0xA5);
        fx.controller.setConfigBlock(block);
        fx.prompter.expect(firmware, title).expect(QString(), title);
        fx.run(fx.window->mnuCompare);
        QCOMPARE(fx.image(), defaultsBlock());
        QCOMPARE(fx.title(), kMain + " - Default Values");
        QVERIFY(!fx.window->isWindowModified() && !fx.ed().fraScaleFactors->isHidden());
        QCOMPARE(fx.controller.configBlock(), block);
        const QStringList lines = fx.prompter.shown().last().split("\r\n");
        QCOMPARE(lines.mid(0, 3), (QStringList{title + ": The controller and this configuration differ in 4 places:", "",
                                               "Parameter | Controller | This configuration"}));
        for (const QString& row : {QString("Launch RPM | 3500 | 3000"), QString("Multi-Stage Shift Light | Disabled | Enabled"),
                                   QString("Offset 53 | 165 (0xa5) | %1 (0x00)").arg(int(defaultsBlock()[53 - 16]))})
            QVERIFY2(lines.contains(row), qPrintable(row + " missing in\n" + lines.join('\n')));
        ParameterEditor& ed = fx.ed();
        QVERIFY(fx.params().GPOEnable);
        // Without gear detection the GPO goes off, and the GPO editor refuses.
        ed.chkVSSGearDetect->setChecked(false);
        fx.prompter.expect(QLatin1String(frmGPO::kGPIRequired), "Edit GPO Parameters");
        fx.run(fx.window->mnuEditGPOParams);
        // The GPO stays off when gear detection comes back.
        ed.chkVSSGearDetect->setChecked(true);
        QVERIFY(fx.params().VSSGearDetect && !fx.params().GPOEnable);
        // Multi-stage off takes gear detection with it, and so the GPO, as unticking gear detection does.
        fx.params().GPOEnable = true;
        fx.field("txtShiftRPM2")->setText("not validated");
        ed.chkMultiStageShift->setChecked(false);
        QVERIFY(!fx.params().MultiStageShift && !fx.params().VSSGearDetect && !fx.params().GPOEnable);
        QVERIFY(!ed.chkVSSGearDetect->isChecked() && !ed.chkVSSGearDetect->isEnabled());
        ed.chkMultiStageShift->setChecked(true);
        QCOMPARE(fx.field("txtShiftRPM2")->text(), "6000");
        // The colour buttons: bits above 24 come back from the dialog; both shift buttons set the one colour.
        fx.prompter.expectColor(0xFF123456u);
        ed.cmdLaunchColor->click();
        QCOMPARE(uint32_t(fx.params().LaunchColor), 0x123456u);
        QCOMPARE(swatchColor(ed.txtLaunchColor), 0x123456);
        // Ignore after a cancel keeps the colour the picker started from.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        ed.cmdShiftColor->click();
        QCOMPARE(uint32_t(fx.params().ShiftColor), 255u);
        fx.prompter.expectColor(0xABCDEFu);
        ed.cmdMultiStageShiftColor->click();
        QCOMPARE(uint32_t(fx.params().ShiftColor), 0xABCDEFu);
        QCOMPARE(swatchColor(ed.txtMultiStageShiftColor), 0xABCDEF);
        QVERIFY_PROMPTS(fx.prompter);
    }

    // The backup before an upload: the block kept, the changes shown, No writes nothing; switched off, neither
    // question nor file. Display Defaults drops an old user text everywhere: the upload sends the factory values.
    void uploadBackup_data()
    {
        QTest::addColumn<bool>("backUp");
        QTest::addColumn<int>("answer");  // to "Go on?", -1: none asked
        QTest::newRow("off") << false << -1;
        QTest::newRow("declined") << true << int(PromptAnswer::No);
        QTest::newRow("accepted") << true << int(PromptAnswer::Yes);
    }
    void uploadBackup()
    {
        QFETCH(bool, backUp);
        QFETCH(int, answer);
        const QByteArray before = QByteArray(144, '\x11');
        Fixture fx(Empty, backUp);
        QCOMPARE(fx.window->mnuBackupBeforeUpload->isChecked(), backUp);  // on unless turned off
        fx.field("txtUserData")->setText("old text");
        fx.params().UserData = "old text";
        QVERIFY(fx.show());
        const QSize size = fx.window->size();
        fx.run(fx.window->mnuDisplayDefaults);
        fx.controller.setConfigBlock(before);
        if (answer >= 0)
            fx.prompter.expect(QString(), "Upload To EEPROM", PromptAnswer(answer));
        const bool writes = answer != int(PromptAnswer::No);
        if (writes)
            fx.prompter.expect("Upload completed.", "Upload To EEPROM");
        fx.run(fx.window->mnuUpload);
        QCOMPARE(fx.controller.configBlock(), writes ? defaultsBlock() : before);
        QVERIFY(fx.controller.resetCount() == (writes ? 1 : 0) && !fx.port.isOpen());
        QDir backups(frmRevora_Main::backupFolder());
        const QStringList kept = backups.entryList({"*.dat"}, QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), backUp ? 1 : 0);
        if (backUp) {
            QVERIFY(fx.prompter.shown().first().contains("Gear 1 Shift RPM | "));
            QCOMPARE(readFile(backups.filePath(kept.first())), before);
            QVERIFY(backups.removeRecursively());
        }
        QCOMPARE(fx.title(), kMain + " - Default Values");
        // The start panel went before the frames came, the progress panel gave its room back.
        QTRY_COMPARE(fx.window->size(), size);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
