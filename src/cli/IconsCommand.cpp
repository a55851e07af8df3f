#include "cli/Commands.h"

#include "core/files/FileServices.h"
#include "scene/IconDrawer.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace Cli {

// Draws the palette's pictures of object files into the cache, each named
// by its file's content, and prints "picture<TAB>object" as each is written,
// so that the editor, which runs it, shows each as soon as it is there.
int drawIcons(const QStringList &arguments, Io io)
{
    const QString cache = arguments.at(0), textures = arguments.at(1);
    IconDrawer drawer;
    if (!drawer.unavailable().isEmpty()) {
        printError(io.err, drawer.unavailable());
        return Failure;
    }
    if (const Status made = Files::createFolder(cache); !made) {
        printError(io.err, made.error);
        return Failure;
    }
    int failed = 0;
    for (const QString &object : arguments.mid(2)) {
        QFile file(object);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QImage icon = bytes.isEmpty()
                                ? QImage()
                                : drawer.draw(object, {QFileInfo(object).absolutePath(), textures});
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const QString picture = Files::pathIn(cache, IconDrawer::cacheName(bytes));
        if (icon.isNull() || !icon.save(&buffer, "PNG") || !Files::writeBytes(picture, png)) {
            printError(io.err, QStringLiteral("cannot draw \"%1\"").arg(object));
            ++failed;
            continue;
        }
        io.out << picture << '\t' << object << Qt::endl;
    }
    return failed == 0 ? Success : Failure;
}

} // namespace Cli
