#pragma once
// runInChild for a window that must not wait: the child's pipe is watched by
// the event loop, and the result arrives through done once the child ends.

#include "core/files/ChildProcess.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSocketNotifier;

class ChildJob : public QObject {
    Q_OBJECT

public:
    explicit ChildJob(QObject *parent = nullptr);
    ~ChildJob() override; // kills a child still running

    // Runs work in a forked copy of this process, ending the one running;
    // a child that writes nothing for secondsAllowed is killed. done comes
    // from the event loop, never from start.
    void start(const std::function<QByteArray()> &work, int secondsAllowed);
    // Kills the child; done is not emitted.
    void cancel();
    bool running() const { return m_pid > 0; }

signals:
    void done(const ChildResult &result);

private:
    void read();
    // Closes the pipe and reaps the child (killed first when asked).
    ChildEnd stop(bool kill);

    pid_t m_pid = -1;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_bytes;
    int m_seconds = 0;
    QTimer m_silence; // since the child last wrote
};
