// Exported worlds compared byte for byte with reviewed expected files: each
// tests/data/golden/<case>.lwf, exported with the small library of
// tests/data/golden/Objects (relative picture and music paths taken from the
// world file's folder), must give exactly <case>.wrl, twice in a row.
// LOTWRIGHT_REGENERATE=1 rewrites the expected files (see tests/README.md).

#include "TestSupport.h"

#include "core/vrml/ExportCommand.h"
#include "core/model/WorldFile.h"
#include "core/library/ObjectLibrary.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString GoldenDir = QStringLiteral(TESTS_DATA_DIR "/golden");

// Compared line by line, a failure names the first line that differs.
QList<QByteArray> lines(const QByteArray &text) { return text.split('\n'); }

} // namespace

class TestVrmlGolden : public QObject {
    Q_OBJECT

    QTemporaryDir program;
    std::vector<ShapeInfo> shapes;

private slots:
    void initTestCase()
    {
        // The inputs are written with a full stop as decimal separator.
        QLocale::setDefault(QLocale::c());
        QVERIFY(copyFiles(GoldenDir + "/Objects", program.filePath("Objects")));
        QVERIFY(writeTextures(program.path()));
        LibraryLoad library = Init_Shapes(program.path());
        QVERIFY2(library.warnings.isEmpty(), qPrintable(library.warnings.join('\n')));
        QCOMPARE(int(library.Shapes.size()), 3);
        shapes = std::move(library.Shapes);
    }

    void world_data()
    {
        QTest::addColumn<QString>("input");
        const QDir golden(GoldenDir);
        for (const QString &file : golden.entryList({"*.lwf"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(file.chopped(4))) << golden.filePath(file);
    }

    void world()
    {
        QFETCH(QString, input);
        const WorldRead read = WorldFile::load(input);
        QVERIFY2(read.ok(), qPrintable(read.error));

        // Twice: the second export must not be influenced by the first's
        // Defined flags or by what it left in ToGo.
        QByteArray outputs[2];
        for (QByteArray &output : outputs) {
            const WorldExport result = exportWorld(read.world, shapes, program.path(), input);
            QVERIFY2(result.ok(), qPrintable(result.error));
            output = readBytes(result.outputPath);
        }
        QCOMPARE(lines(outputs[1]), lines(outputs[0]));

        const QString expectedPath = input.chopped(3) + "wrl";
        if (qEnvironmentVariableIntValue("LOTWRIGHT_REGENERATE") == 1) {
            QVERIFY2(writeFile(expectedPath, outputs[0]), qPrintable(expectedPath));
            return;
        }
        const QByteArray expected = readBytes(expectedPath);
        QVERIFY2(!expected.isEmpty(), qPrintable("no expected file " + expectedPath));
        QCOMPARE(lines(outputs[0]), lines(expected));
    }
};

QTEST_GUILESS_MAIN(TestVrmlGolden)
#include "tst_vrml_golden.moc"
