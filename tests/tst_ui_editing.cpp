// Changing what is placed: removal from the tree with the selection that
// follows, the Edit Object dialog and the World Properties dialog; the
// panels the palette and the dialog share (screen-reader names, orientation
// values, the picture's file and proportional size).

#include "EditorHarness.h"

#include "editor/dialogs/frmEdit.h"
#include "editor/dialogs/frmWorldProperties.h"

namespace {

// The node of the item of this kind and index; 0 when it has none.
int nodeOf(const ObjectTree &tree, int kind, int index)
{
    for (int node = ExistingObjects::FirstItemNode; node <= tree.nodeCount(); ++node)
        if (tree.parentOf(node) == kind && tree.tag(node) == index)
            return node;
    return 0;
}

// One step on a dialog, its controls found by name: "type:box=text",
// "click:button", "pick:list=entry" (typed into an editable list),
// "color:swatch=value", "find:button=path" (a file chosen).
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
    } else if (action == "pick") {
        d.findChild<QComboBox *>(name)->setCurrentText(value);
    } else {
        if (action == "color")
            fake.colorDialog.answers = {value.toInt(nullptr, 0)};
        if (action == "find")
            fake.fileDialogs.openAnswers = {value};
        auto *button = d.findChild<QAbstractButton *>(name);
        QVERIFY2(button && button->isVisible(), qPrintable(step));
        button->click();
    }
}

// Enter on the node, or a double-click; the Edit Object dialog that opens, if any.
frmEdit *openEditor(MainEditor &e, int node, bool enter = true)
{
    objTree(e)->selectNode(node);
    objTree(e)->setFocus();
    if (enter)
        QTest::keyClick(objTree(e), Qt::Key_Return);
    else
        QTest::mouseDClick(objTree(e)->viewport(), Qt::LeftButton, {},
                           objTree(e)->visualItemRect(objTree(e)->currentItem()).center());
    return e.findChild<frmEdit *>();
}

