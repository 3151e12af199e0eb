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

namespace {

const QDateTime kFirstPage(QDate(2026, 3, 14), QTime(9, 26, 53));
const QDateTime kSecondPage = kFirstPage.addSecs(75);

// Page 1 at kFirstPage, page 2 at kSecondPage.
Clock twoTimes()
{
    auto calls = std::make_shared<int>(0);
    return [calls] { return (*calls)++ == 0 ? kFirstPage : kSecondPage; };
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

bool havePdftotext() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

// The PDF's pages as laid-out text, without blank lines around each page or blanks at line ends.
QList<QStringList> pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    QList<QStringList> out;
    for (const QString& page : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'))) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n')))
            lines << line.left(line.lastIndexOf(QRegularExpression(QStringLiteral("\\S"))) + 1);
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

Header headerFor(const QString& comment, const QDateTime& at)
{
    Header h{QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"), comment, at};
    return h;
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

PrintContext context()
{
    return PrintContext{QStringLiteral("Velmont Sensors"), QStringLiteral("Shift Light 2.1"), twoTimes()};
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QStringList> m_defaults;  // the defaults' sheet with the comment "SN 1234"

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Prints the store through the command with the given comment answer.
    QList<QStringList> printWithComment(const ParameterStore& store, const std::optional<QString>& comment,
                                        const QString& file)
    {
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), comment);
        FakeDialogs dialogs;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(file);
        printParameters(store, prompter, dialogs, printer, context());
        if (!prompter.done())
            qWarning("%s", qPrintable(prompter.failures().join(QLatin1Char('\n'))));
        return pdfPages(file);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (havePdftotext())
            m_defaults = printWithComment(defaultsStore(), QStringLiteral("SN 1234"), path("defaults.pdf"));
    }

    void reportFamily_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("both") << QStringList{"Arial", "Courier New", "Monospac821 BT"} << "Monospac821 BT";
        QTest::newRow("other case counts") << QStringList{"Courier New", "MONOSPAC821 bt"} << "MONOSPAC821 bt";
        QTest::newRow("courier only") << QStringList{"Arial", "Courier New"} << "Courier New";
        QTest::newRow("courier other case") << QStringList{"courier new"} << "courier new";
        QTest::newRow("a near name is not it") << QStringList{"Monospac821", "Monospac821 BT Bold"} << "";
        QTest::newRow("neither") << QStringList{"DejaVu Sans Mono"} << "";
    }
    void reportFamily()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);
        QCOMPARE(report::reportFamily(installed), chosen);
    }

    // The defaults' values as the sheet shows them.
    void defaultsValues_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("value");
        QTest::newRow("pulses") << 0 << "RPM Pulses/Rev:" << "0.5";
        QTest::newRow("tps zero") << 0 << "Zero TPS (volts):" << "0.9";
        QTest::newRow("tps full") << 0 << "100% TPS (volts):" << "4.6";
        QTest::newRow("log interval") << 0 << "Data Logging Interval (sec):" << "0.10";
        QTest::newRow("log switch") << 0 << "Continuous Data Logging Enabled" << "";
        QTest::newRow("min led") << 0 << "Minimum LED Brightness:" << "6";
        QTest::newRow("max led") << 0 << "Maximum LED Brightness:" << "100";
        QTest::newRow("gpo min rpm") << 0 << "GPO Minimum RPM:" << "6000";
        QTest::newRow("gpo max rpm") << 0 << "GPO Maximum RPM:" << "12000";
        QTest::newRow("gpo tps off") << 0 << "GPO TPS Off (%):" << "89";
        QTest::newRow("gpo tps on") << 0 << "GPO TPS On (%):" << "94";
        QTest::newRow("gpo delay") << 0 << "GPO Delay (sec):" << "0.00";
        QTest::newRow("firmware") << 0 << "Firmware ID:" << "Shift Light 2.1";
        QTest::newRow("comment") << 0 << "Comment: SN 1234" << "";
        QTest::newRow("alarm above") << 1 << "Alarm 1 Above Value (volts):" << "5.0";
        QTest::newRow("alarm below") << 1 << "Alarm 1 Below Value (volts):" << "0.0";
        QTest::newRow("alarm 2 above") << 1 << "Alarm 2 Above Value (volts):" << "5.0";
    }
    void defaultsValues()
    {
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        QFETCH(int, page);
        QFETCH(QString, label);
        QFETCH(QString, value);
        QCOMPARE(m_defaults.size(), 2);
        const QStringList matching = m_defaults[page].filter(QRegularExpression(
            QStringLiteral("^\\s*%1(\\s|$)").arg(QRegularExpression::escape(label))));
        QCOMPARE(matching.size(), 1);
        QCOMPARE(matching[0].trimmed().mid(label.size()).trimmed(), value);
    }

    // Both pages in one file, every line of the content in its order, each page
    // headed with the time at which it was printed.
    void sheetIsTheContent()
    {
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        QCOMPARE(m_defaults.size(), 2);
        const ParameterStore store = defaultsStore();
        QCOMPARE(simplified(m_defaults[0]),
                 simplified(contentLines(page1(store.params, headerFor("SN 1234", kFirstPage)))));
        QCOMPARE(simplified(m_defaults[1]),
                 simplified(contentLines(page2(store.params, headerFor("SN 1234", kSecondPage)))));
        QVERIFY(m_defaults[0].first().contains(headingText(headerFor(QString(), kFirstPage))));
        QVERIFY(m_defaults[1].first().contains(headingText(headerFor(QString(), kSecondPage))));
    }

    // Labels start in one column, parameter values in another, identification
    // values in a third between them.
    void columns()
    {
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        QCOMPARE(m_defaults.size(), 2);
        const ParameterStore store = defaultsStore();
        const Header h = headerFor("SN 1234", kFirstPage);
        const QList<Page> content = {page1(store.params, h), page2(store.params, h)};
        QSet<int> labelStarts, valueStarts, identStarts;
        for (int p = 0; p < 2; ++p) {
            for (const Line& line : content[p]) {
                if (line.isEmpty() || line[0].text.startsWith(QLatin1String("Velmont")))
                    continue;
                const QStringList hits = m_defaults[p].filter(line[0].text);
                QVERIFY2(!hits.isEmpty(), qPrintable(line[0].text));
                const QString printed = hits.first();
                labelStarts << int(printed.indexOf(line[0].text));
                if (line.size() == 2 && !line[1].text.trimmed().isEmpty()) {
                    const int at = int(printed.lastIndexOf(line[1].text));
                    (line[1].column == kValueColumn ? valueStarts : identStarts) << at;
                }
            }
        }
        QCOMPARE(labelStarts.size(), 1);
        QCOMPARE(valueStarts.size(), 1);
        QCOMPARE(identStarts.size(), 1);
        const int label = *labelStarts.begin(), ident = *identStarts.begin(), value = *valueStarts.begin();
        QVERIFY2(label < ident && ident < value, qPrintable(QStringLiteral("%1 %2 %3").arg(label).arg(ident).arg(value)));
        // Character columns: 20 and 40 characters after the labels.
        QVERIFY(qAbs(ident - label - 20) <= 1);
        QVERIFY(qAbs(value - label - 40) <= 1);
    }

    // Cancel and an empty answer print no comment line, and the blank lines around
    // it stay; a comment wider than the paper is printed whole, on more lines.
    void comment_data()
    {
        QStringList words;
        for (int i = 0; i < 60; ++i)
            words << QStringLiteral("word%1").arg(i);
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancel") << std::optional<QString>();
        QTest::newRow("empty") << std::optional<QString>(QString());
        QTest::newRow("text") << std::optional<QString>(QStringLiteral("Car 7"));
        QTest::newRow("wider than the paper") << std::optional<QString>(words.join(QLatin1Char(' ')));
    }
    void comment()
    {
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        QFETCH(std::optional<QString>, answer);
        const QList<QStringList> pages = printWithComment(defaultsStore(), answer, path("comment.pdf"));
        QCOMPARE(pages.size(), 2);
        const QStringList& p1 = pages[0];
        const int firmware = int(p1.indexOf(QRegularExpression(QStringLiteral("\\s*Firmware ID:.*"))));
        QVERIFY(firmware > 0);
        const QStringList between = p1.mid(1, firmware - 1);  // heading, blank, [comment], blank, Firmware ID
        QCOMPARE(between.first(), QString());
        QCOMPARE(between.last(), QString());
        const QString comment = answer.value_or(QString());
        if (comment.isEmpty()) {
            QCOMPARE(between.size(), 2);
        } else {
            const QString text = simplified(between).replace(QLatin1Char('\n'), QLatin1Char(' '));
            QCOMPARE(text, QStringLiteral("Comment: ") + comment);
        }
    }

    void emptyBufferPrintsNothing()
    {
        for (bool preview : {false, true}) {
            ParameterStore store;  // nothing loaded
            ScriptedPrompter prompter;
            prompter.expectBox(QLatin1String(kBufferEmpty), preview ? QLatin1String(kPreviewTitle) : QLatin1String(kPrintTitle),
                               PromptButtons::OK, PromptIcon::Exclamation, PromptAnswer::OK);
            FakeDialogs dialogs;
            dialogs.installed.clear();  // not even the no-printer question
            dialogs.previewFile = path("empty-preview.pdf");
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFileName(path("empty.pdf"));
            if (preview)
                previewParameters(store, prompter, dialogs, printer, context());
            else
                printParameters(store, prompter, dialogs, printer, context());
            QVERIFY_PROMPTS(prompter);
            QVERIFY(!QFile::exists(path("empty.pdf")));
            QCOMPARE(dialogs.previews, 0);
        }
    }

    void previewShowsTheSheet()
    {
        ScriptedPrompter prompter;
        prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), QStringLiteral("Look"));
        FakeDialogs dialogs;
        dialogs.previewFile = path("preview.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(path("not-printed.pdf"));
        previewParameters(defaultsStore(), prompter, dialogs, printer, context());
        QVERIFY_PROMPTS(prompter);
        QCOMPARE(dialogs.previews, 1);
        QVERIFY(!QFile::exists(path("not-printed.pdf")));
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        const QList<QStringList> pages = pdfPages(path("preview.pdf"));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].filter(QStringLiteral("Comment: Look")).size(), 1);
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
        const QString title = QLatin1String(setupCommand ? kSetupTitle : kPrintTitle);
        if (!setupCommand)
            prompter.expectInput(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), std::nullopt);
        prompter.expectBox(QLatin1String(kNoPrinter), title, PromptButtons::YesNo, PromptIcon::Exclamation, offer);
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
        if (written.isEmpty()) {
            QCOMPARE(printer.outputFormat(), before);
            QCOMPARE(printer.outputFileName(), QString());
            return;
        }
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), path(written));
        QCOMPARE(QFile::exists(path(written)), !setupCommand);
    }

    // A printer that cannot start goes through the error prompt: Abort and Ignore
    // print nothing, Retry tries again.
    void printerError_data()
    {
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<bool>("printed");
        QTest::newRow("abort") << PromptAnswer::Abort << false;
        QTest::newRow("ignore") << PromptAnswer::Ignore << false;
        QTest::newRow("retry after the folder is made") << PromptAnswer::Retry << true;
    }
    void printerError()
    {
        QFETCH(PromptAnswer, answer);
        QFETCH(bool, printed);
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
        QCOMPARE(QFile::exists(file), printed);
        if (printed && havePdftotext())
            QCOMPARE(pdfPages(file).size(), 2);
    }

    // The command-line tool prints the same sheet for a data file.
    void cliReport()
    {
        ParameterStore store = defaultsStore();
        const QString dat = path("cli.dat"), pdf = path("cli.pdf");
        QVERIFY(datafile::write(dat, store.image).ok);
        QProcess cli;
        cli.start(QStringLiteral(REVORA_CLI),
                  {QStringLiteral("report"), dat, QStringLiteral("--pdf"), pdf, QStringLiteral("--comment"),
                   QStringLiteral("SN 1234")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        // Qt's own notes about the session (no runtime folder and the like) are no complaint.
        const QStringList complaints = QString::fromLocal8Bit(cli.readAllStandardError())
                                           .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                           .filter(QStringLiteral("revora-shift-cli"));
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join(QLatin1Char('\n'))));
        if (!havePdftotext())
            QSKIP("pdftotext is not installed");
        const QList<QStringList> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        // Everything below the heading as the window prints it; a data file has no firmware ID.
        const QString company = readBranding(QFileInfo(QStringLiteral(REVORA_CLI)).absolutePath()).companyName();
        for (int p = 0; p < 2; ++p) {
            QVERIFY(pages[p].first().trimmed().startsWith(company + QStringLiteral(" Controller Data Printed: ")));
            Header h = headerFor(QStringLiteral("SN 1234"), kFirstPage);
            h.firmwareID.clear();
            const QStringList want = contentLines(p == 0 ? page1(store.params, h) : page2(store.params, h)).mid(1);
            QCOMPARE(simplified(pages[p].mid(1)), simplified(want));
        }
    }

    void cliReportRefuses_data()
    {
        QTest::addColumn<QStringList>("args");  // %d the data file, %p the PDF
        QTest::newRow("no pdf") << QStringList{"report", "%d"};
        QTest::newRow("pdf without name") << QStringList{"report", "%d", "--pdf"};
        QTest::newRow("pdf is the data file") << QStringList{"report", "%d", "--pdf", "%d"};
        QTest::newRow("short data file") << QStringList{"report", "%s", "--pdf", "%p"};
        QTest::newRow("unknown option") << QStringList{"report", "%d", "--pdf", "%p", "--colour"};
    }
    void cliReportRefuses()
    {
        QFETCH(QStringList, args);
        ParameterStore store = defaultsStore();
        const QString dat = path("refuse.dat"), shortDat = path("short.dat"), pdf = path("kept.pdf");
        QVERIFY(datafile::write(dat, store.image).ok);
        const QByteArray before = store.image.configBlock();
        QVERIFY(writeFile(shortDat, before.left(100)) && writeFile(pdf, "an earlier report"));
        for (QString& a : args)
            a = a == QLatin1String("%d") ? dat : a == QLatin1String("%s") ? shortDat : a == QLatin1String("%p") ? pdf : a;
        QProcess cli;
        cli.start(QStringLiteral(REVORA_CLI), args);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 2);
        QVERIFY(!cli.readAllStandardError().isEmpty());
        QCOMPARE(readFile(dat), before);
        QCOMPARE(readFile(pdf), QByteArray("an earlier report"));
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
