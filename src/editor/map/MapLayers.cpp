#include "editor/map/MapLayers.h"

#include "core/model/ItemEdits.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/MapPainter.h"
#include "editor/map/ResizeHandles.h"
#include "editor/palette/DragHandle.h"

#include <QPainter>

#include <cmath>

namespace {

// The pixels of a map rectangle, both corners' pixels included, as the
// overlays place themselves.
QRect pixelsOf(const QTransform &mapToDevice, const QRectF &rect)
{
    const QPointF a = mapToDevice.map(rect.topLeft());
    const QPointF b = mapToDevice.map(rect.bottomRight());
    return QRect(QPoint(int(std::lround(a.x())), int(std::lround(a.y()))),
                 QPoint(int(std::lround(b.x())), int(std::lround(b.y()))));
}

} // namespace

MapLayers::MapLayers(MapCanvas &canvas, MapOverlay &marker, DragHandle &handle,
                     WorldDocument &document, const std::vector<ShapeInfo> &shapes)
    : m_canvas(canvas), m_marker(marker), m_handle(handle), m_document(document), m_shapes(shapes)
{
    m_canvas.setDrawing([this](QPainter &painter, const QTransform &mapToDevice) {
        MapPainter::paintWorld(painter, mapToDevice, m_document.world(), m_shapes, m_lifted,
                               m_grid);
    });
    m_canvas.setFloating([this](QPainter &painter, const QTransform &mapToDevice) {
        paintOver(painter, mapToDevice);
    });
}

void MapLayers::setGrid(double size)
{
    if (size == m_grid)
        return;
    m_grid = size;
    m_canvas.redraw();
}

void MapLayers::setSelecting(bool selecting)
{
    m_selecting = selecting;
    markSelection();
}

void MapLayers::markSelection()
{
    std::vector<Footprint> footprints;
    for (const ItemRef &item : m_document.selection()) {
        if (const std::optional<Footprint> f = footprintOf(m_document.world(), item))
            footprints.push_back(*f);
    }
    mark(footprints);
}

void MapLayers::hideMarks() { mark({}); }

void MapLayers::mark(const std::vector<Footprint> &footprints)
{
    m_outlines.clear();
    m_resizable.reset();
    const Footprint *lone = footprints.size() == 1 ? &footprints.front() : nullptr;
    if (lone && m_selecting && !lone->atPoint)
        m_resizable = lone->markerRect().normalized();
    if (lone && !m_resizable) {
        m_marker.setMapRect(lone->markerRect());
        m_marker.show();
    } else {
        // Outlined on the map itself: under the resize handles, and cheap by the thousand.
        m_marker.hide();
        for (const Footprint &f : footprints)
            m_outlines.push_back(f.markerRect().normalized());
    }
    // A handle being dragged carries itself.
    if (!previewing()) {
        if (lone && lone->atPoint && !m_selecting) {
            m_handle.setMapRect(lone->markerRect());
            m_handle.show();
            m_handle.raise();
        } else {
            m_handle.hide();
        }
    }
    m_canvas.update();
}

void MapLayers::preview(const ItemRefs &lifted, std::vector<AnyItem> records,
                        std::optional<QPointF> start)
{
    const bool redraw = lifted != m_lifted;
    m_lifted = lifted;
    m_records = std::move(records);
    m_start = start;
    if (redraw)
        m_canvas.redraw(); // the map without them, once a drag
    std::vector<Footprint> footprints;
    for (const AnyItem &record : m_records)
        footprints.push_back(footprintOf(record));
    if (m_start)
        footprints.push_back(startFootprint(m_start->x(), m_start->y()));
    mark(footprints);
}

void MapLayers::previewMove(const ItemRefs &items, QPointF offset)
{
    const World &world = m_document.world();
    std::vector<AnyItem> records;
    std::optional<QPointF> start;
    for (const ItemRef &item : items) {
        if (item.kind == KindStart)
            start = QPointF(world.StartPosX, world.StartPosY) + offset;
        else if (const std::optional<AnyItem> record = m_document.item(item.kind, item.index))
            records.push_back(ItemEdits::translated(*record, offset));
    }
    preview(items, std::move(records), start);
}

void MapLayers::endPreview(const std::function<void()> &command)
{
    m_lifted.clear();
    m_records.clear();
    m_start.reset();
    const int before = m_document.undoStack().index();
    if (command)
        command(); // a command redraws the map and marks its items
    if (m_document.undoStack().index() == before) {
        m_canvas.redraw();
        markSelection();
    }
}

void MapLayers::paintOver(QPainter &painter, const QTransform &mapToDevice) const
{
    if (!m_records.empty() || m_start)
        MapPainter::paintItems(painter, mapToDevice, m_records, m_shapes, m_start);
    for (const QRectF &outline : m_outlines)
        MapOverlay::paintOutline(painter, pixelsOf(mapToDevice, outline));
    if (!m_resizable)
        return;
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    const double half = ResizeHandles::SidePx / 2;
    for (int h = 0; h < ResizeHandles::Count; ++h) {
        const QPointF at =
            mapToDevice.map(ResizeHandles::position(*m_resizable, ResizeHandles::Handle(h)));
        painter.drawRect(QRectF(at.x() - half, at.y() - half, ResizeHandles::SidePx - 1,
                                ResizeHandles::SidePx - 1)
                             .toAlignedRect());
    }
}
