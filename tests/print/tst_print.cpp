// The printed sheet read back from its PDF, and what the print commands ask before paper is used.
#include "params/datafile.h"
#include "params/defaults.h"
#include "report/printer.h"
#include "support/scriptedprompter.h"

#include <QPrinter>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace report;

#define NEED_PDFTOTEXT() \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) QSKIP("pdftotext is not installed");

namespace {

const QDateTime kFirstPage(QDate(2026, 3, 14), QTime(9, 26, 53));
const QDateTime kSecondPage = kFirstPage.addSecs(75);

// Page 1 at kFirstPage, page 2 at kSecondPage.
PrintContext context()
{
    auto calls = std::make_shared<int>(0);
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"),
            [calls] { return (*calls)++ == 0 ? kFirstPage : kSecondPage; }};
}

struct FakeDialogs : PrintDialogs {
    QStringList installed{QStringLiteral("Office")};
    QString previewFile;  // where the preview's sheet is rendered
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

ParameterStore defaultsStore()
{
    ParameterStore store;
    loadDefaults(store);
    return store;
}

// The PDF's pages as laid-out text, from each page's first line to its last.
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

QByteArray readFile(const QString& name) { QFile f(name); return f.open(QFile::ReadOnly) ? f.readAll() : ""; }

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    QVERIFY(f.open(QFile::WriteOnly) && f.write(bytes) == bytes.size());
}

// A full disk, as the writing process sees it (also as root): writes past `bytes` fail.
void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QStringList> m_defaults;  // the defaults' sheet with the comment "SN 1234"

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // One print or preview command on `printer` aimed at `file`.
    static void run(bool preview, const ParameterStore& store, Prompter& prompter, FakeDialogs& dialogs,
                    const QString& file)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(file);
        (preview ? previewParameters : printParameters)(store, prompter, dialogs, printer, context());
    }

    // The defaults' sheet through the print command, or the preview (which leaves the printer
    // unused), answering the comment question with `comment`. No printer is installed: the print
    // command says so and offers a PDF file, named "printed" without its extension.
    void sheet(const std::optional<QString>& comment, bool preview, QList<QStringList>& pages)
    {
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), comment);
        if (!preview)
            prompter.expectBox(QLatin1String(kNoPrinter), QLatin1String(kPrintTitle), PromptButtons::YesNo,
                               PromptIcon::Exclamation, PromptAnswer::Yes).expectSaveFile(path("printed"));
        FakeDialogs dialogs;
        dialogs.installed.clear();
        dialogs.previewFile = path("preview.pdf");
        QFile::remove(path("printed.pdf")), QFile::remove(dialogs.previewFile);
        run(preview, defaultsStore(), prompter, dialogs, QString());
        QVERIFY_PROMPTS(prompter);
        QVERIFY(dialogs.previews == int(preview) && QFile::exists(path("printed.pdf")) == !preview);
        pages = pdfPages(preview ? dialogs.previewFile : path("printed.pdf"));
    }

