#include "SampleMusic.h"

#include <algorithm>
#include <cmath>
#include <map>

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

std::vector<int16_t> render(const Midi::Song &song, int sampleRate)
{
    constexpr double Pi = 3.14159265358979323846;
    constexpr double Release = 0.12; // seconds a note takes to die away after its end
    const double secondsPerTick = 60.0 / (song.beatsPerMinute * song.ticksPerQuarter);
    std::map<int, int> programs; // channel -> instrument
    for (const auto &[channel, program] : song.programs)
        programs[channel] = program;

    double end = 0;
    for (const Midi::Note &note : song.notes)
        end = std::max(end, (note.start + note.length) * secondsPerTick + Release);
    std::vector<double> mix(size_t(std::ceil((end + 0.5) * sampleRate)), 0.0);

    for (const Midi::Note &note : song.notes) {
        const bool piano = programs[note.channel] == 0;
        const double frequency = 440.0 * std::pow(2.0, (note.pitch - 69) / 12.0);
        const double start = note.start * secondsPerTick;
        const double held = note.length * secondsPerTick;
        const double loudness = note.velocity / 127.0 * (piano ? 0.5 : 0.35);
        const size_t first = size_t(start * sampleRate);
        const size_t count = size_t((held + Release) * sampleRate);
        for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = double(i) / sampleRate;
            // Envelope: a short rise, the instrument's own course, a release after the end.
            double envelope = std::min(1.0, t / (piano ? 0.004 : 0.06));
            if (piano)
                envelope *= std::exp(-2.5 * t);
            if (t > held)
                envelope *= std::max(0.0, 1.0 - (t - held) / Release);
            double value = 0;
            if (piano) {
                // Struck string: overtones that fade faster than the fundamental.
                for (int h = 1; h <= 6 && h * frequency < sampleRate / 2.0; ++h)
                    value += std::sin(2 * Pi * h * frequency * t) * std::exp(-0.8 * h * t) / h;
            } else {
                // Flute: nearly a pure tone, with vibrato once the note has settled.
                const double vibrato = 0.004 * std::min(1.0, t / 0.3) * std::sin(2 * Pi * 5 * t);
                const double phase = 2 * Pi * frequency * t * (1 + vibrato);
                value = std::sin(phase) + 0.18 * std::sin(2 * phase) + 0.06 * std::sin(3 * phase);
            }
            mix[first + i] += loudness * envelope * value;
        }
    }

    // Scale the loudest moment to 80 % of the range.
    double peak = 1e-9;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    std::vector<int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), [peak](double v) {
        return int16_t(std::lround(v / peak * 0.8 * 32767));
    });
    return samples;
}

} // namespace SampleMusic
