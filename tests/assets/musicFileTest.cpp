// musicFileTest.cpp -- the generated music is real, loopable 16-bit WAV with a tune and a beat, and
// the score reader turns our text scores into notes, or names the faulty file and line.
#include <SFML/Audio/InputSoundFile.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "music/instrument.h"
#include "music/mixer.h"
#include "music/music.h"
#include "music/score.h"
#include "music/synth.h"
#include "music/wavWriter.h"

namespace {

struct PieceExpectation {
    const char* file;
    double minSeconds;
    double maxSeconds;
    bool loops;
    double tempo;      // the beat the drums should pulse at
    int distinctNotes; // at least this many different notes lead the tune at some moment
};

const PieceExpectation kPieceExpectations[] = {
    {"worldHost.wav", 60.0, 180.0, true, 96.0, 7},
    {"introMusic.wav", 20.0, 90.0, true, 110.0, 7},
    {"changeChapter.wav", 2.5, 4.0, false, 140.0, 4},
};

// Failures name the file rather than dumping the bytes of the row.
void PrintTo(const PieceExpectation& expectation, std::ostream* out) {
    *out << expectation.file;
}

struct LoadedPiece {
    std::vector<double> samples; // -1..1
    double rate = 0.0;
};

const LoadedPiece& loadPiece(const std::string& file) {
    static std::map<std::string, LoadedPiece> cache;
    LoadedPiece& piece = cache[file];
    sf::InputSoundFile input;
    if (!piece.samples.empty() ||
        !input.openFromFile(std::string(KAIVA_ASSETS_DIR) + "/music/" + file)) {
        return piece;
    }
    std::vector<sf::Int16> pcm(input.getSampleCount());
    pcm.resize(input.read(pcm.data(), pcm.size()));
    for (sf::Int16 sample : pcm) {
        piece.samples.push_back(sample / 32768.0);
    }
    piece.rate = input.getSampleRate();
    return piece;
}

double rmsOf(const std::vector<double>& samples, std::size_t first, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = first; i < first + count; ++i) {
        sum += samples[i] * samples[i];
    }
    return std::sqrt(sum / count);
}

double largestStep(const std::vector<double>& samples, std::size_t first, std::size_t count) {
    double largest = 0.0;
    for (std::size_t i = first + 1; i < first + count; ++i) {
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    }
    return largest;
}

// Strength of one frequency in a window (Goertzel).
double strengthAt(const std::vector<double>& samples, std::size_t first, std::size_t count,
                  double hz, double rate) {
    const double coefficient = 2.0 * std::cos(6.283185307179586 * hz / rate);
    double previous = 0.0;
    double older = 0.0;
    for (std::size_t i = first; i < first + count; ++i) {
        const double current = samples[i] + coefficient * previous - older;
        older = previous;
        previous = current;
    }
    return previous * previous + older * older - coefficient * previous * older;
}

// The strongest note from G3 to E6 in every quarter second: where the melody lives.
std::set<int> leadingNotes(const LoadedPiece& piece) {
    const std::size_t window = static_cast<std::size_t>(piece.rate / 4);
    std::set<int> notes;
    for (std::size_t first = 0; first + window <= piece.samples.size(); first += window) {
        int best = 0;
        double bestStrength = 0.0;
        for (int midi = 55; midi <= 88; ++midi) {
            const double strength =
                strengthAt(piece.samples, first, window, midiToHz(midi), piece.rate);
            if (strength > bestStrength) {
                bestStrength = strength;
                best = midi;
            }
        }
        notes.insert(best);
    }
    return notes;
}

struct LoudnessRise {
    double seconds;
    double amount;
};

// How much louder each 20 ms is than the 20 ms before it, every 5 ms.
std::vector<LoudnessRise> loudnessRises(const LoadedPiece& piece) {
    const std::size_t window = static_cast<std::size_t>(piece.rate / 50);
    const std::size_t hop = static_cast<std::size_t>(piece.rate / 200);
    std::vector<double> energy(piece.samples.size() + 1, 0.0); // running sum of squares
    for (std::size_t i = 0; i < piece.samples.size(); ++i) {
        energy[i + 1] = energy[i] + piece.samples[i] * piece.samples[i];
    }
    const auto level = [&](std::size_t first) {
        return std::sqrt((energy[first + window] - energy[first]) / window);
    };
    std::vector<LoudnessRise> rises;
    for (std::size_t t = window; t + window <= piece.samples.size(); t += hop) {
        rises.push_back({t / piece.rate, std::max(0.0, level(t) - level(t - window))});
    }
    return rises;
}

