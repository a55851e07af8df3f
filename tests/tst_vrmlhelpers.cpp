// Colour text, object text and the object library loader.

#include "export/Universal.h"
#include "export/VRMLObjects.h"
#include "export/VrmlItems.h"
#include "palette/ObjectLibrary.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

constexpr int32_t rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestVrmlHelpers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void colorText_data();
    void colorText();

    void definitionNames_data();
    void definitionNames();

    void objectCode_data();
    void objectCode();
    void objectCodeMissingFile();

    void libraryLines();
    void libraryColour_data();
    void libraryColour();
    void librarySkippedLines_data();
    void librarySkippedLines();
    void libraryLocaleNumbers();
    void libraryWithoutFile();
    void libraryFromFile();
};

void TestVrmlHelpers::colorText_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("vrml");
    QTest::newRow("red") << rgb(255, 0, 0) << "#FF0000"
                         << "1.000000 0.000000 0.000000";
    QTest::newRow("black") << 0 << "#000000"
                           << "0.000000 0.000000 0.000000";
    QTest::newRow("green") << rgb(0, 255, 0) << "#00FF00"
                           << "0.000000 1.000000 0.000000";
    QTest::newRow("blue") << rgb(0, 0, 255) << "#0000FF"
                          << "0.000000 0.000000 1.000000";
    QTest::newRow("mixed") << rgb(0, 128, 255) << "#0080FF"
                           << "0.000000 0.501961 1.000000";
    QTest::newRow("small components") << rgb(1, 2, 3) << "#010203"
                                      << "0.003922 0.007843 0.011765";
    QTest::newRow("above 24 bits") << (0x7F000000 | rgb(128, 0, 0)) << "#800000"
                                   << "0.501961 0.000000 0.000000";
    QTest::newRow("minus one") << -1 << "#FFFFFF"
                               << "1.000000 1.000000 1.000000";
    QTest::newRow("most negative") << int(0x80000000u) << "#000000"
                                   << "0.000000 0.000000 0.000000";
}

void TestVrmlHelpers::colorText()
{
    QFETCH(int, color);
    QFETCH(QString, hex);
    QFETCH(QString, vrml);
    QCOMPARE(HexColor(color), hex);
    QCOMPARE(VRMLColor(color), vrml);
}

void TestVrmlHelpers::definitionNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("blanks") << QStringList{"Park Bench", "Big  Old Tree"}
                            << QStringList{"Park_Bench", "Big__Old_Tree"};
    QTest::newRow("allowed as they are") << QStringList{"Caf\u00e9", "a+b-c", "x9", "_y", "Lamp:2"}
                                         << QStringList{"Caf\u00e9", "a+b-c", "x9", "_y", "Lamp:2"};
    QTest::newRow("forbidden characters") << QStringList{"St. Mary's \"#1\" {x} [y], \\z"}
                                          << QStringList{"St__Mary_s___1___x___y____z"};
    QTest::newRow("starts like a number")
        << QStringList{"3D Tree", "+x", "-y"} << QStringList{"_3D_Tree", "_+x", "_-y"};
    QTest::newRow("keywords") << QStringList{"TRUE", "USE", "True"}
                              << QStringList{"_TRUE", "_USE", "True"};
    QTest::newRow("clashes") << QStringList{"Park Bench", "Park_Bench", "Park Bench",
                                            "Park_Bench_2"}
                             << QStringList{"Park_Bench", "Park_Bench_2", "Park_Bench_3",
                                            "Park_Bench_2_2"};
}

void TestVrmlHelpers::definitionNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, ids);
    std::vector<ShapeInfo> shapes;
    for (const QString &name : names) {
        ShapeInfo shape;
        shape.Name = name;
        shapes.push_back(shape);
    }
    QCOMPARE(Vrml::definitionNames(shapes), ids);
}

void TestVrmlHelpers::objectCode_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("code");
    QTest::newRow("header and node")
        << QByteArray("#VRML V2.0 utf8\r\nShape { }") << "\r\nShape { }";
    QTest::newRow("line ends kept")
        << QByteArray("#VRML V2.0 utf8\r\nGroup {\r\n}\r\n") << "\r\nGroup {\r\n}\r\n";
    QTest::newRow("header only") << QByteArray("#VRML V2.0 utf8") << "";
    QTest::newRow("shorter than header") << QByteArray("#VRML") << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("non-ASCII") << QByteArray("#VRML V2.0 utf8\r\n# Caf\xc3\xa9")
                               << QStringLiteral("\r\n# Caf\u00e9");
}

