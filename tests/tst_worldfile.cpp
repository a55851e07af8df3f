// The world file: exact bytes, round trips, and refusal of damaged files.

#include "TestSupport.h"

#include "model/TextCodec.h"
#include "model/WorldFile.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QChar Tab = QLatin1Char('\t');

// The 45 fields of a world just created by New, saved at 100 % unscrolled.
const QStringList newWorldFields = {
    "",  "",  "",  "1", "0", "0", "50", "96",    "0",         // header
    "0", "",  "0", "0", "0", "",  "",                         // objects
    "0", "0", "0", "0", "0", "0", "0",  "False", "",  "", "", // pictures
    "0", "",  "0", "0", "0", "0", "",   "False", "",  "", "", // texts
    "0", "",  "0", "0", "0", "0", "0",                        // cubes
};

QString newWorldWith(int token, const QString &value)
{
    QStringList fields = newWorldFields;
    fields[token] = value;
    return fields.join(Tab);
}

// Every field away from its default, an unused text placeholder at index 0.
// Singles are ones that 7 digits hold exactly (1.0f / 3 would come back as
// the float nearest 0.3333333, the format's precision).
World richWorld()
{
    World w;
    w.Sky = "Night Sky";
    w.Music = "/music/Theme – one.mid";
    w.Ground = "Asphalt";
    w.Zoom = 3;
    w.StartPosX = 12.25;
    w.StartAngle = -1.57;
    w.Objects[0] = {"Park_Bench", 33.5f, 0.125f, 3.14f, "http://example.org/a b", "_top"};
    appendItem(w.Objects, {"Tree", 1e-5f, 99.99999f, -1.57f, {}, {}});
    w.Pictures[0] = {50, 50, 0.5f, 2.25f, 1.5f, 1.57f, true, "C:\\pics\\sun.jpg", {}, "_blank"};
    w.Texts[0].Kind = Kind::TextBig;
    appendItem(w.Texts, {"Welcome \"home\"", 10, 20, 16777215, 0, Kind::TextEyeLevel, true, "a.htm",
                         "spare", "_self"});
    w.Cubes[0] = {Kind::Shrubbery, 10, 30, 20, 40, -1};
    appendItem(w.Cubes, {Kind::Wall, 0, 100, 0, 0.5f, 2147483647});
    return w;
}

} // namespace

Q_DECLARE_METATYPE(World)

