#pragma once
// Lengths the user types and reads in feet. The world stores map units, and
// one map unit is 12 feet.

#include <QLocale>
#include <QString>

#include <optional>

namespace Units {

constexpr double FeetPerUnit = 12;
// The land is 100 map units square: no picture can be larger, or stand higher.
constexpr double WorldFeet = 100 * FeetPerUnit;

// A typed length in map units: the number in the user's number format (the
// same spellings NumberText reads), divided by 12 in double precision and
// kept as a Single. Nothing when the text is not a number or the result is
// no finite Single: "1E+40" feet would be stored as infinity.
std::optional<float> fromFeet(const QString &typed, const QLocale &locale = QLocale());

// A stored length shown in feet: the Single value of units x 12, up to seven
// significant digits, with the user's decimal separator.
QString toFeet(float units);

} // namespace Units
