#include "report/printer.h"

#include "core/filechooser.h"
#include "core/prompter.h"
#include "params/datafile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>

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

// Its messages reach the person through the window, in the person's language where it has one.
struct Say {
    Q_DECLARE_TR_FUNCTIONS(report)
};

// One of the texts the header names.
QString said(const char* source) { return QCoreApplication::translate("report", source); }

// One run of text at a position of the printable area, in device pixels.
struct Run {
    double x = 0;
    QString text;
};
using Row = QList<Run>;

// Where the report goes, inside a sentence or (`first`) at its start: each its own
// text, as a translation cannot capitalize the first letter of another's words.
QString printerLabel(const QPrinter& printer, bool first = false)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return (first ? Say::tr("The PDF file \"%1\"") : Say::tr("the PDF file \"%1\""))
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    if (printer.printerName().isEmpty())
        return first ? Say::tr("The printer") : Say::tr("the printer");
    return (first ? Say::tr("The printer \"%1\"") : Say::tr("the printer \"%1\"")).arg(printer.printerName());
}

}  // namespace

struct SheetJob::Impl {
    QPrinter& printer;
    const ParameterSet& params;
    Header header;
    Clock now;
    QPainter painter;
    int sheetsStarted = 0;  // sheets begun, so that a retried page does not waste one

    // A PDF file is drawn into memory and written out whole at the end: Qt's PDF
    // engine does not report a failed write, and a half-written file must never
    // replace a good one.
    QString pdfFile;
    QByteArray pdfBytes;
    std::unique_ptr<QBuffer> pdfBuffer;
    std::unique_ptr<QPdfWriter> pdfWriter;
    bool pdfPending = false;  // drawn, not yet in the file

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

    QPagedPaintDevice& device() { return pdfWriter ? static_cast<QPagedPaintDevice&>(*pdfWriter) : printer; }

    void makePdfWriter()
    {
        pdfBytes.clear();
        pdfBuffer = std::make_unique<QBuffer>(&pdfBytes);
        pdfBuffer->open(QIODevice::WriteOnly);
        pdfWriter = std::make_unique<QPdfWriter>(pdfBuffer.get());
        pdfWriter->setResolution(printer.resolution());
        pdfWriter->setPageLayout(printer.pageLayout());
        pdfWriter->setCreator(printer.creator());
        pdfWriter->setTitle(printer.docName());
    }

    void measure()
    {
        font = reportFont();
        painter.setFont(font);
        const QFontMetricsF fm(painter.font(), painter.device());
        charWidth = fm.horizontalAdvance(QLatin1Char('0'));
        lineHeight = fm.lineSpacing();
        ascent = fm.ascent();
        const int resolution = painter.device()->logicalDpiY();
        const QRectF page = device().pageLayout().paintRectPixels(resolution);
        const QRectF paper = device().pageLayout().fullRectPixels(resolution);
        width = page.width();
        height = page.height();
        // The first line is placed from the paper's top edge; the painter counts from
        // the printable area, which starts a margin lower.
        top = qMax(0.0, kFirstLineTwips / 1440.0 * resolution - (page.top() - paper.top()));
        painter.setPen(Qt::black);
    }

    // The longest start of `text` that fits between `x` and the right edge: the
    // sheet keeps to its two pages, so a long comment is cut, never wrapped.
    QString fitted(const QString& text, double x) const
    {
        const QFontMetricsF fm(font, painter.device());
        const double room = width - x;
        if (fm.horizontalAdvance(text) <= room)
            return text;
        int fit = 0;
        while (fit < text.size() && fm.horizontalAdvance(text.left(fit + 1)) <= room)
            ++fit;
        return text.left(fit);
    }

    // A line as runs: each piece at its column, at least one character width after
    // a text that runs into it (as the report's plain text does).
    Row place(const Line& line) const
    {
        Row row;
        const QFontMetricsF fm(font, painter.device());
        double end = 0;
        for (const Piece& piece : line) {
            double x = qMax(piece.column - 1, 0) * charWidth;
            if (!row.isEmpty() && end > x + 0.01)
                x = end + charWidth;
            // A piece is one line of the sheet: a line break or tab typed into a comment
            // is a blank here, not a jump the columns cannot follow.
            QString text = piece.text;
            for (QChar& c : text)
                if (c.category() == QChar::Other_Control)
                    c = QLatin1Char(' ');
            text = fitted(text, x);
            row << Run{x, text};
            end = x + fm.horizontalAdvance(text);
        }
        return row;
    }

