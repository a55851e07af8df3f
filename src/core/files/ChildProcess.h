#pragma once
// Work on hostile input done in a child process: a reader that crashes,
// overflows its stack on a deeply nested file or never ends costs the child
// only, and the program reports why instead of dying with the user's work.

#include <QByteArray>
#include <QString>

#include <functional>

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
