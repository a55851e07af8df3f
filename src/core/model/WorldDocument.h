#pragma once
// The one owner of the world. Every change of the world is a command on the
// document's undo stack; views learn of changes from its signals and never
// change the world themselves.
//
// Saved is False after any change and True again when undo or redo returns
// to the state of the last New, Open or Save (the undo stack's clean state).
//
// The document also holds the selection, which the map, the tree and any
// other view show and change alike. It is view state, not a change of the
// world: setting it is no command. Every command keeps it valid: a removed
// item leaves it, later items' indices shift with their array, and after a
// command, an undo or a redo the items it placed, changed or put back (the
// start position when it moved) become the selection, unless they were all
// selected already (a move or a turn of the selection keeps all of it).
// selectionChanged is emitted once per step, after the step's item
// notifications.

#include "core/model/World.h"

#include <QObject>
#include <QPointF>
#include <QUndoStack>

#include <variant>

// A record of any of the four kinds; the alternative's index + 1 is the kind
// number (KindObject, KindText, KindCube, KindPicture).
using AnyItem = std::variant<ObjectInfo, TextInfo, CubeInfo, PictureInfo>;

inline int kindOf(const AnyItem &item) { return int(item.index()) + 1; }

// A world that holds just these records, each array in their order (an
// array that gets none stays empty), and back: the used records of a world,
// objects, texts, walls and pictures.
World worldOf(const std::vector<AnyItem> &items);
std::vector<AnyItem> itemsOf(const World &world);

// An item by kind number and array index. The start position, which can be
// selected and moved but lies in no array, is {KindStart, 0}.
struct ItemRef {
    int kind = KindNone;
    int index = -1;
    bool operator==(const ItemRef &o) const { return kind == o.kind && index == o.index; }
    bool operator!=(const ItemRef &o) const { return !(*this == o); }
    bool operator<(const ItemRef &o) const
    {
        return kind != o.kind ? kind < o.kind : index < o.index;
    }
};
using ItemRefs = std::vector<ItemRef>; // sorted, no duplicates

// What surrounds the items: the World Properties and the start position.
struct WorldSettings {
    QString Sky;
    QString Music;
    QString Ground;
    double StartPosX = 50;
    double StartPosY = 96;
    double StartAngle = 0;

    bool sameStart(const WorldSettings &other) const;
    bool operator==(const WorldSettings &other) const;
};

class WorldDocument : public QObject {
    Q_OBJECT

public:
    explicit WorldDocument(QObject *parent = nullptr);
    ~WorldDocument() override;

    const World &world() const { return m_world; }
    QUndoStack &undoStack() { return m_undoStack; }

    bool Saved() const { return m_saved; }
    // True: the world as it is now is what the file holds (the clean state).
    // False: the world counts as changed, though no command was made.
    void setSaved(bool saved);
    QString CurrentFile() const { return m_currentFile; }

    // New and Open: the whole world is replaced, the undo stack emptied,
    // Saved is True. CurrentFile is left to savedAs.
    void replace(World world);
    // After a successful open or save (empty after New).
    void savedAs(const QString &path);

    // The map's zoom is view state: neither a command nor a change.
    void setZoom(int32_t zoom) { m_world.Zoom = zoom; }

    // Reading items by kind number and index; nothing for an index that does
    // not exist.
    std::optional<AnyItem> item(int kind, int index) const;
    int count(int kind) const; // the array's number of elements
    WorldSettings settings() const;

    // One undoable command each.
    void place(const AnyItem &item);                                 // "Place ...", "Draw ..."
    void change(int index, const AnyItem &record, const QString &verb); // "Move ...", "Edit ..."
    void remove(int kind, int index);                                // "Remove ..."
    void changeSettings(const WorldSettings &settings, const QString &action);

    // Several items in one undoable command, named "<verb> <item>" for one
    // item ("Paste Park Bench", "Move Start Position") and "<verb> N Items"
    // for more ("Move 3 Items"), counting only the items it changes. Nothing
    // to do is no command.
    void placeAll(const std::vector<AnyItem> &items, const QString &verb); // "Paste", "Duplicate"
    void move(const ItemRefs &items, QPointF offset);    // "Move"; the start position too
    void turn(const ItemRefs &items, bool clockwise);    // "Rotate"; see ItemEdits::turned
    void removeAll(ItemRefs items, const QString &verb); // "Remove", "Cut"; not the start

    // How commands name an item: "Park Bench", "Text", "Wall", "Picture".
    static QString itemLabel(const AnyItem &item);

    // The selected items: every one exists (a used element, or the start
    // position). setSelection sorts, drops duplicates and what does not
    // exist, and emits selectionChanged only when the result differs.
    const ItemRefs &selection() const { return m_selection; }
    void setSelection(ItemRefs items);
    bool exists(const ItemRef &item) const;

signals:
    void itemAdded(int kind, int index);
    void itemChanged(int kind, int index);
    void itemRemoved(int kind, int index);
    void settingsChanged(); // sky, music, ground: nothing the map shows
    void startChanged();    // the start position or orientation
    void worldReplaced();
    void savedChanged(bool saved);
    void selectionChanged();

private:
    friend class AddItemCommand;
    friend class RemoveItemCommand;
    friend class ChangeItemCommand;
    friend class SettingsCommand;

    void applySettings(const WorldSettings &settings);
    void updateSaved(bool saved);

    // Keeping the selection valid while commands run; see the class comment.
    ItemRefs valid(ItemRefs items) const;
    void touch(const ItemRef &item);                  // placed, changed or put back
    void forget(int kind, int index, bool shiftDown); // gone; later ones move down
    void makeRoom(int kind, int index);               // inserted; it and later ones move up
    void settleSelection();                           // at the end of each step

    World m_world;
    QUndoStack m_undoStack;
    bool m_saved = true;
    QString m_currentFile;
    ItemRefs m_selection;
    ItemRefs m_touched;            // by the step that runs
    bool m_selectionMoved = false; // indices shifted by the step that runs
};
