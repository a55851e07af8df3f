// The library file and the textures shipped beside the program: a library
// line the map would misdraw, a texture whose edges would show as a grid on
// the ground. (The object files and the samples are tst_coin_vrml's.)

#include "TestSupport.h"

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
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
