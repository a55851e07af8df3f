#include "editor/palette/ObjectTree.h"

#include <QSignalBlocker>

#include <algorithm>

// A node remembers its own index, its parent's index and its tag, so that
// every query answers without searching.
class ObjectTree::Node : public QTreeWidgetItem {
public:
    Node(int index, int parentIndex, const QString &text) : index(index), parentIndex(parentIndex)
    {
        setText(0, text);
    }

    // Case-insensitive order of the texts; equal texts keep their order of addition.
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const auto *that = dynamic_cast<const Node *>(&other);
        if (!that)
            return QTreeWidgetItem::operator<(other);
        return lessThan(*that);
    }

    bool lessThan(const Node &that) const
    {
        const QString a = text(0);
        const QString b = that.text(0);
        if (const int c = a.compare(b, Qt::CaseInsensitive); c != 0)
            return c < 0;
        if (const int c = a.compare(b, Qt::CaseSensitive); c != 0)
            return c < 0;
        return index < that.index;
    }

    const int index;
    const int parentIndex;
    std::optional<int> tag;
    bool sorted = false;
};

namespace {

bool nodeLess(const QTreeWidgetItem *a, const QTreeWidgetItem *b) { return *a < *b; }

} // namespace

ObjectTree::ObjectTree(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true); // keeps ten thousand rows cheap to lay out
    // Changes made from code block the tree's signals, so this is the user's.
    connect(this, &QTreeWidget::itemSelectionChanged, this,
            [this] { emit nodeClick(selectedNode()); });
}

ObjectTree::~ObjectTree()
{
    blockSignals(true); // taking the rows down is no choice of the user's
}

ObjectTree::Node *ObjectTree::node(int index) const
{
    if (index < 1 || index > int(m_nodes.size()))
        return nullptr;
    return m_nodes[size_t(index) - 1];
}

void ObjectTree::clearNodes()
{
    const QSignalBlocker quiet(this);
    m_detached.clear();
    m_nodes.clear();
    m_pendingSelection.clear();
    clear();
}

int ObjectTree::addTopNode(const QString &text)
{
    const int index = int(m_nodes.size()) + 1;
    auto item = std::make_unique<Node>(index, 0, text);
    m_nodes.push_back(item.get());
    if (m_rebuilding)
        m_detached.push_back(std::move(item));
    else
        addTopLevelItem(item.release()); // the tree owns it now
    return index;
}

int ObjectTree::addChild(int parentIndex, const QString &text)
{
    Node *parent = node(parentIndex);
    if (!parent)
        return 0;
    const int index = int(m_nodes.size()) + 1;
    auto item = std::make_unique<Node>(index, parentIndex, text);
    m_nodes.push_back(item.get());
    if (parent->sorted && !m_rebuilding)
        insertSorted(parent, item.release());
    else
        parent->addChild(item.release()); // a rebuild sorts once, at its end
    return index;
}

void ObjectTree::insertSorted(QTreeWidgetItem *parent, QTreeWidgetItem *child)
{
    int low = 0;
    int high = parent->childCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (*child < *parent->child(middle))
            high = middle;
        else
            low = middle + 1;
    }
    parent->insertChild(low, child);
}

void ObjectTree::setSorted(int index, bool sorted)
{
    Node *n = node(index);
    if (!n)
        return;
    n->sorted = sorted;
    if (!sorted || m_rebuilding || n->childCount() < 2)
        return;
    const QSignalBlocker quiet(this);
    const std::vector<int> selected = selectedNodes();
    QList<QTreeWidgetItem *> children = n->takeChildren();
    std::stable_sort(children.begin(), children.end(), nodeLess);
    n->addChildren(children);
    showSelection(selected);
}

void ObjectTree::setTag(int index, int tag)
{
    if (Node *n = node(index))
        n->tag = tag;
}

std::optional<int> ObjectTree::tag(int index) const
{
    const Node *n = node(index);
    return n ? n->tag : std::nullopt;
}

