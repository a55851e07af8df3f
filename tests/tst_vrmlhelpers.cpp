// Colour text, definition names and the object library loader. (Object files
// are read in tst_vrml_golden, and refused when foreign in tst_fileservices.)

#include "TestSupport.h"

#include "export/Universal.h"
#include "export/VRMLObjects.h"
#include "export/VrmlItems.h"
#include "palette/ObjectLibrary.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

constexpr int32_t rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

std::vector<ShapeInfo> shapesNamed(const QStringList &names)
{
    std::vector<ShapeInfo> shapes;
    for (const QString &name : names)
        shapes.push_back(ShapeInfo{name, name + ".wrl", 0, 0, 0, {}, false});
    return shapes;
}

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
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void colorText_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("vrml");
        QTest::newRow("mixed") << rgb(0, 128, 255) << "#0080FF"
                               << "0.000000 0.501961 1.000000";
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
        const QStringList allowed{"Caf\u00e9", "a+b-c", "x9", "_y", "Lamp:2", "True"};
        QTest::newRow("allowed as they are") << allowed << allowed;
        QTest::newRow("forbidden characters") << QStringList{"St. Mary's \"#1\" {x} [y], \\z"}
                                              << QStringList{"St__Mary_s___1___x___y____z"};
        QTest::newRow("starts like a number or is a keyword")
            << QStringList{"3D Tree", "+x", "-y", "TRUE", "USE"}
            << QStringList{"_3D_Tree", "_+x", "_-y", "_TRUE", "_USE"};
        QTest::newRow("clashes") << QStringList{"Park Bench", "Park_Bench", "Park Bench",
                                                "Park_Bench_2", "Park Bench"}
                                 << QStringList{"Park_Bench", "Park_Bench_2", "Park_Bench_3",
                                                "Park_Bench_2_2", "Park_Bench_4"};
    }

    void definitionNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, ids);
        QCOMPARE(Vrml::definitionNames(shapesNamed(names)), ids);
    }

    // 20,000 entries of one name took minutes when each counted up from 2.
    void manyClashesAreNumberedQuickly()
    {
        QStringList names(20000, QStringLiteral("Tree"));
        names[1] = QStringLiteral("Tree_3"); // taken before its turn comes
        QElapsedTimer timer;
        timer.start();
        const QStringList ids = Vrml::definitionNames(shapesNamed(names));
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(ids.mid(0, 4), QStringList({"Tree", "Tree_3", "Tree_2", "Tree_4"}));
        QCOMPARE(ids.last(), QStringLiteral("Tree_20000"));
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
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
        QTest::newRow("exponent") << "1e2 2E1 5e" << rgb(100, 20, 5);
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
                            const QStringList &warnings = {}) {
            QTest::newRow(name) << text << names << warnings;
        };
        const auto line = [](int n, const char *why) {
            return QStringLiteral("objects.txt line %1: %2").arg(n).arg(QLatin1String(why));
        };
        row("no final line end", good, {"Good"});
        row("lone line feeds", good + "\n" + good, {"Good", "Good"});
        row("four-character file name", "1\t1\t0 0 0\tR\t.wrl", {""});
        row("empty file", "", {}, {"objects.txt is empty: no object can be placed"});
        row("too few fields", "1\t1\t0 0 0\tR\r\n" + good, {"Good"},
            {line(1, "five TAB-separated fields needed, found 4")});
        row("width not a number", good + "\r\nwide\t1\t0 0 0\tR\tBad.wrl", {"Good"},
            {line(2, "the width \"wide\" is not a number")});
        row("two colour parts", "1\t1\t0 0\tR\tBad.wrl\r\n" + good, {"Good"},
            {line(1, "the colour \"0 0\" does not have three parts")});
        row("short file name", "1\t1\t0 0 0\tR\t.wr\r\n" + good, {"Good"},
            {line(1, "the file name \".wr\" is shorter than four characters")});
        row("empty lines, a final line end too", "\r\n" + good + "\r\n\r\n" + good + "\r\n",
            {"Good", "Good"},
            {line(1, "empty line"), line(3, "empty line"), line(5, "empty line")});
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

    // A line gives its entry in every locale (a library travels between
    // countries as worlds do): sizes with either decimal separator, colours
    // with a full stop, fields beyond the fifth ignored.
    void libraryLines_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"C", "de_DE", "fr_FR"})
            QTest::newRow(locale) << locale;
    }

    void libraryLines()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const LibraryLoad load =
            parseLibrary(QStringLiteral("4\t2,5\t150 75 0\tR\tTable.wrl\r\n0.25\t1.5\t12.5 0 "
                                        "0\tC\tBig Tree.wrl\textra\tfields"));
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QCOMPARE(namesOf(load.Shapes), QStringList({"Table", "Big Tree"}));
        const ShapeInfo &table = load.Shapes[0], &tree = load.Shapes[1];
        QCOMPARE(table.FileName + tree.FileName, QStringLiteral("Table.wrlBig Tree.wrl"));
        QCOMPARE(QList<double>({table.Width, table.Depth, tree.Width, tree.Depth}),
                 QList<double>({4, 2.5, 0.25, 1.5}));
        QCOMPARE(QList<int>({table.MapColor, tree.MapColor}),
                 QList<int>({rgb(150, 75, 0), rgb(12, 0, 0)}));
        QCOMPARE(table.MapShape + tree.MapShape, QStringLiteral("RC"));
    }

    // Without a library file the folders are made and the library is empty; a
    // file in the system code page (a Windows-1252 e acute) reads as such.
    void libraryOnDisk()
    {
        QTemporaryDir program;
        LibraryLoad load = Init_Shapes(program.path());
        QVERIFY(load.Shapes.empty() && load.warnings.isEmpty());
        QVERIFY(QFileInfo(program.filePath("Textures")).isDir() &&
                QFileInfo(program.filePath("Objects")).isDir());
        QVERIFY(writeFile(program.filePath("Objects/objects.txt"), "1\t2\t1 2 3\tR\tCaf\xe9.wrl"));
        load = Init_Shapes(program.path());
        QCOMPARE(namesOf(load.Shapes), QStringList{"Caf\u00e9"});
        QVERIFY(load.warnings.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVrmlHelpers)
#include "tst_vrmlhelpers.moc"
