// The printed sheet, read back from the PDF it makes: what stands where, in what
// order, on how many pages, and what the print commands ask before paper is used.
#include "params/datafile.h"
#include "params/defaults.h"
#include "report/printer.h"
#include "support/scriptedprompter.h"
#include "shell/branding.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

#define NEED_PDFTOTEXT()                                                                  \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())            \
        QSKIP("pdftotext is not installed");

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

Header header(const QDateTime& at)
{
    return {QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"), QStringLiteral("SN 1234"), at};
}

struct FakeDialogs : PrintDialogs {
    QStringList installed{QStringLiteral("Office")};
    QString previewFile;  // where the preview's sheet is rendered
    int setups = 0, previews = 0;

    QStringList printers() override { return installed; }
    bool setup(QPrinter&) override { return ++setups, false; }
    void preview(QPrinter&, const std::function<void(QPrinter&)>& paint) override
    {
        ++previews;
        QPrinter target(QPrinter::HighResolution);
        target.setOutputFileName(previewFile);
        paint(target);
    }
};

// Makes the missing folder when the error prompt comes, so that Retry finds it.
struct FixingPrompter : ScriptedPrompter {
    QString folderToMake;
    PromptAnswer message(const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon) override
    {
        if (title == QLatin1String("Error") && !folderToMake.isEmpty())
            QDir().mkpath(folderToMake);
        return ScriptedPrompter::message(text, title, buttons, icon);
    }
};

ParameterStore defaultsStore()
{
    ParameterStore store;
    loadDefaults(store);
    return store;
}

// The PDF's pages as laid-out text, without blank lines around each page or blanks at line ends.
QList<QStringList> pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    QList<QStringList> out;
    for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'))) {
        QStringList lines = page.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line.remove(QRegularExpression(QStringLiteral("\\s+$")));
        while (!lines.isEmpty() && lines.first().isEmpty())
            lines.removeFirst();
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        if (!lines.isEmpty())
            out << lines;
    }
    return out;
}

// The non-blank lines with their spacing collapsed.
QString simplified(const QStringList& lines)
{
    QStringList kept;
    for (const QString& l : lines)
        if (!l.trimmed().isEmpty())
            kept << l.simplified();
    return kept.join(QLatin1Char('\n'));
}

QStringList contentLines(const Page& page)
{
    QStringList lines;
    for (const Line& line : page)
        lines << toPlainText(line);
    return lines;
}

