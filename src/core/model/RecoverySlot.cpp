#include "core/model/RecoverySlot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <algorithm>

namespace {

QString snapshotOf(const QString &base) { return base + QLatin1String(".lwf"); }
QString infoOf(const QString &base) { return base + QLatin1String(".json"); }
QString lockOf(const QString &base) { return base + QLatin1String(".lock"); }

std::unique_ptr<QLockFile> lockFor(const QString &base)
{
    auto lock = std::make_unique<QLockFile>(lockOf(base));
    // Only a lock whose process is gone is stale: an editor left open for
    // hours still owns its slot.
    lock->setStaleLockTime(0);
    return lock;
}

void removeSlotFiles(const QString &base)
{
    QFile::remove(snapshotOf(base));
    QFile::remove(infoOf(base));
}

} // namespace

RecoverySlot::RecoverySlot(const QString &folder)
    : m_base(Files::pathIn(folder, QUuid::createUuid().toString(QUuid::WithoutBraces)))
{
    QDir().mkpath(folder);
    m_lock = lockFor(m_base);
    m_lock->tryLock(0);
}

RecoverySlot::~RecoverySlot() = default;

QString RecoverySlot::snapshotPath() const { return snapshotOf(m_base); }

Status RecoverySlot::write(const World &world, const QString &worldFile, const QDateTime &time)
{
    const QJsonObject info{{QStringLiteral("file"), worldFile},
                           {QStringLiteral("time"), time.toString(Qt::ISODate)}};
    if (Status written = Files::writeBytes(infoOf(m_base), QJsonDocument(info).toJson());
        !written)
        return written;
    return WorldFile::save(snapshotOf(m_base), world, ScrollFractions());
}

void RecoverySlot::clear() { removeSlotFiles(m_base); }

OrphanedSnapshot::OrphanedSnapshot(QString base, std::unique_ptr<QLockFile> lock)
    : m_base(std::move(base)), m_lock(std::move(lock))
{
    QFile file(infoOf(m_base));
    const QJsonObject info =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    m_worldFile = info.value(QStringLiteral("file")).toString();
    m_time = QDateTime::fromString(info.value(QStringLiteral("time")).toString(), Qt::ISODate);
    if (!m_time.isValid()) // the description was lost: the snapshot's own time
        m_time = QFileInfo(snapshotOf(m_base)).lastModified();
}

OrphanedSnapshot::~OrphanedSnapshot() = default;

WorldRead OrphanedSnapshot::read() const { return WorldFile::load(snapshotOf(m_base)); }

void OrphanedSnapshot::discard() { removeSlotFiles(m_base); }

std::vector<std::unique_ptr<OrphanedSnapshot>> orphanedSnapshots(const QString &folder)
{
    std::vector<std::unique_ptr<OrphanedSnapshot>> found;
    const QFileInfoList snapshots =
        QDir(folder).entryInfoList({QStringLiteral("*.lwf")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &snapshot : snapshots) {
        const QString base = Files::pathIn(folder, snapshot.completeBaseName());
        std::unique_ptr<QLockFile> lock = lockFor(base);
        if (lock->tryLock(0))
            found.push_back(std::make_unique<OrphanedSnapshot>(base, std::move(lock)));
    }
    return found;
}
