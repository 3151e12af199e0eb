// Undo and redo over the document, Save and Save As, and the keys, as the window runs them.
#include "shell/undohistory.h"
#include "windowfixture.h"

#include <QUndoStack>

class TestUndo : public WindowTest {
    Q_OBJECT

    static QUndoStack& stack(Fixture& fx) { return fx.window->findChild<UndoHistory*>()->stack(); }
    // The mark, the document and the stack's clean state are one thing: "marked", "clean", or what disagrees.
    static QString state(Fixture& fx)
    {
        const bool mark = fx.marked(), doc = fx.window->document().isModified(), clean = stack(fx).isClean();
        if (mark != doc || mark == clean)
            return QString("window %1, document %2, stack clean %3").arg(mark).arg(doc).arg(clean);
        return mark ? "marked" : "clean";
    }
    static void undo(Fixture& fx) { fx.run(fx.window->mnuUndo); }
    static void redo(Fixture& fx) { fx.run(fx.window->mnuRedo); }

private slots:
    // Edits of every kind and replacing commands, each one named step; undo brings back values, caption,
    // mark and controls down to the empty window, redo brings all back; neither touches file or controller.
    void chainOfEdits()
    {
        writeFile(path("car.dat"), defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        QList<std::tuple<ParameterSet, QByteArray, QString, QString>> before;  // what undoing each step brings back
        const auto step = [&](const std::function<void()>& act) {
            before.append({fx.params(), fx.image(), fx.title(), state(fx)});
            act();
        };
        step([&] { fx.open(path("car.dat")); });
        step([&] { fx.type("txtShiftRPM3", "7200"); });
        step([&] { QTest::mouseClick(fx.ed().chkLogArmed, Qt::LeftButton); });
        fx.prompter.expectColor(0x00FF00u);
        step([&] { fx.ed().cmdLaunchColor->click(); });
        // A colour dialog cancelled and ignored changes nothing, so it is no step.
        fx.prompter.expectColor(std::nullopt).expectError("Cancel was selected.", PromptAnswer::Ignore);
        fx.ed().cmdLaunchColor->click();
        fx.prompter.expect(QString(), "Display Default Parameters", PromptAnswer::Discard);
        step([&] { fx.run(fx.window->mnuDisplayDefaults); });
        fx.prompter.expect(kOverwrite, kDownloadTitle).expect(kFirmware, kDownloadTitle);
        step([&] { fx.run(fx.window->mnuDownload); });
        QTimer::singleShot(0, [] {  // the dialog's OK after a change is one step
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* max = dialog->findChild<QLineEdit*>("txtAlarmVSSMax");
            max->setFocus();
            max->selectAll();
            QTest::keyClicks(max, "120");
            dialog->findChild<QPushButton*>("cmdOK")->click();
        });
        step([&] { fx.run(fx.window->mnuEditAlarmVSS); });
        QVERIFY(fx.params().AlarmVSSMax == 120 && state(fx) == "marked");
        QStringList steps;
        for (int i = 0; i < stack(fx).count(); ++i)
            steps << stack(fx).text(i);
        QCOMPARE(steps, (QStringList{"Open File", "Gear 3 Shift RPM", "Data Logging Only When Armed",
                                     "Launch Light Color", "Display Default Parameters", "Download From EEPROM",
                                     "Edit VSS (Speed) Alarm"}));
        const ParameterSet last = fx.params();

        for (qsizetype i = before.size() - 1; i >= 0; --i) {
            undo(fx);
            auto [params, image, title, mark] = before[i];
            ParameterSet now = fx.params();  // the user text's padding of spaces is written alike, kept or not
            now.UserData = now.UserData.trimmed(), params.UserData = params.UserData.trimmed();
            QVERIFY2(now == params && fx.image() == image && fx.title() == title && state(fx) == mark,
                     qPrintable(steps[i]));
            QVERIFY2(i == 0 || (fx.field("txtShiftRPM3")->text().toInt() == params.ShiftRPM3 && swatchColor(
                         fx.ed().txtLaunchColor) == params.LaunchColor && fx.ed().chkLogArmed->isChecked() == params.LogArmed),
                     qPrintable(steps[i]));
        }
        QVERIFY(fx.showsEmpty() && !fx.window->mnuUndo->isEnabled());
        for (int i = 0; i < 7; ++i)
            redo(fx);
        QVERIFY(fx.params() == last && !fx.window->mnuRedo->isEnabled());
        QVERIFY(fx.title() == kMain + " - Downloaded Data" && state(fx) == "marked");
        QVERIFY(readFile(path("car.dat")) == defaultsBlock() && fx.controller.configBlock() == defaultsBlock());
    }

    // After an upload the mark stays while the file in the caption holds old values, else goes; undo follows.
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
        if (fromFile)
            fx.open(path("car.dat"));
        fx.type("txtLaunchRPM", "4400");
        fx.prompter.expect("Upload completed.", "Upload To EEPROM");
        fx.run(fx.window->mnuUpload);
        const QByteArray uploaded = fx.controller.configBlock();
        QCOMPARE(uploaded.mid(32 - 16, 2), QByteArray("\x30\x11"));  // 4400
        QCOMPARE(state(fx), fromFile ? "marked" : "clean");
        QCOMPARE(fx.title(), kMain + (fromFile ? " - car.dat" : " - Default Values"));
        undo(fx);
        QCOMPARE(state(fx), fromFile ? "clean" : "marked");
        redo(fx);
        QCOMPARE(state(fx), fromFile ? "marked" : "clean");
        QCOMPARE(fx.controller.configBlock(), uploaded);
    }

