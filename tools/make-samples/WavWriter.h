#pragma once
// A WAV file writer: 16-bit PCM, one channel, the format every browser and
// VRML viewer plays.

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace Wav {

QByteArray encode(const std::vector<int16_t> &samples, int sampleRate);

} // namespace Wav
