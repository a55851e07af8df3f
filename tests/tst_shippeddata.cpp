// The data shipped beside the program: the object library, the textures and
// the sample worlds. The export pastes object files into worlds and the
// program loads the rest as it stands, so each rule below guards a world that
// would otherwise break in a viewer or a library line the map would misdraw.

#include "files/FileServices.h"
#include "model/WorldFile.h"
#include "palette/ObjectLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

const QString DataDir = QStringLiteral(SOURCE_DIR "/data");
const QString ObjectsDir = DataDir + QStringLiteral("/Objects");
const QString TexturesDir = DataDir + QStringLiteral("/Textures");
const QString SamplesDir = QStringLiteral(SOURCE_DIR "/samples");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return (c >= 32 && c < 127) || c == '\t' || c == '\r' || c == '\n';
    });
}

// Every LF is part of a CR LF and every CR is followed by an LF.
bool onlyCrLf(const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
    }
    return true;
}

// The words of a VRML text with comments taken out, and the strings each
// url field names.
struct VrmlWords {
    QStringList words;
    QStringList urls;
};

VrmlWords vrmlWords(const QString &text)
{
    VrmlWords result;
    QString word;
    const auto endWord = [&] {
        if (!word.isEmpty())
            result.words << word;
        word.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('#')) {
            endWord();
            while (i < text.size() && text[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('"')) {
            endWord();
            QString string;
            for (++i; i < text.size() && text[i] != QLatin1Char('"'); ++i) {
                if (text[i] == QLatin1Char('\\') && i + 1 < text.size())
                    ++i;
                string += text[i];
            }
            if (!result.words.isEmpty() && result.words.last() == QLatin1String("url"))
                result.urls << string;
        } else if (c.isSpace() || QStringLiteral("{}[],").contains(c)) {
            endWord();
        } else {
            word += c;
        }
    }
    endWord();
    return result;
}

// How far the left column matches the right one (and the top row the bottom
// one), compared with how far neighbouring columns (rows) inside differ.
// Blocks of 4 x 4 pixels smooth out the grain, which differs anyway.
double seamRatio(const QImage &image, Qt::Orientation across)
{
    const QImage small = image
                             .scaled(image.width() / 4, image.height() / 4, Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    const bool columns = across == Qt::Horizontal;
    const int lines = columns ? small.width() : small.height();
    const int length = columns ? small.height() : small.width();
    const auto difference = [&](int a, int b) {
        double sum = 0;
        for (int k = 0; k < length; ++k) {
            const QRgb p = columns ? small.pixel(a, k) : small.pixel(k, a);
            const QRgb q = columns ? small.pixel(b, k) : small.pixel(k, b);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
        return sum / length;
    };
    double inside = 0;
    for (int i = 0; i + 1 < lines; ++i)
        inside += difference(i, i + 1);
    inside /= lines - 1;
    return difference(lines - 1, 0) / std::max(inside, 1e-9);
}

std::vector<ShapeInfo> loadLibrary()
{
    const TextRead text =
        Files::readTextFile(Files::pathIn(ObjectsDir, QStringLiteral("objects.txt")));
    return text.ok() ? parseLibrary(text.text).Shapes : std::vector<ShapeInfo>();
}

} // namespace

class TestShippedData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void libraryFile();
    void objectFile_data();
    void objectFile();
    void texture_data();
    void texture();
    void seamCheckCatchesAnEdge();
    void sampleWorld_data();
    void sampleWorld();
};

void TestShippedData::initTestCase()
{
    // The library and the samples are written with full stops.
    QLocale::setDefault(QLocale::c());
}

void TestShippedData::libraryFile()
{
    const QByteArray bytes = readBytes(Files::pathIn(ObjectsDir, QStringLiteral("objects.txt")));
    QVERIFY(!bytes.isEmpty());
    QVERIFY(isAscii(bytes));
    QVERIFY(onlyCrLf(bytes));
    // A final CR LF would make an empty last line, which the loader skips with a warning.
    QVERIFY(!bytes.endsWith('\n'));

    const LibraryLoad load = parseLibrary(QString::fromLatin1(bytes));
    QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join(QLatin1Char('\n'))));
    QVERIFY(load.Shapes.size() >= 24);

    // The export turns a Name into a DEF name by replacing blanks with "_".
    const QRegularExpression defName(QStringLiteral("^[A-Za-z_][A-Za-z0-9 _-]*$"));
    QSet<QString> names;
    for (const ShapeInfo &shape : load.Shapes) {
        QVERIFY2(defName.match(shape.Name).hasMatch(), qPrintable(shape.Name));
        QVERIFY2(!names.contains(shape.Name), qPrintable(QStringLiteral("twice: ") + shape.Name));
        names.insert(shape.Name);
        QVERIFY2(shape.FileName.endsWith(QLatin1String(".wrl")), qPrintable(shape.FileName));
        QVERIFY2(shape.Width > 0 && shape.Depth > 0, qPrintable(shape.Name));
    }
}