    // After Save As, Save writes to the new file, asking nothing; the file opened keeps what it held.
    void saveAsThenSave()
    {
        writeFile(path("car.dat"), defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        fx.open(path("car.dat"));
        fx.type("txtLaunchRPM", "4400");
        writeFile(path("other.dat"), "old");
        fx.prompter.expectSaveFile(path("other.dat"));
        fx.prompter.expectBox(path("other.dat") + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                              "File Save", PromptButtons::YesNoCancel, PromptIcon::Exclamation, PromptAnswer::Yes);
        fx.run(fx.window->mnuSaveFIle);
        QVERIFY(fx.title() == kMain + " - other.dat" && state(fx) == "clean");
        fx.type("txtLaunchRPM", "5000");
        fx.run(fx.window->mnuSave);
        QCOMPARE(readFile(path("other.dat")).mid(32 - 16, 2), QByteArray("\x88\x13"));
        QCOMPARE(readFile(path("car.dat")), defaultsBlock());
    }

    // A file that cannot be written: the error prompt, the old file, mark and caption kept, no recent entry.
    void saveFails_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("Save, Ignore") << false;
        QTest::newRow("Save As, Ignore") << true;
    }
    void saveFails()
    {
        QFETCH(bool, saveAs);
        QVERIFY(QDir(m_dir.path()).mkpath("car"));
        const QString file = path("car/car.dat");
        writeFile(file, defaultsBlock());
        Fixture fx;
        QVERIFY(fx.show());
        fx.open(file);
        fx.type("txtLaunchRPM", "4400");
        QVERIFY(QDir(m_dir.path()).rename("car", "moved"));
        if (saveAs)
            fx.prompter.expectSaveFile(file);
        fx.prompter.expectError(QString(), PromptAnswer::Ignore);
        fx.run(saveAs ? fx.window->mnuSaveFIle : fx.window->mnuSave);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(readFile(path("moved/car.dat")), defaultsBlock());
        QVERIFY(state(fx) == "marked" && fx.title() == kMain + " - car.dat");
        QCOMPARE(RecentFiles::files(), QStringList{file});
        QVERIFY(QDir(m_dir.path()).rename("moved", "car"));
        fx.run(fx.window->mnuSave);
        QCOMPARE(readFile(file).mid(32 - 16, 2), QByteArray("\x30\x11"));
        QCOMPARE(state(fx), "clean");
        QVERIFY(QDir(path("car")).removeRecursively());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
