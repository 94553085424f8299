// score.cpp -- reads our score files: header lines, instruments, patterns of notes per track, and
// the order the patterns play in. A mistake is reported with its file and line, never a crash.
#include "score.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>
#include <utility>

namespace {

using Words = std::vector<std::string>;

// Where a track stands inside the pattern being written, and which notes a '.' keeps holding.
struct TrackCursor {
    long tick = 0;
    std::vector<std::size_t> held;
};

struct Pattern {
    std::string name;
    int line = 0;
    std::vector<NoteEvent> notes; // ticks counted from the start of the pattern
    std::map<int, TrackCursor> tracks;
};

struct OrderEntry {
    std::string pattern;
    int line = 0;
};

struct Reader {
    Score score;
    std::vector<Pattern> patterns;
    std::vector<OrderEntry> order;
    int line = 0;
};

// What one token of a track line does on its step.
enum class StepKind { Hold, Rest, Play };
struct Step {
    StepKind kind = StepKind::Rest;
    std::vector<int> midis;
    float velocity = 0.0f;
};

constexpr float kNoteVelocity = 0.8f;
constexpr float kAccentVelocity = 1.0f;

// Drum hits play the instrument's own pitch; the letter says how hard.
const std::pair<const char*, float> kHits[] = {{"x", 0.8f}, {"X", 1.0f}, {"o", 0.45f}};

const std::pair<char, int> kNoteLetters[] = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                             {'G', 7}, {'A', 9}, {'B', 11}};

// A comment starts with a '#' that begins a word; the '#' of a sharp (C#4) is inside one.
std::string withoutComment(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1])))) {
            return text.substr(0, i);
        }
    }
    return text;
}

