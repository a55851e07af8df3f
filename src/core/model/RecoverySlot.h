#pragma once
// Snapshots of unsaved worlds, kept so that a crash loses nothing older than
// a moment. Every running editor owns one slot in the recovery folder: its
// snapshot (<id>.lwf, in the world-file format), what it stands for
// (<id>.json: the world's file name and the time) and a lock file (<id>.lock)
// held while the editor runs. A slot whose lock is free belongs to an editor
// that is gone, and is offered at the next start.

#include "core/files/FileServices.h"
#include "core/model/WorldFile.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

class RecoverySlot {
public:
    // A new slot in folder (created when missing), locked at once. The lock
    // fails only when the folder cannot be written: then writes fail too.
    explicit RecoverySlot(const QString &folder);
    ~RecoverySlot(); // leaves the snapshot: only clear() or recovery removes it

    // Replaces the snapshot atomically: after a crash at any moment the slot
    // holds a whole world, the old or the new one. worldFile: empty for a
    // world never saved.
    Status write(const World &world, const QString &worldFile, const QDateTime &time);
    // Removes the snapshot; the slot stays this editor's.
    void clear();

    QString snapshotPath() const;

private:
    QString m_base; // folder/<id>
    std::unique_ptr<QLockFile> m_lock;
};

// A slot left by an editor that is gone, locked by this process while the
// object lives, so that two editors starting together never both offer it.
class OrphanedSnapshot {
public:
    OrphanedSnapshot(QString base, std::unique_ptr<QLockFile> lock);
    ~OrphanedSnapshot(); // lets the slot go, to be offered again next time

    QString worldFile() const { return m_worldFile; } // empty: a world never saved
    QDateTime time() const { return m_time; }
    WorldRead read() const;
    // Deletes the snapshot and the slot with it.
    void discard();

private:
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
    QString m_worldFile;
    QDateTime m_time;
};

// Every slot in folder that holds a snapshot and whose editor is gone, oldest
// first. Slots of running editors are left alone.
std::vector<std::unique_ptr<OrphanedSnapshot>> orphanedSnapshots(const QString &folder);
