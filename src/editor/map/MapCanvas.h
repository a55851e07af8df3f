#pragma once
// The map canvas: a square widget scaled to 100 x 100 map units that lies in
// its frame and is shifted by the scroll bars. What Render2D draws is kept in
// a back image of the part that shows, so repaints only copy pixels; parts
// that scroll into view are drawn when they are first exposed. A floating
// drawing (an item being dragged) is painted over the back image on every
// repaint.
//
// The mouse goes to the active tool, in map units. After a press the canvas
// keeps the mouse until the release, so a release outside it is reported
// too, with coordinates beyond 0..100. A click gives the canvas the keyboard
// focus; its keys go to the tool first.

#include <QImage>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <optional>

class MapTool;

class MapCanvas : public QWidget {
    Q_OBJECT

public:
    // Draws the map onto a painter whose device pixels mapToDevice maps to.
    using Drawing = std::function<void(QPainter &painter, const QTransform &mapToDevice)>;

    explicit MapCanvas(QWidget *frame);

    void setDrawing(Drawing drawing);
    void redraw(); // draws the part that shows afresh, now
    // Painted over the back image on every repaint; an empty drawing: none.
    void setFloating(Drawing drawing);

    // The tool the mouse works with; the previous one is deactivated, this
    // one activated. Not owned; nullptr: none.
    void setTool(MapTool *tool);

    // The tool tip for a map point; an empty text shows none.
    void setToolTipText(std::function<QString(QPointF)> toolTipText);
    QString toolTipAt(QPointF point) const
    {
        return m_toolTipText ? m_toolTipText(point) : QString();
    }

    QTransform mapToPixels() const; // map units to this widget's pixels
    QPointF pixelToMap(const QPointF &pixel) const;
    double unitsPerPixel() const;
    // How near the pointer must come to an item to be on it, in map units:
    // thin bars and small items are easier to find.
    double hitSlack() const { return HitSlackPx * unitsPerPixel(); }
    // Where the pointer is, in map units, while it is over the canvas.
    std::optional<QPointF> pointer() const { return m_pointer; }
    QRect visibleRect() const; // the part of the canvas inside its frame
    const QImage &backImage() const { return m_back; }

signals:
    void rightClicked(QPointF point); // on the release, whatever the tool
    void wheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPointF point);

protected:
    static constexpr double HitSlackPx = 3;

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void drawBack(const QRect &area);

    MapTool *m_tool = nullptr;
    Drawing m_drawing;
    Drawing m_floating;
    std::function<QString(QPointF)> m_toolTipText;
    QImage m_back;
    QRect m_backRect;
    std::optional<QPointF> m_pointer;
};
