#pragma once
// What the map canvas shows of the document: the world on its ground (with
// the grid while snapping is on), and over it the marks of the selection and
// the preview of a drag. The window and the tools change what shows through
// it.
//
// One selected item is marked by the marker overlay and, while placing, an
// item placed at a point also by the drag handle; several are each outlined
// on the map; a lone rectangle selected with the select tool is outlined
// with its eight resize handles. While items are dragged the map is drawn without them, and
// they are drawn, and marked, where they would go.

#include "core/library/Footprint.h"
#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"

#include <QRectF>

#include <functional>
#include <optional>
#include <vector>

class DragHandle;
class MapCanvas;
class MapOverlay;
class QPainter;
class QTransform;

class MapLayers {
public:
    MapLayers(MapCanvas &canvas, MapOverlay &marker, DragHandle &handle, WorldDocument &document,
              const std::vector<ShapeInfo> &shapes);

    void setGrid(double size);         // map units; 0: none. Redraws the map.
    void setSelecting(bool selecting); // the select tool is active
    void markSelection();              // marks what the document has selected
    void hideMarks();

    // Items dragged: lifted off the map, drawn as the records say (the start
    // marker at start, if given) and marked there.
    void preview(const ItemRefs &lifted, std::vector<AnyItem> records,
                 std::optional<QPointF> start = std::nullopt);
    // The same for items (the start position too) moved by the offset.
    void previewMove(const ItemRefs &items, QPointF offset);
    bool previewing() const { return !m_lifted.empty(); }
    // Ends a preview, with the command that makes it so (a move, a resize) or
    // none (cancelled): either way every item is back on the map.
    void endPreview(const std::function<void()> &command = {});
    // The rectangle whose resize handles show, if one does.
    std::optional<QRectF> resizable() const { return m_resizable; }

private:
    void mark(const std::vector<Footprint> &footprints);
    void paintOver(QPainter &painter, const QTransform &mapToDevice) const;

    MapCanvas &m_canvas;
    MapOverlay &m_marker;
    DragHandle &m_handle;
    WorldDocument &m_document;
    const std::vector<ShapeInfo> &m_shapes;
    double m_grid = 0;
    bool m_selecting = false;
    ItemRefs m_lifted;
    std::vector<AnyItem> m_records;
    std::optional<QPointF> m_start;
    std::vector<QRectF> m_outlines; // several items marked
    std::optional<QRectF> m_resizable;
};