// An active window showing sample(), whose object is in the library.
MainEditor &startWithSample(EditorHarness &h)
{
    MainEditor &e = h.start();
    e.activateWindow();
    if (!QTest::qWaitForWindowActive(&e))
        qWarning("the main window did not become active");
    e.Shapes = {ShapeInfo{"Oak", "Oak.wrl", 2, 2, 0x00ff00, "C", false}};
    return e;
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
        QTest::addColumn<World>("after");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("selectedAfter");
        const World s = sample();
        World a = s, b = s, c = s, wallOnly;
        wallOnly.Cubes = {s.Cubes[0]};
        World empty = wallOnly;
        removeItem(a.Objects, 0); // the only element keeps its place, unused
        removeItem(b.Pictures, 0);
        removeItem(c.Texts, 1);
        removeItem(empty.Cubes, 0);
        QTest::newRow("only object: the first node of the next kind")
            << "button" << s << a << int(KindObject) << 0 << "/p/sign.gif";
        QTest::newRow("first picture, Delete in the tree")
            << "tree" << s << b << int(KindPicture) << 0 << "/p/flat.gif";
        QTest::newRow("middle text, Delete on the map")
            << "map" << s << c << int(KindText) << 1 << "C";
        QTest::newRow("only item of the world")
            << "button" << wallOnly << empty << int(KindCube) << 0 << "Start Position";
    }

    void removal()
    {
        QFETCH(QString, how);
        QFETCH(World, before);
        QFETCH(World, after);
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QString, selectedAfter);
        EditorHarness h;
        MainEditor &e = startWithSample(h);
        e.document().replace(before);
        objTree(e)->selectNode(nodeOf(*objTree(e), kind, index));
        e.objTree_NodeClick();
        if (how == "button") {
            cmdRemoveObject(e)->click();
        } else {
            QWidget *target = how == "tree" ? static_cast<QWidget *>(objTree(e)) : Image1(e);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Delete);
        }
        QCOMPARE(e.world(), after);
        QVERIFY(!e.document().Saved());
        QCOMPARE(objTree(e)->nodeText(objTree(e)->selectedNode()), selectedAfter);
        mnuUndo(e)->trigger(); // back in its place, and selected
        QCOMPARE(e.world(), before);
        QCOMPARE(objTree(e)->selectedNode(), nodeOf(*objTree(e), kind, index));
    }

    // A street or a category has nothing to edit. Nothing removable
    // selected: nothing removed, yet the world counts as changed.
    void nothingToEditOrRemove()
    {
        EditorHarness h;
        MainEditor &e = startWithSample(h);
        e.document().replace(sample());
        QVERIFY(!openEditor(e, 7) && !openEditor(e, KindText, false));
        for (int node : {0, int(KindCube), int(ExistingObjects::StartNode)}) {
            objTree(e)->selectNode(node);
            cmdRemoveObject(e)->click();
        }
        QCOMPARE(e.world(), sample());
        QVERIFY(!e.document().Saved() && !mnuUndo(e)->isEnabled());
    }

    // The panels each kind shows, what OK stores or refuses, undo and redo.
    // The start position shows only its orientation, read its own way.
    void editItem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("panels");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("message"); // "Please..." keeps the dialog open
        QTest::addColumn<World>("after");
        const World s = sample();
        const QStringList text{"picObjects1", "picOrientation"};
        const QStringList pictures{"picObjects3", "picOrientation"};
        const auto row = [&](const char *name, int kind, int index, const QStringList &panels,
                             const QStringList &steps, const QString &message = {},
                             const std::function<void(World &)> &change = {}) {
            World after = s;
            if (change)
                change(after);
            QTest::newRow(name) << kind << index << panels << steps << message << after;
        };
        row("wall: compact, only its colour", KindCube, 0, {"picObjects2"},
            {"color:picCubesColor=0xFF"}, {}, [](World &w) { w.Cubes[0].Color = 0xFF; });
        row("wall: OK without a change", KindCube, 0, {"picObjects2"}, {});
        row("object: linked, keeps its turn", KindObject, 0, {"picOrientation"},
            {"type:txtAnchor=http://a.example", "pick:cmbTarget=_blank"}, {}, [](World &w) {
                std::tie(w.Objects[0].Anchor, w.Objects[0].Target) =
                    std::tuple("http://a.example", "_blank");
            });
        row("text: every field", KindText, 0, text,
            {"type:txtTextText=Bye", "click:optText2", "color:picTextColor=0xFF00",
             "click:chkTextBillBoard", "click:optRight"},
            {}, [](World &w) {
                TextInfo &t = w.Texts[0];
                std::tie(t.Text, t.Kind, t.Color, t.Billboard, t.Rotation) =
                    std::tuple("Bye", "Text (Eye-Level)", 0xFF00, true, 1.57f);
            });
        row("text: empty", KindText, 0, text, {"type:txtTextText="},
            "Please enter the text to by displayed.");
        row("picture: height keeps the proportions", KindPicture, 0, pictures,
            {"type:txt2DHeight=9", "click:chk2DBillBoard"}, {}, [](World &w) {
                PictureInfo &p = w.Pictures[0];
                std::tie(p.Height, p.Width, p.Billboard) = std::tuple(0.75f, 1.5f, true);
            });
        row("picture: new file", KindPicture, 0, pictures, {"find:cmd2dFind=/p/new.jpg"}, {},
            [](World &w) { w.Pictures[0].FileName = "/p/new.jpg"; });
        row("picture: stored height 0, no proportions", KindPicture, 1, pictures,
            {"type:txt2DHeight=24"}, {}, [](World &w) { w.Pictures[1].Height = 2; });
        row("picture: height empty", KindPicture, 0, pictures, {"type:txt2DHeight="},
            "Please enter a number for height.");
        row("picture: height below 0", KindPicture, 0, pictures, {"type:txt2DHeight=-5"},
            "The height must be more than 0 feet.");
        row("picture: off ground no number", KindPicture, 0, pictures,
            {"type:txt2DOffGround=high"}, "Please specify a numeric value for Off Ground (Feet).");
        row("start: looking left, turned right", KindStart, 0, {"picOrientation"},
            {"click:optRight"}, {}, [](World &w) { w.StartAngle = -1.57; });
    }

    void editItem()
    {
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QStringList, panels);
        QFETCH(QStringList, steps);
        QFETCH(QString, message);
        QFETCH(World, after);
        EditorHarness h;
        h.fake.pictures.sizes = {{"/p/new.jpg", QSize(40, 30)}};
        MainEditor &e = startWithSample(h);
        World before = sample();
        if (kind == KindStart)
            before.StartAngle = 1.57; // shows as "left"
        e.document().replace(before);
        const int node =
            kind == KindStart ? int(ExistingObjects::StartNode) : nodeOf(*objTree(e), kind, index);

        QPointer<frmEdit> d = openEditor(e, node);
        QVERIFY(d && d->isVisible() && d->isModal());
        for (const char *panel : {"picObjects1", "picObjects2", "picObjects3", "picOrientation"})
            QCOMPARE(bool(d->findChild<QWidget *>(panel)), panels.contains(panel));
        for (const QString &step : steps)
            play(*d, h.fake, step);
        d->cmdOK->click();
        QCOMPARE(h.fake.messages.shown.join(""), message);
        if (!message.isEmpty()) {
            QVERIFY(d && d->isVisible()); // open, with the user's input
            d->close();                   // as Cancel
            QCOMPARE(e.world(), before);
            QVERIFY(e.document().Saved());
            return;
        }
        QTRY_VERIFY(!d);
        QCOMPARE(e.world(), after);
        QVERIFY(!e.document().Saved()); // also when nothing differs
        QCOMPARE(objTree(e)->selectedNode(), node);
        ObjectTree fresh; // the tree shows the change
        ExistingObjects::rebuild(fresh, e.world(), e.Shapes, 0, -1);
        QCOMPARE(objTree(e)->nodeText(node), fresh.nodeText(node));
        QCOMPARE(mnuUndo(e)->isEnabled(), after != before); // nothing differs: no undo step
        if (after == before)
            return;
        mnuUndo(e)->trigger();
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
        QTest::newRow("clear box") << night
                                   << QStringList{"find:cmdFind=/m/x.mp3", "click:Command1"}
                                   << QStringList{"Night Sky", "Snow", ""};
        QTest::newRow("cancel") << night << QStringList{"pick:cmbSky=Blue Sky"} << QStringList{};
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
        e.document().replace(w);

        mnuProperties(e)->trigger();
        QPointer<frmWorldProperties> d = e.findChild<frmWorldProperties *>();
        QVERIFY(d && d->isVisible() && d->isModal());
        QVERIFY(!e.document().Saved()); // opening alone counts as a change, also when cancelled
        for (const QString &step : steps)
            play(*d, h.fake, step);
        (after.isEmpty() ? d->cmdCancel : d->cmdOK)->click();
        QTRY_VERIFY(!d);

        const WorldSettings s = e.document().settings();
        QCOMPARE(QStringList({s.Sky, s.Ground, s.Music}), after.isEmpty() ? before : after);
        QCOMPARE(mnuUndo(e)->isEnabled(), !after.isEmpty() && after != before);
        if (!mnuUndo(e)->isEnabled())
            return;
        mnuUndo(e)->trigger();
        QCOMPARE(e.world(), w);
    }

    // Every named field, list and caption-less control of the window and its
    // palette has a name a screen reader reads.
    void screenReaderNames()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        for (QWidget *c : e.findChildren<QWidget *>(QRegularExpression("^(?!qt_).")))
            if (c->inherits("QLineEdit") || c->inherits("QComboBox") ||
                c->inherits("QAbstractButton") || c->inherits("QAbstractItemView") ||
                c == Picture1(e))
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                    qPrintable(c->objectName() + " " + c->metaObject()->className()));
    }

    // Items and the start position read the same options differently; a
    // stored value that is none of the four shows "down".
    void orientation_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<double>("result");
        QTest::newRow("item of no known rotation") << false << 2.0 << "optDown" << "optRight"
                                                   << 1.57;
        QTest::newRow("start looking down, turned up") << true << 3.14 << "optDown" << "OptUp"
                                                       << 0.0;
        QTest::newRow("start of no known angle") << true << 2.0 << "optDown" << "optDown" << 3.14;
    }

    void orientation()
    {
        QFETCH(bool, start);
        QFETCH(double, stored);
        QFETCH(QString, option);
        QFETCH(QString, chosen);
        QFETCH(double, result);
        OrientationPanel panel;
        QVERIFY(panel.optDown->isChecked() && panel.rotation() == Rotation::Forward);
        if (start)
            panel.setStartAngle(stored);
        else
            panel.setRotation(float(stored));
        QVERIFY(panel.findChild<QRadioButton *>(option)->isChecked());
        panel.findChild<QRadioButton *>(chosen)->setChecked(true);
        QCOMPARE(float(start ? panel.startAngle() : panel.rotation()), float(result));
    }

    // Typing one size fills in the other, rounded to three decimals with
    // halves to the even neighbour, after the last picture read; a cancelled or
    // unreadable choice keeps the previous file. The dialog starts where the
    // last one was.
    void pictureAndProportions_data()
    {
        QTest::addColumn<QStringList>("answers"); // the files chosen; empty: cancelled
        QTest::addColumn<QString>("typed");       // "w=...": the width, else the height
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("message");
        const QString tall = "/p/tall.gif", wide = "/p/wide.jpg", bad = "/p/notes.gif";
        const auto row = [](const char *name, const QStringList &answers, const char *typed,
                            const char *other, const QString &fileName, const char *message = "") {
            QTest::newRow(name) << answers << QString(typed) << QString(other) << fileName
                                << QString(message);
        };
        row("height 10", {tall}, "10", "15", tall);
        row("width 7", {tall}, "w=7", "4.667", tall);
        row("half, even kept", {"/p/square.gif"}, "w=1.0025", "1.002", "/p/square.gif");
        row("not a number", {tall}, "tall", "", tall);
        row("no picture", {}, "10", "", "");
        row("another picture", {tall, wide}, "10", "20", wide);
        row("cancelled", {tall, ""}, "10", "15", tall);
        row("unreadable", {tall, bad}, "10", "15", tall,
            "Cannot read this picture: /p/notes.gif\nUnsupported image format");
    }

    void pictureAndProportions()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, typed);
        QFETCH(QString, other);
        QFETCH(QString, fileName);
        QFETCH(QString, message);
        FakePlatform fake;
        fake.pictures.sizes = {{"/p/tall.gif", QSize(300, 200)},
                               {"/p/wide.jpg", QSize(200, 100)},
                               {"/p/square.gif", QSize(100, 100)}};
        PicturePanel panel(fake.platform());
        for (const QString &answer : answers) {
            fake.fileDialogs.openAnswers = {answer.isEmpty() ? std::nullopt
                                                             : std::optional(answer)};
            panel.cmd2dFind->click();
        }
        const bool width = typed.startsWith("w=");
        QLineEdit *box = width ? panel.txt2DWidth : panel.txt2DHeight;
        QTest::keyClicks(box, typed.remove("w="));
        QCOMPARE((width ? panel.txt2DHeight : panel.txt2DWidth)->text(), other);
        QCOMPARE(box->text(), typed); // the typed box is left alone
        QCOMPARE(fake.messages.shown.join(""), message);
        QCOMPARE(panel.fileName(), fileName);
        QCOMPARE(fake.fileDialogs.startPaths.value(1), answers.size() > 1 ? "/p" : "");
    }
};

QTEST_MAIN(TestEditing)
#include "tst_ui_editing.moc"
