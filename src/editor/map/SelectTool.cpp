#include "editor/map/SelectTool.h"

#include "core/library/Footprint.h"
#include "core/model/ItemEdits.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapLayers.h"
#include "editor/map/MapOverlay.h"
#include "editor/map/Snap.h"

#include <QApplication>
#include <QLineF>

#include <algorithm>

namespace {

bool holds(const ItemRefs &items, const ItemRef &item)
{
    return std::binary_search(items.begin(), items.end(), item);
}

} // namespace

SelectTool::SelectTool(WorldDocument &document, const std::vector<ShapeInfo> &shapes,
                       const Snap &snap, MapCanvas *canvas, MapLayers &layers, QObject *parent)
    : QObject(parent), m_document(document), m_shapes(shapes), m_snap(snap), m_canvas(canvas),
      m_layers(layers), m_box(new MapOverlay(canvas, MapOverlay::Look::Band))
{
    m_box->setObjectName(QStringLiteral("shpSelectBox"));
}

void SelectTool::activate()
{
    m_layers.setSelecting(true);
    updateStatus();
}

void SelectTool::deactivate()
{
    cancel();
    m_layers.setSelecting(false);
    m_canvas->unsetCursor();
    m_pointer.reset();
}

void SelectTool::mousePressed(Qt::MouseButton button, QPointF point,
                              Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton || m_drag != Drag::None)
        return;
    m_pressed = point;
    m_adding = modifiers & Qt::ControlModifier;
    const ItemRefs &selection = m_document.selection();
    if (const auto handle = handleAt(point); handle && !m_adding) {
        m_drag = Drag::Resizing;
        m_taken = selection.front();
        m_handle = *handle;
        m_resizedFrom = *m_layers.resizable();
        m_resized.reset();
        return;
    }
    const std::optional<MapItem> hit =
        itemAt(m_document.world(), m_shapes, point, m_canvas->hitSlack());
    if (!hit) {
        m_drag = Drag::Box;
        m_box->setMapRect(QRectF(point, point));
        m_box->show();
        m_box->raise();
    } else if (m_adding) {
        ItemRefs toggled = selection;
        if (holds(toggled, *hit))
            toggled.erase(std::lower_bound(toggled.begin(), toggled.end(), *hit));
        else
            toggled.push_back(*hit);
        m_document.setSelection(toggled);
    } else {
        if (!holds(selection, *hit))
            m_document.setSelection({*hit});
        m_drag = Drag::Pending;
        m_taken = *hit;
    }
    updateStatus();
}

void SelectTool::mouseMoved(QPointF point, Qt::KeyboardModifiers modifiers)
{
    m_pointer = point;
    if (m_drag == Drag::Pending) {
        // A small slip of the hand is still a click.
        const double pixels = QLineF(m_pressed, point).length() / m_canvas->unitsPerPixel();
        if (pixels >= QApplication::startDragDistance())
            m_drag = Drag::Moving;
    }
    if (m_drag == Drag::Box)
        m_box->setMapRect(QRectF(m_pressed, point));
    else if (m_drag == Drag::Moving || m_drag == Drag::Resizing)
        preview(point, modifiers);
    else if (m_drag == Drag::None)
        showCursor(point);
    updateStatus();
}

void SelectTool::preview(QPointF point, Qt::KeyboardModifiers modifiers)
{
    if (m_drag == Drag::Resizing) {
        const QRectF r =
            ResizeHandles::resized(m_resizedFrom, m_handle, m_snap.point(point, modifiers));
        const std::optional<AnyItem> record = m_document.item(m_taken.kind, m_taken.index);
        if (!record || !std::holds_alternative<CubeInfo>(*record))
            return;
        m_resized = std::get<CubeInfo>(*record);
        m_resized->X1 = float(r.left());
        m_resized->X2 = float(r.right());
        m_resized->Y1 = float(r.top());
        m_resized->Y2 = float(r.bottom());
        m_layers.preview({m_taken}, {*m_resized});
        return;
    }
    // The item taken lands on the grid; the others keep their distance to it.
    const std::optional<AnyItem> taken = m_document.item(m_taken.kind, m_taken.index);
    const QPointF anchor =
        taken ? ItemEdits::extent(*taken).topLeft()
              : QPointF(m_document.world().StartPosX, m_document.world().StartPosY);
    m_offset = m_snap.offset(anchor, point - m_pressed, modifiers);
    m_layers.previewMove(m_document.selection(), m_offset);
}

void SelectTool::mouseReleased(Qt::MouseButton button, QPointF point,
                               Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton)
        return;
    const Drag drag = m_drag;
    m_drag = Drag::None;
    switch (drag) {
    case Drag::Pending: // a click on a selected item: it alone, unless adding
        m_document.setSelection({m_taken});
        break;
    case Drag::Moving:
        preview(point, modifiers);
        m_layers.endPreview([this] { m_document.move(m_document.selection(), m_offset); });
        break;
    case Drag::Resizing:
        if (!m_resized)
            break; // no move, no change
        m_layers.endPreview(
            [this] { m_document.change(m_taken.index, *m_resized, QStringLiteral("Resize")); });
        break;
    case Drag::Box: {
        m_box->hide();
        ItemRefs items = itemsIn(m_document.world(), m_shapes, QRectF(m_pressed, point));
        if (m_adding)
            items.insert(items.end(), m_document.selection().begin(), m_document.selection().end());
        m_document.setSelection(items);
        break;
    }
    case Drag::None:
        break;
    }
    showCursor(point);
    updateStatus();
}

void SelectTool::mouseLeft()
{
    m_pointer.reset();
    updateStatus();
}

bool SelectTool::keyPressed(int key)
{
    if (key != Qt::Key_Escape || m_drag == Drag::None)
        return false;
    cancel();
    updateStatus();
    return true;
}

void SelectTool::cancel()
{
    if (m_drag == Drag::Moving || m_drag == Drag::Resizing)
        m_layers.endPreview();
    m_box->hide();
    m_drag = Drag::None;
}

std::optional<ResizeHandles::Handle> SelectTool::handleAt(QPointF point) const
{
    // The resizable rectangle is the lone selected item's.
    const std::optional<QRectF> rectangle = m_layers.resizable();
    if (!rectangle || m_document.selection().size() != 1)
        return std::nullopt;
    return ResizeHandles::at(*rectangle, point,
                             ResizeHandles::SidePx / 2 * m_canvas->unitsPerPixel());
}

void SelectTool::showCursor(QPointF point)
{
    if (const auto handle = handleAt(point)) {
        m_canvas->setCursor(ResizeHandles::cursor(*handle));
        return;
    }
    const std::optional<MapItem> hit =
        itemAt(m_document.world(), m_shapes, point, m_canvas->hitSlack());
    if (hit && holds(m_document.selection(), *hit))
        m_canvas->setCursor(Qt::SizeAllCursor);
    else
        m_canvas->unsetCursor();
}

void SelectTool::updateStatus()
{
    QString hint;
    switch (m_drag) {
    case Drag::Moving:
        hint = tr("Moving: release to drop, Esc to cancel, Alt to ignore the grid");
        break;
    case Drag::Resizing:
        hint = tr("Resizing: release to drop, Esc to cancel, Alt to ignore the grid");
        break;
    case Drag::Box:
        hint = tr("Selecting everything the box touches: Esc to cancel");
        break;
    default:
        hint = tr("Click to select, Ctrl+click to add or take out, drag a box round several");
        break;
    }
    emit statusChanged(statusText(m_pointer, hint));
}
