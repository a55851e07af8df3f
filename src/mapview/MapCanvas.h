#pragma once
// The map canvas: a square widget scaled to 100 x 100 map units that lies in
// its frame and is shifted by the scroll bars. What Render2D draws is kept in
// a back image of the part that shows, so repaints only copy pixels; parts
// that scroll into view are drawn when they are first exposed.

#include <QImage>
#include <QTransform>
#include <QWidget>

#include <functional>

class MapCanvas : public QWidget {
    Q_OBJECT

public:
    // Draws the map onto a painter whose device pixels mapToDevice maps to.
    using Drawing = std::function<void(QPainter &painter, const QTransform &mapToDevice)>;

    explicit MapCanvas(QWidget *frame);

    void setDrawing(Drawing drawing);
    void redraw(); // draws the part that shows afresh, now

    QTransform mapToPixels() const; // map units to this widget's pixels
    QPointF pixelToMap(const QPointF &pixel) const;
    QRect visibleRect() const; // the part of the canvas inside its frame
    QRect backRect() const { return m_backRect; }
    const QImage &backImage() const { return m_back; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void drawBack(const QRect &area);

    Drawing m_drawing;
    QImage m_back;
    QRect m_backRect;
};
