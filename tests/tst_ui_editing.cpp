// Changing what is placed: removal from the tree with the selection that
// follows, and the World Properties dialog.

#include "EditorHarness.h"

#include "export/frmWorldProperties.h"
#include "mapview/MapOverlay.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

namespace {

TextInfo text(const QString &t) { return TextInfo{t, 50, 50, 0, 0, "Text (Big)", false, {}, {}, {}}; }
PictureInfo picture(const QString &path) { return PictureInfo{20, 20, 0, 1, 1, 0, false, path, {}, {}}; }

// The node of the item of this kind and index; 0 when it has none.
int nodeOf(const ObjectTree &tree, int kind, int index)
{
    for (int node = 6; node <= tree.nodeCount(); ++node)
        if (tree.parentOf(node) == kind && tree.tag(node) == index)
            return node;
    return 0;
}

// The key fields of an array, placeholders as "".
template <class T> QStringList keys(const std::vector<T> &items, QString (*key)(const T &))
{
    QStringList result;
    for (const T &item : items)
        result << key(item);
    return result;
}

QStringList keysOf(const World &w, int kind)
{
    switch (kind) {
    case KindObject:
        return keys<ObjectInfo>(w.Objects, [](const ObjectInfo &o) { return o.Name; });
    case KindText:
        return keys<TextInfo>(w.Texts, [](const TextInfo &t) { return t.Text; });
    case KindCube:
        return keys<CubeInfo>(w.Cubes, [](const CubeInfo &c) { return c.Kind; });
    default:
        return keys<PictureInfo>(w.Pictures, [](const PictureInfo &p) { return p.FileName; });
    }
}

MainEditor &startActive(EditorHarness &h)
{
    MainEditor &e = h.start();
    e.activateWindow();
    if (!QTest::qWaitForWindowActive(&e))
        qWarning("the main window did not become active");
    return e;
}

} // namespace

