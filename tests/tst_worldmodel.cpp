// The placeholder, append and remove rules of the four item arrays.

#include "model/World.h"

#include <QtTest>

#include <cmath>

namespace {

ObjectInfo object(const QString &name) { return ObjectInfo{name, 10, 20, 0, {}, {}}; }
CubeInfo cube(const QString &kind, float x1) { return CubeInfo{kind, x1, x1 + 5, 1, 2, 255}; }

TextInfo text(const QString &t)
{
    TextInfo info;
    info.Text = t;
    info.Kind = Kind::TextBig;
    return info;
}

PictureInfo picture(const QString &file)
{
    PictureInfo info;
    info.FileName = file;
    info.Width = 2;
    return info;
}

} // namespace

class TestWorldModel : public QObject {
    Q_OBJECT

private slots:
    void newWorldHasOneBlankElementEach();
    void appendFillsElementZeroThenGrows();
    void removingTheOnlyItemLeavesAPlaceholder();
    void removingTheOnlyTextLeavesItsKind();
    void removalShiftsLaterItemsDown();
    void removalOutOfRangeDoesNothing();
    void equalityComparesEveryField();
};

void TestWorldModel::newWorldHasOneBlankElementEach()
{
    const World w;
    QCOMPARE(upperBound(w.Objects), 0);
    QCOMPARE(upperBound(w.Pictures), 0);
    QCOMPARE(upperBound(w.Texts), 0);
    QCOMPARE(upperBound(w.Cubes), 0);
    QVERIFY(!isUsed(w.Objects[0]) && !isUsed(w.Pictures[0]) && !isUsed(w.Texts[0])
            && !isUsed(w.Cubes[0]));
    QCOMPARE(w.Zoom, 1);
    QCOMPARE(w.StartPosX, 50.0);
    QCOMPARE(w.StartPosY, 96.0);
}

void TestWorldModel::appendFillsElementZeroThenGrows()
{
    World w;
    QCOMPARE(appendItem(w.Texts, text(QStringLiteral("first"))), 0);
    QCOMPARE(appendItem(w.Texts, text(QStringLiteral("second"))), 1);
    QCOMPARE(w.Texts[0].Text, QStringLiteral("first"));
    QCOMPARE(w.Texts[1].Text, QStringLiteral("second"));

    QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Tree"))), 0);
    QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Bench"))), 1);
    QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Lamp"))), 2);
    QCOMPARE(w.Objects.size(), size_t(3));

    // An array emptied against the rule still takes the item.
    w.Cubes.clear();
    QCOMPARE(appendItem(w.Cubes, cube(Kind::Wall, 1)), 0);
    QCOMPARE(w.Cubes.size(), size_t(1));
}

void TestWorldModel::removingTheOnlyItemLeavesAPlaceholder()
{
    World w;
    appendItem(w.Objects, object(QStringLiteral("Tree")));
    appendItem(w.Pictures, picture(QStringLiteral("/p/a.jpg")));
    appendItem(w.Cubes, cube(Kind::Floor, 3));
    removeItem(w.Objects, 0);
    removeItem(w.Pictures, 0);
    removeItem(w.Cubes, 0);
    QCOMPARE(w.Objects.size(), size_t(1));
    QCOMPARE(w.Pictures.size(), size_t(1));
    QCOMPARE(w.Cubes.size(), size_t(1));
    QVERIFY(!isUsed(w.Objects[0]) && !isUsed(w.Pictures[0]) && !isUsed(w.Cubes[0]));
    // Only the key field is emptied: the rest of the record stays.
    QCOMPARE(w.Objects[0].X, 10.0f);
    QCOMPARE(w.Pictures[0].Width, 2.0f);

    // The next item of each kind goes into element 0 again.
    QCOMPARE(appendItem(w.Objects, object(QStringLiteral("Bench"))), 0);
    QCOMPARE(appendItem(w.Pictures, picture(QStringLiteral("/p/b.jpg"))), 0);
    QCOMPARE(appendItem(w.Cubes, cube(Kind::Street, 4)), 0);
    QCOMPARE(w.Cubes[0], cube(Kind::Street, 4));
}

void TestWorldModel::removingTheOnlyTextLeavesItsKind()
{
    World w;
    appendItem(w.Texts, text(QStringLiteral("Welcome")));
    removeItem(w.Texts, 0);
    QCOMPARE(w.Texts.size(), size_t(1));
    QVERIFY(!isUsed(w.Texts[0]));
    QCOMPARE(w.Texts[0].Kind, Kind::TextBig);

    // Appending tests Kind, not Text: element 0 stays an unused placeholder.
    QCOMPARE(appendItem(w.Texts, text(QStringLiteral("Hello"))), 1);
    QVERIFY(!isUsed(w.Texts[0]));
    QCOMPARE(w.Texts[1].Text, QStringLiteral("Hello"));
}

void TestWorldModel::removalShiftsLaterItemsDown()
{
    World w;
    for (int i = 0; i < 3; ++i)
        appendItem(w.Cubes, cube(Kind::Wall, float(i)));
    removeItem(w.Cubes, 1);
    QCOMPARE(w.Cubes.size(), size_t(2));
    QCOMPARE(w.Cubes[0], cube(Kind::Wall, 0));
    QCOMPARE(w.Cubes[1], cube(Kind::Wall, 2));

    removeItem(w.Cubes, 1);
    removeItem(w.Cubes, 0);
    QCOMPARE(w.Cubes.size(), size_t(1));
    QVERIFY(!isUsed(w.Cubes[0]));
}

void TestWorldModel::removalOutOfRangeDoesNothing()
{
    World w;
    appendItem(w.Objects, object(QStringLiteral("Tree")));
    appendItem(w.Objects, object(QStringLiteral("Bench")));
    const World before = w;
    removeItem(w.Objects, 2);
    removeItem(w.Objects, -1);
    QVERIFY(w == before);
}

void TestWorldModel::equalityComparesEveryField()
{
    const World base;
    World w = base;
    QVERIFY(w == base);
    w.StartAngle = 1.57;
    QVERIFY(w != base);

    // Floats are compared exactly: one step apart is a difference.
    w = base;
    w.Texts[0].Rotation = 1.57f;
    World v = base;
    v.Texts[0].Rotation = std::nextafter(1.57f, 2.0f);
    QVERIFY(w != v);

    w = base;
    w.Texts[0].Spare = QStringLiteral("x");
    QVERIFY(w != base);
    w = base;
    w.Pictures[0].Billboard = true;
    QVERIFY(w != base);
    w = base;
    w.Cubes[0].Color = 1;
    QVERIFY(w != base);
    w = base;
    w.Objects.push_back(ObjectInfo());
    QVERIFY(w != base);
}

QTEST_GUILESS_MAIN(TestWorldModel)
#include "tst_worldmodel.moc"
