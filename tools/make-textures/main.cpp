// make-textures: writes the five shipped textures into a folder.
//   make-textures data/Textures

#include "TextureGenerator.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // QPainter's text and antialiasing need a Gui application, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make-textures FOLDER\n");
        return 2;
    }
    const QDir folder(args[1]);
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make-textures: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    constexpr int Size = 256;
    constexpr int Quality = 85;
    uint32_t seed = 20240501;
    for (const Textures::Texture &texture : Textures::all()) {
        const QString path = folder.filePath(texture.fileName);
        if (!texture.make(Size, seed++).save(path, "JPG", Quality)) {
            std::fprintf(stderr, "make-textures: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
