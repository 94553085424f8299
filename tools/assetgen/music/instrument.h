// instrument.h -- one voice of our little synthesiser, as a score declares it with key=value pairs.
#pragma once

#include <string>

enum class Wave { Sine, Triangle, Pulse, Saw, Noise };

// Times are in seconds, levels in 0..1, pitches in MIDI note numbers, frequencies in Hz.
struct Instrument {
    std::string name;
    Wave wave = Wave::Triangle;
    float duty = 0.5f; // share of a pulse period spent high
    float attack = 0.01f;
    float decay = 0.1f;
    float sustain = 0.8f;
    float release = 0.1f;
    float gain = 0.5f;
    float pitch = 69.0f;       // what a drum hit 'x' plays
    float sweep = 0.0f;        // semitones above the note the pitch starts from (drums, toms)
    float sweepTime = 0.05f;   // how fast that sweep falls back onto the note
    float vibratoRate = 0.0f;  // Hz
    float vibratoDepth = 0.0f; // semitones
    float vibratoDelay = 0.0f; // a held note only starts to waver after this long
    float noise = 0.0f;        // share of noise mixed into the tone (breath, snare wires)
    float lowpass = 0.0f;      // 0 = open
    float highpass = 0.0f;     // 0 = off
    float detune = 0.0f;       // cents between two slightly detuned copies (warmth, chorus)
    float echo = 0.0f;         // how much of the voice goes to the piece's echo
};

// Sets one `key=value` of an instrument. Returns an empty string, or what is wrong with it.
std::string setInstrumentParam(Instrument& instrument, const std::string& key,
                               const std::string& value);
