#pragma once
// What the mouse does on the map. The canvas hands its presses, moves and
// releases to the active tool in map units (beyond 0..100 when a drag leaves
// the map). A tool shows what it needs on the map while it is active and
// clears it away when it is deactivated.

#include <QPointF>
#include <Qt>

class MapTool {
public:
    virtual ~MapTool() = default;

    virtual void activate() = 0;
    virtual void deactivate() = 0;

    virtual void mousePressed(Qt::MouseButton button, QPointF point) = 0;
    virtual void mouseMoved(QPointF point) = 0;
    virtual void mouseReleased(Qt::MouseButton button, QPointF point) = 0;
    virtual void mouseLeft() = 0; // the pointer left the map
};
