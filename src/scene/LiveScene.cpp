#include "scene/LiveScene.h"

#include "core/files/FileServices.h"
#include "core/vrml/VRMLObjects.h"
#include "core/vrml/VrmlItems.h"
#include "core/vrml/VrmlWriter.h"
#include "scene/Culling.h"
#include "scene/LevelOfDetail.h"

#include <QFileInfo>

#include <Inventor/SoPath.h>
#include <Inventor/SbViewportRegion.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/nodes/SoBaseColor.h>
#include <Inventor/nodes/SoComplexity.h>
#include <Inventor/nodes/SoCube.h>
#include <Inventor/nodes/SoDrawStyle.h>
#include <Inventor/nodes/SoLightModel.h>
#include <Inventor/nodes/SoPickStyle.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoTranslation.h>

namespace {

QByteArray vrmlText(const QString &nodes)
{
    return QByteArrayLiteral("#VRML V2.0 utf8\n") + nodes.toUtf8();
}

// A part read: Coin's reader gives a text's single group itself, or a group
// around several nodes.
void takeNodes(const Scene &part, SoGroup *into)
{
    if (part.root())
        into->addChild(part.root());
}

// The innermost group of a placement written with nothing inside: the
// Transform, or the Billboard or Anchor within it (below the reader's group
// around it, if there is one).
SoGroup *innermost(SoNode *placement)
{
    if (!placement || !placement->isOfType(SoGroup::getClassTypeId()))
        return nullptr;
    auto *group = static_cast<SoGroup *>(placement);
    while (group->getNumChildren() == 1 && group->getChild(0)->isOfType(SoGroup::getClassTypeId()))
        group = static_cast<SoGroup *>(group->getChild(0));
    return group;
}

// A yellow wire box around a selected item, which picks never hit.
SoSeparator *markAround(const SbBox3f &box)
{
    auto *mark = new SoSeparator;
    auto *pickStyle = new SoPickStyle;
    pickStyle->style = SoPickStyle::UNPICKABLE;
    auto *lightModel = new SoLightModel;
    lightModel->model = SoLightModel::BASE_COLOR;
    auto *color = new SoBaseColor;
    color->rgb.setValue(1.0f, 0.85f, 0.0f);
    auto *style = new SoDrawStyle;
    style->style = SoDrawStyle::LINES;
    style->lineWidth = 2;
    auto *at = new SoTranslation;
    at->translation = box.getCenter();
    auto *cube = new SoCube;
    float dx = 0, dy = 0, dz = 0;
    box.getSize(dx, dy, dz);
    constexpr float Margin = 0.05f; // so that the lines are not hidden in the item's faces
    cube->width = dx + Margin;
    cube->height = dy + Margin;
    cube->depth = dz + Margin;
    for (SoNode *node : std::initializer_list<SoNode *>{pickStyle, lightModel, color, style, at, cube})
        mark->addChild(node);
    return mark;
}

} // namespace

LiveScene::LiveScene(const WorldDocument &document, const std::vector<ShapeInfo> &shapes,
                     const QString &programFolder, QObject *parent)
    : QObject(parent), m_document(document), m_shapes(shapes), m_programFolder(programFolder),
      m_reader({Files::pathIn(programFolder, QStringLiteral("Textures"))})
{
    initCoin();
    indexLibrary();

    m_root = new SoSeparator;
    m_root->ref();
    m_frame = new SoGroup;
    m_root->addChild(m_frame);
    // Round shapes with fewer facets than Coin's default: the software
    // renderer spends its time by the vertex.
    auto *complexity = new SoComplexity;
    complexity->value = 0.25f;
    m_root->addChild(complexity);
    for (SoGroup *&group : m_kinds) {
        group = new SoGroup;
        m_root->addChild(group);
    }
    m_marks = new SoSeparator;
    m_root->addChild(m_marks);

    connect(&document, &WorldDocument::itemAdded, this, &LiveScene::itemAdded);
    connect(&document, &WorldDocument::itemChanged, this, &LiveScene::itemChanged);
    connect(&document, &WorldDocument::itemRemoved, this, &LiveScene::itemRemoved);
    for (const auto signal : {&WorldDocument::settingsChanged, &WorldDocument::startChanged})
        connect(&document, signal, this, [this] {
            makeFrame();
            emit changed(true);
        });
    connect(&document, &WorldDocument::worldReplaced, this, &LiveScene::rebuild);
    rebuild();
}

