// Placing, drawing and moving with the mouse on the real map canvas, checked
// on the world's records and the tree's selection; the messages that refuse
// a placement; drag-to-move with its grab offset, preview and Escape; the
// keyboard nudges, the crosshair and the wheel.

// Mouse events go through the window, as the user's do: to the widget under
// the pointer, and after a press to the pressed widget until the release.
#define QTEST_QPA_MOUSE_HANDLING

#include "EditorHarness.h"

namespace {

const QString Sign = QStringLiteral("/pictures/sign.gif");
constexpr int32_t Red = 0x0000FF;
enum Tab { ObjectsTab, TextTab, WallsTab, PicturesTab };

// A started window with the small test library (Park Bench, Table, Big Tree).
MainEditor &startWithLibrary(EditorHarness &h)
{
    if (!copyFiles(TESTS_DATA_DIR "/golden/Objects", h.path("Objects")))
        qWarning("cannot copy the library");
    QLocale::setDefault(QLocale::c());
    return h.start();
}

void chooseObject(MainEditor &e, const QString &name)
{
    const QList<QListWidgetItem *> rows = List1(e)->findItems(name, Qt::MatchExactly);
    QVERIFY(rows.size() == 1);
    List1(e)->scrollToItem(rows[0]); // the user scrolls to it first
    QTest::mouseClick(List1(e)->viewport(), Qt::LeftButton, {},
                      List1(e)->visualItemRect(rows[0]).center());
}

// The map point the canvas reports for the pixel nearest to (x, y).
QPointF reported(const EditorHarness &h, double x, double y)
{
    return Picture1(*h.editor)->pixelToMap(h.pixelOf(x, y));
}

void clickMap(EditorHarness &h, double x, double y)
{
    QTest::mouseClick(Picture1(*h.editor), Qt::LeftButton, {}, h.pixelOf(x, y));
}

// The kind and index of the tree's selected node.
MapItem selected(MainEditor &e)
{
    return ExistingObjects::itemOf(*objTree(e), objTree(e)->selectedNode()).value_or(MapItem{});
}

double onePixel(MainEditor &e) { return 100.0 / Picture1(e)->width(); }

// The colour the map itself shows at a point, without the marker and handle over it.
QRgb mapColorAt(const EditorHarness &h, QPointF at)
{
    MapCanvas *map = Picture1(*h.editor);
    QImage image(map->size(), QImage::Format_RGB32);
    map->render(&image, {}, {}, QWidget::DrawWindowBackground);
    return image.pixel(h.pixelOf(at.x(), at.y()));
}

} // namespace

