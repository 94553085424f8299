// synth.h -- sounds one note of one instrument: oscillator or noise, pitch sweep, vibrato, ADSR
// envelope and gentle filters.
#pragma once

#include "instrument.h"

#include <cstdint>
#include <vector>

struct NoteSound {
    double hz = 440.0;
    double holdSeconds = 0.0; // the release starts after this long
    float velocity = 1.0f;
    std::uint32_t seed = 1; // of the noise: the same note always hisses the same way
};

// Level of the envelope (0..1) at `t` seconds into a note held for `hold` seconds.
double envelopeLevel(const Instrument& instrument, double t, double hold);
// How long the note sounds, release included.
double soundingSeconds(const Instrument& instrument, double hold);
std::vector<float> renderNote(const Instrument& instrument, const NoteSound& note,
                              unsigned sampleRate);
