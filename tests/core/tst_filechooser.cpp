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

    // Each name the dialog gives is answered in turn; "" is a cancelled dialog. Opening, a missing file is asked
    // about ("File not found."); saving, an existing one is replaced only on Yes, and No shows the dialog again
    // (the file named next is taken as it is). A new file for a report gets the suffix when its name has none.
    void choose_data()
    {
        QTest::addColumn<QString>("kind");  // the dialog's title
        QTest::addColumn<QStringList>("picked");
        QTest::addColumn<int>("answer");  // to the question about the first name picked; -1: none asked
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("error");
        const QString open = "File Open", save = "File Save", pdf = "Print To PDF File";
        const int retry = int(PromptAnswer::Retry), cancel = int(PromptAnswer::Cancel), yes = int(PromptAnswer::Yes),
                  no = int(PromptAnswer::No);
        const QStringList gone{"gone.dat"}, there{"there.dat"};
        QTest::newRow("open, cancelled dialog") << open << QStringList{""} << -1 << "" << "";
        QTest::newRow("open missing, Retry") << open << gone + there << retry << "there.dat" << "";
        QTest::newRow("open missing, Cancel") << open << gone << cancel << "" << "Canceled File Open";
        QTest::newRow("save existing, Yes") << save << there << yes << "there.dat" << "";
        QTest::newRow("save existing, No, new name") << save << there + QStringList{"new.dat"} << no << "new.dat" << "";
        QTest::newRow("save existing, Cancel") << save << there << cancel << "" << "Canceled File Save";
        QTest::newRow("pdf, bare name") << pdf << QStringList{"report"} << -1 << "report.pdf" << "";
        QTest::newRow("pdf, suffix kept") << pdf << QStringList{"report.txt"} << -1 << "report.txt" << "";
        QTest::newRow("pdf existing, Yes") << pdf << there << yes << "there.dat" << "";
        QTest::newRow("pdf existing, Cancel") << pdf << there << cancel << "" << "";
    }
    void choose()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, picked);
        QFETCH(int, answer);
        const bool open = kind == "File Open", pdf = kind == "Print To PDF File";
        ScriptedPrompter prompter;
        const QString question = open ? "File not found." : "This file already exists.\r\n\r\nReplace existing file?";
        for (int i = 0; i < picked.size(); ++i) {
            open ? prompter.expectOpenFile(path(picked[i])) : prompter.expectSaveFile(path(picked[i]));
            // The report's question names the file as the system writes it.
            const QString name = pdf ? QDir::toNativeSeparators(path(picked[i])) : path(picked[i]);
            if (i == 0 && answer >= 0)
                prompter.expectBox(name + "\r\n" + question, kind,
                                   open ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                                   PromptIcon::Exclamation, PromptAnswer(answer));
        }
        // An empty filter is all files, in the caller's text too; a given one stays.
        QString filter = open ? "" : "Data (*.dat)|*.dat", existMessage;
        FileChooser chooser(prompter);
        const FileChoice c = open ? chooser.FileOpen("Open File", filter, QString(), m_dir.path())
                             : kind == "File Save"
                                 ? chooser.FileSave("Save File", filter, existMessage, m_dir.path())
                                 : FileChoice{chooser.saveNew(kind, filter, path("suggested.pdf"), "pdf"), {}};
        QVERIFY_PROMPTS(prompter);
        QFETCH(QString, chosen);
        QCOMPARE(c.path, path(chosen));
        QTEST(c.error, "error");
        QCOMPARE(filter, open ? "All Files (*.*)|*.*" : "Data (*.dat)|*.dat");
        // The open and save dialogs start in the folder given; the report's suggests a file.
        QCOMPARE(pdf ? prompter.lastSuggestedFile : prompter.fileDialogFolder,
                 pdf ? path("suggested.pdf") : m_dir.path());
    }

    // A folder that is not there never reaches a dialog.
    void startFolder()
    {
        QCOMPARE(FileChooser::startFolder(m_dir.path()), m_dir.path());
        const QString fallback = FileChooser::startFolder(path("gone"));
        QVERIFY(fallback != path("gone") && QFileInfo(fallback).isDir());
    }
};

QTEST_GUILESS_MAIN(TestFileChooser)
#include "tst_filechooser.moc"
