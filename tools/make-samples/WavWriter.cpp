#include "WavWriter.h"

namespace Wav {
namespace {

void put(QByteArray &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) // little-endian
        out.append(char((value >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray encode(const std::vector<int16_t> &samples, int sampleRate)
{
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataSize));
    out.append("RIFF");
    put(out, 36 + dataSize, 4);
    out.append("WAVEfmt ");
    put(out, 16, 4); // size of the format chunk
    put(out, 1, 2);  // PCM
    put(out, 1, 2);  // channels
    put(out, uint32_t(sampleRate), 4);
    put(out, uint32_t(sampleRate) * 2, 4); // bytes a second
    put(out, 2, 2);                        // bytes a frame
    put(out, 16, 2);                       // bits a sample
    out.append("data");
    put(out, dataSize, 4);
    for (int16_t sample : samples)
        put(out, uint16_t(sample), 2);
    return out;
}

} // namespace Wav
