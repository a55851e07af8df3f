// Changing what is placed: removal from the tree with the selection that
// follows, the Edit Object dialog and the World Properties dialog.

#include "EditorHarness.h"

#include "editing/frmEdit.h"
#include "export/frmWorldProperties.h"
#include "mapview/MapOverlay.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

AnyItem itemOf(const World &w, int kind, int index)
{
    const auto i = size_t(index);
    switch (kind) {
    case KindObject:
        return w.Objects[i];
    case KindText:
        return w.Texts[i];
    case KindCube:
        return w.Cubes[i];
    default:
        return w.Pictures[i];
    }
}

// The key fields of an array, placeholders as "".
QStringList keysOf(const World &w, int kind)
{
    QStringList keys;
    const auto add = [&keys](const auto &items, auto key) {
        for (const auto &item : items)
            keys << item.*key;
    };
    switch (kind) {
    case KindObject:
        add(w.Objects, &ObjectInfo::Name);
        break;
    case KindText:
        add(w.Texts, &TextInfo::Text);
        break;
    case KindCube:
        add(w.Cubes, &CubeInfo::Kind);
        break;
    default:
        add(w.Pictures, &PictureInfo::FileName);
    }
    return keys;
}

// The node of the item of this kind and index; 0 when it has none.
int nodeOf(const ObjectTree &tree, int kind, int index)
{
    for (int node = 6; node <= tree.nodeCount(); ++node)
        if (tree.parentOf(node) == kind && tree.tag(node) == index)
            return node;
    return 0;
}

// One step on a dialog, its controls found by name: "type:box=text",
// "click:button", "pick:list=entry", "target:text", "color:swatch=value",
// "find:button=path" (a file chosen).
void play(QWidget &d, FakePlatform &fake, const QString &step)
{
    const QString action = step.section(':', 0, 0);
    const QString name = step.section(':', 1).section('=', 0, 0);
    const QString value = step.section('=', 1);
    if (action == "type") {
        auto *box = d.findChild<QLineEdit *>(name);
        QVERIFY2(box, qPrintable(step));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, value);
        return;
    }
    if (action == "pick" || action == "target") {
        auto *list = d.findChild<QComboBox *>(action == "pick" ? name : "cmbTarget");
        if (action == "pick")
            list->setCurrentIndex(list->findText(value));
        else
            list->setEditText(name);
        return;
    }
    if (action == "color")
        fake.colorDialog.answers = {value.toInt(nullptr, 0)};
    if (action == "find")
        fake.fileDialogs.openAnswers = {value};
    auto *button = d.findChild<QAbstractButton *>(name);
    QVERIFY2(button && button->isVisible(), qPrintable(step));
    button->click();
}

MainEditor &startActive(EditorHarness &h)
{
    MainEditor &e = h.start();
    e.activateWindow();
    if (!QTest::qWaitForWindowActive(&e))
        qWarning("the main window did not become active");
    return e;
}

// Selects the node and presses Enter on it, or double-clicks it; the Edit
// Object dialog that opens, if any.
frmEdit *openEditor(MainEditor &e, int node, bool enter = true)
{
    e.objTree->selectNode(node);
    e.objTree->setFocus();
    if (enter)
        QTest::keyClick(e.objTree, Qt::Key_Return);
    else
        QTest::mouseDClick(e.objTree->viewport(), Qt::LeftButton, {},
                           e.objTree->visualItemRect(e.objTree->currentItem()).center());
    return e.findChild<frmEdit *>();
}

// Nodes: 6 Wall, 7 Street, 8 Oak, 9 sign.gif, 10 flat.gif, 11 A, 12 B, 13 C.
World sample()
{
    World w;
    w.Objects = {{"Oak", 30, 30, 3.14f, {}, {}}};
    w.Texts = {{"A", 70, 70, 0xFFFFFF, 0, "Text (Big)", false, {}, {}, {}}, {}, {}};
    w.Texts[1].Text = "B";
    w.Texts[2].Text = "C";
    w.Cubes = {{"Wall", 10, 40, 50, 60, 0x0000FF}, {"Street", 0, 100, 90, 95, 0}};
    w.Pictures = {{70, 20, 0.25f, 1, 0.5f, 0, false, "/p/sign.gif", {}, {}},
                  {20, 70, 0, 1, 0, 0, false, "/p/flat.gif", {}, {}}};
    return w;
}

} // namespace

