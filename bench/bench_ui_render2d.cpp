// Render2D on a world of 10,000 items (2,500 of each kind, a 30-entry
// library) in a 1920 x 1080 main window, at 100 % and 400 %, with the tree
// left alone and rebuilt. Each iteration also lets the window paint, so the
// figures are what the user waits for. Also one placement, its undo and its
// redo, each with the redraw and the tree rebuild it causes; a placement by a
// click on the map, from the button's release to the map and tree redrawn;
// and one frame of the live preview while the drag handle is moved. Prints
// the peak memory at the end.

#include "EditorControls.h" // the window's controls by name

#include "core/model/StoredColor.h"
#include "editor/map/MapPainter.h"
#include "editor/map/MapScale.h"
#include "editor/palette/ExistingObjects.h"
#include "editor/platform/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int PerKind = 2500;
constexpr int LibrarySize = 30;

std::vector<ShapeInfo> library()
{
    std::vector<ShapeInfo> shapes;
    for (int i = 0; i < LibrarySize; ++i) {
        ShapeInfo s;
        s.Name = QStringLiteral("Object %1").arg(i);
        s.FileName = s.Name + QStringLiteral(".wrl");
        s.Width = 0.5 + i % 5;
        s.Depth = 0.5 + i % 3;
        s.MapColor = 0x102030 * (i + 1);
        s.MapShape = i % 2 ? QStringLiteral("R") : QStringLiteral("C");
        shapes.push_back(s);
    }
    return shapes;
}

World bigWorld()
{
    QRandomGenerator random(7);
    const auto coordinate = [&random] { return float(random.bounded(1000)) / 10.0f; };
    const float rotations[] = {0.0f, 1.57f, 3.14f, -1.57f};
    const QString cubeKinds[] = {"Wall", "Floor", "Ceiling", "Street", "Shrubbery"};
    World w;
    w.Objects.clear();
    w.Pictures.clear();
    w.Texts.clear();
    w.Cubes.clear();
    for (int i = 0; i < PerKind; ++i) {
        ObjectInfo o;
        o.Name = QStringLiteral("Object %1").arg(random.bounded(LibrarySize));
        o.X = coordinate();
        o.Y = coordinate();
        o.Rotation = rotations[i % 4];
        w.Objects.push_back(o);

        PictureInfo p;
        p.FileName = QStringLiteral("/pictures/picture%1.jpg").arg(i);
        p.X = coordinate();
        p.Y = coordinate();
        p.Width = 1 + random.bounded(6);
        p.Height = 1;
        p.Rotation = rotations[i % 4];
        w.Pictures.push_back(p);

        TextInfo t;
        t.Text = QStringLiteral("Text number %1").arg(i);
        t.X = coordinate();
        t.Y = coordinate();
        t.Kind = i % 2 ? QStringLiteral("Text (Big)") : QStringLiteral("Text (Eye-Level)");
        t.Rotation = rotations[i % 4];
        w.Texts.push_back(t);

        CubeInfo c;
        c.Kind = cubeKinds[i % 5];
        c.X1 = coordinate();
        c.Y1 = coordinate();
        c.X2 = c.X1 + 0.5f + random.bounded(50) / 10.0f;
        c.Y2 = c.Y1 + 0.5f + random.bounded(50) / 10.0f;
        c.Color = int32_t(random.bounded(0x1000000));
        w.Cubes.push_back(c);
    }
    return w;
}

struct Bench {
    FakePlatform fake;
    QTemporaryDir folder;
    std::unique_ptr<MainEditor> editor;

    Bench()
    {
        fake.settings.values = {{"WindowState", "0"},
                                {"Top", "0"},
                                {"Left", "0"},
                                {"Width", QString::number(1920 * 15)},
                                {"Height", QString::number(1080 * 15)}};
        writeLibrary();
        editor = std::make_unique<MainEditor>(fake.platform(), folder.path(), QString());
        editor->runLoadSequence(); // loads the library into Shapes and the palette's list
        editor->show();
        editor->document().replace(bigWorld()); // redraws the map and the tree
        QCoreApplication::processEvents();
    }

    void writeLibrary() const;
};

