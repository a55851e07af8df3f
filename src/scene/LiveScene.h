#pragma once
// The world being edited as a Coin scene graph that follows the document item
// by item: each item's nodes are read from the text the export writes for
// that item, so the 3-D view cannot show anything else than the file would.
// Each library object is read once and its nodes shared by every item that
// places it; each texture image is read once. Sky, ground, lights and the
// start viewpoint come from the export's own frame, without music. Nothing
// is written anywhere.
//
// The graph: a frame group (viewpoint, navigation info, lights, background,
// ground), one group per item kind holding one separator per element of the
// kind's array (empty for an unused element), and the selection marks.

#include "core/library/ObjectLibrary.h"
#include "core/model/WorldDocument.h"
#include "scene/VrmlScene.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <Inventor/SbBox3f.h>

#include <array>
#include <optional>
#include <vector>

class SoGroup;
class SoNode;
class SoPath;
class SoSeparator;

class LiveScene : public QObject
{
    Q_OBJECT

public:
    // shapes: the object library as loaded; programFolder holds its Objects
    // and the Textures.
    LiveScene(const WorldDocument &document, const std::vector<ShapeInfo> &shapes,
              const QString &programFolder, QObject *parent = nullptr);
    ~LiveScene() override;
    LiveScene(const LiveScene &) = delete;
    LiveScene &operator=(const LiveScene &) = delete;

    SoSeparator *root() const { return m_root; }

    // The item a picked path runs through.
    std::optional<ItemRef> itemOn(const SoPath *path) const;
    // Number of elements of a kind's array the graph holds, and the bounding
    // box of one (empty for an unused element or one VRML cannot hold).
    int count(int kind) const;
    SbBox3f itemBox(const ItemRef &item) const;
    // All items together; the map's square when there are none.
    SbBox3f itemsBox() const;

    // Marks these items (the selection) with a box around each.
    void setMarked(const ItemRefs &items);
    // The library changed (an object imported or removed): its entries are
    // indexed again and the objects read anew.
    void libraryChanged();

signals:
    // The graph changed: draw again. startMoved: the frame was made anew,
    // and the start viewpoint may have moved.
    void changed(bool startMoved);

private:
    void rebuild();
    void indexLibrary();
    void makeFrame();
    void itemAdded(int kind, int index);
    void itemChanged(int kind, int index);
    void itemRemoved(int kind, int index);
    SoNode *makeItem(int kind, int index);
    void addObject(SoSeparator *item, const ObjectInfo &object);
    SoNode *sharedObject(int entry);
    SoGroup *kindGroup(int kind) const;
    void refreshMarks();

    const WorldDocument &m_document;
    const std::vector<ShapeInfo> &m_shapes;
    QString m_programFolder;
    PartReader m_reader;
    QHash<QString, QList<int>> m_entriesNamed; // library entries by name, in order
    std::vector<SoNode *> m_objects;           // by entry, read when first placed; referenced

    SoSeparator *m_root = nullptr; // referenced
    SoGroup *m_frame = nullptr;
    std::array<SoGroup *, 4> m_kinds{}; // KindObject .. KindPicture
    SoSeparator *m_marks = nullptr;
    ItemRefs m_marked;
};
