#pragma once
// The eight handles of a selected rectangle (a wall, a floor...): where they
// lie, which one the pointer is on, and what dragging one does.

#include <QRectF>
#include <Qt>

#include <optional>

namespace ResizeHandles {

// Clockwise from the top-left corner.
enum Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
constexpr int Count = 8;
constexpr double SidePx = 7; // the side of a handle's square on the screen

QPointF position(const QRectF &rect, Handle handle);
// The handle within reach of the point (its square's half side), nothing when
// none is; the last drawn (the left edge's) first where handles overlap.
std::optional<Handle> at(const QRectF &rect, QPointF point, double reach);
// The rectangle with the handle dragged to the point: a corner moves its two
// sides, an edge's handle its one side. Dragged past the opposite side, the
// rectangle turns round, so that it stays normalized.
QRectF resized(const QRectF &rect, Handle handle, QPointF point);
Qt::CursorShape cursor(Handle handle);

} // namespace ResizeHandles
