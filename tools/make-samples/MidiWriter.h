#pragma once
// A small standard MIDI file writer (format 0, one track).

#include <QByteArray>
#include <vector>

namespace Midi {

struct Note {
    int start;    // in ticks
    int length;   // in ticks
    int pitch;    // 60 is middle C
    int velocity; // 1..127
    int channel;  // 0..15
};

struct Song {
    int ticksPerQuarter = 96;
    int beatsPerMinute = 90;
    std::vector<std::pair<int, int>> programs; // channel, General MIDI instrument (0-based)
    std::vector<Note> notes;
};

QByteArray encode(const Song &song);

} // namespace Midi
