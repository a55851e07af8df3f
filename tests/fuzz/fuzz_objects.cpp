// Any bytes as an object file, through the library load, the export and
// Coin: an object the library check lets through, placed twice beside
// another, must give a world that Coin reads without an error.

#include "FuzzSupport.h"

#include "core/files/FileServices.h"
#include "core/vrml/VrmlWriter.h"
#include "scene/ObjectCheck.h"
#include "scene/VrmlScene.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir home;
    static const bool ready =
        Files::createFolder(home.filePath("Objects")).ok() &&
        Files::writeBytes(home.filePath("Objects/objects.txt"),
                          "1\t1\t0 0 0\tC\tLamp.wrl\r\n1\t1\t0 0 0\tR\tBench (old).wrl")
            .ok() &&
        Files::writeBytes(home.filePath("Objects/Bench (old).wrl"),
                          "#VRML V2.0 utf8\r\nDEF Seat Shape { geometry Box { } }")
            .ok();
    FUZZ_REQUIRE(ready);
    FUZZ_REQUIRE(Files::writeBytes(home.filePath("Objects/Lamp.wrl"), bytesOf(data, size)).ok());
    LibraryLoad library = loadLibrary(home.path());
    World world;
    for (const char *name : {"Lamp", "Bench (old)", "Lamp", "Bench (old)"})
        appendItem(world.Objects, {name, 10, 10, 0, {}, {}});
    QStringList missing, leftOut;
    const TextRead text = buildWorldText(world, library.Shapes, home.path(), false, missing, leftOut);
    FUZZ_REQUIRE(text.ok());
    const Scene scene = Scene::fromText(text.text.toUtf8());
    if (!scene.ok())
        std::fprintf(stderr, "%s\n", qPrintable(scene.errors().join('\n')));
    FUZZ_REQUIRE(scene.ok());
    return 0;
}
