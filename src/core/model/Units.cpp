#include "core/model/Units.h"

#include "core/model/NumberText.h"

#include <cmath>

namespace Units {

std::optional<float> fromFeet(const QString &typed, const QLocale &locale)
{
    const std::optional<double> feet = NumberText::toDouble(typed, locale);
    if (!feet)
        return std::nullopt;
    const auto units = static_cast<float>(*feet / FeetPerUnit);
    if (!std::isfinite(units))
        return std::nullopt;
    return units;
}

QString toFeet(float units)
{
    const double feet = double(units) * FeetPerUnit;
    const auto single = static_cast<float>(feet);
    // A length near the Single's limit (a damaged file) overflows as feet.
    return std::isfinite(single) ? NumberText::userSingle(single) : NumberText::userDouble(feet);
}

} // namespace Units
