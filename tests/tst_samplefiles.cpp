// The GIF, MIDI and WAV writers behind the sample pictures and music: a GIF
// must decode to exactly the pixels written, a MIDI file must play its notes
// at the ticks given, however long the pauses between them, and a WAV file
// must hold exactly the samples given.

#include "GifWriter.h"
#include "MidiWriter.h"
#include "WavWriter.h"

#include <QBuffer>
#include <QImageReader>
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

QImage decodeGif(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// What a MIDI reader sees: channel events ("status pitch", hexadecimal status)
// by their absolute ticks. Reads a format 0 file; nothing when its structure
// is broken.
QStringList readMidi(const QByteArray &file)
{
    if (!file.startsWith("MThd") || file.mid(14, 4) != "MTrk")
        return {};
    const auto u8 = [&](int i) { return int(uchar(file[i])); };
    const int length = (u8(18) << 24) | (u8(19) << 16) | (u8(20) << 8) | u8(21);
    if (22 + length != file.size())
        return {};
    QStringList events;
    int i = 22, tick = 0;
    const auto variable = [&] {
        int value = 0;
        for (int n = 0; n < 4; ++n) {
            const int byte = u8(i++);
            value = (value << 7) | (byte & 0x7F);
            if (!(byte & 0x80))
                return value;
        }
        return -(1 << 30); // more than four bytes
    };
    while (i < file.size()) {
        tick += variable();
        const int status = u8(i++);
        if (status == 0xFF) {
            const int type = u8(i++);
            i += variable();
            if (type == 0x2F)
                return i == file.size() ? events : QStringList();
        } else if ((status & 0xF0) == 0x90 || (status & 0xF0) == 0x80) {
            events << QString::asprintf("%d: %x %d", tick, status, u8(i));
            i += 2;
        } else if ((status & 0xF0) == 0xC0) {
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
        QVERIFY(gif.startsWith("GIF89a"));
        QVERIFY(gif.endsWith(';'));
        const QImage decoded = decodeGif(gif);
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

    // Read as a WAV reader does: chunk by chunk, sizes taken from the file.
    void wavRoundTrip()
    {
        const std::vector<int16_t> samples{0, 1, -1, 32767, -32768, 1234, -4321};
        const QByteArray wav = Wav::encode(samples, 22050);
        const auto u32 = [&](int i) { return qFromLittleEndian<quint32>(wav.constData() + i); };
        const auto u16 = [&](int i) { return qFromLittleEndian<quint16>(wav.constData() + i); };
        QVERIFY(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE");
        QCOMPARE(u32(4), quint32(wav.size() - 8));
        int i = 12;
        QByteArray data;
        while (i + 8 <= wav.size()) {
            const QByteArray id = wav.mid(i, 4);
            const int size = int(u32(i + 4));
            if (id == "fmt ") {
                QCOMPARE(u16(i + 8), quint16(1));       // PCM
                QCOMPARE(u16(i + 10), quint16(1));      // mono
                QCOMPARE(u32(i + 12), quint32(22050));  // sample rate
                QCOMPARE(u32(i + 16), quint32(44100));  // bytes a second
                QCOMPARE(u16(i + 20), quint16(2));      // bytes a frame
                QCOMPARE(u16(i + 22), quint16(16));     // bits a sample
            } else if (id == "data") {
                data = wav.mid(i + 8, size);
            }
            i += 8 + size;
        }
        QCOMPARE(i, wav.size());
        QCOMPARE(data.size(), int(samples.size() * 2));
        for (size_t n = 0; n < samples.size(); ++n)
            QCOMPARE(qFromLittleEndian<qint16>(data.constData() + 2 * n), samples[n]);
    }
};

QTEST_GUILESS_MAIN(TestSampleFiles)
#include "tst_samplefiles.moc"
