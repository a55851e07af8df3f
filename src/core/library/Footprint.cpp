#include "core/library/Footprint.h"

#include "core/library/ShapeIndex.h"

#include <QFileInfo>
#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

bool alongX(float rotation)
{
    return rotation == Rotation::Forward || rotation == Rotation::Backward;
}
bool alongY(float rotation) { return rotation == Rotation::Right || rotation == Rotation::Left; }

bool knownCubeKind(const QString &kind)
{
    return kind == Kind::Wall || kind == Kind::Floor || kind == Kind::Ceiling ||
           kind == Kind::Street || kind == Kind::Shrubbery;
}

// A bar of half-length h through (x, y), along the item's direction.
Footprint bar(float x, float y, float rotation, double h, int penWidth)
{
    Footprint f;
    f.centre = QPointF(x, y);
    f.penWidth = penWidth;
    if (alongX(rotation)) {
        f.form = Footprint::Form::Bar;
        f.a = QPointF(x - h, y);
        f.b = QPointF(x + h, y);
    } else if (alongY(rotation)) {
        f.form = Footprint::Form::Bar;
        f.a = QPointF(x, y - h);
        f.b = QPointF(x, y + h);
    }
    return f;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * d).length();
}

// Calls hit(item, footprint) for each used item of the array, the last
// drawn first, until it returns true; true if one did.
template <class Item, class Hit> bool eachOf(const std::vector<Item> &items, int kind, Hit &hit)
{
    for (int i = int(items.size()) - 1; i >= 0; --i) {
        if (isUsed(items[size_t(i)]) && hit(MapItem{kind, i}, footprintOf(items[size_t(i)])))
            return true;
    }
    return false;
}

// Calls hit(item, footprint) for every footprint drawn on the map, topmost
// first (the start marker, then texts, pictures, objects and walls, the last
// drawn first), until it returns true. An object has one footprint per
// library entry of its name, and none when it is missing from the library.
template <class Hit>
void eachDrawn(const World &world, const std::vector<ShapeInfo> &shapes, Hit hit)
{
    if (hit(MapItem{KindStart, 0}, startFootprint(world.StartPosX, world.StartPosY)) ||
        eachOf(world.Texts, KindText, hit) || eachOf(world.Pictures, KindPicture, hit))
        return;
    const ShapeIndex library(shapes);
    for (int i = int(world.Objects.size()) - 1; i >= 0; --i) {
        const ObjectInfo &object = world.Objects[size_t(i)];
        if (!isUsed(object))
            continue;
        for (const int entry : library.matching(object.Name)) {
            if (hit(MapItem{KindObject, i}, footprintOf(object, &shapes[size_t(entry)])))
                return;
        }
    }
    eachOf(world.Cubes, KindCube, hit);
}

template <class Item> const Item *at(const std::vector<Item> &items, int i)
{
    return i >= 0 && i < int(items.size()) ? &items[size_t(i)] : nullptr;
}

} // namespace

QRectF Footprint::markerRect() const
{
    if (atPoint)
        return QRectF(centre.x() - 2, centre.y() - 2, 4, 4);
    return QRectF(a, b);
}

bool Footprint::touches(const QRectF &area) const
{
    const QRectF r = area.normalized();
    switch (form) {
    case Form::Box:
    case Form::Bar: {
        // Closed intervals: a wall of no width or a bar of no height touches too.
        const QRectF f = QRectF(a, b).normalized();
        return f.left() <= r.right() && f.right() >= r.left() && f.top() <= r.bottom() &&
               f.bottom() >= r.top();
    }
    case Form::Disc: {
        const QPointF nearest(std::clamp(a.x(), r.left(), r.right()),
                              std::clamp(a.y(), r.top(), r.bottom()));
        return QLineF(a, nearest).length() <= radius;
    }
    case Form::None:
        break;
    }
    return false;
}

bool Footprint::contains(QPointF point, double slack) const
{
    switch (form) {
    case Form::Box:
        return QRectF(a, b).normalized().adjusted(-slack, -slack, slack, slack).contains(point);
    case Form::Disc:
        return QLineF(point, a).length() <= radius + slack;
    case Form::Bar:
        return distanceToSegment(point, a, b) <= slack;
    case Form::None:
        break;
    }
    return false;
}

