#pragma once
// The drag handle laid over the selected movable item, Image1. A press on it
// grabs it at that point; moving the pointer drags it over the map, and the
// release drops it with its top-left at the pointer less the grab offset,
// wherever that is (over the map, or over the handle's old place after a
// short move). Escape during the drag puts it back. Its tool tip names the
// item, as the map's does, and says what a drag does.

#include "editor/map/MapOverlay.h"

class DragHandle : public MapOverlay {
    Q_OBJECT

public:
    explicit DragHandle(MapCanvas *canvas);

    void cancelDrag();

signals:
    void hovered(); // the pointer moves over the handle
    void dragStarted();
    void dragMoved(const QRectF &rect); // the handle's place, map units
    void dropped(const QRectF &rect);
    void dragCancelled();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override; // Escape while dragging

private:
    QPointF mapPoint(const QPointF &pixel) const; // a point of this widget, in map units
    QRectF placeFor(const QPointF &pixel) const;  // the handle grabbed, with the pointer there

    // Where the handle was (or will be) grabbed, from its top-left corner, in map units.
    QPointF m_grabOffset;
    QRectF m_before; // where the drag began
    bool m_dragging = false;
    bool m_moved = false;
};
