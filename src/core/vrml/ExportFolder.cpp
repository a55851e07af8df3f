#include "core/vrml/ExportFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isWorldFile(const QString &name)
{
    return name.endsWith(QLatin1String(".lwf"), Qt::CaseInsensitive);
}

// What ToGo keeps from one export to the next: world files and whatever is
// not a file (subfolders above all). The rest is the last export's.
QStringList keptEntries(const QString &folder)
{
    QStringList kept;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries)
        if (isWorldFile(entry.fileName()) || !entry.isFile())
            kept << entry.fileName();
    return kept;
}

// Moves the kept entries of one folder into another, but for names the other
// already holds: those are the new export's (the web page's player, a picture
// named like a world file), and a folder that one of its files would replace
// is refused. moved receives each name moved, so that it can be moved back.
Status carry(const QString &from, const QString &to, QStringList &moved)
{
    for (const QString &name : keptEntries(from)) {
        const QString source = Files::pathIn(from, name), target = Files::pathIn(to, name);
        const QFileInfo there(target);
        if (there.exists() || there.isSymLink()) {
            if (QFileInfo(source).isDir() && !there.isDir())
                return Status::failure(Files::cannot(
                    "replace", source,
                    QStringLiteral("it is a folder, and the export has a file of that name")));
            continue;
        }
        if (Status done = Files::moveEntry(source, target); !done)
            return done;
        moved << name;
    }
    return Status::success();
}

// Moves the named entries back; false when one stays behind.
bool carryBack(const QString &from, const QString &to, const QStringList &names)
{
    bool all = true;
    for (const QString &name : names)
        all = Files::moveEntry(Files::pathIn(from, name), Files::pathIn(to, name)).ok() && all;
    return all;
}

} // namespace

ExportFolder::ExportFolder(const QString &toGoFolder)
{
    // Should ToGo be a link, the folder it points to is replaced, from beside
    // it: the renames stay on its file system and the link stays valid.
    const QFileInfo link(toGoFolder);
    const QFileInfo toGo(link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath());
    m_toGo = toGo.absoluteFilePath();
    const QString hidden = Files::pathIn(toGo.path(), QLatin1Char('.') + toGo.fileName());
    m_building = hidden + QLatin1String("-building");
    m_replaced = hidden + QLatin1String("-replaced");
}

ExportFolder::~ExportFolder()
{
    if (m_ours)
        (void)Files::removeEntry(m_building);
}

Status ExportFolder::start()
{
    // An export interrupted while taking ToGo's place left the old ToGo aside
    // (all but what it keeps), the new folder (with what was carried into
    // it), or both.
    if (QFileInfo::exists(m_replaced)) {
        Status tidied = Files::folderExists(m_toGo) ? Files::removeEntry(m_replaced)
                                                    : Files::moveEntry(m_replaced, m_toGo);
        if (!tidied)
            return tidied;
    }
    if (Status created = Files::createFolder(m_toGo); !created)
        return created;
    if (QFileInfo::exists(m_building)) {
        QStringList moved;
        if (Status carried = carry(m_building, m_toGo, moved); !carried)
            return carried;
        if (Status removed = Files::removeEntry(m_building); !removed)
            return removed;
    }
    if (Status created = Files::createFolder(m_building); !created)
        return created;
    m_ours = true;
    QFile::setPermissions(m_building, QFileInfo(m_toGo).permissions());
    return Status::success();
}

Status ExportFolder::finish()
{
    QStringList carried;
    Status status = carry(m_toGo, m_building, carried);
    if (status)
        status = Files::moveEntry(m_toGo, m_replaced);
    if (status) {
        status = Files::moveEntry(m_building, m_toGo);
        if (status) {
            m_ours = false;
            (void)Files::removeEntry(m_replaced); // else it goes at the next start()
            return status;
        }
        if (!Files::moveEntry(m_replaced, m_toGo).ok()) {
            m_ours = false; // the next start() puts it back
            return status;
        }
    }
    if (!carryBack(m_building, m_toGo, carried))
        m_ours = false; // the next start() carries the rest back
    return status;
}