    void paint(const Page& page)
    {
        double y = top;
        for (const Line& line : page) {
            // Only paper smaller than any the sheet was laid out for gets here.
            if (y + lineHeight > height && y > top) {
                device().newPage();
                y = top;
            }
            for (const Run& run : place(line))
                painter.drawText(QPointF(run.x, y + ascent), run.text);
            y += lineHeight;
        }
    }

    // Writes the drawn PDF over its file through a save file: the old file stays
    // until every byte of the new one is on the disk.
    StepError commitPdf()
    {
        QString why;
        QSaveFile file(pdfFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !datafile::writeAll(file, pdfBytes) ||
            !file.commit())
            why = file.errorString();
        if (why.isEmpty()) {
            pdfPending = false;
            return std::nullopt;
        }
        return Say::tr("The report could not be written to the PDF file \"%1\": %2. Any earlier file of "
                       "that name is left as it was. Free some space on the disk or check that you may "
                       "write there and try again, or choose another file.")
            .arg(QDir::toNativeSeparators(pdfFile), why);
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

StepError SheetJob::start()
{
    if (d->painter.isActive())
        return std::nullopt;
    const bool toPdf = d->printer.outputFormat() == QPrinter::PdfFormat && !d->printer.outputFileName().isEmpty();
    if (toPdf) {
        d->pdfFile = d->printer.outputFileName();
        // Asked before any page is drawn: a folder that is not there or not writable.
        // A report is a file, as a data file is: a device or a pipe is refused at
        // once, never opened (a pipe would wait for its reader for good).
        QString why;
        QSaveFile probe(d->pdfFile);
        if (QFileInfo(d->pdfFile).isDir())
            why = Say::tr("it is a folder");
        else if (datafile::existsButNotRegular(d->pdfFile))
            why = Say::tr("it is a device or a pipe, not a file");
        else if (!probe.open(QIODevice::WriteOnly))
            why = probe.errorString();
        if (!why.isEmpty())
            return Say::tr("The report could not be written to %1 (%2). Check that the folder exists and "
                           "that you may write there, or choose another file.")
                .arg(printerLabel(d->printer), why);
        d->makePdfWriter();
    }
    if (!d->painter.begin(&d->device())) {
        if (toPdf)
            return Say::tr("The report could not be drawn for %1.").arg(printerLabel(d->printer));
        return Say::tr("%1 could not start printing. Check that it is connected and ready, or choose "
                       "another printer in Print Setup.")
            .arg(printerLabel(d->printer, true));
    }
    d->sheetsStarted = 1;
    d->measure();
    return std::nullopt;
}

StepError SheetJob::printPage(int index)
{
    if (!d->painter.isActive())
        return Say::tr("The print job was not started, so page %1 cannot be printed.").arg(index + 1);
    if (index >= d->sheetsStarted) {
        if (!d->device().newPage())
            return Say::tr("%1 could not start a new sheet for page %2.")
                .arg(printerLabel(d->printer, true))
                .arg(index + 1);
        d->sheetsStarted = index + 1;
    }
    // Each page carries the time at which it was printed.
    d->header.printedAt = d->now();
    d->paint(index == 0 ? page1(d->params, d->header) : page2(d->params, d->header));
    if (d->printer.printerState() == QPrinter::Error)
        return Say::tr("%1 reported an error while printing page %2.")
            .arg(printerLabel(d->printer, true))
            .arg(index + 1);
    return std::nullopt;
}

StepError SheetJob::finish()
{
    if (d->painter.isActive()) {
        const bool ended = d->painter.end();
        d->pdfPending = d->pdfWriter != nullptr;
        if (!ended || (!d->pdfWriter && d->printer.printerState() == QPrinter::Error))
            return Say::tr("The report could not be completed on %1.").arg(printerLabel(d->printer));
    }
    // A retried finish writes the drawn file again.
    if (d->pdfPending)
        return d->commitPdf();
    return std::nullopt;
}

bool SheetJob::active() const { return d->painter.isActive() || d->pdfPending; }

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

QString freshPdfName(const QString& folder, const QDate& date)
{
    const QString stem = QStringLiteral("Revora Shift Parameters %1").arg(date.toString(Qt::ISODate));
    const QDir dir(folder);
    QString name = dir.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(stem).arg(n));
    return name;
}

namespace {

// Asks whether to print to a PDF file where there is no printer, and for its name,
// suggesting one that is not taken. Each print asks again, and an existing file is
// replaced only when the person says so. True when the printer now writes that file.
bool choosePdfInstead(QPrinter& printer, Prompter& prompter, const QString& title, const QString& dataFolder)
{
    if (prompter.message(said(kNoPrinter), title, PromptButtons::YesNo, PromptIcon::Exclamation) !=
        PromptAnswer::Yes)
        return false;
    const QString earlier = printer.outputFileName();
    // Beside the last report, else beside the data files, else where the person
    // keeps documents (the program's folder is its working folder, and no place
    // for reports).
    const QString folder =
        FileChooser::startFolder(earlier.isEmpty() ? dataFolder : QFileInfo(earlier).absolutePath());
    const QString file = FileChooser(prompter).saveNew(said(kPdfFileTitle), said(kPdfFilter),
                                                       freshPdfName(folder, QDate::currentDate()),
                                                       QStringLiteral("pdf"));
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

bool noPrinter(const QPrinter& printer, PrintDialogs& dialogs)
{
    // Where Qt finds no printer it quietly makes the printer a PDF writer without a
    // file; that is no printer either. A file chosen at an earlier print is not
    // taken again without asking.
    if (dialogs.printers().isEmpty())
        return true;
    return printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
}

// The empty-buffer refusal and the comment question both commands share; nullopt
// when there is nothing to print.
std::optional<Header> askHeader(const ParameterStore& store, Prompter& prompter, const PrintContext& context,
                                const QString& title)
{
    if (store.image.BufferEmpty) {
        prompter.message(said(kBufferEmpty), title, PromptButtons::OK, PromptIcon::Exclamation);
        return std::nullopt;
    }
    Header header;
    header.companyName = context.companyName;
    header.firmwareID = context.firmwareID;
    // Cancel is no comment, not "no report".
    header.comment = prompter.input(said(kCommentPrompt), said(kCommentTitle), QString())
                         .value_or(QString());
    return header;
}

}  // namespace

QString documentTitle(const ParameterStore& store)
{
    return QStringLiteral("Revora Shift Parameters - ") + store.DataSourceName;
}

bool printSetup(QPrinter& printer, Prompter& prompter, PrintDialogs& dialogs, const QString& dataFolder)
{
    if (dialogs.printers().isEmpty())
        return choosePdfInstead(printer, prompter, said(kSetupTitle), dataFolder);
    return dialogs.setup(printer);
}

void printParameters(const ParameterStore& store, Prompter& prompter, PrintDialogs& dialogs, QPrinter& printer,
                     const PrintContext& context)
{
    const std::optional<Header> header = askHeader(store, prompter, context, said(kPrintTitle));
    if (!header)
        return;
    if (noPrinter(printer, dialogs) && !choosePdfInstead(printer, prompter, said(kPrintTitle), context.folder))
        return;
    printer.setDocName(documentTitle(store));
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
    const std::optional<Header> header = askHeader(store, prompter, context, said(kPreviewTitle));
    if (!header)
        return;
    printer.setDocName(documentTitle(store));
    dialogs.preview(printer, [&](QPrinter& target) {
        const QString error = printReport(target, store.params, *header, context.now);
        if (!error.isEmpty())
            prompter.message(error, said(kPreviewTitle), PromptButtons::OK, PromptIcon::Exclamation);
    });
}

// ---------------------------------------------------------------------------
// Qt dialogs

QStringList QtPrintDialogs::printers() { return QPrinterInfo::availablePrinterNames(); }

bool QtPrintDialogs::setup(QPrinter& printer)
{
    // The dialog writes its choices into the printer only when accepted.
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(said(kSetupTitle));
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
    dialog.setWindowTitle(said(kPreviewTitle));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (target)
            paint(*target);
    });
    dialog.exec();
}

}  // namespace report
