#include "editor/palette/ExistingObjects.h"

#include "editor/palette/ObjectTree.h"
#include "core/library/ShapeIndex.h"

namespace ExistingObjects {

namespace {

const char *const CategoryTexts[] = {"3D Objects", "Text Objects", "Walls & Streets", "2D Pictures",
                                     "Start Position"};

class Builder {
public:
    Builder(ObjectTree &tree, int selKind, int selIndex)
        : m_tree(tree), m_selKind(selKind), m_selIndex(selIndex)
    {
    }

    template <class Item>
    void addAll(int kind, const std::vector<Item> &items, QString (*text)(const Item &))
    {
        for (int i = 0; i < int(items.size()); ++i) {
            if (isUsed(items[size_t(i)]))
                add(kind, i, upperBound(items), text(items[size_t(i)]));
        }
    }

    void add(int kind, int index, int last, const QString &text)
    {
        const int node = m_tree.addChild(kind, text);
        m_tree.setTag(node, index);
        if (m_selKind == kind && (index == m_selIndex || (m_selIndex == -1 && index == last)))
            m_tree.selectNode(node);
    }

private:
    ObjectTree &m_tree;
    const int m_selKind;
    const int m_selIndex;
};

QString cubeText(const CubeInfo &c) { return c.Kind; }
QString pictureText(const PictureInfo &p) { return p.FileName; }
QString textText(const TextInfo &t) { return t.Text; }

} // namespace

int rebuild(ObjectTree &tree, const World &world, const std::vector<ShapeInfo> &shapes, int selKind,
            int selIndex)
{
    std::vector<bool> open;
    for (int node = ObjectsNode; node <= StartNode; ++node)
        open.push_back(tree.isNodeExpanded(node));

    tree.beginRebuild();
    tree.clearNodes();
    for (const char *text : CategoryTexts)
        tree.setSorted(tree.addTopNode(QString::fromLatin1(text)));

    Builder builder(tree, selKind, selIndex);
    builder.addAll(CubesNode, world.Cubes, cubeText);
    // An object is listed once per library entry of its name: none when it is missing.
    const ShapeIndex library(shapes);
    const int lastObject = upperBound(world.Objects);
    for (int i = 0; i <= lastObject; ++i) {
        const ObjectInfo &object = world.Objects[size_t(i)];
        if (!isUsed(object))
            continue;
        for (size_t match = library.matching(object.Name).size(); match > 0; --match)
            builder.add(ObjectsNode, i, lastObject, object.Name);
    }
    builder.addAll(PicturesNode, world.Pictures, pictureText);
    builder.addAll(TextsNode, world.Texts, textText);
    tree.endRebuild();

    for (int node = ObjectsNode; node <= StartNode; ++node) {
        if (open[size_t(node - ObjectsNode)])
            tree.expandNode(node);
    }
    return tree.selectedNode();
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

std::optional<Marker> markerFor(const ObjectTree &tree, int node, const World &world)
{
    const std::optional<MapItem> item = itemOf(tree, node);
    const std::optional<Footprint> footprint = item ? footprintOf(world, *item) : std::nullopt;
    if (!footprint)
        return std::nullopt;
    return Marker{footprint->markerRect(), footprint->movable};
}

} // namespace ExistingObjects
