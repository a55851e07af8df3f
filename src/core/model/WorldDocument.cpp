#include "core/model/WorldDocument.h"

#include "core/model/ItemEdits.h"

#include <QUndoCommand>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// Calls f with the array of the given kind; false for an unknown kind.
template <class World_, class F> bool withArray(World_ &world, int kind, F &&f)
{
    switch (kind) {
    case KindObject:
        f(world.Objects);
        return true;
    case KindText:
        f(world.Texts);
        return true;
    case KindCube:
        f(world.Cubes);
        return true;
    case KindPicture:
        f(world.Pictures);
        return true;
    default:
        return false;
    }
}

template <class T> std::vector<T> &arrayOf(World &world)
{
    if constexpr (std::is_same_v<T, ObjectInfo>)
        return world.Objects;
    else if constexpr (std::is_same_v<T, TextInfo>)
        return world.Texts;
    else if constexpr (std::is_same_v<T, CubeInfo>)
        return world.Cubes;
    else
        return world.Pictures;
}

// Calls f(items, record) with the array that holds records of the item's kind.
template <class F> void withArrayOf(World &world, const AnyItem &item, F &&f)
{
    std::visit([&](const auto &record) { f(arrayOf<std::decay_t<decltype(record)>>(world), record); },
               item);
}

// Removes the item from a sorted list; with shiftDown, the later items of its
// kind move down by one, as their array's elements did. True if any changed.
bool forgetIn(ItemRefs &refs, int kind, int index, bool shiftDown)
{
    bool changed = false;
    for (auto it = refs.begin(); it != refs.end();) {
        if (it->kind == kind && it->index == index) {
            it = refs.erase(it);
            changed = true;
            continue;
        }
        if (shiftDown && it->kind == kind && it->index > index) {
            --it->index;
            changed = true;
        }
        ++it;
    }
    return changed;
}

bool makeRoomIn(ItemRefs &refs, int kind, int index)
{
    bool changed = false;
    for (ItemRef &ref : refs) {
        if (ref.kind == kind && ref.index >= index) {
            ++ref.index;
            changed = true;
        }
    }
    return changed;
}

} // namespace

World worldOf(const std::vector<AnyItem> &items)
{
    World world;
    world.Objects.clear();
    world.Texts.clear();
    world.Cubes.clear();
    world.Pictures.clear();
    for (const AnyItem &item : items)
        withArrayOf(world, item, [](auto &array, const auto &record) { array.push_back(record); });
    return world;
}

std::vector<AnyItem> itemsOf(const World &world)
{
    std::vector<AnyItem> items;
    const auto take = [&items](const auto &array) {
        for (const auto &record : array) {
            if (isUsed(record))
                items.emplace_back(record);
        }
    };
    take(world.Objects);
    take(world.Texts);
    take(world.Cubes);
    take(world.Pictures);
    return items;
}

bool WorldSettings::sameStart(const WorldSettings &other) const
{
    return StartPosX == other.StartPosX && StartPosY == other.StartPosY &&
           StartAngle == other.StartAngle;
}

bool WorldSettings::operator==(const WorldSettings &other) const
{
    return Sky == other.Sky && Music == other.Music && Ground == other.Ground && sameStart(other);
}

// Appending follows the placeholder rule: the item may fill element 0 or
// grow the array. Undo puts back exactly what was there.
class AddItemCommand : public QUndoCommand {
public:
    AddItemCommand(WorldDocument &document, AnyItem item, QUndoCommand *parent = nullptr)
        : QUndoCommand(parent), m_document(document), m_item(std::move(item))
    {
        const QString verb = kindOf(m_item) == KindCube ? QStringLiteral("Draw")
                                                        : QStringLiteral("Place");
        setText(verb + QLatin1Char(' ') + WorldDocument::itemLabel(m_item));
    }

    void redo() override
    {
        withArrayOf(m_document.m_world, m_item, [this](auto &items, const auto &record) {
            const size_t before = items.size();
            m_previous = items.front();
            m_index = appendItem(items, record);
            m_grew = items.size() > before;
        });
        m_document.touch({kindOf(m_item), m_index});
        emit m_document.itemAdded(kindOf(m_item), m_index);
    }

