#pragma once
// Reads VRML97 text with Coin's reader and collects every error and warning
// Coin reports, so tests and tools can demand a world that loads cleanly.
//
// Coin reports problems through its error handlers, not only through a null
// scene: an extra closing brace still gives a scene. Two messages that any
// world with background music raises are not problems of the file and are
// left out: the Sound node's "experimental" notice and the AudioClip's
// "File not found" (sound files are not looked for while reading).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace CoinValidator
{

struct Result {
    bool parsed = false;  // Coin built a scene
    QStringList messages; // every error and warning, in order
    bool ok() const { return parsed && messages.isEmpty(); }
    QString report() const; // for a failing test: the messages, or why nothing was parsed
};

// Textures, pictures and other urls are looked up in searchFolder and read
// as images (through QImage), so a missing or unreadable image is reported.
Result check(const QByteArray &vrml, const QString &searchFolder = QString());
Result checkFile(const QString &path, const QString &searchFolder = QString());

} // namespace CoinValidator
