#pragma once
// File helpers the tests share: whole files in and out, folders copied and
// listed, and the textures every export needs in a throw-away program folder.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

inline const QStringList TextureNames{"asphalt.jpg", "dirt.jpg", "grass.jpg", "leaves.jpg",
                                      "snow.jpg"};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Printable ASCII, TABs and CR LF line ends only.
inline bool isPlainCrLfText(const QByteArray &bytes)
{
    static const QRegularExpression plain("^[\\t -~]*(\\r\\n[\\t -~]*)*$");
    return plain.match(QString::fromLatin1(bytes)).hasMatch();
}

// Creates the file's folder too; false when anything fails.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// The files directly inside one folder, into another that is created.
inline bool copyFiles(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

// Every file below a folder, by its path inside it, sorted.
inline QStringList filesUnder(const QString &folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Every entry below a folder, hidden ones, links and pipes too, as
// "path=contents" (a folder's contents empty), sorted: a whole tree to compare.
inline QStringList treeOf(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries << QDir(folder).relativeFilePath(path) + "=" +
                       (it.fileInfo().isFile() ? readBytes(path) : QByteArray());
    }
    entries.sort();
    return entries;
}

// Textures that are only their names, for exports whose images nobody reads.
inline bool writeTextures(const QString &programFolder)
{
    for (const QString &name : TextureNames)
        if (!writeFile(programFolder + "/Textures/" + name, name.toLatin1()))
            return false;
    return true;
}
