// The tree-view services: indexes, tags, sorting, selection and its signals.

#include "palette/ObjectTree.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList shownChildren(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

class TestObjectTree : public QObject {
    Q_OBJECT

private slots:
    void indexesCountAdditionsSinceClear()
    {
        ObjectTree tree;
        QCOMPARE(tree.addTopNode("A"), 1);
        QCOMPARE(tree.addTopNode("B"), 2);
        QCOMPARE(tree.addChild(2, "b1"), 3);
        QCOMPARE(tree.addChild(1, "a1"), 4);
        QCOMPARE(tree.addChild(9, "orphan"), 0); // no such parent: nothing added
        QCOMPARE(tree.nodeCount(), 4);
        QCOMPARE(tree.parentOf(3), 2);
        QCOMPARE(tree.parentOf(1), 0);
        tree.clearNodes();
        QCOMPARE(tree.nodeCount(), 0);
        QCOMPARE(tree.topLevelItemCount(), 0);
        QCOMPARE(tree.addTopNode("again"), 1);
    }

    void tagsAreKeptPerNode()
    {
        ObjectTree tree;
        const int top = tree.addTopNode("Top");
        const int child = tree.addChild(top, "Item");
        tree.setTag(child, 41);
        QCOMPARE(tree.tag(child), std::optional<int>(41));
        QCOMPARE(tree.tag(top), std::nullopt);
        QCOMPARE(tree.tag(99), std::nullopt);
        QCOMPARE(tree.nodeText(99), QString());
    }

    void sortedChildrenIgnoreCaseAndKeepOrderOfEquals()
    {
        ObjectTree tree;
        const int sorted = tree.addTopNode("Sorted");
        const int plain = tree.addTopNode("Plain");
        tree.setSorted(sorted);
        for (const char *t : {"pear", "Apple", "apple", "Pear", "fig"}) {
            tree.addChild(sorted, t);
            tree.addChild(plain, t);
        }
        QCOMPARE(shownChildren(tree.topLevelItem(0)), QStringList({"Apple", "apple", "fig", "Pear", "pear"}));
        QCOMPARE(shownChildren(tree.topLevelItem(1)), QStringList({"pear", "Apple", "apple", "Pear", "fig"}));
        tree.setSorted(plain); // sorting a node later sorts what it already holds
        QCOMPARE(shownChildren(tree.topLevelItem(1)), QStringList({"Apple", "apple", "fig", "Pear", "pear"}));
    }

    void renamingMovesTheNodeAndKeepsTheSelection()
    {
        ObjectTree tree;
        const int top = tree.addTopNode("Top");
        tree.setSorted(top);
        tree.addChild(top, "b");
        const int c = tree.addChild(top, "c");
        tree.selectNode(c);
        tree.setNodeText(c, "a");
        QCOMPARE(shownChildren(tree.topLevelItem(0)), QStringList({"a", "b"}));
        QCOMPARE(tree.selectedNode(), c);
    }

    void rebuildShowsEverythingSortedAtTheEnd()
    {
        ObjectTree tree;
        tree.addTopNode("old");
        tree.beginRebuild();
        tree.clearNodes();
        const int top = tree.addTopNode("Top");
        tree.setSorted(top);
        tree.addChild(top, "zeta");
        const int alpha = tree.addChild(top, "alpha");
        tree.selectNode(alpha);
        QCOMPARE(tree.selectedNode(), alpha); // answers during the rebuild too
        QCOMPARE(tree.nodeText(alpha), QStringLiteral("alpha"));
        tree.endRebuild();
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(shownChildren(tree.topLevelItem(0)), QStringList({"alpha", "zeta"}));
        QCOMPARE(tree.selectedNode(), alpha);
        QVERIFY(tree.isNodeExpanded(top)); // the selected node is brought into view
    }

    void tenThousandNodes()
    {
        ObjectTree tree;
        tree.beginRebuild();
        const int top = tree.addTopNode("Top");
        tree.setSorted(top);
        for (int i = 0; i < 10000; ++i)
            tree.setTag(tree.addChild(top, QString::number(9999 - i)), i);
        tree.endRebuild();
        QCOMPARE(tree.nodeCount(), 10001);
        const QTreeWidgetItem *item = tree.topLevelItem(0);
        QCOMPARE(item->childCount(), 10000);
        QCOMPARE(item->child(0)->text(0), QStringLiteral("0"));
        QCOMPARE(tree.tag(2), std::optional<int>(0));
        QCOMPARE(tree.nodeText(2), QStringLiteral("9999"));
    }

    void onlyTheUserRaisesNodeClick()
    {
        ObjectTree tree;
        tree.resize(200, 300);
        const int top = tree.addTopNode("Top");
        const int first = tree.addChild(top, "first");
        const int second = tree.addChild(top, "second");
        tree.expandNode(top);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QSignalSpy clicks(&tree, &ObjectTree::nodeClick);
        QSignalSpy doubles(&tree, &ObjectTree::dblClick);

        tree.selectNode(first);
        tree.unselectNode();
        tree.selectNode(second);
        QCOMPARE(clicks.count(), 0);

        const QRect firstRow = tree.visualItemRect(tree.topLevelItem(0)->child(0));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toInt(), first);
        QCOMPARE(tree.selectedNode(), first);

        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toInt(), second);

        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(doubles.count(), 1);
    }

    void unselectLeavesNoNode()
    {
        ObjectTree tree;
        const int top = tree.addTopNode("Top");
        tree.selectNode(top);
        QCOMPARE(tree.selectedNode(), top);
        tree.unselectNode();
        QCOMPARE(tree.selectedNode(), 0);
        tree.selectNode(42); // no such node: nothing changes
        QCOMPARE(tree.selectedNode(), 0);
    }
};

QTEST_MAIN(TestObjectTree)
#include "tst_ui_objecttree.moc"
