#pragma once
// The printed parameter report as lines of text. The printer layer places each
// piece at its column (counted in character widths of the report's monospaced
// font); the command-line tool renders the same lines with spaces.
#include "params/paramset.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

namespace report {

// Columns of the report, counted from 1 at the left edge of the printable area.
constexpr int kLabelColumn = 10;   // headings, switches and labels
constexpr int kIdentColumn = 30;   // values of the identification lines
constexpr int kValueColumn = 50;   // values of the parameter lines

// One piece of text that starts at a character column.
struct Piece {
    int column = kLabelColumn;
    QString text;
    bool operator==(const Piece&) const = default;
};

// A line of the report; no pieces is a blank line.
using Line = QList<Piece>;
using Page = QList<Line>;

// What the report prints beside the parameter set.
struct Header {
    QString companyName;  // the branding's company short name
    QString firmwareID;   // empty when the data did not come from a controller
    QString comment;      // empty: no comment line
    QDateTime printedAt;
    QLocale locale = QLocale::system();  // the date and time format of the heading
};

// The heading line's text: company, " Controller Data Printed: ", date and time in
// the locale's short date and long time (without a time zone).
QString headingText(const Header& header);

// The two pages, in print order. Both start with the heading line.
Page page1(const ParameterSet& params, const Header& header);
Page page2(const ParameterSet& params, const Header& header);
QList<Page> pages(const ParameterSet& params, const Header& header);

// The colour text of a colour line: red, green and blue, "255, 0, 0".
QString colorText(int32_t rgb);

// A line laid out with spaces: every piece starts at its column (at least one
// space after the text before it); blanks at the end of the line are dropped.
QString toPlainText(const Line& line);
// The pages one line after another, an empty line between the pages.
QString toPlainText(const QList<Page>& pages);

// One parameter as the report shows it, for comparisons.
struct Entry {
    QString name;      // the parameter's name ("ShiftRPM3"; flags as "OptionFlags.MultiStageShift")
    QString label;     // the report's label with its colon ("Gear 3 Shift RPM:"); empty for a
                       // switch line, whose value is the whole line ("GPO Enabled")
    QString value;     // the value in user units, as printed
    QList<int> offsets;  // the image offsets the value comes from
    uint8_t bits = 0xFF; // the bits of those bytes it comes from (flag bytes hold several)
};

// Every parameter of the set with its report label and user-unit text, in report
// order, plus the user text. Parameters the report derives from others (the TPS
// counts behind their percents) are not listed; their bytes are in `offsets`.
QList<Entry> entries(const ParameterSet& params);

}  // namespace report
