#pragma once
// Snapping to the map's grid: the one rule that placing, the rubber band,
// moves and resizes follow. Holding Alt ignores the grid.

#include <QPointF>
#include <Qt>

#include <array>

struct Snap {
    bool on = false;
    double size = 1; // map units between grid lines

    static constexpr std::array<double, 4> Sizes = {0.5, 1, 2, 5}; // the View menu's
    static constexpr double DefaultSize = 1;

    // Whether a pointer with these keys held snaps.
    bool applies(Qt::KeyboardModifiers modifiers) const
    {
        return on && size > 0 && !(modifiers & Qt::AltModifier);
    }
    // The nearest grid point, or the point itself when it does not snap.
    QPointF point(QPointF p, Qt::KeyboardModifiers modifiers) const;
    // The offset that takes anchor, moved by raw, to the nearest grid point:
    // what a drag moves items by, so that the item taken lands on the grid.
    QPointF offset(QPointF anchor, QPointF raw, Qt::KeyboardModifiers modifiers) const;
};