void TestShippedData::objectFile_data()
{
    QTest::addColumn<QString>("fileName");
    const std::vector<ShapeInfo> shapes = loadLibrary();
    QVERIFY(!shapes.empty());
    for (const ShapeInfo &shape : shapes)
        QTest::newRow(qPrintable(shape.Name)) << shape.FileName;
    // Every file in the folder is in the library, so none is shipped unused.
    const QStringList files = QDir(ObjectsDir).entryList({QStringLiteral("*.wrl")}, QDir::Files);
    QCOMPARE(files.size(), int(shapes.size()));
}

void TestShippedData::objectFile()
{
    QFETCH(QString, fileName);
    const QByteArray bytes = readBytes(Files::pathIn(ObjectsDir, fileName));
    QVERIFY2(!bytes.isEmpty(), qPrintable(fileName));
    QVERIFY(bytes.startsWith("#VRML V2.0 utf8\r\n"));
    QVERIFY(isAscii(bytes));
    QVERIFY(onlyCrLf(bytes));

    // The export pastes the text into the children of a Group, next to other
    // objects: only plain nodes, no names that could clash, nothing that
    // belongs to the world as a whole.
    const VrmlWords vrml = vrmlWords(QString::fromLatin1(bytes.mid(15)));
    const QStringList forbidden{
        QStringLiteral("DEF"),
        QStringLiteral("USE"),
        QStringLiteral("PROTO"),
        QStringLiteral("EXTERNPROTO"),
        QStringLiteral("ROUTE"),
        QStringLiteral("Script"),
        QStringLiteral("Inline"),
        QStringLiteral("Viewpoint"),
        QStringLiteral("NavigationInfo"),
        QStringLiteral("Background"),
        QStringLiteral("DirectionalLight"),
        QStringLiteral("PointLight"),
        QStringLiteral("SpotLight"),
        QStringLiteral("Fog"),
        QStringLiteral("WorldInfo"),
    };
    for (const QString &word : forbidden)
        QVERIFY2(!vrml.words.contains(word),
                 qPrintable(QStringLiteral("%1 uses %2").arg(fileName, word)));
    QVERIFY(vrml.words.contains(QLatin1String("Shape")));

    // Textures by bare name, from the Textures folder that is copied to ToGo.
    for (const QString &url : vrml.urls) {
        QVERIFY2(!url.contains(QLatin1Char('/')) && !url.contains(QLatin1Char('\\')),
                 qPrintable(url));
        QVERIFY2(
            Files::fileExists(Files::pathIn(TexturesDir, url)),
            qPrintable(
                QStringLiteral("%1 names %2, which is not in data/Textures").arg(fileName, url)));
    }
}

void TestShippedData::texture_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"grass.jpg", "dirt.jpg", "snow.jpg", "asphalt.jpg", "leaves.jpg"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestShippedData::texture()
{
    QFETCH(QString, name);
    const QString path = Files::pathIn(TexturesDir, name);
    QVERIFY2(QFileInfo(path).size() <= 100 * 1024,
             qPrintable(QStringLiteral("%1 is over 100 KB").arg(name)));
    const QImage image(path, "JPG");
    QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("%1 is no JPEG").arg(name)));
    QVERIFY(image.width() >= 256 && image.height() >= 256);
    // The ground repeats its texture 140 times across: an edge would show as a grid.
    QVERIFY2(seamRatio(image, Qt::Horizontal) < 2.0,
             qPrintable(QStringLiteral("left and right edges differ")));
    QVERIFY2(seamRatio(image, Qt::Vertical) < 2.0,
             qPrintable(QStringLiteral("top and bottom edges differ")));
}

