// The tree-view services beyond what Render2D's tests show: sorting and
// renaming outside a rebuild, and the keyboard raising node-click.

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
    void sortingOutsideARebuild()
    {
        ObjectTree tree;
        const int top = tree.addTopNode("Top");
        for (const char *t : {"pear", "Apple", "fig"})
            tree.addChild(top, t);
        QCOMPARE(shownChildren(tree.topLevelItem(0)), QStringList({"pear", "Apple", "fig"}));
        tree.setSorted(top); // sorts what it holds, and what comes later
        const int late = tree.addChild(top, "banana");
        QCOMPARE(shownChildren(tree.topLevelItem(0)),
                 QStringList({"Apple", "banana", "fig", "pear"}));
        tree.selectNode(late);
        tree.setNodeText(late, "zucchini"); // renaming moves it, selected still
        QCOMPARE(shownChildren(tree.topLevelItem(0)),
                 QStringList({"Apple", "fig", "pear", "zucchini"}));
        QCOMPARE(tree.selectedNode(), late);
        QCOMPARE(tree.addChild(99, "orphan"), 0);
    }

    void keyboardMovesRaiseNodeClick()
    {
        ObjectTree tree;
        const int top = tree.addTopNode("Top");
        tree.addChild(top, "first");
        const int second = tree.addChild(top, "second");
        tree.expandNode(top);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.selectNode(top + 1);
        QSignalSpy clicks(&tree, &ObjectTree::nodeClick);
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks[0].at(0).toInt(), second);
        QTest::keyClick(&tree, Qt::Key_Down); // nowhere to go: no click
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TestObjectTree)
#include "tst_ui_objecttree.moc"
