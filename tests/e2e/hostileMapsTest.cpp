// hostileMapsTest.cpp -- the real game with broken or hostile map files in its asset folder: it
// keeps its window and keeps running, says at most one plain line per map on standard error, takes
// a well-formed map however strange its values, and closes with status 0.
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <sys/stat.h>

#include <functional>
#include <thread>

namespace {

using std::chrono::seconds;
namespace fs = std::filesystem;

constexpr int kRows = 250;
constexpr int kRowValues = 250;

// A map of `rows` lines of `values` copies of `value`, each followed by a space, then `end`.
std::string filledMap(const std::string& value, int rows = kRows, int values = kRowValues,
                      const std::string& end = ";\n") {
    std::string row;
    for (int i = 0; i < values; ++i) {
        row += value + " ";
    }
    row += end;
    std::string text;
    for (int r = 0; r < rows; ++r) {
        text += row;
    }
    return text;
}

std::string randomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    std::uint32_t state = 20240601u; // fixed: the same bytes on every run
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

using MakeMap = std::function<void(const fs::path& file)>;

MakeMap text(const std::string& contents) {
    return [contents](const fs::path& file) { writeTextFile(file, contents); };
}

// The shipped map of the same name as `file`, changed.
MakeMap shipped(std::string (*change)(std::string)) {
    return [change](const fs::path& file) {
        const fs::path original = fs::path(KAIVA_ASSETS_DIR) / "maps" / file.filename();
        writeTextFile(file, change(readTextFile(original)));
    };
}

std::string withWindowsLineEnds(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.insert(at, 1, '\r');
    }
    return text;
}

// Row 249's last value (the one before its " ;"), the cell whose loading completes the map.
std::string lastCellMalformed(std::string text) {
    const std::size_t end = text.rfind(" ;");
    const std::size_t start = text.rfind(' ', end - 1) + 1;
    return text.replace(start, end - start, "oops");
}

struct HostileMap {
    const char* name;
    MakeMap make;
    bool complete;       // well-formed and whole: the world loads and the characters are placed
    const char* message; // what the one line per layer on standard error says; "" for none
};

const char kNotLoaded[] = "the map is not loaded";

std::vector<HostileMap> hostileMaps() {
    return {
        {"EmptyFile", text(""), false, ""},
        {"RandomBytes", text(randomBytes(64 * 1024)), false, kNotLoaded},
        {"AHundredThousandValuesOnOneLine", text(filledMap("7", 1, 100000)), false, ""},
        {"TenThousandLines", text(filledMap("7", 10000, 1)), false, ""},
        {"HugeNumbers", text(filledMap("99999999999999999999")), false, "out of the int32 range"},
        {"LowestInt32Everywhere", text(filledMap("-2147483648")), true, ""},
        {"HighestInt32Everywhere", text(filledMap("2147483647")), true, ""},
        {"NegativeIds", text(filledMap("-7")), true, ""},
        {"IdsOfAHundredThousand", text(filledMap("100000")), true, ""},
        {"NulBytesOnly", text(std::string(4096, '\0')), false, ""},
        {"NulAfterEachValue", text(filledMap(std::string("3\0", 2))), true, ""},
        {"NulValues", text(filledMap(std::string(1, '\0'))), false, "not a number"},
        {"TerminalEscapes", text("\x1b[2J\x1b[31mkaiva\x07 ;\n"), false,
         "\\x1b[2J\\x1b[31mkaiva\\x07"},
        {"BytesAboveAscii", text("\xe0\xff\xfe ;\n"), false, "\\xe0\\xff\\xfe"},
        {"OnlySemicolons", text(filledMap("", kRows, 0)), false, ""},
        {"HalfAMap", text(filledMap("1", kRows / 2)), false, ""},
        {"SurplusRowsAndColumns", text(filledMap("501", 300, 300)), true, ""},
        {"WindowsLineEnds", text(filledMap("2", kRows, kRowValues, ";\r\n")), true, ""},
        {"TheShippedMapsWithWindowsLineEnds", shipped(withWindowsLineEnds), true, ""},
        {"AMalformedValueInTheVeryLastCell", shipped(lastCellMalformed), false,
         "row 249, column 249: value \"oops\" is not a number"},
        {"NoSemicolonAnywhere", text(filledMap("4", kRows, kRowValues, "\n")), true, ""},
        {"TwoMegabyteLine", text(std::string(2 << 20, '8')), false, "longer than"},
        {"AFolder", [](const fs::path& file) { fs::create_directories(file); }, false,
         "not a regular file"},
        {"APipe", [](const fs::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, false,
         "not a regular file"},
        {"ALinkToDevZero", [](const fs::path& file) { fs::create_symlink("/dev/zero", file); },
         false, "not a regular file"},
    };
}

// A game folder whose textures, font and music are the build's (linked, not copied) and whose two
// map files are both the hostile one: each loader meets it.
fs::path gameFolderWith(const HostileMap& map) {
    const fs::path folder = makeTempDir("hostile");
    for (const char* part : {"textures", "font", "music"}) {
        fs::create_directories(folder / "assets");
        fs::create_directory_symlink(fs::path(KAIVA_ASSETS_DIR) / part, folder / "assets" / part);
    }
    fs::create_directories(folder / "assets/maps");
    map.make(folder / "assets/maps/mapLv0.txt");
    map.make(folder / "assets/maps/mapLv1.txt");
    return folder;
}

bool onlyPlainLines(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '\n' || (byte >= 0x20 && byte < 0x7F);
    });
}

class RealGameHostileMap : public EndToEndTest<HostileMap> {};

} // namespace

TEST_P(RealGameHostileMap, TheGameKeepsRunningSaysOneLinePerMapAndClosesWithStatusZero) {
    const HostileMap& map = GetParam();
    const fs::path folder = gameFolderWith(map);
    {
        GameProcess game(folder);
        const XWindow window = game.waitForWindow(seconds(30));
        ASSERT_NE(window, 0u) << game.errors().substr(0, 2000);
        EXPECT_FALSE(game.waitForExit(seconds(3))) << "the game ended by itself";
        if (map.complete) {
            EXPECT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(20)));
        }
        game.requestClose(window);
        EXPECT_EQ(game.waitForExit(closeGrace()), 0) << game.errors().substr(0, 4000);

        EXPECT_EQ(game.console(), map.complete ? "Thread Lv 0 Finito\nThread Lv 1 Finito\n" : "");
        const std::string errors = game.errors();
        EXPECT_TRUE(onlyPlainLines(errors)) << errors.substr(0, 2000);
        EXPECT_LT(errors.size(), 1000u) << errors.substr(0, 2000);
        const bool said = *map.message != '\0';
        EXPECT_EQ(countOf(errors, kNotLoaded), said ? 2u : 0u) << errors;
        if (said) {
            EXPECT_EQ(countOf(errors, map.message), 2u) << errors;
        }
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Maps, RealGameHostileMap, ::testing::ValuesIn(hostileMaps()),
                         [](const auto& info) { return std::string(info.param.name); });
