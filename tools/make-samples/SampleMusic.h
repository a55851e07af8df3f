#pragma once
// Background music for the sample worlds, composed here note by note.

#include "MidiWriter.h"

#include <cstdint>
#include <vector>

namespace SampleMusic {

// A calm piece for the gallery: piano arpeggios under a flute, 16 bars.
Midi::Song galleryTune();

// The song played by two simple synthesised voices, as 16-bit mono samples:
// General MIDI program 0 as a piano (struck, fading), any other as a flute
// (breathy onset, held tone with vibrato). Browsers cannot play MIDI files,
// so a world meant for the web takes this as a WAV file.
std::vector<int16_t> render(const Midi::Song &song, int sampleRate);

} // namespace SampleMusic
