#pragma once
// A main window on the scripted platform fakes, in a throw-away program
// folder, at a known size. Shared by the tst_ui_* tests of the main window.

#include "app/MainEditor.h"
#include "mapview/MapCanvas.h"
#include "model/NumberText.h"
#include "model/WorldFile.h"
#include "platform/FakePlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <memory>

struct EditorHarness {
    FakePlatform fake;
    QTemporaryDir folder; // the program folder
    std::unique_ptr<MainEditor> editor;

    // A normal (not maximised) window whose outer size is given in pixels.
    explicit EditorHarness(QSize size = QSize(1000, 700))
    {
        storePlacement(QRect(QPoint(0, 0), size));
    }

    void storePlacement(const QRect &pixels, int state = 0)
    {
        const auto twips = [](int px) { return QString::number(px * 15); };
        fake.settings.values[QStringLiteral("WindowState")] = QString::number(state);
        fake.settings.values[QStringLiteral("Top")] = twips(pixels.top());
        fake.settings.values[QStringLiteral("Left")] = twips(pixels.left());
        fake.settings.values[QStringLiteral("Width")] = twips(pixels.width());
        fake.settings.values[QStringLiteral("Height")] = twips(pixels.height());
    }

    // Builds the window, runs the load sequence and shows it.
    MainEditor &start(const QString &commandLine = QString())
    {
        editor = std::make_unique<MainEditor>(fake.platform(), folder.path(), commandLine);
        editor->runLoadSequence();
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            qWarning("the main window was not exposed");
        return *editor;
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    // Writes a world file and returns its path.
    QString writeWorld(const QString &name, const World &world, ScrollFractions fractions = {}) const
    {
        const QString file = path(name);
        const Status saved = WorldFile::save(file, world, fractions);
        if (!saved)
            qWarning("%s", qPrintable(saved.error));
        return file;
    }

    void writeText(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qWarning("cannot write %s", qPrintable(file.fileName()));
    }

    // The map as it shows on screen, one image pixel per canvas pixel.
    QImage mapImage() const { return editor->Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The canvas pixel of a map point.
    QPoint pixelOf(double x, double y) const
    {
        const QPointF p = editor->Picture1->mapToPixels().map(QPointF(x, y));
        return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
    }
};

// A world with one item of each kind that the map draws.
inline World sampleWorld()
{
    World w;
    ObjectInfo tree;
    tree.Name = QStringLiteral("Oak");
    tree.X = 30;
    tree.Y = 30;
    w.Objects[0] = tree;
    CubeInfo wall;
    wall.Kind = QStringLiteral("Wall");
    wall.X1 = 10;
    wall.X2 = 40;
    wall.Y1 = 50;
    wall.Y2 = 60;
    wall.Color = 255; // red
    w.Cubes[0] = wall;
    PictureInfo picture;
    picture.FileName = QStringLiteral("/pictures/sign.gif");
    picture.X = 70;
    picture.Y = 20;
    picture.Width = 10;
    w.Pictures[0] = picture;
    TextInfo text;
    text.Text = QStringLiteral("Hello");
    text.Kind = QStringLiteral("Text (Big)");
    text.X = 70;
    text.Y = 70;
    w.Texts[0] = text;
    return w;
}

inline ShapeInfo shape(const QString &name, double width, double depth, int32_t color,
                       const QString &mapShape)
{
    ShapeInfo s;
    s.Name = name;
    s.FileName = name + QStringLiteral(".wrl");
    s.Width = width;
    s.Depth = depth;
    s.MapColor = color;
    s.MapShape = mapShape;
    return s;
}
