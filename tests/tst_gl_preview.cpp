// The 3-D views on a real display (run under a virtual X server): the
// preview window on an exported sample as a visitor sees it, walking, links;
// the live scene of the world being edited and the 3-D View panel; and what
// stands in for either where OpenGL cannot be had.

#include "TestSupport.h"

#include "core/vrml/ExportCommand.h"
#include "scene/LiveScene.h"
#include "scene/VrmlScene.h"
#include "scene/WorldView.h"
#include "editor/dialogs/frmBrowse.h"
#include "editor/window/ViewDock.h"
#include "core/model/WorldFile.h"
#include "editor/platform/FakePlatform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ItemRef)

namespace {

// Pixels brighter than mid-grey: what a white thing draws on black.
int inkOf(const QImage &image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) > 128;
    return ink;
}

// A view from the origin of a world of white things on black, drawn once;
// null on failure.
QImage whiteOnBlack(const QString &folder, const QByteArray &things,
                    const QByteArray &orientation = "0 0 1 0")
{
    const QString path = folder + "/world.wrl";
    if (!writeFile(path, "#VRML V2.0 utf8\n"
                         "Viewpoint { position 0 0 0 orientation " + orientation + " }\n"
                         "NavigationInfo { headlight FALSE }\n" +
                             things))
        return {};
    WorldView view;
    if (view.load(path))
        return {};
    view.resize(320, 240);
    view.show();
    QSignalSpy frames(&view, &WorldView::frameDrawn);
    if (!frames.wait(10000))
        return {};
    return view.renderedFrame();
}

