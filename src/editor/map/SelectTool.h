#pragma once
// The map's tool for choosing and arranging what is placed. A click selects
// the topmost item under the pointer, Ctrl+click adds an item to the
// selection or takes it out, and a drag from empty ground selects every item
// its box touches. A drag on a selected item moves the whole selection, and
// a drag on a handle of a lone selected rectangle resizes it, the map showing
// the result as it goes; Escape cancels. Moves and resizes land on the grid
// while snapping is on, unless Alt is held. The selection is the document's;
// each move or resize is one of its commands.

#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"
#include "editor/map/MapTool.h"
#include "editor/map/ResizeHandles.h"

#include <QObject>

#include <optional>
#include <vector>

class MapCanvas;
class MapLayers;
class MapOverlay;
struct Snap;

class SelectTool : public QObject, public MapTool {
    Q_OBJECT

public:
    // The selection box lies on the canvas.
    SelectTool(WorldDocument &document, const std::vector<ShapeInfo> &shapes, const Snap &snap,
               MapCanvas *canvas, MapLayers &layers, QObject *parent = nullptr);

    void activate() override;
    void deactivate() override;
    void mousePressed(Qt::MouseButton button, QPointF point,
                      Qt::KeyboardModifiers modifiers) override;
    void mouseMoved(QPointF point, Qt::KeyboardModifiers modifiers) override;
    void mouseReleased(Qt::MouseButton button, QPointF point,
                       Qt::KeyboardModifiers modifiers) override;
    void mouseLeft() override;
    bool keyPressed(int key) override;

signals:
    void statusChanged(const QString &text); // the pointer's map position and what a click does

private:
    enum class Drag { None, Pending, Moving, Resizing, Box };

    void preview(QPointF point, Qt::KeyboardModifiers modifiers);
    void cancel();
    std::optional<ResizeHandles::Handle> handleAt(QPointF point) const;
    void showCursor(QPointF point);
    void updateStatus();

    WorldDocument &m_document;
    const std::vector<ShapeInfo> &m_shapes;
    const Snap &m_snap;
    MapCanvas *m_canvas;
    MapLayers &m_layers;
    MapOverlay *m_box;

    Drag m_drag = Drag::None;
    QPointF m_pressed; // where the drag began, map units
    ItemRef m_taken;   // the item pressed on, or the rectangle resized
    QPointF m_offset;  // what a move moves by
    ResizeHandles::Handle m_handle = ResizeHandles::TopLeft;
    QRectF m_resizedFrom;
    std::optional<CubeInfo> m_resized;
    bool m_adding = false; // Ctrl held at the press
    std::optional<QPointF> m_pointer;
};
