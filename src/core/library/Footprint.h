#pragma once
// Where each item lies on the map, in map units. The painter draws these
// footprints, the selection marker surrounds them and the pointer finds
// items by them, so the three can never disagree.

#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

// An item of the map by kind number and array index; the start position is
// {KindStart, 0}.
using MapItem = ItemRef;

struct Footprint {
    enum class Form {
        None, // listed, but not drawn: an unknown kind, rotation or map shape
        Box,  // from corner a to corner b
        Disc, // centre a, radius
        Bar,  // a line from a to b, penWidth pixels thick
    };
    Form form = Form::None;
    QPointF a, b;
    double radius = 0;
    int penWidth = 1;
    QPointF centre;      // the item's position
    bool atPoint = true; // placed by a click; false: a rectangle, drawn by a drag

    // The selection marker: a 4 x 4 square around the centre of an item
    // placed at a point, a wall's (or floor's...) own rectangle.
    QRectF markerRect() const;
    // Whether the point is on the drawn footprint or within slack of it.
    bool contains(QPointF point, double slack) const;
    // Whether the drawn footprint touches the area (its edges included).
    bool touches(const QRectF &area) const;
};

Footprint footprintOf(const CubeInfo &cube);
// The footprint as one library entry draws it; shape null: the object's
// position only (its name is missing from the library).
Footprint footprintOf(const ObjectInfo &object, const ShapeInfo *shape);
Footprint footprintOf(const PictureInfo &picture);
Footprint footprintOf(const TextInfo &text);
Footprint startFootprint(double x, double y);
// An item of the world, an object by its position only; nothing when the
// item does not exist.
std::optional<Footprint> footprintOf(const World &world, const MapItem &item);
// A record's footprint, an object's by its position only.
Footprint footprintOf(const AnyItem &record);

// The topmost item drawn at the point (the start marker, then texts,
// pictures, objects and walls, the last drawn first), within slack map units.
std::optional<MapItem> itemAt(const World &world, const std::vector<ShapeInfo> &shapes,
                              QPointF point, double slack);
// Every item whose drawing touches the area, sorted.
ItemRefs itemsIn(const World &world, const std::vector<ShapeInfo> &shapes, const QRectF &area);

// What a tool tip calls an item: "Park Bench", "Text: Welcome", "Wall",
// "Picture: sign.gif", "Start Position".
QString describeItem(const World &world, const MapItem &item);
