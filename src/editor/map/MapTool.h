#pragma once
// What the mouse does on the map. The canvas hands its presses, moves and
// releases to the active tool in map units (beyond 0..100 when a drag leaves
// the map), with the keys held, and the keys pressed while the map has the
// focus. A tool shows what it needs on the map while it is active and clears
// it away when it is deactivated.

#include <QPointF>
#include <QString>
#include <Qt>

#include <optional>

class MapTool {
public:
    virtual ~MapTool() = default;

    virtual void activate() = 0;
    virtual void deactivate() = 0;

    virtual void mousePressed(Qt::MouseButton button, QPointF point,
                              Qt::KeyboardModifiers modifiers) = 0;
    virtual void mouseMoved(QPointF point, Qt::KeyboardModifiers modifiers) = 0;
    virtual void mouseReleased(Qt::MouseButton button, QPointF point,
                               Qt::KeyboardModifiers modifiers) = 0;
    virtual void mouseLeft() = 0; // the pointer left the map
    // True when the tool used the key; else it goes on to the map's frame.
    virtual bool keyPressed(int key) = 0;

    // The status bar's text: the pointer's map position while it is over the
    // map, then what the tool will do ("12.5, 40.0    Click to place Table").
    static QString statusText(const std::optional<QPointF> &pointer, const QString &hint);
};