Q_DECLARE_METATYPE(World)

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    // The selection moves to the node that takes the removed node's place in
    // the order of addition (walls, objects, pictures, texts), else to the
    // new last node; the removed item's category is opened.
    void removal_data()
    {
        QTest::addColumn<QString>("how"); // "button", "tree" or "map" (Delete key)
        QTest::addColumn<World>("before");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("keysAfter");
        QTest::addColumn<QString>("selectedAfter"); // the text of the selected node

        World mixed; // nodes: 6 Wall, 7 Oak, 8 sign.gif, 9 A, 10 B, 11 C
        mixed.Cubes = {{"Wall", 10, 20, 10, 20, 255}};
        mixed.Objects = {{"Oak", 30, 30, 0, {}, {}}};
        mixed.Pictures = {picture("/p/sign.gif")};
        mixed.Texts = {text("A"), text("B"), text("C")};
        World wallOnly;
        wallOnly.Cubes = mixed.Cubes;

        QTest::newRow("only object: first of the next kind")
            << "button" << mixed << int(KindObject) << 0 << QStringList{""} << "/p/sign.gif";
        QTest::newRow("only picture, by Delete in the tree")
            << "tree" << mixed << int(KindPicture) << 0 << QStringList{""} << "A";
        QTest::newRow("middle text, by Delete on the map")
            << "map" << mixed << int(KindText) << 1 << QStringList{"A", "C"} << "C";
        QTest::newRow("last node: the new last node")
            << "button" << mixed << int(KindText) << 2 << QStringList{"A", "B"} << "B";
        QTest::newRow("only item of the world: the start position")
            << "button" << wallOnly << int(KindCube) << 0 << QStringList{""} << "Start Position";
    }

    void removal()
    {
        QFETCH(QString, how);
        QFETCH(World, before);
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QStringList, keysAfter);
        QFETCH(QString, selectedAfter);
        EditorHarness h;
        MainEditor &e = startActive(h);
        e.Shapes = {ShapeInfo{"Oak", "Oak.wrl", 2, 2, 0x00ff00, "C", false}};
        e.document.replace(before);
        e.objTree->selectNode(nodeOf(*e.objTree, kind, index));
        e.objTree_NodeClick();

        if (how == "button") {
            e.cmdRemoveObject->click();
        } else {
            QWidget *target = how == "tree" ? static_cast<QWidget *>(e.objTree) : e.Image1;
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Delete);
        }

        QCOMPARE(keysOf(e.world(), kind), keysAfter);
        QVERIFY(!e.document.Saved());
        QCOMPARE(e.objTree->nodeText(e.objTree->selectedNode()), selectedAfter);
        QVERIFY(e.shpSelector->isVisible());
        QVERIFY(e.objTree->isNodeExpanded(kind));

        // Undo puts the item back where it was and selects it.
        QCOMPARE(e.mnuUndo->text().left(13), QStringLiteral("&Undo Remove "));
        e.mnuUndo->trigger();
        QCOMPARE(e.world(), before);
        QCOMPARE(e.objTree->selectedNode(), nodeOf(*e.objTree, kind, index));
        e.mnuRedo->trigger();
        QCOMPARE(keysOf(e.world(), kind), keysAfter);
    }

    // With nothing removable selected, the button removes nothing but counts
    // as a change.
    void removalWithoutItem_data()
    {
        QTest::addColumn<int>("node");
        QTest::newRow("no selection") << 0;
        QTest::newRow("a category") << int(KindCube);
        QTest::newRow("the start position") << 5;
    }

    void removalWithoutItem()
    {
        QFETCH(int, node);
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.replace(sampleWorld());
        e.objTree->selectNode(node);
        e.cmdRemoveObject->click();
        QCOMPARE(e.world(), sampleWorld());
        QVERIFY(!e.document.Saved());
        QVERIFY(!e.mnuUndo->isEnabled());
    }

    void worldProperties_data()
    {
        QTest::addColumn<QStringList>("before"); // sky, ground, music
        QTest::addColumn<QStringList>("shown");  // sky, ground, music as the dialog opens
        QTest::addColumn<QStringList>("steps");  // "sky:X", "ground:X", "find:PATH", "find", "clear"
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");

        const QStringList fresh{"", "", ""};
        const QStringList night{"Night Sky", "Snow", "/m/old.wav"};
        QTest::newRow("new world: the defaults are stored")
            << fresh << QStringList{"Blue Sky", "Grass", ""} << QStringList{} << true
            << QStringList{"Blue Sky", "Grass", ""};
        QTest::newRow("choices and music")
            << fresh << QStringList{"Blue Sky", "Grass", ""}
            << QStringList{"sky:Red Sky", "ground:Dirt", "find:/m/tune.mid"} << true
            << QStringList{"Red Sky", "Dirt", "/m/tune.mid"};
        QTest::newRow("find cancelled keeps the music")
            << night << night << QStringList{"find"} << true << night;
        QTest::newRow("clear box") << night << night << QStringList{"find:/m/x.mp3", "clear"}
                                   << true << QStringList{"Night Sky", "Snow", ""};
        QTest::newRow("cancel stores nothing")
            << night << night << QStringList{"sky:Blue Sky", "clear"} << false << night;
        QTest::newRow("Asphalt is kept")
            << QStringList{"Night Sky", "Asphalt", ""} << QStringList{"Night Sky", "Asphalt", ""}
            << QStringList{"sky:Gray Sky"} << true << QStringList{"Gray Sky", "Asphalt", ""};
        QTest::newRow("an unknown sky can be left for a listed one")
            << QStringList{"Green Sky", "Dirt", ""} << QStringList{"Green Sky", "Dirt", ""}
            << QStringList{"sky:Red Sky"} << true << QStringList{"Red Sky", "Dirt", ""};
    }

    void worldProperties()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, steps);
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        EditorHarness h;
        MainEditor &e = h.start();
        World w = sampleWorld();
        w.Sky = before[0];
        w.Ground = before[1];
        w.Music = before[2];
        e.document.replace(w);

        e.mnuProperties->trigger();
        QPointer<frmWorldProperties> d = e.findChild<frmWorldProperties *>();
        QVERIFY(d && d->isVisible() && d->isModal());
        QVERIFY(!e.document.Saved()); // opening alone counts as a change
        const auto current = [&d] {
            const WorldSettings s = d->settings();
            return QStringList{s.Sky, s.Ground, s.Music};
        };
        QCOMPARE(QStringList({d->cmbSky->currentText(), d->cmbGround->currentText()}),
                 shown.mid(0, 2));
        QCOMPARE(current(), shown);
        for (const QString &step : steps) {
            const QString value = step.section(':', 1);
            if (step.startsWith("sky:") || step.startsWith("ground:")) {
                QComboBox *list = step.startsWith("sky:") ? d->cmbSky : d->cmbGround;
                list->setCurrentIndex(list->findText(value));
                QVERIFY2(list->currentText() == value, qPrintable(step));
            } else if (step.startsWith("find")) {
                h.fake.fileDialogs.openAnswers = {value.isEmpty() ? std::nullopt
                                                                  : std::optional(value)};
                d->cmdFind->click();
                QCOMPARE(h.fake.fileDialogs.filters.last(),
                         "Internet Audio Files (*.wav,*.mid,*.mp3)|*.wav;*.mid;*.mp3");
            } else {
                d->Command1->click();
            }
        }
        (ok ? d->cmdOK : d->cmdCancel)->click();
        QTRY_VERIFY(!d); // closed and gone

        const WorldSettings s = e.document.settings();
        QCOMPARE(QStringList({s.Sky, s.Ground, s.Music}), after);
        QCOMPARE(e.world().Objects, w.Objects); // nothing else changes
        QVERIFY(!e.document.Saved());
        QCOMPARE(e.mnuUndo->isEnabled(), after != before);
        if (after == before)
            return;
        QCOMPARE(e.mnuUndo->text(), QStringLiteral("&Undo World Properties"));
        e.mnuUndo->trigger();
        QCOMPARE(e.world(), w);
        QVERIFY(e.document.Saved());
        e.mnuRedo->trigger();
        QCOMPARE(e.document.settings().Ground, after[1]);
    }

    // An unlisted ground is one extra entry at the end of its list.
    void unlistedGroundEntry()
    {
        FakePlatform fake;
        WorldSettings s;
        s.Ground = "Asphalt";
        frmWorldProperties d(fake.fileDialogs, s);
        QCOMPARE(d.cmbGround->count(), 4);
        QCOMPARE(d.cmbGround->currentIndex(), 3);
        QCOMPARE(d.cmbGround->itemText(3), QStringLiteral("Asphalt"));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_ui_editing.moc"
