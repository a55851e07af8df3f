#pragma once
// Reads VRML97 text with Coin's reader and collects every error and warning
// it reports through its error handlers (an extra closing brace still gives a
// scene), so tests can demand a world that loads cleanly. Two messages any
// world with music raises are left out: the Sound node's "experimental"
// notice and the AudioClip's "File not found" (sounds are not read here).

#include <QString>
#include <QStringList>

namespace CoinValidator {

struct Result {
    bool parsed = false;  // Coin built a scene
    QStringList messages; // every error and warning, in order
    bool ok() const { return parsed && messages.isEmpty(); }
    QString report() const; // for a failing test: the messages, or why nothing was parsed
};

// Textures, pictures and other urls are looked up in searchFolder and read
// as images (through QImage), so a missing or unreadable image is reported.
Result checkFile(const QString &path, const QString &searchFolder);

} // namespace CoinValidator
