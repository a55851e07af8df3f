#pragma once
// A large world for the 3-D benchmarks: perKind library objects (the
// library's entries in turn), pictures, texts and walls or surfaces, spread
// over the map by a fixed seed.

#include "core/library/ObjectLibrary.h"
#include "core/model/World.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringList>

#include <vector>

inline World bigWorld(const std::vector<ShapeInfo> &shapes, const QStringList &pictures,
                      int perKind)
{
    QRandomGenerator random(11);
    const auto coordinate = [&random] { return float(random.bounded(900)) / 10.0f + 5; };
    const float rotations[] = {0.0f, 1.57f, 3.14f, -1.57f};
    const QString kinds[] = {Kind::Wall, Kind::Floor, Kind::Street, Kind::Shrubbery};
    World w; // its blank first elements are skipped by the export
    for (int i = 0; i < perKind; ++i) {
        w.Objects.push_back({shapes[size_t(i) % shapes.size()].Name, coordinate(), coordinate(),
                             rotations[i % 4], {}, {}});
        w.Pictures.push_back({coordinate(), coordinate(), 0.2f, 1.5f, 1, rotations[i % 4],
                              i % 3 == 0, pictures[i % pictures.size()], {}, {}});
        w.Texts.push_back({QStringLiteral("Stand %1").arg(i), coordinate(), coordinate(),
                           0x3366CC, rotations[i % 4], i % 2 ? Kind::TextBig : Kind::TextEyeLevel,
                           i % 2 == 1, {}, {}, {}});
        const float x = coordinate();
        const float y = coordinate();
        w.Cubes.push_back({kinds[i % 4], x, x + 0.5f + float(random.bounded(40)) / 10.0f, y,
                           y + 0.3f + float(random.bounded(20)) / 10.0f, 0x808080 + i});
    }
    return w;
}

// The sample pictures shipped with the sources.
inline QStringList samplePictures()
{
    QStringList pictures;
    const QString folder = QStringLiteral(SOURCE_DIR "/samples/pictures/");
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        pictures << folder + name;
    return pictures;
}