Q_DECLARE_METATYPE(World)
Q_DECLARE_METATYPE(AnyItem)

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // The selection moves to the node that takes the removed node's place in
    // the order of addition, else to the new last node.
    void removal_data()
    {
        QTest::addColumn<QString>("how"); // "button", or Delete in the "tree" or on the "map"
        QTest::addColumn<World>("before");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("keysAfter");
        QTest::addColumn<QString>("selectedAfter");
        World wallOnly;
        wallOnly.Cubes = {sample().Cubes[0]};
        const World s = sample();
        QTest::newRow("only object: first of the next kind")
            << "button" << s << int(KindObject) << 0 << QStringList{""} << "/p/sign.gif";
        QTest::newRow("first picture, Delete in the tree")
            << "tree" << s << int(KindPicture) << 0 << QStringList{"/p/flat.gif"} << "/p/flat.gif";
        QTest::newRow("middle text, Delete on the map")
            << "map" << s << int(KindText) << 1 << QStringList{"A", "C"} << "C";
        QTest::newRow("last node")
            << "button" << s << int(KindText) << 2 << QStringList{"A", "B"} << "B";
        QTest::newRow("only item of the world")
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
        QVERIFY(e.shpSelector->isVisible() && e.objTree->isNodeExpanded(kind));

        QVERIFY(e.mnuUndo->text().startsWith("&Undo Remove "));
        e.mnuUndo->trigger(); // back in its place, and selected
        QCOMPARE(e.world(), before);
        QCOMPARE(e.objTree->selectedNode(), nodeOf(*e.objTree, kind, index));
        e.mnuRedo->trigger();
        QCOMPARE(keysOf(e.world(), kind), keysAfter);
    }

    // A street or a category has nothing to edit. Nothing removable
    // selected: nothing removed, yet the world counts as changed.
    void nothingToEditOrRemove()
    {
        EditorHarness h;
        MainEditor &e = startActive(h);
        e.document.replace(sample());
        QVERIFY(!openEditor(e, 7) && !openEditor(e, KindText, false));
        for (int node : {0, int(KindCube), 5}) {
            e.objTree->selectNode(node);
            e.cmdRemoveObject->click();
        }
        QCOMPARE(e.world(), sample());
        QVERIFY(!e.document.Saved() && !e.mnuUndo->isEnabled());
    }

    // What the dialog shows for each kind, what OK stores or refuses, undo and redo.
    void editItem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("message"); // shown by Find or OK; "Please..." keeps it open
        QTest::addColumn<AnyItem>("after");
        const auto row = [](const char *name, int kind, int index, const QStringList &steps,
                            const QString &message,
                            const std::function<void(AnyItem &)> &change = {}) {
            AnyItem after = itemOf(sample(), kind, index);
            if (change)
                change(after);
            QTest::newRow(name) << kind << index << steps << message << after;
        };
        const auto picture = [](AnyItem &a) -> PictureInfo & { return std::get<PictureInfo>(a); };

        row("wall: compact, only its colour", KindCube, 0, {"color:picCubesColor=0xFF"}, "",
            [](AnyItem &a) { std::get<CubeInfo>(a).Color = 0xFF; });
        row("wall: OK without a change", KindCube, 0, {}, "");
        row("object: linked, keeps its turn", KindObject, 0,
            {"type:txtAnchor=http://a.example", "target:_blank"}, "", [](AnyItem &a) {
                auto &o = std::get<ObjectInfo>(a);
                std::tie(o.Anchor, o.Target) = std::tuple("http://a.example", "_blank");
            });
        row("text: every field", KindText, 0,
            {"type:txtTextText=Bye", "click:optText2", "color:picTextColor=0xFF00",
             "click:chkTextBillBoard", "click:optRight"},
            "", [](AnyItem &a) {
                auto &t = std::get<TextInfo>(a);
                std::tie(t.Text, t.Kind, t.Color, t.Billboard, t.Rotation) =
                    std::tuple("Bye", "Text (Eye-Level)", 0xFF00, true, 1.57f);
            });
        row("text: empty", KindText, 0, {"type:txtTextText="},
            "Please enter the text to by displayed.");
        row("picture: height keeps the proportions", KindPicture, 0,
            {"type:txt2DHeight=9", "click:chk2DBillBoard"}, "", [&](AnyItem &a) {
                std::tie(picture(a).Height, picture(a).Width, picture(a).Billboard) =
                    std::tuple(0.75f, 1.5f, true);
            });
        row("picture: new file", KindPicture, 0, {"find:cmd2dFind=/p/new.jpg"}, "",
            [&](AnyItem &a) { picture(a).FileName = "/p/new.jpg"; });
        row("picture: unreadable file", KindPicture, 0, {"find:cmd2dFind=/p/notes.gif"},
            "Cannot read this picture: /p/notes.gif\nUnsupported image format");
        row("picture: empty off ground is 0", KindPicture, 0, {"type:txt2DOffGround="}, "",
            [&](AnyItem &a) { picture(a).OffGround = 0; });
        row("picture: stored height 0, no proportions", KindPicture, 1, {"type:txt2DHeight=24"}, "",
            [&](AnyItem &a) { picture(a).Height = 2; });
        row("picture: no height", KindPicture, 0, {"type:txt2DHeight="},
            "Please enter a number for height.");
        row("picture: height too large to store", KindPicture, 0, {"type:txt2DHeight=1E+40"},
            "Please enter a number for height.");
        row("picture: off ground no number", KindPicture, 0, {"type:txt2DOffGround=high"},
            "Please specify a numeric value for Off Ground (Feet).");
    }

    void editItem()
    {
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QStringList, steps);
        QFETCH(QString, message);
        QFETCH(AnyItem, after);
        EditorHarness h;
        h.fake.pictures.sizes = {{"/p/new.jpg", QSize(40, 30)}};
        MainEditor &e = startActive(h);
        e.Shapes = {ShapeInfo{"Oak", "Oak.wrl", 2, 2, 0x00ff00, "C", false}};
        e.document.replace(sample());

        QPointer<frmEdit> d = openEditor(e, nodeOf(*e.objTree, kind, index));
        QVERIFY(d && d->isVisible() && d->isModal());
        QCOMPARE(d->windowTitle(), QStringLiteral("Edit Object"));
        const QStringList panels[] = {{},
                                      {"picOrientation"},
                                      {"picObjects1", "picOrientation"},
                                      {"picObjects2"},
                                      {"picObjects3", "picOrientation"}};
        for (const char *panel : {"picObjects1", "picObjects2", "picObjects3", "picOrientation"})
            QCOMPARE(bool(d->findChild<QWidget *>(panel)), panels[kind].contains(panel));
        for (const QString &step : steps)
            play(*d, h.fake, step);
        d->cmdOK->click();
        QCOMPARE(h.fake.messages.shown.join(""), message);

        if (message.startsWith("Please")) {
            QVERIFY(d && d->isVisible()); // open, with the user's input
            d->close();                   // as Cancel
            QCOMPARE(e.world(), sample());
            QVERIFY(e.document.Saved());
            return;
        }
        QTRY_VERIFY(!d);
        QCOMPARE(*e.document.item(kind, index), after);
        QVERIFY(!e.document.Saved()); // also when nothing differs
        const int node = nodeOf(*e.objTree, kind, index);
        QCOMPARE(e.objTree->selectedNode(), node);
        QCOMPARE(e.objTree->nodeText(node), keysOf(e.world(), kind).value(index));
        if (after == itemOf(sample(), kind, index))
            return;
        QCOMPARE(e.mnuUndo->text(), "&Undo Edit " + WorldDocument::itemLabel(after));
        e.mnuUndo->trigger();
        QCOMPARE(e.world(), sample());
        e.mnuRedo->trigger();
        QCOMPARE(*e.document.item(kind, index), after);
    }

    // The start position reads the four options the other way round from items.
    void editStart_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<double>("after");
        QTest::newRow("looking down, turned up") << 3.14 << "optDown"
                                                 << "OptUp" << 0.0;
        QTest::newRow("looking left, turned right") << 1.57 << "OptLeft"
                                                    << "optRight" << -1.57;
        QTest::newRow("unknown angle shows down") << 2.0 << "optDown"
                                                  << "optDown" << 3.14;
    }

    void editStart()
    {
        QFETCH(double, stored);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QFETCH(double, after);
        EditorHarness h;
        MainEditor &e = startActive(h);
        World before;
        before.StartAngle = stored;
        e.document.replace(before);
        QPointer<frmEdit> d = openEditor(e, 5, false);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Start Position"));
        QCOMPARE(d->findChild<QLabel *>("Label1")->text(), QStringLiteral("Startup Orientation"));
        QVERIFY(!d->findChild<QWidget *>("txtAnchor")->isVisible());
        QVERIFY(d->findChild<QRadioButton *>(shown)->isChecked());
        play(*d, h.fake, "click:" + chosen);
        d->cmdOK->click();
        QTRY_VERIFY(!d);
        QCOMPARE(e.world().StartAngle, after);
        QCOMPARE(e.objTree->selectedNode(), 5);
        QCOMPARE(e.mnuUndo->text(), QStringLiteral("&Undo Edit Start Position"));
        e.mnuUndo->trigger();
        QCOMPARE(e.world(), before);
    }

    void worldProperties_data()
    {
        QTest::addColumn<QStringList>("before"); // sky, ground, music; also what opens
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("after"); // empty: cancelled
        const QStringList night{"Night Sky", "Snow", "/m/old.wav"};
        QTest::newRow("new world: the defaults are stored")
            << QStringList{"", "", ""} << QStringList{} << QStringList{"Blue Sky", "Grass", ""};
        QTest::newRow("choices and music")
            << night
            << QStringList{"pick:cmbSky=Red Sky", "pick:cmbGround=Dirt", "find:cmdFind=/m/tune.mid"}
            << QStringList{"Red Sky", "Dirt", "/m/tune.mid"};
        QTest::newRow("clear box")
            << night << QStringList{"find:cmdFind=/m/x.mp3", "click:Command1"}
            << QStringList{"Night Sky", "Snow", ""};
        QTest::newRow("cancel") << night << QStringList{"pick:cmbSky=Blue Sky", "click:Command1"}
                                << QStringList{};
        QTest::newRow("Asphalt is kept")
            << QStringList{"Night Sky", "Asphalt", ""} << QStringList{"pick:cmbSky=Gray Sky"}
            << QStringList{"Gray Sky", "Asphalt", ""};
    }

    void worldProperties()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, after);
        EditorHarness h;
        MainEditor &e = h.start();
        World w = sample();
        std::tie(w.Sky, w.Ground, w.Music) = std::tie(before[0], before[1], before[2]);
        e.document.replace(w);

        e.mnuProperties->trigger();
        QPointer<frmWorldProperties> d = e.findChild<frmWorldProperties *>();
        QVERIFY(d && d->isVisible() && d->isModal());
        QVERIFY(!e.document.Saved()); // opening alone counts as a change
        const QStringList defaults{"Blue Sky", "Grass", ""};
        for (int i : {0, 1}) {
            QComboBox *list = i == 0 ? d->cmbSky : d->cmbGround;
            QCOMPARE(list->currentText(), before[i].isEmpty() ? defaults[i] : before[i]);
        }
        for (const QString &step : steps)
            play(*d, h.fake, step);
        (after.isEmpty() ? d->cmdCancel : d->cmdOK)->click();
        QTRY_VERIFY(!d);

        const WorldSettings s = e.document.settings();
        QCOMPARE(QStringList({s.Sky, s.Ground, s.Music}), after.isEmpty() ? before : after);
        QVERIFY(!e.document.Saved());
        QCOMPARE(e.mnuUndo->isEnabled(), !after.isEmpty() && after != before);
        if (!e.mnuUndo->isEnabled())
            return;
        QCOMPARE(e.mnuUndo->text(), QStringLiteral("&Undo World Properties"));
        e.mnuUndo->trigger();
        QCOMPARE(e.world(), w);
        e.mnuRedo->trigger();
        QCOMPARE(e.document.settings().Ground, after[1]);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_ui_editing.moc"
