// Any text through the number reader, and what it reads through every display
// pattern the program uses: no crash, and a shown number reads back as the value
// within half a unit of its last digit.
#include "fuzzcheck.h"
#include "params/numbers.h"

#include <QString>
#include <cmath>
#include <cstdint>

namespace {
struct Pattern {
    const char* text;
    int decimals;
};
const Pattern kPatterns[] = {{"0", 0},    {"#0", 0},   {"##0", 0},   {"###0", 0},  {"####0", 0},
                             {"0.0", 1},  {"0.#", 1},  {"0.00", 2},  {"#0.0", 1},  {"#0.00", 2}};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double v = numbers::readLeadingNumber(text);
    if (!std::isfinite(v))
        return 0;

    const double whole = numbers::wholePart(v);
    const double rounded = numbers::roundHalfEven(v);
    if (std::fabs(v) < 1e15) {
        FUZZ_EXPECT(whole <= v && v < whole + 1);
        FUZZ_EXPECT(std::fabs(rounded - v) <= 0.5 && rounded == std::floor(rounded));
    }

    for (const Pattern& pattern : kPatterns) {
        const QString shown = numbers::format(v, QString::fromLatin1(pattern.text));
        FUZZ_EXPECT(!shown.isEmpty());
        if (std::fabs(v) < 1e9) {
            const double back = numbers::readLeadingNumber(shown);
            const double halfUnit = 0.5 * std::pow(10.0, -pattern.decimals);
            FUZZ_EXPECT(std::fabs(back - v) <= halfUnit * (1 + 1e-9) + 1e-9 * std::fabs(v));
        }
    }
    return 0;
}
