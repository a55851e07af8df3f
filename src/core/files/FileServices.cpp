#include "core/files/FileServices.h"

#include "core/files/TextCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

namespace Files {

namespace {

// Whole-file reads are for world files, library catalogues and object texts;
// anything this large is not one of them and would only exhaust memory.
constexpr qint64 MaxTextFileSize = qint64(256) * 1024 * 1024;

Status failed(const char *verb, const QString &path, const QString &reason)
{
    return Status::failure(cannot(verb, path, reason));
}

// What stands at a path that is no ordinary file, in a user's words; nothing
// for an ordinary file, a link to one, or nothing at all. Saving over a pipe
// or a device would put a new file in its place.
std::optional<QString> notAFile(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("it is a pipe (FIFO), not an ordinary file");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("it is a socket, not an ordinary file");
    return QStringLiteral("it is a device, not an ordinary file");
}

// Why a write failed, from the errno it left: a full disk in a user's words.
QString writeFailure(int error, const QFileDevice &file)
{
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("the disk is full");
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return file.errorString();
}

// Writes all bytes or says why not. Qt reports a short write (a full disk, a
// file size limit) as success with fewer bytes and no error text of its own.
std::optional<QString> writeAll(QSaveFile &file, const char *data, qint64 size)
{
    errno = 0;
    const qint64 written = file.write(data, size);
    if (written == size)
        return std::nullopt;
    if (errno != 0 || (file.error() != QFileDevice::NoError && written < 0))
        return writeFailure(errno, file);
    return QStringLiteral("only %1 of %2 bytes could be written")
        .arg(std::max<qint64>(written, 0))
        .arg(size);
}

// Puts a save file in place only once all of it is on the disk. QSaveFile
// buffers small writes, and its commit renames the file even when flushing
// that buffer fails: on a full disk an empty file replaced the old one.
Status commitWhole(QSaveFile &file)
{
    errno = 0;
    // EINVAL: a file system that cannot sync, where the flush is all there is.
    if (!file.flush() || (::fsync(file.handle()) != 0 && errno != EINVAL)) {
        const QString reason = writeFailure(errno, file);
        file.cancelWriting();
        return failed("write", file.fileName(), reason);
    }
    if (!file.commit())
        return failed("write", file.fileName(), file.errorString());
    return Status::success();
}

// Opens a save file for path, refusing anything but an ordinary file there.
std::optional<QString> openForWriting(QSaveFile &file)
{
    if (const auto reason = notAFile(file.fileName()))
        return reason;
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    return std::nullopt;
}

QString tooLarge(qint64 bytes)
{
    return QStringLiteral("it is too large (%1 MiB) to be a file of this program")
        .arg(bytes / (1024 * 1024));
}

// Opens an ordinary file for reading, or says in a user's words why not.
std::optional<QString> openForReading(QFile &file, const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("there is no such file");
    // A pipe or a device would block the reader or never end.
    if (const auto reason = notAFile(path))
        return reason;
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (!info.isReadable())
        return QStringLiteral("you have no permission to read it");
    return file.errorString();
}

} // namespace

QString cannot(const char *verb, const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot %1 \"%2\": %3")
        .arg(QLatin1String(verb), QDir::toNativeSeparators(path), reason);
}

QString pathIn(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool folderExists(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

Status createFolder(const QString &path)
{
    if (folderExists(path))
        return Status::success();
    const QFileInfo info(path);
    if (info.exists())
        return failed("create folder", path, QStringLiteral("a file of that name is in the way"));
    errno = 0;
    if (!QDir().mkpath(path)) {
        const int error = errno;
        return failed("create folder", path,
                      error ? QString::fromLocal8Bit(std::strerror(error))
                            : QStringLiteral("the path cannot be created"));
    }
    return Status::success();
}

QStringList filesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

Status deleteFileForced(const QString &path)
{
    QFile file(path);
    // Read-only files go too: make the file writable first.
    const QFile::Permissions permissions = file.permissions();
    if (!(permissions & QFile::WriteUser))
        file.setPermissions(permissions | QFile::WriteOwner | QFile::WriteUser);
    if (!file.remove())
        return failed("delete", path, file.errorString());
    return Status::success();
}

Status copyFileReplacing(const QString &source, const QString &destination)
{
    QFile in;
    if (const auto reason = openForReading(in, source))
        return failed("read", source, *reason);
    // Through a save file, so a failed copy leaves any old destination intact.
    QSaveFile out(destination);
    if (const auto reason = openForWriting(out))
        return failed("write", destination, *reason);
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            return failed("read", source, in.errorString());
        }
        if (n == 0)
            break;
        if (const auto reason = writeAll(out, buffer, n)) {
            out.cancelWriting();
            return failed("write", destination, *reason);
        }
    }
    return commitWhole(out);
}

