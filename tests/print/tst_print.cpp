// The printed sheet read back from its PDF, and what the print commands ask before paper is used.
#include "params/datafile.h"
#include "report/printer.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QPrinter>
#include <QtTest>
#include <sys/stat.h>

using namespace report;

#define NEED_PDFTOTEXT() \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) QSKIP("pdftotext is not installed");

namespace {

const QDateTime kFirstPage(QDate(2026, 3, 14), QTime(9, 26, 53));
const QDateTime kSecondPage = kFirstPage.addSecs(75);

// Page 1 at kFirstPage, page 2 at kSecondPage; data files kept in `folder`.
PrintContext context(const QString& folder = QString())
{
    auto calls = std::make_shared<int>(0);
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"),
            [calls] { return (*calls)++ == 0 ? kFirstPage : kSecondPage; }, folder};
}

struct FakeDialogs : PrintDialogs {
    QStringList installed;  // no printer unless told
    QString previewFile;    // where the preview's sheet is rendered
    int previews = 0;
    QStringList printers() override { return installed; }
    bool setup(QPrinter&) override { return false; }
    void preview(QPrinter&, const std::function<void(QPrinter&)>& paint) override
    {
        ++previews;
        QPrinter target(QPrinter::HighResolution);
        target.setOutputFileName(previewFile);
        paint(target);
    }
};

// The PDF's pages as pdftotext gives them (laid out unless told), from each page's first line to its last.
QList<QStringList> pdfPages(const QString& pdf, const QString& option = QStringLiteral("-layout"))
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {option, pdf, QStringLiteral("-")});
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
    QList<QStringList> m_defaults;  // the defaults' sheet with the comment "SN 1234"

    QString path(const QString& name) const { return m_dir.filePath(name); }

    static void run(bool preview, const ParameterStore& store, Prompter& prompter, FakeDialogs& dialogs,
                    const QString& file)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(file);
        (preview ? previewParameters : printParameters)(store, prompter, dialogs, printer, context());
    }

    // The defaults' sheet with `comment`, previewed or printed to the PDF file offered for want of a printer.
    QList<QStringList> sheet(const std::optional<QString>& comment, bool preview)
    {
        ScriptedPrompter prompter;
        expectPrint(prompter, comment, preview ? std::nullopt : std::optional(PromptAnswer::Yes));
        if (!preview)
            prompter.expectSaveFile(path("printed"));  // the extension is added
        FakeDialogs dialogs;
        dialogs.previewFile = path("preview.pdf");
        run(preview, defaultsStore(), prompter, dialogs, QString());
        [&] { QVERIFY_PROMPTS(prompter); }();
        return pdfPages(preview ? dialogs.previewFile : path("printed.pdf"));
    }

