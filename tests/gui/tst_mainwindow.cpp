// The main window: what it wires together, against scripted prompts and the emulated controller.
#include "gpo/frmgpo.h"
#include "shell/filecommands.h"
#include "windowfixture.h"

class TestMainWindow : public WindowTest {
    Q_OBJECT

private slots:
    // A fresh window: the company in the caption, the start panel, nothing to save, upload, print or compare,
    // and the port untouched; Exit closes an open port.
    void startup()
    {
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(fx.title(), "Velmont Sensors " + kMain);
        QVERIFY(fx.showsEmpty() && fx.ed().fraMultiStageShiftSetup->isHidden());
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
        QVERIFY(fx.port.open(nullptr));
        fx.run(w.mnuExit);
        QVERIFY(!w.isVisible() && !fx.port.isOpen());
    }

    // A file named on the command line is found from where the program was started; an unknown option or a
    // second file is refused with what is wrong, not ignored.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("none") << QStringList{} << "" << "";
        QTest::newRow("one file") << QStringList{"car.dat"} << QDir::current().absoluteFilePath("car.dat") << "";
        QTest::newRow("a dash file") << QStringList{"--", "-car.dat"} << QDir::current().absoluteFilePath("-car.dat")
                                     << "";
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

    // A file that cannot be used leaves the window as empty as a fresh one, whatever was loaded before: the
    // start panel shows, and the multi-stage frame the defaults showed stays in place but cannot be edited.
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
        QCOMPARE(RecentFiles::files(), loads ? QStringList{name} : QStringList());
        if (!loads) {
            QVERIFY(fx.showsEmpty() && !fx.ed().fraMultiStageShiftSetup->isHidden());
            return;
        }
        QVERIFY(fx.window->fraStart->isHidden() && fx.ed().fraMultiStageShiftSetup->isEnabled());
        // Shown as decoded: showing gear detection unticked does not run its handler, which turns the GPO off.
        QVERIFY(fx.params().GPOEnable && !fx.params().VSSGearDetect && !fx.params().MultiStageShift);
        QVERIFY(!fx.ed().chkVSSGearDetect->isChecked() && fx.ed().fraMultiStageShiftSetup->isHidden());
        QCOMPARE(fx.field("txtPulsePerRev")->text(), "12");
    }

    // Cancel at the overwrite question keeps what is loaded; Cancel in the dialog function's own question reaches
    // the command's error prompt, and Abort leaves the buffer empty. The start panel borrows its room beside the
    // multi-stage frame and gives it back when a file loads.
    void openCancelled()
    {
        writeFile(path("kept.dat"), defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(path("kept.dat"));
        const QSize loaded = fx.window->size();
        fx.prompter.expect(kOverwrite, kOpenTitle, PromptAnswer::Cancel);
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.image() == defaultsBlock() && fx.title() == kMain + " - kept.dat");
        const QString missing = path("missing.dat");
        fx.prompter.expect(kOverwrite, kOpenTitle).expectOpenFile(missing);
        fx.prompter.expect(missing + "\r\nFile not found.", "File Open", PromptAnswer::Cancel);
        fx.prompter.expectError("Canceled File Open", PromptAnswer::Abort);
        fx.run(fx.window->mnuOpenFile);
        QVERIFY(fx.showsEmpty() && fx.title() == kMain + " - Data Buffer Empty");
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(path("kept.dat"));
        QTRY_COMPARE(fx.window->size(), loaded);
    }

    // A save the error prompt stopped wrote nothing and names no file; a save that went through names its file.
    void saveFile_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<int>("error");  // the answer to the error prompt, -1: none
        QTest::newRow("saved") << "saved.dat" << -1;
        QTest::newRow("existing, Cancel, Abort") << "existing.dat" << int(PromptAnswer::Abort);
        QTest::newRow("no such folder, Ignore") << "no/such.dat" << int(PromptAnswer::Ignore);
    }
    void saveFile()
    {
        QFETCH(QString, picked);
        QFETCH(int, error);
        QTemporaryDir dir;
        writeFile(dir.filePath("existing.dat"), "old");
        Fixture fx(Defaults);
        fx.prompter.expectSaveFile(dir.filePath(picked));
        if (picked == "existing.dat")
            fx.prompter.expect(QString(), "File Save", PromptAnswer::Cancel);
        if (error >= 0)
            fx.prompter.expectError(picked == "existing.dat" ? "Canceled File Save" : QString(), PromptAnswer(error));
        fx.run(fx.window->mnuSaveFIle);
        QCOMPARE(readFile(dir.filePath("existing.dat")), QByteArray("old"));
        if (error < 0)
            QCOMPARE(readFile(dir.filePath(picked)), defaultsBlock());
        QCOMPARE(fx.title(), kMain + " - " + (error < 0 ? picked : "Default Values"));
        QCOMPARE(RecentFiles::files(), error < 0 ? QStringList{dir.filePath(picked)} : QStringList());
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
        if (answer >= 0) {
            fx.type("txtLaunchRPM", "4400");
            QTRY_VERIFY(fx.window->isWindowModified() && fx.window->windowTitle().endsWith("[*]"));
            fx.type("txtLaunchRPM", "3000");  // the old value back is no change
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

    // Every command that replaces the configuration asks first about changes no file holds, with the question
    // closing asks; the command's own overwrite question comes after it. A typed value not yet left counts.
    void replacingAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");  // -1: nothing edited, nothing asked
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("replaced");
        const int cancel = int(PromptAnswer::Cancel), discard = int(PromptAnswer::Discard),
                  save = int(PromptAnswer::Save);
        QTest::newRow("defaults, unedited") << "defaults" << -1 << "" << true;
        QTest::newRow("defaults, Cancel") << "defaults" << cancel << "" << false;
        QTest::newRow("defaults, Discard") << "defaults" << discard << "" << true;
        // Save writes to the configuration's own file, asking nothing, and Open then loads it.
        QTest::newRow("open, Save") << "open" << save << "other.dat" << true;
        QTest::newRow("recent, Cancel") << "recent" << cancel << "" << false;
        QTest::newRow("recent, Discard") << "recent" << discard << "" << true;
        QTest::newRow("download, Cancel") << "download" << cancel << "" << false;
        QTest::newRow("download, Discard") << "download" << discard << "" << true;
    }
    void replacingAsksAboutUnsavedChanges()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, replaced);
        QByteArray other = defaultsBlock();
        other[0] = char(24);
        writeFile(path("other.dat"), other);
        Fixture fx;
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(path("other.dat"));
        QVERIFY(fx.show());
        if (answer >= 0) {
            fx.field("txtLaunchRPM")->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(fx.field("txtLaunchRPM"), "4400");  // typed, not yet left
        }
        const QMap<QString, QString> titles{{"defaults", "Display Default Parameters"},
                                            {"open", kOpenTitle},
                                            {"recent", kOpenTitle},
                                            {"download", "Download From EEPROM"}};
        if (answer >= 0)
            fx.prompter.expectBox("This configuration has changes that are not saved.\r\nDo you want to save them?",
                                  titles.value(command), PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation,
                                  PromptAnswer(answer));
        if (replaced && command != "defaults")
            fx.prompter.expect(kOverwrite, titles.value(command));
        if (replaced && command == "open")
            fx.prompter.expectOpenFile(path("other.dat"));
        if (replaced && command == "download")
            fx.prompter.expect("Firmware ID: Revora Shift Light v1.0", titles.value(command));
        else if (replaced && command != "defaults")
            fx.prompter.expect("Loaded " + path("other.dat") + " to buffer. Ready for editing or upload.", kOpenTitle);
        if (command == "recent")
            fx.window->recentFiles->actions().first()->trigger();
        else
            fx.window->findChild<QAction*>(command == "defaults" ? "mnuDisplayDefaults"
                                           : command == "open"   ? "mnuOpenFile"
                                                                 : "mnuDownload")
                ->trigger();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(fx.params().LaunchRPM, replaced && saveAs.isEmpty() ? 3000 : 4400);
        QCOMPARE(fx.window->document().isModified(), !replaced);
        QCOMPARE(fx.params().PulsePerRev == 24, !replaced || command == "open" || command == "recent");
        if (!saveAs.isEmpty())
            QCOMPARE(readFile(path(saveAs)).mid(32 - 16, 2), QByteArray("\x30\x11"));  // 4400
    }

    // The switches and colours as the window wires them: without gear detection the GPO goes off and its
    // editor refuses; the multi-stage switch decodes again and the caption says so.
    void switchesAndColours()
    {
        Fixture fx(Defaults);
        ParameterEditor& ed = fx.ed();
        QVERIFY(fx.params().GPOEnable);
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
        QCOMPARE(fx.title(), kMain + " - Downloaded Data");
        QVERIFY(fx.window->isWindowModified());
        ed.chkMultiStageShift->setChecked(true);
        QCOMPARE(fx.field("txtShiftRPM2")->text(), "6000");
        // The colour buttons share one dialog. Before it has returned a colour it opens on the parameter's,
        // and Ignore after a Cancel keeps that.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        ed.cmdShiftColor->click();
        QCOMPARE(fx.prompter.lastColorInitial, 255u);
        QCOMPARE(uint32_t(fx.params().ShiftColor), 255u);
        // Bits above 24 come back from the dialog and are dropped.
        fx.prompter.expectColor(0xFF123456u);
        ed.cmdLaunchColor->click();
        QCOMPARE(uint32_t(fx.params().LaunchColor), 0x123456u);
        QCOMPARE(swatchColor(ed.txtLaunchColor), 0x123456);
        // From then on it opens on the colour last picked, and Ignore after a Cancel stores that one.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        ed.cmdShiftColor->click();
        QCOMPARE(fx.prompter.lastColorInitial, 0x123456u);
        QCOMPARE(uint32_t(fx.params().ShiftColor), 0x123456u);
        QCOMPARE(swatchColor(ed.txtShiftColor), 0x123456);
        // Both shift buttons set the one colour.
        fx.prompter.expectColor(0xABCDEFu);
        ed.cmdMultiStageShiftColor->click();
        QCOMPARE(uint32_t(fx.params().ShiftColor), 0xABCDEFu);
        QCOMPARE(swatchColor(ed.txtMultiStageShiftColor), 0xABCDEF);
        QVERIFY_PROMPTS(fx.prompter);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
