#include "core/model/ItemEdits.h"

#include <array>

namespace ItemEdits {

AnyItem translated(AnyItem record, QPointF offset)
{
    const auto dx = offset.x();
    const auto dy = offset.y();
    std::visit(
        [dx, dy](auto &item) {
            if constexpr (std::is_same_v<std::decay_t<decltype(item)>, CubeInfo>) {
                item.X1 = float(item.X1 + dx);
                item.X2 = float(item.X2 + dx);
                item.Y1 = float(item.Y1 + dy);
                item.Y2 = float(item.Y2 + dy);
            } else {
                item.X = float(item.X + dx);
                item.Y = float(item.Y + dy);
            }
        },
        record);
    return record;
}

bool turns(const AnyItem &record) { return !std::holds_alternative<CubeInfo>(record); }

AnyItem turned(AnyItem record, bool clockwise)
{
    // Clockwise on the map: facing down (forward), left, up (backward), right.
    constexpr std::array<float, 4> Round = {Rotation::Forward, Rotation::Left, Rotation::Backward,
                                            Rotation::Right};
    std::visit(
        [clockwise, &Round](auto &item) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(item)>, CubeInfo>) {
                size_t at = 0;
                while (at < Round.size() && Round[at] != item.Rotation)
                    ++at;
                at = at % Round.size(); // none of the four: as facing down
                item.Rotation = Round[(at + (clockwise ? 1 : Round.size() - 1)) % Round.size()];
            }
        },
        record);
    return record;
}

QRectF extent(const AnyItem &record)
{
    return std::visit(
        [](const auto &item) {
            if constexpr (std::is_same_v<std::decay_t<decltype(item)>, CubeInfo>)
                return QRectF(QPointF(item.X1, item.Y1), QPointF(item.X2, item.Y2)).normalized();
            else
                return QRectF(item.X, item.Y, 0, 0);
        },
        record);
}

} // namespace ItemEdits