Words splitWords(const std::string& line) {
    const std::string text = withoutComment(line);
    std::string spaced;
    for (char c : text) {
        spaced += (c == '|') ? std::string(" | ") : std::string(1, c);
    }
    std::istringstream stream(spaced);
    Words words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string at(const std::string& source, int line, const std::string& what) {
    return source + ":" + std::to_string(line) + ": " + what;
}

std::optional<Step> parseNotes(std::string token) {
    Step step{StepKind::Play, {}, kNoteVelocity};
    if (!token.empty() && token.back() == '!') {
        step.velocity = kAccentVelocity;
        token.pop_back();
    }
    if (token.empty() || token.back() == '+') {
        return std::nullopt;
    }
    std::istringstream parts(token);
    for (std::string part; std::getline(parts, part, '+');) {
        const std::optional<int> midi = midiNumber(part);
        if (!midi) {
            return std::nullopt;
        }
        step.midis.push_back(*midi);
    }
    return step;
}

std::optional<Step> parseStep(const std::string& token, const Instrument& instrument) {
    if (token == ".") {
        return Step{StepKind::Hold, {}, 0.0f};
    }
    if (token == "-") {
        return Step{StepKind::Rest, {}, 0.0f};
    }
    for (const auto& [letter, velocity] : kHits) {
        if (token == letter) {
            return Step{StepKind::Play, {static_cast<int>(instrument.pitch)}, velocity};
        }
    }
    return parseNotes(token);
}

void playStep(Pattern& pattern, int instrument, const Step& step, long ticks) {
    TrackCursor& cursor = pattern.tracks[instrument];
    if (step.kind == StepKind::Hold) {
        for (std::size_t index : cursor.held) {
            pattern.notes[index].lengthTicks += ticks;
        }
    } else {
        cursor.held.clear();
    }
    for (int midi : step.midis) {
        cursor.held.push_back(pattern.notes.size());
        pattern.notes.push_back({instrument, cursor.tick, ticks, midi, step.velocity});
    }
    cursor.tick += ticks;
}

std::string playBar(Reader& reader, int instrument, const Words& tokens) {
    const long barTicks = reader.score.barTicks();
    const long count = static_cast<long>(tokens.size());
    if (barTicks % count != 0) {
        return "a bar of " + std::to_string(count) + " steps does not split " +
               std::to_string(reader.score.beatsPerBar) + " beats evenly";
    }
    for (const std::string& token : tokens) {
        const std::optional<Step> step = parseStep(token, reader.score.instruments[instrument]);
        if (!step) {
            return "'" + token + "' is not a note (like F#4 or D3+A3, '!' to accent), " +
                   "a hit (x X o), a hold (.) or a rest (-)";
        }
        playStep(reader.patterns.back(), instrument, *step, barTicks / count);
    }
    return {};
}

std::optional<int> findInstrument(const Score& score, const std::string& name) {
    for (std::size_t i = 0; i < score.instruments.size(); ++i) {
        if (score.instruments[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

// "lead: D5 . F5 A5 | G5 . . ." -- every group between bar lines is one whole bar.
std::string readTrackLine(Reader& reader, const Words& words) {
    const std::string name = words[0].substr(0, words[0].size() - 1);
    const std::optional<int> instrument = findInstrument(reader.score, name);
    if (!instrument) {
        return "unknown instrument '" + name + "'";
    }
    if (reader.patterns.empty()) {
        return "notes for '" + name + "' outside a pattern";
    }
    Words bar;
    for (std::size_t i = 1; i <= words.size(); ++i) {
        if (i < words.size() && words[i] != "|") {
            bar.push_back(words[i]);
            continue;
        }
        const std::string error = bar.empty() ? "" : playBar(reader, *instrument, bar);
        if (!error.empty()) {
            return error;
        }
        bar.clear();
    }
    return {};
}

std::string expectCount(const Words& words, std::size_t count) {
    if (words.size() != count) {
        return "'" + words[0] + "' takes " + std::to_string(count - 1) + " value(s)";
    }
    return {};
}

std::string readBounded(const Words& words, float low, float high, float& out) {
    std::string error = expectCount(words, 2);
    const std::optional<float> number = parseNumber(words.size() > 1 ? words[1] : "");
    if (error.empty() && (!number || *number < low || *number > high)) {
        std::ostringstream what;
        what << "'" << words[0] << "' needs a number from " << low << " to " << high;
        error = what.str();
    }
    if (error.empty()) {
        out = *number;
    }
    return error;
}

std::string readTempo(Reader& reader, const Words& words) {
    return readBounded(words, 30.0f, 300.0f, reader.score.tempo);
}

std::string readTail(Reader& reader, const Words& words) {
    return readBounded(words, 0.0f, 10.0f, reader.score.tail);
}

std::string readFade(Reader& reader, const Words& words) {
    return readBounded(words, 0.0f, 10.0f, reader.score.fade);
}

std::string readMeter(Reader& reader, const Words& words) {
    if (!reader.patterns.empty()) {
        return "'meter' must come before the first pattern";
    }
    float beats = 0.0f;
    std::string error = readBounded(words, 1.0f, 12.0f, beats);
    if (error.empty() && beats != std::floor(beats)) {
        error = "'meter' needs a whole number of beats";
    }
    reader.score.beatsPerBar = static_cast<int>(beats);
    return error;
}

std::string readRate(Reader& reader, const Words& words) {
    std::string error = expectCount(words, 2);
    if (error.empty() && words[1] != "22050" && words[1] != "44100") {
        error = "'rate' is 22050 or 44100";
    }
    if (error.empty()) {
        reader.score.sampleRate = static_cast<unsigned>(std::stoul(words[1]));
    }
    return error;
}

std::string readLoop(Reader& reader, const Words& words) {
    std::string error = expectCount(words, 2);
    if (error.empty() && words[1] != "yes" && words[1] != "no") {
        error = "'loop' is yes or no";
    }
    reader.score.loops = error.empty() && words[1] == "yes";
    return error;
}

// "echo <delay in beats> <feedback>"
std::string readEcho(Reader& reader, const Words& words) {
    std::string error = expectCount(words, 3);
    if (!error.empty()) {
        return error;
    }
    error = readBounded({"echo delay", words[1]}, 0.05f, 8.0f, reader.score.echoBeats);
    if (error.empty()) {
        error = readBounded({"echo feedback", words[2]}, 0.0f, 0.9f, reader.score.echoFeedback);
    }
    return error;
}

// "instrument flute wave=triangle attack=0.05 ..."
std::string readInstrument(Reader& reader, const Words& words) {
    if (words.size() < 2) {
        return "'instrument' needs a name";
    }
    if (findInstrument(reader.score, words[1])) {
        return "instrument '" + words[1] + "' is declared twice";
    }
    Instrument instrument;
    instrument.name = words[1];
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        if (equals == std::string::npos) {
            return "'" + words[i] + "' is not a key=value setting";
        }
        const std::string error =
            setInstrumentParam(instrument, words[i].substr(0, equals), words[i].substr(equals + 1));
        if (!error.empty()) {
            return error;
        }
    }
    reader.score.instruments.push_back(instrument);
    return {};
}

std::string readPattern(Reader& reader, const Words& words) {
    std::string error = expectCount(words, 2);
    for (const Pattern& pattern : reader.patterns) {
        if (error.empty() && pattern.name == words[1]) {
            error = "pattern '" + words[1] + "' is written twice";
        }
    }
    if (error.empty()) {
        reader.patterns.push_back({words[1], reader.line, {}, {}});
    }
    return error;
}

std::string readOrder(Reader& reader, const Words& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        reader.order.push_back({words[i], reader.line});
    }
    return {};
}

using DirectiveReader = std::string (*)(Reader&, const Words&);
const std::pair<const char*, DirectiveReader> kDirectives[] = {
    {"tempo", readTempo},     {"meter", readMeter},
    {"rate", readRate},       {"loop", readLoop},
    {"tail", readTail},       {"fade", readFade},
    {"echo", readEcho},       {"instrument", readInstrument},
    {"pattern", readPattern}, {"order", readOrder},
};

std::string readLine(Reader& reader, const Words& words) {
    if (words[0].size() > 1 && words[0].back() == ':') {
        return readTrackLine(reader, words);
    }
    for (const auto& [keyword, read] : kDirectives) {
        if (words[0] == keyword) {
            return read(reader, words);
        }
    }
    return "unknown line '" + words[0] + "' (a track line starts with 'name:')";
}

// Every track of a pattern must cover the same number of whole bars.
std::optional<long> patternLength(const Pattern& pattern, const Score& score, std::string& error) {
    long length = 0;
    for (const auto& [instrument, cursor] : pattern.tracks) {
        length = std::max(length, cursor.tick);
    }
    for (const auto& [instrument, cursor] : pattern.tracks) {
        if (cursor.tick != length) {
            error = "in pattern '" + pattern.name + "', track '" +
                    score.instruments[instrument].name + "' has " +
                    std::to_string(cursor.tick / score.barTicks()) + " bars, another has " +
                    std::to_string(length / score.barTicks());
            return std::nullopt;
        }
    }
    if (length == 0) {
        error = "pattern '" + pattern.name + "' has no notes";
        return std::nullopt;
    }
    return length;
}

std::string appendPattern(Reader& reader, const OrderEntry& entry, const std::string& source) {
    const auto found = std::find_if(reader.patterns.begin(), reader.patterns.end(),
                                    [&](const Pattern& p) { return p.name == entry.pattern; });
    if (found == reader.patterns.end()) {
        return at(source, entry.line, "the order names an unknown pattern '" + entry.pattern + "'");
    }
    std::string error;
    const std::optional<long> length = patternLength(*found, reader.score, error);
    if (!length) {
        return at(source, found->line, error);
    }
    for (NoteEvent note : found->notes) {
        note.startTick += reader.score.lengthTicks;
        reader.score.notes.push_back(note);
    }
    reader.score.lengthTicks += *length;
    return {};
}

std::string lastChecks(const Score& score) {
    const double echoTicks = score.echoBeats * kTicksPerBeat;
    if (score.echoFeedback > 0.0f && score.loops && echoTicks >= score.lengthTicks) {
        return "the echo is longer than the whole piece";
    }
    return {};
}

std::string assemble(Reader& reader, const std::string& source) {
    if (reader.order.empty()) {
        return at(source, reader.line, "no 'order' line: which patterns play, and when?");
    }
    for (const OrderEntry& entry : reader.order) {
        const std::string error = appendPattern(reader, entry, source);
        if (!error.empty()) {
            return error;
        }
    }
    const std::string error = lastChecks(reader.score);
    return error.empty() ? error : at(source, reader.order.back().line, error);
}

} // namespace

ScoreResult parseScore(const std::string& text, const std::string& sourceName) {
    Reader reader;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        ++reader.line;
        const Words words = splitWords(line);
        const std::string error = words.empty() ? "" : readLine(reader, words);
        if (!error.empty()) {
            return {{}, at(sourceName, reader.line, error)};
        }
    }
    const std::string error = assemble(reader, sourceName);
    return {error.empty() ? reader.score : Score{}, error};
}

std::optional<int> midiNumber(const std::string& name) {
    if (name.size() < 2 || name.size() > 3) {
        return std::nullopt;
    }
    const auto letter = std::find_if(std::begin(kNoteLetters), std::end(kNoteLetters),
                                     [&](const auto& entry) { return entry.first == name[0]; });
    const char octave = name.back();
    if (letter == std::end(kNoteLetters) || octave < '0' || octave > '9') {
        return std::nullopt;
    }
    int accidental = 0;
    if (name.size() == 3) {
        if (name[1] != '#' && name[1] != 'b') {
            return std::nullopt;
        }
        accidental = name[1] == '#' ? 1 : -1;
    }
    return (octave - '0' + 1) * 12 + letter->second + accidental;
}

double midiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

std::optional<float> parseNumber(const std::string& text) {
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
