// World file speed on a world of 10,000 items (2,500 of each kind): text
// building and parsing alone, whole saves and loads through the disk, and as
// a baseline the same bytes written and read with one plain file call.

#include "core/files/TextCodec.h"
#include "core/model/WorldFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int ItemsPerKind = 2500;

World bigWorld()
{
    World w;
    w.Sky = QStringLiteral("Blue Sky");
    w.Ground = QStringLiteral("Grass");
    const float rotations[] = {0.0f, 1.57f, 3.14f, -1.57f};
    for (int i = 0; i < ItemsPerKind; ++i) {
        const float x = float(i % 100) + 0.25f;
        const float y = float(i / 25) * 0.37f;
        const float r = rotations[i % 4];
        appendItem(w.Objects, ObjectInfo{QStringLiteral("Park_Bench"), x, y, r, {}, {}});
        appendItem(w.Pictures,
                   PictureInfo{x, y, 0.5f, 2.0f / 3.0f, 1.25f, r, i % 2 == 0,
                               QStringLiteral("/home/user/pictures/sunset.jpg"),
                               QStringLiteral("http://example.org/"), QStringLiteral("_blank")});
        appendItem(w.Texts, TextInfo{QStringLiteral("Welcome to the park"),
                                     x,
                                     y,
                                     16777215,
                                     r,
                                     Kind::TextBig,
                                     false,
                                     {},
                                     {},
                                     {}});
        appendItem(w.Cubes, CubeInfo{Kind::Wall, x, x + 1.5f, y, y + 0.1f, 8421504});
    }
    return w;
}

struct Fixture {
    Fixture()
    {
        QLocale::setDefault(QLocale::c());
        text = WorldFile::format(world, fractions);
        bytes = TextCodec::encode(text);
        path = dir.filePath(QStringLiteral("big.lwf"));
        if (!WorldFile::save(path, world, fractions).ok())
            std::abort();
    }
    World world = bigWorld();
    ScrollFractions fractions{0.5, 0.25};
    QString text;
    QByteArray bytes;
    QTemporaryDir dir;
    QString path;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_Format(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(WorldFile::format(f.world, f.fractions));
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

void BM_Parse(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        WorldRead read = WorldFile::parse(f.text);
        if (!read.ok())
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

void BM_Save(benchmark::State &state)
{
    const Fixture &f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("saved.lwf"));
    for (auto _ : state) {
        if (!WorldFile::save(path, f.world, f.fractions).ok())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

void BM_Load(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        WorldRead read = WorldFile::load(f.path);
        if (!read.ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

// Baselines: the same bytes with one plain write or read.
void BM_PlainWrite(benchmark::State &state)
{
    const Fixture &f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("plain.lwf"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(f.bytes) != f.bytes.size())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

void BM_PlainRead(benchmark::State &state)
{
    const Fixture &f = fixture();
    for (auto _ : state) {
        QFile file(f.path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * f.bytes.size());
}

} // namespace

BENCHMARK(BM_Format)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
