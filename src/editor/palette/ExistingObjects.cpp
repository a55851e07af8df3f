#include "editor/palette/ExistingObjects.h"

#include "editor/palette/ObjectTree.h"
#include "core/library/ShapeIndex.h"

#include <algorithm>

namespace ExistingObjects {

namespace {

const char *const CategoryTexts[] = {"3D Objects", "Text Objects", "Walls & Streets", "2D Pictures",
                                     "Start Position"};

template <class Item>
void addAll(ObjectTree &tree, int kind, const std::vector<Item> &items,
            QString (*text)(const Item &))
{
    for (int i = 0; i < int(items.size()); ++i) {
        if (isUsed(items[size_t(i)]))
            tree.setTag(tree.addChild(kind, text(items[size_t(i)])), i);
    }
}

QString cubeText(const CubeInfo &c) { return c.Kind; }
QString pictureText(const PictureInfo &p) { return p.FileName; }
QString textText(const TextInfo &t) { return t.Text; }

} // namespace

int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes,
            const ItemRefs &selection)
{
    std::vector<bool> open;
    for (int node = ObjectsNode; node <= StartNode; ++node)
        open.push_back(tree.isNodeExpanded(node));

    tree.beginRebuild();
    tree.clearNodes();
    for (const char *text : CategoryTexts)
        tree.setSorted(tree.addTopNode(QString::fromLatin1(text)));

    addAll(tree, CubesNode, world.Cubes, cubeText);
    // An object is listed once per library entry of its name: none when it is missing.
    const ShapeIndex library(shapes);
    for (int i = 0; i < int(world.Objects.size()); ++i) {
        const ObjectInfo &object = world.Objects[size_t(i)];
        if (!isUsed(object))
            continue;
        for (size_t match = library.matching(object.Name).size(); match > 0; --match)
            tree.setTag(tree.addChild(ObjectsNode, object.Name), i);
    }
    addAll(tree, PicturesNode, world.Pictures, pictureText);
    addAll(tree, TextsNode, world.Texts, textText);
    tree.selectNodes(nodesOf(tree, selection));
    tree.endRebuild();

    for (int node = ObjectsNode; node <= StartNode; ++node) {
        if (open[size_t(node - ObjectsNode)])
            tree.expandNode(node);
    }
    return tree.selectedNode();
}

int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes, int selKind,
            int selIndex)
{
    if (selIndex == -1) { // the array's last element
        const size_t sizes[] = {world.Objects.size(), world.Texts.size(), world.Cubes.size(),
                                world.Pictures.size()};
        if (selKind >= KindObject && selKind <= KindPicture)
            selIndex = int(sizes[selKind - KindObject]) - 1;
    }
    return rebuild(tree, world, shapes, ItemRefs{{selKind, selIndex}});
}

std::optional<MapItem> itemOf(const ObjectTree &tree, int node)
{
    if (node == StartNode)
        return MapItem{KindStart, 0};
    const std::optional<int> tag = tree.tag(node);
    if (node < FirstItemNode || !tag)
        return std::nullopt;
    return MapItem{tree.parentOf(node), *tag};
}

ItemRefs itemsOf(const ObjectTree &tree, const std::vector<int> &nodes)
{
    ItemRefs items;
    for (const int node : nodes) {
        if (const std::optional<MapItem> item = itemOf(tree, node))
            items.push_back(*item);
    }
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

std::vector<int> nodesOf(const ObjectTree &tree, const ItemRefs &items)
{
    std::vector<int> nodes;
    if (items.empty())
        return nodes;
    for (int node = StartNode; node <= tree.nodeCount(); ++node) {
        const std::optional<MapItem> item = itemOf(tree, node);
        if (item && std::binary_search(items.begin(), items.end(), *item))
            nodes.push_back(node);
    }
    return nodes;
}

void select(ObjectTree &tree, const ItemRefs &selection)
{
    if (itemsOf(tree, tree.selectedNodes()) != selection)
        tree.selectNodes(nodesOf(tree, selection));
}

std::optional<Marker> markerFor(const ObjectTree &tree, int node, const World &world)
{
    const std::optional<MapItem> item = itemOf(tree, node);
    const std::optional<Footprint> footprint = item ? footprintOf(world, *item) : std::nullopt;
    if (!footprint)
        return std::nullopt;
    return Marker{footprint->markerRect(), footprint->atPoint};
}

} // namespace ExistingObjects
