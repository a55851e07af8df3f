// The world file and the world it holds: exact bytes, round trips across
// locales, refusal of damaged files in a user's words, saves that survive a
// crash, the item arrays' placeholder rules and the one equality of worlds;
// and the number text it is made of, which typed numbers share.

#include "KillTest.h"
#include "TestSupport.h"

#include "core/model/NumberText.h"
#include "core/files/TextCodec.h"
#include "core/model/WorldFile.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <cstring>
#include <random>
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

// Every field away from its default, an unused text placeholder at index 0,
// and a sky that begins with U+FEFF (a hand-edited file may hold one), which
// makes the file UTF-8. Singles are ones that 7 digits hold exactly.
World richWorld()
{
    World w;
    w.Sky = QStringLiteral("\uFEFFNight Sky");
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

// A world whose file is about 80 bytes per object.
World largeWorld(int objects)
{
    World w = richWorld();
    for (int i = 0; i < objects; ++i)
        appendItem(w.Objects, {QStringLiteral("Tree %1").arg(i), float(i % 100), 0.5f, 1.57f,
                               QStringLiteral("http://example.org/%1").arg(i), "_blank"});
    return w;
}

CubeInfo wall(float x1) { return CubeInfo{Kind::Wall, x1, x1 + 5, 1, 2, 255}; }

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
    }

    // A world saved under one locale opens unchanged under every other: its
    // numbers carry the saving locale's decimal separator (comma decimals read
    // under a full stop locale and the other way round), and the file's bytes
    // survive a load and a save.
    void roundTripAcrossLocales_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("opened");
        for (const char *saved : {"C", "de_DE", "fr_FR"})
            for (const char *opened : {"C", "de_DE", "fr_FR"})
                QTest::addRow("%s to %s", saved, opened) << saved << opened;
        // Arabic and Persian write the decimal separator U+066B.
        QTest::newRow("ar_EG to C") << "ar_EG" << "C";
        QTest::newRow("fa_IR to de_DE") << "fa_IR" << "de_DE";
    }

    void roundTripAcrossLocales()
    {
        QFETCH(QString, saved);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rich.lwf"));
        const World w = richWorld();
        QLocale::setDefault(QLocale(saved));
        QVERIFY(WorldFile::save(path, w, ScrollFractions{1.0 / 3, 1}).ok());
        const QByteArray bytes = readBytes(path);
        const QString header = QString("\t3\t0.333333333333333\t1\t12.25\t96\t-1.57\t")
                                   .replace('.', QLocale(saved).decimalPoint());
        QVERIFY2(TextCodec::decode(bytes).contains(header), bytes.left(80).constData());

        QLocale::setDefault(QLocale(opened));
        const WorldRead read = WorldFile::load(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QVERIFY(read.world == w);
        QCOMPARE(TextCodec::encode(WorldFile::format(read.world, read.fractions, QLocale(saved))),
                 bytes);
    }

    void acceptedVariants_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<World>("expected");
        World tabbed, blank, emptied;
        QTest::newRow("tokens after the last record")
            << newWorldFields.join(Tab) + "\textra\t\tjunk" << World();
        tabbed.Sky = QStringLiteral("\t") + QChar(0);
        blank.Sky = "  ";
        QTest::newRow("TAB and NUL in a string are written as blanks")
            << WorldFile::format(tabbed, ScrollFractions()) << blank;
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
        row("negative count", newWorldWith(16, "-1"),
            "the number of pictures is negative: \"-1\"");
        row("zoom overflow", newWorldWith(3, "99999999999"),
            "the zoom is too large for a whole number: \"99999999999\"");
        row("single overflow", newWorldWith(20, "1E+39"),
            "the width of picture 1 is too large: \"1E+39\"");
        // Written to 15 digits it would round beyond the largest double.
        row("double at the edge", newWorldWith(6, "1.7976931348623157E+308"),
            "the start position x is too large");
        row("Boolean word", newWorldWith(23, "Yes"),
            "the turn-to-viewer setting of picture 1 is neither True, False nor a number: \"Yes\"");
        row("scroll beyond its range", newWorldWith(4, "1.5"),
            "the vertical scroll position is not between 0 and 1: \"1.5\"");
        row("long token shortened", newWorldWith(31, QString(500, 'z')),
            "the colour of text 1 is not a whole number: \"" + QString(40, 'z') +
                "...\"");
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
        QTest::newRow("Windows-1252")
            << "Grüße € „x“" << QByteArray("Gr\xfc\xdf\x65 \x80 \x84x\x93");
        QTest::newRow("beyond Windows-1252") << "Привет €" << QByteArray("Привет €");
        // Windows-1252 would give the bytes of "é", so UTF-8 is written.
        QTest::newRow("looks like UTF-8") << "Ã©" << QByteArray("Ã©");
        QTest::newRow("unassigned bytes")
            << QString(QChar(0x81)) + QChar(0x9D) << QByteArray("\x81\x9d");
        QTest::newRow("leading ÿþ, not UTF-16") << "ÿþ" << QByteArray("ÿþ");
        // A byte-order mark is dropped on reading; a character U+FEFF is kept.
        QTest::newRow("leading U+FEFF")
            << QChar(0xFEFF) + QString("sky") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFsky");
    }

    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(TextCodec::encode(text), bytes);
        QCOMPARE(TextCodec::decode(bytes), text);
    }

    // The file size limit makes a write fail part way, as a full disk would, for
    // every user, root included: the save says so, and the old file survives.
    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("world.lwf"));
        QVERIFY(Files::writeTextFile(path, newWorldFields.join(Tab)).ok());
        const QByteArray before = readBytes(path);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit limited = previous;
        limited.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const Status saved = WorldFile::save(path, largeWorld(1000), ScrollFractions());
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY2(saved.error.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(path)),
                 qPrintable(saved.error));
        QCOMPARE(readBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"world.lwf"});
    }

    // A child saves two large worlds over each other without end, telling of
    // each save it completes, and is killed at a random moment after the first
    // or second, 200 times: the file must always hold one of the two worlds
    // whole, never a mix or a fragment.
    void killedSaveLeavesOldOrNew()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.lwf"));
        const World worlds[] = {largeWorld(2000), largeWorld(2001)};
        QElapsedTimer timer;
        timer.start();
        QVERIFY(WorldFile::save(path, worlds[0], ScrollFractions()).ok());
        const int survived = killDuringWrites(
            200, timer.nsecsElapsed() / 1000,
            [&](int i) { return WorldFile::save(path, worlds[i % 2], ScrollFractions()).ok(); },
            [&](int last) -> std::optional<bool> {
                const WorldRead read = WorldFile::load(path);
                if (!read.ok() || !(read.world == worlds[0] || read.world == worlds[1]))
                    return std::nullopt;
                return read.world == worlds[last % 2];
            });
        QVERIFY2(survived >= 0, "a kill left a damaged world file");
        QVERIFY2(survived > 0, "no kill fell inside a save");
    }

    // Appending reuses element 0 only while its tested field is empty (Kind for
    // a text, which a removed lone text keeps); removing shifts the rest down
    // and leaves a lone element behind as an unused placeholder.
    void placeholderRules()
    {
        World w;
        for (int i = 0; i < 3; ++i)
            appendItem(w.Cubes, wall(float(i)));
        removeItem(w.Cubes, 1);
        removeItem(w.Cubes, 2);  // out of range
        removeItem(w.Cubes, -1); // out of range
        QCOMPARE(w.Cubes, (std::vector<CubeInfo>{wall(0), wall(2)}));
        removeItem(w.Cubes, 1);
        removeItem(w.Cubes, 0);
        QVERIFY(w.Cubes.size() == 1 && !isUsed(w.Cubes[0]));
        QCOMPARE(appendItem(w.Cubes, wall(1)), 0);
        w.Cubes.clear(); // emptied against the rule: still takes the item
        QCOMPARE(appendItem(w.Cubes, wall(1)), 0);

        appendItem(w.Texts, {"Welcome", 0, 0, 0, 0, Kind::TextBig, false, {}, {}, {}});
        removeItem(w.Texts, 0);
        QCOMPARE(appendItem(w.Texts, {"Hello", 0, 0, 0, 0, Kind::TextBig, false, {}, {}, {}}), 1);
    }

    // Whichever token of a file is changed (to another value that still reads
    // and gives another file), the world read must differ: so no field can be
    // missing from operator==.
    void equalitySeesEveryField()
    {
        const World w;
        const QStringList tokens = WorldFile::format(w, {}).split(Tab);
        int changed = 0;
        for (int i = 0; i < tokens.size(); ++i) {
            for (const QString &other :
                 {tokens[i] + "x", QStringLiteral("7"), QStringLiteral("0.5")}) {
                QStringList edited = tokens;
                edited[i] = other;
                const WorldRead read = WorldFile::parse(edited.join(Tab));
                if (!read.ok() || WorldFile::format(read.world, read.fractions) == tokens.join(Tab))
                    continue;
                const bool scroll = i == 4 || i == 5; // the view's, not the world's
                QVERIFY2(read.world != w || scroll, qPrintable(QString::number(i)));
                ++changed;
                break;
            }
        }
        QCOMPARE(changed, tokens.size() - 4); // all but the four counts
    }

    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("text"); // written with a comma when it holds one
        QTest::newRow("eight digits as single") << 12345678.0 << true << "1.234568E+07";
        QTest::newRow("third as single") << 1.0 / 3 << true << "0.3333333";
        QTest::newRow("negative zero") << -0.0 << false << "0";
        QTest::newRow("comma, no grouping") << 1234567.25 << false << "1234567,25";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, text);
        const QChar point = text.contains(',') ? ',' : '.';
        QCOMPARE(single ? NumberText::formatSingle(float(value), point)
                        : NumberText::formatDouble(value, point),
                 text);
    }

    void convert_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        const auto row = [](const char *name, const char *type, const QString &text, bool ok,
                            double value, const char *locale = "C") {
            QTest::newRow(name) << QString(type) << text << ok << value << QString(locale);
        };
        row("blanks around", "double", " 2.5 ", true, 2.5);
        // No number is written with a group separator: a comma is a decimal comma.
        row("comma in a full-stop locale", "double", "72,5", true, 72.5);
        row("Arabic decimal separator in a comma locale", "double", "72\u066b5", true, 72.5,
            "de_DE");
        row("group separator", "double", "1,000,5", false, 0);
        row("inf", "double", "-inf", false, 0);
        row("comma locale, grouped", "double", "1.000,5", false, 0, "de_DE");
        row("half to even", "long", "2.5", true, 2);
        row("smallest long", "long", "-2147483648", true, -2147483648.0);
        row("rounds to overflow", "long", "2147483647.5", false, 0);
        row("largest single", "single", "3.402823E+38", true, double(3.402823e38f));
        row("True, any case", "boolean", "tRUE", true, 1);
        row("minus one", "boolean", "-1", true, 1);
    }

    void convert()
    {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QFETCH(QString, locale);
        const QLocale l(locale);
        std::optional<double> result = NumberText::toDouble(text, l);
        if (type == "long")
            result = NumberText::toLong(text, l);
        else if (type == "single")
            result = NumberText::toSingle(text, l);
        else if (type == "boolean")
            result = NumberText::toBoolean(text, l);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
    }

    // Rounding to decimals works on the decimal digits the user sees, so halves
    // that binary cannot hold exactly still go to the even neighbour.
    void roundDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("expected");
        QTest::newRow("half, odd neighbour up") << 1.0015 << 3 << 1.002;
        QTest::newRow("half, even neighbour kept") << 1.0025 << 3 << 1.002;
        QTest::newRow("carry") << 9.9996 << 3 << 10.0;
        QTest::newRow("nothing to round") << 1e20 << 3 << 1e20;
        QTest::newRow("far below") << 1e-20 << 3 << 0.0;
    }

    void roundDecimals()
    {
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(double, expected);
        QCOMPARE(NumberText::roundDecimals(value, places), expected);
    }

    void writtenTextReadsBackAsQLocaleReadsIt_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Swedish, Unicode minus") << "sv_SE";
        QTest::newRow("Arabic decimal sign") << "ar_EG";
    }

    // Numbers written in a locale read back to the same text, so a world survives
    // a load and save unchanged. Plain number text is read by a shortcut that must
    // agree with QLocale bit for bit and leave every other form to it.
    void writtenTextReadsBackAsQLocaleReadsIt()
    {
        QFETCH(QString, locale);
        const QLocale l(locale), strict = NumberText::strictLocale(l);
        const QChar point = NumberText::decimalPoint(l);
        // Bit for bit what QLocale reads from the text, when that is a finite number.
        const auto asQLocale = [&](const QString &text) {
            bool ok = false;
            const double d = strict.toDouble(text, &ok);
            const auto ours = NumberText::toDouble(text, l);
            return ok && std::isfinite(d) ? ours && std::memcmp(&d, &*ours, sizeof d) == 0 : !ours;
        };
        std::mt19937_64 random(7);
        for (int i = 0; i < 3000; ++i) {
            const uint64_t bits = random();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            if (!std::isfinite(d))
                continue;
            const float f = float(std::ldexp(double(bits % 99999), i % 60 - 30));
            const QString single = NumberText::formatSingle(f, point);
            const QString dbl = NumberText::formatDouble(d, point);
            const auto s = NumberText::toSingle(single, l);
            const auto r = NumberText::toDouble(dbl, l);
            QVERIFY2(s && NumberText::formatSingle(*s, point) == single, qPrintable(single));
            QVERIFY2(r && NumberText::formatDouble(*r, point) == dbl, qPrintable(dbl));
            QVERIFY2(asQLocale(dbl), qPrintable(dbl));
        }
        for (const char *edge : {"007", "-0", "1E5", "1E-400", "1E400", "0E-400", "4.9E-324", "-",
                                 "1.", "E5", "1E+", "+1", "1e5", " 1", "1.7976931348623159E+308"}) {
            const QString text = QString::fromLatin1(edge).replace(QLatin1Char('.'), point);
            QVERIFY2(asQLocale(text), edge);
        }
    }
};

QTEST_GUILESS_MAIN(TestWorldFile)
#include "tst_worldfile.moc"
