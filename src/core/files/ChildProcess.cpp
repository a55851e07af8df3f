#include "core/files/ChildProcess.h"

#include <QElapsedTimer>
#include <QThreadPool>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

void writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

namespace ChildProcess {

Started start(const std::function<void(int fd)> &work)
{
    // Qt's image routines hand pieces of large images to the global thread
    // pool. A child has none of the pool's idle threads and would wait for
    // them forever; ended here, the pool starts new ones where a child still
    // needs it (a model's raw pixels saved as PNG).
    QThreadPool::globalInstance()->waitForDone(1000);
    int ends[2];
    if (::pipe(ends) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        // A crash ends the child, whatever handlers the program has.
        for (const int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
            std::signal(signal, SIG_DFL);
        work(ends[1]);
        ::_exit(0);
    }
    ::close(ends[1]);
    if (child < 0) {
        const int why = errno;
        ::close(ends[0]);
        errno = why;
        return {};
    }
    return {child, ends[0]};
}

ChildEnd end(pid_t child, bool kill)
{
    if (kill)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (kill)
        return ChildEnd::TimedOut;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::Finished : ChildEnd::Crashed;
}

ChildResult result(ChildEnd end, QByteArray bytes, int secondsAllowed)
{
    switch (end) {
    case ChildEnd::Finished:
        return {std::move(bytes), {}};
    case ChildEnd::Crashed:
        return {{}, QStringLiteral("the reader crashed on it")};
    case ChildEnd::TimedOut:
        return {{}, QStringLiteral("reading it took more than %1 seconds").arg(secondsAllowed)};
    case ChildEnd::NotStarted:
        break;
    }
    return {{},
            QStringLiteral("no child process could be started: %1").arg(qt_error_string(errno))};
}

} // namespace ChildProcess

ChildEnd runChild(const std::function<void(int fd)> &work, int secondsAllowed,
                  const std::function<void(const QByteArray &piece)> &received)
{
    const ChildProcess::Started child = ChildProcess::start(work);
    if (child.pid < 0)
        return ChildEnd::NotStarted;
    QElapsedTimer sinceLast;
    sinceLast.start();
    bool timedOut = false;
    for (;;) {
        const qint64 left = qint64(secondsAllowed) * 1000 - sinceLast.elapsed();
        pollfd ready{child.fd, POLLIN, 0};
        const int polled = left > 0 ? ::poll(&ready, 1, int(left)) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0) {
            timedOut = true;
            break;
        }
        char buffer[65536];
        const ssize_t n = polled < 0 ? -1 : ::read(child.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        received(QByteArray(buffer, n));
        sinceLast.restart();
    }
    ::close(child.fd);
    return ChildProcess::end(child.pid, timedOut);
}

ChildResult runInChild(const std::function<QByteArray()> &work, int secondsAllowed)
{
    QByteArray bytes;
    const ChildEnd end = runChild([&](int fd) { writeAll(fd, work()); }, secondsAllowed,
                                  [&](const QByteArray &piece) { bytes += piece; });
    return ChildProcess::result(end, std::move(bytes), secondsAllowed);
}
