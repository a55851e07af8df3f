#pragma once
// Keeps a document's unsaved work in its recovery slot: a snapshot two
// seconds after the last change (one timer, restarted by every change), and
// none while the world is saved. The world is copied on the calling thread
// (its records share their strings, so the copy is cheap) and written on a
// thread of the writer's own, one write at a time and in order, so a large
// world never holds up the interface.

#include "core/model/RecoverySlot.h"
#include "core/model/WorldDocument.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

class RecoveryWriter : public QObject {
    Q_OBJECT

public:
    static constexpr int DelayMs = 2000;

    RecoveryWriter(WorldDocument &document, const QString &folder, QObject *parent = nullptr);
    // A normal end: the snapshot goes (a crash never gets here).
    ~RecoveryWriter() override;

    // What the timer does: copies the world and hands it to the writer's
    // thread. Returns at once.
    void queueSnapshot();
    // Writes the snapshot now (after a recovery, say) and waits for it.
    void snapshotNow();
    // Removes the snapshot and waits: a normal exit, or work the user dropped.
    void clear();
    // Waits until every write and removal asked for has been done.
    void waitForDone() { m_pool.waitForDone(); }

    bool snapshotPending() const { return m_timer.isActive(); }
    QString snapshotPath() const { return m_slot.snapshotPath(); }

signals:
    // A snapshot could not be written; said once until one succeeds again.
    void snapshotFailed(const QString &error);

private:
    void documentChanged();
    void queueClear();

    WorldDocument &m_document;
    RecoverySlot m_slot;
    QTimer m_timer;
    QThreadPool m_pool;
    bool m_failing = false; // touched on the writer's thread only
};
