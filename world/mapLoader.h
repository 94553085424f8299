// mapLoader.h -- the two map files (ground layer and object layer), their text format, the two
// loader threads that fill the grid while the game already runs, and the frame's map-ready check.
#pragma once

#include "shell/shared.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

enum class MapLayer { Ground, Object };

// A real row is a few kilobytes; a longer line is no map row, and reading on would let a broken
// file of gigabytes without a line feed take the memory.
constexpr std::size_t kLongestMapLine = std::size_t{1} << 20;

extern const char* const kGroundMapPath; // "./assets/maps/mapLv0.txt"
extern const char* const kObjectMapPath; // "./assets/maps/mapLv1.txt"

// How the loaders are doing. Written by the loader threads, read by the main loop: atomic.
struct MapLoadState {
    Shared<bool> groundFinished{false}; // the ground loader read its whole file
    Shared<bool> objectFinished{false};
    Shared<bool> failed{false};    // a loader met a malformed value and stopped
    Shared<bool> cancelled{false}; // the game is closing: loaders stop at the next line
};
extern MapLoadState mapLoad;

enum class ValueError { None, NotANumber, OutOfRange };

// Converts one value the way the standard string-to-int conversion does in base 10: leading
// white space skipped, an optional sign, digits up to the first non-digit, the result within
// int32. Never throws.
ValueError parseMapValue(std::string_view text, std::int32_t& value);

// Reads one map file into its layer of the grid. Returns false when a malformed value stopped
// it (reported on standard error with file, row, column and the text, its unprintable bytes
// escaped), or a line longer than any row could be, or something other than a regular file stands
// in its place; a missing file reads as empty. Runs on a loader thread; also callable directly by
// tests.
bool loadLayer(const std::string& path, MapLayer layer);

// The same reading from any stream of map text; `name` stands for the file in the reports. The
// fuzzer feeds the loader its inputs through here, from memory.
bool readLayer(std::istream& text, const std::string& name, MapLayer layer);

// The bodies of the two loader threads.
void loadGroundLayer();
void loadObjectLayer();

// Starts both loaders, ground first, each on its own thread (threads.groundLoader and
// threads.objectLoader).
void startMapLoaders();

// The frame's map-ready check: once the last cell is loaded and both loaders are done without
// error, prints "Thread Lv 0 Finito" and "Thread Lv 1 Finito", joins the loaders and places the
// characters, once. Returns true in the frame in which the map became complete.
bool checkMapReady();

// At exit: asks still-running loaders to stop and waits for them.
void stopMapLoaders();

void resetMapLoadState();
