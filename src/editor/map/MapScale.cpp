#include "editor/map/MapScale.h"

#include "core/model/NumberText.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace MapScale {

int sizingZoom(int32_t zoom) { return int(std::clamp<int32_t>(zoom, 1, 4)); }

int canvasSide(QSize frame, int32_t zoom)
{
    const int shorter = std::min(frame.width(), frame.height());
    return std::max(0, shorter - 1) * sizingZoom(zoom);
}

BarRange barRange(int frameExtent, int canvasExtent)
{
    // A canvas that fits, exactly or with room to spare, cannot scroll.
    if (frameExtent >= canvasExtent)
        return {};
    const int maximum = canvasExtent - frameExtent;
    const auto step = [maximum](double divisor) {
        return std::max(1, int(NumberText::roundHalfEven(maximum / divisor)));
    };
    return {maximum, step(20), step(10)};
}

double fraction(const QScrollBar &bar)
{
    return bar.maximum() != 0 ? double(bar.value()) / bar.maximum() : 0.0;
}

void setFraction(QScrollBar &bar, double fraction)
{
    const double value = NumberText::roundHalfEven(bar.maximum() * std::clamp(fraction, 0.0, 1.0));
    bar.setValue(int(value));
}

namespace {

void applyRange(QScrollBar &bar, const BarRange &range)
{
    bar.setRange(0, range.maximum); // brings the value inside, moving the canvas
    bar.setSingleStep(range.singleStep);
    bar.setPageStep(range.pageStep);
}

} // namespace

void scaleLand(const QWidget &frame, QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
               int32_t zoom, RelativePosition &remembered)
{
    const double relativeH = horizontal.maximum() != 0 ? fraction(horizontal) : remembered.horizontal;
    const double relativeV = vertical.maximum() != 0 ? fraction(vertical) : remembered.vertical;
    const int side = canvasSide(frame.size(), zoom);
    canvas.resize(side, side);
    applyRange(horizontal, barRange(frame.width(), side));
    applyRange(vertical, barRange(frame.height(), side));
    setFraction(horizontal, relativeH);
    setFraction(vertical, relativeV);
    canvas.move(-horizontal.value(), -vertical.value());
}

void showPointAt(const QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
                 QPointF mapPoint, QPointF framePixel)
{
    const auto value = [](double unit, int side, double pixel) {
        return int(std::lround(unit * side / 100.0 - pixel));
    };
    horizontal.setValue(value(mapPoint.x(), canvas.width(), framePixel.x()));
    vertical.setValue(value(mapPoint.y(), canvas.height(), framePixel.y()));
}

int32_t nextZoom(int32_t zoom, bool in)
{
    constexpr int32_t Zooms[] = {1, 2, 4};
    if (in) {
        for (const int32_t z : Zooms) {
            if (z > zoom)
                return z;
        }
    } else {
        for (auto z = std::rbegin(Zooms); z != std::rend(Zooms); ++z) {
            if (*z < zoom)
                return *z;
        }
    }
    return zoom;
}

void followScrollBars(QWidget &canvas, QScrollBar &horizontal, QScrollBar &vertical,
                      RelativePosition &remembered)
{
    QObject::connect(&horizontal, &QScrollBar::valueChanged, &canvas,
                     [&canvas, &horizontal, &remembered](int value) {
                         canvas.move(-value, canvas.y());
                         if (horizontal.maximum() != 0)
                             remembered.horizontal = fraction(horizontal);
                     });
    QObject::connect(&vertical, &QScrollBar::valueChanged, &canvas,
                     [&canvas, &vertical, &remembered](int value) {
                         canvas.move(canvas.x(), -value);
                         if (vertical.maximum() != 0)
                             remembered.vertical = fraction(vertical);
                     });
}

} // namespace MapScale