// How far before and after a grid line a drum's rise in loudness may fall.
constexpr double kEarlyOnset = 0.01;
constexpr double kLateOnset = 0.015;

class MusicFileTest : public testing::TestWithParam<PieceExpectation> {};

std::uint32_t littleEndian(const std::vector<char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

} // namespace

// Read the RIFF header ourselves: SFML does not say how many bits a sample has.
TEST_P(MusicFileTest, IsMonoOrMore16BitPcmWithARate) {
    std::ifstream in(std::string(KAIVA_ASSETS_DIR) + "/music/" + GetParam().file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 44u);
    ASSERT_EQ(std::string(bytes.data(), 4), "RIFF");
    ASSERT_EQ(std::string(bytes.data() + 8, 4), "WAVE");
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && std::string(bytes.data() + at, 4) != "fmt ") {
        at += 8 + littleEndian(bytes, at + 4, 4);
    }
    ASSERT_LE(at + 24, bytes.size()) << "no fmt chunk";
    EXPECT_EQ(littleEndian(bytes, at + 8, 2), 1u) << "not PCM";
    EXPECT_GE(littleEndian(bytes, at + 10, 2), 1u) << "no channels";
    const std::uint32_t rate = littleEndian(bytes, at + 12, 4);
    EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
    EXPECT_EQ(littleEndian(bytes, at + 22, 2), 16u);
}

TEST_P(MusicFileTest, LastsItsLength) {
    const LoadedPiece& piece = loadPiece(GetParam().file);
    ASSERT_GT(piece.rate, 0.0);
    const double seconds = piece.samples.size() / piece.rate;
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);
}

// Loud enough to hear, peaking near -1 dBFS, never at full scale.
TEST_P(MusicFileTest, IsLoudButNeverClips) {
    const LoadedPiece& piece = loadPiece(GetParam().file);
    ASSERT_FALSE(piece.samples.empty());
    double peak = 0.0;
    for (double sample : piece.samples) {
        peak = std::max(peak, std::abs(sample));
    }
    EXPECT_GT(rmsOf(piece.samples, 0, piece.samples.size()), 0.05);
    EXPECT_GT(peak, 0.70); // -3 dBFS
    EXPECT_LT(peak, 0.95); // -0.5 dBFS
}

TEST_P(MusicFileTest, LoopsSeamlesslyOrEndsInSilence) {
    const LoadedPiece& piece = loadPiece(GetParam().file);
    const std::size_t span = static_cast<std::size_t>(piece.rate * 0.05);
    ASSERT_GT(piece.samples.size(), 2 * span);
    const std::vector<double>& s = piece.samples;
    const std::size_t lastSpan = s.size() - span;
    if (!GetParam().loops) {
        EXPECT_LT(rmsOf(s, lastSpan, span), 0.001) << "the jingle is cut, not faded";
        EXPECT_LT(std::abs(s.front()), 0.01);
        return;
    }
    // Music plays on into the loop point and out of it, and the jump across it is no bigger
    // than the steps the waveform takes around it anyway.
    EXPECT_GT(rmsOf(s, lastSpan, span), 0.01);
    EXPECT_GT(rmsOf(s, 0, span), 0.01);
    const double jump = std::abs(s.back() - s.front());
    EXPECT_LT(jump, 0.05);
    EXPECT_LE(jump, std::max(largestStep(s, lastSpan, span), largestStep(s, 0, span)));
}

TEST_P(MusicFileTest, HasATuneNotOneTone) {
    EXPECT_GE(leadingNotes(loadPiece(GetParam().file)).size(),
              static_cast<std::size_t>(GetParam().distinctNotes));
}

