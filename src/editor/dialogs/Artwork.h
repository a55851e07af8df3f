#pragma once
// The program's pictures, drawn at the size asked for so that they stay sharp,
// and built into the program so that they need no files beside it.

#include <QIcon>
#include <QImage>

// The emblem, the desktop's icon of the program: a small house on a green map
// tile, `size` pixels square.
QImage iconPicture(int size);

// The emblem at 16, 32, 48, 64, 128 and 256 pixels.
QIcon programIcon();

// The select tool's button: a pointer arrow, black edged and white.
QIcon arrowIcon();

// The 400 x 200 splash picture: the product name and version over a faint
// line drawing of city buildings.
QImage splashPicture();
