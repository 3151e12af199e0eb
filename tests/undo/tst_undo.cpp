// Undo and redo over the document, Save and Save As, and the keys, as the window runs them.
#include "shell/undohistory.h"
#include "windowfixture.h"

#include <QUndoStack>

class TestUndo : public WindowTest {
    Q_OBJECT

    static QUndoStack& stack(Fixture& fx) { return fx.window->findChild<UndoHistory*>()->stack(); }
    // The mark, the document and the stack's clean state are one thing: "marked", "clean", or what disagrees.
    static QString marked(Fixture& fx)
    {
        const bool mark = fx.window->isWindowModified();
        if (mark != fx.window->document().isModified() || mark == stack(fx).isClean())
            return QString("window %1, document %2, stack clean %3")
                .arg(mark)
                .arg(fx.window->document().isModified())
                .arg(stack(fx).isClean());
        return mark ? "marked" : "clean";
    }
    // Types into a field and leaves it; its validation comes right after the focus has moved.
    static void type(Fixture& fx, const QString& field, const QString& text)
    {
        fx.type(field, text);
        QCoreApplication::processEvents();
    }
    // The usual start: car.dat, holding the defaults, opened in the window and its Launch RPM made 4400.
    bool openEditedCar(Fixture& fx) const
    {
        writeFile(path("car.dat"), defaultsBlock());
        if (!fx.show())
            return false;
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(path("car.dat"));
        type(fx, "txtLaunchRPM", "4400");
        return true;
    }
    static void undo(Fixture& fx) { fx.run(fx.window->mnuUndo); }
    static void redo(Fixture& fx) { fx.run(fx.window->mnuRedo); }

private slots:
    // A chain of edits of every kind, each one step named as the person sees it; undoing them all comes back
    // to the opened file with no mark, and redoing them all brings every value back.
    void chainOfEdits()
    {
        writeFile(path("car.dat"), defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        QVERIFY(!fx.window->mnuUndo->isEnabled() && !fx.window->mnuRedo->isEnabled());
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(path("car.dat"));
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Open File");
        QCOMPARE(marked(fx), "clean");

        type(fx, "txtShiftRPM3", "7200");
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Gear 3 Shift RPM");
        QCOMPARE(marked(fx), "marked");
        type(fx, "txtPulsePerRev", "2");
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo RPM Pulses/Rev (0.5-12)");
        QTest::mouseClick(fx.ed().chkLogArmed, Qt::LeftButton);
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Data Logging Only When Armed");
        fx.prompter.expectColor(0x00FF00u);
        fx.ed().cmdLaunchColor->click();
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Launch Light Color");
        // A colour dialog cancelled and ignored changes nothing, so it is no step.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        fx.ed().cmdLaunchColor->click();
        QVERIFY_PROMPTS(fx.prompter);
        QCOMPARE(stack(fx).count(), 5);
        const ParameterSet edited = fx.params();
        QVERIFY(edited.ShiftRPM3 == 7200 && edited.PulsePerRev == 4 && edited.LogArmed && edited.LaunchColor == 0xFF00);

        undo(fx);
        QCOMPARE(fx.params().LaunchColor, 255);
        QCOMPARE(swatchColor(fx.ed().txtLaunchColor), 255);
        QCOMPARE(fx.window->mnuRedo->text(), "&Redo Launch Light Color");
        undo(fx);
        QVERIFY(!fx.params().LogArmed && !fx.ed().chkLogArmed->isChecked());
        undo(fx);
        QCOMPARE(fx.field("txtPulsePerRev")->text(), "0.5");
        QCOMPARE(marked(fx), "marked");
        undo(fx);
        QCOMPARE(fx.params().ShiftRPM3, 6000);
        QCOMPARE(fx.field("txtShiftRPM3")->text(), "6000");
        QCOMPARE(marked(fx), "clean");
        QCOMPARE(fx.title(), kMain + " - car.dat");
        QCOMPARE(fx.image(), defaultsBlock());

        for (int i = 0; i < 4; ++i)
            redo(fx);
        QVERIFY(fx.params() == edited);
        QCOMPARE(fx.field("txtShiftRPM3")->text(), "7200");
        QVERIFY(!fx.window->mnuRedo->isEnabled());
        QCOMPARE(marked(fx), "marked");
        // Nothing of this ever touched the file.
        QCOMPARE(readFile(path("car.dat")), defaultsBlock());
    }

    // Commands that replace the configuration are single steps that bring back everything that was there:
    // the values, where they came from, and whether they differ from it.
    void replacingSteps()
    {
        Fixture fx;
        QVERIFY(openEditedCar(fx));
        fx.prompter.expectBox("This configuration has changes that are not saved.\r\nDo you want to save them?",
                              "Display Default Parameters", PromptButtons::SaveDiscardCancel, PromptIcon::Exclamation,
                              PromptAnswer::Discard);
        fx.run(fx.window->mnuDisplayDefaults);
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Display Default Parameters");
        QCOMPARE(marked(fx), "clean");
        fx.prompter.expect(kOverwrite, "Download From EEPROM");
        fx.prompter.expect("Firmware ID: Revora Shift Light v1.0", "Download From EEPROM");
        fx.run(fx.window->mnuDownload);
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Download From EEPROM");
        QCOMPARE(fx.title(), kMain + " - Downloaded Data");
        // The editor dialogs: OK after a change is one step, named by its command.
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* max = dialog->findChild<QLineEdit*>("txtAlarmVSSMax");
            max->setFocus();
            max->selectAll();
            QTest::keyClicks(max, "120");
            dialog->findChild<QPushButton*>("cmdOK")->click();
        });
        fx.run(fx.window->mnuEditAlarmVSS);
        QCOMPARE(fx.params().AlarmVSSMax, 120);
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Edit VSS (Speed) Alarm");
        QCOMPARE(marked(fx), "marked");