Footprint footprintOf(const CubeInfo &cube)
{
    Footprint f;
    f.form = knownCubeKind(cube.Kind) ? Footprint::Form::Box : Footprint::Form::None;
    f.a = QPointF(cube.X1, cube.Y1);
    f.b = QPointF(cube.X2, cube.Y2);
    f.centre = (f.a + f.b) / 2;
    f.atPoint = false;
    return f;
}

Footprint footprintOf(const ObjectInfo &object, const ShapeInfo *shape)
{
    Footprint f;
    f.centre = QPointF(object.X, object.Y);
    if (!shape)
        return f;
    const double w2 = shape->Width / 2;
    const double d2 = shape->Depth / 2;
    if (shape->MapShape == QLatin1String("C")) {
        // A disc as wide as the object, whatever its rotation.
        f.form = Footprint::Form::Disc;
        f.a = f.centre;
        f.radius = w2;
    } else if (shape->MapShape == QLatin1String("R") &&
               (alongX(object.Rotation) || alongY(object.Rotation))) {
        const double hx = alongX(object.Rotation) ? w2 : d2;
        const double hy = alongX(object.Rotation) ? d2 : w2;
        f.form = Footprint::Form::Box;
        f.a = QPointF(object.X - hx, object.Y - hy);
        f.b = QPointF(object.X + hx, object.Y + hy);
    }
    return f;
}

Footprint footprintOf(const PictureInfo &picture)
{
    return bar(picture.X, picture.Y, picture.Rotation, picture.Width / 2.0, 1);
}

Footprint footprintOf(const TextInfo &text)
{
    // Big text is a thicker, longer bar; any other kind draws as eye-level text.
    const bool big = text.Kind == Kind::TextBig;
    const double perCharacter = big ? 0.25 : 0.125;
    return bar(text.X, text.Y, text.Rotation, text.Text.size() * perCharacter, big ? 2 : 1);
}

Footprint startFootprint(double x, double y)
{
    Footprint f;
    f.form = Footprint::Form::Disc;
    f.a = f.centre = QPointF(x, y);
    f.radius = 0.1;
    return f;
}

std::optional<Footprint> footprintOf(const World &world, const MapItem &item)
{
    switch (item.kind) {
    case KindStart:
        return startFootprint(world.StartPosX, world.StartPosY);
    case KindObject:
        if (const ObjectInfo *o = at(world.Objects, item.index))
            return footprintOf(*o, nullptr);
        break;
    case KindText:
        if (const TextInfo *t = at(world.Texts, item.index))
            return footprintOf(*t);
        break;
    case KindPicture:
        if (const PictureInfo *p = at(world.Pictures, item.index))
            return footprintOf(*p);
        break;
    case KindCube:
        if (const CubeInfo *c = at(world.Cubes, item.index))
            return footprintOf(*c);
        break;
    default:
        break;
    }
    return std::nullopt;
}

Footprint footprintOf(const AnyItem &record)
{
    return std::visit(
        [](const auto &item) {
            if constexpr (std::is_same_v<std::decay_t<decltype(item)>, ObjectInfo>)
                return footprintOf(item, nullptr);
            else
                return footprintOf(item);
        },
        record);
}

std::optional<MapItem> itemAt(const World &world, const std::vector<ShapeInfo> &shapes,
                              QPointF point, double slack)
{
    std::optional<MapItem> found;
    eachDrawn(world, shapes, [&](const MapItem &item, const Footprint &f) {
        if (f.contains(point, slack))
            found = item;
        return found.has_value();
    });
    return found;
}

ItemRefs itemsIn(const World &world, const std::vector<ShapeInfo> &shapes, const QRectF &area)
{
    ItemRefs items;
    eachDrawn(world, shapes, [&](const MapItem &item, const Footprint &f) {
        if (f.touches(area))
            items.push_back(item);
        return false;
    });
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

QString describeItem(const World &world, const MapItem &item)
{
    const auto i = size_t(item.index);
    switch (item.kind) {
    case KindObject:
        return i < world.Objects.size() ? world.Objects[i].Name : QString();
    case KindText:
        return i < world.Texts.size() ? QObject::tr("Text: %1").arg(world.Texts[i].Text)
                                      : QString();
    case KindCube:
        return i < world.Cubes.size() ? world.Cubes[i].Kind : QString();
    case KindPicture:
        return i < world.Pictures.size()
                   ? QObject::tr("Picture: %1")
                         .arg(QFileInfo(world.Pictures[i].FileName).fileName())
                   : QString();
    case KindStart:
        return QObject::tr("Start Position");
    default:
        return QString();
    }
}
