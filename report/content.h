#pragma once
// The printed parameter report as lines of text. The printer layer places each
// piece at its column (counted in character widths of the report's monospaced
// font); the command-line tool renders the same lines with spaces.
#include "params/paramset.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

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

// One parameter as every view shows it: the printed line, the command line's
// JSON and both compares read these fields, never the printed text.
struct Entry {
    QString name;     // the key: the parameter's name ("ShiftRPM3"; a switch as
                      // "<flag byte>.<Boolean>", "OptionFlags.MultiStageShift")
    QString section;  // the heading it belongs under ("Shift Light Setup")
    QString label;    // without a colon: "Gear 3 Shift RPM"; a switch or input line,
                      // which prints no label, has one all the same ("Alarm 1 Enable")
    QString unit;     // "RPM", "volts", "%", "sec", "MPH", "Hz", "ms", "pulses/rev",
                      // "RGB"; empty for switches, inputs and the user text
    QVariant value;   // in user units: a number as printed (double), a switch (bool),
                      // an input or the user text (QString), a colour (red, green, blue)
    QString text;     // as printed: the value column, or the whole switch or input line
    QString shown;    // the value in a comparison: the number, "Enabled" or "Disabled",
                      // the input, the colour, the user text in quotes without padding
    bool wholeLine = false;  // printed as `text` alone (switches, inputs)
    QList<int> offsets;      // the image offsets the value comes from
    uint8_t bits = 0xFF;     // the bits of those bytes it comes from (flag bytes hold several)
};

// Every parameter of the set in report order, the user text first. Parameters the
// report derives from others (the TPS counts behind their percents) are not listed;
// their bytes are in `offsets`.
QList<Entry> entries(const ParameterSet& params);

}  // namespace report
