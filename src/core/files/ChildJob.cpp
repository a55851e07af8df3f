#include "core/files/ChildJob.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

ChildJob::ChildJob(QObject *parent) : QObject(parent)
{
    m_silence.setSingleShot(true);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        const ChildEnd end = stop(true);
        emit done(ChildProcess::result(end, {}, m_seconds));
    });
}

ChildJob::~ChildJob() { cancel(); }

void ChildJob::start(const std::function<QByteArray()> &work, int secondsAllowed)
{
    cancel();
    m_seconds = secondsAllowed;
    m_bytes.clear();
    const ChildProcess::Started child = ChildProcess::start([&](int fd) { writeAll(fd, work()); });
    if (child.pid < 0) {
        const ChildResult failed = ChildProcess::result(ChildEnd::NotStarted, {}, secondsAllowed);
        QTimer::singleShot(0, this, [this, failed] { emit done(failed); });
        return;
    }
    m_pid = child.pid;
    m_fd = child.fd;
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ChildJob::read);
    m_silence.start(secondsAllowed * 1000);
}

void ChildJob::cancel()
{
    if (running())
        stop(true);
}

ChildEnd ChildJob::stop(bool kill)
{
    m_silence.stop();
    m_notifier.reset();
    ::close(m_fd);
    m_fd = -1;
    const ChildEnd end = ChildProcess::end(m_pid, kill);
    m_pid = -1;
    return end;
}

void ChildJob::read()
{
    // At most a megabyte a pass, so that the window never waits long for it.
    for (int piece = 0; piece < 16; ++piece) {
        char buffer[65536];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        if (n <= 0) {
            const ChildEnd end = stop(false);
            emit done(ChildProcess::result(end, std::exchange(m_bytes, {}), m_seconds));
            return;
        }
        m_bytes.append(buffer, n);
    }
    m_silence.start(m_seconds * 1000);
}
