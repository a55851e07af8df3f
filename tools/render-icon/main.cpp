// render-icon SIZE OUT.png: the program's icon as a PNG of SIZE pixels, for
// the desktop's icon theme. It draws the icon as the program itself does.

#include "editor/dialogs/Artwork.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build step: no display needed
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool number = false;
    const int size = arguments.value(1).toInt(&number);
    if (arguments.size() != 3 || !number || size < 1 || size > 1024) {
        std::fputs("usage: render-icon SIZE OUT.png\n", stderr);
        return 2;
    }
    if (!iconPicture(size).save(arguments.at(2), "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
