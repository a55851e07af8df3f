#pragma once
// Reads a VRML97 file with Coin's reader and collects every error and warning
// it reports through its error handlers (an extra closing brace still gives a
// scene), so tests can demand a world that loads cleanly. Two messages any
// world with music raises are left out: the Sound node's "experimental"
// notice and the AudioClip's "File not found" (sounds are not read here).

#include <QString>
#include <QStringList>

#include <functional>

class SoNode;

namespace CoinValidator {

// Every error and warning, in order, and "Coin built no scene" when it built
// none: empty for a clean file. Textures, pictures and other urls are looked
// up in searchFolder and read as images (through QImage), so a missing or
// unreadable image is reported. inspect, if given, sees the scene built.
QStringList problems(const QString &path, const QString &searchFolder,
                     const std::function<void(SoNode *)> &inspect = {});

} // namespace CoinValidator
