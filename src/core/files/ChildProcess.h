#pragma once
// Work on hostile input done in a child process: a reader that crashes,
// overflows its stack on a deeply nested file or never ends costs the child
// only, and the program reports why instead of dying with the user's work.

#include <QByteArray>
#include <QString>

#include <functional>

struct [[nodiscard]] ChildResult {
    QByteArray bytes; // what the work returned
    QString error;    // empty on success: why the child gave nothing
    bool ok() const { return error.isEmpty(); }
};

// Runs work in a forked copy of this process and returns its bytes. The
// child is killed once it has run longer than secondsAllowed.
ChildResult runInChild(const std::function<QByteArray()> &work, int secondsAllowed);
