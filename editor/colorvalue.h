#pragma once
// The controller keeps a colour as one 24-bit value with red in the low byte,
// green in the middle and blue in the high byte. These two turn it into a QColor
// and back; bits above the low 24 are dropped on the way in.
#include <QColor>
#include <cstdint>

inline QColor colorFromValue(uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline uint32_t valueFromColor(const QColor& c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}
