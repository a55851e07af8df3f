#include "mapview/MapPainter.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

// Everything is drawn in device pixels with an identity transform: the hatch
// patterns are device-pixel patterns anyway, and doing the rounding here
// keeps one-pixel outlines and points exactly where the map unit falls.

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

bool alongX(float rotation) { return rotation == Rotation::Forward || rotation == Rotation::Backward; }
bool alongY(float rotation) { return rotation == Rotation::Right || rotation == Rotation::Left; }

class Canvas {
public:
    Canvas(QPainter &painter, const QTransform &mapToDevice)
        : p(painter), t(mapToDevice),
          device(-Slack, -Slack, painter.device()->width() + 2 * Slack,
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
        return QPoint(int(std::lround(d.x())), int(std::lround(d.y())));
    }

    double pixelsPerUnit() const { return std::hypot(t.m11(), t.m12()); }

    bool visible(const QRect &r) const { return device.intersects(r.normalized().adjusted(0, 0, 1, 1)); }

    // A box from corner to corner, both corners' pixels included.
    void box(QPointF a, QPointF b, const QColor &color, const QBrush &fill)
    {
        const QPoint pa = pixel(a.x(), a.y());
        const QPoint pb = pixel(b.x(), b.y());
        const QRect r = QRect(pa, pb).normalized();
        if (!visible(r))
            return;
        p.setPen(QPen(color, 0));
        if (r.width() == 1 || r.height() == 1) { // a point or a line: the outline is all there is
            if (r.width() == 1 && r.height() == 1)
                p.drawPoint(r.topLeft());
            else
                p.drawLine(r.topLeft(), r.bottomRight());
            return;
        }
        p.fillRect(r, fill);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1)); // outline on the outermost pixels
    }

    void disc(QPointF centre, double radius, const QColor &fill, const QColor &outline)
    {
        const QPointF c = t.map(centre);
        const double r = radius * pixelsPerUnit();
        if (!visible(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).toAlignedRect()))
            return;
        drawDisc(c, r, fill, outline);
    }

    void drawDisc(QPointF c, double r, const QColor &fill, const QColor &outline)
    {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(outline, 0));
        p.setBrush(fill);
        p.drawEllipse(c, r, r);
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    void line(QPointF a, QPointF b, int width)
    {
        const QPoint pa = pixel(a.x(), a.y());
        const QPoint pb = pixel(b.x(), b.y());
        if (!visible(QRect(pa, pb)))
            return;
        QPen pen(Qt::white, width);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        if (pa == pb)
            p.drawPoint(pa);
        else
            p.drawLine(pa, pb);
    }

    QPainter &p;
    const QTransform t;

private:
    static constexpr int Slack = 4; // pixels drawn around an item's box (pens, the marker)
    const QRect device;
};

void paintCubes(Canvas &canvas, const std::vector<CubeInfo> &cubes)
{
    for (const CubeInfo &cube : cubes) {
        if (!isUsed(cube))
            continue;
        const std::optional<CubeLook> look = cubeLook(cube);
        if (!look)
            continue;
        canvas.box(QPointF(cube.X1, cube.Y1), QPointF(cube.X2, cube.Y2), look->color,
                   QBrush(look->color, look->pattern));
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
        canvas.box(QPointF(object.X - hx, object.Y - hy), QPointF(object.X + hx, object.Y + hy),
                   color, QBrush(color));
    }
}

void paintObjects(Canvas &canvas, const std::vector<ObjectInfo> &objects,
                  const std::vector<ShapeInfo> &shapes)
{
    for (const ObjectInfo &object : objects) {
        if (!isUsed(object))
            continue;
        for (const ShapeInfo &shape : shapes) {
            if (shape.Name == object.Name)
                paintObject(canvas, object, shape);
        }
    }
}

// A bar of half-length h through (x, y), along the item's direction.
void bar(Canvas &canvas, float x, float y, float rotation, double h, int width)
{
    if (alongX(rotation))
        canvas.line(QPointF(x - h, y), QPointF(x + h, y), width);
    else if (alongY(rotation))
        canvas.line(QPointF(x, y - h), QPointF(x, y + h), width);
}

void paintPictures(Canvas &canvas, const std::vector<PictureInfo> &pictures)
{
    for (const PictureInfo &picture : pictures) {
        if (isUsed(picture))
            bar(canvas, picture.X, picture.Y, picture.Rotation, picture.Width / 2.0, 1);
    }
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
}

void paintStartMarker(Canvas &canvas, double x, double y)
{
    const double radius = std::max(0.1 * canvas.pixelsPerUnit(), MinMarkerRadiusPx);
    canvas.drawDisc(canvas.t.map(QPointF(x, y)), radius, MarkerFill, MarkerOutline);
}

} // namespace

void paintWorld(QPainter &painter, const QTransform &mapToDevice, const World &world,
                const std::vector<ShapeInfo> &shapes)
{
    painter.save();
    Canvas canvas(painter, mapToDevice);
    painter.fillRect(QRect(canvas.pixel(0, 0), canvas.pixel(100, 100)), Background);
    paintCubes(canvas, world.Cubes);
    paintObjects(canvas, world.Objects, shapes);
    paintPictures(canvas, world.Pictures);
    paintTexts(canvas, world.Texts);
    paintStartMarker(canvas, world.StartPosX, world.StartPosY);
    painter.restore();
}

} // namespace MapPainter