QByteArray readFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QStringList> m_defaults;  // the defaults' sheet with the comment "SN 1234"

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The defaults' sheet through the print command, or through the preview, which
    // leaves the printer unused; the comment question answered with `comment`.
    void sheet(const std::optional<QString>& comment, bool preview, QList<QStringList>& pages)
    {
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), comment);
        FakeDialogs dialogs;
        dialogs.previewFile = path("preview.pdf");
        QFile::remove(path("printed.pdf")), QFile::remove(dialogs.previewFile);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(path("printed.pdf"));
        (preview ? previewParameters : printParameters)(defaultsStore(), prompter, dialogs, printer, context());
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(dialogs.previews, int(preview));
        QCOMPARE(QFile::exists(path("printed.pdf")), !preview);
        pages = pdfPages(preview ? dialogs.previewFile : path("printed.pdf"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sheet(QStringLiteral("SN 1234"), false, m_defaults);
    }

    // The sheet's font: the preferred family, else Courier New, in any letter case.
    void reportFamily()
    {
        QCOMPARE(report::reportFamily({"Courier New", "MONOSPAC821 bt"}), QStringLiteral("MONOSPAC821 bt"));
        QCOMPARE(report::reportFamily({"Arial", "courier new"}), QStringLiteral("courier new"));
        QCOMPARE(report::reportFamily({"Monospac821", "Monospac821 BT Bold"}), QString());
    }

    // The defaults' values as the sheet shows them.
    void defaultsValues_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::newRow("pulses") << "RPM Pulses/Rev:" << "0.5";
        QTest::newRow("tps zero") << "Zero TPS (volts):" << "0.9";
        QTest::newRow("tps full") << "100% TPS (volts):" << "4.6";
        QTest::newRow("log interval") << "Data Logging Interval (sec):" << "0.10";
        QTest::newRow("log switch") << "Continuous Data Logging Enabled" << "";
        QTest::newRow("min led") << "Minimum LED Brightness:" << "6";
        QTest::newRow("max led") << "Maximum LED Brightness:" << "100";
        QTest::newRow("gpo max rpm") << "GPO Maximum RPM:" << "12000";
        QTest::newRow("gpo tps off") << "GPO TPS Off (%):" << "89";
        QTest::newRow("gpo delay") << "GPO Delay (sec):" << "0.00";
        QTest::newRow("firmware") << "Firmware ID:" << "Shift Light 2.1";
        QTest::newRow("comment") << "Comment: SN 1234" << "";
        QTest::newRow("alarm above") << "Alarm 1 Above Value (volts):" << "5.0";
        QTest::newRow("alarm below") << "Alarm 1 Below Value (volts):" << "0.0";
    }
    void defaultsValues()
    {
        NEED_PDFTOTEXT();
        QFETCH(QString, label);
        QFETCH(QString, value);
        QCOMPARE(m_defaults.size(), 2);
        const QStringList matching = (m_defaults[0] + m_defaults[1]).filter(QRegularExpression(
            QStringLiteral("^\\s*%1(\\s|$)").arg(QRegularExpression::escape(label))));
        QCOMPARE(matching.size(), 1);
        QCOMPARE(matching[0].trimmed().mid(label.size()).trimmed(), value);
    }

    // Both pages in one file, every line of the content in its order, each page
    // headed with the time at which it was printed; labels start in one column,
    // parameter values in another, identification values in a third between them.
    void sheetIsTheContent()
    {
        NEED_PDFTOTEXT();
        QCOMPARE(m_defaults.size(), 2);
        const ParameterSet params = defaultsStore().params;
        const QList<Page> content = {page1(params, header(kFirstPage)), page2(params, header(kSecondPage))};
        QSet<int> labelStarts, valueStarts, identStarts;
        for (int p = 0; p < 2; ++p) {
            QCOMPARE(simplified(m_defaults[p]), simplified(contentLines(content[p])));
            QVERIFY(m_defaults[p].first().contains(headingText(header(p ? kSecondPage : kFirstPage))));
            for (const Line& line : content[p].mid(1)) {
                if (line.isEmpty())
                    continue;
                const QString printed = m_defaults[p].filter(line[0].text).value(0);
                labelStarts << int(printed.indexOf(line[0].text));
                if (line.size() == 2 && !line[1].text.trimmed().isEmpty())
                    (line[1].column == kValueColumn ? valueStarts : identStarts)
                        << int(printed.lastIndexOf(line[1].text));
            }
        }
        QCOMPARE(labelStarts.size(), 1);
        QCOMPARE(valueStarts.size(), 1);
        QCOMPARE(identStarts.size(), 1);
        // Character columns: 20 and 40 characters after the labels.
        const int label = *labelStarts.begin(), ident = *identStarts.begin(), value = *valueStarts.begin();
        QVERIFY2(label >= 0 && qAbs(ident - label - 20) <= 1 && qAbs(value - label - 40) <= 1,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(label).arg(ident).arg(value)));
    }

    // Cancel and an empty answer print no comment line, and the blank lines around
    // it stay; a comment wider than the paper is printed whole, on more lines. The
    // preview shows the same sheet.
    void comment_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancel") << false << std::optional<QString>();
        QTest::newRow("empty, preview") << true << std::optional<QString>(QString());
        QTest::newRow("wide, preview") << true << std::optional<QString>(QStringLiteral(" word").repeated(80).mid(1));
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
        QVERIFY(firmware > 2 && between.first().isEmpty() && between.last().isEmpty());
        if (answer.value_or(QString()).isEmpty())
            QCOMPARE(simplified(between), QString());  // pdftotext may show the two blank lines as more
        else
            QCOMPARE(simplified(between).replace(QLatin1Char('\n'), QLatin1Char(' ')), "Comment: " + *answer);
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
            dialogs.previewFile = path("empty-preview.pdf");
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFileName(path("empty.pdf"));
            (preview ? previewParameters : printParameters)(ParameterStore(), prompter, dialogs, printer, context());
            QVERIFY_PROMPTS(prompter);
            QVERIFY(!QFile::exists(path("empty.pdf")) && !QFile::exists(path("empty-preview.pdf")));
            QCOMPARE(dialogs.previews, 0);
        }
    }

    // Where no printer is installed the commands say so and offer a PDF file.
    void noPrinter_data()
    {
        QTest::addColumn<bool>("setupCommand");
        QTest::addColumn<PromptAnswer>("offer");
        QTest::addColumn<QString>("file");  // answer of the file dialog
        QTest::addColumn<QString>("written");
        QTest::newRow("print, declined") << false << PromptAnswer::No << "" << "";
        QTest::newRow("print, file cancelled") << false << PromptAnswer::Yes << "" << "";
        QTest::newRow("print, to a file") << false << PromptAnswer::Yes << "sheet" << "sheet.pdf";
        QTest::newRow("setup, declined") << true << PromptAnswer::No << "" << "";
        QTest::newRow("setup, to a file") << true << PromptAnswer::Yes << "setup.pdf" << "setup.pdf";
    }
    void noPrinter()
    {
        QFETCH(bool, setupCommand);
        QFETCH(PromptAnswer, offer);
        QFETCH(QString, file);
        QFETCH(QString, written);
        QPrinter printer(QPrinter::HighResolution);  // native, or a PDF writer without a file where Qt finds no printer
        const QPrinter::OutputFormat before = printer.outputFormat();
        ScriptedPrompter prompter;
        if (!setupCommand)
            prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt);
        prompter.expectBox(QLatin1String(kNoPrinter), QLatin1String(setupCommand ? kSetupTitle : kPrintTitle),
                           PromptButtons::YesNo, PromptIcon::Exclamation, offer);
        if (offer == PromptAnswer::Yes)
            prompter.expectSaveFile(file.isEmpty() ? QString() : path(file));
        FakeDialogs dialogs;
        dialogs.installed.clear();
        if (setupCommand) {
            QCOMPARE(printSetup(printer, prompter, dialogs), !written.isEmpty());
            QCOMPARE(dialogs.setups, 0);
        } else {
            printParameters(defaultsStore(), prompter, dialogs, printer, context());
        }
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(printer.outputFormat(), written.isEmpty() ? before : QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), written.isEmpty() ? QString() : path(written));
        if (!written.isEmpty())
            QCOMPARE(QFile::exists(path(written)), !setupCommand);
    }

    // A printer that cannot start goes through the error prompt: Abort prints
    // nothing, Retry tries again.
    void printerError_data()
    {
        QTest::addColumn<PromptAnswer>("answer");
        QTest::newRow("abort") << PromptAnswer::Abort;
        QTest::newRow("retry after the folder is made") << PromptAnswer::Retry;
    }
    void printerError()
    {
        QFETCH(PromptAnswer, answer);
        const QString folder = path(QStringLiteral("missing-%1").arg(int(answer)));
        const QString file = folder + QStringLiteral("/sheet.pdf");
        FixingPrompter prompter;
        if (answer == PromptAnswer::Retry)
            prompter.folderToMake = folder;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt);
        prompter.expectError(QString(), answer);
        FakeDialogs dialogs;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(file);
        printParameters(defaultsStore(), prompter, dialogs, printer, context());
        QVERIFY_PROMPTS(prompter);
        QVERIFY2(prompter.shown().last().contains(file), qPrintable(prompter.shown().last()));
        QCOMPARE(QFile::exists(file), answer == PromptAnswer::Retry);
        if (QFile::exists(file) && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QCOMPARE(pdfPages(file).size(), 2);
    }

    // The command-line tool prints the same sheet for a data file, and refuses bad
    // arguments without touching the data file or an earlier PDF.
    void cliReport_data()
    {
        QTest::addColumn<QStringList>("args");  // %d the data file, %s a short one, %p the PDF
        QTest::newRow("prints") << QStringList{"report", "%d", "--pdf", "%p", "--comment", "SN 1234"};
        QTest::newRow("no pdf") << QStringList{"report", "%d"};
        QTest::newRow("pdf is the data file") << QStringList{"report", "%d", "--pdf", "%d"};
        QTest::newRow("short data file") << QStringList{"report", "%s", "--pdf", "%p"};
    }
    void cliReport()
    {
        QFETCH(QStringList, args);
        const bool prints = QTest::currentDataTag() == QLatin1String("prints");
        const ParameterStore store = defaultsStore();
        const QString dat = path("cli.dat"), shortDat = path("short.dat"), pdf = path("cli.pdf");
        QVERIFY(datafile::write(dat, store.image).ok);
        const QByteArray before = store.image.configBlock(), earlier = "an earlier report";
        QVERIFY(writeFile(shortDat, before.left(100)) && writeFile(pdf, earlier));
        for (QString& a : args)
            a = a == "%d" ? dat : a == "%s" ? shortDat : a == "%p" ? pdf : a;
        QProcess cli;
        cli.start(QStringLiteral(REVORA_CLI), args);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), prints ? 0 : 2);
        QCOMPARE(readFile(dat), before);
        // Qt's own notes about the session (no runtime folder and the like) are no complaint.
        const QStringList complaints = QString::fromLocal8Bit(cli.readAllStandardError())
                                           .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                           .filter(QStringLiteral("revora-shift-cli"));
        QCOMPARE(complaints.isEmpty(), prints);
        if (!prints) {
            QCOMPARE(readFile(pdf), earlier);
            return;
        }
        NEED_PDFTOTEXT();
        const QList<QStringList> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        // Everything below the heading as the window prints it; a data file has no firmware ID.
        const QString company = readBranding(QFileInfo(QStringLiteral(REVORA_CLI)).absolutePath()).companyName();
        for (int p = 0; p < 2; ++p) {
            QVERIFY(pages[p].first().trimmed().startsWith(company + QStringLiteral(" Controller Data Printed: ")));
            QCOMPARE(simplified(pages[p].mid(1)),
                     simplified(m_defaults[p].mid(1)).replace(QStringLiteral("ID: Shift Light 2.1"), "ID:"));
        }
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
