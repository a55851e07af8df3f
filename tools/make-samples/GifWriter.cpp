#include "GifWriter.h"

#include <array>
#include <vector>

namespace Gif {
namespace {

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Packs variable-width codes, least significant bit first, into data
// sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    void write(int code, int width)
    {
        m_bits |= uint32_t(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_bits & 0xFF));
        QByteArray blocks;
        for (int i = 0; i < m_bytes.size(); i += 255) {
            const QByteArray block = m_bytes.mid(i, 255);
            blocks.append(char(block.size()));
            blocks.append(block);
        }
        blocks.append(char(0));
        return blocks;
    }

private:
    QByteArray m_bytes;
    uint32_t m_bits = 0;
    int m_count = 0;
};

QByteArray compress(const QImage &indexed)
{
    constexpr int MinCodeSize = 8;
    constexpr int Clear = 1 << MinCodeSize;
    constexpr int MaxCode = 4095;
    // The string table as a tree: next[code][byte] is the code of that string
    // extended by the byte, or 0.
    std::vector<std::array<uint16_t, 256>> next(MaxCode + 1);
    const auto reset = [&] {
        for (auto &entry : next)
            entry.fill(0);
    };
    reset();
    int codeSize = MinCodeSize + 1;
    int lastCode = Clear + 1; // the end-of-information code
    CodeWriter writer;
    writer.write(Clear, codeSize);
    int current = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const uchar value = line[x];
            if (current < 0) {
                current = value;
            } else if (next[size_t(current)][value]) {
                current = next[size_t(current)][value];
            } else {
                writer.write(current, codeSize);
                next[size_t(current)][value] = uint16_t(++lastCode);
                if (lastCode >= (1 << codeSize))
                    ++codeSize;
                if (lastCode == MaxCode) {
                    // The table is full: start a new one.
                    writer.write(Clear, codeSize);
                    reset();
                    codeSize = MinCodeSize + 1;
                    lastCode = Clear + 1;
                }
                current = value;
            }
        }
    }
    writer.write(current, codeSize);
    writer.write(Clear + 1, codeSize);
    QByteArray data;
    data.append(char(MinCodeSize));
    data.append(writer.finish());
    return data;
}

} // namespace

QByteArray encode(const QImage &image)
{
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    QByteArray out("GIF89a");
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append(char(0xF7)); // a global table of 256 colours, 8 bits each
    out.append(char(0));    // background colour
    out.append(char(0));    // square pixels
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2C)); // image descriptor: the whole screen, not interlaced
    put16(out, 0);
    put16(out, 0);
    put16(out, indexed.width());
    put16(out, indexed.height());
    out.append(char(0));
    out.append(compress(indexed));
    out.append(char(0x3B));
    return out;
}

} // namespace Gif
