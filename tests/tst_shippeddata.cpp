// The data shipped beside the program: the library file, the textures and
// the sample worlds. Each rule guards a world that would break in a viewer or
// a library line the map would misdraw. (The object files themselves, and that
// the samples load in a viewer, are tst_coin_vrml's.)

#include "TestSupport.h"

#include "files/FileServices.h"
#include "model/WorldFile.h"
#include "palette/ObjectLibrary.h"

#include <QImage>
#include <QLocale>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

const QString ObjectsDir = QStringLiteral(SOURCE_DIR "/data/Objects");
const QString TexturesDir = QStringLiteral(SOURCE_DIR "/data/Textures");
const QString SamplesDir = QStringLiteral(SOURCE_DIR "/samples");

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
    const TextRead text = Files::readTextFile(ObjectsDir + "/objects.txt");
    return text.ok() ? parseLibrary(text.text).Shapes : std::vector<ShapeInfo>();
}

} // namespace

class TestShippedData : public QObject {
    Q_OBJECT

private slots:
    // The library and the samples are written with full stops.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void libraryFile()
    {
        const QByteArray bytes = readBytes(ObjectsDir + "/objects.txt");
        QVERIFY(isPlainCrLfText(bytes));
        // A final CR LF would make an empty last line, which the loader skips with a warning.
        QVERIFY(!bytes.isEmpty() && !bytes.endsWith('\n'));

        const LibraryLoad load = parseLibrary(QString::fromLatin1(bytes));
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QVERIFY(load.Shapes.size() >= 24);
        QSet<QString> names;
        for (const ShapeInfo &shape : load.Shapes) {
            QVERIFY2(!names.contains(shape.Name), qPrintable("twice: " + shape.Name));
            names.insert(shape.Name);
            QVERIFY2(shape.FileName.endsWith(".wrl"), qPrintable(shape.FileName));
            QVERIFY2(shape.Width > 0 && shape.Depth > 0, qPrintable(shape.Name));
        }
    }

    void texture_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : TextureNames)
            QTest::newRow(qPrintable(name)) << name;
    }

    void texture()
    {
        QFETCH(QString, name);
        const QString path = TexturesDir + "/" + name;
        QVERIFY2(QFileInfo(path).size() <= 100 * 1024, "over 100 KB");
        const QImage image(path, "JPG");
        QVERIFY2(!image.isNull(), "not a JPEG");
        QVERIFY(image.width() >= 256 && image.height() >= 256);
        // The ground repeats its texture 140 times across: an edge would show as a grid.
        QVERIFY2(seamRatio(image, Qt::Horizontal) < 2.0, "left and right edges differ");
        QVERIFY2(seamRatio(image, Qt::Vertical) < 2.0, "top and bottom edges differ");
    }

    // The seam measure must tell a picture with an edge from a tileable one.
    void seamCheckCatchesAnEdge()
    {
        QImage ramp(256, 256, QImage::Format_RGB32), wave = ramp;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                ramp.setPixel(x, y, qRgb(x, 128, 255 - x));
                wave.setPixel(x, y, qRgb(int(127 + 120 * std::sin(x * 2 * M_PI / 256)), 100, 100));
            }
        QVERIFY(seamRatio(ramp, Qt::Horizontal) > 10);
        QVERIFY(seamRatio(wave, Qt::Horizontal) < 2.0);
    }

    void sampleWorld_data()
    {
        QTest::addColumn<QString>("path");
        const QDir samples(SamplesDir);
        for (const char *name : {"park.lwf", "gallery.lwf", "street.lwf"})
            QVERIFY2(samples.exists(name), name);
        for (const QString &file : samples.entryList({"*.lwf"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(file)) << samples.filePath(file);
    }

    // What the editor could have made: one of the View menu's zooms, items on the
    // map in one of the four orientations, files that move with the world.
    void sampleWorld()
    {
        QFETCH(QString, path);
        const WorldRead read = WorldFile::load(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const World &world = read.world;
        QVERIFY(world.Zoom == 1 || world.Zoom == 2 || world.Zoom == 4);

        const auto onMap = [](double x, double y) {
            return x >= 0 && x <= 100 && y >= 0 && y <= 100;
        };
        const auto turned = [](float r) {
            return r == 0.0f || r == 1.57f || r == 3.14f || r == -1.57f;
        };
        const auto relative = [](const QString &file) {
            return QFileInfo(file).isRelative() && !file.contains('\\');
        };
        QVERIFY(onMap(world.StartPosX, world.StartPosY) && turned(float(world.StartAngle)));
        QVERIFY2(world.Music.isEmpty() || relative(world.Music), qPrintable(world.Music));

        QSet<QString> names;
        for (const ShapeInfo &shape : loadLibrary())
            names.insert(shape.Name);
        int items = 0;
        QStringList problems;
        const auto check = [&](bool used, bool fine, const QString &what) {
            items += used;
            if (used && !fine)
                problems << what;
        };
        for (const ObjectInfo &o : world.Objects)
            check(isUsed(o), names.contains(o.Name) && onMap(o.X, o.Y) && turned(o.Rotation),
                  o.Name);
        for (const PictureInfo &p : world.Pictures)
            check(isUsed(p),
                  relative(p.FileName) && onMap(p.X, p.Y) && turned(p.Rotation) && p.Width > 0 &&
                      p.Height > 0 && p.OffGround >= 0,
                  p.FileName);
        for (const TextInfo &t : world.Texts)
            check(isUsed(t),
                  (t.Kind == Kind::TextBig || t.Kind == Kind::TextEyeLevel) && onMap(t.X, t.Y) &&
                      turned(t.Rotation),
                  t.Text);
        const QStringList cubeKinds{Kind::Wall, Kind::Floor, Kind::Ceiling, Kind::Street,
                                    Kind::Shrubbery};
        for (const CubeInfo &c : world.Cubes) // as drawn: left to right, top to bottom
            check(isUsed(c),
                  cubeKinds.contains(c.Kind) && onMap(c.X1, c.Y1) && onMap(c.X2, c.Y2) &&
                      c.X1 < c.X2 && c.Y1 < c.Y2,
                  c.Kind);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QVERIFY(items >= 20);
    }
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