bool fileExists(const QString &path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool sameBytes(const QString &a, const QString &b)
{
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    char bufferA[64 * 1024], bufferB[64 * 1024];
    for (;;) {
        const qint64 n = first.read(bufferA, sizeof bufferA);
        if (n <= 0)
            return n == 0 && second.atEnd();
        if (second.read(bufferB, n) != n || std::memcmp(bufferA, bufferB, size_t(n)) != 0)
            return false;
    }
}

Status removeEntry(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively()
                   ? Status::success()
                   : failed("delete", path, QStringLiteral("the folder could not be removed"));
    if (!info.exists() && !info.isSymLink())
        return Status::success();
    return deleteFileForced(path);
}

Status moveEntry(const QString &from, const QString &to)
{
    errno = 0;
    if (QDir().rename(from, to))
        return Status::success();
    const int error = errno; // Qt refuses a taken name without asking the system
    const QString reason = error ? QString::fromLocal8Bit(std::strerror(error))
                           : QFileInfo(to).exists() || QFileInfo(to).isSymLink()
                               ? QStringLiteral("the new name is taken")
                               : QStringLiteral("the file system refused");
    return Status::failure(
        QStringLiteral("Cannot move \"%1\" to \"%2\": %3")
            .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), reason));
}

namespace
{

// A plain copy: unlike copyFileReplacing and QFile::copy it does not wait for
// the disk (milliseconds a file); a broken copy is mended by the next mirror.
Status writeCopy(const QString &source, const QString &target)
{
    if (Status removed = removeEntry(target); !removed)
        return removed;
    QFile in(source), out(target);
    if (!in.open(QIODevice::ReadOnly))
        return failed("read", source, in.errorString());
    const QByteArray bytes = in.readAll();
    errno = 0;
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        return failed("write", target, writeFailure(errno, out));
    return Status::success();
}

} // namespace

Status mirrorFolder(const QString &source, const QString &destination)
{
    if (!folderExists(source))
        return failed("copy", source, QStringLiteral("the folder does not exist"));
    if (Status created = createFolder(destination); !created)
        return created;
    const QDir from(source), to(destination);
    const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    QSet<QString> wanted; // relative paths of source's files and folders
    for (QDirIterator it(source, entries, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString relative = from.relativeFilePath(path);
        wanted.insert(relative);
        const QString target = to.filePath(relative);
        if (it.fileInfo().isDir()) {
            if (!folderExists(target)) // a file of that name goes first
                if (Status made = removeEntry(target); !made || !(made = createFolder(target)))
                    return made;
        } else if (!sameBytes(path, target)) {
            if (Status copied = writeCopy(path, target); !copied)
                return copied;
        }
    }
    // What source lacks goes; links are removed, never followed.
    for (QDirIterator it(destination, entries, QDirIterator::Subdirectories); it.hasNext();)
        if (const QString path = it.next(); !wanted.contains(to.relativeFilePath(path)))
            if (Status removed = removeEntry(path); !removed)
                return removed;
    return Status::success();
}

QString fileName(const QString &path)
{
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

TextRead readTextFile(const QString &path)
{
    QFile file;
    if (const auto reason = openForReading(file, path))
        return {QString(), cannot("read", path, *reason)};
    if (file.size() > MaxTextFileSize)
        return {QString(), cannot("read", path, tooLarge(file.size()))};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {QString(), cannot("read", path, file.errorString())};
    // World files, the library and object files are 8-bit text; decoding
    // anything else would only give a misleading complaint about its content.
    if (TextCodec::looksLikeUtf16(bytes))
        return {QString(),
                cannot("read", path,
                       QStringLiteral("it is UTF-16 text; save it as UTF-8 or ANSI text"))};
    if (bytes.contains('\0'))
        return {QString(), cannot("read", path, QStringLiteral("it holds binary data, not text"))};
    return {TextCodec::decode(bytes), QString()};
}

Status writeTextFile(const QString &path, const QString &text)
{
    return writeBytes(path, TextCodec::encode(text));
}

Status writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (const auto reason = openForWriting(file))
        return failed("write", path, *reason);
    if (const auto reason = writeAll(file, bytes.constData(), bytes.size())) {
        file.cancelWriting();
        return failed("write", path, *reason);
    }
    return commitWhole(file);
}

} // namespace Files
