// The importer and the user's library: models of each kind, made here, are
// converted, placed and scaled as asked and read back by Coin without a
// message, or refused with nothing written; the user's library follows the
// shipped one, refuses a name that is taken, gives up its files on removal,
// and its objects reach ToGo with every file they name, while a world of
// shipped objects exports as it did without it.

#include "ModelFiles.h"
#include "TestSupport.h"

#include "core/library/UserLibrary.h"
#include "core/vrml/ExportCommand.h"
#include "scene/ImportReader.h"
#include "scene/ObjectCheck.h"
#include "scene/ObjectImport.h"
#include "scene/VrmlScene.h"

#include <Inventor/nodes/SoGroup.h>

#include <QtTest>

namespace {

using ModelFiles = QMap<QString, QByteArray>;
using Box = QVector<double>; // min x y z, max x y z; empty: refused

constexpr double Metre = ModelImport::UnitsPerMetre;

// Converts and imports a model as "Model" into userFolder; the error when refused.
QString importAs(const QString &name, const QString &model, const ModelImport::Options &options,
                 const QString &userFolder, const std::vector<ShapeInfo> &library,
                 QStringList *notes = nullptr)
{
    const ModelImport::Converted converted =
        ModelImport::convertModel(loadModelFile(model), options, QFileInfo(model).fileName());
    if (notes)
        *notes = converted.notes;
    if (!converted.ok())
        return converted.error;
    return importObject(userFolder, name, converted, "R", converted.mapColor, library).error;
}

} // namespace

class TestCoinImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void converter_data()
    {
        QTest::addColumn<ModelFiles>("files"); // written into the model's folder ("../" beside it)
        QTest::addColumn<QString>("model");
        QTest::addColumn<double>("size"); // map units; 0: the model's units are metres
        QTest::addColumn<QString>("up");
        QTest::addColumn<Box>("box");
        QTest::addColumn<int>("textures");
        QTest::addColumn<QString>("message"); // in the refusal, or in the notes

        const double w = Metre; // half the quad's width, in metres
        QTest::newRow("textured quad, OBJ") << ModelFiles{{"red.png", pngOf(Qt::red)}} << "quad.obj"
                                            << 0.0 << "y" << Box{-w, 0, 0, w, Metre, 0} << 1 << "";
        QTest::newRow("textured quad, glTF")
            << ModelFiles{{"quad.gltf", gltfQuad(Qt::green)}} << "quad.gltf" << 1.0 << "z"
            << Box{-0.5, 0, 0, 0.5, 0.5, 0} << 1 << ""; // glTF says Y is up: z is not taken
        QTest::newRow("box with Z up, STL, sized")
            << ModelFiles{{"box.stl", stlBox(1, 2, 3)}} << "box.stl" << 4.0 << "z"
            << Box{-1, 0, -2, 1, 6, 2} << 0 << "";
        QTest::newRow("box, VRML97")
            << ModelFiles{{"box.wrl", vrmlBox()}} << "box.wrl" << 0.0 << "y"
            << Box{-Metre, 0, -2 * Metre, Metre, Metre, 2 * Metre} << 0 << "lights";
        QTest::newRow("texture outside the model's folder")
            << ModelFiles{{"../secret.png", pngOf(Qt::blue)}} << "quad.obj" << 0.0 << "y"
            << Box{-w, 0, 0, w, Metre, 0} << 0 << "outside the model's folder";
        QTest::newRow("60,000 triangles, simplified")
            << ModelFiles{{"grid.obj", gridObj(175)}} << "grid.obj" << 10.0 << "y"
            << Box{-5, 0, -5, 5, 0, 5} << 0 << "simplified";
        QTest::newRow("points only") << ModelFiles{{"points.ply", plyPoints()}} << "points.ply"
                                     << 0.0 << "y" << Box{} << 0 << "no faces";
        QTest::newRow("empty file")
            << ModelFiles{{"empty.obj", ""}} << "empty.obj" << 0.0 << "y" << Box{} << 0 << "";
        QTest::newRow("damaged glTF") << ModelFiles{{"bad.glb", QByteArray(300, '\x7f')}}
                                      << "bad.glb" << 0.0 << "y" << Box{} << 0 << "";
        QTest::newRow("wider than the world")
            << ModelFiles{{"long.stl", stlBox(400, 1, 1)}} << "long.stl" << 0.0 << "y" << Box{} << 0
            << "wider than the world";
        QTest::newRow("missing") << ModelFiles{} << "nothing.obj" << 0.0 << "y" << Box{} << 0
                                 << "not found";
    }

    // Placed: Y up, centred, on the ground, the longer footprint side the
    // size asked; the object file, its line and its textures as Coin and
    // the library read them.
    void converter()
    {
        QFETCH(ModelFiles, files);
        QFETCH(QString, model);
        QFETCH(double, size);
        QFETCH(QString, up);
        QFETCH(Box, box);
        QFETCH(int, textures);
        QFETCH(QString, message);
        QTemporaryDir root;
        const QString folder = root.filePath("model"), user = root.filePath("user");
        QVERIFY(QDir().mkpath(folder));
        if (model == "quad.obj")
            QVERIFY(writeQuadObj(folder, files.firstKey()));
        for (auto file = files.cbegin(); file != files.cend(); ++file)
            QVERIFY(writeFile(folder + "/" + file.key(), file.value()));
        ModelImport::Options options;
        if (size > 0)
            options.size = size;
        options.up = up == "z" ? ModelImport::UpAxis::Z : ModelImport::UpAxis::Y;

        QStringList notes;
        const QString error = importAs("Model", folder + "/" + model, options, user, {}, &notes);
        if (box.isEmpty()) {
            QVERIFY2(error.contains(model) && error.contains(message), qPrintable(error));
            QVERIFY(!QFileInfo::exists(user)); // nothing written
            return;
        }
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(notes.join(' ').contains(message), qPrintable(notes.join('\n')));
        QCOMPARE(QDir(user).entryList({"user-*"}, QDir::Files).size(), textures);

        const LibraryLoad library = loadLibrary(root.filePath("program"), user);
        QCOMPARE(library.Shapes.size(), size_t(1));
        QVERIFY2(library.warnings.isEmpty(), qPrintable(library.warnings.join('\n')));
        const Scene scene = Scene::read(user + "/Model.wrl");
        QVERIFY2(scene.ok() && scene.errors().isEmpty() && scene.warnings().isEmpty(),
                 qPrintable((scene.errors() + scene.warnings()).join('\n')));
        const SbBox3f read = boundingBox(scene.root());
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(std::abs(read.getMin()[i] - box[i]) < 1e-3 &&
                         std::abs(read.getMax()[i] - box[i + 3]) < 1e-3,
                     qPrintable(QStringLiteral("axis %1: %2 .. %3")
                                    .arg(i)
                                    .arg(read.getMin()[i])
                                    .arg(read.getMax()[i])));
        }
        const ShapeInfo &entry = library.Shapes.front();
        QVERIFY(std::abs(entry.Width - (box[3] - box[0])) < 1e-3);
        QVERIFY(std::abs(entry.Depth - std::max(box[5] - box[2], 0.0001)) < 1e-3);
        if (model == "grid.obj")
            QVERIFY(scene.root() &&
                    readBytes(user + "/Model.wrl").count("-1,") <= int(ModelImport::MaxTriangles));
    }

    // The program's library is the shipped one, then the user's; a name
    // taken is refused, in any letter case; removing an object keeps the
    // texture another object names; an export carries every file its
    // objects name, and a world of shipped objects exports as it did.
    void userLibrary()
    {
        QTemporaryDir root;
        const QString program = root.filePath("program"), user = root.filePath("user"),
                      models = root.filePath("models");
        QVERIFY(copyFiles(TESTS_DATA_DIR "/golden/Objects", program + "/Objects"));
        QVERIFY(copyFiles(SOURCE_DIR "/data/Textures", program + "/Textures"));
        QVERIFY(writeFile(models + "/sign.png", pngOf(Qt::red)) &&
                writeQuadObj(models, "sign.png"));
        const QString quad = models + "/quad.obj";

        std::vector<ShapeInfo> library = loadLibrary(program).Shapes;
        for (const char *name : {"Sign Board", "Sign Copy"}) {
            QCOMPARE(importAs(name, quad, {}, user, library), QString());
            library = loadLibrary(program, user).Shapes;
        }
        QVERIFY(importAs("big tree", quad, {}, user, library).contains("already"));
        QVERIFY(!QFileInfo::exists(user + "/big tree.wrl"));
        // A hand-made line naming a shipped object is left out, with a warning.
        QVERIFY(writeFile(user + "/objects.txt",
                          readBytes(user + "/objects.txt") + "\r\n1\t1\t0 0 0\tR\tTable.wrl"));
        const LibraryLoad merged = loadLibrary(program, user);
        QStringList names;
        for (const ShapeInfo &shape : merged.Shapes)
            names << shape.Name;
        QCOMPARE(names,
                 QStringList({"Park Bench", "Table", "Big Tree", "Sign Board", "Sign Copy"}));
        QVERIFY(merged.warnings.join(' ').contains("\"Table\""));

        World world;
        world.Objects[0] = ObjectInfo{"Big Tree", 50, 50, 0, {}, {}};
        std::vector<ShapeInfo> shipped = loadLibrary(program).Shapes, all = merged.Shapes;
        const QString toGo = root.filePath("ToGo");
        QVERIFY(exportWorld(world, shipped, ProgramFolders(program, toGo), {}).ok());
        const QByteArray before = readBytes(toGo + "/world.wrl");
        QVERIFY(exportWorld(world, all, ProgramFolders(program, toGo), {}).ok());
        QCOMPARE(readBytes(toGo + "/world.wrl"), before);

        world.Objects.push_back(ObjectInfo{"Sign Board", 40, 40, 0, {}, {}});
        const WorldExport exported = exportWorld(world, all, ProgramFolders(program, toGo), {});
        QVERIFY2(exported.ok() && exported.warnings.isEmpty(),
                 qPrintable(exported.error + exported.warnings.join('\n')));
        const QString texture = all[3].NamedFiles.value(0);
        QVERIFY(texture.startsWith("user-") && Files::fileExists(toGo + "/" + texture));
        const Scene scene = Scene::read(exported.outputPath);
        QVERIFY2(scene.ok() && scene.warnings().isEmpty(), qPrintable(scene.warnings().join('\n')));

        QVERIFY(UserLibrary::remove(all[3], all).ok());
        QVERIFY(!QFileInfo::exists(user + "/Sign Board.wrl"));
        QVERIFY(QFileInfo::exists(user + "/" + texture)); // Sign Copy names it too
        all = loadLibrary(program, user).Shapes;
        QCOMPARE(all.back().Name, QString("Sign Copy"));
        QVERIFY(UserLibrary::remove(all.back(), all).ok());
        QVERIFY(!QFileInfo::exists(user + "/" + texture));
        QCOMPARE(UserLibrary::load(user).Shapes.size(), size_t(1)); // the hand-made line
        QVERIFY(!UserLibrary::remove(all.front(), all).ok());       // shipped: never changed
    }
};

QTEST_GUILESS_MAIN(TestCoinImport)
#include "tst_coin_import.moc"