class TestPlacing : public QObject {
    Q_OBJECT

private slots:
    // Each kind placed with the palette and real mouse events: the record,
    // the new node selected, one undo step that restores the world.
    void placeEachKind_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("object") << int(ObjectsTab);
        QTest::newRow("text") << int(TextTab);
        QTest::newRow("wall") << int(WallsTab);
        QTest::newRow("picture") << int(PicturesTab);
    }

    void placeEachKind()
    {
        QFETCH(int, tab);
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        e.document().place(TextInfo{"Earlier", 5, 5, 0, 0, Kind::TextBig, false, {}, {}, {}});
        const World before = e.world();
        TabStrip1(e)->setCurrentIndex(tab);
        picOrientation(e)->OptLeft->click();
        QTest::keyClicks(picOrientation(e)->txtAnchor, "http://example.com/");
        picOrientation(e)->cmbTarget->setEditText("_blank");
        const QPointF at = reported(h, 40, 30);
        const auto x = float(at.x()), y = float(at.y());
        AnyItem expected;
        switch (tab) {
        case ObjectsTab:
            chooseObject(e, "Park Bench");
            clickMap(h, 40, 30);
            expected =
                ObjectInfo{"Park Bench", x, y, Rotation::Left, "http://example.com/", "_blank"};
            break;
        case TextTab:
            QTest::keyClicks(picText(e)->txtTextText, "Lotwright Park");
            picText(e)->optText2->click();
            h.fake.colorDialog.answers = {Red};
            picText(e)->picTextColor->click();
            clickMap(h, 40, 30);
            expected = TextInfo{
                "Lotwright Park",      x,  y,       Red, Rotation::Left, Kind::TextEyeLevel, false,
                "http://example.com/", {}, "_blank"};
            break;
        case WallsTab: {
            optCubes(e, 2)->click();
            h.fake.colorDialog.answers = {Red};
            picSurface(e)->picCubesColor->click();
            QTest::mousePress(Picture1(e), Qt::LeftButton, {}, h.pixelOf(40, 30));
            QTest::mouseMove(Picture1(e), h.pixelOf(60, 45));
            QTest::mouseRelease(Picture1(e), Qt::LeftButton, {}, h.pixelOf(60, 45));
            const QPointF end = reported(h, 60, 45);
            expected = CubeInfo{Kind::Wall, x, float(end.x()), y, float(end.y()), Red};
            break;
        }
        case PicturesTab:
            h.fake.pictures.sizes[Sign] = QSize(300, 200);
            h.fake.fileDialogs.openAnswers = {Sign};
            picPicture(e)->cmd2dFind->click();
            QTest::keyClicks(picPicture(e)->txt2DHeight, "24");
            clickMap(h, 40, 30);
            expected = PictureInfo{
                x, y, 0, 3, 2, Rotation::Left, false, Sign, "http://example.com/", "_blank"};
            break;
        }
        const int kind = kindOf(expected);
        const int index = e.document().count(kind) - 1;
        QCOMPARE(e.document().item(kind, index), std::optional(expected));
        QCOMPARE(selected(e), (MapItem{kind, index}));
        QVERIFY(!e.document().Saved());
        mnuUndo(e)->trigger();
        QCOMPARE(e.world(), before);
    }

    // A refused placement shows its message and changes nothing, though the
    // anchor is taken; an empty Off Ground is read as 0.
    void messages_data()
    {
        QTest::addColumn<QStringList>("boxes"); // height, width, off ground; empty: text tab
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QStringList &boxes, const char *message) {
            QTest::newRow(name) << boxes << QString(message);
        };
        row("no file", {"none", "", ""}, "Please select a file.");
        row("no height", {"", "", ""}, "Please specify a height for the image.");
        row("height not a number", {"tall", "", ""}, "Please specify a numeric height for the image.");
        row("height too large", {"1E+40", "", ""}, "Please specify a numeric height for the image.");
        row("no width", {"5", "", ""}, "Please specify a width for the image.");
        row("width not a number", {"5", "wide", ""}, "Please specify a numeric width for the image.");
        row("off ground not a number", {"5", "7", "high"},
            "Please specify a numeric value for Off Ground (Feet).");
        row("height 0", {"0", "7", ""}, "The height must be more than 0 feet.");
        row("width negative", {"5", "-7", ""}, "The width must be more than 0 feet.");
        row("height beyond the world", {"1E+20", "7", ""},
            "The height can be at most 1200 feet, the width of the world.");
        row("off ground negative", {"5", "7", "-1"},
            "The height off the ground cannot be negative.");
        row("off ground beyond the world", {"5", "7", "1200.5"},
            "The height off the ground can be at most 1200 feet, the width of the world.");
        row("no text", {}, "Please specify the text to be inserted.");
    }

    void messages()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        TabStrip1(e)->setCurrentIndex(boxes.isEmpty() ? TextTab : PicturesTab);
        if (boxes.value(0) != "none") {
            h.fake.pictures.sizes[Sign] = QSize(10, 10);
            h.fake.fileDialogs.openAnswers = {Sign};
            picPicture(e)->cmd2dFind->click();
        }
        picPicture(e)->txt2DHeight->setText(boxes.value(0).remove("none"));
        picPicture(e)->txt2DWidth->setText(boxes.value(1));
        picPicture(e)->txt2DOffGround->setText(boxes.value(2));
        picOrientation(e)->txtAnchor->setText("http://lost/");
        clickMap(h, 50, 50);
        QCOMPARE(h.fake.messages.shown, QStringList{message});
        QCOMPARE(e.world(), World());
        QVERIFY(e.document().Saved());
        QVERIFY(picOrientation(e)->txtAnchor->text().isEmpty()); // a link goes to one try
    }

    // Only drags down and to the right draw; a click draws a point; a release
    // outside the map draws to that point.
    void rubberBand_data()
    {
        QTest::addColumn<QPointF>("end");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("down and right") << QPointF(60, 70) << true;
        QTest::newRow("a click") << QPointF(40, 40) << true;
        QTest::newRow("to the left") << QPointF(20, 70) << false;
        QTest::newRow("upward") << QPointF(60, 10) << false;
        QTest::newRow("released below the map") << QPointF(60, 110) << true;
    }

    void rubberBand()
    {
        QFETCH(QPointF, end);
        QFETCH(bool, drawn);
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        TabStrip1(e)->setCurrentIndex(WallsTab);
        QTest::mousePress(Picture1(e), Qt::LeftButton, {}, h.pixelOf(40, 40));
        QTest::mouseMove(Picture1(e), h.pixelOf(end.x(), end.y()));
        QTest::mouseRelease(Picture1(e), Qt::LeftButton, {}, h.pixelOf(end.x(), end.y()));
        QCOMPARE(isUsed(e.world().Cubes[0]), drawn);
        QCOMPARE(e.document().Saved(), !drawn);
        if (drawn)
            QCOMPARE(e.world().Cubes[0].Y2, float(reported(h, end.x(), end.y()).y()));
    }

    // With nothing chosen in the list a click places nothing, though it
    // counts as a change; choosing in the list ends a tree selection.
    void objectListAndSelection()
    {
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        QVERIFY(List1(e)->selectedItems().isEmpty());
        clickMap(h, 50, 50);
        QCOMPARE(e.world(), World());
        QVERIFY(!e.document().Saved());

        e.document().place(ObjectInfo{"Table", 20, 20, 0, {}, {}});
        QVERIFY(Image1(e)->isVisible());
        chooseObject(e, "Big Tree");
        QCOMPARE(objTree(e)->selectedNode(), 0);
        QVERIFY(!Image1(e)->isVisible() && !shpSelector(e)->isVisible());
    }

    // The handle is grabbed somewhere and dropped; the item's centre lands
    // where the handle's centre does. Escape puts everything back.
    void dragToMove_data()
    {
        QTest::addColumn<bool>("start");      // the start position, else an object
        QTest::addColumn<QPointF>("grab");    // in the handle, from its top-left, map units
        QTest::addColumn<QPointF>("pointer"); // where it is released
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QPointF>("centre"); // the item's new centre
        const auto row = [](const char *name, bool start, QPointF grab, QPointF pointer,
                            bool escape, QPointF centre) {
            QTest::newRow(name) << start << grab << pointer << escape << centre;
        };
        row("grabbed at the corner", false, {0.1, 0.1}, {50, 60}, false, {51.9, 61.9});
        row("short move over the handle", false, {2, 2}, {31, 40.5}, false, {31, 40.5});
        row("start position", true, {2, 2}, {20, 90}, false, {20, 90});
        row("escape", false, {2, 2}, {50, 60}, true, {30, 40});
    }

    void dragToMove()
    {
        QFETCH(bool, start);
        QFETCH(QPointF, grab);
        QFETCH(QPointF, pointer);
        QFETCH(bool, escape);
        QFETCH(QPointF, centre);
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        e.document().place(ObjectInfo{"Big Tree", 30, 40, 0, {}, {}});
        if (start) {
            objTree(e)->selectNode(ExistingObjects::StartNode);
            e.objTree_NodeClick();
        }
        const World before = e.world();
        const QPointF from = Image1(e)->mapRect().topLeft() + grab;
        const QPoint release = h.pixelOf(pointer.x(), pointer.y());
        QTest::mousePress(Picture1(e), Qt::LeftButton, {}, h.pixelOf(from.x(), from.y()));
        QTest::mouseMove(Picture1(e), release);
        // While dragged, the map shows the item at its new place only.
        if (!start) {
            QCOMPARE(mapColorAt(h, {28.7, 40}), qRgb(0, 192, 0)); // the tree's left edge
            QCOMPARE(mapColorAt(h, Image1(e)->mapRect().center()), qRgb(0, 128, 0));
        }
        if (escape)
            QTest::keyClick(Image1(e), Qt::Key_Escape);
        QTest::mouseRelease(Picture1(e), Qt::LeftButton, {}, release);

        const QPointF moved = start ? QPointF(e.world().StartPosX, e.world().StartPosY)
                                    : QPointF(e.world().Objects[0].X, e.world().Objects[0].Y);
        QVERIFY2((moved - centre).manhattanLength() <= 2 * onePixel(e),
                 qPrintable(QString("%1, %2").arg(moved.x()).arg(moved.y())));
        QCOMPARE(selected(e), start ? (MapItem{KindStart, 0}) : (MapItem{KindObject, 0}));
        QCOMPARE(mapColorAt(h, centre), start ? qRgb(150, 150, 255) : qRgb(0, 128, 0));
        if (!escape)
            mnuUndo(e)->trigger(); // one move, one undo step
        QCOMPARE(e.world(), before);
    }

    // Ctrl+arrows move the selection from anywhere in the window, also while
    // the tree has the focus, where the plain arrows still walk the tree.
    void nudges()
    {
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        e.document().place(CubeInfo{Kind::Wall, 10, 20, 10, 20, Red});
        e.document().place(TextInfo{"Hi", 30, 40, 0, 0, Kind::TextBig, false, {}, {}, {}});
        objTree(e)->setFocus();
        QTest::keyClick(objTree(e), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(objTree(e), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QPointF(e.world().Texts[0].X, e.world().Texts[0].Y), QPointF(30.5, 45));
        QCOMPARE(e.document().undoStack().count(), 4); // two places, two moves

        QTest::keyClick(objTree(e), Qt::Key_Up); // to the text's category
        QVERIFY(selected(e).kind != KindText);
        objTree(e)->selectNode(ExistingObjects::FirstItemNode); // a wall moves too
        e.objTree_NodeClick();
        QTest::keyClick(objTree(e), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(e.world().Cubes[0], (CubeInfo{Kind::Wall, 9.5, 19.5, 10, 20, Red}));
    }

    // The crosshair follows the pointer and goes when the timer ticks.
    void crosshair()
    {
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        QTest::mouseMove(Picture1(e), h.pixelOf(25, 75));
        QVERIFY(XLine(e)->isVisible() && YLine(e)->isVisible() && Timer1(e)->isActive());
        QCOMPARE(XLine(e)->mapRect().left(), reported(h, 25, 75).x());
        QMetaObject::invokeMethod(Timer1(e), "timeout");
        QVERIFY(!XLine(e)->isVisible() && !YLine(e)->isVisible());
    }

    // The wheel scrolls; Ctrl+wheel zooms, keeping the point under the
    // pointer. The right button opens the View menu and places nothing.
    void wheelAndRightButton()
    {
        EditorHarness h;
        MainEditor &e = startWithLibrary(h);
        QTest::mouseClick(Picture1(e), Qt::RightButton, {}, h.pixelOf(50, 50));
        QTRY_VERIFY(mnuViewItem(e)->isVisible());
        mnuViewItem(e)->close();
        QCOMPARE(e.world(), World());
        const auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) { // over 60, 70
            const QPointF pixel = h.pixelOf(60, 70);
            QWheelEvent event(pixel, Picture1(e)->mapToGlobal(pixel), {}, QPoint(0, delta),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(Picture1(e), &event);
        };
        const auto inFrame = [&] { return Picture1(e)->mapTo(Picture2(e), h.pixelOf(60, 70)); };
        const QPoint before = inFrame();
        turn(120, Qt::ControlModifier);
        QVERIFY(e.world().Zoom == 2 && mnu200Item(e)->isChecked());
        QVERIFY((inFrame() - before).manhattanLength() <= 2);
        const QPoint scrolled(HScroll1(e)->value(), VScroll1(e)->value());
        turn(-120, {});
        QVERIFY(VScroll1(e)->value() > scrolled.y() && HScroll1(e)->value() == scrolled.x());
        turn(-120, Qt::ControlModifier);
        QCOMPARE(e.world().Zoom, 1);
    }
};

QTEST_MAIN(TestPlacing)
#include "tst_ui_placing.moc"
