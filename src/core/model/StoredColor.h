#pragma once
// A colour as world files, the library and the records hold it: one int32,
// red + 256 * green + 65536 * blue. Only the low 24 bits count when a value is
// read back, so any value (negative ones included) is some colour.

#include <QColor>
#include <cstdint>

namespace StoredColor {

constexpr int32_t fromRgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

constexpr int red(int32_t stored) { return int(uint32_t(stored) & 0xFFu); }
constexpr int green(int32_t stored) { return int((uint32_t(stored) >> 8) & 0xFFu); }
constexpr int blue(int32_t stored) { return int((uint32_t(stored) >> 16) & 0xFFu); }

inline int32_t fromQColor(const QColor &color)
{
    return fromRgb(color.red(), color.green(), color.blue());
}

inline QColor toQColor(int32_t stored)
{
    return QColor(red(stored), green(stored), blue(stored));
}

} // namespace StoredColor
