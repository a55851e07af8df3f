#include "editor/map/MapOverlay.h"

#include "editor/map/MapCanvas.h"

#include <QPainter>

#include <cmath>

MapOverlay::MapOverlay(MapCanvas *canvas, Look look)
    : QWidget(canvas), m_canvas(canvas), m_look(look)
{
    if (m_look == Look::Handle) {
        setCursor(Qt::SizeAllCursor);
        setToolTip(tr("Drag to move the selected item"));
    } else {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    hide();
}

void MapOverlay::setMapRect(const QRectF &rect)
{
    m_mapRect = rect.normalized();
    place();
}

void MapOverlay::place()
{
    const QTransform t = m_canvas->mapToPixels();
    const QPointF a = t.map(m_mapRect.topLeft());
    const QPointF b = t.map(m_mapRect.bottomRight());
    const QPoint topLeft(int(std::lround(a.x())), int(std::lround(a.y())));
    const QPoint bottomRight(int(std::lround(b.x())), int(std::lround(b.y())));
    setGeometry(QRect(topLeft, bottomRight)); // both corners' pixels included
}

void MapOverlay::paintOutline(QPainter &painter, const QRect &r)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.drawRect(r);
    if (r.width() > 2 && r.height() > 2) {
        painter.setPen(Qt::white);
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    }
}

void MapOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QColor text = palette().color(QPalette::WindowText);
    if (m_look == Look::Band) {
        painter.setPen(text);
        painter.drawRect(r);
    } else if (m_look == Look::Line) {
        painter.fillRect(rect(), text);
    } else if (m_look == Look::Outline) {
        paintOutline(painter, r);
    } else {
        painter.fillRect(rect(), QColor(255, 255, 255, 50));
    }
}