    void undo() override
    {
        withArrayOf(m_document.m_world, m_previous, [this](auto &items, const auto &previous) {
            if (m_grew)
                items.pop_back();
            else
                items.front() = previous;
        });
        // The last element goes, or element 0 is unused again: nothing moves down.
        m_document.forget(kindOf(m_item), m_index, false);
        emit m_document.itemRemoved(kindOf(m_item), m_index);
    }

private:
    WorldDocument &m_document;
    AnyItem m_item;
    AnyItem m_previous; // element 0 before the item was added
    int m_index = 0;
    bool m_grew = false;
};

// Removal shifts later elements down, or empties the key field of a lone
// element; undo restores the removed record at its place.
class RemoveItemCommand : public QUndoCommand {
public:
    RemoveItemCommand(WorldDocument &document, AnyItem removed, int index,
                      QUndoCommand *parent = nullptr)
        : QUndoCommand(parent), m_document(document), m_removed(std::move(removed)), m_index(index)
    {
        setText(QStringLiteral("Remove ") + WorldDocument::itemLabel(m_removed));
    }

    void redo() override
    {
        withArrayOf(m_document.m_world, m_removed, [this](auto &items, const auto &) {
            m_wasLone = items.size() == 1;
            removeItem(items, m_index);
        });
        m_document.forget(kindOf(m_removed), m_index, !m_wasLone);
        emit m_document.itemRemoved(kindOf(m_removed), m_index);
    }

    void undo() override
    {
        if (!m_wasLone)
            m_document.makeRoom(kindOf(m_removed), m_index);
        withArrayOf(m_document.m_world, m_removed, [this](auto &items, const auto &record) {
            if (m_wasLone)
                items.front() = record;
            else
                items.insert(items.begin() + m_index, record);
        });
        m_document.touch({kindOf(m_removed), m_index});
        emit m_document.itemAdded(kindOf(m_removed), m_index);
    }

private:
    WorldDocument &m_document;
    AnyItem m_removed;
    int m_index;
    bool m_wasLone = false;
};

// Moving and editing replace one record with another.
class ChangeItemCommand : public QUndoCommand {
public:
    ChangeItemCommand(WorldDocument &document, int index, AnyItem before, AnyItem after,
                      const QString &verb, QUndoCommand *parent = nullptr)
        : QUndoCommand(parent), m_document(document), m_index(index), m_before(std::move(before)),
          m_after(std::move(after))
    {
        setText(verb + QLatin1Char(' ') + WorldDocument::itemLabel(m_after));
    }

    void redo() override { put(m_after); }
    void undo() override { put(m_before); }

private:
    void put(const AnyItem &item)
    {
        withArrayOf(m_document.m_world, item,
                    [this](auto &items, const auto &record) { items[size_t(m_index)] = record; });
        m_document.touch({kindOf(item), m_index});
        emit m_document.itemChanged(kindOf(item), m_index);
    }

    WorldDocument &m_document;
    int m_index;
    AnyItem m_before;
    AnyItem m_after;
};

class SettingsCommand : public QUndoCommand {
public:
    SettingsCommand(WorldDocument &document, WorldSettings before, WorldSettings after,
                    const QString &action, QUndoCommand *parent = nullptr)
        : QUndoCommand(action, parent), m_document(document), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }

    void redo() override { m_document.applySettings(m_after); }
    void undo() override { m_document.applySettings(m_before); }

private:
    WorldDocument &m_document;
    WorldSettings m_before;
    WorldSettings m_after;
};

namespace {

// Commands gathered under one parent, which runs them in order and undoes
// them backwards: one undo step, named for what it did.
class Step {
public:
    explicit Step(QString verb) : m_verb(std::move(verb)) {}

    // The parent of the next command, which acts on the item of this label.
    QUndoCommand *add(const QString &label)
    {
        ++m_count;
        m_label = label;
        return m_group.get();
    }

