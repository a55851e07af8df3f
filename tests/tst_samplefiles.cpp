// The GIF, MIDI and WAV writers behind the sample pictures and music: a GIF
// must decode to exactly the pixels written, a MIDI file must play its notes
// at the ticks given, however long the pauses between them, and a WAV file
// must hold exactly the samples given.

#include "GifWriter.h"
#include "MidiWriter.h"
#include "WavWriter.h"

#include <QImage>
#include <QtTest>

#include <functional>
#include <random>

namespace {

QImage paint(int width, int height, const std::function<QRgb(int, int)> &colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colour(x, y));
    return image;
}

// What a MIDI reader sees of a format 0 file: note events ("tick: status
// pitch", hexadecimal status) at their absolute ticks; nothing when the
// structure is broken.
QStringList readMidi(const QByteArray &file)
{
    const auto u8 = [&](int i) { return i < file.size() ? int(uchar(file[i])) : 0; };
    if (!file.startsWith("MThd") || file.mid(14, 4) != "MTrk" ||
        22 + ((u8(18) << 24) | (u8(19) << 16) | (u8(20) << 8) | u8(21)) != file.size())
        return {};
    QStringList events;
    int i = 22, tick = 0;
    const auto variable = [&] { // at most four bytes
        int value = 0;
        for (int n = 0; n < 4; ++n) {
            value = (value << 7) | (u8(i) & 0x7F);
            if (!(u8(i++) & 0x80))
                return value;
        }
        return -(1 << 30);
    };
    while (i < file.size()) {
        tick += variable();
        const int status = u8(i++);
        if (status == 0xFF) { // meta event: type, length, data
            const int type = u8(i++);
            i += variable();
            if (type == 0x2F) // end of track
                return i == file.size() ? events : QStringList();
        } else if ((status & 0xE0) == 0x80) { // note on or off: pitch, velocity
            events << QString::asprintf("%d: %x %d", tick, status, u8(i));
            i += 2;
        } else if ((status & 0xF0) == 0xC0) { // programme change
            i += 1;
        } else {
            return {};
        }
    }
    return {}; // no end of track
}

} // namespace

class TestSampleFiles : public QObject {
    Q_OBJECT

private slots:
    void gifRoundTrip_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<bool>("fewColours");
        QTest::newRow("one pixel")
            << paint(1, 1, [](int, int) { return qRgb(200, 30, 40); }) << true;
        QTest::newRow("flat colours, odd size") << paint(301, 203, [](int x, int y) {
            return (x / 40 + y / 30) % 3 ? qRgb(245, 242, 232) : qRgb(30, 60, 160);
        }) << true;
        // Noise fills the 4096-entry string table many times over.
        std::mt19937 random(7);
        QTest::newRow("noise, many table resets") << paint(640, 200, [&](int, int) {
            return qRgb(int(random() % 256), int(random() % 256), int(random() % 256));
        }) << false;
    }

    void gifRoundTrip()
    {
        QFETCH(QImage, image);
        QFETCH(bool, fewColours);
        const QByteArray gif = Gif::encode(image);
        QVERIFY(gif.startsWith("GIF89a") && gif.endsWith(';'));
        const QImage decoded = QImage::fromData(gif, "GIF").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(decoded.size(), image.size());
        // With 256 colours or fewer the picture survives unchanged; otherwise the
        // reduced picture does.
        const QImage expected =
            fewColours ? image
                       : image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither)
                             .convertToFormat(QImage::Format_RGB32);
        QVERIFY(decoded == expected);
    }

    void midiTiming_data()
    {
        QTest::addColumn<int>("gap");
        // Delta times take one byte up to 127, two up to 16383, three beyond.
        for (int gap : {0, 1, 127, 128, 16383, 16384, 2097151, 2097152})
            QTest::newRow(qPrintable(QStringLiteral("gap %1").arg(gap))) << gap;
    }

    void midiTiming()
    {
        QFETCH(int, gap);
        Midi::Song song;
        song.programs = {{1, 73}};
        song.notes = {{0, 48, 60, 70, 0}, {48 + gap, 96, 64, 80, 1}, {48 + gap, 24, 67, 80, 0}};
        // At equal ticks a note ends before the next one starts.
        const auto at = [](int tick, const char *event) {
            return QString::number(tick) + ": " + event;
        };
        QCOMPARE(
            readMidi(Midi::encode(song)),
            QStringList({at(0, "90 60"), at(48, "80 60"), at(48 + gap, "91 64"),
                         at(48 + gap, "90 67"), at(72 + gap, "80 67"), at(144 + gap, "81 64")}));
    }

    // The canonical 44-byte header of 16-bit mono PCM at 22050 Hz, then the
    // samples, little-endian.
    void wavBytes()
    {
        QCOMPARE(Wav::encode({0, 1, -1, 32767, -32768, 1234, -4321}, 22050).toHex(),
                 QByteArray("524946463200000057415645666d74201000000001000100225600"
                            "0044ac000002001000646174610e000000"
                            "00000100ffffff7f0080d2041fef"));
    }
};

QTEST_GUILESS_MAIN(TestSampleFiles)
#include "tst_samplefiles.moc"