        undo(fx);
        QCOMPARE(fx.params().AlarmVSSMax, 225);
        QCOMPARE(marked(fx), "clean");
        undo(fx);  // the download
        QCOMPARE(fx.title(), kMain + " - Default Values");
        QCOMPARE(marked(fx), "clean");
        undo(fx);  // the defaults
        QCOMPARE(fx.title(), kMain + " - car.dat");
        QCOMPARE(fx.params().LaunchRPM, 4400);
        QCOMPARE(marked(fx), "marked");
        undo(fx);
        undo(fx);  // the open
        QVERIFY(fx.showsEmpty());
        QCOMPARE(fx.title(), "Velmont Sensors " + kMain);  // as the window started
        QVERIFY(!fx.window->mnuUndo->isEnabled());
        QCOMPARE(marked(fx), "clean");
        for (int i = 0; i < 5; ++i)
            redo(fx);
        QCOMPARE(fx.title(), kMain + " - Downloaded Data");
        QCOMPARE(fx.params().AlarmVSSMax, 120);
        QCOMPARE(marked(fx), "marked");
        // No undo ever spoke to the controller.
        QCOMPARE(fx.controller.configBlock(), defaultsBlock());
    }

    // An upload makes the controller hold the configuration, but a file named in the caption still holds the
    // old values: the unsaved mark stays for it, and goes for a configuration that came from elsewhere. The
    // steps stay, and undoing them follows the same origin.
    void undoAfterUpload_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("opened file") << true;
        QTest::newRow("defaults") << false;
    }
    void undoAfterUpload()
    {
        QFETCH(bool, fromFile);
        writeFile(path("car.dat"), defaultsBlock());
        Fixture fx(fromFile ? Empty : Defaults);
        QVERIFY(fx.show());
        if (fromFile) {
            fx.prompter.expect(QString(), kOpenTitle);
            fx.window->openDataFile(path("car.dat"));
        }
        type(fx, "txtLaunchRPM", "4400");
        fx.prompter.expect("Upload completed.", "Upload To EEPROM");
        fx.run(fx.window->mnuUpload);
        const QByteArray uploaded = fx.controller.configBlock();
        QCOMPARE(uploaded.mid(32 - 16, 2), QByteArray("\x30\x11"));  // 4400
        QCOMPARE(marked(fx), fromFile ? "marked" : "clean");
        QCOMPARE(fx.title(), kMain + (fromFile ? " - car.dat" : " - Default Values"));
        QCOMPARE(fx.window->mnuUndo->text(), "&Undo Launch RPM");
        undo(fx);
        QCOMPARE(fx.params().LaunchRPM, 3000);
        QCOMPARE(marked(fx), fromFile ? "clean" : "marked");
        redo(fx);
        QCOMPARE(marked(fx), fromFile ? "marked" : "clean");
        QCOMPARE(fx.controller.configBlock(), uploaded);
    }

    // Save writes to the file the configuration came from or was last saved to, asking nothing; with no file
    // it is Save As. Save As keeps the Save File dialog and its questions.
    void save()
    {
        Fixture fx;
        QVERIFY(openEditedCar(fx));
        fx.run(fx.window->mnuSave);
        QCOMPARE(readFile(path("car.dat")).mid(32 - 16, 2), QByteArray("\x30\x11"));
        QCOMPARE(marked(fx), "clean");
        // Undoing past the save marks the configuration again: it differs from the file now.
        undo(fx);
        QCOMPARE(marked(fx), "marked");
        redo(fx);
        QCOMPARE(marked(fx), "clean");

        // Save As: the Save File dialog; an existing file asks before it is replaced.
        writeFile(path("other.dat"), "old");
        fx.prompter.expectSaveFile(path("other.dat"));
        fx.prompter.expectBox(path("other.dat") + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                              "File Save", PromptButtons::YesNoCancel, PromptIcon::Exclamation, PromptAnswer::Yes);
        fx.run(fx.window->mnuSaveFIle);
        QCOMPARE(fx.title(), kMain + " - other.dat");
        type(fx, "txtLaunchRPM", "5000");
        fx.run(fx.window->mnuSave);  // to the file last saved to
        QCOMPARE(readFile(path("other.dat")).mid(32 - 16, 2), QByteArray("\x88\x13"));
        QCOMPARE(readFile(path("car.dat")).mid(32 - 16, 2), QByteArray("\x30\x11"));
        QCOMPARE(RecentFiles::files().first(), path("other.dat"));
    }

    // Save with no file of its own chooses one as Save As does: defaults, a download, a backup.
    void saveWithoutFile()
    {
        Fixture fx(Defaults);
        fx.prompter.expectSaveFile(path("new.dat"));
        fx.run(fx.window->mnuSave);
        QCOMPARE(readFile(path("new.dat")), defaultsBlock());
        QCOMPARE(fx.title(), kMain + " - new.dat");
        Fixture empty;
        empty.warns("Data buffer empty.", "Save Data File");
        empty.run(empty.window->mnuSave);
    }

    // A file that cannot be written (its folder gone): the error prompt, nothing changed, the mark kept;
    // with the folder back, Save writes.
    void saveFails_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Ignore") << int(PromptAnswer::Ignore);
        QTest::newRow("Abort") << int(PromptAnswer::Abort);
    }
    void saveFails()
    {
        QFETCH(int, answer);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("car"));
        const QString file = dir.filePath("car/car.dat");
        writeFile(file, defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        fx.prompter.expect(QString(), kOpenTitle);
        fx.window->openDataFile(file);
        type(fx, "txtLaunchRPM", "4400");
        QVERIFY(QDir(dir.path()).rename("car", "moved"));
        fx.prompter.expectError(QString(), PromptAnswer(answer));
        fx.run(fx.window->mnuSave);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(readFile(dir.filePath("moved/car.dat")), defaultsBlock());
        QCOMPARE(marked(fx), "marked");
        QCOMPARE(fx.title(), kMain + " - car.dat");
        QVERIFY(QDir(dir.path()).rename("moved", "car"));
        fx.run(fx.window->mnuSave);
        QCOMPARE(readFile(file).mid(32 - 16, 2), QByteArray("\x30\x11"));
        QCOMPARE(marked(fx), "clean");
    }

    // The keys: the platform's for undo, redo, save and save as; Ctrl+D and Ctrl+U for the transfers; no key
    // twice. A command from the start panel goes on in the first field.
    void keys()
    {
        Fixture fx;
        frmRevora_Main& w = *fx.window;
        QCOMPARE(w.mnuUndo->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(w.mnuRedo->shortcut(), QKeySequence(QKeySequence::Redo));
        QCOMPARE(w.mnuSave->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(w.mnuSaveFIle->shortcut(), QKeySequence(QKeySequence::SaveAs));
        QCOMPARE(w.mnuDownload->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(w.mnuUpload->shortcut(), QKeySequence("Ctrl+U"));
        QSet<QKeySequence> seen;
        for (QAction* a : w.findChildren<QAction*>()) {
            for (const QKeySequence& k : a->shortcuts()) {
                QVERIFY2(!seen.contains(k), qPrintable(k.toString() + " twice"));
                seen.insert(k);
            }
        }
        QVERIFY(w.findChild<QAction*>("mnuAboutQt"));

        QVERIFY(fx.show());
        auto* defaults = w.fraStart->findChildren<QToolButton*>().at(2);
        QCOMPARE(defaults->defaultAction(), w.mnuDisplayDefaults);
        defaults->setFocus();
        defaults->click();
        QTRY_COMPARE(QApplication::focusWidget(), fx.field("txtShiftRPM1"));
    }

    // The name a step takes from its control.
    void controlNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("table field") << "txtShiftVSS2" << "Gear 2 Shift Minimum VSS";
        QTest::newRow("row under a heading") << "txtLaunchRPM" << "Launch RPM";
        QTest::newRow("single field") << "txtShiftRPM" << "Shift RPM";
        QTest::newRow("colour button") << "cmdMultiStageShiftColor" << "Shift Light Color";
        QTest::newRow("form field") << "txtTPSZero" << "Zero TPS (0-5 volts)";
        QTest::newRow("label above") << "txtUserData" << "User Data";
        QTest::newRow("switch") << "chkVSSGearDetect" << "VSS Based Gear Detection";
    }
    void controlNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        Fixture fx;
        QCOMPARE(UndoHistory::controlName(fx.window->findChild<QWidget*>(control)), name);
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
