#pragma once
// A main window on a world of 10,000 items (2,500 of each kind, a 30-entry
// library whose objects all load) at 1920 x 1080 on the offscreen platform,
// made on first use; mouse events sent to its widgets; and the main function
// of a benchmark program that drives it. Shared by the bench_ui_* programs.

#include "EditorControls.h" // the window's controls by name

#include "core/model/StoredColor.h"
#include "editor/map/MapScale.h"
#include "editor/platform/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>

constexpr int PerKind = 2500;
constexpr int LibrarySize = 30;

inline std::vector<ShapeInfo> library()
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

inline World bigWorld()
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

    // objects.txt and an object file for each entry: the library check leaves
    // out an entry whose file does not read.
    void writeLibrary() const
    {
        QStringList lines;
        QDir(folder.path()).mkpath(QStringLiteral("Objects"));
        for (const ShapeInfo &s : library()) {
            const QColor c = StoredColor::toQColor(s.MapColor);
            lines << QStringLiteral("%1\t%2\t%3 %4 %5\t%6\t%7")
                         .arg(s.Width)
                         .arg(s.Depth)
                         .arg(c.red())
                         .arg(c.green())
                         .arg(c.blue())
                         .arg(s.MapShape, s.FileName);
            write(QStringLiteral("Objects/") + s.FileName,
                  "#VRML V2.0 utf8\nShape { geometry Box { size 1 1 1 } }\n");
        }
        write(QStringLiteral("Objects/objects.txt"), lines.join("\r\n").toLatin1());
    }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qWarning("cannot write %s", qPrintable(name));
    }
};

inline std::unique_ptr<Bench> theBench; // made on first use, gone before the application

inline Bench &bench()
{
    if (!theBench)
        theBench = std::make_unique<Bench>();
    return *theBench;
}

inline void send(QWidget *to, QEvent::Type type, QPointF pixel, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, pixel, to->mapToGlobal(pixel), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(to, &event);
}

inline QPointF pixelOf(const MainEditor &e, double x, double y)
{
    return Picture1(e)->mapToPixels().map(QPointF(x, y));
}

// Scrolls the map point into the middle of the frame.
inline void showInFrame(MainEditor &e, QPointF point)
{
    MapScale::showPointAt(*Picture1(e), *HScroll1(e), *VScroll1(e), point,
                          QPointF(Picture2(e)->width(), Picture2(e)->height()) / 2);
    QCoreApplication::processEvents();
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

// Runs the registered benchmarks in an application on the offscreen
// platform, then prints the peak memory.
inline int runEditorBenchmarks(int argc, char **argv)
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
