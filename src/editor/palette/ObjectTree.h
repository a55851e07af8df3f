#pragma once
// The tree of existing objects, addressed the way the program thinks of it:
// a node is known by its index, its place in the order of addition since the
// last clear, counted from 1 (0 means "no node"). The index does not change
// when sorting shows the node elsewhere.
//
// Several nodes can be selected. Selecting from code raises no node-click:
// the program calls its own handler right after. Only the user's changes of
// the selection (clicks, Ctrl+clicks, keyboard moves) raise nodeClick.

#include <QTreeWidget>

#include <memory>
#include <optional>
#include <vector>

class ObjectTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit ObjectTree(QWidget *parent = nullptr);
    ~ObjectTree() override;

    void clearNodes();
    int addTopNode(const QString &text);
    int addChild(int parentIndex, const QString &text); // 0 when the parent does not exist
    void setSorted(int index, bool sorted = true);      // children shown by text, case-insensitive

    void setTag(int index, int tag);
    std::optional<int> tag(int index) const;
    QString nodeText(int index) const;
    void setNodeText(int index, const QString &text);
    int parentOf(int index) const; // 0 for a top node
    int nodeCount() const;

    int selectedNode() const;               // the current node if selected, else the first; 0: none
    std::vector<int> selectedNodes() const; // ascending
    void selectNode(int index);
    void selectNodes(const std::vector<int> &indexes); // exactly these; the first shown
    void unselectNode();

    void expandNode(int index);
    bool isNodeExpanded(int index) const;

    // Between these two, added nodes are collected off-screen and shown at
    // once, sorted, at the end; queries and selection work throughout.
    void beginRebuild();
    void endRebuild();

signals:
    void nodeClick(int index); // the user changed the selection; index: selectedNode()
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    class Node;
    Node *node(int index) const;
    void insertSorted(QTreeWidgetItem *parent, QTreeWidgetItem *child);
    void showSelection(const std::vector<int> &indexes);

    std::vector<Node *> m_nodes; // by index - 1; the items are owned by the tree or m_detached
    std::vector<std::unique_ptr<QTreeWidgetItem>> m_detached; // top nodes of a rebuild
    bool m_rebuilding = false;
    std::vector<int> m_pendingSelection;
};
