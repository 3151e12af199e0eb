#include "report/compare.h"

namespace report {

namespace {
QString shown(const Entry& e)
{
    return e.name == QLatin1String("UserData") ? QLatin1Char('"') + e.value + QLatin1Char('"') : e.value;
}
}  // namespace

Comparison compare(const ImageBuffer& leftImage, const ParameterSet& left, const ImageBuffer& rightImage,
                   const ParameterSet& right)
{
    Comparison result;
    // Bits of each byte that a listed parameter already accounts for.
    uint8_t explained[kImageSize] = {};
    const QList<Entry> l = entries(left);
    const QList<Entry> r = entries(right);
    for (int i = 0; i < l.size() && i < r.size(); ++i) {
        if (l[i].value == r[i].value)
            continue;
        result.parameters << Difference{l[i].name, l[i].label, shown(l[i]), shown(r[i])};
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
    for (const Difference& d : comparison.parameters) {
        const QString change = d.left + QStringLiteral(" -> ") + d.right;
        lines << (d.label.isEmpty() ? change : d.label + QLatin1Char(' ') + change);
    }
    for (const ByteDifference& b : comparison.bytes) {
        const QString where = offsetName ? QStringLiteral("Offset %1 (%2)").arg(b.offset).arg(offsetName(b.offset))
                                         : QStringLiteral("Offset %1").arg(b.offset);
        lines << QStringLiteral("%1: %2 -> %3").arg(where).arg(b.left).arg(b.right);
    }
    return lines;
}

}  // namespace report
