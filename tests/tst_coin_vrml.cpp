// Exported worlds and the shipped object files must load in a VRML97 reader
// (Coin's) without a single error or warning: with every library object,
// every kind of item and strings that need escaping.

#include "CoinValidator.h"
#include "export/ExportCommand.h"
#include "model/WorldFile.h"
#include "palette/ObjectLibrary.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString DataDir = QStringLiteral(SOURCE_DIR "/data");
const QString SamplesDir = QStringLiteral(SOURCE_DIR "/samples");

bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

// A short silent 8-bit mono PCM sound.
bool writeWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray samples(800, char(0x80));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
        << quint16(8);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), int(samples.size()));
    return out.status() == QDataStream::Ok;
}

// Strings a user may type or a file may hold, each hard on a VRML string.
const QStringList Hostile{
    QStringLiteral("He said \"hello\""),
    QStringLiteral("C:\\pictures\\ends with a backslash\\"),
    QStringLiteral("braces } { and # not a comment"),
    QStringLiteral("two\nlines and\r\nthree"),
    QStringLiteral("Gr\u00fc\u00dfe aus K\u00f6ln, \u65e5\u672c, \u00e9t\u00e9"),
    QStringLiteral("\\\"\\\""),
};

} // namespace

class TestCoinVrml : public QObject
{
    Q_OBJECT

    QTemporaryDir program;
    std::vector<ShapeInfo> shapes;

    CoinValidator::Result exportAndCheck(const World &world, const QString &currentFile,
                                         std::vector<ShapeInfo> &library);

private slots:
    void initTestCase();
    void validatorCatches_data();
    void validatorCatches();
    void shippedObjectFile_data();
    void shippedObjectFile();
    void sampleWorld_data();
    void sampleWorld();
    void everythingWorld();
};

void TestCoinVrml::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QVERIFY(program.isValid());
    QVERIFY(copyFolder(DataDir + QStringLiteral("/Objects"),
                       program.filePath(QStringLiteral("Objects"))));
    QVERIFY(copyFolder(DataDir + QStringLiteral("/Textures"),
                       program.filePath(QStringLiteral("Textures"))));
    LibraryLoad library = Init_Shapes(program.path());
    QVERIFY2(library.warnings.isEmpty(), qPrintable(library.warnings.join(QLatin1Char('\n'))));
    shapes = std::move(library.Shapes);
}

CoinValidator::Result TestCoinVrml::exportAndCheck(const World &world, const QString &currentFile,
                                                   std::vector<ShapeInfo> &library)
{
    const WorldExport result = exportWorld(world, library, program.path(), currentFile);
    if (!result.ok()) {
        CoinValidator::Result failed;
        failed.messages << QStringLiteral("export failed: ") + result.error;
        return failed;
    }
    return CoinValidator::checkFile(result.outputPath, program.filePath(QStringLiteral("ToGo")));
}

// The validator itself: a broken file must not pass for a good one.
void TestCoinVrml::validatorCatches_data()
{
    QTest::addColumn<QByteArray>("vrml");
    QTest::addColumn<bool>("clean");
    const QByteArray header = "#VRML V2.0 utf8\r\n";
    QTest::newRow("good") << header + "Group { children [ Shape { geometry Box { } } ] }\r\n"
                          << true;
    QTest::newRow("sound without its file")
        << header + "Sound { source AudioClip { url \"nowhere.wav\" } }\r\n"
        << true;
    QTest::newRow("extra closing brace") << header + "Group { }\r\n}\r\n" << false;
    QTest::newRow("unterminated string") << header + "WorldInfo { title \"open\r\n}\r\n" << false;
    QTest::newRow("unescaped quote") << header + "WorldInfo { title \"a \"b\" c\" }\r\n" << false;
    QTest::newRow("unknown field") << header + "Transform { size 1 }\r\n" << false;
    QTest::newRow("missing texture") << header + "ImageTexture { url \"nowhere.jpg\" }\r\n"
                                     << false;
}

void TestCoinVrml::validatorCatches()
{
    QFETCH(QByteArray, vrml);
    QFETCH(bool, clean);
    const CoinValidator::Result result = CoinValidator::check(vrml);
    QVERIFY2(result.ok() == clean, qPrintable(result.report()));
}

void TestCoinVrml::shippedObjectFile_data()
{
    QTest::addColumn<QString>("path");
    const QDir objects(DataDir + QStringLiteral("/Objects"));
    const QStringList files = objects.entryList({QStringLiteral("*.wrl")}, QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(),
             qPrintable(QStringLiteral("no object files in %1").arg(objects.path())));
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << objects.filePath(file);
}