LiveScene::~LiveScene()
{
    m_root->unref();
    for (SoNode *object : m_objects)
        if (object)
            object->unref();
}

void LiveScene::libraryChanged()
{
    indexLibrary();
    SoGroup *objects = kindGroup(KindObject);
    for (int index = 0; index < objects->getNumChildren(); ++index)
        objects->replaceChild(index, makeItem(KindObject, index));
    refreshMarks();
    emit changed(false);
}

void LiveScene::indexLibrary()
{
    for (SoNode *object : m_objects)
        if (object)
            object->unref();
    m_entriesNamed.clear();
    for (int entry = 0; entry < int(m_shapes.size()); ++entry) {
        const ShapeInfo &shape = m_shapes[size_t(entry)];
        m_entriesNamed[shape.Name].append(entry);
        if (!shape.Folder.isEmpty()) // the user's textures lie beside the objects
            m_reader.addSearchDir(shape.Folder);
    }
    m_objects.assign(m_shapes.size(), nullptr);
}

SoGroup *LiveScene::kindGroup(int kind) const
{
    return kind >= KindObject && kind <= KindPicture ? m_kinds[size_t(kind - KindObject)] : nullptr;
}

int LiveScene::count(int kind) const
{
    const SoGroup *group = kindGroup(kind);
    return group ? group->getNumChildren() : 0;
}

void LiveScene::rebuild()
{
    m_marked.clear();
    m_marks->removeAllChildren();
    makeFrame();
    for (int kind = KindObject; kind <= KindPicture; ++kind) {
        SoGroup *group = kindGroup(kind);
        group->removeAllChildren();
        for (int index = 0; index < m_document.count(kind); ++index)
            group->addChild(makeItem(kind, index));
    }
    emit changed(true);
}

// The export's own frame, written for a world with nothing in it but its
// settings, and without music: the editor plays none.
void LiveScene::makeFrame()
{
    const WorldSettings settings = m_document.settings();
    World frame;
    frame.Sky = settings.Sky;
    frame.Ground = settings.Ground;
    frame.StartPosX = settings.StartPosX;
    frame.StartPosY = settings.StartPosY;
    frame.StartAngle = settings.StartAngle;
    std::vector<ShapeInfo> noShapes;
    QStringList missing, leftOut;
    const TextRead text =
        buildWorldText(frame, noShapes, m_programFolder, false, missing, leftOut);
    const Scene part = m_reader.read(vrmlText(text.text));
    m_frame->removeAllChildren();
    // The frame is one Transform holding everything; its children go into a
    // plain group so that its lights shine on the items after it.
    if (SoGroup *outer = innermost(part.root())) {
        for (int i = 0; i < outer->getNumChildren(); ++i)
            m_frame->addChild(outer->getChild(i));
    }
}

// Each item in a node of its own that leaves it out of frames it is not in.
SoNode *LiveScene::makeItem(int kind, int index)
{
    auto *item = new SoSeparator;
    const std::optional<AnyItem> record = m_document.item(kind, index);
    if (!record)
        return culledItem(item);
    QString text;
    QStringList leftOut; // an item VRML cannot hold stays empty here, as in the file
    const size_t at = size_t(index);
    if (const auto *cube = std::get_if<CubeInfo>(&*record)) {
        Vrml::writeCube(text, *cube, at, leftOut);
    } else if (const auto *picture = std::get_if<PictureInfo>(&*record)) {
        // The picture's own file, where the export would copy it from.
        const QString folder = m_document.CurrentFile().isEmpty()
                                   ? QString()
                                   : QFileInfo(m_document.CurrentFile()).absolutePath();
        const Vrml::ExportNames names{
            {picture->FileName, resolveWorldPath(picture->FileName, folder)}};
        Vrml::writePicture(text, *picture, at, names, leftOut);
    } else if (const auto *words = std::get_if<TextInfo>(&*record)) {
        Vrml::writeText(text, *words, at, leftOut);
    } else if (const auto *object = std::get_if<ObjectInfo>(&*record)) {
        addObject(item, *object);
    }
    if (!text.isEmpty())
        takeNodes(m_reader.read(vrmlText(text)), item);
    return culledItem(item);
}

