// The main window: what it wires together, against scripted prompts and the emulated controller.
#include "gpo/frmgpo.h"
#include "shell/filecommands.h"
#include "windowfixture.h"

class TestMainWindow : public WindowTest {
    Q_OBJECT

private slots:
    // A fresh window: the start panel, nothing to save or upload.
    void startup()
    {
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(fx.title(), "Velmont Sensors " + kMain);
        QVERIFY(fx.showsEmpty() && fx.ed().fraMultiStageShiftSetup->isHidden());
        fx.warns("Data buffer empty.", "Save Data File");
        fx.warns("Data buffer empty.", "Save Data File");
        fx.warns("No data available for uploading.", "Upload To EEPROM");
        for (QAction* command : {w.mnuSave, w.mnuSaveFIle, w.mnuUpload})
            command->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.port.openCount(), 0);
    }

    // A file named on the command line is found from the start folder; anything else is refused with why.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("one file") << QStringList{"car.dat"} << QDir::current().absoluteFilePath("car.dat") << "";
        QTest::newRow("unknown option") << QStringList{"--bogus", "car.dat"} << ""
                                        << "Unknown option 'bogus'. See revora-shift --help.";
        QTest::newRow("two files") << QStringList{"a.dat", "b.dat"} << ""
                                   << "One data file at a time: 2 were named (a.dat, b.dat). Open the others from "
                                      "the File menu.";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        const FileCommands::StartupFile start = FileCommands::startupFile(QStringList{"revora-shift"} + arguments);
        QTEST(start.path, "file");
        QTEST(start.error, "error");
    }

    // Open over the defaults: an unusable file leaves the window empty, the multi-stage frame shown but disabled;
    // Cancel at the overwrite question keeps what is loaded.
    void openFile_data()
    {
        QTest::addColumn<int>("size");  // -1: a directory, which cannot be read
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("144 bytes") << 144 << true;
        QTest::newRow("100 bytes") << 100 << true;
        QTest::newRow("unreadable") << -1 << true;
        QTest::newRow("overwrite cancelled") << 144 << false;
    }
    void openFile()
    {
        QFETCH(int, size);
        QFETCH(bool, overwrite);
        const bool loads = size >= 144 && overwrite;
        QByteArray bytes = defaultsBlock();
        bytes[0] = char(24);          // 12 pulses per revolution
        bytes[20 - 16] = char(0x11);  // GPO on, gear detection on, multi-stage off
        const QString name = path(QString("open%1.dat").arg(size));
        if (size == -1)
            QVERIFY(QDir().mkpath(name));
        else
            writeFile(name, bytes.left(size));
        Fixture fx(Defaults);
        fx.prompter.expect(kOverwrite, kOpenTitle, overwrite ? PromptAnswer::OK : PromptAnswer::Cancel);
        if (overwrite)
            fx.prompter.expectOpenFile(name);
        if (loads)
            fx.prompter.expect("Loaded " + name + " to buffer. Ready for editing or upload.", kOpenTitle);
        else if (size >= 0 && overwrite)
            fx.warns("Error - reached premature end-of-file", kOpenTitle);
        else if (overwrite)  // Retry reads again; Ignore cannot make an unread file loaded
            fx.prompter.expectError(QString(), PromptAnswer::Retry).expectError(QString(), PromptAnswer::Ignore);
        fx.run(fx.window->mnuOpenFile);
        QCOMPARE(fx.image(), loads ? bytes : overwrite ? QByteArray(144, '\0') : defaultsBlock());
        QCOMPARE(fx.title(), kMain + " - " + (loads ? "open144.dat" : overwrite ? "Data Buffer Empty" : "Default Values"));
        QCOMPARE(RecentFiles::files(), loads ? QStringList{name} : QStringList());
        QCOMPARE(fx.window->store().image.BufferEmpty, overwrite && !loads);
        QVERIFY(fx.showsEmpty() == (overwrite && !loads) && (loads || !fx.ed().fraMultiStageShiftSetup->isHidden()));
        if (!loads)
            return;
        QVERIFY(fx.window->fraStart->isHidden() && fx.ed().fraMultiStageShiftSetup->isEnabled());
        // Shown as decoded: showing gear detection unticked does not run its handler, which turns the GPO off.
        QVERIFY(fx.params().GPOEnable && !fx.params().VSSGearDetect && !fx.params().MultiStageShift);
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked() && fx.field("txtPulsePerRev")->text() == "12");
    }

    // A field is validated when left: a text left as shown keeps the stored value, a typed one is stored.
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

    // Reserved gaps and unused flag bits travel unchanged; the user text takes 32 characters at most.
    void saveKeepsEveryByteAndWhatIsTyped()
    {
        QByteArray bytes = defaultsBlock();
        bytes[53 - 16] = char(0xA5);
        bytes[71 - 16] = char(0xF0);
        writeFile(path("gaps.dat"), bytes);
        Fixture fx;
        QVERIFY(fx.show());
        fx.open(path("gaps.dat"));
        fx.ed().txtUserData->setFocus();
        QTest::keyClicks(fx.ed().txtUserData, "Car 7" + QString(40, 'x'));
        fx.field("txtLaunchRPM")->setFocus(Qt::TabFocusReason);  // selects what is there
        QTest::keyClicks(fx.field("txtLaunchRPM"), "4500");
        fx.prompter.expectSaveFile(path("gaps-out.dat"));
        fx.run(fx.window->mnuSaveFIle);
        bytes.replace(32 - 16, 2, QByteArray("\x94\x11"));  // 4500 = 0x1194
        bytes.replace(128 - 16, 32, "Car 7" + QByteArray(27, 'x'));
        QCOMPARE(readFile(path("gaps-out.dat")), bytes);
    }

    // Closing and replacing ask about unsaved changes, a typed value not yet left too; Save asks nothing.
    void unsavedChanges_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");  // the file the edit is saved to; "-": the Save dialog cancelled
        QTest::addColumn<bool>("replaced");  // or closed
        const int cancel = int(PromptAnswer::Cancel), discard = int(PromptAnswer::Discard),
                  save = int(PromptAnswer::Save);
        QTest::newRow("exit, Cancel") << "exit" << cancel << "" << false;
        QTest::newRow("exit, Save, dialog cancelled") << "exit" << save << "-" << false;
        QTest::newRow("exit, Save As") << "exit" << save << "saved.dat" << true;
        QTest::newRow("open, Save") << "open" << save << "other.dat" << true;
        QTest::newRow("download, Cancel") << "download" << cancel << "" << false;
        QTest::newRow("download, Discard") << "download" << discard << "" << true;
    }
    void unsavedChanges()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, replaced);
        QByteArray other = defaultsBlock();
        other[0] = char(24);
        writeFile(path("other.dat"), other);
        Fixture fx;
        fx.open(path("other.dat"));
        QVERIFY(fx.show());
        const bool ownFile = saveAs != "-" && saveAs != "saved.dat";
        if (!ownFile)
            fx.run(fx.window->mnuDisplayDefaults);
        fx.field("txtLaunchRPM")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(fx.field("txtLaunchRPM"), "4400");  // typed, not yet left
        const QMap<QString, QString> titles{{"exit", "Exit"}, {"open", kOpenTitle}, {"download", kDownloadTitle}};
        const QString title = titles.value(command);
        fx.prompter.expectBox("This configuration has changes that are not saved.\r\nDo you want to save them?",
                              title, PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation, PromptAnswer(answer));
        if (!ownFile)
            fx.prompter.expectSaveFile(saveAs == "-" ? QString() : path(saveAs));
        if (replaced && command != "exit")
            fx.prompter.expect(kOverwrite, title);
        if (replaced && command == "open")
            fx.prompter.expectOpenFile(path("other.dat")).expect(QString(), kOpenTitle);
        else if (replaced && command == "download")
            fx.prompter.expect(kFirmware, title);
        const QMap<QString, QAction*> commands{
            {"exit", fx.window->mnuExit}, {"open", fx.window->mnuOpenFile}, {"download", fx.window->mnuDownload}};
        fx.run(commands.value(command));
        if (saveAs.size() > 1)
            QCOMPARE(readFile(path(saveAs)).mid(32 - 16, 2), QByteArray("\x30\x11"));  // 4400
        if (command == "exit") {
            QCOMPARE(fx.window->isVisible(), !replaced);
            return;
        }
        QCOMPARE(fx.params().LaunchRPM, replaced && saveAs.isEmpty() ? 3000 : 4400);
        QCOMPARE(fx.window->document().isModified(), !replaced);
        QCOMPARE(fx.params().PulsePerRev == 24, !replaced || command == "open");
    }

    // The switches as the window wires them (their rules are the core's), and the colour buttons' one dialog.
    void switchesAndColours()
    {
        Fixture fx(Defaults);
        ParameterEditor& ed = fx.ed();
        QVERIFY(fx.params().GPOEnable);
        ed.chkVSSGearDetect->setChecked(false);
        fx.prompter.expect(QLatin1String(frmGPO::kGPIRequired), "Edit GPO Parameters");
        fx.run(fx.window->mnuEditGPOParams);
        ed.chkVSSGearDetect->setChecked(true);  // the GPO stays off
        QVERIFY(fx.params().VSSGearDetect && !fx.params().GPOEnable);
        fx.params().GPOEnable = true;
        ed.chkMultiStageShift->setChecked(false);
        QVERIFY(!fx.params().MultiStageShift && !fx.params().VSSGearDetect && !fx.params().GPOEnable);
        QVERIFY(!ed.chkVSSGearDetect->isChecked());
        // Ignore after a Cancel keeps the colour the dialog opened on: the parameter's, then the last picked.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        ed.cmdShiftColor->click();
        QVERIFY(fx.prompter.lastColorInitial == 255u && fx.params().ShiftColor == 255);
        fx.prompter.expectColor(0xFF123456u);  // bits above 24 are dropped
        ed.cmdLaunchColor->click();
        QVERIFY(fx.params().LaunchColor == 0x123456 && swatchColor(ed.txtLaunchColor) == 0x123456);
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        ed.cmdShiftColor->click();
        QCOMPARE(fx.prompter.lastColorInitial, 0x123456u);
        QVERIFY(fx.params().ShiftColor == 0x123456 && swatchColor(ed.txtShiftColor) == 0x123456);
        fx.prompter.expectColor(0xABCDEFu);  // both shift buttons set the one colour
        ed.cmdMultiStageShiftColor->click();
        QVERIFY(fx.params().ShiftColor == 0xABCDEF && swatchColor(ed.txtMultiStageShiftColor) == 0xABCDEF);
        QVERIFY_PROMPTS(fx.prompter);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
