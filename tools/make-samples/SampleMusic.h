#pragma once
// Background music for the sample worlds, composed here note by note.

#include "MidiWriter.h"

namespace SampleMusic {

// A calm piece for the gallery: piano arpeggios under a flute, 16 bars.
Midi::Song galleryTune();

} // namespace SampleMusic
