// The VRML export of a large world: 10,000 items (2,500 of each kind) with a
// 30-entry library. BM_WorldText times the text alone (what the user waits
// for beyond the disk); BM_ExportVRML adds building the new ToGo beside the
// old one and putting it in its place.
// bytes_per_second is VRML text (UTF-16 characters counted as one byte each).
// BM_DefinitionNamesClashing times the naming of many entries of one name.

#include "BenchMain.h"
#include "core/vrml/VrmlWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{

constexpr int ItemsPerKind = 2500;
constexpr int LibrarySize = 30;

// An object file of a few kilobytes, like a modelled bench or lamp post.
QByteArray objectFile(int entry)
{
    QByteArray text = "#VRML V2.0 utf8\r\nTransform {\r\nchildren [\r\n";
    for (int part = 0; part < 6; ++part) {
        text += "Shape {\r\nappearance Appearance { material Material { diffuseColor 0.5 0.4 0.3 } "
                "}\r\n"
                "geometry IndexedFaceSet {\r\ncoord Coordinate { point [\r\n";
        for (int p = 0; p < 24; ++p)
            text += QByteArray::number(entry * 0.01 + p * 0.125) + " " +
                    QByteArray::number(part * 0.25) + " " + QByteArray::number(p % 5 * 0.3) +
                    ",\r\n";
        text += "] }\r\ncoordIndex [ 0, 1, 2, -1, 2, 3, 0, -1, 4, 5, 6, -1, 6, 7, 4, -1 "
                "]\r\n}\r\n}\r\n";
    }
    return text + "]\r\n}\r\n";
}

struct Fixture {
    QTemporaryDir program;
    std::vector<ShapeInfo> shapes;
    World world;

    Fixture()
    {
        const QDir root(program.path());
        root.mkpath(QStringLiteral("Objects"));
        root.mkpath(QStringLiteral("Textures"));
        for (const char *name :
             {"grass.jpg", "dirt.jpg", "snow.jpg", "asphalt.jpg", "leaves.jpg"}) {
            QFile texture(root.filePath(QStringLiteral("Textures/") + QLatin1String(name)));
            if (texture.open(QIODevice::WriteOnly))
                texture.write(QByteArray(20000, 'x'));
        }
        for (int i = 0; i < LibrarySize; ++i) {
            ShapeInfo shape;
            shape.Name = QStringLiteral("Object %1").arg(i);
            shape.FileName = shape.Name + QStringLiteral(".wrl");
            QFile file(root.filePath(QStringLiteral("Objects/") + shape.FileName));
            if (file.open(QIODevice::WriteOnly))
                file.write(objectFile(i));
            shapes.push_back(shape);
        }

        const float rotations[] = {0.0f, 1.57f, 3.14f, -1.57f};
        const QString kinds[] = {Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street,
                                 Kind::Shrubbery};
        world.Objects.clear();
        world.Pictures.clear();
        world.Texts.clear();
        world.Cubes.clear();
        for (int i = 0; i < ItemsPerKind; ++i) {
            const float x = float(i % 97) + 0.37f;
            const float y = float(i % 89) + 0.61f;
            const QString anchor =
                i % 3 ? QString() : QStringLiteral("http://example.com/page%1.html").arg(i);
            const QString target = i % 6 ? QString() : QStringLiteral("_blank");
            world.Objects.push_back(
                {shapes[size_t(i % LibrarySize)].Name, x, y, rotations[i % 4], anchor, target});
            world.Pictures.push_back({x, y, 0.25f, 1.5f, 0.75f, rotations[i % 4], i % 2 == 0,
                                      QStringLiteral("/home/user/Pictures/photo%1.jpg").arg(i % 40),
                                      anchor, target});
            world.Texts.push_back({QStringLiteral("Welcome to \"stand %1\"").arg(i), x, y,
                                   0x3366CC + i, rotations[i % 4],
                                   i % 2 ? Kind::TextBig : Kind::TextEyeLevel, i % 2 == 1, anchor,
                                   QString(), target});
            world.Cubes.push_back({kinds[i % 5], x, x + 2.5f, y, y + 0.3f, 0x808080 + i});
        }
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_WorldText(benchmark::State &state)
{
    Fixture &f = fixture();
    qint64 characters = 0;
    for (auto _ : state) {
        QStringList missing, leftOut;
        const TextRead text =
            buildWorldText(f.world, f.shapes, f.program.path(), false, missing, leftOut);
        if (!text.ok())
            state.SkipWithError(qPrintable(text.error));
        characters = text.text.size();
        benchmark::DoNotOptimize(text.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * characters);
    state.counters["MB"] = double(characters) / 1e6;
}
BENCHMARK(BM_WorldText)->Unit(benchmark::kMillisecond);

void BM_ExportVRML(benchmark::State &state)
{
    Fixture &f = fixture();
    qint64 characters = 0;
    for (auto _ : state) {
        const VrmlExport result = ExportVRML(f.world, f.shapes, f.program.path(), QString());
        if (!result.ok())
            state.SkipWithError(qPrintable(result.error));
        characters = result.text.size();
        benchmark::DoNotOptimize(result.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * characters);
}
BENCHMARK(BM_ExportVRML)->Unit(benchmark::kMillisecond);

// 20,000 library entries of one name: each clash is numbered on from the last
// number given (counting up from 2 each time took minutes).
void BM_DefinitionNamesClashing(benchmark::State &state)
{
    std::vector<ShapeInfo> shapes(20000);
    for (ShapeInfo &shape : shapes)
        shape.Name = QStringLiteral("Tree");
    for (auto _ : state)
        benchmark::DoNotOptimize(Vrml::definitionNames(shapes));
}
BENCHMARK(BM_DefinitionNamesClashing)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
