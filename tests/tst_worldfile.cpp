// The world file: exact bytes, round trips, and refusal of damaged files.

#include "model/TextCodec.h"
#include "model/WorldFile.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QChar Tab = QLatin1Char('\t');

// The 45 fields of a world just created by New, saved at 100 % unscrolled.
QStringList newWorldFields()
{
    return QStringList{
        "", "", "", "1", "0", "0", "50", "96", "0",                     // header
        "0", "", "0", "0", "0", "", "",                                 // objects
        "0", "0", "0", "0", "0", "0", "0", "False", "", "", "",         // pictures
        "0", "", "0", "0", "0", "0", "", "False", "", "", "",           // texts
        "0", "", "0", "0", "0", "0", "0",                               // cubes
    };
}

// Token positions in a new world's file.
enum Token {
    ZoomToken = 3,
    VerticalToken = 4,
    ObjectsCount = 9,
    PicturesCount = 16,
    PictureWidth = 20,
    PictureBillboard = 23,
    TextsCount = 27,
    TextColor = 31,
    CubesCount = 38,
};

QString newWorldWith(int token, const QString &value)
{
    QStringList fields = newWorldFields();
    fields[token] = value;
    return fields.join(Tab);
}

// A world with every field away from its default.
World richWorld()
{
    World w;
    w.Sky = QStringLiteral("Night Sky");
    w.Music = QStringLiteral("/music/Theme – one.mid");
    w.Ground = QStringLiteral("Asphalt");
    w.Zoom = 4;
    w.StartPosX = 12.25;
    w.StartPosY = 1.0 / 3.0 * 3.0;
    w.StartAngle = -1.57;
    w.Objects[0] = ObjectInfo{QStringLiteral("Park_Bench"), 33.5f, 0.125f, 3.14f,
                              QStringLiteral("http://example.org/a b"), QStringLiteral("_top")};
    appendItem(w.Objects, ObjectInfo{QStringLiteral("Tree"), 1e-5f, 99.99999f, -1.57f, {}, {}});
    w.Pictures[0] = PictureInfo{50, 50, 0.5f, 2.25f, 1.5f, 1.57f, true,
                                QStringLiteral("C:\\pics\\sun.jpg"), {}, QStringLiteral("_blank")};
    w.Texts[0] = TextInfo{QStringLiteral("Welcome \"home\""), 10, 20, 16777215, 0,
                          Kind::TextEyeLevel, true, QStringLiteral("a.htm"),
                          QStringLiteral("spare"), QStringLiteral("_self")};
    appendItem(w.Texts, TextInfo{QStringLiteral("Üben €"), 5, 6, -1, 3.14f, Kind::TextBig, false,
                                 {}, {}, {}});
    w.Cubes[0] = CubeInfo{Kind::Shrubbery, 10, 30, 20, 40, 65280};
    appendItem(w.Cubes, CubeInfo{Kind::Wall, 0, 100, 0, 0.5f, 2147483647});
    return w;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestWorldFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void newWorldIsTheFortyFiveFields();
    void richWorldRoundTrips();
    void placeholderElementSurvives();
    void billboardReadsNumbersAndWords_data();
    void billboardReadsNumbersAndWords();
    void commaLocaleRoundTrip();
    void tabInsideAStringBecomesABlank();
    void emptyArrayIsWrittenAsItsPlaceholder();
    void tokensAfterTheLastRecordAreIgnored();
    void scrollFractions();

    void damagedFileIsRefused_data();
    void damagedFileIsRefused();

    void encodingRoundTrip_data();
    void encodingRoundTrip();
    void loadErrorsNameTheFile();
    void failedSaveKeepsTheOldFile();
};

void TestWorldFile::newWorldIsTheFortyFiveFields()
{
    const QString text = WorldFile::format(World(), ScrollFractions());
    QCOMPARE(text, newWorldFields().join(Tab));
    QCOMPARE(text.count(Tab), 44);
    QVERIFY(!text.endsWith(Tab));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.lwf"));
    QVERIFY(WorldFile::save(path, World(), ScrollFractions()).ok());
    QCOMPARE(readBytes(path), text.toLatin1());

    const WorldRead read = WorldFile::load(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == World());
    QCOMPARE(read.fractions.vertical, 0.0);
    QCOMPARE(read.fractions.horizontal, 0.0);
}