QString ObjectTree::nodeText(int index) const
{
    const Node *n = node(index);
    return n ? n->text(0) : QString();
}

void ObjectTree::setNodeText(int index, const QString &text)
{
    Node *n = node(index);
    if (!n)
        return;
    n->setText(0, text);
    Node *parent = node(n->parentIndex);
    if (!parent || !parent->sorted || m_rebuilding)
        return;
    // Move the node to its place among its sorted siblings.
    const QSignalBlocker quiet(this);
    const std::vector<int> selected = selectedNodes();
    parent->removeChild(n);
    insertSorted(parent, n);
    showSelection(selected);
}

int ObjectTree::parentOf(int index) const
{
    const Node *n = node(index);
    return n ? n->parentIndex : 0;
}

int ObjectTree::nodeCount() const { return int(m_nodes.size()); }

int ObjectTree::selectedNode() const
{
    if (const auto *current = dynamic_cast<const Node *>(currentItem());
        current && current->isSelected() && !m_rebuilding)
        return current->index;
    const std::vector<int> selected = selectedNodes();
    return selected.empty() ? 0 : selected.front();
}

std::vector<int> ObjectTree::selectedNodes() const
{
    if (m_rebuilding)
        return m_pendingSelection;
    std::vector<int> indexes;
    for (const QTreeWidgetItem *item : selectedItems()) {
        if (const auto *n = dynamic_cast<const Node *>(item))
            indexes.push_back(n->index);
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

void ObjectTree::selectNode(int index)
{
    if (node(index))
        selectNodes({index});
}

void ObjectTree::selectNodes(const std::vector<int> &indexes)
{
    std::vector<int> existing;
    for (const int index : indexes) {
        if (node(index))
            existing.push_back(index);
    }
    if (m_rebuilding) {
        m_pendingSelection = existing;
        return;
    }
    const QSignalBlocker quiet(this);
    showSelection(existing);
}

void ObjectTree::showSelection(const std::vector<int> &indexes)
{
    // One selection change for them all: thousands of rows stay quick.
    QItemSelection rows;
    for (const int index : indexes) {
        const QModelIndex row = indexFromItem(node(index));
        rows.select(row, row);
    }
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    if (indexes.empty()) {
        setCurrentItem(nullptr);
        return;
    }
    Node *first = node(indexes.front());
    selectionModel()->setCurrentIndex(indexFromItem(first), QItemSelectionModel::NoUpdate);
    scrollToItem(first); // also opens its category
}

void ObjectTree::unselectNode()
{
    const QSignalBlocker quiet(this);
    m_pendingSelection.clear();
    clearSelection();
    setCurrentItem(nullptr);
}

void ObjectTree::expandNode(int index)
{
    if (Node *n = node(index); n && !m_rebuilding)
        n->setExpanded(true);
}

bool ObjectTree::isNodeExpanded(int index) const
{
    const Node *n = node(index);
    return n && n->isExpanded();
}

void ObjectTree::beginRebuild()
{
    if (m_rebuilding)
        return;
    m_rebuilding = true;
    m_pendingSelection.clear();
    setUpdatesEnabled(false);
}

void ObjectTree::endRebuild()
{
    if (!m_rebuilding)
        return;
    for (Node *n : m_nodes) {
        if (!n->sorted || n->childCount() < 2)
            continue;
        QList<QTreeWidgetItem *> children = n->takeChildren();
        std::stable_sort(children.begin(), children.end(), nodeLess);
        n->addChildren(children);
    }
    QList<QTreeWidgetItem *> tops;
    tops.reserve(int(m_detached.size()));
    for (auto &item : m_detached)
        tops << item.release();
    m_detached.clear();
    const QSignalBlocker quiet(this);
    addTopLevelItems(tops); // the tree owns them now
    m_rebuilding = false;
    showSelection(m_pendingSelection);
    m_pendingSelection.clear();
    setUpdatesEnabled(true);
}

void ObjectTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    emit dblClick();
}
