// The tree-view services beyond what Render2D's tests show: sorting outside a
// rebuild, selection during a rebuild, and which selections raise node-click.

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
        tree.clearNodes();
        QCOMPARE(tree.addTopNode("again"), 1);
    }

    void selectionMadeDuringARebuild()
    {
        ObjectTree tree;
        tree.beginRebuild();
        const int top = tree.addTopNode("Top");
        tree.setSorted(top);
        tree.addChild(top, "zeta");
        const int alpha = tree.addChild(top, "alpha");
        tree.selectNode(alpha);
        QCOMPARE(tree.selectedNode(), alpha);
        QCOMPARE(tree.topLevelItemCount(), 0); // nothing shows before the end
        tree.endRebuild();
        QCOMPARE(shownChildren(tree.topLevelItem(0)), QStringList({"alpha", "zeta"}));
        QCOMPARE(tree.selectedNode(), alpha);
        QVERIFY(tree.isNodeExpanded(top)); // brought into view
        tree.unselectNode();
        QCOMPARE(tree.selectedNode(), 0);
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

        tree.selectNode(second);
        tree.unselectNode();
        QCOMPARE(clicks.count(), 0);

        const QRect firstRow = tree.visualItemRect(tree.topLevelItem(0)->child(0));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, firstRow.center());
        QTest::keyClick(&tree, Qt::Key_Down);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks[0].at(0).toInt(), first);
        QCOMPARE(clicks[1].at(0).toInt(), second);
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(doubles.count(), 1);
    }
};

QTEST_MAIN(TestObjectTree)
#include "tst_ui_objecttree.moc"