void TestWorldFile::richWorldRoundTrips()
{
    const World w = richWorld();
    const ScrollFractions fractions{0.25, 1.0};
    const QString text = WorldFile::format(w, fractions);
    const WorldRead read = WorldFile::parse(text);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == w);
    QCOMPARE(read.fractions.vertical, 0.25);
    QCOMPARE(read.fractions.horizontal, 1.0);
    QCOMPARE(WorldFile::format(read.world, read.fractions), text);
    QCOMPARE(text.count(Tab), 9 + (1 + 6 * 2) + (1 + 10) + (1 + 10 * 2) + (1 + 6 * 2) - 1);
}

void TestWorldFile::placeholderElementSurvives()
{
    World w;
    TextInfo t;
    t.Kind = Kind::TextBig;
    t.Text = QStringLiteral("gone");
    appendItem(w.Texts, t);
    removeItem(w.Texts, 0); // element 0 keeps its Kind but is unused
    t.Text = QStringLiteral("one");
    appendItem(w.Texts, t);
    t.Text = QStringLiteral("two");
    appendItem(w.Texts, t);

    const QStringList fields = WorldFile::format(w, ScrollFractions()).split(Tab);
    QCOMPARE(fields.at(TextsCount), QStringLiteral("2"));
    QCOMPARE(fields.at(TextsCount + 1), QString()); // Texts[0].Text
    QCOMPARE(fields.size(), 45 + 2 * 10);

    const WorldRead read = WorldFile::parse(fields.join(Tab));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.world.Texts.size(), size_t(3));
    QVERIFY(!isUsed(read.world.Texts[0]));
    QVERIFY(read.world == w);
}

void TestWorldFile::billboardReadsNumbersAndWords_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("billboard");
    QTest::newRow("minus one") << "-1" << true;
    QTest::newRow("one") << "1" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("lower-case true") << "true" << true;
    QTest::newRow("upper-case FALSE") << "FALSE" << false;
}

void TestWorldFile::billboardReadsNumbersAndWords()
{
    QFETCH(QString, token);
    QFETCH(bool, billboard);
    const WorldRead read = WorldFile::parse(newWorldWith(PictureBillboard, token));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.world.Pictures[0].Billboard, billboard);
}

void TestWorldFile::commaLocaleRoundTrip()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const World w = richWorld();
    const ScrollFractions fractions{0.5, 0.125};
    const QString text = WorldFile::format(w, fractions);
    QVERIFY(text.contains(QStringLiteral("\t0,5\t0,125\t12,25\t")));
    QVERIFY(text.contains(QStringLiteral("\t-1,57\t")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("komma.lwf"));
    QVERIFY(WorldFile::save(path, w, fractions).ok());
    const WorldRead read = WorldFile::load(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == w);
    QCOMPARE(read.fractions.horizontal, 0.125);

    // The same file on a machine with a full stop: refused, not misread.
    QLocale::setDefault(QLocale::c());
    const WorldRead elsewhere = WorldFile::load(path);
    QVERIFY(!elsewhere.ok());
    QVERIFY2(elsewhere.error.contains(QStringLiteral("\"0,5\" is not a number")),
             qPrintable(elsewhere.error));
}

void TestWorldFile::tabInsideAStringBecomesABlank()
{
    World w;
    w.Texts[0].Text = QStringLiteral("left\tright");
    w.Texts[0].Kind = Kind::TextBig;
    w.Sky = QStringLiteral("\t");
    const QString text = WorldFile::format(w, ScrollFractions());
    QCOMPARE(text.count(Tab), 44);
    const WorldRead read = WorldFile::parse(text);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.world.Texts[0].Text, QStringLiteral("left right"));
    QCOMPARE(read.world.Sky, QStringLiteral(" "));
}

