#include "core/model/RecoveryWriter.h"

#include <QDateTime>

RecoveryWriter::RecoveryWriter(WorldDocument &document, const QString &folder, QObject *parent)
    : QObject(parent), m_document(document), m_slot(folder)
{
    m_pool.setMaxThreadCount(1); // writes and removals in the order asked for
    m_timer.setSingleShot(true);
    m_timer.setInterval(DelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryWriter::queueSnapshot);
    connect(&document.undoStack(), &QUndoStack::indexChanged, this,
            &RecoveryWriter::documentChanged);
    connect(&document, &WorldDocument::savedChanged, this, &RecoveryWriter::documentChanged);
    connect(&document, &WorldDocument::worldReplaced, this, &RecoveryWriter::documentChanged);
}

RecoveryWriter::~RecoveryWriter() { clear(); }

void RecoveryWriter::documentChanged()
{
    if (m_document.Saved()) {
        m_timer.stop();
        queueClear();
    } else {
        m_timer.start();
    }
}

void RecoveryWriter::queueSnapshot()
{
    m_pool.start([this, world = m_document.world(), file = m_document.CurrentFile(),
                  time = QDateTime::currentDateTime()] {
        const Status written = m_slot.write(world, file, time);
        if (!written && !m_failing)
            QMetaObject::invokeMethod(
                this, [this, error = written.error] { emit snapshotFailed(error); },
                Qt::QueuedConnection);
        m_failing = !written;
    });
}

void RecoveryWriter::queueClear()
{
    m_pool.start([this] { m_slot.clear(); });
}

void RecoveryWriter::snapshotNow()
{
    m_timer.stop();
    queueSnapshot();
    m_pool.waitForDone();
}

void RecoveryWriter::clear()
{
    m_timer.stop();
    queueClear();
    m_pool.waitForDone();
}
