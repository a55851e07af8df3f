#pragma once
// A marker that lies on the map canvas at a rectangle given in map units and
// follows the canvas through zoom and scrolling: the selection marker, the
// drag handle, the rubber band and the crosshair lines.

#include <QRectF>
#include <QWidget>

class QPainter;

class MapCanvas;

class MapOverlay : public QWidget {
    Q_OBJECT

public:
    enum class Look {
        Outline, // a rectangle outline that lets the mouse through
        Handle,  // a faintly tinted square that takes the mouse
        Band,    // a one-pixel outline in the text colour that lets the mouse through
        Line,    // a line in the text colour (a rectangle of no width or height)
    };

    MapOverlay(MapCanvas *canvas, Look look);

    void setMapRect(const QRectF &rect); // map units; a negative size is turned round
    QRectF mapRect() const { return m_mapRect; }
    void place(); // sets the geometry from the canvas's present scale

    // The outline's look, black with a white line inside: visible on grass,
    // streets and walls alike. Also the marks of several selected items.
    static void paintOutline(QPainter &painter, const QRect &rect);

protected:
    MapCanvas *canvas() const { return m_canvas; }
    void paintEvent(QPaintEvent *event) override;

private:
    MapCanvas *m_canvas;
    Look m_look;
    QRectF m_mapRect;
};
