#pragma once
// A small GIF89a writer: Qt reads GIF but cannot write it.

#include <QByteArray>
#include <QImage>

namespace Gif {

// The picture reduced to at most 256 colours (exact when it has no more),
// LZW-compressed as one frame.
QByteArray encode(const QImage &image);

} // namespace Gif
