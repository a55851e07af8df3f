// Snapshots of unsaved work: when they are written and removed, whose they
// are, and that a crash at any moment leaves a whole world behind.

#include "KillTest.h"
#include "TestSupport.h"

#include "core/model/RecoveryWriter.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

ObjectInfo tree(float x) { return ObjectInfo{"Oak", x, 30, 0, {}, {}}; }

World worldWithTrees(int count)
{
    World w;
    for (int i = 0; i < count; ++i)
        appendItem(w.Objects, tree(float(i % 100)));
    return w;
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private slots:
    // A snapshot exists only while the world has unsaved changes: a change
    // starts the timer, undo back to the saved state or a save removes it, and
    // the snapshot names the world's file once it has one.
    void snapshotFollowsUnsavedChanges()
    {
        QTemporaryDir folder;
        WorldDocument document;
        RecoveryWriter writer(document, folder.path());
        QVERIFY(!writer.snapshotPending());

        document.place(tree(1));
        QVERIFY(writer.snapshotPending());
        QVERIFY(!QFile::exists(writer.snapshotPath())); // not before the delay
        writer.snapshotNow();
        auto orphans = orphanedSnapshots(folder.path());
        QVERIFY(orphans.empty()); // this editor's own slot is not offered
        WorldRead read = WorldFile::load(writer.snapshotPath());
        QVERIFY(read.ok() && read.world == document.world());

        document.undoStack().undo();
        writer.waitForDone();
        QVERIFY(!writer.snapshotPending() && !QFile::exists(writer.snapshotPath()));

        document.undoStack().redo();
        writer.snapshotNow();
        QVERIFY(QFile::exists(writer.snapshotPath()));
        document.savedAs(folder.filePath("park.lwf"));
        writer.waitForDone();
        QVERIFY(!QFile::exists(writer.snapshotPath()));

        document.place(tree(2));
        writer.snapshotNow();
        QFile info(QString(writer.snapshotPath()).replace(".lwf", ".json"));
        QVERIFY(info.open(QIODevice::ReadOnly) && info.readAll().contains("park.lwf"));
    }

    // Two editors own two slots. Only a slot whose editor is gone is offered,
    // to one taker at a time; one left alone is offered again, one discarded
    // is gone.
    void staleSlotsAreOffered()
    {
        QTemporaryDir folder;
        WorldDocument live;
        RecoveryWriter liveWriter(live, folder.path());
        live.place(tree(1));
        liveWriter.snapshotNow();
        {
            RecoverySlot slot(folder.path());
            QVERIFY(slot.write(worldWithTrees(3), "/worlds/park.lwf",
                               QDateTime(QDate(2026, 12, 6), QTime(14, 32)))
                        .ok());
        } // the editor is gone, its snapshot stays

        {
            auto orphans = orphanedSnapshots(folder.path());
            QCOMPARE(orphans.size(), size_t(1));
            QCOMPARE(orphans[0]->worldFile(), QStringLiteral("/worlds/park.lwf"));
            QCOMPARE(orphans[0]->time().time(), QTime(14, 32));
            const WorldRead read = orphans[0]->read();
            QVERIFY(read.ok() && read.world == worldWithTrees(3));
            QVERIFY(orphanedSnapshots(folder.path()).empty()); // taken while offered
        }
        auto again = orphanedSnapshots(folder.path());
        QCOMPARE(again.size(), size_t(1));
        again[0]->discard();
        again.clear();
        QVERIFY(orphanedSnapshots(folder.path()).empty());
        QVERIFY(QFile::exists(liveWriter.snapshotPath()));
    }

    // A writer killed at any moment leaves a slot that holds one of the worlds
    // it wrote, whole.
    void killedSnapshotIsWhole()
    {
        QTemporaryDir folder;
        const World worlds[] = {worldWithTrees(2000), worldWithTrees(2001)};
        QElapsedTimer timer;
        timer.start();
        {
            RecoverySlot probe(QDir(folder.path()).filePath("probe"));
            QVERIFY(probe.write(worlds[0], {}, QDateTime::currentDateTime()).ok());
        }
        const qint64 writeMicroseconds = timer.nsecsElapsed() / 1000;
        const int survived = killDuringWrites(
            100, writeMicroseconds,
            [&, slot = std::make_shared<std::optional<RecoverySlot>>()](int i) {
                if (!*slot)
                    slot->emplace(folder.path());
                return (*slot)->write(worlds[i % 2], {}, QDateTime::currentDateTime()).ok();
            },
            [&](int last) -> std::optional<bool> {
                auto orphans = orphanedSnapshots(folder.path());
                if (orphans.size() != 1)
                    return std::nullopt;
                const WorldRead read = orphans[0]->read();
                orphans[0]->discard();
                if (!read.ok() || !(read.world == worlds[0] || read.world == worlds[1]))
                    return std::nullopt;
                return read.world == worlds[last % 2];
            });
        QVERIFY2(survived >= 0, "a kill left no whole snapshot");
        QVERIFY2(survived > 0, "no kill fell inside a write");
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