class TestWorldFile : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void newWorldIsTheFortyFiveFields()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.lwf"));
        QVERIFY(WorldFile::save(path, World(), ScrollFractions()).ok());
        QCOMPARE(readBytes(path), newWorldFields.join(Tab).toLatin1());

        const WorldRead read = WorldFile::load(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QVERIFY(read.world == World());
        QCOMPARE(read.fractions.vertical, 0.0);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected"); // a run of fields the text must hold
        QTest::newRow("full stop")
            << "C" << QString("\t3\t0.333333333333333\t1\t12.25\t96\t-1.57\t");
        QTest::newRow("comma") << "de_DE"
                               << QString("\t3\t0,333333333333333\t1\t12,25\t96\t-1,57\t");
    }

    void roundTrip()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        const World w = richWorld();
        const ScrollFractions fractions{1.0 / 3, 1};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rich.lwf"));
        QVERIFY(WorldFile::save(path, w, fractions).ok());

        const QString text = TextCodec::decode(readBytes(path));
        QVERIFY2(text.contains(expected), qPrintable(text.left(80)));
        // Counts are upper bounds; the unused text placeholder is written too.
        QCOMPARE(text.count(Tab), 9 + (1 + 6 * 2) + (1 + 10) + (1 + 10 * 2) + (1 + 6 * 2) - 1);

        const WorldRead read = WorldFile::load(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QVERIFY(read.world == w);
        QVERIFY(!isUsed(read.world.Texts[0]));
        QCOMPARE(read.fractions.horizontal, 1.0);
        QCOMPARE(WorldFile::format(read.world, read.fractions), text);
    }

    void acceptedVariants_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<World>("expected");
        World billboard;
        billboard.Pictures[0].Billboard = true;
        QTest::newRow("Billboard -1") << newWorldWith(23, "-1") << billboard;
        QTest::newRow("tokens after the last record")
            << newWorldFields.join(Tab) + "\textra\t\tjunk" << World();
        World tabbed, blank;
        tabbed.Sky = "\t";
        blank.Sky = " ";
        QTest::newRow("TAB in a string is written as a blank")
            << WorldFile::format(tabbed, ScrollFractions()) << blank;
        World emptied;
        emptied.Cubes.clear();
        QTest::newRow("empty array written as its placeholder")
            << WorldFile::format(emptied, ScrollFractions()) << World();
    }

    void acceptedVariants()
    {
        QFETCH(QString, text);
        QFETCH(World, expected);
        const WorldRead read = WorldFile::parse(text);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QVERIFY(read.world == expected);
    }

    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const QString &text, const QString &error) {
            QTest::newRow(name) << text << error;
        };
        row("empty file", {}, "the file ends at token 1, where Music should be");
        row("cut before a count", newWorldFields.mid(0, 27).join(Tab),
            "the file ends at token 27, where Texts count should be");
        row("cut inside the texts", newWorldFields.mid(0, 31).join(Tab),
            "token 27 (Texts count): \"0\" announces 1 record of 10 fields (10 tokens), but only "
            "3 tokens follow");
        row("huge count", newWorldWith(9, "2000000000"),
            "token 9 (Objects count): \"2000000000\" announces 2000000001 records");
        row("negative count", newWorldWith(16, "-1"),
            "token 16 (Pictures count): \"-1\" is negative");
        World two;
        appendItem(two.Objects, {"Bench", 1, 2, 0, {}, {}});
        appendItem(two.Objects, {"Tree", 1, 2, 0, {}, {}});
        QStringList shifted = WorldFile::format(two, ScrollFractions()).split(Tab);
        shifted[9] = "0";
        row("count smaller than the records", shifted.join(Tab),
            "token 16 (Pictures count): \"Tree\" is not a whole number");
        row("letters in a colour", newWorldWith(31, "abc"),
            "token 31 (Texts[0].Color): \"abc\" is not a whole number");
        row("zoom overflow", newWorldWith(3, "99999999999"),
            "token 3 (Zoom): \"99999999999\" does not fit a 32-bit whole number");
        row("single overflow", newWorldWith(20, "1E+39"),
            "token 20 (Pictures[0].Width): \"1E+39\" is too large for a single-precision number");
        row("Boolean word", newWorldWith(23, "Yes"),
            "token 23 (Pictures[0].Billboard): \"Yes\" is neither True, False nor a number");
        row("scroll beyond its range", newWorldWith(4, "1.5"),
            "token 4 (vertical scroll position): \"1.5\" is not a scroll position between 0 and 1");
        row("long token shortened", newWorldWith(3, QString(500, 'z')),
            "token 3 (Zoom): \"" + QString(40, 'z') + "...\" is not");
    }

    void damagedFileIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const WorldRead read = WorldFile::parse(text);
        QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
        // Nothing of a damaged file comes back, not even the part that read well.
        QVERIFY(read.world == World());
    }

    void encoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252") << "Grüße € „x“"
                                      << QByteArray("Gr\xfc\xdf"
                                                    "e \x80 \x84x\x93");
        QTest::newRow("beyond Windows-1252") << "Привет €" << QByteArray("Привет €");
        // Windows-1252 would give the bytes of "é", so UTF-8 is written.
        QTest::newRow("looks like UTF-8") << "Ã©" << QByteArray("Ã©");
        QTest::newRow("unassigned bytes")
            << QString(QChar(0x81)) + QChar(0x9D) << QByteArray("\x81\x9d");
    }

    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(TextCodec::encode(text), bytes);
        QCOMPARE(TextCodec::decode(bytes), text);
    }

    // The file size limit makes a write fail part way, as a full disk would, for
    // every user, root included: the old file must survive.
    void failuresNameTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("world.lwf"));
        QVERIFY(Files::writeTextFile(path, newWorldWith(31, QStringLiteral("red"))).ok());
        QCOMPARE(WorldFile::load(path).error,
                 QStringLiteral("Cannot load \"%1\": token 31 (Texts[0].Color): \"red\" is not a "
                                "whole number")
                     .arg(path));
        const QString missing = dir.filePath(QStringLiteral("missing.lwf"));
        QVERIFY(WorldFile::load(missing).error.startsWith(
            QStringLiteral("Cannot read \"%1\": ").arg(missing)));

        const QByteArray before = readBytes(path);
        World big = richWorld();
        for (int i = 0; i < 2000; ++i)
            appendItem(big.Objects, {"Tree", 1, 2, 0, {}, {}});
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit limited = previous;
        limited.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const Status saved = WorldFile::save(path, big, ScrollFractions());
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY2(saved.error.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(path)),
                 qPrintable(saved.error));
        QCOMPARE(readBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"world.lwf"});
    }
};

QTEST_GUILESS_MAIN(TestWorldFile)
#include "tst_worldfile.moc"