void TestWorldFile::emptyArrayIsWrittenAsItsPlaceholder()
{
    World w;
    w.Cubes.clear();
    const WorldRead read = WorldFile::parse(WorldFile::format(w, ScrollFractions()));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == World());
}

void TestWorldFile::tokensAfterTheLastRecordAreIgnored()
{
    const WorldRead read =
        WorldFile::parse(newWorldFields().join(Tab) + QStringLiteral("\textra\t\tjunk"));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == World());
}

void TestWorldFile::scrollFractions()
{
    const QString text = WorldFile::format(World(), ScrollFractions{1.0 / 3.0, 1.0});
    QCOMPARE(text.split(Tab).mid(VerticalToken, 2),
             QStringList({"0.333333333333333", "1"}));
    const WorldRead read = WorldFile::parse(text);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.fractions.horizontal, 1.0);
    QCOMPARE(WorldFile::format(read.world, read.fractions), text);
}

void TestWorldFile::damagedFileIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    const QStringList fields = newWorldFields();
    QTest::newRow("empty file") << QString() << "the file ends at token 1, where Music should be";
    QTest::newRow("cut in the header")
        << fields.mid(0, 5).join(Tab)
        << "the file ends at token 5, where horizontal scroll position should be";
    QTest::newRow("cut before a count")
        << fields.mid(0, TextsCount).join(Tab)
        << "the file ends at token 27, where Texts count should be";
    QTest::newRow("cut inside the texts")
        << fields.mid(0, TextsCount + 4).join(Tab)
        << "token 27 (Texts count): \"0\" announces 1 record of 10 fields (10 tokens), but only "
           "3 tokens follow";
    QTest::newRow("count larger than the records")
        << newWorldWith(CubesCount, QStringLiteral("1"))
        << "token 38 (Cubes count): \"1\" announces 2 records of 6 fields (12 tokens), but only "
           "6 tokens follow";
    QTest::newRow("huge count")
        << newWorldWith(ObjectsCount, QStringLiteral("2000000000"))
        << "token 9 (Objects count): \"2000000000\" announces 2000000001 records";
    QTest::newRow("negative count") << newWorldWith(PicturesCount, QStringLiteral("-1"))
                                    << "token 16 (Pictures count): \"-1\" is negative";
    World twoObjects;
    appendItem(twoObjects.Objects, ObjectInfo{QStringLiteral("Bench"), 1, 2, 0, {}, {}});
    appendItem(twoObjects.Objects, ObjectInfo{QStringLiteral("Tree"), 1, 2, 0, {}, {}});
    QStringList shifted = WorldFile::format(twoObjects, ScrollFractions()).split(Tab);
    shifted[ObjectsCount] = QStringLiteral("0");
    QTest::newRow("count smaller than the records")
        << shifted.join(Tab) << "token 16 (Pictures count): \"Tree\" is not a whole number";
    QTest::newRow("letters in a colour") << newWorldWith(TextColor, QStringLiteral("abc"))
                                         << "token 31 (Texts[0].Color): \"abc\" is not a whole "
                                            "number";
    QTest::newRow("letters in a size") << newWorldWith(PictureWidth, QStringLiteral("1x"))
                                       << "token 20 (Pictures[0].Width): \"1x\" is not a number";
    QTest::newRow("empty number") << newWorldWith(ZoomToken, QString())
                                  << "token 3 (Zoom): \"\" is not a whole number";
    QTest::newRow("zoom overflow")
        << newWorldWith(ZoomToken, QStringLiteral("99999999999"))
        << "token 3 (Zoom): \"99999999999\" does not fit a 32-bit whole number";
    QTest::newRow("single overflow")
        << newWorldWith(PictureWidth, QStringLiteral("1E+39"))
        << "token 20 (Pictures[0].Width): \"1E+39\" is too large for a single-precision number";
    QTest::newRow("not a number") << newWorldWith(PictureWidth, QStringLiteral("nan"))
                                  << "token 20 (Pictures[0].Width): \"nan\" is not a number";
    QTest::newRow("billboard word")
        << newWorldWith(PictureBillboard, QStringLiteral("Yes"))
        << "token 23 (Pictures[0].Billboard): \"Yes\" is neither True, False nor a number";
    QTest::newRow("scroll beyond its range")
        << newWorldWith(VerticalToken, QStringLiteral("1.5"))
        << "token 4 (vertical scroll position): \"1.5\" is not a scroll position between 0 and 1";
    QTest::newRow("negative scroll")
        << newWorldWith(VerticalToken + 1, QStringLiteral("-0.1"))
        << "token 5 (horizontal scroll position): \"-0.1\" is not a scroll position";
    QTest::newRow("long token shortened")
        << newWorldWith(ZoomToken, QString(500, QLatin1Char('z')))
        << QStringLiteral("token 3 (Zoom): \"%1...\" is not").arg(QString(40, QLatin1Char('z')));
}

