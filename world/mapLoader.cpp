// mapLoader.cpp -- the map text format and the two loader threads.
//
// A map file is 250 lines of 250 values; each value is followed by one space, and the line's data
// ends at its first ";" (anything after it, a carriage return included, is ignored). A value not
// followed by a space is not taken. Line r fills grid row r, value k column k.
#include "world/mapLoader.h"

#include "shell/resources.h"
#include "world/characters.h"
#include "world/tileGrid.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <mutex>

const char* const kGroundMapPath = "./assets/maps/mapLv0.txt";
const char* const kObjectMapPath = "./assets/maps/mapLv1.txt";

MapLoadState mapLoad;

namespace {

// A malformed value is shown up to this many bytes: enough to recognise it, never a flood.
constexpr std::size_t kShownValueBytes = 64;
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::streamsize kLineChunk = 4096;

const char* describe(ValueError error) {
    return error == ValueError::OutOfRange ? "out of the int32 range" : "not a number";
}

// A broken file's bytes are shown as text only where they are printable ASCII; anything else
// (line ends, NUL, a terminal's escape sequences, Windows-1252 letters) as \xHH, so that what
// reaches the console is one plain line whatever the file holds.
std::string escapedForConsole(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, kShownValueBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            shown += '\\';
            shown += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            shown += "\\x";
            shown += kHexDigits[byte >> 4];
            shown += kHexDigits[byte & 0xF];
        }
    }
    if (text.size() > kShownValueBytes) {
        shown += "...";
    }
    return shown;
}

// Both loaders may report at once: each line goes out whole, in one write of standard error's
// stream (which the C library locks for it), never in pieces that the other's can split.
void reportLine(const std::string& text) {
    const std::string line = "kaiva: " + text + "; the map is not loaded\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void reportMalformed(const std::string& path, int row, int col, std::string_view text,
                     ValueError error) {
    reportLine(path + ": row " + std::to_string(row) + ", column " + std::to_string(col) +
               ": value \"" + escapedForConsole(text) + "\" is " + describe(error));
}

void reportUnreadable(const std::string& path, const std::string& why) {
    reportLine(path + ": " + why);
}

// Fills cell (row, col) of one layer with a value already converted (or malformed, in which case
// the layer's picture is only placed and the cell marked loaded, as a well-formed value would have
// left it first).
void storeValue(MapLayer layer, int row, int col, bool wellFormed, std::int32_t value) {
    changeCell(row, col, [=](Tile& cell) {
        (layer == MapLayer::Ground ? cell.groundPlaced : cell.objectPlaced) = true;
        cell.loaded = true;
        if (!wellFormed) {
            return;
        }
        if (layer == MapLayer::Ground) {
            cell.groundId = value;
            applyIdTable(cell, value); // ground 0 is classified too: it makes the cell draw nothing
        } else if (value != 0) {
            cell.objectId = value;
            applyIdTable(cell, value);
        }
    });
}

// Scans one line into grid row `row`. Returns false after reporting a malformed value.
bool loadLine(const std::string& path, MapLayer layer, int row, const std::string& line) {
    int col = 0;
    std::size_t valueStart = 0;
    for (std::size_t i = 0; i < line.size() && line[i] != ';'; ++i) {
        if (line[i] != ' ') {
            continue;
        }
        if (col < kGridSize) { // values beyond the last column are dropped
            const std::string_view text(line.data() + valueStart, i - valueStart);
            std::int32_t value = 0;
            const ValueError error = parseMapValue(text, value);
            storeValue(layer, row, col, error == ValueError::None, value);
            if (error != ValueError::None) {
                reportMalformed(path, row, col, text, error);
                return false;
            }
        }
        ++col;
        valueStart = i + 1;
    }
    return true;
}

enum class LineRead { Line, End, TooLong };

// std::getline without its unbounded appetite: a line of up to kLongestMapLine bytes (line feed
// excluded), read a chunk at a time. Through the stream's own getline, so that a read error (a
// failing disk) ends the file instead of throwing out of the loader thread.
LineRead readLine(std::istream& in, std::string& line) {
    line.clear();
    bool readAny = false;
    char chunk[kLineChunk];
    for (;;) {
        in.getline(chunk, kLineChunk);
        const auto got = static_cast<std::size_t>(in.gcount());
        readAny = readAny || got > 0;
        // The line feed was taken, and gcount counts it.
        const bool lineEnded = !in.fail() && !in.eof();
        line.append(chunk, lineEnded ? got - 1 : got);
        if (line.size() > kLongestMapLine) {
            return LineRead::TooLong;
        }
        if (lineEnded) {
            return LineRead::Line;
        }
        if (in.eof() || in.bad()) {
            return readAny ? LineRead::Line : LineRead::End;
        }
        in.clear(); // the chunk was full and the line goes on
    }
}

