#pragma once
// The program's pictures, drawn in code so that they stay sharp at every size
// and need no files beside the program.

#include <QIcon>
#include <QImage>

// The emblem: a small house on a green map tile, `size` pixels square.
QImage iconPicture(int size);

// The emblem at 16, 32, 48, 64, 128 and 256 pixels.
QIcon programIcon();

// The select tool's button: a pointer arrow, black edged and white.
QIcon arrowIcon();

// The 400 x 200 splash picture: the product name and version over a faint
// line drawing of city buildings.
QImage splashPicture();