// The drums pulse at the piece's tempo: the sharpest rises in loudness fall on the sixteenth-note
// grid of that tempo far more often than the share of time near a grid line would give by chance.
TEST_P(MusicFileTest, HasABeatAtItsTempo) {
    const LoadedPiece& piece = loadPiece(GetParam().file);
    ASSERT_GT(piece.rate, 0.0);
    const std::vector<LoudnessRise> rises = loudnessRises(piece);
    std::vector<double> amounts;
    for (const LoudnessRise& rise : rises) {
        amounts.push_back(rise.amount);
    }
    std::sort(amounts.begin(), amounts.end());
    const double sharp = amounts[amounts.size() * 95 / 100]; // smaller ones are noise flicker
    const double grid = 60.0 / GetParam().tempo / 4.0;
    int sharpRises = 0;
    int onGrid = 0;
    for (const LoudnessRise& rise : rises) {
        const double phase = std::fmod(rise.seconds + kEarlyOnset, grid);
        sharpRises += rise.amount > sharp ? 1 : 0;
        onGrid += rise.amount > sharp && phase < kEarlyOnset + kLateOnset ? 1 : 0;
    }
    const double chance = (kEarlyOnset + kLateOnset) / grid;
    EXPECT_GT(static_cast<double>(onGrid) / sharpRises, 2.0 * chance)
        << onGrid << " of " << sharpRises << " on the grid; chance " << chance;
}

