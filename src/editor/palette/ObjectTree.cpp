#include "editor/palette/ObjectTree.h"

#include <QKeyEvent>

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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true); // keeps ten thousand rows cheap to lay out
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (const auto *n = dynamic_cast<const Node *>(item))
            emit nodeClick(n->index);
    });
}

ObjectTree::~ObjectTree() = default;

ObjectTree::Node *ObjectTree::node(int index) const
{
    if (index < 1 || index > int(m_nodes.size()))
        return nullptr;
    return m_nodes[size_t(index) - 1];
}

void ObjectTree::clearNodes()
{
    m_detached.clear();
    m_nodes.clear();
    m_pendingSelection = 0;
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
    const int selected = selectedNode();
    QList<QTreeWidgetItem *> children = n->takeChildren();
    std::stable_sort(children.begin(), children.end(), nodeLess);
    n->addChildren(children);
    if (selected)
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
    const bool wasSelected = selectedNode() == index;
    parent->removeChild(n);
    insertSorted(parent, n);
    if (wasSelected)
        showSelection(index);
}

int ObjectTree::parentOf(int index) const
{
    const Node *n = node(index);
    return n ? n->parentIndex : 0;
}

int ObjectTree::nodeCount() const { return int(m_nodes.size()); }

int ObjectTree::selectedNode() const
{
    if (m_rebuilding)
        return m_pendingSelection;
    const QList<QTreeWidgetItem *> items = selectedItems();
    if (items.isEmpty())
        return 0;
    const auto *n = dynamic_cast<const Node *>(items.first());
    return n ? n->index : 0;
}

void ObjectTree::selectNode(int index)
{
    if (!node(index))
        return;
    if (m_rebuilding)
        m_pendingSelection = index;
    else
        showSelection(index);
}

void ObjectTree::showSelection(int index)
{
    Node *n = node(index);
    setCurrentItem(n);
    scrollToItem(n); // also opens its category
}

void ObjectTree::unselectNode()
{
    m_pendingSelection = 0;
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
    m_pendingSelection = 0;
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
    addTopLevelItems(tops); // the tree owns them now
    m_rebuilding = false;
    if (m_pendingSelection)
        showSelection(m_pendingSelection);
    m_pendingSelection = 0;
    setUpdatesEnabled(true);
}

void ObjectTree::keyPressEvent(QKeyEvent *event)
{
    // Moving the selection with the keyboard is a user's choice of node too.
    const int before = selectedNode();
    QTreeWidget::keyPressEvent(event);
    const int after = selectedNode();
    if (after && after != before)
        emit nodeClick(after);
}

void ObjectTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    emit dblClick();
}