QByteArray whiteShape(const QByteArray &geometry)
{
    return "Shape { appearance Appearance { material Material { emissiveColor 1 1 1 } }\n"
           "geometry " + geometry + " }\n";
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// One edit of any kind, or an undo or a redo, chosen by the generator.
void randomEdit(WorldDocument &document, QRandomGenerator &random,
                const std::vector<ShapeInfo> &shapes, const QStringList &pictures)
{
    const auto coordinate = [&random] { return float(random.bounded(1000)) / 10.0f; };
    const float rotations[] = {Rotation::Forward, Rotation::Right, Rotation::Backward,
                               Rotation::Left};
    const float rotation = rotations[random.bounded(4)];
    const QString cubes[] = {Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street, Kind::Shrubbery};
    const float x = coordinate();
    const float y = coordinate();
    const int kind = random.bounded(KindObject, KindPicture + 1);
    const int index = random.bounded(document.count(kind));
    switch (random.bounded(8)) {
    case 0:
        document.place(ObjectInfo{shapes[random.bounded(quint32(shapes.size()))].Name, x, y,
                                  rotation, {}, {}});
        break;
    case 1:
        document.place(TextInfo{QStringLiteral("Café %1").arg(random.bounded(100)), x, y, 0x3366CC,
                                rotation, random.bounded(2) ? Kind::TextBig : Kind::TextEyeLevel,
                                random.bounded(2) == 1, {}, {}, {}});
        break;
    case 2:
        document.place(CubeInfo{cubes[random.bounded(5)], x, x + 0.5f + coordinate() / 20, y,
                                y + 0.3f + coordinate() / 20, 0x808080});
        break;
    case 3:
        document.place(PictureInfo{x, y, 0.2f, 1.5f, 1, rotation, random.bounded(2) == 1,
                                   pictures[random.bounded(pictures.size())], {}, {}});
        break;
    case 4: // a move
        if (std::optional<AnyItem> item = document.item(kind, index)) {
            std::visit([&](auto &record) {
                if constexpr (std::is_same_v<std::decay_t<decltype(record)>, CubeInfo>) {
                    record.X1 = x;
                    record.Y1 = y;
                } else {
                    record.X = x;
                    record.Y = y;
                }
            }, *item);
            document.change(index, *item, QStringLiteral("Move"));
        }
        break;
    case 5:
        document.remove(kind, index);
        break;
    case 6: {
        WorldSettings settings = document.settings();
        settings.Sky = random.bounded(2) ? QStringLiteral("Night Sky") : QStringLiteral("Red Sky");
        settings.StartPosX = x;
        settings.StartPosY = y;
        document.changeSettings(settings, QStringLiteral("Change"));
        break;
    }
    default:
        if (random.bounded(3))
            document.undoStack().undo();
        else
            document.undoStack().redo();
    }
}

bool sameBox(const SbBox3f &a, const SbBox3f &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() == b.isEmpty();
    return (a.getMin() - b.getMin()).length() < 1e-4f && (a.getMax() - b.getMax()).length() < 1e-4f;
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_program.isValid());
        const QString data = QStringLiteral(SOURCE_DIR "/data/");
        QVERIFY(copyFiles(data + "Objects", m_program.filePath("Objects")));
        QVERIFY(copyFiles(data + "Textures", m_program.filePath("Textures")));
        // The gallery has pictures, texts and music.
        const QString sample = QStringLiteral(SOURCE_DIR "/samples/gallery.lwf");
        const WorldRead read = WorldFile::load(sample);
        QVERIFY2(read.ok(), qPrintable(read.error));
        LibraryLoad library = Init_Shapes(m_program.path());
        const WorldExport exported = exportWorld(read.world, library.Shapes, m_program.path(), sample);
        QVERIFY2(exported.ok(), qPrintable(exported.error));
        m_gallery = exported.outputPath;
    }

    void showsAndWalksThroughAnExport()
    {
        FakePlatform fake;
        frmBrowse browse(fake.platform());
        browse.BrowseFile = m_gallery;
        browse.resize(640, 480);
        QSignalSpy caption(&browse, &QWidget::windowTitleChanged);
        browse.show();
        WorldView *view = browse.WorldView1;
        QVERIFY2(view, qPrintable(browse.lblMessage ? browse.lblMessage->text() : QString()));
        QSignalSpy frames(view, &WorldView::frameDrawn);
        QVERIFY(frames.wait(10000));
        QVERIFY(browse.lblHelp->text().contains("Music is not played in the preview"));
        // The keys go to the view as soon as the window is active, without a
        // click into the picture.
        browse.activateWindow(); // as a window manager does
        QTRY_COMPARE(QGuiApplication::focusWindow(), view);

        const QImage start = view->renderedFrame();
        QVERIFY2(colourCount(start) > 100, "the first frame is (nearly) one colour");
        const SbVec3f home = view->eyePosition();
        QCOMPARE(home[1], 0.5f); // eye level

        QTest::keyPress(QGuiApplication::focusWindow(), Qt::Key_Up);
        QTest::keyRelease(QGuiApplication::focusWindow(), Qt::Key_Up);
        QVERIFY(view->renderedFrame() != start);
        QCOMPARE(view->eyePosition()[1], 0.5f);
        QVERIFY((view->eyePosition() - home).length() > 0.05f);

        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(view->eyePosition(), home);
        QCOMPARE(view->renderedFrame(), start);

        QVERIFY(caption.wait(5000) || !caption.isEmpty());
        QCOMPARE(browse.windowTitle(), m_gallery);
    }

    // A click on an anchored object opens its link, relative to the world's
    // folder; a click on the sky opens nothing. The object stops a walk.
    void anchorAndCollision()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("anchor.wrl");
        QVERIFY(writeFile(path, "#VRML V2.0 utf8\n"
                                "Viewpoint { position 0 0.5 5 }\n"
                                "Anchor { url \"page.htm\" parameter [\"target=_blank\"]\n"
                                "children Shape { geometry Box { size 3 3 0.1 } } }\n"
                                "Transform { translation 50 0 0 children Shape { geometry Box {} } }\n"));
        FakePlatform fake;
        frmBrowse browse(fake.platform());
        browse.BrowseFile = path;
        browse.resize(400, 300);
        browse.show();
        WorldView *view = browse.WorldView1;
        QVERIFY(view);
        QSignalSpy frames(view, &WorldView::frameDrawn);
        QVERIFY(frames.wait(10000));

        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(fake.shell.opened.isEmpty());
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() / 2));
        QCOMPARE(fake.shell.opened, QStringList{QUrl::fromLocalFile(dir.filePath("page.htm")).toString()});
        fake.shell.result = false; // nothing opens it: the address is shown instead
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() / 2));
        QVERIFY(fake.messages.shown.value(0).contains(dir.filePath("page.htm")));

        // Walking into the board stops short of it, by the default avatar's 0.25.
        view->walk(10);
        QCOMPARE(qRound(view->eyePosition()[2] * 100), 30); // the front face is at 0.05
        view->walk(-2);
        QCOMPARE(qRound(view->eyePosition()[2] * 100), 230);
    }

    // Every letter of a text is drawn, not only ASCII's: the accent of "é"
    // too, and other scripts where the font has them.
    void drawsEveryLetter()
    {
        QTemporaryDir dir;
        const auto ink = [&](const char *letters) {
            return inkOf(whiteOnBlack(dir.path(), "Transform { translation 0 -0.3 -3 children " +
                                                      whiteShape(QByteArray("Text { string \"") +
                                                                 letters + "\" }") +
                                                      "}\n"));
        };
        const int e = ink("e");
        QVERIFY(e > 100);
        QVERIFY2(ink("é") > e * 1.1, "the accent is missing");
        for (const char *letters : {"ß", "€", "Ж"})
            QVERIFY2(ink(letters) > 100, letters);
    }

    // A text of middling size is drawn as a picture of its letters: as
    // much ink, in the same shapes, as the letters drawn near. Far away, a
    // smudge of half their colour marks where they are.
    void drawsFarTextSimpler()
    {
        QTemporaryDir dir;
        const auto frameAt = [&](double depth) {
            return whiteOnBlack(
                dir.path(), "Transform { translation 0 -0.3 -" + QByteArray::number(depth) +
                                " children " +
                                whiteShape("Text { string \"Tgy 12\" "
                                           "fontStyle FontStyle { justify \"MIDDLE\" } }") +
                                "}\n"
                                "Group {}\n"); // a second item: the world's items are its groups
        };
        struct Ink {
            double amount = 0; // as if seen from 1 unit away
            QImage shape;      // the ink's bounding box, scaled to a common size
        };
        const auto ink = [&](double depth) {
            const QImage frame = frameAt(depth);
            Ink found;
            QRect box;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    if (qGray(frame.pixel(x, y)) > 128) {
                        box |= QRect(x, y, 1, 1);
                        found.amount += depth * depth;
                    }
            found.shape = frame.copy(box)
                              .convertToFormat(QImage::Format_Grayscale8)
                              .scaled(56, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            return found;
        };
        const Ink letters = ink(2.6); // lines about 110 pixels high: drawn as they are
        const Ink picture = ink(6);   // about 50
        QVERIFY(letters.amount > 0);
        QVERIFY2(std::abs(picture.amount / letters.amount - 1) < 0.15,
                 qPrintable(QString::number(picture.amount / letters.amount)));
        double difference = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 56; ++x)
                difference += std::abs(qGray(letters.shape.pixel(x, y)) -
                                       qGray(picture.shape.pixel(x, y)));
        difference /= 56 * 16;
        QVERIFY2(difference < 30, qPrintable(QString::number(difference)));

        const QImage far = frameAt(60); // lines about 5 pixels high
        int marked = 0;
        int brightest = 0;
        for (int y = 0; y < far.height(); ++y)
            for (int x = 0; x < far.width(); ++x) {
                const int grey = qGray(far.pixel(x, y));
                marked += grey > 60;
                brightest = std::max(brightest, grey);
            }
        QVERIFY(marked > 10);
        QVERIFY(brightest < 200);
    }

    // A billboard is culled by its box at any turn: a board beside the view,
    // out of it as long as it faces along z, reaches into it once it turns
    // to face the viewer, who looks along -x.
    void keepsTurningBillboards()
    {
        QTemporaryDir dir;
        const QImage frame = whiteOnBlack(
            dir.path(),
            "Transform { translation -10 0 10 children Billboard { children " +
                whiteShape("Box { size 12 1 0.01 }") +
                "} }\n"
                "Group {}\n", // a second item: the world's items are its groups
            "0 1 0 1.5708");
        QVERIFY(inkOf(frame) > 200);
    }

    void degradesWithoutOpenGL()
    {
        FakePlatform fake;
        frmBrowse browse(fake.platform(), nullptr, [] { return QStringLiteral("no GL here"); });
        browse.BrowseFile = m_gallery;
        browse.show();
        QVERIFY(!browse.WorldView1);
        QVERIFY(browse.lblMessage->text().contains("no GL here"));
        QVERIFY(browse.lblMessage->text().contains(m_gallery));
        QVERIFY(browse.cmdDefaultViewer && browse.cmdDefaultViewer->isVisible());
        browse.cmdDefaultViewer->click();
        browse.cmdShowFolder->click();
        QCOMPARE(fake.shell.opened, (QStringList{m_gallery, QFileInfo(m_gallery).absolutePath()}));
        fake.shell.result = false;
        browse.cmdDefaultViewer->click();
        browse.cmdShowFolder->click();
        QCOMPARE(fake.messages.shown.size(), 2);
        QVERIFY(fake.messages.shown[0].contains(m_gallery));
        QVERIFY(fake.messages.shown[1].contains(QFileInfo(m_gallery).absolutePath()));
    }

    // The live scene follows edits, undos and redos item by item, and ends
    // up as a scene made afresh from the same world.
    void liveSceneFollowsEdits()
    {
        LibraryLoad library = Init_Shapes(m_program.path());
        QStringList pictures;
        const QDir samples(QStringLiteral(SOURCE_DIR "/samples/pictures"));
        for (const QString &name : samples.entryList(QDir::Files))
            pictures << samples.filePath(name);
        WorldDocument edited;
        LiveScene live(edited, library.Shapes, m_program.path());
        QRandomGenerator random(19);
        for (int i = 0; i < 200; ++i)
            randomEdit(edited, random, library.Shapes, pictures);

        WorldDocument fresh;
        fresh.replace(edited.world());
        const LiveScene made(fresh, library.Shapes, m_program.path());
        int used = 0;
        for (int kind = KindObject; kind <= KindPicture; ++kind) {
            QCOMPARE(live.count(kind), edited.count(kind));
            QCOMPARE(made.count(kind), edited.count(kind));
            for (int index = 0; index < edited.count(kind); ++index) {
                const SbBox3f box = live.itemBox({kind, index});
                used += !box.isEmpty();
                QVERIFY2(sameBox(box, made.itemBox({kind, index})),
                         qPrintable(QStringLiteral("item %1 of kind %2").arg(index).arg(kind)));
            }
        }
        QVERIFY2(used > 30, "the edits left too few items to compare");

        // A library that loses entries leaves their items empty.
        library.Shapes.resize(1);
        live.libraryChanged();
        for (int index = 0; index < edited.count(KindObject); ++index) {
            const auto object = std::get<ObjectInfo>(*edited.item(KindObject, index));
            QCOMPARE(live.itemBox({KindObject, index}).isEmpty(),
                     object.Name != library.Shapes[0].Name);
        }
    }

    // A click on an item in the panel's aerial view names it; a click on the
    // sky names nothing. Without OpenGL the panel says why.
    void panelPicksAndDegrades()
    {
        WorldDocument document;
        const LibraryLoad library = Init_Shapes(m_program.path());
        // Walls at two corners, the gazebo in the middle of the items.
        document.place(CubeInfo{Kind::Wall, 10, 14, 10, 11, 0x808080});
        document.place(CubeInfo{Kind::Wall, 86, 90, 89, 90, 0x808080});
        document.place(ObjectInfo{QStringLiteral("Gazebo"), 50, 50, 0, {}, {}});
        QMainWindow window;
        auto *dock = new ViewDock(frmBrowse::checkOpenGL, &window);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        window.resize(800, 600);
        window.show();
        dock->follow(document, library.Shapes, m_program.path());
        WorldView *view = dock->view();
        QVERIFY2(view, qPrintable(dock->message()->text()));
        QCOMPARE(view->mode(), WorldView::Mode::Aerial);
        QSignalSpy frames(view, &WorldView::frameDrawn);
        QVERIFY(frames.wait(10000));
        QSignalSpy clicked(dock, &ViewDock::itemClicked);
        // The items are framed round their centre, where the gazebo stands;
        // closer, it fills the middle of the view.
        view->walk(8);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() / 2));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() / 2, 2));
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(clicked[0][0].value<ItemRef>(), (ItemRef{KindObject, 0}));
        QCOMPARE(clicked[1][0].value<ItemRef>().kind, int(KindNone));
        // The visitor starts at the start position, however long the
        // aerial view was on before.
        view->setMode(WorldView::Mode::Visitor);
        const SbVec3f eye = view->eyePosition();
        view->goHome();
        QVERIFY(view->eyePosition().equals(eye, 1e-4f));

        QMainWindow plain;
        auto *without = new ViewDock([] { return QStringLiteral("no GL here"); }, &plain);
        plain.addDockWidget(Qt::LeftDockWidgetArea, without);
        plain.show();
        without->follow(document, library.Shapes, m_program.path());
        QVERIFY(!without->view());
        QVERIFY(without->message()->text().contains("no GL here"));
        QVERIFY(!without->findChild<QToolButton *>("cmdVisitor")->isEnabled());
    }

private:
    QTemporaryDir m_program;
    QString m_gallery;
};

int main(int argc, char *argv[])
{
    setCoinSurfaceFormat();
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gl_preview.moc"
