#include "editor/window/DocumentFiles.h"

#include "core/model/RecoveryWriter.h"
#include "core/model/WorldDocument.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace {

const QString WorldFilter = QStringLiteral("Lotwright Files (*.lwf}|*.lwf");
const QString SaveChangesQuestion = QStringLiteral("Save changes to the current world?");
constexpr int MaxRecentFiles = 8;
const QString WorldSuffix = QStringLiteral("lwf");

QString recentKey(int i) { return QStringLiteral("RecentFile%1").arg(i + 1); }

} // namespace

DocumentFiles::DocumentFiles(const Platform &platform, WorldDocument &document,
                             const ProgramFolders &folders,
                             std::function<ScrollFractions()> scrollPosition, QWidget *dialogParent,
                             QObject *parent)
    : QObject(parent), m_platform(platform), m_document(document), m_folders(folders),
      m_scrollPosition(std::move(scrollPosition)), m_dialogParent(dialogParent),
      m_recovery(new RecoveryWriter(document, platform.recoveryFolder, this))
{
    connect(m_recovery, &RecoveryWriter::snapshotFailed, this, &DocumentFiles::recoveryFailed);
}

bool DocumentFiles::offerRecovery()
{
    for (const auto &snapshot : orphanedSnapshots(m_platform.recoveryFolder)) {
        const QString file = snapshot->worldFile();
        const QDateTime time = snapshot->time();
        QString when = time.toString(QStringLiteral("HH:mm"));
        if (time.date() != QDate::currentDate())
            when += tr(" on %1").arg(QLocale().toString(time.date(), QLocale::ShortFormat));
        const QString question =
            tr("Lotwright closed before %1 was saved. Recover the world as it was at %2?")
                .arg(file.isEmpty() ? tr("a new world")
                                    : QStringLiteral("«%1»").arg(QFileInfo(file).fileName()),
                     when);
        const std::optional<int> answer =
            m_platform.messages->askChoice(m_dialogParent, question, {tr("Recover"), tr("Discard")});
        if (!answer)
            continue; // asked again at the next start
        if (*answer == 1) {
            snapshot->discard();
            continue;
        }
        WorldRead read = snapshot->read();
        if (!read.ok()) { // kept: the user may still want it by hand
            m_platform.messages->warn(m_dialogParent, tr("The world could not be recovered.\n%1")
                                                          .arg(read.error));
            continue;
        }
        emit fileNameChanged(file);
        m_document.replace(std::move(read.world));
        m_document.savedAs(file);
        m_document.setSaved(false); // nothing is written to the file until the user saves
        m_recovery->snapshotNow();  // this editor's slot holds it before the old one goes
        snapshot->discard();
        emit worldReplaced(read.fractions);
        return true;
    }
    return false;
}

void DocumentFiles::openCommandLine(const QString &commandLine)
{
    QString path = commandLine.trimmed();
    if (path.isEmpty()) {
        newWorld();
        return;
    }
    if (path.startsWith(QLatin1Char('"'))) {
        path.remove(0, 1);
        if (path.endsWith(QLatin1Char('"')))
            path.chop(1);
    }
    // File managers may pass a file:// address; it names a local file.
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        path = QUrl(path).toLocalFile();
    if (path.right(3).toLower() != QLatin1String("lwf")) {
        m_platform.messages->inform(m_dialogParent, tr("Not a valid Lotwright 2.0 file."));
        newWorld();
        return;
    }
    if (!openWorld(path))
        newWorld();
}

Status DocumentFiles::LoadFile(const QString &path)
{
    // The file is read and checked whole first: a failure changes nothing.
    WorldRead read = WorldFile::load(path);
    if (!read.ok())
        return Status::failure(read.error);
    emit fileNameChanged(path);
    m_document.replace(std::move(read.world)); // the view follows
    emit worldReplaced(read.fractions);
    return Status::success();
}

Status DocumentFiles::SaveFile(const QString &path)
{
    if (m_folders.forbids(path))
        return Status::failure(Files::cannot(
            "save", path, tr("it is in Lotwright's own folder, which is never written")));
    Status saved = WorldFile::save(path, m_document.world(), m_scrollPosition());
    if (saved)
        emit fileNameChanged(path);
    return saved;
}

