// The printed sheet read back from its PDF, and what the print commands ask before paper is used.
#include "params/datafile.h"
#include "report/printer.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QPrinter>
#include <QtTest>
#include <sys/stat.h>

using namespace report;

namespace {

const QDateTime kFirstPage(QDate(2026, 3, 14), QTime(9, 26, 53));
const QDateTime kSecondPage = kFirstPage.addSecs(75);

// Page 1 at kFirstPage, page 2 at kSecondPage.
PrintContext context()
{
    auto calls = std::make_shared<int>(0);
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"),
            [calls] { return (*calls)++ == 0 ? kFirstPage : kSecondPage; }, QString()};
}

struct FakeDialogs : PrintDialogs {
    QStringList installed;  // no printer unless told
    QStringList printers() override { return installed; }
    bool setup(QPrinter&) override { return false; }
    void preview(QPrinter&, const std::function<void(QPrinter&)>&) override {}
};

// The PDF's pages as pdftotext lays them out, from each page's first line to its last.
QList<QStringList> pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    QList<QStringList> pages;
    for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts))
        pages << page.trimmed().split(QLatin1Char('\n'));
    return pages;
}

// The non-blank lines with their spacing collapsed.
QString simplified(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n')).replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "))
        .replace(QRegularExpression(QStringLiteral(" ?\\n[\\n ]*")), QStringLiteral("\n")).trimmed();
}

// The comment question, then (toFile given) the offer of a PDF file for want of a printer.
void expectPrint(ScriptedPrompter& prompter, const std::optional<QString>& comment,
                 std::optional<PromptAnswer> toFile = PromptAnswer::Yes)
{
    prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), comment);
    if (toFile)
        prompter.expectBox(QLatin1String(kNoPrinter), QLatin1String(kPrintTitle), PromptButtons::YesNo,
                           PromptIcon::Exclamation, *toFile);
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static void run(const ParameterStore& store, Prompter& prompter, FakeDialogs& dialogs, const QString& file)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(file);
        printParameters(store, prompter, dialogs, printer, context());
    }

private slots:
    // Both pages in one file, every line of the content in order, each page headed with the time it was printed.
    void sheetIsTheContent()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        ScriptedPrompter prompter;
        expectPrint(prompter, QStringLiteral("SN 1234"));
        prompter.expectSaveFile(path("printed"));  // the extension is added
        FakeDialogs dialogs;
        run(defaultsStore(), prompter, dialogs, QString());
        QVERIFY_PROMPTS(prompter);
        const QList<QStringList> pages = pdfPages(path("printed.pdf"));
        QCOMPARE(pages.size(), 2);
        auto header = [](QDateTime at) { return Header{"Velmont Sensors", "Shift Light 2.1", "SN 1234", at}; };
        const ParameterSet params = defaultsStore().params;
        const QList<Page> content = {page1(params, header(kFirstPage)), page2(params, header(kSecondPage))};
        for (int p = 0; p < 2; ++p)
            QCOMPARE(simplified(pages[p]), simplified(toPlainText(content.mid(p, 1)).split(QLatin1Char('\n'))));
    }

    // An unwritable PDF: the prompt names it and why, an earlier file stays, Retry once mended prints; a pipe unopened.
    void pdfFailure()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path("sheet.fifo")).constData(), 0600) == 0 && QDir().mkpath(path("folder.pdf")));
        const struct { const char* file; int fullDisk; PromptAnswer answer; const char* why; } rows[] = {
            {"gone/sheet.pdf", 0, PromptAnswer::Ignore, "folder exists"}, {"full.pdf", 4096, PromptAnswer::Abort, "File too large"},
            {"sheet.fifo", 0, PromptAnswer::Ignore, "a device or a pipe"}, {"room.pdf", 4096, PromptAnswer::Retry, "left as it was"},
            {"folder.pdf", 0, PromptAnswer::Ignore, "(it is a folder)"}};
        for (const auto& r : rows) {
            const QString file = path(r.file);
            if (r.fullDisk)
                writeFile(file, "old report");
            ScriptedPrompter prompter;
            expectPrint(prompter, std::nullopt, std::nullopt);
            prompter.expectError(QString(), r.answer);
            prompter.mend = [] { limitFileSize(RLIM_INFINITY); };  // room made; a missing folder stays missing
            FakeDialogs dialogs;
            dialogs.installed = QStringList{QStringLiteral("Office")};
            limitFileSize(r.fullDisk ? rlim_t(r.fullDisk) : RLIM_INFINITY);
            run(defaultsStore(), prompter, dialogs, file);
            limitFileSize(RLIM_INFINITY);
            QVERIFY_PROMPTS(prompter);
            const QString shown = prompter.shown().last();
            QVERIFY2(shown.contains(QDir::toNativeSeparators(file)) && shown.contains(r.why), qPrintable(shown));
            if (file.endsWith(QLatin1String(".fifo")))
                QVERIFY(!QFileInfo(file).isFile() && QFileInfo::exists(file));  // still the pipe, never opened
            else if (r.answer != PromptAnswer::Retry)
                QCOMPARE(readFile(file), QByteArray(r.fullDisk ? "old report" : ""));
            else
                QVERIFY(readFile(file).startsWith("%PDF") && readFile(file).trimmed().endsWith("%%EOF"));
        }
    }

    // The command-line tool says why a report could not be written; an earlier one stays as it was.
    void cliReport()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path("out.fifo")).constData(), 0600) == 0);
        const struct { const char* pdf; int fullDisk, exitCode; } rows[] = {
            {"out.fifo", 0, 2}, {"cli.pdf", 4096, 2}, {"cli.pdf", 0, 0}};  // disk full, then printed
        writeFile(path("cli.dat"), defaultsBlock());
        for (const auto& r : rows) {
            writeFile(path("cli.pdf"), "earlier report");
            QProcess cli;
            cli.setWorkingDirectory(m_dir.path());
            cli.setChildProcessModifier([limit = r.fullDisk] { limitFileSize(limit ? rlim_t(limit) : RLIM_INFINITY); });
            cli.start(QStringLiteral(REVORA_CLI), {"report", "cli.dat", "--pdf", r.pdf, "--comment", "SN 1234"});
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(cli.exitCode(), r.exitCode);
            const QString complaint = QString::fromLocal8Bit(cli.readAllStandardError());
            QVERIFY2(complaint.contains("revora-shift-cli") == (r.exitCode != 0), qPrintable(complaint));
            QVERIFY2(complaint.contains("is a device or a pipe, not a file") == (r.pdf[0] == 'o'), qPrintable(complaint));
            QCOMPARE(readFile(path("cli.pdf")) == "earlier report", r.exitCode != 0);  // replaced only by a whole report
        }
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
