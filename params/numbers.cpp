#include "params/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace numbers {

namespace {

// The window takes its locale from the environment at start-up, and with it a
// decimal comma for strtod and printf in many countries: "9.9" would read as 9.
// Numbers here always use the point, so they are read and printed with
// from_chars and to_chars, which know no locale (and no per-thread locale
// switching is needed, which Windows' C library would do differently).

// Where the first significant digit of mantissa x 10^exponent stands: > 0 for a
// number of 1 or more, <= 0 below. Only asked for a number out of range, so a
// saturated exponent still tells huge from tiny.
long long leadingDigitPower(const std::string& mantissa, long long exponent)
{
    long long integerDigits = 0;  // significant digits before the point
    long long leadingZeros = 0;   // zeros after the point before the first significant digit
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (!afterPoint) {
            if (c != '0' || integerDigits > 0)
                ++integerDigits;
        } else if (integerDigits > 0) {
            break;
        } else if (c != '0') {
            return exponent - leadingZeros;
        } else {
            ++leadingZeros;
        }
    }
    return exponent + integerDigits;
}

// The leading number of a text as strtod takes it, and where reading stopped.
// The sign stands apart from the digits, as from_chars takes no '+'.
struct LeadingNumber {
    std::string text;
    bool negative = false;
    long long exponent = 0;
    QByteArray rest;
};

LeadingNumber scanLeadingNumber(const QString& text)
{
    const QByteArray s = text.toLatin1();
    int i = 0;
    const int n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    LeadingNumber number;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        number.negative = s[i++] == '-';
    std::string& num = number.text;
    for (bool point = false; i < n; ++i) {
        const char c = s[i];
        if ((c < '0' || c > '9') && (c != '.' || point))
            break;
        point = point || c == '.';
        num += c;
    }
    // What has no digits reads as 0, and an exponent counts only when digits
    // follow it ("4e" reads as 4), as strtod reads them.
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        if (i < n && s[i] >= '0' && s[i] <= '9') {
            num += negativeExponent ? "e-" : "e";
            for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i) {
                num += s[i];
                number.exponent = std::min(number.exponent * 10 + (s[i] - '0'), 1000000000LL);
            }
            if (negativeExponent)
                number.exponent = -number.exponent;
        }
    }
    number.rest = s.mid(i);
    return number;
}

}  // namespace

double readLeadingNumber(const QString& text)
{
    const LeadingNumber number = scanLeadingNumber(text);
    const std::string& num = number.text;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(num.data(), num.data() + num.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // A huge number reads as the largest finite value, never as infinity (the
        // field rules clamp it to their maximum); a tiny one reads as 0.
        const std::string mantissa = num.substr(0, num.find('e'));
        v = leadingDigitPower(mantissa, number.exponent) > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc()) {
        return 0.0;  // no digits
    }
    return number.negative ? -v : v;
}

bool stopsAtDecimalComma(const QString& text)
{
    const QByteArray rest = scanLeadingNumber(text).rest;
    return rest.size() >= 2 && rest[0] == ',' && rest[1] >= '0' && rest[1] <= '9';
}

double wholePart(double v) { return std::floor(v); }

double roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff < 0.5)
        return f;
    if (diff > 0.5)
        return f + 1.0;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

namespace {

// The decimal digits of |v| as printed with 15 significant digits, and the power
// of ten of the first digit: v = 0.d1d2d3... x 10^exp10.
struct Decimal {
    std::string digits;
    int exp10 = 0;
};

Decimal toDecimal(double v)
{
    char buf[64];
    const auto printed = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, 14);
    *printed.ptr = '\0';
    // buf = "d.dddddddddddddde[+-]xx"
    Decimal d;
    d.digits += buf[0];
    int k = 2;
    while (buf[k] != 'e')
        d.digits += buf[k++];
    d.exp10 = std::atoi(buf + k + 1) + 1;
    return d;
}

// Rounds |v| to `decimals` places, half away from zero on the decimal digits, and
// returns the integer and fraction digit strings.
void roundDecimal(double v, int decimals, std::string* intPart, std::string* fracPart)
{
    Decimal d = toDecimal(v);
    if (v == 0.0) {
        *intPart = "0";
        *fracPart = std::string(decimals, '0');
        return;
    }
    // All digits as a fixed string with `decimals` places plus one guard digit.
    // digit i (0-based) has weight 10^(exp10 - 1 - i).
    const int keep = d.exp10 + decimals;  // digits kept before the guard digit
    std::string kept;
    int guard = 0;
    if (keep < 0) {
        kept = "";
    } else {
        for (int i = 0; i < keep; ++i)
            kept += i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0';
        if (keep < static_cast<int>(d.digits.size()))
            guard = d.digits[keep] - '0';
    }
    if (guard >= 5) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i >= 0)
            kept[i] = static_cast<char>(kept[i] + 1);
        else
            kept.insert(kept.begin(), '1');
    }
    // Pad on the left so that there is at least one integer digit.
    while (static_cast<int>(kept.size()) < decimals + 1)
        kept.insert(kept.begin(), '0');
    *intPart = kept.substr(0, kept.size() - decimals);
    *fracPart = kept.substr(kept.size() - decimals);
    const size_t nz = intPart->find_first_not_of('0');
    *intPart = nz == std::string::npos ? "0" : intPart->substr(nz);
}

}  // namespace

QString format(double v, const QString& pattern)
{
    // No field or report value can be infinite; should one ever be, it prints as a
    // word rather than as digits of nothing.
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    const int pointAt = pattern.indexOf(QLatin1Char('.'));
    const QString intPattern = pointAt < 0 ? pattern : pattern.left(pointAt);
    const QString fracPattern = pointAt < 0 ? QString() : pattern.mid(pointAt + 1);
    const int intMin = intPattern.count(QLatin1Char('0'));
    const int fracMin = fracPattern.count(QLatin1Char('0'));
    const int fracMax = fracPattern.size();

    std::string ip, fp;
    roundDecimal(v, fracMax, &ip, &fp);
    // Optional decimals ('#') drop their trailing zeros.
    while (static_cast<int>(fp.size()) > fracMin && !fp.empty() && fp.back() == '0')
        fp.pop_back();
    if (ip == "0" && intMin == 0)
        ip.clear();
    while (static_cast<int>(ip.size()) < intMin)
        ip.insert(ip.begin(), '0');

    const bool zero = ip.find_first_not_of('0') == std::string::npos && fp.find_first_not_of('0') == std::string::npos;
    QString out;
    if (v < 0 && !zero)
        out += QLatin1Char('-');
    out += QString::fromStdString(ip);
    if (pointAt >= 0) {
        out += QLatin1Char('.');
        out += QString::fromStdString(fp);
    }
    return out;
}

}  // namespace numbers
