#pragma once
// The world file (*.lwf): TAB-separated fields, no terminator.
//
// Reading validates the whole file into a new world first, so a failure
// never leaves half a world behind; the error says what is wrong in a user's
// words ("the colour of text 2 is not a whole number: \"red\"").

#include "core/files/FileServices.h"
#include "core/model/World.h"

#include <QLocale>

// The view's scroll position, stored as value / maximum of each scroll bar.
struct ScrollFractions {
    double vertical = 0;
    double horizontal = 0;
};

struct [[nodiscard]] WorldRead {
    World world;
    ScrollFractions fractions;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

namespace WorldFile {

// The file's text. A TAB or a NUL inside a string field is written as a
// blank, so that every file written loads back.
QString format(const World &world, const ScrollFractions &fractions,
               const QLocale &locale = QLocale());
WorldRead parse(const QString &text, const QLocale &locale = QLocale());

Status save(const QString &path, const World &world, const ScrollFractions &fractions);
WorldRead load(const QString &path);

} // namespace WorldFile
