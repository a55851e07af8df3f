// The placeholder, append and remove rules of the four item arrays, and the
// one equality every comparison of worlds goes through.

#include "model/WorldFile.h"

#include <QtTest>

namespace {

ObjectInfo object(const QString &name) { return ObjectInfo{name, 10, 20, 0, {}, {}}; }
CubeInfo wall(float x1) { return CubeInfo{Kind::Wall, x1, x1 + 5, 1, 2, 255}; }
TextInfo text(const QString &t)
{
    return TextInfo{t, 0, 0, 0, 0, Kind::TextBig, false, {}, {}, {}};
}

} // namespace

class TestWorldModel : public QObject {
    Q_OBJECT

private slots:
    void appendReusesOnlyAFreeElementZero()
    {
        World w;
        QCOMPARE(appendItem(w.Texts, text(QStringLiteral("first"))), 0);
        QCOMPARE(appendItem(w.Texts, text(QStringLiteral("second"))), 1);

        // The last object removed: its element waits, other fields kept, for the next.
        appendItem(w.Objects, object(QStringLiteral("Tree")));
        removeItem(w.Objects, 0);
        QCOMPARE(w.Objects, std::vector<ObjectInfo>{object(QString())});
        QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Bench"))), 0);

        // The last text removed keeps its Kind, and appending tests Kind: the
        // element stays behind as an unused placeholder.
        World t;
        appendItem(t.Texts, text(QStringLiteral("Welcome")));
        removeItem(t.Texts, 0);
        QCOMPARE(appendItem(t.Texts, text(QStringLiteral("Hello"))), 1);
        QVERIFY(!isUsed(t.Texts[0]));

        // An array emptied against the rule still takes the item.
        w.Cubes.clear();
        QCOMPARE(appendItem(w.Cubes, wall(1)), 0);
    }

    void removeShiftsOrLeavesAPlaceholder()
    {
        World w;
        for (int i = 0; i < 3; ++i)
            appendItem(w.Cubes, wall(float(i)));
        removeItem(w.Cubes, 1);
        QCOMPARE(w.Cubes, (std::vector<CubeInfo>{wall(0), wall(2)}));
        removeItem(w.Cubes, 2);
        removeItem(w.Cubes, -1);
        QCOMPARE(w.Cubes, (std::vector<CubeInfo>{wall(0), wall(2)}));
        removeItem(w.Cubes, 1);
        removeItem(w.Cubes, 0);
        QCOMPARE(w.Cubes.size(), size_t(1));
        QVERIFY(!isUsed(w.Cubes[0]));
    }

    // Every field of a world is some token of its file. Whichever token is
    // changed (to another value that still reads), the world read must differ:
    // so no field can be missing from operator==.
    void equalitySeesEveryField()
    {
        const World w;
        const QStringList tokens = WorldFile::format(w, {}).split('\t');
        int changed = 0;
        for (int i = 0; i < tokens.size(); ++i) {
            for (const QString &other :
                 {tokens[i] + "x", QStringLiteral("7"), QStringLiteral("0.5")}) {
                QStringList edited = tokens;
                edited[i] = other;
                const WorldRead read = WorldFile::parse(edited.join('\t'));
                if (!read.ok() ||
                    WorldFile::format(read.world, read.fractions) == tokens.join('\t'))
                    continue;
                const bool scroll = i == 4 || i == 5; // the view's, not the world's
                QVERIFY2(read.world != w || scroll, qPrintable(QString::number(i)));
                ++changed;
                break;
            }
        }
        // All but the four counts.
        QCOMPARE(changed, tokens.size() - 4);
    }
};

QTEST_GUILESS_MAIN(TestWorldModel)
#include "tst_worldmodel.moc"
