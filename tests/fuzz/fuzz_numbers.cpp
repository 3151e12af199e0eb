// Any text through the number reader, and what it reads through every display pattern the
// program uses: no crash, and a shown number reads back within half a unit of its last digit.
#include "fuzzcheck.h"
#include "params/numbers.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const double v = numbers::readLeadingNumber(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!std::isfinite(v))
        return 0;
    const double whole = numbers::wholePart(v), rounded = numbers::roundHalfEven(v);
    FUZZ_EXPECT(std::fabs(v) >= 1e15 || (whole <= v && v < whole + 1 && std::fabs(rounded - v) <= 0.5 && rounded == std::floor(rounded)));
    for (const char* pattern : {"0", "#0", "##0", "###0", "####0", "0.0", "0.#", "0.00", "#0.0", "#0.00"}) {
        const QString shown = numbers::format(v, QString::fromLatin1(pattern));
        const char* point = std::strchr(pattern, '.');
        const double halfUnit = 0.5 * std::pow(10.0, point ? -int(std::strlen(point + 1)) : 0);
        FUZZ_EXPECT(!shown.isEmpty());
        FUZZ_EXPECT(std::fabs(v) >= 1e9 || std::fabs(numbers::readLeadingNumber(shown) - v) <= halfUnit * (1 + 1e-9) + 1e-9 * std::fabs(v));
    }
    return 0;
}
