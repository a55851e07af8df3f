#include "editor/map/Snap.h"

#include <cmath>

QPointF Snap::point(QPointF p, Qt::KeyboardModifiers modifiers) const
{
    if (!applies(modifiers))
        return p;
    return QPointF(std::round(p.x() / size) * size, std::round(p.y() / size) * size);
}

QPointF Snap::offset(QPointF anchor, QPointF raw, Qt::KeyboardModifiers modifiers) const
{
    return applies(modifiers) ? point(anchor + raw, modifiers) - anchor : raw;
}
