// brokenFiles.h -- the ways a file can be broken, as a table shared by the tests that break the
// game's assets: gone, empty, cut short, a folder, random bytes, a pipe, a device.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

struct Breakage {
    const char* name;
    std::function<void(const std::filesystem::path& file)> apply; // on an existing file
    bool soundStillOpens; // a WAV cut short keeps its header: it opens, and plays what is left
};

extern const Breakage kBreakages[8];

// Failures name the breakage, not its bytes.
void PrintTo(const Breakage& breakage, std::ostream* out);