void TestWorldFile::damagedFileIsRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    const WorldRead read = WorldFile::parse(text);
    QVERIFY(!read.ok());
    QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
    // Nothing of the damaged file comes back, not even what read well.
    QVERIFY(read.world == World());
}

void TestWorldFile::encodingRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("ASCII") << "Park" << QByteArray("Park");
    QTest::newRow("Windows-1252") << "Grüße € „x“" << QByteArray("Gr\xfc\xdf" "e \x80 \x84x\x93");
    QTest::newRow("beyond Windows-1252") << "Привет €" << QByteArray("Привет €");
    // These 1252 bytes would be valid UTF-8 ("é"), so UTF-8 is written.
    QTest::newRow("looks like UTF-8") << "Ã©" << QByteArray("Ã©");
    QTest::newRow("unassigned bytes") << QString(QChar(0x81)) + QChar(0x9D)
                                      << QByteArray("\x81\x9d");
}

void TestWorldFile::encodingRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, encoded);
    QCOMPARE(TextCodec::encode(text), encoded);
    QCOMPARE(TextCodec::decode(encoded), text);

    World w;
    w.Texts[0].Text = text;
    w.Texts[0].Kind = Kind::TextBig;
    w.Music = text;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("coded.lwf"));
    QVERIFY(WorldFile::save(path, w, ScrollFractions()).ok());
    const WorldRead read = WorldFile::load(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.world == w);
}

void TestWorldFile::loadErrorsNameTheFile()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.lwf"));
    WorldRead read = WorldFile::load(missing);
    QVERIFY(!read.ok());
    QVERIFY2(read.error.startsWith(QStringLiteral("Cannot read \"%1\": ").arg(missing)),
             qPrintable(read.error));

    const QString damaged = dir.filePath(QStringLiteral("damaged.lwf"));
    QVERIFY(Files::writeTextFile(damaged, newWorldWith(TextColor, QStringLiteral("red"))).ok());
    read = WorldFile::load(damaged);
    QCOMPARE(read.error, QStringLiteral("Cannot load \"%1\": token 31 (Texts[0].Color): \"red\" is "
                                        "not a whole number")
                             .arg(damaged));
}

// The file size limit makes the write fail part way, as a full disk would,
// and works for every user, root included.
void TestWorldFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("world.lwf"));
    QVERIFY(WorldFile::save(path, World(), ScrollFractions()).ok());
    const QByteArray before = readBytes(path);

    World big = richWorld();
    for (int i = 0; i < 2000; ++i)
        appendItem(big.Objects, ObjectInfo{QStringLiteral("Tree"), 1, 2, 0, {}, {}});

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status saved = WorldFile::save(path, big, ScrollFractions());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved.ok());
    QVERIFY2(saved.error.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(path)),
             qPrintable(saved.error));
    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("world.lwf")});

    // A folder that does not exist is reported the same way.
    const QString nowhere = dir.filePath(QStringLiteral("no/such/world.lwf"));
    const Status s = WorldFile::save(nowhere, World(), ScrollFractions());
    QVERIFY2(s.error.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(nowhere)),
             qPrintable(s.error));
}

QTEST_GUILESS_MAIN(TestWorldFile)
#include "tst_worldfile.moc"
