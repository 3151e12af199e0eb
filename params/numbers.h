#pragma once
// Number rules shared by every editor, the decoder and the report.
#include <QString>
#include <cstdint>

namespace numbers {

// Reads the leading number of a field's text: leading blanks skipped, an optional
// sign, digits with at most one decimal point, an optional exponent; reading stops
// at the first character that cannot continue the number. No number reads as 0.
double readLeadingNumber(const QString& text);

// Whether that reading stops at a comma with a digit after it ("1,2", "6,500", ",5").
// Such a comma is a decimal comma or a thousands separator; the number before it
// is not what the person meant, so the fields refuse the text rather than take it.
bool stopsAtDecimalComma(const QString& text);

// Whole part: towards minus infinity (6500.9 -> 6500, -0.5 -> -1).
double wholePart(double v);

// Round to the nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Every stored value derived from a typed or computed one goes through this.
double roundHalfEven(double v);

// Formats v by a display pattern: "0", "#0", "##0", "###0", "####0", "0.0", "0.#",
// "0.00", "#0.0", "#0.00" and the like. '0' is a digit always shown, '#' a digit
// shown only when significant. Ties round away from zero, on the decimal value
// the number prints as (15 significant digits), as a person reading it expects.
// A pattern with a point always prints the point ("5." under "0.#"). Infinity and
// NaN print as "Infinity", "-Infinity" and "NaN".
QString format(double v, const QString& pattern);

}  // namespace numbers
