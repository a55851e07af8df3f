// The shipped objects, and the exports of the samples and of a world with
// every library object, every kind of item and strings that need escaping,
// must load in Coin's VRML97 reader without an error or warning. Each object
// must agree with its line of objects.txt (the map draws it from that line
// alone) and be safe to paste beside others; each texture must tile.

#include "TestSupport.h"
#include "core/library/ObjectLibrary.h"
#include "core/model/WorldFile.h"
#include "core/vrml/ExportCommand.h"
#include "scene/ObjectCheck.h"
#include "scene/VrmlScene.h"

#include <Inventor/SbBox3f.h>
#include <Inventor/SbMatrix.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLSphere.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/nodes/SoGroup.h>

#include <QImage>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString DataDir = QStringLiteral(SOURCE_DIR "/data");

// Every error and warning Coin gave while reading the scene: none for a clean file.
QStringList problemsOf(const Scene &scene)
{
    return scene.errors() + scene.warnings();
}

// The extent of the triangles a viewer draws, and how many there are. Boxes
// of transformed parts would be looser than the parts themselves.
struct Model {
    SbBox3f box;
    int triangles = 0;
};

void addTriangle(void *data, SoCallbackAction *action, const SoPrimitiveVertex *a,
                 const SoPrimitiveVertex *b, const SoPrimitiveVertex *c)
{
    auto *model = static_cast<Model *>(data);
    ++model->triangles;
    for (const SoPrimitiveVertex *vertex : {a, b, c}) {
        SbVec3f point;
        action->getModelMatrix().multVecMatrix(vertex->getPoint(), point);
        model->box.extendBy(point);
    }
}

