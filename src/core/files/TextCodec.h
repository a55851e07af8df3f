#pragma once
// 8-bit text as world files and the object library hold it: Windows-1252, or
// UTF-8 for text that code page cannot hold.

#include <QByteArray>
#include <QString>

namespace TextCodec {

// UTF-8 when the bytes are valid UTF-8 and hold a non-ASCII byte, else
// Windows-1252. Never fails: every byte maps to some character.
QString decode(const QByteArray &bytes);

// Windows-1252 when every character fits that code page, else UTF-8. Text
// whose Windows-1252 bytes would read as UTF-8 ("Ã©" gives the bytes of "é")
// is written as UTF-8 too, and text that begins with U+FEFF gets a byte-order
// mark before it, so that decode(encode(text)) is always text.
QByteArray encode(const QString &text);

// Bytes that begin with a UTF-16 byte-order mark: no 8-bit text file of ours.
// encode never gives such bytes.
bool looksLikeUtf16(const QByteArray &bytes);

bool fitsWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);
QByteArray toWindows1252(const QString &text); // only for text that fits

} // namespace TextCodec