void TestVrmlHelpers::objectCode()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, code);
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Objects")));
    writeFile(program.filePath(QStringLiteral("Objects/Thing One.wrl")), file);
    const TextRead read = GetObjectCode(program.path(), QStringLiteral("Thing One.wrl"));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.text, code);
}

void TestVrmlHelpers::objectCodeMissingFile()
{
    QTemporaryDir program;
    const TextRead read = GetObjectCode(program.path(), QStringLiteral("Gone.wrl"));
    QVERIFY(!read.ok());
    QVERIFY(read.text.isEmpty());
    QVERIFY2(read.error.contains(QLatin1String("Objects")) &&
                 read.error.contains(QLatin1String("Gone.wrl")),
             qPrintable(read.error));
}

void TestVrmlHelpers::libraryLines()
{
    const LibraryLoad load =
        parseLibrary(QStringLiteral("4\t2\t150 75 0\tR\tTable.wrl\r\n"
                                    "1.5\t1.5\t0 128 0\tC\tBig Tree.wrl\textra\tfields\r\n"
                                    "3\t0.5\t255 0 0\tX\tPark Bench.wrl"));
    QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join(QLatin1Char('\n'))));
    QCOMPARE(int(load.Shapes.size()), 3);

    const ShapeInfo &table = load.Shapes[0];
    QCOMPARE(table.Name, QStringLiteral("Table"));
    QCOMPARE(table.FileName, QStringLiteral("Table.wrl"));
    QCOMPARE(table.Width, 4.0);
    QCOMPARE(table.Depth, 2.0);
    QCOMPARE(table.MapColor, rgb(150, 75, 0));
    QCOMPARE(table.MapShape, QStringLiteral("R"));
    QVERIFY(!table.Defined);

    QCOMPARE(load.Shapes[1].Name, QStringLiteral("Big Tree"));
    QCOMPARE(load.Shapes[1].Width, 1.5);
    QCOMPARE(load.Shapes[1].MapShape, QStringLiteral("C"));
    QCOMPARE(load.Shapes[2].Name, QStringLiteral("Park Bench"));
    QCOMPARE(load.Shapes[2].MapShape, QStringLiteral("X"));
}

void TestVrmlHelpers::libraryColour_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("color");
    QTest::newRow("pure red") << "255 0 0" << rgb(255, 0, 0);
    QTest::newRow("half to even, down") << "12.5 0 0" << rgb(12, 0, 0);
    QTest::newRow("half to even, up") << "13.5 0.5 1.5" << rgb(14, 0, 2);
    QTest::newRow("no number") << "x 7 y" << rgb(0, 7, 0);
    QTest::newRow("number then text") << "12abc 3.7q 0" << rgb(12, 4, 0);
    QTest::newRow("above 255") << "300 256 1e9" << rgb(255, 255, 255);
    QTest::newRow("below 0") << "-5 -0.4 2" << rgb(0, 0, 2);
    QTest::newRow("fraction without integer part") << ".6 0 0" << rgb(1, 0, 0);
    QTest::newRow("exponent") << "1e2 2E1 5e" << rgb(100, 20, 5);
    QTest::newRow("empty part") << "10  20" << rgb(10, 0, 20);
    QTest::newRow("parts beyond the third") << "1 2 3 4" << rgb(1, 2, 3);
    QTest::newRow("comma is no decimal point") << "2,9 0 0" << rgb(2, 0, 0);
    QTest::newRow("overflow") << "1e999 0 -1e999" << rgb(255, 0, 0);
}

void TestVrmlHelpers::libraryColour()
{
    QFETCH(QString, field);
    QFETCH(int, color);
    const LibraryLoad load = parseLibrary(QStringLiteral("1\t1\t%1\tR\tBox.wrl").arg(field));
    QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join(QLatin1Char('\n'))));
    QCOMPARE(int(load.Shapes.size()), 1);
    QCOMPARE(load.Shapes[0].MapColor, color);
}

