#include "core/files/ChildProcess.h"

#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

} // namespace

ChildResult runInChild(const std::function<QByteArray()> &work, int secondsAllowed)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return {{}, QStringLiteral("no pipe to a child process: %1").arg(qt_error_string(errno))};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        // A crash ends the child, whatever handlers the program has.
        for (const int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
            std::signal(signal, SIG_DFL);
        writeAll(ends[1], work());
        ::_exit(0);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return {{}, QStringLiteral("no child process: %1").arg(qt_error_string(errno))};
    }

    ChildResult result;
    QElapsedTimer running;
    running.start();
    bool timedOut = false;
    for (;;) {
        const qint64 left = qint64(secondsAllowed) * 1000 - running.elapsed();
        pollfd ready{ends[0], POLLIN, 0};
        const int polled = left > 0 ? ::poll(&ready, 1, int(left)) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0) {
            timedOut = true;
            break;
        }
        char buffer[65536];
        const ssize_t n = polled < 0 ? -1 : ::read(ends[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.bytes.append(buffer, n);
    }
    ::close(ends[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut)
        result.error = QStringLiteral("reading it took more than %1 seconds").arg(secondsAllowed);
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result.error = QStringLiteral("the reader crashed on it");
    if (!result.ok())
        result.bytes.clear();
    return result;
}
