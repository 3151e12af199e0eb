#include "report/compare.h"

namespace report {

Comparison compare(const ImageBuffer& leftImage, const ParameterSet& left, const ImageBuffer& rightImage,
                   const ParameterSet& right)
{
    Comparison result;
    // Bits of each byte that a listed parameter already accounts for.
    uint8_t explained[kImageSize] = {};
    // One list per side, parameter for parameter in the same order.
    const QList<Entry> l = entries(left);
    const QList<Entry> r = entries(right);
    for (int i = 0; i < l.size(); ++i) {
        // Two values that show alike are no row: a user text that differs in its
        // padding or in a dropped byte is left to the byte lines below.
        if (l[i].shown == r[i].shown)
            continue;
        result.parameters << Difference{l[i].name, l[i].section, l[i].label, l[i].unit, l[i].shown, r[i].shown};
        for (int offset : l[i].offsets)
            explained[offset] |= l[i].bits;
    }
    for (int offset = kConfigFirst; offset <= kConfigLast; ++offset) {
        const uint8_t x = leftImage.EEPROMBuffer[offset], y = rightImage.EEPROMBuffer[offset];
        if ((x ^ y) & ~explained[offset] & 0xFF)
            result.bytes << ByteDifference{offset, x, y};
    }
    return result;
}

QStringList differenceLines(const Comparison& comparison, const std::function<QString(int)>& offsetName)
{
    QStringList lines;
    for (const Difference& d : comparison.parameters)
        lines << QStringLiteral("%1: %2 -> %3").arg(d.label, d.left, d.right);
    for (const ByteDifference& b : comparison.bytes) {
        const QString where = offsetName ? QStringLiteral("Offset %1 (%2)").arg(b.offset).arg(offsetName(b.offset))
                                         : QStringLiteral("Offset %1").arg(b.offset);
        lines << QStringLiteral("%1: %2 -> %3").arg(where).arg(b.left).arg(b.right);
    }
    return lines;
}

}  // namespace report
