// Colour text, object text and the object library loader.

#include "TestSupport.h"

#include "export/Universal.h"
#include "export/VRMLObjects.h"
#include "export/VrmlItems.h"
#include "palette/ObjectLibrary.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int32_t rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

QStringList namesOf(const std::vector<ShapeInfo> &shapes)
{
    QStringList names;
    for (const ShapeInfo &shape : shapes)
        names << shape.Name;
    return names;
}

} // namespace

class TestVrmlHelpers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void colorText_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("vrml");
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

    void colorText()
    {
        QFETCH(int, color);
        QFETCH(QString, hex);
        QFETCH(QString, vrml);
        QCOMPARE(HexColor(color), hex);
        QCOMPARE(VRMLColor(color), vrml);
    }

    void definitionNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("blanks") << QStringList{"Park Bench", "Big  Old Tree"}
                                << QStringList{"Park_Bench", "Big__Old_Tree"};
        QTest::newRow("allowed as they are")
            << QStringList{"Caf\u00e9", "a+b-c", "x9", "_y", "Lamp:2"}
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

    void definitionNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, ids);
        std::vector<ShapeInfo> shapes;
        for (const QString &name : names)
            shapes.push_back(ShapeInfo{name, {}, 0, 0, 0, {}, false});
        QCOMPARE(Vrml::definitionNames(shapes), ids);
    }

    void objectCode_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no such file
        QTest::addColumn<QString>("code");
        QTest::newRow("line ends kept")
            << QByteArray("#VRML V2.0 utf8\r\nGroup {\r\n}\r\n") << "\r\nGroup {\r\n}\r\n";
        QTest::newRow("header only") << QByteArray("#VRML V2.0 utf8") << "";
        QTest::newRow("shorter than header") << QByteArray("#VRML") << "";
        QTest::newRow("non-ASCII")
            << QByteArray("#VRML V2.0 utf8\r\n# Caf\xc3\xa9") << QStringLiteral("\r\n# Caf\u00e9");
        QTest::newRow("missing file") << QByteArray() << "";
    }

    void objectCode()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, code);
        QTemporaryDir program;
        if (!file.isEmpty())
            QVERIFY(writeFile(program.filePath("Objects/Thing One.wrl"), file));
        const TextRead read = GetObjectCode(program.path(), QStringLiteral("Thing One.wrl"));
        QCOMPARE(read.text, code);
        QCOMPARE(read.ok(), !file.isEmpty());
        if (!read.ok())
            QVERIFY2(read.error.contains("Objects") && read.error.contains("Thing One.wrl"),
                     qPrintable(read.error));
    }

    void libraryLines()
    {
        const LibraryLoad load = parseLibrary(QStringLiteral(
            "4\t2\t150 75 0\tR\tTable.wrl\r\n1.5\t1.5\t0 128 0\tC\tBig Tree.wrl\textra\tfields"));
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QCOMPARE(namesOf(load.Shapes), QStringList({"Table", "Big Tree"}));
        const ShapeInfo &table = load.Shapes[0];
        QCOMPARE(table.FileName, QStringLiteral("Table.wrl"));
        QCOMPARE(table.Width, 4.0);
        QCOMPARE(table.Depth, 2.0);
        QCOMPARE(table.MapColor, rgb(150, 75, 0));
        QCOMPARE(table.MapShape, QStringLiteral("R"));
        QCOMPARE(load.Shapes[1].Width, 1.5);
        QCOMPARE(load.Shapes[1].MapShape, QStringLiteral("C"));
    }

    void libraryColour_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("color");
        QTest::newRow("half to even") << "13.5 0.5 1.5" << rgb(14, 0, 2);
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

    void libraryColour()
    {
        QFETCH(QString, field);
        QFETCH(int, color);
        const LibraryLoad load = parseLibrary(QStringLiteral("1\t1\t%1\tR\tBox.wrl").arg(field));
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QCOMPARE(int(load.Shapes.size()), 1);
        QCOMPARE(load.Shapes[0].MapColor, color);
    }

    void librarySkippedLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("warnings");
        const QString good = QStringLiteral("1\t1\t0 0 0\tR\tGood.wrl");
        const auto row = [](const char *name, const QString &text, const QStringList &names,
                            const QString &warning = QString()) {
            QTest::newRow(name) << text << names
                                << (warning.isEmpty() ? QStringList() : QStringList{warning});
        };
        row("no final line end", good, {"Good"});
        row("empty file", "", {});
        row("four-character file name", "1\t1\t0 0 0\tR\t.wrl", {""});
        row("lone line feeds", good + "\n" + good, {"Good", "Good"});
        row("too few fields", "1\t1\t0 0 0\tR\r\n" + good, {"Good"},
            "objects.txt line 1: five TAB-separated fields needed, found 4");
        row("width not a number", good + "\r\nwide\t1\t0 0 0\tR\tBad.wrl", {"Good"},
            "objects.txt line 2: the width \"wide\" is not a number");
        row("depth empty", "1\t\t0 0 0\tR\tBad.wrl\r\n" + good, {"Good"},
            "objects.txt line 1: the depth \"\" is not a number");
        row("two colour parts", "1\t1\t0 0\tR\tBad.wrl\r\n" + good, {"Good"},
            "objects.txt line 1: the colour \"0 0\" does not have three parts");
        row("short file name", "1\t1\t0 0 0\tR\t.wr\r\n" + good, {"Good"},
            "objects.txt line 1: the file name \".wr\" is shorter than four characters");
        QTest::newRow("empty lines, a final line end too")
            << "\r\n" + good + "\r\n\r\n" + good + "\r\n"
            << QStringList{"Good", "Good"}
            << QStringList{"objects.txt line 1: empty line", "objects.txt line 3: empty line",
                           "objects.txt line 5: empty line"};
    }

    void librarySkippedLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QFETCH(QStringList, warnings);
        const LibraryLoad load = parseLibrary(text);
        QCOMPARE(namesOf(load.Shapes), names);
        QCOMPARE(load.warnings, warnings);
    }

    // Sizes are in the user's number format (a library made with full stops
    // still reads), colours always with a full stop.
    void libraryLocaleNumbers()
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

    // Without a library file the folders are made and the library is empty; a
    // file in the system code page (a Windows-1252 e acute) reads as such.
    void libraryOnDisk()
    {
        QTemporaryDir program;
        LibraryLoad load = Init_Shapes(program.path());
        QVERIFY(load.Shapes.empty() && load.warnings.isEmpty());
        QVERIFY(QFileInfo(program.filePath("Textures")).isDir());
        QVERIFY(QFileInfo(program.filePath("Objects")).isDir());

        QVERIFY(writeFile(program.filePath("Objects/objects.txt"),
                          "1\t2\t1 2 3\tR\tCaf\xe9.wrl\r\nbroken\r\n3\t4\t4 5 6\tC\tTree.wrl"));
        load = Init_Shapes(program.path());
        QCOMPARE(namesOf(load.Shapes), QStringList({"Caf\u00e9", "Tree"}));
        QCOMPARE(load.warnings,
                 QStringList{"objects.txt line 2: five TAB-separated fields needed, found 1"});
    }
};

QTEST_GUILESS_MAIN(TestVrmlHelpers)
#include "tst_vrmlhelpers.moc"
