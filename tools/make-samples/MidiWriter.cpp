#include "MidiWriter.h"

#include <algorithm>
#include <tuple>

namespace Midi {
namespace {

void putVariable(QByteArray &out, uint32_t value)
{
    // Seven bits a byte, most significant first, the high bit marking "more".
    uint32_t buffer = value & 0x7F;
    while ((value >>= 7) > 0)
        buffer = (buffer << 8) | 0x80 | (value & 0x7F);
    for (;;) {
        out.append(char(buffer & 0xFF));
        if (!(buffer & 0x80))
            break;
        buffer >>= 8;
    }
}

void put32(QByteArray &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

struct Event {
    int tick;
    int order; // note-offs before note-ons at the same tick
    QByteArray bytes;
};

} // namespace

QByteArray encode(const Song &song)
{
    std::vector<Event> events;
    const uint32_t microsPerQuarter = uint32_t(60000000 / song.beatsPerMinute);
    events.push_back({0, 0,
                      QByteArray("\xFF\x51\x03", 3) + char(microsPerQuarter >> 16) +
                          char((microsPerQuarter >> 8) & 0xFF) + char(microsPerQuarter & 0xFF)});
    for (const auto &[channel, program] : song.programs)
        events.push_back({0, 1, QByteArray() + char(0xC0 | channel) + char(program)});
    for (const Note &n : song.notes) {
        events.push_back(
            {n.start, 3, QByteArray() + char(0x90 | n.channel) + char(n.pitch) + char(n.velocity)});
        events.push_back({n.start + n.length, 2,
                          QByteArray() + char(0x80 | n.channel) + char(n.pitch) + char(0)});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
    });

    QByteArray track;
    int tick = 0;
    for (const Event &e : events) {
        putVariable(track, uint32_t(e.tick - tick));
        track.append(e.bytes);
        tick = e.tick;
    }
    putVariable(track, 0);
    track.append("\xFF\x2F\x00", 3); // end of track

    QByteArray file("MThd");
    put32(file, 6);
    file.append(QByteArray("\x00\x00\x00\x01", 4)); // format 0, one track
    file.append(char(song.ticksPerQuarter >> 8));
    file.append(char(song.ticksPerQuarter & 0xFF));
    file.append("MTrk");
    put32(file, uint32_t(track.size()));
    file.append(track);
    return file;
}

} // namespace Midi
