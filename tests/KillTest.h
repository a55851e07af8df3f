#pragma once
// Kills a writer at random moments: a forked child repeats write(i) for
// i = 1, 2, ... without end, telling of each write it completes, and is
// killed `rounds` times at a random moment after its first or second write.
// After each kill, check(last) looks at what the writer left, knowing the i
// of the last write that was seen to complete; it returns whether that
// write's result survived (rather than a later one's), or nothing when what
// it found is damaged. A write takes about `writeMicroseconds`.

#include <QtTest>

#include <functional>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

// The number of kills after which the last completed write's result was
// found; 0 means no kill fell inside a write. -1: the test failed.
inline int killDuringWrites(int rounds, qint64 writeMicroseconds,
                            const std::function<bool(int)> &write,
                            const std::function<std::optional<bool>(int)> &check)
{
    std::mt19937 random(11);
    int survived = 0;
    for (int round = 0; round < rounds; ++round) {
        int done[2];
        if (pipe(done) != 0)
            return -1;
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0)
            for (int i = 1;; ++i)
                if (write(i))
                    (void)!::write(done[1], "w", 1);
        const int last = 1 + round % 2;
        bool started = true;
        for (int i = 0; i < last; ++i) {
            char byte;
            started = started && read(done[0], &byte, 1) == 1;
        }
        usleep(useconds_t(random() % std::max<qint64>(writeMicroseconds, 1000)));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(done[0]);
        close(done[1]);
        const std::optional<bool> found = check(last);
        if (!started || !found)
            return -1;
        survived += *found;
    }
    return survived;
}
