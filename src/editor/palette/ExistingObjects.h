#pragma once
// The tree of existing objects built from the world: five category nodes,
// then one node per used item, added cubes, objects, pictures, texts, each
// array from index 0, so that node indexes follow that order whatever the
// sorted display shows. Each item node's tag holds its array index.

#include "core/library/Footprint.h"
#include "core/model/World.h"
#include "core/library/ObjectLibrary.h"

#include <QRectF>

#include <optional>
#include <vector>

class ObjectTree;

namespace ExistingObjects {

// The category nodes; their indexes are the kind numbers.
enum Node : int { ObjectsNode = 1, TextsNode = 2, CubesNode = 3, PicturesNode = 4, StartNode = 5 };
constexpr int FirstItemNode = 6;

// Empties the tree and fills it from the world. Selects the node of item
// selIndex of kind selKind (-1: the array's last element), if it is listed,
// and returns it; 0 when nothing was selected. Categories the user had
// opened stay open.
int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes, int selKind,
            int selIndex);

// The item a node stands for: the start position, or an item by its kind
// (the parent's index) and its tag; nothing for a category or no node.
std::optional<MapItem> itemOf(const ObjectTree &tree, int node);

struct Marker {
    QRectF rect;     // map units
    bool withHandle; // cubes cannot be dragged
};

// Where the selection marker goes for a node; nothing for a category, no node
// or a node whose item is gone.
std::optional<Marker> markerFor(const ObjectTree &tree, int node, const World &world);

} // namespace ExistingObjects
