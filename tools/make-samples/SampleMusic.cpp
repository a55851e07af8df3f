#include "SampleMusic.h"

#include <cmath>

namespace SampleMusic {

Midi::Song galleryTune()
{
    Midi::Song song;
    song.beatsPerMinute = 84;
    const int quarter = song.ticksPerQuarter;
    const int bar = 4 * quarter;
    constexpr int Piano = 0, Flute = 1;
    song.programs = {{Piano, 0}, {Flute, 73}};

    // One chord a bar: its root (an octave below middle C and lower) and
    // whether its third is minor.
    struct Chord {
        int root;
        bool minor;
    };
    const Chord C{48, false}, Am{45, true}, F{41, false}, G{43, false};
    const Chord chords[16] = {C, Am, F, G, C, Am, F, G, C, Am, F, G, C, Am, G, C};
    for (int b = 0; b < 16; ++b) {
        const Chord &chord = chords[b];
        const int third = chord.minor ? 15 : 16;
        const int pattern[8] = {0, 7, 12, third, 19, third, 12, 7};
        const int steps = b == 15 ? 1 : 8; // the last bar rests on its root
        for (int i = 0; i < steps; ++i)
            song.notes.push_back({b * bar + i * quarter / 2, b == 15 ? bar : quarter / 2,
                                  chord.root + pattern[i], i == 0 ? 62 : 48, Piano});
    }

    // The tune, as (pitch, beats) per bar; 0 is a rest.
    using Phrase = std::vector<std::pair<int, double>>;
    const Phrase a[4] = {{{76, 1}, {79, 1}, {84, 1.5}, {83, 0.5}},
                         {{81, 2}, {76, 2}},
                         {{77, 1}, {81, 1}, {84, 1}, {81, 1}},
                         {{79, 3}, {74, 1}}};
    const Phrase b[4] = {{{84, 1}, {83, 0.5}, {81, 0.5}, {79, 2}},
                         {{76, 1}, {79, 1}, {81, 2}},
                         {{77, 1.5}, {76, 0.5}, {74, 1}, {72, 1}},
                         {{74, 2}, {71, 2}}};
    const Phrase ending[2] = {{{79, 1}, {77, 1}, {74, 1}, {71, 1}}, {{72, 4}}};
    std::vector<const Phrase *> bars;
    for (const Phrase &p : a)
        bars.push_back(&p);
    for (const Phrase &p : b)
        bars.push_back(&p);
    for (const Phrase &p : a)
        bars.push_back(&p);
    for (int i = 0; i < 2; ++i)
        bars.push_back(&b[i]);
    for (const Phrase &p : ending)
        bars.push_back(&p);
    for (size_t i = 0; i < bars.size(); ++i) {
        double beat = 0;
        for (const auto &[pitch, beats] : *bars[i]) {
            const int start = int(i) * bar + int(std::lround(beat * quarter));
            const int length = int(std::lround(beats * quarter)) - 8; // a breath between notes
            if (pitch > 0)
                song.notes.push_back({start, length, pitch, 80, Flute});
            beat += beats;
        }
    }
    return song;
}

} // namespace SampleMusic