void TestCoinVrml::shippedObjectFile()
{
    QFETCH(QString, path);
    const CoinValidator::Result result =
        CoinValidator::checkFile(path, DataDir + QStringLiteral("/Textures"));
    QVERIFY2(result.ok(), qPrintable(result.report()));
}

void TestCoinVrml::sampleWorld_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(SamplesDir);
    const QStringList files = samples.entryList({QStringLiteral("*.lwf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no sample worlds");
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << samples.filePath(file);
}

void TestCoinVrml::sampleWorld()
{
    QFETCH(QString, path);
    const WorldRead read = WorldFile::load(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    const CoinValidator::Result result = exportAndCheck(read.world, path, shapes);
    QVERIFY2(result.ok(), qPrintable(result.report()));
}

void TestCoinVrml::everythingWorld()
{
    QVERIFY(!shapes.empty());
    QTemporaryDir worldFolder;
    // Real images, under names that need escaping in the world text.
    const QString gif = QStringLiteral("sign \"one\" #1 {a}.gif");
    const QString jpeg = QStringLiteral("Foto K\u00f6ln.jpg");
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(worldFolder.filePath(gif), "GIF") ||
            image.save(worldFolder.filePath(gif), "PNG"));
    QVERIFY(image.save(worldFolder.filePath(jpeg), "JPEG"));
    const QString music = QStringLiteral("tune \"x\" #2.wav");
    QVERIFY(writeWave(worldFolder.filePath(music)));
    const QString worldFile = worldFolder.filePath(QStringLiteral("every thing.lwf"));
    QFile placeholder(worldFile); // only names the output and the folder of relative paths
    QVERIFY(placeholder.open(QIODevice::WriteOnly));
    placeholder.close();

    World world;
    world.Sky = QStringLiteral("Night Sky");
    world.Ground = QStringLiteral("Snow");
    world.Music = music; // relative to the world file
    world.StartPosX = 12.5;
    world.StartAngle = 3.14;

    const float rotations[] = {0.0f, 1.57f, 3.14f, -1.57f};
    int n = 0;
    const auto anchor = [&](int i) { return i % 3 == 0 ? QString() : Hostile[i % Hostile.size()]; };
    const auto target = [&](int i) {
        return i % 2 ? QStringLiteral("_blank") : Hostile[(i + 1) % Hostile.size()];
    };

    // Library names that are no VRML identifiers as they stand.
    std::vector<ShapeInfo> library = shapes;
    for (const QString &name : {QStringLiteral("3D St. Mary's #1 {x}"), QStringLiteral("TRUE"),
                                QStringLiteral("Caf\u00e9 \"Bench\""), shapes.front().Name}) {
        ShapeInfo odd = shapes.front();
        odd.Name = name;
        library.push_back(odd);
    }
    for (const ShapeInfo &shape : library) {
        for (int copy = 0; copy < 2; ++copy, ++n) { // definition, then a reference
            ObjectInfo o{shape.Name,       float(5 + n % 90), float(5 + (n * 7) % 90),
                         rotations[n % 4], anchor(n),         target(n)};
            appendItem(world.Objects, o);
        }
    }
    const QStringList kinds{Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street, Kind::Shrubbery};
    for (int i = 0; i < kinds.size(); ++i) {
        appendItem(world.Cubes, CubeInfo{kinds[i], float(10 * i), float(10 * i + 3.5), 20.25f,
                                         27.0f, 0x123456 * i});
        appendItem(world.Cubes, CubeInfo{kinds[i], 50, 50, 1, 9, 0}); // no extent: left out
    }
    for (int i = 0; i < 8; ++i, ++n) {
        PictureInfo p{float(10 * i + 5),
                      60,
                      0.25f * i,
                      1.5f,
                      0.75f,
                      rotations[i % 4],
                      i % 2 == 0,
                      i < 4 ? worldFolder.filePath(i % 2 ? gif : jpeg) : (i % 2 ? gif : jpeg),
                      anchor(n),
                      target(n)};
        appendItem(world.Pictures, p);
    }
    const QStringList textKinds{Kind::TextBig, Kind::TextEyeLevel, QStringLiteral("Text (Huge)")};
    for (int i = 0; i < Hostile.size() * 2; ++i, ++n) {
        TextInfo t{Hostile[i % Hostile.size()],
                   float(5 * i + 2),
                   80,
                   0x00FF8040 + i,
                   rotations[i % 4],
                   textKinds[i % 3],
                   i % 2 == 1,
                   anchor(n),
                   QString(),
                   target(n)};
        appendItem(world.Texts, t);
    }

    const CoinValidator::Result result = exportAndCheck(world, worldFile, library);
    QVERIFY2(result.ok(), qPrintable(result.report()));
}

QTEST_GUILESS_MAIN(TestCoinVrml)
#include "tst_coin_vrml.moc"
