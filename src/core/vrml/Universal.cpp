#include "core/vrml/Universal.h"

QString HexColor(int32_t color)
{
    const auto rgb = uint32_t(color) & 0xFFFFFFu;
    const auto hex = [](uint32_t byte) {
        return QString::number(byte, 16).rightJustified(2, u'0').toUpper();
    };
    return QLatin1Char('#') + hex(rgb & 0xFF) + hex((rgb >> 8) & 0xFF) + hex(rgb >> 16);
}