// Only a regular file is read. A folder, a pipe or a device in its place is reported: a pipe
// would block the loader (and the game's exit, which waits for it) until someone writes to it,
// and a device such as /dev/zero never ends.
bool isReadableMapFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || status.type() == std::filesystem::file_type::not_found) {
        return true; // a missing or unreachable file reads as empty, silently, like one not opened
    }
    if (status.type() != std::filesystem::file_type::regular) {
        reportUnreadable(path, "not a regular file");
        return false;
    }
    return true;
}

void finishLoader(MapLayer layer, bool ok) {
    if (!ok) {
        mapLoad.failed.store(true);
        return;
    }
    (layer == MapLayer::Ground ? mapLoad.groundFinished : mapLoad.objectFinished).store(true);
}

bool lastCellLoaded() {
    const int last = kGridSize - 1;
    std::lock_guard<std::mutex> lock(gridRowLock(last));
    return cellAt(last, last).loaded;
}

void joinIfJoinable(std::thread& thread) {
    if (thread.joinable()) {
        thread.join();
    }
}

} // namespace

ValueError parseMapValue(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    std::int64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            overflow = true;
            magnitude = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        }
    }
    if (i == firstDigit) {
        return ValueError::NotANumber;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (overflow || signedValue > std::numeric_limits<std::int32_t>::max() ||
        signedValue < std::numeric_limits<std::int32_t>::min()) {
        return ValueError::OutOfRange;
    }
    value = static_cast<std::int32_t>(signedValue);
    return ValueError::None;
}

bool readLayer(std::istream& text, const std::string& name, MapLayer layer) {
    std::string line;
    for (int row = 0; row < kGridSize; ++row) {
        const LineRead read = readLine(text, line);
        if (read == LineRead::End || mapLoad.cancelled.load()) {
            return true;
        }
        if (read == LineRead::TooLong) {
            reportUnreadable(name, "row " + std::to_string(row) + " is longer than " +
                                       std::to_string(kLongestMapLine) + " bytes");
            return false;
        }
        if (!loadLine(name, layer, row, line)) {
            return false;
        }
    }
    return true; // lines beyond the last row are dropped
}

bool loadLayer(const std::string& path, MapLayer layer) {
    if (!isReadableMapFile(path)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    return readLayer(file, path, layer);
}

void loadGroundLayer() {
    finishLoader(MapLayer::Ground, loadLayer(kGroundMapPath, MapLayer::Ground));
}

void loadObjectLayer() {
    finishLoader(MapLayer::Object, loadLayer(kObjectMapPath, MapLayer::Object));
}

void startMapLoaders() {
    threads.groundLoader = std::thread(loadGroundLayer);
    threads.objectLoader = std::thread(loadObjectLayer);
}

// The last cell is marked by whichever loader gets there first, and a loader can still meet a
// malformed value after that: the grid counts as complete only once both loaders have finished
// cleanly. Waiting for both here also means the joins below never hold up a frame.
bool checkMapReady() {
    if (!threads.groundLoader.joinable() && !threads.objectLoader.joinable()) {
        return false;
    }
    if (!lastCellLoaded() || mapLoad.failed.load() || !mapLoad.groundFinished.load() ||
        !mapLoad.objectFinished.load()) {
        return false;
    }
    if (threads.groundLoader.joinable()) {
        std::cout << "Thread Lv 0 Finito" << std::endl;
        threads.groundLoader.join();
    }
    if (threads.objectLoader.joinable()) {
        std::cout << "Thread Lv 1 Finito" << std::endl;
        threads.objectLoader.join();
        placeCharacters();
        return true;
    }
    return false;
}

void stopMapLoaders() {
    mapLoad.cancelled.store(true);
    joinIfJoinable(threads.groundLoader);
    joinIfJoinable(threads.objectLoader);
}

void resetMapLoadState() {
    mapLoad = MapLoadState{};
}
