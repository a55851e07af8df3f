#include "editor/map/MapCanvas.h"

#include "editor/map/MapOverlay.h"
#include "editor/map/MapTool.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

MapCanvas::MapCanvas(QWidget *frame) : QWidget(frame)
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the back image covers every pixel it paints
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void MapCanvas::setDrawing(Drawing drawing) { m_drawing = std::move(drawing); }

void MapCanvas::setFloating(Drawing drawing)
{
    m_floating = std::move(drawing);
    update();
}

void MapCanvas::setTool(MapTool *tool)
{
    if (tool == m_tool)
        return;
    if (m_tool)
        m_tool->deactivate();
    m_tool = tool;
    if (m_tool)
        m_tool->activate();
}

void MapCanvas::setToolTipText(std::function<QString(QPointF)> toolTipText)
{
    m_toolTipText = std::move(toolTipText);
}

QTransform MapCanvas::mapToPixels() const
{
    return QTransform::fromScale(width() / 100.0, height() / 100.0);
}

QPointF MapCanvas::pixelToMap(const QPointF &pixel) const
{
    if (width() <= 0 || height() <= 0)
        return {};
    return QPointF(pixel.x() * 100.0 / width(), pixel.y() * 100.0 / height());
}

double MapCanvas::unitsPerPixel() const { return width() > 0 ? 100.0 / width() : 0; }

QRect MapCanvas::visibleRect() const
{
    const QWidget *frame = parentWidget();
    if (!frame)
        return rect();
    return QRect(mapFromParent(QPoint(0, 0)), frame->size()) & rect();
}

void MapCanvas::redraw()
{
    drawBack(visibleRect());
    update();
}

void MapCanvas::drawBack(const QRect &area)
{
    if (area.isEmpty()) {
        m_back = QImage();
        m_backRect = QRect();
        return;
    }
    if (m_back.size() != area.size())
        m_back = QImage(area.size(), QImage::Format_RGB32);
    m_backRect = area;
    m_back.fill(palette().color(QPalette::Window));
    if (!m_drawing)
        return;
    QPainter painter(&m_back);
    m_drawing(painter, mapToPixels() * QTransform::fromTranslate(-area.x(), -area.y()));
}

void MapCanvas::paintEvent(QPaintEvent *event)
{
    const QRect needed = event->rect() & rect();
    if (!m_backRect.contains(needed))
        drawBack(needed | visibleRect());
    QPainter painter(this);
    painter.drawImage(m_backRect.topLeft(), m_back);
    if (m_floating) {
        painter.setClipRect(event->rect());
        m_floating(painter, mapToPixels());
    }
}

bool MapCanvas::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && m_toolTipText) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(pixelToMap(help->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void MapCanvas::mousePressEvent(QMouseEvent *event)
{
    if (m_tool)
        m_tool->mousePressed(event->button(), pixelToMap(event->position()), event->modifiers());
}

void MapCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point = pixelToMap(event->position());
    if (rect().contains(event->position().toPoint()))
        m_pointer = point;
    if (m_tool)
        m_tool->mouseMoved(point, event->modifiers());
}

void MapCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF point = pixelToMap(event->position());
    if (m_tool)
        m_tool->mouseReleased(event->button(), point, event->modifiers());
    if (event->button() == Qt::RightButton)
        emit rightClicked(point);
}

void MapCanvas::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_pointer.reset();
    if (m_tool)
        m_tool->mouseLeft();
}

void MapCanvas::keyPressEvent(QKeyEvent *event)
{
    if (m_tool && m_tool->keyPressed(event->key()))
        return;
    QWidget::keyPressEvent(event); // on to the frame, and the window's shortcuts
}

void MapCanvas::wheelEvent(QWheelEvent *event)
{
    emit wheelTurned(event->angleDelta(), event->modifiers(), pixelToMap(event->position()));
}

void MapCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The drawing no longer fits the scale; Render2D follows every resize.
    m_back = QImage();
    m_backRect = QRect();
    for (MapOverlay *overlay : findChildren<MapOverlay *>(Qt::FindDirectChildrenOnly))
        overlay->place();
}