// The seam measure must tell a picture with an edge from a tileable one.
void TestShippedData::seamCheckCatchesAnEdge()
{
    QImage ramp(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ramp.setPixel(x, y, qRgb(x, 128, 255 - x));
    QVERIFY(seamRatio(ramp, Qt::Horizontal) > 10);
    QImage wave(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            wave.setPixel(x, y,
                          qRgb(int(127 + 120 * std::sin(x * 2 * 3.14159265 / 256)), 100, 100));
    QVERIFY(seamRatio(wave, Qt::Horizontal) < 2.0);
}

void TestShippedData::sampleWorld_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(SamplesDir);
    for (const char *name : {"park.lwf", "gallery.lwf", "street.lwf"})
        QVERIFY2(samples.exists(QLatin1String(name)), name);
    for (const QString &file :
         samples.entryList({QStringLiteral("*.lwf")}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(file)) << samples.filePath(file);
}

void TestShippedData::sampleWorld()
{
    QFETCH(QString, path);
    const WorldRead read = WorldFile::load(path);
    QVERIFY2(read.ok(), qPrintable(read.error));
    const World &world = read.world;
    const QDir folder = QFileInfo(path).dir();

    // Saved at one of the three zoom steps the View menu offers.
    QVERIFY(world.Zoom == 1 || world.Zoom == 2 || world.Zoom == 4);

    const auto onMap = [](double v) { return v >= 0 && v <= 100; };
    const auto rotation = [](float r) {
        return r == 0.0f || r == 1.57f || r == 3.14f || r == -1.57f;
    };
    QVERIFY(onMap(world.StartPosX) && onMap(world.StartPosY));
    QVERIFY(rotation(float(world.StartAngle)));

    // Files that move with the world: relative to its folder, and present.
    const auto besideWorld = [&](const QString &file) {
        return QFileInfo(file).isRelative() && !file.contains(QLatin1Char('\\')) &&
               folder.exists(file);
    };
    QVERIFY2(world.Music.isEmpty() || besideWorld(world.Music), qPrintable(world.Music));

    QSet<QString> names;
    for (const ShapeInfo &shape : loadLibrary())
        names.insert(shape.Name);
    int items = 0;
    for (const ObjectInfo &o : world.Objects) {
        if (!isUsed(o))
            continue;
        ++items;
        QVERIFY2(names.contains(o.Name),
                 qPrintable(QStringLiteral("no library object %1").arg(o.Name)));
        QVERIFY(onMap(o.X) && onMap(o.Y) && rotation(o.Rotation));
    }
    for (const PictureInfo &p : world.Pictures) {
        if (!isUsed(p))
            continue;
        ++items;
        QVERIFY2(besideWorld(p.FileName), qPrintable(p.FileName));
        QImageReader reader(folder.filePath(p.FileName));
        QVERIFY2(!reader.read().isNull(),
                 qPrintable(p.FileName + QStringLiteral(": ") + reader.errorString()));
        QVERIFY(onMap(p.X) && onMap(p.Y) && rotation(p.Rotation));
        QVERIFY(p.Width > 0 && p.Height > 0 && p.OffGround >= 0);
    }
    for (const TextInfo &t : world.Texts) {
        if (!isUsed(t))
            continue;
        ++items;
        QVERIFY(t.Kind == Kind::TextBig || t.Kind == Kind::TextEyeLevel);
        QVERIFY(onMap(t.X) && onMap(t.Y) && rotation(t.Rotation));
    }
    const QStringList cubeKinds{Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street,
                                Kind::Shrubbery};
    for (const CubeInfo &c : world.Cubes) {
        if (!isUsed(c))
            continue;
        ++items;
        QVERIFY2(cubeKinds.contains(c.Kind), qPrintable(c.Kind));
        // As drawn on the map: left to right, top to bottom, with an extent.
        QVERIFY(onMap(c.X1) && onMap(c.X2) && onMap(c.Y1) && onMap(c.Y2));
        QVERIFY(c.X1 < c.X2 && c.Y1 < c.Y2);
    }
    QVERIFY(items >= 20);
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
