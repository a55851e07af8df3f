#include "core/library/UserLibrary.h"

#include "core/model/NumberText.h"
#include "core/model/StoredColor.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace UserLibrary {

namespace {

const QString Catalogue = QStringLiteral("objects.txt");
constexpr int MaxNameLength = 60;

// The characters no name may hold: they cannot be in a file name on some
// system the published world may be copied to, or would end a field.
const QString Forbidden = QStringLiteral("/\\:*?\"<>|");

QString lengthText(double units)
{
    return NumberText::formatDouble(std::max(0.0001, NumberText::roundDecimals(units, 4)));
}

// The lines of a catalogue without their line ends; none for an empty text.
QStringList linesOf(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

// Lines end in CR LF and the last has none: the shipped form, in which the
// reader reports no empty line.
QString catalogueText(const QStringList &lines) { return lines.join(QStringLiteral("\r\n")); }

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

} // namespace

LibraryLoad load(const QString &folder)
{
    const QString path = Files::pathIn(folder, Catalogue);
    if (!QFileInfo::exists(path))
        return {};
    const TextRead read = Files::readTextFile(path);
    if (!read.ok())
        return {{}, {read.error}};
    if (read.text.isEmpty()) // every object removed again
        return {};
    LibraryLoad load = parseLibrary(read.text);
    for (ShapeInfo &shape : load.Shapes)
        shape.Folder = folder;
    // "objects.txt line 3: ..." would point at the shipped file.
    for (QString &warning : load.warnings)
        warning.prepend(QDir::toNativeSeparators(folder) + QDir::separator());
    return load;
}

void append(LibraryLoad &program, LibraryLoad user)
{
    QSet<QString> names;
    for (const ShapeInfo &shape : program.Shapes)
        names.insert(shape.Name.toCaseFolded());
    program.warnings += user.warnings;
    for (ShapeInfo &shape : user.Shapes) {
        if (names.contains(shape.Name.toCaseFolded())) {
            program.warnings << QStringLiteral("Your object %1 is left out: the library has an "
                                               "object of that name already.")
                                    .arg(quoted(shape.Name));
            continue;
        }
        names.insert(shape.Name.toCaseFolded());
        program.Shapes.push_back(std::move(shape));
    }
}

QString nameProblem(const QString &name, const std::vector<ShapeInfo> &library)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please give the object a name.");
    if (name != name.trimmed())
        return QStringLiteral("A name cannot begin or end with a blank.");
    if (name.size() > MaxNameLength)
        return QStringLiteral("A name can be at most %1 characters long.").arg(MaxNameLength);
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("A name cannot begin with a full stop.");
    for (const QChar c : name)
        if (Forbidden.contains(c) || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format || c.isSpace() != (c == QLatin1Char(' ')))
            return QStringLiteral("A name cannot hold tabs, line breaks or any of "
                                  "/ \\ : * ? \" < > |.");
    for (const ShapeInfo &shape : library)
        if (shape.Name.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("The library has an object named %1 already. Please choose "
                                  "another name.")
                .arg(quoted(shape.Name));
    return QString();
}

Added add(const QString &folder, const QString &name, const ModelImport::Converted &object,
          const QString &mapShape, int32_t mapColor)
{
    if (Status created = Files::createFolder(folder); !created)
        return {{}, created.error};
    // Texture names are their content's hash: a file of that name holds these bytes.
    for (const ModelImport::TextureFile &texture : object.textures)
        if (const QString path = Files::pathIn(folder, texture.name); !Files::fileExists(path))
            if (Status written = Files::writeBytes(path, texture.bytes); !written)
                return {{}, written.error};
    const QString fileName = name + QStringLiteral(".wrl");
    const QString objectPath = Files::pathIn(folder, fileName);
    if (Status written = Files::writeBytes(objectPath, object.vrml.toUtf8()); !written)
        return {{}, written.error};

    const QString line = QStringList{lengthText(object.width), lengthText(object.depth),
                                     QStringLiteral("%1 %2 %3")
                                         .arg(StoredColor::red(mapColor))
                                         .arg(StoredColor::green(mapColor))
                                         .arg(StoredColor::blue(mapColor)),
                                     mapShape, fileName}
                             .join(QLatin1Char('\t'));
    const QString cataloguePath = Files::pathIn(folder, Catalogue);
    QStringList lines;
    if (QFileInfo::exists(cataloguePath)) {
        const TextRead read = Files::readTextFile(cataloguePath);
        if (!read.ok()) {
            (void)Files::deleteFileForced(objectPath);
            return {{}, read.error};
        }
        lines = linesOf(read.text);
    }
    if (Status written = Files::writeTextFile(cataloguePath, catalogueText(lines << line));
        !written) {
        (void)Files::deleteFileForced(objectPath);
        return {{}, written.error};
    }
    // The entry as load() will give it, numbers rounded as written.
    Added added{parseLibrary(line).Shapes.at(0), {}};
    added.entry.Folder = folder;
    for (const ModelImport::TextureFile &texture : object.textures)
        added.entry.NamedFiles << texture.name;
    return added;
}

Status remove(const ShapeInfo &entry, const std::vector<ShapeInfo> &library)
{
    if (entry.Folder.isEmpty())
        return Status::failure(QStringLiteral("%1 belongs to the program's own library, which "
                                              "is never changed.")
                                   .arg(quoted(entry.Name)));
    const QString cataloguePath = Files::pathIn(entry.Folder, Catalogue);
    const TextRead read = Files::readTextFile(cataloguePath);
    if (!read.ok())
        return Status::failure(read.error);
    QStringList kept;
    for (const QString &line : linesOf(read.text))
        if (line.split(QLatin1Char('\t')).value(4) != entry.FileName)
            kept << line;
    if (Status written = Files::writeTextFile(cataloguePath, catalogueText(kept)); !written)
        return written;

    // The entry is gone; what is left are its files.
    Status status = Files::deleteFileForced(Files::pathIn(entry.Folder, entry.FileName));
    QSet<QString> stillNamed;
    for (const ShapeInfo &other : library)
        if (other.Folder == entry.Folder && other.FileName != entry.FileName)
            for (const QString &file : other.NamedFiles)
                stillNamed.insert(file);
    for (const QString &file : entry.NamedFiles)
        if (isPlainName(file) && !stillNamed.contains(file) &&
            Files::fileExists(Files::pathIn(entry.Folder, file)))
            if (Status deleted = Files::deleteFileForced(Files::pathIn(entry.Folder, file));
                status && !deleted)
                status = deleted;
    return status;
}

} // namespace UserLibrary
