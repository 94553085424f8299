// brokenFiles.cpp -- the ways a file can be broken.
#include "brokenFiles.h"

#include "testSupport.h"

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kHeaderBytes = 64; // past a WAV's or a PNG's header, into the data

std::string randomBytes(std::uintmax_t count, std::uint32_t seed) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

void keepFirst(const fs::path& file, std::uintmax_t bytes) {
    writeTextFile(file, readTextFile(file).substr(0, bytes));
}

void replaceWith(const fs::path& file, const std::function<void(const fs::path&)>& make) {
    fs::remove(file);
    make(file);
}

} // namespace

const Breakage kBreakages[8] = {
    {"Missing", [](const fs::path& file) { fs::remove(file); }, false},
    {"Empty", [](const fs::path& file) { writeTextFile(file, ""); }, false},
    {"CutInHalf", [](const fs::path& file) { keepFirst(file, fs::file_size(file) / 2); }, true},
    {"CutAfterItsHeader", [](const fs::path& file) { keepFirst(file, kHeaderBytes); }, true},
    {"AFolder",
     [](const fs::path& file) {
         replaceWith(file, [](const fs::path& at) { fs::create_directory(at); });
     },
     false},
    {"RandomBytes",
     [](const fs::path& file) {
         // Seeded by the file's name: the same bytes in every run, different in each file.
         const auto seed =
             static_cast<std::uint32_t>(std::hash<std::string>{}(file.filename().string()));
         writeTextFile(file, randomBytes(fs::file_size(file), seed));
     },
     false},
    {"APipe",
     [](const fs::path& file) {
         replaceWith(file, [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); });
     },
     false},
    {"ALinkToDevZero",
     [](const fs::path& file) {
         replaceWith(file, [](const fs::path& at) { fs::create_symlink("/dev/zero", at); });
     },
     false},
};

void PrintTo(const Breakage& breakage, std::ostream* out) {
    *out << breakage.name;
}