private slots:
    void initTestCase() { m_defaults = sheet(QStringLiteral("SN 1234"), false); }

    // Both pages in one file, every line of the content in order, each page headed with the time it
    // was printed; labels start in one column, identification values 20 characters on, values 40.
    void sheetIsTheContent()
    {
        NEED_PDFTOTEXT();
        QCOMPARE(m_defaults.size(), 2);
        auto header = [](QDateTime at) { return Header{"Velmont Sensors", "Shift Light 2.1", "SN 1234", at}; };
        const ParameterSet params = defaultsStore().params;
        const QList<Page> content = {page1(params, header(kFirstPage)), page2(params, header(kSecondPage))};
        for (int p = 0; p < 2; ++p)
            QCOMPARE(simplified(m_defaults[p]), simplified(toPlainText(content.mid(p, 1)).split(QLatin1Char('\n'))));
        auto column = [this](const char* label, const char* text) {
            return int(m_defaults[0].filter(QLatin1String(label)).value(0).indexOf(QLatin1String(text)));
        };
        const int label = column("Firmware ID:", "Firmware ID:"), ident = column("Firmware ID:", "Shift Light 2.1"),
                  value = column("RPM Pulses/Rev:", "0.5");
        QVERIFY2(column("RPM Pulses/Rev:", "RPM") == label && qAbs(ident - label - 20) <= 1 && qAbs(value - label - 40) <= 1,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(label).arg(ident).arg(value)));
        // No blank sheet; each one's first line 100 points below the paper's top ("-bbox": one page).
        QList<double> tops;
        for (const auto& m : QRegularExpression(R"re(<page[^>]*>\s*(?:<word[^>]*yMin="([\d.]+)")?)re")
                                 .globalMatch(pdfPages(path("printed.pdf"), QStringLiteral("-bbox")).value(0).join('\n')))
            tops << m.captured(1).toDouble();
        QVERIFY2(tops.size() == 2 && qAbs(tops[0] - 100) < 1 && qAbs(tops[1] - 100) < 1, qPrintable(QDebug::toString(tops)));
    }

    // An empty buffer previews nothing and asks no comment; a comment far wider than the paper stays one
    // line (the third), cut at the right edge.
    void preview()
    {
        ScriptedPrompter prompter;
        prompter.expectBox(QLatin1String(kBufferEmpty), QLatin1String(kPreviewTitle), PromptButtons::OK,
                           PromptIcon::Exclamation, PromptAnswer::OK);
        FakeDialogs dialogs;
        run(true, ParameterStore(), prompter, dialogs, path("empty.pdf"));
        QVERIFY_PROMPTS(prompter);
        QVERIFY(!QFile::exists(path("empty.pdf")) && dialogs.previews == 0);
        NEED_PDFTOTEXT();
        const QString comment = QStringLiteral(" word").repeated(900).mid(1);
        const QList<QStringList> pages = sheet(comment, true);
        QCOMPARE(pages.size(), 2);
        const QString printed = pages[0].value(2);
        QVERIFY2(("Comment: " + comment).startsWith(printed.trimmed()) && pages[0].value(3).trimmed().isEmpty(),
                 qPrintable(printed));
        for (const QString& line : pages[0])  // cut well beyond where any other line of the sheet ends
            QVERIFY(line == printed || line.size() + 20 < printed.size());
    }

    // An unwritable PDF file: the error prompt names it and says why, the earlier file stays as it was
    // until a whole new one is written, and Retry once the fault is mended prints both pages. A pipe is
    // refused at once, as a data file would be: opened, it would wait for its reader for good.
    void pdfFailure()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path("sheet.fifo")).constData(), 0600) == 0);
        const struct { const char* file; int fullDisk; PromptAnswer answer; const char* why; } rows[] = {
            {"gone/sheet.pdf", 0, PromptAnswer::Ignore, "folder exists"}, {"full.pdf", 4096, PromptAnswer::Abort, "File too large"},
            {"sheet.fifo", 0, PromptAnswer::Ignore, "a device or a pipe"}, {"room.pdf", 4096, PromptAnswer::Retry, "left as it was"}};
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
            run(false, defaultsStore(), prompter, dialogs, file);
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

    // Without a printer every print offers a file (No: nothing printed), suggested first beside the data
    // files, then beside the last report under a name not yet taken; the PDF is titled after the data.
    void pdfFileAskedEachTime()
    {
        QVERIFY(QDir().mkpath(path("cars")));
        ParameterStore store = defaultsStore();
        store.DataSourceName = QStringLiteral("car.dat");
        FakeDialogs dialogs;
        ScriptedPrompter prompter;
        expectPrint(prompter, std::nullopt, PromptAnswer::No);
        expectPrint(prompter, std::nullopt);
        prompter.expectSaveFile(path("titled.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        for (int print = 0; print < 2; ++print)
            printParameters(store, prompter, dialogs, printer, context(path("cars")));
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(QFileInfo(prompter.lastSuggestedFile).path(), path("cars"));
        QCOMPARE(printer.docName(), "Revora Shift Parameters - car.dat");
        QByteArray utf16;  // Qt writes the title in UTF-16, high byte first
        for (char c : QByteArray("car.dat"))
            utf16 += '\0', utf16 += c;
        QVERIFY(readFile(path("titled.pdf")).contains(utf16));

        const QString taken = m_dir.filePath("Revora Shift Parameters " + QDate::currentDate().toString(Qt::ISODate));
        writeFile(taken + ".pdf", "taken");
        expectPrint(prompter, std::nullopt);
        prompter.expectSaveFile(path("other"));
        printParameters(store, prompter, dialogs, printer, context(path("cars")));
        QVERIFY_PROMPTS(prompter);
        QVERIFY(readFile(path("other.pdf")).startsWith("%PDF"));
        QCOMPARE(prompter.lastSuggestedFile, taken + " (2).pdf");
    }

    // A folder chosen as the PDF file is refused before anything is drawn, named inside the
    // sentence as such (the same words open a sentence capitalized).
    void pdfFolderRefused()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.path());
        const ParameterStore store = defaultsStore();
        SheetJob job(printer, store.params, Header{}, [] { return QDateTime::currentDateTime(); });
        const StepError error = job.start();
        QVERIFY(error);
        QCOMPARE(*error, QStringLiteral("The report could not be written to the PDF file \"%1\" (it is a folder). "
                                        "Check that the folder exists and that you may write there, or choose "
                                        "another file.")
                             .arg(QDir::toNativeSeparators(m_dir.path())));
        QVERIFY(!job.active());
    }

    // The command-line tool says why a report could not be written (an earlier one stays as it was;
    // tst_cli has the refusal to print over the data file) and prints the window's sheet without a firmware ID.
    void cliReport()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path("out.fifo")).constData(), 0600) == 0);
        const struct { const char* pdf; int fullDisk, exitCode; } rows[] = {
            {"/dev/full", 0, 2}, {"out.fifo", 0, 2}, {"cli.pdf", 4096, 2}, {"cli.pdf", 0, 0}};  // disk full, then printed
        const QByteArray data = defaultsBlock();
        writeFile(path("cli.dat"), data);
        for (const auto& r : rows) {
            writeFile(path("cli.pdf"), "earlier report");
            QProcess cli;
            cli.setWorkingDirectory(m_dir.path());
            cli.setChildProcessModifier([limit = r.fullDisk] { limitFileSize(limit ? rlim_t(limit) : RLIM_INFINITY); });
            cli.start(QStringLiteral(REVORA_CLI), {"report", "cli.dat", "--pdf", r.pdf, "--comment", "SN 1234"});
            QVERIFY(cli.waitForFinished(30000));
            QCOMPARE(cli.exitCode(), r.exitCode);
            QCOMPARE(readFile(path("cli.dat")), data);
            // Only a refusal is a complaint; Qt's own notes about the session are not.
            const QString complaint = QString::fromLocal8Bit(cli.readAllStandardError());
            QVERIFY2(complaint.contains("revora-shift-cli") == (r.exitCode != 0), qPrintable(complaint));
            QVERIFY2(complaint.contains("is a device or a pipe, not a file") == (r.pdf[0] != 'c'), qPrintable(complaint));
            QCOMPARE(readFile(path("cli.pdf")) == "earlier report", r.exitCode != 0);  // replaced only by a whole report
        }
        NEED_PDFTOTEXT();
        const QList<QStringList> pages = pdfPages(path("cli.pdf"));
        QCOMPARE(pages.size(), 2);
        for (int p = 0; p < 2; ++p) {
            QVERIFY(pages[p].first().startsWith(QStringLiteral("Velmont Sensors Controller Data Printed: ")));
            QCOMPARE(simplified(pages[p].mid(1)),
                     simplified(m_defaults[p].mid(1)).replace(QStringLiteral("ID: Shift Light 2.1"), "ID:"));
        }
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
