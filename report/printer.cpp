#include "report/printer.h"

#include "shell/prompter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace report {

// ---------------------------------------------------------------------------
// Font

QString reportFamily(const QStringList& installedFamilies)
{
    for (const char* wanted : {kPreferredFamily, kFallbackFamily})
        for (const QString& family : installedFamilies)
            if (family.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                return family;
    return QString();
}

QFont reportFont()
{
    const QString family = reportFamily(QFontDatabase::families());
    QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    // The columns are counted in character widths: whatever is picked must be monospaced.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(kPointSize);
    return font;
}

// ---------------------------------------------------------------------------
// The print job

namespace {

// One run of text at a position of the printable area, in device pixels.
struct Run {
    double x = 0;
    QString text;
};
using Row = QList<Run>;

QString printerLabel(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("the PDF file \"%1\"").arg(QDir::toNativeSeparators(printer.outputFileName()));
    if (printer.printerName().isEmpty())
        return QStringLiteral("the printer");
    return QStringLiteral("the printer \"%1\"").arg(printer.printerName());
}

}  // namespace

struct SheetJob::Impl {
    QPrinter& printer;
    const ParameterSet& params;
    Header header;
    Clock now;
    QPainter painter;
    int sheetsStarted = 0;  // sheets begun, so that a retried page does not waste one

    // Layout in device pixels of the printable area, set when the job starts.
    QFont font;
    double charWidth = 0;
    double lineHeight = 0;
    double ascent = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    Impl(QPrinter& p, const ParameterSet& ps, const Header& h, Clock c)
        : printer(p), params(ps), header(h), now(std::move(c)) {}

    void measure()
    {
        font = reportFont();
        painter.setFont(font);
        const QFontMetricsF fm(painter.font(), painter.device());
        charWidth = fm.horizontalAdvance(QLatin1Char('0'));
        lineHeight = fm.lineSpacing();
        ascent = fm.ascent();
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        width = page.width();
        height = page.height();
        // The first line is placed from the paper's top edge; the painter counts from
        // the printable area, which starts a margin lower.
        top = qMax(0.0, kFirstLineTwips / 1440.0 * printer.resolution() - (page.top() - paper.top()));
        painter.setPen(Qt::black);
    }

    // Splits a text that would run past the printable area's right edge at the last
    // blank that fits (or anywhere, for a word longer than the line), so that a long
    // comment is printed whole instead of cut off at the edge.
    QStringList wrap(const QString& text, double x) const
    {
        const QFontMetricsF fm(font, painter.device());
        const double room = width - x;
        QStringList parts;
        QString rest = text;
        while (!rest.isEmpty() && fm.horizontalAdvance(rest) > room) {
            int fit = 1;
            while (fit < rest.size() && fm.horizontalAdvance(rest.left(fit + 1)) <= room)
                ++fit;
            const int blank = rest.left(fit + 1).lastIndexOf(QLatin1Char(' '));
            const int cut = blank > 0 ? blank : fit;
            parts << rest.left(cut);
            rest = rest.mid(cut);
            while (rest.startsWith(QLatin1Char(' ')))
                rest.remove(0, 1);
        }
        if (!rest.isEmpty() || parts.isEmpty())
            parts << rest;
        return parts;
    }

    // A line as rows of runs: each piece at its column, at least one character
    // width after a text that runs into it (as the report's plain text does).
    QList<Row> place(const Line& line) const
    {
        QList<Row> rows{Row{}};
        const QFontMetricsF fm(font, painter.device());
        double end = 0;
        for (const Piece& piece : line) {
            double x = qMax(piece.column - 1, 0) * charWidth;
            if (!rows.last().isEmpty() && end > x + 0.01)
                x = end + charWidth;
            // A piece is one line of the sheet: a line break or tab typed into a comment
            // is a blank here, not a jump the columns cannot follow.
            QString text = piece.text;
            for (QChar& c : text)
                if (c.category() == QChar::Other_Control)
                    c = QLatin1Char(' ');
            const QStringList parts = wrap(text, x);
            for (int i = 0; i < parts.size(); ++i) {
                if (i > 0)
                    rows << Row{};
                rows.last() << Run{x, parts[i]};
                end = x + fm.horizontalAdvance(parts[i]);
            }
        }
        return rows;
    }

    void paint(const Page& page)
    {
        double y = top;
        for (const Line& line : page) {
            for (const Row& row : place(line)) {
                // Only paper smaller than any the sheet was laid out for gets here.
                if (y + lineHeight > height && y > top) {
                    printer.newPage();
                    y = top;
                }
                for (const Run& run : row)
                    painter.drawText(QPointF(run.x, y + ascent), run.text);
                y += lineHeight;
            }
        }
    }
};

SheetJob::SheetJob(QPrinter& printer, const ParameterSet& params, const Header& header, Clock now)
    : d(std::make_unique<Impl>(printer, params, header, std::move(now)))
{
}

SheetJob::~SheetJob()
{
    // Whatever was printed stays printed: the job is closed, not withdrawn.
    if (d->painter.isActive())
        d->painter.end();
}

bool SheetJob::active() const { return d->painter.isActive(); }

StepError SheetJob::start()
{
    if (d->painter.isActive())
        return std::nullopt;
    if (!d->painter.begin(&d->printer)) {
        if (d->printer.outputFormat() == QPrinter::PdfFormat)
            return QStringLiteral("The report could not be written to %1. Check that the folder exists and "
                                  "that you may write there, or choose another file.")
                .arg(printerLabel(d->printer));
        return QStringLiteral("%1 could not start printing. Check that it is connected and ready, or choose "
                              "another printer in Print Setup.")
            .arg(printerLabel(d->printer).replace(0, 1, QLatin1Char('T')));
    }
    d->sheetsStarted = 1;
    d->measure();
    return std::nullopt;
}

StepError SheetJob::printPage(int index)
{
    if (!d->painter.isActive())
        return QStringLiteral("The print job was not started, so page %1 cannot be printed.").arg(index + 1);
    if (index >= d->sheetsStarted) {
        if (!d->printer.newPage())
            return QStringLiteral("%1 could not start a new sheet for page %2.")
                .arg(printerLabel(d->printer).replace(0, 1, QLatin1Char('T')))
                .arg(index + 1);
        d->sheetsStarted = index + 1;
    }
    // Each page carries the time at which it was printed.
    d->header.printedAt = d->now();
    d->paint(index == 0 ? page1(d->params, d->header) : page2(d->params, d->header));
    if (d->printer.printerState() == QPrinter::Error)
        return QStringLiteral("%1 reported an error while printing page %2.")
            .arg(printerLabel(d->printer).replace(0, 1, QLatin1Char('T')))
            .arg(index + 1);
    return std::nullopt;
}

StepError SheetJob::finish()
{
    if (!d->painter.isActive())
        return std::nullopt;
    const bool ended = d->painter.end();
    if (!ended || d->printer.printerState() == QPrinter::Error)
        return QStringLiteral("The report could not be completed on %1.").arg(printerLabel(d->printer));
    return std::nullopt;
}

QString printReport(QPrinter& printer, const ParameterSet& params, const Header& header, const Clock& now)
{
    SheetJob job(printer, params, header, now);
    if (StepError e = job.start())
        return *e;
    for (int i = 0; i < SheetJob::kPageCount; ++i)
        if (StepError e = job.printPage(i))
            return *e;
    if (StepError e = job.finish())
        return *e;
    return QString();
}

// ---------------------------------------------------------------------------
// Commands

namespace {

// Asks whether to print to a PDF file where there is no printer, and for its name.
// True when the printer now writes that file.
bool choosePdfInstead(QPrinter& printer, Prompter& prompter, const QString& title)
{
    if (prompter.message(QLatin1String(kNoPrinter), title, PromptButtons::YesNo, PromptIcon::Exclamation) !=
        PromptAnswer::Yes)
        return false;
    QString file = prompter.saveFileName(QLatin1String(kPdfFileTitle), QLatin1String(kPdfFilter));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

bool noPrinter(const QPrinter& printer, PrintDialogs& dialogs)
{
    // Where Qt finds no printer it quietly makes the printer a PDF writer without a
    // file; that is no printer either.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty();
    return dialogs.printers().isEmpty();
}

// The empty-buffer refusal and the comment question both commands share; nullopt
// when there is nothing to print.
std::optional<Header> askHeader(const ParameterStore& store, Prompter& prompter, const PrintContext& context,
                                const QString& title)
{
    if (store.image.BufferEmpty) {
        prompter.message(QLatin1String(kBufferEmpty), title, PromptButtons::OK, PromptIcon::Exclamation);
        return std::nullopt;
    }
    Header header;
    header.companyName = context.companyName;
    header.firmwareID = context.firmwareID;
    // Cancel is no comment, not "no report".
    header.comment = prompter.input(QLatin1String(kCommentPrompt), QLatin1String(kCommentTitle), QString())
                         .value_or(QString());
    return header;
}

}  // namespace

bool printSetup(QPrinter& printer, Prompter& prompter, PrintDialogs& dialogs)
{
    if (dialogs.printers().isEmpty())
        return choosePdfInstead(printer, prompter, QLatin1String(kSetupTitle));
    return dialogs.setup(printer);
}

void printParameters(const ParameterStore& store, Prompter& prompter, PrintDialogs& dialogs, QPrinter& printer,
                     const PrintContext& context)
{
    const std::optional<Header> header = askHeader(store, prompter, context, QLatin1String(kPrintTitle));
    if (!header)
        return;
    if (noPrinter(printer, dialogs) && !choosePdfInstead(printer, prompter, QLatin1String(kPrintTitle)))
        return;
    // The sheet is laid out for upright paper; two pages of it do not fit across.
    printer.setPageOrientation(QPageLayout::Portrait);
    SheetJob job(printer, store.params, *header, context.now);
    ErrorTrap trap(prompter);  // Abort: the job closes what it started when it goes out of scope
    if (!trap.run([&] { return job.start(); }) || !job.active())
        return;
    for (int i = 0; i < SheetJob::kPageCount; ++i)
        if (!trap.run([&] { return job.printPage(i); }))
            return;
    trap.run([&] { return job.finish(); });
}

void previewParameters(const ParameterStore& store, Prompter& prompter, PrintDialogs& dialogs, QPrinter& printer,
                       const PrintContext& context)
{
    const std::optional<Header> header = askHeader(store, prompter, context, QLatin1String(kPreviewTitle));
    if (!header)
        return;
    dialogs.preview(printer, [&](QPrinter& target) {
        const QString error = printReport(target, store.params, *header, context.now);
        if (!error.isEmpty())
            prompter.message(error, QLatin1String(kPreviewTitle), PromptButtons::OK, PromptIcon::Exclamation);
    });
}

// ---------------------------------------------------------------------------
// Qt dialogs

QStringList QtPrintDialogs::printers() { return QPrinterInfo::availablePrinterNames(); }

bool QtPrintDialogs::setup(QPrinter& printer)
{
    // The dialog writes its choices into the printer only when accepted.
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QLatin1String(kSetupTitle));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Here the dialog only chooses; the report is printed by its own command.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

void QtPrintDialogs::preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint)
{
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QLatin1String(kPreviewTitle));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (target)
            paint(*target);
    });
    dialog.exec();
}

}  // namespace report
