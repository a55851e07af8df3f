#pragma once
// Sizing the map canvas inside its frame and the scroll bars that pan it.
// Sizes are pixels; a scroll bar's value is the number of pixels by which the
// canvas is shifted out of view to the left or the top.

#include <QPointF>
#include <QSize>

#include <cstdint>

class QScrollBar;
class QWidget;

namespace MapScale {

// The factor used for sizing: a stored zoom outside 1..4 (a damaged file)
// sizes the canvas as the nearest legal one.
int sizingZoom(int32_t zoom);

// The side of the square canvas: one pixel less than the frame's shorter
// side, times the zoom.
int canvasSide(QSize frame, int32_t zoom);

struct BarRange {
    int maximum = 0;
    int singleStep = 1;
    int pageStep = 1;
};

// The range of a bar whose frame shows frameExtent pixels of a canvas
// canvasExtent long: the overhang, stepped in twentieths and tenths of it.
BarRange barRange(int frameExtent, int canvasExtent);

// Value / maximum, or 0 when the bar cannot scroll.
double fraction(const QScrollBar &bar);
// Value = maximum x fraction, rounded half to even, kept inside the range.
void setFraction(QScrollBar &bar, double fraction);

// The relative position of each bar, remembered while a bar cannot scroll
// (at 100 %, or while the window passes through an odd shape), so that a
// world opened before the window has its size, or a return to a larger zoom,
// finds its place again.
struct RelativePosition {
    double horizontal = 0;
    double vertical = 0;
};

// Resizes the canvas for the frame and the zoom and sets both bars up again,
// keeping each bar's relative position.
void scaleLand(const QWidget &frame, QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
               int32_t zoom, RelativePosition &remembered);

// Scrolls both bars so that the map point lies at the frame's pixel, as far
// as their ranges allow.
void showPointAt(const QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
                 QPointF mapPoint, QPointF framePixel);

// The zoom one step in or out of the View menu's 1, 2 and 4; the same zoom
// at either end.
int32_t nextZoom(int32_t zoom, bool in);

// Makes the canvas follow both bars, as they are dragged too, and keeps
// `remembered` up to date while a bar can scroll.
void followScrollBars(QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
                      RelativePosition &remembered);

} // namespace MapScale
