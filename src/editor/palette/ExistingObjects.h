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

// Empties the tree and fills it from the world, selecting the nodes of the
// selected items. Returns the tree's selected node; 0 when nothing was
// selected. Categories the user had opened stay open.
int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes,
            const ItemRefs &selection);
// The same, selecting item selIndex of kind selKind (-1: the array's last
// element), if it is listed.
int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes, int selKind,
            int selIndex);

// The item a node stands for: the start position, or an item by its kind
// (the parent's index) and its tag; nothing for a category or no node.
std::optional<MapItem> itemOf(const ObjectTree &tree, int node);
// The items the nodes stand for, sorted, each once.
ItemRefs itemsOf(const ObjectTree &tree, const std::vector<int> &nodes);
// Every node that lists one of the items (an object is listed once per
// library entry of its name), ascending.
std::vector<int> nodesOf(const ObjectTree &tree, const ItemRefs &items);

// Makes the tree show the selection, unless it shows it already (a category
// the user chose beside it stays chosen).
void select(ObjectTree &tree, const ItemRefs &selection);

struct Marker {
    QRectF rect;     // map units
    bool withHandle; // rectangles are outlined whole, without one
};

// Where the selection marker goes for a node; nothing for a category, no node
// or a node whose item is gone.
std::optional<Marker> markerFor(const ObjectTree &tree, int node, const World &world);

} // namespace ExistingObjects