void TestVrmlHelpers::librarySkippedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("warnings");
    const QString good = QStringLiteral("1\t1\t0 0 0\tR\tGood.wrl");
    QTest::newRow("final line end") << good + "\r\n" << QStringList{"Good"}
                                    << QStringList{"objects.txt line 2: empty line"};
    QTest::newRow("no final line end") << good << QStringList{"Good"} << QStringList{};
    QTest::newRow("empty file") << "" << QStringList{} << QStringList{};
    QTest::newRow("empty lines") << "\r\n" + good + "\r\n\r\n" + good + "\r\n"
                                 << QStringList{"Good", "Good"}
                                 << QStringList{"objects.txt line 1: empty line",
                                                "objects.txt line 3: empty line",
                                                "objects.txt line 5: empty line"};
    QTest::newRow("too few fields")
        << "1\t1\t0 0 0\tR\r\n" + good << QStringList{"Good"}
        << QStringList{"objects.txt line 1: five TAB-separated fields needed, found 4"};
    QTest::newRow("width not a number")
        << good + "\r\nwide\t1\t0 0 0\tR\tBad.wrl" << QStringList{"Good"}
        << QStringList{"objects.txt line 2: the width \"wide\" is not a number"};
    QTest::newRow("depth empty") << "1\t\t0 0 0\tR\tBad.wrl\r\n" + good << QStringList{"Good"}
                                 << QStringList{
                                        "objects.txt line 1: the depth \"\" is not a number"};
    QTest::newRow("two colour parts")
        << "1\t1\t0 0\tR\tBad.wrl\r\n" + good << QStringList{"Good"}
        << QStringList{"objects.txt line 1: the colour \"0 0\" does not have three parts"};
    QTest::newRow("short file name")
        << "1\t1\t0 0 0\tR\t.wr\r\n" + good << QStringList{"Good"}
        << QStringList{"objects.txt line 1: the file name \".wr\" is shorter than four characters"};
    QTest::newRow("four-character file name")
        << "1\t1\t0 0 0\tR\t.wrl" << QStringList{""} << QStringList{};
    QTest::newRow("lone line feeds") << good + "\n" + good
                                     << QStringList{"Good", "Good"} << QStringList{};
}

void TestVrmlHelpers::librarySkippedLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QFETCH(QStringList, warnings);
    const LibraryLoad load = parseLibrary(text);
    QStringList loaded;
    for (const ShapeInfo &shape : load.Shapes)
        loaded << shape.Name;
    QCOMPARE(loaded, names);
    QCOMPARE(load.warnings, warnings);
}

// Sizes are in the user's number format (a library made with full stops
// still reads), colours always with a full stop.
void TestVrmlHelpers::libraryLocaleNumbers()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const LibraryLoad load = parseLibrary(QStringLiteral("2,5\t0,25\t12.5 0 0\tC\tRound.wrl\r\n"
                                                         "2.5\t1\t0 0 0\tC\tDotted.wrl"));
    QCOMPARE(int(load.Shapes.size()), 2);
    QCOMPARE(load.Shapes[1].Width, 2.5);
    QCOMPARE(load.Shapes[0].Width, 2.5);
    QCOMPARE(load.Shapes[0].Depth, 0.25);
    QCOMPARE(load.Shapes[0].MapColor, rgb(12, 0, 0));
    QVERIFY(load.warnings.isEmpty());
}

void TestVrmlHelpers::libraryWithoutFile()
{
    QTemporaryDir program;
    const LibraryLoad load = Init_Shapes(program.path());
    QVERIFY(load.Shapes.empty());
    QVERIFY(load.warnings.isEmpty());
    QVERIFY(QFileInfo(program.filePath(QStringLiteral("Textures"))).isDir());
    QVERIFY(QFileInfo(program.filePath(QStringLiteral("Objects"))).isDir());
}

void TestVrmlHelpers::libraryFromFile()
{
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Objects")));
    // 8-bit text in the system code page: a Windows-1252 e acute.
    writeFile(program.filePath(QStringLiteral("Objects/objects.txt")),
              "1\t2\t1 2 3\tR\tCaf\xe9.wrl\r\nbroken\r\n3\t4\t4 5 6\tC\tTree.wrl");
    const LibraryLoad load = Init_Shapes(program.path());
    QCOMPARE(int(load.Shapes.size()), 2);
    QCOMPARE(load.Shapes[0].Name, QStringLiteral("Caf\u00e9"));
    QCOMPARE(load.Shapes[1].Name, QStringLiteral("Tree"));
    QCOMPARE(load.warnings,
             QStringList{"objects.txt line 2: five TAB-separated fields needed, found 1"});
    QVERIFY(QFileInfo(program.filePath(QStringLiteral("Textures"))).isDir());
}

QTEST_GUILESS_MAIN(TestVrmlHelpers)
#include "tst_vrmlhelpers.moc"
