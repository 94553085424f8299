// mapReaderFuzz.cpp -- libFuzzer's way into the game's map reader: any bytes, read as the ground
// map and then as the object map of one grid, must fill exactly the cells a plain reading of the
// text names, with the values the standard string-to-int conversion gives, and nothing else;
// AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's own timeout and leak checks watch
// for the rest (a write outside the grid, an overflow, a hang, a leak).
#include "world/mapLoader.h"
#include "world/tileGrid.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// One value the map names for a cell: its text, and what std::stoi makes of it (nothing when it
// throws, which makes the map malformed at this cell).
struct NamedValue {
    std::string text;
    std::optional<int> value;
};

std::optional<int> standardConversion(const std::string& text) {
    try {
        return std::stoi(text);
    } catch (const std::logic_error&) { // invalid_argument and out_of_range
        return std::nullopt;
    }
}

// The map as the format describes it, read independently of the loader: lines split at line
// feeds, each line's data ending at its first ";", the values being the pieces followed by a space.
// Each row lists the values up to the first malformed one (included), or nothing for a line too
// long to be a row; `whole` tells whether the loader should have read the text to its end.
struct ExpectedMap {
    std::vector<std::vector<NamedValue>> rows;
    bool whole = true;
};

std::vector<NamedValue> expectedRow(const std::string& line, bool& whole) {
    std::vector<NamedValue> row;
    const std::string data = line.substr(0, line.find(';'));
    std::size_t start = 0;
    for (std::size_t space = data.find(' ');
         space != std::string::npos && whole && row.size() < static_cast<std::size_t>(kGridSize);
         space = data.find(' ', start)) {
        const std::string text = data.substr(start, space - start);
        row.push_back({text, standardConversion(text)});
        whole = row.back().value.has_value();
        start = space + 1;
    }
    return row;
}

ExpectedMap expectedMap(const std::string& text) {
    ExpectedMap map;
    std::size_t start = 0;
    while (start < text.size() && map.whole &&
           map.rows.size() < static_cast<std::size_t>(kGridSize)) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end - start > kLongestMapLine) {
            map.whole = false;
            break;
        }
        map.rows.push_back(expectedRow(text.substr(start, end - start), map.whole));
        start = end + 1;
    }
    return map;
}

// Written with C's stdio: the loader's own reports on std::cerr are silenced below.
[[noreturn]] void fail(const std::string& what, int row, int col) {
    std::fprintf(stderr, "map reader fault: %s at row %d, column %d\n", what.c_str(), row, col);
    std::abort();
}

// Every cell of the rows the text reaches, and of the row after them: loaded exactly where a value
// was named, holding the converted value where it was well-formed.
void checkLayer(const ExpectedMap& map, MapLayer layer) {
    const int rowsToCheck = std::min(static_cast<int>(map.rows.size()) + 1, kGridSize);
    for (int row = 0; row < rowsToCheck; ++row) {
        const std::size_t named =
            row < static_cast<int>(map.rows.size()) ? map.rows[row].size() : 0;
        for (int col = 0; col < kGridSize; ++col) {
            const Tile& cell = cellAt(row, col);
            if (cell.loaded != (static_cast<std::size_t>(col) < named)) {
                fail(cell.loaded ? "a cell no value names is loaded" : "a named cell is not loaded",
                     row, col);
            }
            const std::optional<int> value = cell.loaded ? map.rows[row][col].value : std::nullopt;
            const int id = layer == MapLayer::Ground ? cell.groundId : cell.objectId;
            if (value && id != *value && (layer == MapLayer::Ground || *value != 0)) {
                fail("the cell holds " + std::to_string(id) + " instead of " +
                         std::to_string(*value),
                     row, col);
            }
        }
    }
}

void clearRows(int rows) {
    for (int row = 0; row < std::min(rows + 1, kGridSize); ++row) {
        for (int col = 0; col < kGridSize; ++col) {
            changeCell(row, col, [](Tile& cell) { cell = Tile(); });
        }
    }
}

void readAndCheck(const std::string& text, const ExpectedMap& map, MapLayer layer) {
    std::istringstream stream(text);
    if (readLayer(stream, "fuzz.txt", layer) != map.whole) {
        fail(map.whole ? "a well-formed map was refused" : "a malformed map was accepted", 0, 0);
    }
    checkLayer(map, layer);
}

} // namespace

// Nearly every input is malformed, and the loader says so on standard error each time: its line is
// built all the same, but not written, so that the fuzzer's own output stays readable.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cerr.setstate(std::ios::badbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ExpectedMap map = expectedMap(text);
    // Each layer on a clean grid, so that one layer's cells cannot hide the other's.
    readAndCheck(text, map, MapLayer::Ground);
    clearRows(static_cast<int>(map.rows.size()));
    readAndCheck(text, map, MapLayer::Object);
    clearRows(static_cast<int>(map.rows.size()));
    return 0;
}