void Bench::writeLibrary() const
{
    QStringList lines;
    for (const ShapeInfo &s : library()) {
        const QColor c = StoredColor::toQColor(s.MapColor);
        lines << QStringLiteral("%1\t%2\t%3 %4 %5\t%6\t%7")
                     .arg(s.Width)
                     .arg(s.Depth)
                     .arg(c.red())
                     .arg(c.green())
                     .arg(c.blue())
                     .arg(s.MapShape, s.FileName);
    }
    QDir(folder.path()).mkpath(QStringLiteral("Objects"));
    QFile file(folder.filePath(QStringLiteral("Objects/objects.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(lines.join("\r\n").toLatin1()) < 0)
        qWarning("cannot write the library");
}

std::unique_ptr<Bench> theBench; // made on first use, gone before the application

Bench &bench()
{
    if (!theBench)
        theBench = std::make_unique<Bench>();
    return *theBench;
}

void zoomTo(MainEditor &e, int zoom)
{
    (zoom == 4 ? mnu400Item(e) : mnu100Item(e))->trigger();
    QCoreApplication::processEvents();
}

void render(benchmark::State &state, bool refreshTree)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    for (auto _ : state) {
        e.Render2D(refreshTree, 0, -1);
        QCoreApplication::processEvents(); // the window paints what was drawn
    }
    state.counters["canvas_px"] = Picture1(e)->width();
    state.counters["back_image_MB"] =
        double(Picture1(e)->backImage().sizeInBytes()) / (1024 * 1024);
}

// The map drawing alone, onto an image the size of the 100 % canvas.
void BM_PaintWorld(benchmark::State &state)
{
    const World world = bigWorld();
    const std::vector<ShapeInfo> shapes = library();
    QImage image(1021, 1021, QImage::Format_RGB32);
    const QTransform mapToPixels = QTransform::fromScale(10.21, 10.21);
    for (auto _ : state) {
        QPainter painter(&image);
        MapPainter::paintWorld(painter, mapToPixels, world, shapes);
    }
}

// Arguments: zoom, then the step timed: 0 place, 1 undo, 2 redo.
void BM_PlaceUndoRedo(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    const int step = int(state.range(1));
    QUndoStack &stack = e.document().undoStack();
    const auto run = [&](int which) {
        if (which == 0)
            e.document().place(ObjectInfo{QStringLiteral("Object 3"), 50, 50, 0, {}, {}});
        else if (which == 1)
            stack.undo();
        else
            stack.redo();
        QCoreApplication::processEvents();
    };
    for (auto _ : state) {
        for (int which = 0; which < 3; ++which) {
            if (which != step)
                state.PauseTiming();
            run(which);
            if (which != step)
                state.ResumeTiming();
        }
        state.PauseTiming();
        stack.undo(); // the world stays the same size
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void send(QWidget *to, QEvent::Type type, QPointF pixel, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pixel, to->mapToGlobal(pixel), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(to, &event);
}

QPointF pixelOf(const MainEditor &e, double x, double y)
{
    return Picture1(e)->mapToPixels().map(QPointF(x, y));
}

// Scrolls the map point into the middle of the frame.
void showInFrame(MainEditor &e, QPointF point)
{
    MapScale::showPointAt(*Picture1(e), *HScroll1(e), *VScroll1(e), point,
                          QPointF(Picture2(e)->width(), Picture2(e)->height()) / 2);
    QCoreApplication::processEvents();
}

// A click on the map with an object chosen in the list: timed from the
// release, which places it, to the map and the tree redrawn.
void BM_PlacementClick(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    TabStrip1(e)->setCurrentIndex(0);
    List1(e)->setCurrentRow(3);
    showInFrame(e, QPointF(50, 50));
    const QPointF pixel = pixelOf(e, 50, 50);
    for (auto _ : state) {
        state.PauseTiming();
        send(Picture1(e), QEvent::MouseButtonPress, pixel, Qt::LeftButton);
        state.ResumeTiming();
        send(Picture1(e), QEvent::MouseButtonRelease, pixel, Qt::NoButton);
        QCoreApplication::processEvents(); // the window paints what was drawn
        state.PauseTiming();
        e.document().undoStack().undo(); // the world stays the same size
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// Counts the paint events of a widget: proof that a frame was painted.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// One frame of the drag handle moved over the map: the handle, the marker
// and the item drawn at its new place over the map drawn without it.
void BM_DragPreviewFrame(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    objTree(e)->selectNode(ExistingObjects::FirstItemNode + PerKind + 100); // an object
    e.objTree_NodeClick();
    showInFrame(e, shpSelector(e)->mapRect().center());
    DragHandle *handle = Image1(e);
    const QPointF grab = QPointF(handle->width(), handle->height()) / 2;
    send(handle, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    PaintCounter counter(Picture1(e));
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF to = grab + QPointF(step % 2 ? 3 : -3, step % 3 - 1); // a few pixels about
        send(handle, QEvent::MouseMove, to, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    state.counters["map_paints_per_frame"] = double(counter.paints) / double(step);
    handle->cancelDrag();
    QCoreApplication::processEvents();
}

void BM_Render2D_TreeLeftAlone(benchmark::State &state) { render(state, false); }
void BM_Render2D_TreeRebuilt(benchmark::State &state) { render(state, true); }

BENCHMARK(BM_PaintWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render2D_TreeLeftAlone)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render2D_TreeRebuilt)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlacementClick)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragPreviewFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceUndoRedo)
    ->ArgsProduct({{1, 4}, {0, 1, 2}})
    ->ArgNames({"zoom", "step"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theBench.reset();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory (maxrss): %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
