#include "editor/palette/DragHandle.h"

#include "editor/map/MapCanvas.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

DragHandle::DragHandle(MapCanvas *canvas) : MapOverlay(canvas, Look::Handle)
{
    setMouseTracking(true); // the grab offset follows the pointer before the press
    setFocusPolicy(Qt::NoFocus);
}

QPointF DragHandle::mapPoint(const QPointF &pixel) const
{
    return canvas()->pixelToMap(mapTo(canvas(), pixel));
}

QRectF DragHandle::placeFor(const QPointF &pixel) const
{
    return QRectF(mapPoint(pixel) - m_grabOffset, m_before.size());
}

bool DragHandle::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return MapOverlay::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString item = canvas()->toolTipAt(mapPoint(help->pos()));
    QToolTip::showText(help->globalPos(), item.isEmpty() ? toolTip() : item + '\n' + toolTip(),
                       this);
    return true;
}

void DragHandle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_dragging)
        return;
    m_before = mapRect();
    m_grabOffset = mapPoint(event->position()) - m_before.topLeft();
    m_dragging = true;
    m_moved = false;
    qApp->installEventFilter(this); // Escape counts wherever the focus is
}

void DragHandle::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        m_grabOffset = mapPoint(event->position()) - mapRect().topLeft();
        emit hovered();
        return;
    }
    if (!m_moved) {
        m_moved = true;
        emit dragStarted();
    }
    setMapRect(placeFor(event->position()));
    emit dragMoved(mapRect());
}

void DragHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    const QRectF dropped = placeFor(event->position());
    m_dragging = false;
    qApp->removeEventFilter(this);
    setMapRect(dropped);
    emit this->dropped(dropped);
}

bool DragHandle::eventFilter(QObject *watched, QEvent *event)
{
    if (m_dragging && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        cancelDrag();
        return true;
    }
    return MapOverlay::eventFilter(watched, event);
}

void DragHandle::cancelDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    qApp->removeEventFilter(this);
    setMapRect(m_before);
    emit dragCancelled();
}
