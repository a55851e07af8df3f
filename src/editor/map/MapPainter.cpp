#include "editor/map/MapPainter.h"

#include "core/library/Footprint.h"
#include "core/library/ShapeIndex.h"
#include "core/model/StoredColor.h"

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
        return CubeLook{StoredColor::toQColor(cube.Color), Qt::BDiagPattern};
    if (cube.Kind == Kind::Wall)
        return CubeLook{StoredColor::toQColor(cube.Color), Qt::CrossPattern};
    if (cube.Kind == Kind::Ceiling)
        return CubeLook{StoredColor::toQColor(cube.Color), Qt::FDiagPattern};
    if (cube.Kind == Kind::Shrubbery)
        return CubeLook{ShrubberyColor, Qt::SolidPattern};
    return std::nullopt; // an unknown kind has no look
}

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

// The items of one kind left out of the drawing, by index.
class Skipped {
public:
    Skipped(const ItemRefs &hidden, int kind)
        : m_from(std::lower_bound(hidden.begin(), hidden.end(), ItemRef{kind, 0})),
          m_to(std::lower_bound(m_from, hidden.end(), ItemRef{kind + 1, 0})), m_kind(kind)
    {
    }
    bool operator()(int index) const
    {
        return m_from != m_to && std::binary_search(m_from, m_to, ItemRef{m_kind, index});
    }

private:
    ItemRefs::const_iterator m_from, m_to;
    int m_kind;
};

void paintCubes(Canvas &canvas, const std::vector<CubeInfo> &cubes, const Skipped &skip)
{
    for (int i = 0; i < int(cubes.size()); ++i) {
        const CubeInfo &cube = cubes[size_t(i)];
        if (!isUsed(cube) || skip(i))
            continue;
        const Footprint f = footprintOf(cube);
        const std::optional<CubeLook> look = cubeLook(cube);
        if (f.form != Footprint::Form::Box || !look)
            continue;
        if (look->pattern == Qt::SolidPattern)
            canvas.solidBox(f.a, f.b, look->color);
        else
            canvas.hatchedBox(f.a, f.b, look->color, look->pattern);
    }
}

void paintObjects(Canvas &canvas, const std::vector<ObjectInfo> &objects,
                  const std::vector<ShapeInfo> &shapes, const Skipped &skip)
{
    const ShapeIndex library(shapes);
    for (int i = 0; i < int(objects.size()); ++i) {
        const ObjectInfo &object = objects[size_t(i)];
        if (!isUsed(object) || skip(i))
            continue;
        for (const int entry : library.matching(object.Name)) {
            const ShapeInfo &shape = shapes[size_t(entry)];
            const QColor color = StoredColor::toQColor(shape.MapColor);
            const Footprint f = footprintOf(object, &shape);
            if (f.form == Footprint::Form::Disc)
                canvas.disc(f.a, f.radius, color, color);
            else if (f.form == Footprint::Form::Box)
                canvas.solidBox(f.a, f.b, color);
        }
    }
}

// Pictures and texts: white bars.
template <class Item>
void paintBars(Canvas &canvas, const std::vector<Item> &items, const Skipped &skip)
{
    for (int i = 0; i < int(items.size()); ++i) {
        const Item &item = items[size_t(i)];
        if (!isUsed(item) || skip(i))
            continue;
        const Footprint f = footprintOf(item);
        if (f.form == Footprint::Form::Bar)
            canvas.bar(f.a, f.b, f.penWidth);
    }
    canvas.flushBars();
}

void paintStartMarker(Canvas &canvas, double x, double y)
{
    const Footprint f = startFootprint(x, y);
    const double radius = std::max(f.radius * canvas.pixelsPerUnit(), MinMarkerRadiusPx);
    canvas.marker(f.centre, radius, MarkerFill, MarkerOutline);
}

// Thin lines on the ground, at least MinGridGapPx apart.
void paintGrid(Canvas &canvas, double size)
{
    const double gapPx = size * canvas.pixelsPerUnit();
    if (!(gapPx > 0))
        return;
    const double step = size * std::ceil(MinGridGapPx / gapPx);
    const QPoint first = canvas.pixel(0, 0);
    const QPoint last = canvas.pixel(100, 100);
    for (int n = 0; n * step <= 100; ++n) {
        const QPoint p = canvas.pixel(n * step, n * step);
        canvas.fill(QRect(QPoint(p.x(), first.y()), QPoint(p.x(), last.y())), GridColor);
        canvas.fill(QRect(QPoint(first.x(), p.y()), QPoint(last.x(), p.y())), GridColor);
    }
}

void paintAll(Canvas &canvas, const World &world, const std::vector<ShapeInfo> &shapes,
              const ItemRefs &hidden)
{
    paintCubes(canvas, world.Cubes, Skipped(hidden, KindCube));
    paintObjects(canvas, world.Objects, shapes, Skipped(hidden, KindObject));
    paintBars(canvas, world.Pictures, Skipped(hidden, KindPicture));
    paintBars(canvas, world.Texts, Skipped(hidden, KindText));
}

} // namespace

void paintWorld(QPainter &painter, const QTransform &mapToDevice, const World &world,
                const std::vector<ShapeInfo> &shapes, const ItemRefs &hidden, double gridSize)
{
    painter.save();
    Canvas canvas(painter, mapToDevice);
    canvas.fill(QRect(canvas.pixel(0, 0), canvas.pixel(100, 100)), Background);
    if (gridSize > 0)
        paintGrid(canvas, gridSize);
    paintAll(canvas, world, shapes, hidden);
    if (!std::binary_search(hidden.begin(), hidden.end(), ItemRef{KindStart, 0}))
        paintStartMarker(canvas, world.StartPosX, world.StartPosY);
    painter.restore();
}

void paintItems(QPainter &painter, const QTransform &mapToDevice,
                const std::vector<AnyItem> &records, const std::vector<ShapeInfo> &shapes,
                const std::optional<QPointF> &start)
{
    painter.save();
    Canvas canvas(painter, mapToDevice);
    paintAll(canvas, worldOf(records), shapes, {}); // stacked as the map stacks them
    if (start)
        paintStartMarker(canvas, start->x(), start->y());
    painter.restore();
}

} // namespace MapPainter
