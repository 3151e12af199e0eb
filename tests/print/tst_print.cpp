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

// Page 1 at kFirstPage, page 2 at kSecondPage.
PrintContext context()
{
    auto calls = std::make_shared<int>(0);
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"),
            [calls] { return (*calls)++ == 0 ? kFirstPage : kSecondPage; }, QString()};
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

    // The defaults' sheet, with `comment`, through the preview (the printer unused) or the print command,
    // which finds no printer and offers a PDF file, named "printed" without its extension.
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
    // was printed; labels start in one column, identification values 20 characters on, values 40.
    void sheetIsTheContent()
    {
        NEED_PDFTOTEXT();
        QCOMPARE(m_defaults.size(), 2);
        auto header = [](QDateTime at) { return Header{"Velmont Sensors", "Shift Light 2.1", "SN 1234", at}; };
        const ParameterSet params = defaultsStore().params;
        const QList<Page> content = {page1(params, header(kFirstPage)), page2(params, header(kSecondPage))};
        for (int p = 0; p < 2; ++p)  // the headings too, each with its page's time
            QCOMPARE(simplified(m_defaults[p]), simplified(toPlainText(content.mid(p, 1)).split(QLatin1Char('\n'))));
        auto column = [this](const char* label, const char* text) {
            return int(m_defaults[0].filter(QLatin1String(label)).value(0).indexOf(QLatin1String(text)));
        };
        const int label = column("Firmware ID:", "Firmware ID:"), ident = column("Firmware ID:", "Shift Light 2.1"),
                  value = column("RPM Pulses/Rev:", "0.5");
        QVERIFY2(column("RPM Pulses/Rev:", "RPM") == label && qAbs(ident - label - 20) <= 1 && qAbs(value - label - 40) <= 1,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(label).arg(ident).arg(value)));
        // No blank sheet; each one's first line 2000 twips (100 points) below the paper's top ("-bbox": one page).
        QList<double> tops;
        for (const auto& m : QRegularExpression(R"re(<page[^>]*>\s*(?:<word[^>]*yMin="([\d.]+)")?)re")
                                 .globalMatch(pdfPages(path("printed.pdf"), QStringLiteral("-bbox")).value(0).join('\n')))
            tops << m.captured(1).toDouble();
        QVERIFY2(tops.size() == 2 && qAbs(tops[0] - 100) < 1 && qAbs(tops[1] - 100) < 1, qPrintable(QDebug::toString(tops)));
    }

    // The preview of an empty buffer: the one message, no comment question, nothing previewed
    // (tst_mainwindow has the print command's). A comment far wider than the paper stays one line (the
    // third), cut at the right edge, and the sheet its two pages.
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
        QList<QStringList> pages;
        sheet(comment, true, pages);
        QCOMPARE(pages.size(), 2);
        const QString printed = pages[0].value(2);
        QVERIFY2(("Comment: " + comment).startsWith(printed.trimmed()) && printed.size() < comment.size() &&
                     pages[0].value(3).trimmed().isEmpty(),
                 qPrintable(printed));
        for (const QString& line : pages[0])  // cut well beyond where any other line of the sheet ends
            QVERIFY(line == printed || line.size() + 20 < printed.size());
    }

    // An unwritable PDF file: the error prompt names it and says why, the earlier file stays as it was
    // until a whole new one is written, and Retry once the fault is mended prints both pages.
    void pdfFailure_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fullDisk");  // bytes a file may hold; 0: no limit
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<QString>("why");
        QTest::newRow("folder missing, Ignore") << "gone/sheet.pdf" << 0 << PromptAnswer::Ignore << "folder exists";
        QTest::newRow("disk full, Abort") << "full.pdf" << 4096 << PromptAnswer::Abort << "File too large";
        // Refused at once, as a data file would be: opened, a pipe would wait for its reader for good.
        QTest::newRow("pipe, Ignore") << "sheet.fifo" << 0 << PromptAnswer::Ignore << "a device or a pipe";
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
        const bool pipe = file.endsWith(QLatin1String(".fifo"));
        if (pipe)
            QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt);
        prompter.expectError(QString(), answer);
        prompter.mend = [] { limitFileSize(RLIM_INFINITY); };  // room made; a missing folder stays missing
        FakeDialogs dialogs;
        if (fullDisk)
            limitFileSize(rlim_t(fullDisk));
        run(false, defaultsStore(), prompter, dialogs, file);
        limitFileSize(RLIM_INFINITY);
        QVERIFY_PROMPTS(prompter);
        const QString shown = prompter.shown().last();
        QVERIFY2(shown.contains(QDir::toNativeSeparators(file)) && shown.contains(why), qPrintable(shown));
        if (pipe)
            QVERIFY(!QFileInfo(file).isFile() && QFileInfo::exists(file));  // still the pipe, never opened
        else if (answer != PromptAnswer::Retry)
            QCOMPARE(readFile(file), QByteArray(fullDisk ? "old report" : ""));
        else
            QVERIFY(readFile(file).startsWith("%PDF") && readFile(file).trimmed().endsWith("%%EOF"));
    }

    // Where no printer is installed every print offers a file (No: nothing printed) and asks for it,
    // suggesting a name not yet taken in the folder of the last one, and replaces a file only when told to.
    void pdfFileAskedEachTime()
    {
        writeFile(path("again.pdf"), "earlier report");
        FakeDialogs dialogs;
        dialogs.installed.clear();
        ScriptedPrompter prompter;
        for (PromptAnswer toFile : {PromptAnswer::No, PromptAnswer::Yes})
            prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt)
                .expectBox(QLatin1String(kNoPrinter), QLatin1String(kPrintTitle), PromptButtons::YesNo,
                           PromptIcon::Exclamation, toFile);
        prompter.expectSaveFile(path("again.pdf"))
            .expectBox(QDir::toNativeSeparators(path("again.pdf")) + "\r\nThis file already exists.\r\n\r\nReplace existing file?",
                       QLatin1String(kPdfFileTitle),
                       PromptButtons::YesNoCancel, PromptIcon::Exclamation, PromptAnswer::No)
            .expectSaveFile(path("other"));
        for (int print = 0; print < 2; ++print)
            run(false, defaultsStore(), prompter, dialogs, path("again.pdf"));
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(readFile(path("again.pdf")), QByteArray("earlier report"));
        QVERIFY(readFile(path("other.pdf")).startsWith("%PDF"));
        QCOMPARE(QFileInfo(prompter.lastSuggestedFile).path(), m_dir.path());
        QVERIFY(!QFile::exists(prompter.lastSuggestedFile));
    }

    // The first report is suggested beside the data files, and the PDF is titled after the data.
    void pdfBesideTheDataFiles()
    {
        FakeDialogs dialogs;
        dialogs.installed.clear();
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt)
            .expectBox(QLatin1String(kNoPrinter), QLatin1String(kPrintTitle), PromptButtons::YesNo,
                       PromptIcon::Exclamation, PromptAnswer::Yes)
            .expectSaveFile(path("titled.pdf"));
        QVERIFY(QDir().mkpath(path("cars")));
        ParameterStore store = defaultsStore();
        store.DataSourceName = QStringLiteral("car.dat");
        PrintContext c = context();
        c.folder = path("cars");
        QPrinter printer(QPrinter::HighResolution);
        printParameters(store, prompter, dialogs, printer, c);
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(QFileInfo(prompter.lastSuggestedFile).path(), path("cars"));
        QCOMPARE(printer.docName(), "Revora Shift Parameters - car.dat");
        // Qt writes the title in UTF-16, high byte first.
        QByteArray utf16;
        for (char c : QByteArray("car.dat"))
            utf16 += '\0', utf16 += c;
        QVERIFY(readFile(path("titled.pdf")).contains(utf16));
    }

    // The command-line tool says why a report could not be written (an earlier one stays as it was;
    // tst_cli has the refusal to print over the data file) and prints the window's sheet without a firmware ID.
    void cliReport_data()
    {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<int>("fullDisk");  // bytes a file may hold; 0: no limit
        QTest::addColumn<int>("exitCode");
        QTest::newRow("device that is full") << "/dev/full" << 0 << 2;
        QTest::newRow("pipe") << "out.fifo" << 0 << 2;
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
        if (pdf == "out.fifo" && !QFileInfo::exists(path(pdf)))
            QVERIFY(::mkfifo(QFile::encodeName(path(pdf)).constData(), 0600) == 0);
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
        if (pdf.startsWith(QLatin1String("/dev/")) || pdf.endsWith(QLatin1String(".fifo")))
            QVERIFY2(complaint.contains("is a device or a pipe, not a file"), qPrintable(complaint));
        if (pdf == "cli.pdf")  // replaced only by a whole new report
            QCOMPARE(readFile(path(pdf)) == "earlier report", exitCode != 0);
        if (exitCode != 0)
            return;
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
