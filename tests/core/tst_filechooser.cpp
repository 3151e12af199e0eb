// Choosing a file on the prompter: the dialog, the check that the file is (or is not) there, the questions.
#include "core/filechooser.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestFileChooser : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return name.isEmpty() ? name : m_dir.filePath(name); }

private slots:
    void initTestCase() { writeFile(path("there.dat"), "x"); }

    // Each name the dialog gives is answered in turn; "" is a cancelled dialog.
    void fileOpen_data()
    {
        QTest::addColumn<QStringList>("picked");
        QTest::addColumn<QList<int>>("answers");  // to "File not found."
        QTest::addColumn<QString>("notExist");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("error");
        const int retry = int(PromptAnswer::Retry), cancel = int(PromptAnswer::Cancel);
        QTest::newRow("there") << QStringList{"there.dat"} << QList<int>{} << "" << "there.dat" << "";
        QTest::newRow("cancelled dialog") << QStringList{""} << QList<int>{} << "" << "" << "";
        QTest::newRow("missing, Retry") << QStringList{"gone.dat", "there.dat"} << QList<int>{retry} << "" << "there.dat" << "";
        QTest::newRow("missing, Cancel") << QStringList{"gone.dat"} << QList<int>{cancel} << "" << "" << "Canceled File Open";
        QTest::newRow("asked, Yes") << QStringList{"gone.dat"} << QList<int>{int(PromptAnswer::Yes)} << "Create it?"
                                    << "gone.dat" << "";
        QTest::newRow("asked, No") << QStringList{"gone.dat"} << QList<int>{int(PromptAnswer::No)} << "Create it?" << ""
                                   << "";
    }
    void fileOpen()
    {
        QFETCH(QStringList, picked);
        QFETCH(QList<int>, answers);
        QFETCH(QString, notExist);
        ScriptedPrompter prompter;
        for (int i = 0; i < picked.size(); ++i) {
            prompter.expectOpenFile(path(picked[i]));
            if (i < answers.size())
                prompter.expectBox(path(picked[i]) + "\r\nFile not found." + (notExist.isEmpty() ? "" : "\r\n\r\n" + notExist),
                                   "File Open", notExist.isEmpty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                                   PromptIcon::Exclamation, PromptAnswer(answers[i]));
        }
        QString filter;
        const FileChoice c = FileChooser(prompter).FileOpen("Open File", filter, notExist, m_dir.path());
        QVERIFY_PROMPTS(prompter);
        QFETCH(QString, chosen);
        QCOMPARE(c.path, path(chosen));
        QTEST(c.error, "error");
        QCOMPARE(filter, "All Files (*.*)|*.*");  // an empty filter is all files, in the caller's text too
        QCOMPARE(prompter.fileDialogFolder, m_dir.path());
    }

    // An existing file is replaced only on Yes; No shows the dialog again.
    void fileSave_data()
    {
        QTest::addColumn<QStringList>("picked");
        QTest::addColumn<int>("replace");  // the answer to "already exists"
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("error");
        QTest::newRow("new") << QStringList{"new.dat"} << -1 << "new.dat" << "";
        QTest::newRow("cancelled dialog") << QStringList{""} << -1 << "" << "";
        QTest::newRow("existing, Yes") << QStringList{"there.dat"} << int(PromptAnswer::Yes) << "there.dat" << "";
        QTest::newRow("existing, No, a new name") << QStringList{"there.dat", "new.dat"} << int(PromptAnswer::No)
                                                  << "new.dat" << "";
        QTest::newRow("existing, Cancel") << QStringList{"there.dat"} << int(PromptAnswer::Cancel) << ""
                                          << "Canceled File Save";
    }
    void fileSave()
    {
        QFETCH(QStringList, picked);
        QFETCH(int, replace);
        ScriptedPrompter prompter;
        for (const QString& name : picked) {
            prompter.expectSaveFile(path(name));
            if (name == "there.dat")
                prompter.expectBox(path(name) + "\r\nThis file already exists.\r\n\r\nReplace existing file?", "File Save",
                                   PromptButtons::YesNoCancel, PromptIcon::Exclamation, PromptAnswer(replace));
        }
        QString filter = "Data (*.dat)|*.dat", existMessage;
        const FileChoice c = FileChooser(prompter).FileSave("Save File", filter, existMessage, m_dir.path());
        QVERIFY_PROMPTS(prompter);
        QFETCH(QString, chosen);
        QCOMPARE(c.path, path(chosen));
        QTEST(c.error, "error");
        QCOMPARE(filter, "Data (*.dat)|*.dat");
        QCOMPARE(prompter.fileDialogFolder, m_dir.path());
    }

    // A new file for a report: the suffix added to a bare name, an existing file replaced only on Yes.
    void saveNew_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("replace");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("bare name") << "report" << -1 << "report.pdf";
        QTest::newRow("other suffix kept") << "report.txt" << -1 << "report.txt";
        QTest::newRow("existing, Yes") << "there.dat" << int(PromptAnswer::Yes) << "there.dat";
        QTest::newRow("existing, Cancel") << "there.dat" << int(PromptAnswer::Cancel) << "";
    }
    void saveNew()
    {
        QFETCH(QString, typed);
        QFETCH(int, replace);
        ScriptedPrompter prompter;
        prompter.expectSaveFile(path(typed));
        if (replace >= 0)
            prompter.expectBox(QDir::toNativeSeparators(path(typed)) + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                               "Print To PDF File", PromptButtons::YesNoCancel, PromptIcon::Exclamation,
                               PromptAnswer(replace));
        const QString file = FileChooser(prompter).saveNew("Print To PDF File", "PDF files (*.pdf)|*.pdf",
                                                           path("suggested.pdf"), "pdf");
        QVERIFY_PROMPTS(prompter);
        QFETCH(QString, chosen);
        QCOMPARE(file, path(chosen));
        QCOMPARE(prompter.lastSuggestedFile, path("suggested.pdf"));
    }

    // A folder that is not there never reaches a dialog.
    void startFolder()
    {
        QCOMPARE(FileChooser::startFolder(m_dir.path()), m_dir.path());
        const QString fallback = FileChooser::startFolder(path("gone"));
        QVERIFY(fallback != path("gone") && QFileInfo(fallback).isDir());
        QCOMPARE(FileChooser::startFolder(QString()), fallback);
    }
};

QTEST_GUILESS_MAIN(TestFileChooser)
#include "tst_filechooser.moc"
