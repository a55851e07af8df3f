#pragma once
// General colour helper shared by the map and the export.

#include <QString>
#include <cstdint>

// "#RRGGBB" in upper-case hexadecimal. Only the low 24 bits count, so values
// outside the colour range (negative ones included) still give a colour.
QString HexColor(int32_t color);