// The object's placement is written empty, as the export writes it around
// the object, and the shared nodes of its library entries go inside.
void LiveScene::addObject(SoSeparator *item, const ObjectInfo &object)
{
    if (!isUsed(object))
        return;
    const Vrml::Placement frame = Vrml::objectPlacement(object);
    if (!Vrml::placementFits(frame))
        return;
    for (const int entry : m_entriesNamed.value(object.Name)) {
        QString text;
        Vrml::openPlacement(text, frame);
        Vrml::closePlacement(text, frame);
        const Scene part = m_reader.read(vrmlText(text));
        if (SoGroup *inside = innermost(part.root()))
            inside->addChild(sharedObject(entry));
        takeNodes(part, item);
    }
}

SoNode *LiveScene::sharedObject(int entry)
{
    SoNode *&object = m_objects[size_t(entry)];
    if (object)
        return object;
    // The definition as the export writes it; the library check has read
    // every object file in the same way at start-up.
    const ShapeInfo &shape = m_shapes[size_t(entry)];
    QString text;
    const TextRead code = GetObjectCode(m_programFolder, shape);
    if (code.ok())
        Vrml::appendDefinition(text, QStringLiteral("Object"), code.text);
    const Scene part = m_reader.read(vrmlText(text));
    // Far away, a simpler stand-in is drawn instead.
    object = part.root() ? withStandIn(part.root()) : new SoGroup;
    object->ref();
    return object;
}

void LiveScene::itemAdded(int kind, int index)
{
    SoGroup *group = kindGroup(kind);
    if (!group)
        return;
    // The element filled may be the lone unused one, or a new one.
    if (m_document.count(kind) > group->getNumChildren())
        group->insertChild(makeItem(kind, index), index);
    else
        group->replaceChild(index, makeItem(kind, index));
    refreshMarks();
    emit changed(false);
}

void LiveScene::itemChanged(int kind, int index)
{
    if (SoGroup *group = kindGroup(kind); group && index < group->getNumChildren()) {
        group->replaceChild(index, makeItem(kind, index));
        refreshMarks();
        emit changed(false);
    }
}

void LiveScene::itemRemoved(int kind, int index)
{
    SoGroup *group = kindGroup(kind);
    if (!group || index >= group->getNumChildren())
        return;
    // A lone element is emptied rather than taken out of its array.
    if (m_document.count(kind) < group->getNumChildren())
        group->removeChild(index);
    else
        group->replaceChild(index, makeItem(kind, index));
    refreshMarks();
    emit changed(false);
}

std::optional<ItemRef> LiveScene::itemOn(const SoPath *path) const
{
    if (!path)
        return std::nullopt;
    for (int i = 0; i + 1 < path->getLength(); ++i)
        for (int kind = KindObject; kind <= KindPicture; ++kind)
            if (path->getNode(i) == kindGroup(kind))
                return ItemRef{kind, path->getIndex(i + 1)};
    return std::nullopt;
}

SbBox3f LiveScene::itemBox(const ItemRef &item) const
{
    SoGroup *group = kindGroup(item.kind);
    if (!group || item.index < 0 || item.index >= group->getNumChildren())
        return SbBox3f();
    SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
    action.apply(group->getChild(item.index));
    return action.getBoundingBox();
}

SbBox3f LiveScene::itemsBox() const
{
    SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
    SbBox3f box;
    for (SoGroup *group : m_kinds) {
        action.apply(group);
        box.extendBy(action.getBoundingBox());
    }
    return box.isEmpty() ? SbBox3f(-50, 0, -50, 50, 1, 50) : box;
}

void LiveScene::setMarked(const ItemRefs &items)
{
    m_marked = items;
    refreshMarks();
    emit changed(false);
}

void LiveScene::refreshMarks()
{
    m_marks->removeAllChildren();
    for (const ItemRef &item : m_marked)
        if (const SbBox3f box = itemBox(item); !box.isEmpty())
            m_marks->addChild(markAround(box));
}
