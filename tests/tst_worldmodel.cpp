// The placeholder, append and remove rules of the four item arrays.

#include "model/World.h"

#include <QtTest>

#include <cmath>

namespace {

ObjectInfo object(const QString &name) { return ObjectInfo{name, 10, 20, 0, {}, {}}; }
CubeInfo wall(float x1) { return CubeInfo{Kind::Wall, x1, x1 + 5, 1, 2, 255}; }

TextInfo text(const QString &t)
{
    TextInfo info;
    info.Text = t;
    info.Kind = Kind::TextBig;
    return info;
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
        QCOMPARE(w.Texts[1].Text, QStringLiteral("second"));

        // The last object removed: its element waits, other fields kept, for the next.
        appendItem(w.Objects, object(QStringLiteral("Tree")));
        removeItem(w.Objects, 0);
        QCOMPARE(w.Objects.size(), size_t(1));
        QVERIFY(!isUsed(w.Objects[0]));
        QCOMPARE(w.Objects[0].X, 10.0f);
        QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Bench"))), 0);

        // The last text removed keeps its Kind, and appending tests Kind: the
        // element stays behind as an unused placeholder.
        World t;
        appendItem(t.Texts, text(QStringLiteral("Welcome")));
        removeItem(t.Texts, 0);
        QVERIFY(!isUsed(t.Texts[0]));
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

        const World before = w;
        removeItem(w.Cubes, 2);
        removeItem(w.Cubes, -1);
        QVERIFY(w == before);

        removeItem(w.Cubes, 1);
        removeItem(w.Cubes, 0);
        QCOMPARE(w.Cubes.size(), size_t(1));
        QVERIFY(!isUsed(w.Cubes[0]));
    }

    void equalityIsExact()
    {
        const World base;
        World w = base;
        w.Texts[0].Rotation = std::nextafter(0.0f, 1.0f);
        QVERIFY(w != base);
        w = base;
        w.Texts[0].Spare = QStringLiteral("x");
        QVERIFY(w != base);
        w = base;
        w.Pictures[0].Billboard = true;
        QVERIFY(w != base);
        w = base;
        w.Objects.push_back(ObjectInfo());
        QVERIFY(w != base);
    }
};

QTEST_GUILESS_MAIN(TestWorldModel)
#include "tst_worldmodel.moc"
