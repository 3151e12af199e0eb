#pragma once
// The printed parameter sheet: places the report's lines (report/content.h) on
// paper, and the File menu's print commands built on it.
//
// Both pages leave in ONE print job: one painter on the printer, a new sheet
// between the pages, each page with the time at which it was printed.
#include "report/content.h"
#include "core/errortrap.h"

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Prompter;
class QPrinter;
class QWidget;

namespace report {

inline constexpr char kPreferredFamily[] = "Monospac821 BT";
inline constexpr char kFallbackFamily[] = "Courier New";
inline constexpr double kPointSize = 8.0;
// The first line's top, from the top edge of the paper.
inline constexpr int kFirstLineTwips = 2000;

// The window shows these translated; the command-line tool as they are.
inline constexpr char kPrintTitle[] = QT_TRANSLATE_NOOP("report", "Print Parameters");
inline constexpr char kSetupTitle[] = QT_TRANSLATE_NOOP("report", "Printer Setup");
inline constexpr char kPreviewTitle[] = QT_TRANSLATE_NOOP("report", "Print Preview");
inline constexpr char kBufferEmpty[] = QT_TRANSLATE_NOOP("report", "Data buffer empty.");
inline constexpr char kCommentPrompt[] = QT_TRANSLATE_NOOP("report", "Serial number or comment?");
inline constexpr char kCommentTitle[] = QT_TRANSLATE_NOOP("report", "Optional Information Entry");
inline constexpr char kNoPrinter[] =
    QT_TRANSLATE_NOOP("report", "No printer is installed on this computer.\n\nPrint the report to a PDF file instead?");
inline constexpr char kPdfFileTitle[] = QT_TRANSLATE_NOOP("report", "Print To PDF File");
inline constexpr char kPdfFilter[] = QT_TRANSLATE_NOOP("report", "PDF files (*.pdf)|*.pdf");

// The printer dialogs. They stay apart from the prompter, whose interface is
// part of the widget-free core and may not name a QPrinter.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // Names of the installed printers; empty when there is none.
    virtual QStringList printers() = 0;
    // The system's printer setup dialog on `printer`. False when cancelled; the
    // printer is then left exactly as it was.
    virtual bool setup(QPrinter& printer) = 0;
    // Shows the sheet before paper is used; `paint` draws the report on the
    // printer it is handed. Printing from the preview goes to `printer`.
    virtual void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;
};

// The dialogs of the windowed program: QPrintDialog and QPrintPreviewDialog.
class QtPrintDialogs : public PrintDialogs {
public:
    explicit QtPrintDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    QStringList printers() override;
    bool setup(QPrinter& printer) override;
    void preview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    QWidget* m_parent;
};

// The family the sheet is printed in, chosen from the installed families:
// "Monospac821 BT" when installed (any letter case), else "Courier New" (any
// letter case), each in the spelling installed; empty when neither is, meaning
// the system's fixed-pitch font.
QString reportFamily(const QStringList& installedFamilies);
// That font at 8 points.
QFont reportFont();

// Gives the time for each page's heading.
using Clock = std::function<QDateTime()>;

// One print job of the sheet. The steps are apart so that the print command can
// run each through its error trap: start, page 0, page 1 (which begins a new
// sheet first), finish. A destroyed job ends what it started.
class SheetJob {
public:
    SheetJob(QPrinter& printer, const ParameterSet& params, const Header& header, Clock now);
    ~SheetJob();
    SheetJob(const SheetJob&) = delete;
    SheetJob& operator=(const SheetJob&) = delete;

    StepError start();
    StepError printPage(int index);
    StepError finish();
    // True between a successful start and finish; pages can be printed.
    bool active() const;
    static constexpr int kPageCount = 2;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The whole job without asking anybody: empty on success, else what went wrong.
QString printReport(QPrinter& printer, const ParameterSet& params, const Header& header,
                    const Clock& now = &QDateTime::currentDateTime);

// File > Print Setup: the system's printer dialog on the window's printer. Where
// no printer is installed it says so and offers a PDF file instead. True when the
// printer was changed.
bool printSetup(QPrinter& printer, Prompter& prompter, PrintDialogs& dialogs, const QString& dataFolder = QString());

// A PDF file name in `folder` for a report printed on `date` that no file has yet.
QString freshPdfName(const QString& folder, const QDate& date);

// What the print commands need beside the parameter store.
struct PrintContext {
    QString companyName;
    QString firmwareID;
    Clock now = &QDateTime::currentDateTime;
    // Where the data files are kept: a PDF report is first suggested there.
    QString folder;
};

// The report's document name (a PDF's title, a print job's name): the program's
// and the data's, "Revora Shift Parameters - car.dat".
QString documentTitle(const ParameterStore& store);

// File > Print Parameters: refuses an empty buffer, asks for the optional comment,
// then prints both pages on `printer`; failures go through the error prompt.
void printParameters(const ParameterStore& store, Prompter& prompter, PrintDialogs& dialogs, QPrinter& printer,
                     const PrintContext& context);

// File > Print Preview: the same questions, then the sheet in the preview, from
// where it can be printed on `printer`.
void previewParameters(const ParameterStore& store, Prompter& prompter, PrintDialogs& dialogs, QPrinter& printer,
                       const PrintContext& context);

}  // namespace report