    // "Paste Park Bench", "Move Start Position", "Move 3 Items"; no step
    // when nothing was added.
    void push(QUndoStack &stack)
    {
        if (m_count == 0)
            return;
        m_group->setText(m_count == 1 ? m_verb + QLatin1Char(' ') + m_label
                                      : QStringLiteral("%1 %2 Items").arg(m_verb).arg(m_count));
        stack.push(m_group.release());
    }

private:
    QString m_verb;
    QString m_label;
    int m_count = 0;
    std::unique_ptr<QUndoCommand> m_group = std::make_unique<QUndoCommand>();
};

const QString StartLabel = QStringLiteral("Start Position");

} // namespace

WorldDocument::WorldDocument(QObject *parent) : QObject(parent)
{
    // Any command, undo or redo: Saved follows the clean state, and the
    // selection is settled. Connected first, so views that follow the step's
    // end find both done.
    connect(&m_undoStack, &QUndoStack::indexChanged, this, [this] {
        updateSaved(m_undoStack.isClean());
        settleSelection();
    });
}

WorldDocument::~WorldDocument()
{
    // The commands refer to this document: they go before it does.
    m_undoStack.blockSignals(true);
    m_undoStack.clear();
}

void WorldDocument::setSaved(bool saved)
{
    if (saved)
        m_undoStack.setClean();
    updateSaved(saved);
}

void WorldDocument::updateSaved(bool saved)
{
    if (m_saved == saved)
        return;
    m_saved = saved;
    emit savedChanged(saved);
}

void WorldDocument::replace(World world)
{
    m_undoStack.clear();
    m_world = std::move(world);
    const bool wasSelected = !m_selection.empty();
    m_selection.clear();
    m_touched.clear();
    setSaved(true);
    emit worldReplaced();
    if (wasSelected)
        emit selectionChanged();
}

void WorldDocument::savedAs(const QString &path)
{
    m_currentFile = path;
    setSaved(true);
}

std::optional<AnyItem> WorldDocument::item(int kind, int index) const
{
    std::optional<AnyItem> found;
    withArray(m_world, kind, [&](const auto &items) {
        if (index >= 0 && size_t(index) < items.size())
            found = items[size_t(index)];
    });
    return found;
}

int WorldDocument::count(int kind) const
{
    int n = 0;
    withArray(m_world, kind, [&](const auto &items) { n = int(items.size()); });
    return n;
}

WorldSettings WorldDocument::settings() const
{
    return {m_world.Sky,       m_world.Music,     m_world.Ground,
            m_world.StartPosX, m_world.StartPosY, m_world.StartAngle};
}

void WorldDocument::place(const AnyItem &item)
{
    m_undoStack.push(new AddItemCommand(*this, item));
}

void WorldDocument::change(int index, const AnyItem &record, const QString &verb)
{
    const std::optional<AnyItem> before = item(kindOf(record), index);
    if (!before || *before == record)
        return; // nothing to do is no command
    m_undoStack.push(new ChangeItemCommand(*this, index, *before, record, verb));
}

void WorldDocument::remove(int kind, int index)
{
    if (const std::optional<AnyItem> removed = item(kind, index))
        m_undoStack.push(new RemoveItemCommand(*this, *removed, index));
}

void WorldDocument::placeAll(const std::vector<AnyItem> &items, const QString &verb)
{
    Step step(verb);
    for (const AnyItem &item : items)
        new AddItemCommand(*this, item, step.add(itemLabel(item)));
    step.push(m_undoStack);
}

void WorldDocument::move(const ItemRefs &items, QPointF offset)
{
    if (offset.isNull())
        return;
    Step step(QStringLiteral("Move"));
    for (const ItemRef &ref : items) {
        if (ref.kind == KindStart) {
            WorldSettings moved = settings();
            moved.StartPosX += offset.x();
            moved.StartPosY += offset.y();
            new SettingsCommand(*this, settings(), moved, {}, step.add(StartLabel));
        } else if (const std::optional<AnyItem> record = item(ref.kind, ref.index)) {
            new ChangeItemCommand(*this, ref.index, *record, ItemEdits::translated(*record, offset),
                                  {}, step.add(itemLabel(*record)));
        }
    }
    step.push(m_undoStack);
}

