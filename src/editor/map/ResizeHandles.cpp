#include "editor/map/ResizeHandles.h"

#include <cmath>

namespace ResizeHandles {

namespace {

// Where a handle lies across the rectangle, 0, 0.5 or 1 of its width and height.
QPointF fraction(Handle handle)
{
    constexpr double X[Count] = {0, 0.5, 1, 1, 1, 0.5, 0, 0};
    constexpr double Y[Count] = {0, 0, 0, 0.5, 1, 1, 1, 0.5};
    return QPointF(X[handle], Y[handle]);
}

} // namespace

QPointF position(const QRectF &rect, Handle handle)
{
    const QPointF f = fraction(handle);
    return QPointF(rect.left() + f.x() * rect.width(), rect.top() + f.y() * rect.height());
}

std::optional<Handle> at(const QRectF &rect, QPointF point, double reach)
{
    for (int h = Count - 1; h >= 0; --h) {
        const QPointF d = position(rect, Handle(h)) - point;
        if (std::abs(d.x()) <= reach && std::abs(d.y()) <= reach)
            return Handle(h);
    }
    return std::nullopt;
}

QRectF resized(const QRectF &rect, Handle handle, QPointF point)
{
    const QPointF f = fraction(handle);
    QRectF r = rect;
    if (f.x() == 0)
        r.setLeft(point.x());
    else if (f.x() == 1)
        r.setRight(point.x());
    if (f.y() == 0)
        r.setTop(point.y());
    else if (f.y() == 1)
        r.setBottom(point.y());
    return r.normalized();
}

Qt::CursorShape cursor(Handle handle)
{
    switch (handle) {
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeBDiagCursor;
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    default:
        return Qt::SizeHorCursor;
    }
}

} // namespace ResizeHandles
