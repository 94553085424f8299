// score.h -- a piece of music as our tracker-like score files write it: a tempo, instruments, and
// the notes they play laid on a grid of ticks.
//
// A score file, one statement a line, '#' starting a comment:
//   tempo 96 | meter 4 | rate 22050 | loop yes | tail 0.3 | fade 1.0 | echo <beats> <feedback>
//   instrument flute wave=triangle attack=0.05 ... (settings in instrument.cpp)
//   pattern A                      then track lines until the next pattern:
//   flute: A4 . D5 . E5 F5 E5 D5 | E5 . . . D5 . B4 .
//   order intro A B A2 outro
// Each group between bar lines is one whole bar split evenly among its steps. A step is a note
// (D5, F#4, Bb3), a chord (D3+F3+A3), '!' after either to accent it, a drum hit played at the
// instrument's pitch (x, X accented, o ghost), '.' to hold what sounds, or '-' for silence.
#pragma once

#include "instrument.h"

#include <optional>
#include <string>
#include <vector>

// 24 ticks a beat: a bar splits evenly into 1, 2, 3, 4, 6, 8, 12, 16, 24, 32... steps.
constexpr long kTicksPerBeat = 24;

struct NoteEvent {
    int instrument = 0; // index into Score::instruments
    long startTick = 0;
    long lengthTicks = 0; // how long the note is held before it is released
    int midi = 0;
    float velocity = 0.0f;
};

struct Score {
    float tempo = 120.0f; // beats a minute
    int beatsPerBar = 4;
    unsigned sampleRate = 22050;
    bool loops = false; // the end flows back into the start (tails fold over)
    float tail = 0.0f;  // seconds of ringing kept after the last bar (pieces that do not loop)
    float fade = 0.0f;  // seconds of fade-out at the very end (pieces that do not loop)
    float echoBeats = 0.0f;
    float echoFeedback = 0.0f;
    std::vector<Instrument> instruments;
    std::vector<NoteEvent> notes; // in playing order
    long lengthTicks = 0;

    long barTicks() const { return beatsPerBar * kTicksPerBeat; }
    double secondsPerTick() const { return 60.0 / (tempo * kTicksPerBeat); }
};

// Either a score, or the first mistake found, as "source:line: what is wrong".
struct ScoreResult {
    Score score;
    std::string error;
    bool ok() const { return error.empty(); }
};

ScoreResult parseScore(const std::string& text, const std::string& sourceName);

// "A4" -> 69, "C#4"/"Db4" -> 61; octaves 0 to 9; nothing for anything else.
std::optional<int> midiNumber(const std::string& name);
double midiToHz(double midi);
// A whole token as a plain decimal number, or nothing.
std::optional<float> parseNumber(const std::string& text);