INSTANTIATE_TEST_SUITE_P(EveryPiece, MusicFileTest, testing::ValuesIn(kPieceExpectations),
                         [](const auto& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

// ---------------------------------------------------------------------------------------------
// The score reader and the mixer, on tiny scores written here.

namespace {

const char* const kTinyScore = R"(tempo 120
meter 4
instrument lead wave=pulse duty=0.25
instrument drum wave=noise pitch=C2   # hits play C2
pattern A
lead: C4 . E4 - | G4+B4! . . .
drum: x X o x x X o x | X . . .
order A A
)";

struct ExpectedNote {
    int instrument;
    long startTick;
    long lengthTicks;
    int midi;
    float velocity;
};

ScoreResult parseOrFail(const std::string& text) {
    const ScoreResult result = parseScore(text, "tiny.txt");
    EXPECT_TRUE(result.ok()) << result.error;
    return result;
}

} // namespace

TEST(MusicScoreTest, NoteNamesBecomeMidiNumbers) {
    const std::pair<const char*, int> named[] = {{"C4", 60}, {"A4", 69},  {"C#4", 61}, {"Db4", 61},
                                                 {"B3", 59}, {"Bb1", 34}, {"C0", 12},  {"G9", 127}};
    for (const auto& [name, midi] : named) {
        EXPECT_EQ(midiNumber(name), midi) << name;
    }
    for (const char* wrong : {"H4", "C", "c4", "C#", "C##4", "4C", "Cx4", "C10", ""}) {
        EXPECT_FALSE(midiNumber(wrong).has_value()) << wrong;
    }
    EXPECT_NEAR(midiToHz(69), 440.0, 1e-9);
    EXPECT_NEAR(midiToHz(57), 220.0, 1e-9);
    EXPECT_NEAR(midiToHz(60), 261.6256, 1e-3);
}

// A bar is split evenly among its steps, '.' holds, '-' rests, '+' stacks a chord, '!' accents,
// hits play the drum's pitch, and the order repeats the pattern.
TEST(MusicScoreTest, StepsBecomeNotesOnTheTickGrid) {
    const Score score = parseOrFail(kTinyScore).score;
    EXPECT_EQ(score.lengthTicks, 2 * 2 * 4 * kTicksPerBeat);
    const long bar = score.barTicks();
    const ExpectedNote leadNotes[] = {{0, 0, 48, 60, 0.8f},
                                      {0, 48, 24, 64, 0.8f},
                                      {0, bar, bar, 67, 1.0f},
                                      {0, bar, bar, 71, 1.0f}};
    std::vector<NoteEvent> lead;
    std::vector<NoteEvent> drum;
    for (const NoteEvent& note : score.notes) {
        (note.instrument == 0 ? lead : drum).push_back(note);
    }
    ASSERT_EQ(lead.size(), 8u);
    ASSERT_EQ(drum.size(), 18u);
    for (std::size_t i = 0; i < lead.size(); ++i) {
        const ExpectedNote& expected = leadNotes[i % 4];
        const long repeat = i < 4 ? 0 : 2 * bar;
        EXPECT_EQ(lead[i].startTick, expected.startTick + repeat) << i;
        EXPECT_EQ(lead[i].lengthTicks, expected.lengthTicks) << i;
        EXPECT_EQ(lead[i].midi, expected.midi) << i;
        EXPECT_FLOAT_EQ(lead[i].velocity, expected.velocity) << i;
    }
    EXPECT_EQ(drum[1].startTick, 12);
    EXPECT_FLOAT_EQ(drum[1].velocity, 1.0f);
    EXPECT_FLOAT_EQ(drum[2].velocity, 0.45f);
    EXPECT_EQ(drum[8].lengthTicks, bar);
    EXPECT_EQ(drum[8].midi, 36);
}

struct BrokenScore {
    const char* text;
    int line;
    const char* complaint;
};

const BrokenScore kBrokenScores[] = {
    {"instrument a\npattern P\na: C4 D4 E4 F4 G4\norder P\n", 3, "5 steps"},
    {"instrument a\npattern P\na: C4 H4 . .\norder P\n", 3, "'H4' is not a note"},
    {"instrument a\npattern P\na: C4+ . . .\norder P\n", 3, "'C4+' is not a note"},
    {"instrument a\npattern P\nflute: C4\norder P\n", 3, "unknown instrument 'flute'"},
    {"instrument a\na: C4\n", 2, "outside a pattern"},
    {"instrument a\npattern P\na: C4\norder P Q\n", 4, "unknown pattern 'Q'"},
    {"instrument a\ninstrument b\npattern P\na: C4\nb: C4 | D4\norder P\n", 3, "another has 2"},
    {"instrument a gain=loud\n", 1, "gain needs a number"},
    {"instrument a gain=9\n", 1, "outside"},
    {"instrument a wave=organ\n", 1, "unknown wave"},
    {"instrument a shimmer=1\n", 1, "unknown instrument setting"},
    {"instrument a\ninstrument a\n", 2, "declared twice"},
    {"instrument a\npattern P\na: C4\n", 3, "no 'order' line"},
    {"tempi 120\n", 1, "unknown line"},
    {"tempo 5\n", 1, "'tempo' needs a number from 30"},
    {"rate 8000\n", 1, "22050 or 44100"},
    {"\n# a comment\nmeter 3.5\n", 3, "whole number"},
};

TEST(MusicScoreTest, AMalformedScoreNamesItsFileAndLine) {
    for (const BrokenScore& broken : kBrokenScores) {
        const ScoreResult result = parseScore(broken.text, "tiny.txt");
        const std::string where = "tiny.txt:" + std::to_string(broken.line) + ": ";
        EXPECT_EQ(result.error.rfind(where, 0), 0u) << broken.text << "-> " << result.error;
        EXPECT_NE(result.error.find(broken.complaint), std::string::npos)
            << broken.text << "-> " << result.error;
    }
}

// A note that rings past the end of a looping piece is heard over its start; a piece that does
// not loop starts in silence, and never wraps.
TEST(MusicMixerTest, LoopingPiecesFoldTheirTailsOntoTheStart) {
    const std::string score = "tempo 120\ninstrument bell wave=sine attack=0 decay=1 sustain=0\n"
                              "pattern P\nbell: - - - A4\norder P\n";
    for (const bool loops : {true, false}) {
        const Score parsed = parseOrFail(score + (loops ? "loop yes\n" : "loop no\n")).score;
        const std::vector<float> mixed = mixScore(parsed);
        ASSERT_EQ(mixed.size(), 2u * 22050u); // one bar of 4 beats at 120 bpm
        double start = 0.0;
        for (std::size_t i = 0; i < 22050 / 4; ++i) {
            start = std::max(start, static_cast<double>(std::abs(mixed[i])));
        }
        EXPECT_EQ(start > 0.1, loops) << start;
    }
}

// Noise is seeded, so the same score makes the same samples, and the mix peaks at -1 dBFS.
TEST(MusicMixerTest, RendersTheSameEveryTimeAtTheSamePeak) {
    const Score score = parseOrFail(std::string(kTinyScore) + "echo 0.5 0.4\n").score;
    const std::vector<float> first = mixScore(score);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, mixScore(score));
    float peak = 0.0f;
    for (float sample : first) {
        peak = std::max(peak, std::abs(sample));
    }
    EXPECT_NEAR(peak, kPeakLevel, 1e-4);
}

// The generator reports a broken or missing score on standard error and fails the build.
TEST(MusicMixerTest, TheGeneratorRefusesABrokenScore) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kaivaMusicTest" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "scores");
    std::ofstream(folder / "scores" / "worldHost.txt") << "tempo 96\n\nbass: D2\n";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(generateMusic(folder, folder));
    const std::string complaint = testing::internal::GetCapturedStderr();
    EXPECT_NE(complaint.find("worldHost.txt:3: unknown instrument 'bass'"), std::string::npos)
        << complaint;
    std::filesystem::remove(folder / "scores" / "worldHost.txt");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(generateMusic(folder, folder));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read"), std::string::npos);
    std::filesystem::remove_all(folder);
}
