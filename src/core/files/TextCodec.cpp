#include "core/files/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <optional>

namespace TextCodec {

namespace {

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves
// unassigned map to the C1 controls of the same value, so every byte
// survives a round trip; all other bytes equal their Latin-1 code point.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};

// The byte for a character, or -1 when Windows-1252 cannot hold it.
int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < high.size(); ++i) {
        if (high[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

bool hasNonAscii(const QByteArray &bytes)
{
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return true;
    }
    return false;
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte));
    }
    return text;
}

bool fitsWindows1252(const QString &text)
{
    for (const QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const int byte = byteFor(c.unicode());
        *out++ = static_cast<char>(byte < 0 ? '?' : byte);
    }
    return bytes;
}

bool looksLikeUtf16(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString decode(const QByteArray &bytes)
{
    if (hasNonAscii(bytes)) {
        if (auto text = strictUtf8(bytes))
            return *text;
    }
    return fromWindows1252(bytes);
}

QByteArray encode(const QString &text)
{
    if (fitsWindows1252(text)) {
        QByteArray bytes = toWindows1252(text);
        // Windows-1252 bytes that happen to be valid UTF-8 ("Ã©") would read
        // back as different text, and "ÿþ" at the start as UTF-16; UTF-8 keeps
        // such text as it is.
        if (!hasNonAscii(bytes) || (!strictUtf8(bytes) && !looksLikeUtf16(bytes)))
            return bytes;
    }
    // A leading U+FEFF gives the bytes of a byte-order mark, which decode
    // drops: a real mark before it keeps the character.
    if (text.startsWith(QChar(QChar::ByteOrderMark)))
        return "\xEF\xBB\xBF" + text.toUtf8();
    return text.toUtf8();
}

} // namespace TextCodec
