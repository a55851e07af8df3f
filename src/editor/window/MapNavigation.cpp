// Getting about the map with the mouse: the wheel scrolls it (Shift+wheel
// sideways), Ctrl+wheel zooms keeping the point under the pointer where the
// scroll range allows, the right button opens the View menu, and resting the
// pointer on an item names it and says where it lies.

#include "editor/window/MainEditor.h"

#include "core/model/ItemEdits.h"
#include "core/model/NumberText.h"
#include "editor/map/MapCanvas.h"
#include "editor/map/MapScale.h"

#include <QMenu>
#include <QScrollBar>

namespace {

constexpr int PixelsPerNotch = 60; // three lines of twenty pixels
constexpr int NotchAngle = 120;    // eighths of a degree

} // namespace

void MainEditor::connectNavigation()
{
    connect(Picture1, &MapCanvas::wheelTurned, this, &MainEditor::Picture1_Wheel);
    connect(Picture1, &MapCanvas::rightClicked, this, [this](QPointF point) {
        mnuViewItem->popup(Picture1->mapToGlobal(Picture1->mapToPixels().map(point)).toPoint());
    });
    Picture1->setToolTipText([this](QPointF point) { return toolTipAt(point); });
}

void MainEditor::Picture1_Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPointF point)
{
    if (modifiers & Qt::ControlModifier) {
        if (angleDelta.y() == 0)
            return;
        const int32_t zoom = MapScale::nextZoom(world().Zoom, angleDelta.y() > 0);
        if (zoom == world().Zoom)
            return;
        const QPointF underPointer = Picture1->mapTo(Picture2, Picture1->mapToPixels().map(point));
        (zoom == 1 ? mnu100Item : zoom == 2 ? mnu200Item : mnu400Item)->trigger();
        MapScale::showPointAt(*Picture1, *HScroll1, *VScroll1, point, underPointer);
        return;
    }
    // Shift turns the wheel sideways; a wheel that turns sideways itself does too.
    const bool sideways = (modifiers & Qt::ShiftModifier) || angleDelta.y() == 0;
    const int delta = angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    QScrollBar *bar = sideways ? HScroll1 : VScroll1;
    bar->setValue(bar->value() - delta * PixelsPerNotch / NotchAngle);
}

QString MainEditor::toolTipAt(QPointF point) const
{
    if (Picture1->width() <= 0)
        return QString();
    const std::optional<MapItem> item = itemAt(world(), Shapes, point, Picture1->hitSlack());
    if (!item)
        return QString();
    // "Park Bench at 40, 30", "Wall from 10, 20 to 30, 45": the numbers as stored, to the
    // seven digits of a record's field.
    const auto at = [](QPointF p) {
        return tr("%1, %2").arg(NumberText::userSingle(float(p.x())),
                                NumberText::userSingle(float(p.y())));
    };
    const std::optional<AnyItem> record = m_document.item(item->kind, item->index);
    const QRectF extent =
        record ? ItemEdits::extent(*record) : QRectF(world().StartPosX, world().StartPosY, 0, 0);
    const QString name = describeItem(world(), *item);
    if (item->kind == KindCube)
        return tr("%1 from %2 to %3").arg(name, at(extent.topLeft()), at(extent.bottomRight()));
    return tr("%1 at %2").arg(name, at(extent.topLeft()));
}
