#pragma once
// Work on hostile input done in a child process: a reader that crashes,
// overflows its stack on a deeply nested file or never ends costs the child
// only, and the program reports why instead of dying with the user's work.
// The child is a fork of a program with threads, which it does not have:
// its work should start none (Qt's image routines do, on large images; a
// new thread can wait forever for a lock another thread held at the fork).

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QString>

#include <functional>
#include <sys/types.h>

enum class ChildEnd { Finished, Crashed, TimedOut, NotStarted };

// Runs work in a forked copy of this process; it writes what it finds to the
// descriptor it is given, and each piece the parent reads goes to received
// as it arrives. A child that writes nothing for secondsAllowed is killed.
ChildEnd runChild(const std::function<void(int fd)> &work, int secondsAllowed,
                  const std::function<void(const QByteArray &piece)> &received);

// All of bytes to a descriptor, as far as it takes them.
void writeAll(int fd, const QByteArray &bytes);

struct [[nodiscard]] ChildResult {
    QByteArray bytes; // what the work returned
    QString error;    // empty on success: why the child gave nothing
    bool ok() const { return error.isEmpty(); }
};

// runChild for work that returns all its bytes at once.
ChildResult runInChild(const std::function<QByteArray()> &work, int secondsAllowed);

// The parts runChild and ChildJob share.
namespace ChildProcess {

struct Started {
    pid_t pid = -1;
    int fd = -1; // the read end of the child's pipe
};
// The child runs work and ends; none started: pid -1 (errno says why).
Started start(const std::function<void(int fd)> &work);
// Waits for the child's end, killing it first when asked.
ChildEnd end(pid_t child, bool kill);
// What a caller of runInChild or ChildJob is told of a child's end.
ChildResult result(ChildEnd end, QByteArray bytes, int secondsAllowed);

} // namespace ChildProcess

// A value as the bytes a child hands over, and back.
template <typename T> QByteArray streamed(const T &value)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << value;
    return bytes;
}

// False when the bytes do not hold a whole T.
template <typename T> bool unstreamed(const QByteArray &bytes, T &value)
{
    QDataStream in(bytes);
    in >> value;
    return in.status() == QDataStream::Ok;
}
