// render-icon SIZE OUT.png: the program's icon as a PNG of SIZE pixels, for
// the desktop's icon theme. It draws the icon as the program itself does;
// painting an image needs no application object, nor a display.

#include "editor/dialogs/Artwork.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 1 || size > 1024) {
        std::fputs("usage: render-icon SIZE OUT.png\n", stderr);
        return 2;
    }
    if (!iconPicture(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