void DocumentFiles::newWorld()
{
    emit fileNameChanged(QString());
    m_document.replace(World()); // the view follows
    emit worldReplaced(ScrollFractions{});
    m_document.savedAs(QString());
}

bool DocumentFiles::mayDiscardChanges(const QString &question)
{
    if (m_document.Saved())
        return true;
    switch (m_platform.messages->askYesNoCancel(m_dialogParent, question)) {
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Cancel:
        return false;
    case MessageBoxes::Answer::Yes:
        save();
        return m_document.Saved(); // a failed or cancelled save keeps the world
    }
    return false;
}

void DocumentFiles::newFile()
{
    if (mayDiscardChanges(SaveChangesQuestion))
        newWorld();
}

void DocumentFiles::open()
{
    if (!mayDiscardChanges(SaveChangesQuestion))
        return;
    const std::optional<QString> path =
        m_platform.fileDialogs->openFile(m_dialogParent, WorldFilter, dialogFolder());
    if (path && !path->isEmpty())
        openWorld(*path);
}

void DocumentFiles::openRecent(const QString &path)
{
    if (mayDiscardChanges(SaveChangesQuestion))
        openWorld(path);
}

bool DocumentFiles::openWorld(const QString &path)
{
    return settle(LoadFile(path), tr("The world could not be opened.\n%1"), path);
}

bool DocumentFiles::settle(const Status &done, const QString &failure, const QString &path)
{
    if (!done) {
        m_platform.messages->warn(m_dialogParent, failure.arg(done.error));
        return false;
    }
    m_document.savedAs(path);
    rememberRecent(path);
    return true;
}

void DocumentFiles::save()
{
    const QString path = m_document.CurrentFile();
    if (path.isEmpty() || m_folders.forbids(path))
        saveAs();
    else
        saveWorld(path);
}

void DocumentFiles::saveAs()
{
    QString proposed = m_document.CurrentFile();
    if (proposed.isEmpty() || m_folders.forbids(proposed)) {
        const QString name =
            proposed.isEmpty() ? QStringLiteral("world.lwf") : Files::fileName(proposed);
        QString folder = dialogFolder();
        if (!m_folders.writable) { // the user's Lotwright folder, which holds ToGo
            folder = QFileInfo(m_folders.toGo).path();
            (void)Files::createFolder(folder); // else the dialog starts elsewhere
        }
        proposed = Files::pathIn(folder, name);
    }
    const std::optional<QString> chosen =
        m_platform.fileDialogs->saveFile(m_dialogParent, WorldFilter, proposed);
    if (!chosen || chosen->isEmpty())
        return;
    // A name typed without an extension gets ".lwf": only such names open
    // from the command line.
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + WorldSuffix;
    saveWorld(path);
}

void DocumentFiles::saveWorld(const QString &path)
{
    settle(SaveFile(path), tr("The world could not be saved.\n%1"), path);
}

QString DocumentFiles::dialogFolder() const
{
    const QString current = m_document.CurrentFile();
    if (!current.isEmpty())
        return QFileInfo(current).absolutePath();
    return Files::pathIn(m_folders.program, QStringLiteral("samples"));
}

void DocumentFiles::rememberRecent(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent{absolute};
    for (const QString &known : recentFiles()) {
        if (!known.isEmpty() && !recent.contains(known) && recent.size() < MaxRecentFiles)
            recent << known;
    }
    for (int i = 0; i < MaxRecentFiles; ++i)
        m_platform.settings->setValue(recentKey(i), recent.value(i));
}

QStringList DocumentFiles::recentFiles() const
{
    QStringList recent;
    for (int i = 0; i < MaxRecentFiles; ++i)
        recent << m_platform.settings->value(recentKey(i), QString());
    return recent;
}

void DocumentFiles::clearRecent()
{
    for (int i = 0; i < MaxRecentFiles; ++i)
        m_platform.settings->setValue(recentKey(i), QString());
}