void WorldDocument::turn(const ItemRefs &items, bool clockwise)
{
    Step step(QStringLiteral("Rotate"));
    for (const ItemRef &ref : items) {
        const std::optional<AnyItem> record = item(ref.kind, ref.index);
        if (record && ItemEdits::turns(*record))
            new ChangeItemCommand(*this, ref.index, *record, ItemEdits::turned(*record, clockwise),
                                  {}, step.add(itemLabel(*record)));
    }
    step.push(m_undoStack);
}

void WorldDocument::removeAll(ItemRefs items, const QString &verb)
{
    // The last first, so that the indices of those still to go stay as they are.
    std::sort(items.rbegin(), items.rend());
    Step step(verb);
    for (const ItemRef &ref : items) {
        if (const std::optional<AnyItem> removed = item(ref.kind, ref.index))
            new RemoveItemCommand(*this, *removed, ref.index, step.add(itemLabel(*removed)));
    }
    step.push(m_undoStack);
}

void WorldDocument::changeSettings(const WorldSettings &settings, const QString &action)
{
    m_undoStack.push(new SettingsCommand(*this, this->settings(), settings, action));
}

void WorldDocument::applySettings(const WorldSettings &settings)
{
    const WorldSettings before = this->settings();
    m_world.Sky = settings.Sky;
    m_world.Music = settings.Music;
    m_world.Ground = settings.Ground;
    m_world.StartPosX = settings.StartPosX;
    m_world.StartPosY = settings.StartPosY;
    m_world.StartAngle = settings.StartAngle;
    const bool startMoved = !before.sameStart(settings);
    if (startMoved) {
        touch({KindStart, 0});
        emit startChanged();
    }
    if (!startMoved || before.Sky != settings.Sky || before.Music != settings.Music ||
        before.Ground != settings.Ground)
        emit settingsChanged();
}

bool WorldDocument::exists(const ItemRef &ref) const
{
    if (ref.kind == KindStart)
        return ref.index == 0;
    bool used = false;
    withArray(m_world, ref.kind, [&](const auto &items) {
        used =
            ref.index >= 0 && size_t(ref.index) < items.size() && isUsed(items[size_t(ref.index)]);
    });
    return used;
}

ItemRefs WorldDocument::valid(ItemRefs items) const
{
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    items.erase(std::remove_if(items.begin(), items.end(),
                               [this](const ItemRef &ref) { return !exists(ref); }),
                items.end());
    return items;
}

void WorldDocument::setSelection(ItemRefs items)
{
    items = valid(std::move(items));
    if (items == m_selection)
        return;
    m_selection = std::move(items);
    emit selectionChanged();
}

void WorldDocument::touch(const ItemRef &item) { m_touched.push_back(item); }

void WorldDocument::forget(int kind, int index, bool shiftDown)
{
    m_selectionMoved |= forgetIn(m_selection, kind, index, shiftDown);
    forgetIn(m_touched, kind, index, shiftDown);
}

void WorldDocument::makeRoom(int kind, int index)
{
    m_selectionMoved |= makeRoomIn(m_selection, kind, index);
    makeRoomIn(m_touched, kind, index);
}

void WorldDocument::settleSelection()
{
    ItemRefs touched = valid(std::move(m_touched));
    m_touched.clear();
    // A step on selected items (a move, a turn) keeps the whole selection.
    if (!std::includes(m_selection.begin(), m_selection.end(), touched.begin(), touched.end())) {
        m_selection = std::move(touched);
        m_selectionMoved = true;
    }
    if (m_selectionMoved) {
        m_selectionMoved = false;
        emit selectionChanged();
    }
}

QString WorldDocument::itemLabel(const AnyItem &item)
{
    switch (kindOf(item)) {
    case KindObject:
        return std::get<ObjectInfo>(item).Name;
    case KindText:
        return QStringLiteral("Text");
    case KindCube:
        return std::get<CubeInfo>(item).Kind;
    default:
        return QStringLiteral("Picture");
    }
}
