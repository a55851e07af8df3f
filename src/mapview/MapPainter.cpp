#include "mapview/MapPainter.h"

#include "palette/ShapeIndex.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

// Everything is drawn in device pixels with an identity transform: the hatch
// patterns are device-pixel patterns anyway, and doing the rounding here
// keeps one-pixel outlines and points exactly where the map unit falls.
// Ten thousand items must draw within a frame, so each costs one or two cheap
// painter calls.

namespace MapPainter {

QColor fromRgbValue(int32_t value)
{
    const auto v = uint32_t(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

namespace {

struct CubeLook {
    QColor color;
    Qt::BrushStyle pattern;
};

std::optional<CubeLook> cubeLook(const CubeInfo &cube)
{
    if (cube.Kind == Kind::Street)
        return CubeLook{StreetColor, Qt::DiagCrossPattern};
    if (cube.Kind == Kind::Floor)
        return CubeLook{fromRgbValue(cube.Color), Qt::BDiagPattern};
    if (cube.Kind == Kind::Wall)
        return CubeLook{fromRgbValue(cube.Color), Qt::CrossPattern};
    if (cube.Kind == Kind::Ceiling)
        return CubeLook{fromRgbValue(cube.Color), Qt::FDiagPattern};
    if (cube.Kind == Kind::Shrubbery)
        return CubeLook{ShrubberyColor, Qt::SolidPattern};
    return std::nullopt; // an unknown kind has no look
}

bool alongX(float rotation)
{
    return rotation == Rotation::Forward || rotation == Rotation::Backward;
}
bool alongY(float rotation) { return rotation == Rotation::Right || rotation == Rotation::Left; }

// Draws in device pixels. Cheap calls only: fillRect with a plain colour,
// the raster engine's whole-pixel ellipse, and the white bars collected and
// drawn in one call per pen width (they are all white, so their order among
// themselves does not show).
class Canvas {
public:
    Canvas(QPainter &painter, const QTransform &mapToDevice)
        : p(painter), t(mapToDevice), device(-Slack, -Slack, painter.device()->width() + 2 * Slack,
                                             painter.device()->height() + 2 * Slack)
    {
        p.resetTransform();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBackgroundMode(Qt::TransparentMode); // hatch gaps show what lies beneath
        // Patterns start at the map's corner, so they stay put while the map scrolls.
        p.setBrushOrigin(t.map(QPointF(0, 0)).toPoint());
    }

    QPoint pixel(double x, double y) const
    {
        const QPointF d = t.map(QPointF(x, y));
        return QPoint(whole(d.x()), whole(d.y()));
    }

    // Fills the part of the rectangle on the device, in bands of a few dozen
    // rows: Qt hands taller fills to helper threads, and for thousands of
    // small fills the hand-over costs more than the filling.
    void fill(const QRect &r, const QBrush &brush)
    {
        const QRect c = r & device;
        for (int y = c.top(); y <= c.bottom(); y += Band)
            p.fillRect(QRect(c.left(), y, c.width(), std::min(Band, c.bottom() - y + 1)), brush);
    }

    double pixelsPerUnit() const { return std::hypot(t.m11(), t.m12()); }

    // The pixels of a box from corner to corner, both corners included, or
    // nothing when it lies off the device.
    std::optional<QRect> box(QPointF a, QPointF b) const
    {
        const QRect r = QRect(pixel(a.x(), a.y()), pixel(b.x(), b.y())).normalized();
        if (!device.intersects(r))
            return std::nullopt;
        return r;
    }

    void solidBox(QPointF a, QPointF b, const QColor &color)
    {
        if (const std::optional<QRect> r = box(a, b))
            fill(*r, color);
    }

    // A one-pixel outline in the colour around the pattern in the colour.
    void hatchedBox(QPointF a, QPointF b, const QColor &color, Qt::BrushStyle pattern)
    {
        const std::optional<QRect> r = box(a, b);
        if (!r)
            return;
        if (r->width() <= 2 || r->height() <= 2) { // no room inside: the outline is all there is
            fill(*r, color);
            return;
        }
        fill(r->adjusted(1, 1, -1, -1), QBrush(color, pattern));
        fill(QRect(r->left(), r->top(), r->width(), 1), color);
        fill(QRect(r->left(), r->bottom(), r->width(), 1), color);
        fill(QRect(r->left(), r->top() + 1, 1, r->height() - 2), color);
        fill(QRect(r->right(), r->top() + 1, 1, r->height() - 2), color);
    }

    void disc(QPointF centre, double radius, const QColor &fill, const QColor &outline)
    {
        const QPointF c = t.map(centre);
        const double r = radius * pixelsPerUnit();
        // A whole-pixel box lets the raster engine use its fast ellipse.
        const QRect square(QPoint(whole(c.x() - r), whole(c.y() - r)),
                           QPoint(whole(c.x() + r), whole(c.y() + r)));
        if (!device.intersects(square))
            return;
        if (square.width() <= 2) {
            this->fill(square, fill);
            return;
        }
        if (outline != m_pen) {
            m_pen = outline;
            p.setPen(QPen(outline, 0));
        }
        if (fill != m_brush) {
            m_brush = fill;
            p.setBrush(fill);
        }
        p.drawEllipse(square.adjusted(0, 0, -1, -1));
    }

    // The start marker: smooth, since it is the one round thing the user looks for.
    void marker(QPointF centre, double radiusPx, const QColor &fill, const QColor &outline)
    {
        const QPoint c = pixel(centre.x(), centre.y());
        const int reach = int(std::ceil(radiusPx)) + 1;
        if (!device.adjusted(-reach, -reach, reach, reach).contains(c))
            return; // off the device: nothing to see, and no absurd numbers for the painter
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(outline, 0));
        p.setBrush(fill);
        p.drawEllipse(t.map(centre), radiusPx, radiusPx);
        p.setRenderHint(QPainter::Antialiasing, false);
        m_pen = m_brush = QColor();
    }

    // A white bar of the given pen width (1 or 2), drawn by flushBars().
    void bar(QPointF a, QPointF b, int width)
    {
        const QPoint pa = pixel(a.x(), a.y());
        const QPoint pb = pixel(b.x(), b.y());
        if (!device.intersects(QRect(pa, pb).normalized()))
            return;
        Bars &bars = m_bars[width > 1 ? 1 : 0];
        if (pa == pb)
            bars.points.push_back(pa);
        else
            bars.lines.emplace_back(pa, pb);
    }

    void flushBars()
    {
        for (int i = 0; i < 2; ++i) {
            Bars &bars = m_bars[i];
            if (bars.lines.empty() && bars.points.empty())
                continue;
            QPen pen(Qt::white, i + 1);
            pen.setCosmetic(true);
            pen.setCapStyle(Qt::FlatCap);
            p.setPen(pen);
            p.drawLines(bars.lines.data(), int(bars.lines.size()));
            p.drawPoints(bars.points.data(), int(bars.points.size()));
            bars.lines.clear();
            bars.points.clear();
        }
        m_pen = QColor();
    }

    QPainter &p;
    const QTransform t;

private:
    static constexpr int Slack = 4; // pixels drawn around an item's box (pens, the marker)
    static constexpr int Band = 90; // rows per fill call, below Qt's threading threshold

    // A device coordinate as a whole pixel; far-off values (a damaged file)
    // stay far off instead of overflowing.
    static int whole(double v)
    {
        constexpr double Far = 1e9;
        return int(std::lround(std::clamp(v, -Far, Far)));
    }
    struct Bars {
        std::vector<QLine> lines;
        std::vector<QPoint> points;
    };
    const QRect device;
    QColor m_pen, m_brush; // what the painter holds, to skip needless changes
    Bars m_bars[2];
};

void paintCubes(Canvas &canvas, const std::vector<CubeInfo> &cubes)
{
    for (const CubeInfo &cube : cubes) {
        if (!isUsed(cube))
            continue;
        const std::optional<CubeLook> look = cubeLook(cube);
        if (!look)
            continue;
        const QPointF a(cube.X1, cube.Y1);
        const QPointF b(cube.X2, cube.Y2);
        if (look->pattern == Qt::SolidPattern)
            canvas.solidBox(a, b, look->color);
        else
            canvas.hatchedBox(a, b, look->color, look->pattern);
    }
}

void paintObject(Canvas &canvas, const ObjectInfo &object, const ShapeInfo &shape)
{
    const QColor color = fromRgbValue(shape.MapColor);
    const double w2 = shape.Width / 2;
    const double d2 = shape.Depth / 2;
    if (shape.MapShape == QLatin1String("C")) {
        canvas.disc(QPointF(object.X, object.Y), w2, color, color);
    } else if (shape.MapShape == QLatin1String("R")) {
        double hx = 0, hy = 0;
        if (alongX(object.Rotation)) {
            hx = w2;
            hy = d2;
        } else if (alongY(object.Rotation)) {
            hx = d2;
            hy = w2;
        } else {
            return; // no direction, no footprint
        }
        canvas.solidBox(QPointF(object.X - hx, object.Y - hy),
                        QPointF(object.X + hx, object.Y + hy), color);
    }
}

void paintObjects(Canvas &canvas, const std::vector<ObjectInfo> &objects,
                  const std::vector<ShapeInfo> &shapes)
{
    const ShapeIndex library(shapes);
    for (const ObjectInfo &object : objects) {
        if (!isUsed(object))
            continue;
        for (const int entry : library.matching(object.Name))
            paintObject(canvas, object, shapes[size_t(entry)]);
    }
}

// A bar of half-length h through (x, y), along the item's direction.
void bar(Canvas &canvas, float x, float y, float rotation, double h, int width)
{
    if (alongX(rotation))
        canvas.bar(QPointF(x - h, y), QPointF(x + h, y), width);
    else if (alongY(rotation))
        canvas.bar(QPointF(x, y - h), QPointF(x, y + h), width);
}

void paintPictures(Canvas &canvas, const std::vector<PictureInfo> &pictures)
{
    for (const PictureInfo &picture : pictures) {
        if (isUsed(picture))
            bar(canvas, picture.X, picture.Y, picture.Rotation, picture.Width / 2.0, 1);
    }
    canvas.flushBars();
}

void paintTexts(Canvas &canvas, const std::vector<TextInfo> &texts)
{
    for (const TextInfo &text : texts) {
        if (!isUsed(text))
            continue;
        // Big text is a thicker, longer bar; any other kind draws as eye-level text.
        const bool big = text.Kind == Kind::TextBig;
        const double perCharacter = big ? 0.25 : 0.125;
        bar(canvas, text.X, text.Y, text.Rotation, text.Text.size() * perCharacter, big ? 2 : 1);
    }
    canvas.flushBars();
}

void paintStartMarker(Canvas &canvas, double x, double y)
{
    const double radius = std::max(0.1 * canvas.pixelsPerUnit(), MinMarkerRadiusPx);
    canvas.marker(QPointF(x, y), radius, MarkerFill, MarkerOutline);
}

} // namespace

void paintWorld(QPainter &painter, const QTransform &mapToDevice, const World &world,
                const std::vector<ShapeInfo> &shapes)
{
    painter.save();
    Canvas canvas(painter, mapToDevice);
    canvas.fill(QRect(canvas.pixel(0, 0), canvas.pixel(100, 100)), Background);
    paintCubes(canvas, world.Cubes);
    paintObjects(canvas, world.Objects, shapes);
    paintPictures(canvas, world.Pictures);
    paintTexts(canvas, world.Texts);
    paintStartMarker(canvas, world.StartPosX, world.StartPosY);
    painter.restore();
}

} // namespace MapPainter