private slots:
    void initTestCase() { sheet(QStringLiteral("SN 1234"), false, m_defaults); }

    // Both pages in one file, every line of the content in order, each page headed with the time it
    // was printed; labels start in one column, identification values 20 characters on, values 40;
    // the defaults' values as the sheet shows them, each on one line of its own.
    void sheetIsTheContent()
    {
        NEED_PDFTOTEXT();
        QCOMPARE(m_defaults.size(), 2);
        const QStringList all = simplified(m_defaults[0] + m_defaults[1]).split(QLatin1Char('\n'));
        for (const char* line : {"RPM Pulses/Rev: 0.5", "Zero TPS (volts): 0.9", "100% TPS (volts): 4.6",
                                 "Data Logging Interval (sec): 0.10", "Continuous Data Logging Enabled",
                                 "Minimum LED Brightness: 6", "Maximum LED Brightness: 100", "GPO Maximum RPM: 12000",
                                 "GPO TPS Off (%): 89", "GPO Delay (sec): 0.00", "Firmware ID: Shift Light 2.1",
                                 "Comment: SN 1234", "Alarm 1 Above Value (volts): 5.0",
                                 "Alarm 1 Below Value (volts): 0.0"})
            QVERIFY2(all.count(QLatin1String(line)) == 1, line);
        auto header = [](QDateTime at) { return Header{"Velmont Sensors", "Shift Light 2.1", "SN 1234", at}; };
        const ParameterSet params = defaultsStore().params;
        const QList<Page> content = {page1(params, header(kFirstPage)), page2(params, header(kSecondPage))};
        QSet<int> labelStarts;
        for (int p = 0; p < 2; ++p) {
            QCOMPARE(simplified(m_defaults[p]), simplified(toPlainText(content.mid(p, 1)).split(QLatin1Char('\n'))));
            QVERIFY(m_defaults[p].first().contains(headingText(header(p ? kSecondPage : kFirstPage))));
            for (const QString& line : m_defaults[p].mid(1))
                if (!line.trimmed().isEmpty())
                    labelStarts << int(line.indexOf(QRegularExpression(QStringLiteral("\\S"))));
        }
        const int label = *labelStarts.begin();
        auto column = [this](const char* text, const char* value) {
            return int(m_defaults[0].filter(QLatin1String(text)).value(0).lastIndexOf(QLatin1String(value)));
        };
        const int ident = column("Firmware ID:", "Shift Light 2.1"), value = column("RPM Pulses/Rev:", "0.5");
        QVERIFY2(labelStarts.size() == 1 && qAbs(ident - label - 20) <= 1 && qAbs(value - label - 40) <= 1,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(label).arg(ident).arg(value)));
        // Each page's first line starts 2000 twips (100 points) below the paper's top edge.
        QProcess boxes;
        boxes.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path("printed.pdf"), QStringLiteral("-")});
        QVERIFY(boxes.waitForFinished(20000));
        QList<double> tops;
        for (const auto& m : QRegularExpression(R"re(<page[^>]*>\s*<word[^>]*yMin="([\d.]+)")re")
                                 .globalMatch(QString::fromUtf8(boxes.readAllStandardOutput())))
            tops << m.captured(1).toDouble();
        QVERIFY2(tops.size() == 2 && qAbs(tops[0] - 100) < 1 && qAbs(tops[1] - 100) < 1, qPrintable(QDebug::toString(tops)));
    }

    // Cancel prints no comment line, the blank lines around it stay; a comment far wider than the
    // paper stays one line, cut at the right edge, and the sheet its two pages. The preview shows
    // the same sheet.
    void comment_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancel") << false << std::optional<QString>();
        QTest::newRow("wide, preview") << true << std::optional<QString>(QStringLiteral(" word").repeated(900).mid(1));
    }
    void comment()
    {
        NEED_PDFTOTEXT();
        QFETCH(bool, preview);
        QFETCH(std::optional<QString>, answer);
        QList<QStringList> pages;
        sheet(answer, preview, pages);
        QCOMPARE(pages.size(), 2);
        const int firmware = int(pages[0].indexOf(QRegularExpression(QStringLiteral("\\s*Firmware ID:.*"))));
        const QStringList between = pages[0].mid(1, firmware - 1);  // blank, [comment], blank
        QVERIFY(firmware > 2 && between.first().trimmed().isEmpty() && between.last().trimmed().isEmpty());
        const QString expected = answer ? "Comment: " + *answer : QStringLiteral("");
        const QString printed = simplified(between);
        QVERIFY2(expected.startsWith(printed) && (printed.size() < expected.size()) == bool(answer),
                 qPrintable(printed));
        // Cut at the paper's edge, well beyond where any other line of the sheet ends.
        for (const QString& line : pages[0])
            QVERIFY(!answer || line == between.value(1) || line.size() + 20 < between.value(1).size());
    }

    // An empty buffer: the one message, no comment question, nothing printed or previewed.
    void emptyBufferPrintsNothing()
    {
        for (bool preview : {false, true}) {
            ScriptedPrompter prompter;
            prompter.expectBox(QLatin1String(kBufferEmpty), QLatin1String(preview ? kPreviewTitle : kPrintTitle),
                               PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
            FakeDialogs dialogs;
            dialogs.installed.clear();  // not even the no-printer question
            run(preview, ParameterStore(), prompter, dialogs, path("empty.pdf"));
            QVERIFY_PROMPTS(prompter);
            QVERIFY(!QFile::exists(path("empty.pdf")) && dialogs.previews == 0);
        }
    }

    // A PDF file that cannot be written goes through the error prompt, which names the file and
    // says why. The earlier file stays as it was until a whole new one is written; Retry once the
    // fault is mended prints both pages.
    void pdfFailure_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fullDisk");  // bytes a file may hold; 0: no limit
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<QString>("why");
        QTest::newRow("folder missing, made, Retry") << "missing/sheet.pdf" << 0 << PromptAnswer::Retry << "folder exists";
        QTest::newRow("folder missing, Ignore") << "gone/sheet.pdf" << 0 << PromptAnswer::Ignore << "folder exists";
        QTest::newRow("disk full, Abort") << "full.pdf" << 4096 << PromptAnswer::Abort << "File too large";
        QTest::newRow("disk full, room made, Retry") << "room.pdf" << 4096 << PromptAnswer::Retry << "left as it was";
    }
    void pdfFailure()
    {
        QFETCH(QString, file);
        QFETCH(int, fullDisk);
        QFETCH(PromptAnswer, answer);
        QFETCH(QString, why);
        file = path(file);
        if (fullDisk)
            writeFile(file, "old report");
        MendingPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt);
        prompter.expectError(QString(), answer);
        prompter.mend = [&] {  // Ignore leaves the folder missing: the pages are not printed
            limitFileSize(RLIM_INFINITY);
            if (answer == PromptAnswer::Retry)
                QDir().mkpath(QFileInfo(file).path());
        };
        FakeDialogs dialogs;
        if (fullDisk)
            limitFileSize(rlim_t(fullDisk));
        run(false, defaultsStore(), prompter, dialogs, file);
        limitFileSize(RLIM_INFINITY);
        QVERIFY_PROMPTS(prompter);
        const QString shown = prompter.shown().last();
        QVERIFY2(shown.contains(QDir::toNativeSeparators(file)) && shown.contains(why), qPrintable(shown));
        if (answer != PromptAnswer::Retry)
            QCOMPARE(readFile(file), QByteArray(fullDisk ? "old report" : ""));
        else
            QVERIFY(readFile(file).startsWith("%PDF") && readFile(file).trimmed().endsWith("%%EOF"));
    }

    // Where no printer is installed every print asks for the file, suggesting a name not yet
    // taken in the folder of the last one, and replaces a file only when told to.
    void pdfFileAskedEachTime()
    {
        const QString dated = freshPdfName(m_dir.path(), QDate::currentDate());
        writeFile(dated, "taken");
        writeFile(path("again.pdf"), "earlier report");
        FakeDialogs dialogs;
        dialogs.installed.clear();
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt)
            .expectBox(QLatin1String(kNoPrinter), QLatin1String(kPrintTitle), PromptButtons::YesNo,
                       PromptIcon::Exclamation, PromptAnswer::Yes)
            .expectSaveFile(path("again.pdf"))
            .expectBox(QDir::toNativeSeparators(path("again.pdf")) + kPdfExists, QLatin1String(kPdfFileTitle),
                       PromptButtons::YesNoCancel, PromptIcon::Exclamation, PromptAnswer::No)
            .expectSaveFile(path("other"));
        run(false, defaultsStore(), prompter, dialogs, path("again.pdf"));
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(readFile(path("again.pdf")), QByteArray("earlier report"));
        QVERIFY(readFile(path("other.pdf")).startsWith("%PDF"));
        QCOMPARE(QFileInfo(prompter.lastSuggestedFile).path(), m_dir.path());
        QVERIFY(prompter.lastSuggestedFile != dated && !QFile::exists(prompter.lastSuggestedFile));
    }

    // The sheet's family: the preferred one, else the fallback, in any letter case and in the
    // spelling installed; neither installed leaves the choice to the system's fixed-pitch font.
    void fontFallback_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("family");
        QTest::newRow("both") << QStringList{"Courier New", "monospac821 bt", "Arial"} << "monospac821 bt";
        QTest::newRow("fallback only") << QStringList{"Arial", "COURIER NEW"} << "COURIER NEW";
        QTest::newRow("neither") << QStringList{"Arial", "Courier", "Monospac821"} << "";
    }
    void fontFallback()
    {
        QFETCH(QStringList, installed);
        QTEST(reportFamily(installed), "family");
        QVERIFY(reportFont().fixedPitch() && reportFont().pointSizeF() == kPointSize);
    }

    // The command-line tool refuses to print over its data file, which stays as it was, says why
    // a report could not be written (an earlier one stays as it was), and prints the window's sheet
    // for a data file, which has no firmware ID.
    void cliReport_data()
    {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<int>("fullDisk");  // bytes a file may hold; 0: no limit
        QTest::addColumn<int>("exitCode");
        QTest::newRow("over its data file") << "cli.dat" << 0 << 2;
        QTest::newRow("device that is full") << "/dev/full" << 0 << 2;
        QTest::newRow("disk full, earlier report kept") << "cli.pdf" << 4096 << 2;
        QTest::newRow("printed") << "cli.pdf" << 0 << 0;
    }
    void cliReport()
    {
        QFETCH(QString, pdf);
        QFETCH(int, fullDisk);
        QFETCH(int, exitCode);
        const ParameterStore store = defaultsStore();
        QVERIFY(datafile::write(path("cli.dat"), store.image).ok);
        if (pdf == "cli.pdf")
            writeFile(path(pdf), "earlier report");
        QProcess cli;
        cli.setWorkingDirectory(m_dir.path());
        cli.setChildProcessModifier([fullDisk] {
            if (fullDisk)
                limitFileSize(rlim_t(fullDisk));
        });
        cli.start(QStringLiteral(REVORA_CLI), {"report", "cli.dat", "--pdf", pdf, "--comment", "SN 1234"});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), exitCode);
        QCOMPARE(readFile(path("cli.dat")), store.image.configBlock());
        // Only a refusal is a complaint; Qt's own notes about the session are not.
        const QString complaint = QString::fromLocal8Bit(cli.readAllStandardError());
        QVERIFY2(complaint.contains("revora-shift-cli") == (exitCode != 0), qPrintable(complaint));
        if (exitCode != 0) {
            if (pdf == "cli.pdf")
                QCOMPARE(readFile(path(pdf)), QByteArray("earlier report"));
            return;
        }
        NEED_PDFTOTEXT();
        const QList<QStringList> pages = pdfPages(path(pdf));
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
