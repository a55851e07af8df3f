#pragma once
// The web page that plays an exported world in a browser: index.html beside
// the world in ToGo, and the player, the folder x_ite beside the program,
// copied unchanged into ToGo/x_ite. The world file and everything else in
// ToGo stay as the export wrote them.

#include "core/files/FileServices.h"

#include <QString>

namespace WebPage {

// The page's file name, beside the world.
inline const QString FileName = QStringLiteral("index.html");

// The page for a world file in the same folder (a bare file name): the
// world's name as title, the player filling the window.
QString html(const QString &worldFileName);

// Writes the page beside worldPath and makes its x_ite folder a copy of
// programFolder/x_ite (files already equal are left alone, so a second call
// costs little). Fails when the player is missing or a file cannot be written.
Status write(const QString &programFolder, const QString &worldPath);

} // namespace WebPage
