#pragma once
// File services: the few disk operations the rest of the program relies on.
// Fallible operations return a Status whose error names the file and the
// reason; nothing here shows a message.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct [[nodiscard]] Status {
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
    explicit operator bool() const { return ok(); }
    static Status success() { return {}; }
    static Status failure(const QString &message) { return {message}; }
};

struct [[nodiscard]] TextRead {
    QString text;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Text in double quotes, as messages show a name, a path or a value typed.
QString quoted(const QString &text);

namespace Files {

// "Cannot <verb> "<path>": <reason>", the form of every file error.
QString cannot(const char *verb, const QString &path, const QString &reason);

// A path inside a folder: folder, separator, name.
QString pathIn(const QString &folder, const QString &name);

bool folderExists(const QString &path);
Status createFolder(const QString &path);       // succeeds when it already exists
QStringList filesOf(const QString &folder);     // names of files directly inside, sorted
Status deleteFileForced(const QString &path);   // read-only files included
Status copyFileReplacing(const QString &source, const QString &destination);
Status removeEntry(const QString &path);        // a file, a link or a whole folder
// Renames a file or a folder within one file system; nothing is copied.
Status moveEntry(const QString &from, const QString &to);
bool fileExists(const QString &path);           // a file, not a folder
bool sameBytes(const QString &a, const QString &b); // both readable files with equal contents

// Makes destination hold exactly what source holds, sub-folders included:
// copies the files that are missing or differ, deletes files and folders that
// source lacks, and leaves identical files untouched.
Status mirrorFolder(const QString &source, const QString &destination);
QString fileName(const QString &path);          // after the last '/' or '\'

// Whole-file text: read decodes with TextCodec::decode and refuses what no
// world, library or object file is (a folder, a pipe, UTF-16, binary data, a
// file over 256 MiB); write encodes with TextCodec::encode (or takes bytes as
// they are) and replaces the file atomically, so a failed write leaves the old
// file as it was. Errors name the file and say what is wrong in user words.
TextRead readTextFile(const QString &path);
Status writeTextFile(const QString &path, const QString &text);
Status writeBytes(const QString &path, const QByteArray &bytes);

} // namespace Files