// How far the last column differs from the first (where the ground's tiles
// meet), against the mean difference of neighbouring columns. Blocks of 4 x 4
// pixels smooth out the grain, which differs anyway.
double seamRatio(const QImage &image)
{
    const QImage small =
        image.scaled(image.size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const auto difference = [&](int a, int b) {
        double sum = 0;
        for (int y = 0; y < small.height(); ++y) {
            const QRgb p = small.pixel(a, y), q = small.pixel(b, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
        return sum;
    };
    double inside = 0;
    for (int x = 0; x + 1 < small.width(); ++x)
        inside += difference(x, x + 1);
    return difference(small.width() - 1, 0) * (small.width() - 1) / std::max(inside, 1e-9);
}

// Strings a user may type or a file may hold, each hard on a VRML string.
const QStringList Hostile{
    QStringLiteral("He said \"hello\""),
    QStringLiteral("C:\\pictures\\ends with a backslash\\"),
    QStringLiteral("braces } { and # not a comment"),
    QStringLiteral("two\nlines and\r\nthree"),
    QStringLiteral("Gr\u00fc\u00dfe aus K\u00f6ln, \u65e5\u672c, \u00e9t\u00e9"),
    QStringLiteral("\\\"\\\""),
};

} // namespace

class TestCoinVrml : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c()); // the library is written with full stops
        QVERIFY(isPlainCrLfText(readBytes(DataDir + "/Objects/objects.txt")));
        QVERIFY(copyFiles(DataDir + "/Objects", program.filePath("Objects")));
        QVERIFY(copyFiles(DataDir + "/Textures", program.filePath("Textures")));
        LibraryLoad library = Init_Shapes(program.path());
        QVERIFY2(library.warnings.isEmpty(), qPrintable(library.warnings.join('\n')));
        QStringList names; // each name once, or one entry could never be placed
        for (const ShapeInfo &shape : library.Shapes)
            names << shape.Name;
        QCOMPARE(names.removeDuplicates(), 0);
        shapes = std::move(library.Shapes);
    }

    // At most 100 KB, and tiled without a seam: the ground repeats its texture
    // 140 times across, so an edge would show as a grid.
    void texturesTile()
    {
        for (const QString &name : TextureNames) {
            const QString path = DataDir + "/Textures/" + name;
            const QImage image(path, "JPG");
            QVERIFY2(QFileInfo(path).size() <= 100 * 1024 && image.width() >= 256 &&
                         image.height() >= 256,
                     qPrintable(name));
            QVERIFY2(seamRatio(image) < 2.0 &&
                         seamRatio(image.transformed(QTransform().rotate(90))) < 2.0,
                     qPrintable(name + " has an edge"));
        }
    }

    void shippedObject_data()
    {
        QTest::addColumn<int>("entry");
        for (size_t i = 0; i < shapes.size(); ++i)
            QTest::newRow(qPrintable(shapes[i].Name)) << int(i);
        // Every file in the folder is in the library, so none is shipped unused.
        QCOMPARE(QDir(DataDir + "/Objects").entryList({"*.wrl"}, QDir::Files).size(),
                 int(shapes.size()));
    }

    // Each model loads cleanly, stands on the ground centred on its position with
    // the footprint its line gives, at real size (one unit is 12 feet), is light
    // enough to place by the dozen, and holds only what may be pasted into the
    // children of a Group beside other objects.
    void shippedObject()
    {
        QFETCH(int, entry);
        const ShapeInfo &shape = shapes[size_t(entry)];
        const QString path = DataDir + "/Objects/" + shape.FileName;
        const Scene scene = Scene::read(path, {DataDir + "/Textures"});
        QVERIFY2(problemsOf(scene).isEmpty(), qPrintable(problemsOf(scene).join('\n')));
        Model model;
        SoCallbackAction triangles;
        triangles.addTriangleCallback(SoNode::getClassTypeId(), addTriangle, &model);
        triangles.apply(scene.root());
        const SbVec3f low = model.box.getMin(), high = model.box.getMax(), size = high - low;
        const QString where =
            QString::asprintf("x %g..%g, y %g..%g, z %g..%g; objects.txt says %g x %g", low[0],
                              high[0], low[1], high[1], low[2], high[2], shape.Width, shape.Depth);
        QVERIFY2(std::abs(low[1]) <= 0.01f, qPrintable("not standing on y = 0: " + where));
        QVERIFY2(std::abs(low[0] + high[0]) / 2 <= 0.03 + 0.05 * shape.Width &&
                     std::abs(low[2] + high[2]) / 2 <= 0.03 + 0.05 * shape.Depth,
                 qPrintable("not centred: " + where));
        // The map draws Width along x and Depth along z; a circle's diameter is both.
        QVERIFY(shape.MapShape == "R" || (shape.MapShape == "C" && shape.Depth == shape.Width));
        const auto near = [](float actual, double wanted) {
            return std::abs(actual - wanted) <= 0.03 + 0.1 * wanted;
        };
        QVERIFY2(near(size[0], shape.Width) && near(size[2], shape.Depth),
                 qPrintable("footprint differs: " + where));
        // From a hydrant (under a foot) to a bus (40 feet).
        const float largest = std::max({size[0], size[1], size[2]});
        QVERIFY2(largest >= 0.05f && largest <= 4.0f, qPrintable("not at real size: " + where));
        QVERIFY2(model.triangles <= 3000, qPrintable(QString::number(model.triangles)));

        // No names that could clash, nothing that belongs to the world as a
        // whole (strings and comments do not count), textures by bare name.
        const QByteArray bytes = readBytes(path);
        QVERIFY(isPlainCrLfText(bytes));
        const QString text = QString::fromLatin1(bytes);
        const QString code =
            QString(text).remove(QRegularExpression("\"(\\\\.|[^\"\\\\])*\"|#[^\\n]*"));
        const QRegularExpression worldWide(
            "\\b(DEF|USE|PROTO|EXTERNPROTO|ROUTE|Script|Inline|Viewpoint|NavigationInfo|Background|"
            "DirectionalLight|PointLight|SpotLight|Fog|WorldInfo)\\b");
        QVERIFY2(!code.contains(worldWide), qPrintable(worldWide.match(code).captured()));
        for (const auto &url :
             QRegularExpression("\\burl\\s*\\[?\\s*\"([^\"]*)\"").globalMatch(text))
            QVERIFY2(!url.captured(1).contains('/') && !url.captured(1).contains('\\'),
                     qPrintable(url.captured(1)));
    }

    // Each sample exports, without a missing file or object, to a clean world.
    void sampleWorlds()
    {
        for (const char *name : {"park.lwf", "gallery.lwf", "street.lwf"}) {
            const QString path = QStringLiteral(SOURCE_DIR "/samples/") + name;
            const WorldRead read = WorldFile::load(path);
            QVERIFY2(read.ok(), qPrintable(read.error));
            const QStringList problems = exportProblems(read.world, path, shapes);
            QVERIFY2(problems.isEmpty(), qPrintable(name + (": " + problems.join('\n'))));
        }
    }

    // Every kind of item in every orientation, with anchors, targets, texts
    // and file names that need escaping; library names that are no VRML
    // identifiers as they stand, and one name twice; rectangles drawn with
    // reversed corners and without extent.
    void everythingWorld()
    {
        QTemporaryDir folder;
        // Real images (Qt writes no GIF: PNG data), under names that need escaping.
        const QString gif = QStringLiteral("sign \"one\" #1 {a}.gif");
        const QString jpeg = QStringLiteral("Foto K\u00f6ln.jpg");
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(folder.filePath(gif), "PNG") &&
                image.save(folder.filePath(jpeg), "JPEG"));
        QVERIFY(
            writeFile(folder.filePath("tune \"x\" #2.wav"), QByteArray("RIFF\0\0\0\0WAVE", 12)));
        const QString worldFile = folder.filePath("every thing.lwf"); // names the output
        QVERIFY(writeFile(worldFile, QByteArray()));

        World world;
        world.Sky = QStringLiteral("Night Sky");
        world.Ground = QStringLiteral("Snow");
        world.Music = QStringLiteral("tune \"x\" #2.wav"); // relative to the world file
        world.StartAngle = Rotation::Backward;
        const float turns[] = {Rotation::Forward, Rotation::Right, Rotation::Backward,
                               Rotation::Left};
        int n = 0; // varies the position, rotation, anchor and target of each item
        const auto hostile = [](int i) { return Hostile[i % Hostile.size()]; };
        const auto anchor = [&] { return n % 3 ? hostile(n) : QString(); };
        const auto target = [&] { return n % 2 ? QStringLiteral("_blank") : hostile(n + 1); };

        std::vector<ShapeInfo> library = shapes;
        for (const QString &name : {QStringLiteral("3D St. Mary's #1 {x}"), QStringLiteral("TRUE"),
                                    QStringLiteral("Caf\u00e9 \"Bench\""), shapes.front().Name}) {
            library.push_back(shapes.front());
            library.back().Name = name;
        }
        for (const ShapeInfo &shape : library) // each placed twice: definition, then reference
            for (int copy = 0; copy < 2; ++copy, ++n)
                appendItem(world.Objects, {shape.Name, float(5 + n % 90), float(5 + n * 7 % 90),
                                           turns[n % 4], anchor(), target()});
        for (const QString &kind :
             {Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street, Kind::Shrubbery}) {
            appendItem(world.Cubes, {kind, float(n), float(n) + 3.5f, 20.25f, 27.0f, 0x123456 * n});
            appendItem(world.Cubes, {kind, 60, 50, 9, 1, n++});
            appendItem(world.Cubes, {kind, 50, 50, 1, 9, 0});
        }
        for (int i = 0; i < 8; ++i, ++n) {
            const QString file = i % 2 ? gif : jpeg;
            appendItem(world.Pictures,
                       {float(10 * i + 5), 60, 0.25f * i, 1.5f, 0.75f, turns[i % 4], i % 2 == 0,
                        i < 4 ? folder.filePath(file) : file, anchor(), target()});
        }
        const QStringList textKinds{Kind::TextBig, Kind::TextEyeLevel, "Text (Huge)"};
        for (int i = 0; i < Hostile.size() * 2; ++i, ++n)
            appendItem(world.Texts, {hostile(i), float(5 * i + 2), 80, 0x00FF8040 + i, turns[i % 4],
                                     textKinds[i % 3], i % 2 == 1, anchor(), QString(), target()});

        const QStringList problems = exportProblems(world, worldFile, library);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // An object file Coin cannot read in its place in the world, or that would
    // reach outside it, is left out when the library loads, and named; the
    // export reports its items as missing. One that passes is placed twice
    // beside an entry whose name Coin would refuse as it stands, and the
    // world reads cleanly with both copies whole (each has its sphere).
    void hostileObject_data()
    {
        QTest::addColumn<QByteArray>("nodes"); // Lamp.wrl after its header line
        QTest::addColumn<QString>("problem");  // the start of the reason; empty: used
        const auto row = [](const char *name, const QByteArray &nodes, const char *problem) {
            QTest::newRow(name) << nodes << QString(problem);
        };
        row("a USE inside its own DEF, brackets left open",
            "DEF A Group { children [ Transform { children [ Group { children USE A",
            "Coin's reader crashed on it");
        row("a USE inside its own DEF", "DEF A Group { children [ Group { children USE A } ] }",
            "Coin cannot read it: a node holds itself");
        row("the USE of its entry", "Group { children USE Lamp }",
            "Coin cannot read it: Unknown reference");
        row("closes its place early", "Shape { } ] } Shape { } Group { children [",
            "its brackets do not match");
        row("a PROTO", "PROTO Transform [ ] { Group { } }", "it declares a PROTO");
        row("an Inline", "Inline { url \"" SOURCE_DIR "/data/Objects/Bush.wrl\" }",
            "it inlines another file");
        row("nested beyond Coin's stack",
            QByteArray("Group { children [ ").repeated(8000) + QByteArray("] } ").repeated(8000),
            "Coin's reader crashed on it");
        row("defines its entry's name, more on the header line",
            " written by a tool\r\nDEF Lamp Transform { children Shape { geometry Box { } } }\r\n"
            "Shape { geometry Sphere { } }",
            "");
    }

    void hostileObject()
    {
        QFETCH(QByteArray, nodes);
        QFETCH(QString, problem);
        QTemporaryDir home;
        QVERIFY(
            writeTextures(home.path()) &&
            writeFile(home.filePath("Objects/objects.txt"),
                      "1\t1\t0 0 0\tC\tLamp.wrl\r\n1\t1\t0 0 0\tC\tBench (old)|2.wrl") &&
            writeFile(home.filePath("Objects/Lamp.wrl"),
                      (nodes.startsWith(' ') ? "#VRML V2.0 utf8" : "#VRML V2.0 utf8\n") + nodes) &&
            writeFile(home.filePath("Objects/Bench (old)|2.wrl"),
                      "#VRML V2.0 utf8\nShape { geometry Sphere { } }"));
        LibraryLoad library = loadLibrary(home.path());
        const QString warnings = library.warnings.join('\n');
        QVERIFY2(problem.isEmpty()
                     ? warnings.isEmpty()
                     : warnings.startsWith("The object \"Lamp.wrl\" is left out: " + problem),
                 qPrintable(warnings));
        World world;
        for (const char *name : {"Lamp", "Lamp", "Bench (old)|2", "Bench (old)|2"})
            appendItem(world.Objects, {name, 10, 10, 0, {}, {}});
        const WorldExport result = exportWorld(world, library.Shapes, home.path(), {});
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QStringList missing = problem.isEmpty() ? QStringList() : QStringList{"Lamp", "Lamp"};
        QCOMPARE(result.missingObjects, missing);
        const Scene scene = Scene::fromText(readBytes(result.outputPath));
        QVERIFY2(problemsOf(scene).isEmpty(), qPrintable(problemsOf(scene).join('\n')));
        SoSearchAction spheres;
        spheres.setType(SoVRMLSphere::getClassTypeId());
        spheres.setInterest(SoSearchAction::ALL);
        spheres.setSearchingAll(TRUE);
        spheres.apply(scene.root());
        QCOMPARE(spheres.getPaths().getLength(), problem.isEmpty() ? 4 : 2);
    }

private:
    // A warning or an object the library lacks is a failure too.
    QStringList exportProblems(const World &world, const QString &currentFile,
                               std::vector<ShapeInfo> &library)
    {
        const WorldExport result = exportWorld(world, library, program.path(), currentFile);
        if (!result.ok() || !result.warnings.isEmpty() || !result.missingObjects.isEmpty())
            return QStringList{result.error} + result.warnings + result.missingObjects;
        return problemsOf(Scene::read(result.outputPath, {program.filePath("ToGo")}));
    }

    QTemporaryDir program;
    std::vector<ShapeInfo> shapes;
};

QTEST_GUILESS_MAIN(TestCoinVrml)
#include "tst_coin_vrml.moc"
