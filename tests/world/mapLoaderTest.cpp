// mapLoaderTest.cpp -- reading the map text format into the grid, well-formed or not.
#include "testSupport.h"

#include "shell/gameState.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

#include <sys/stat.h>

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sstream>
#include <unistd.h>

namespace {

struct CellExpectation {
    int row;
    int col;
    bool loaded;
    int id; // groundId or objectId, by the case's layer
};

struct ParseCase {
    const char* what;
    MapLayer layer;
    std::string contents;
    bool ok;
    std::vector<CellExpectation> cells;
};

std::string repeatValue(const std::string& value, int count) {
    std::string line;
    for (int i = 0; i < count; ++i) {
        line += value + " ";
    }
    return line;
}

int layerId(const Tile& cell, MapLayer layer) {
    return layer == MapLayer::Ground ? cell.groundId : cell.objectId;
}

std::vector<ParseCase> parseCases() {
    const MapLayer ground = MapLayer::Ground;
    const MapLayer object = MapLayer::Object;
    return {
        {"three values then ;",
         ground,
         "3 3 3 ;\n",
         true,
         {{0, 0, true, 3}, {0, 1, true, 3}, {0, 2, true, 3}, {0, 3, false, 0}}},
        {"last value glued to ;", ground, "3 3 3;\n", true, {{0, 1, true, 3}, {0, 2, false, 0}}},
        {"text after ; ignored",
         ground,
         "5 ;9 9 9 \n6 ;junk\n",
         true,
         {{0, 0, true, 5}, {0, 1, false, 0}, {1, 0, true, 6}, {1, 1, false, 0}}},
        {"trailing letters, plus and minus",
         ground,
         "12abc +7 -3 \t4 ;\n",
         true,
         {{0, 0, true, 12}, {0, 1, true, 7}, {0, 2, true, -3}, {0, 3, true, 4}}},
        {"int32 limits",
         ground,
         "2147483647 -2147483648 ;\n",
         true,
         {{0, 0, true, 2147483647}, {0, 1, true, -2147483647 - 1}}},
        {"CRLF line ends",
         ground,
         "1 2 ;\r\n4 5 ;\r\n",
         true,
         {{0, 0, true, 1}, {0, 1, true, 2}, {0, 2, false, 0}, {1, 0, true, 4}, {1, 1, true, 5}}},
        {"no ; reads to the line's end",
         ground,
         "7 8 9\n1 ;\n",
         true,
         {{0, 0, true, 7}, {0, 1, true, 8}, {0, 2, false, 0}, {1, 0, true, 1}}},
        {"surplus values dropped",
         ground,
         repeatValue("2", 260) + ";\n",
         true,
         {{0, 249, true, 2}, {1, 0, false, 0}, {1, 9, false, 0}}},
        {"object 0 is sized and marked but not an object",
         object,
         "0 510 ;\n",
         true,
         {{0, 0, true, 0}, {0, 1, true, 510}}},
        {"empty value from two spaces",
         ground,
         "1  2 ;\n3 ;\n",
         false,
         {{0, 0, true, 1}, {0, 1, true, 0}, {0, 2, false, 0}, {1, 0, false, 0}}},
        {"no digits",
         object,
         "500 tree 500 ;\n",
         false,
         {{0, 0, true, 500}, {0, 1, true, 0}, {0, 2, false, 0}}},
        {"above int32", ground, "99999999999 ;\n", false, {{0, 0, true, 0}}},
        {"below int32", ground, "-2147483649 ;\n", false, {{0, 0, true, 0}}},
        {"a sign alone", ground, "+ ;\n", false, {{0, 0, true, 0}}},
    };
}

} // namespace

class MapLoaderTest : public GameTest {};

TEST_F(MapLoaderTest, ReadsTheTextFormatAndSurvivesMalformedFiles) {
    const std::filesystem::path dir = makeTempDir("parse");
    for (const ParseCase& c : parseCases()) {
        resetGameState();
        const std::filesystem::path file = dir / "map.txt";
        writeTextFile(file, c.contents);
        testing::internal::CaptureStderr();
        const bool ok = loadLayer(file.string(), c.layer);
        const std::string errors = testing::internal::GetCapturedStderr();
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(errors.empty(), c.ok) << errors;
        for (const CellExpectation& e : c.cells) {
            const Tile& cell = cellAt(e.row, e.col);
            EXPECT_EQ(cell.loaded, e.loaded) << "cell " << e.row << "," << e.col;
            EXPECT_EQ(layerId(cell, c.layer), e.id) << "cell " << e.row << "," << e.col;
        }
    }
}

TEST_F(MapLoaderTest, AMalformedValueIsReportedWithFileRowColumnAndText) {
    const std::filesystem::path file = makeTempDir("report") / "mapLv1.txt";
    writeTextFile(file, "500 ;\n500 500 12x O50 ;\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadLayer(file.string(), MapLayer::Object));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(file.string()), std::string::npos) << errors;
    EXPECT_NE(errors.find("row 1, column 3"), std::string::npos) << errors;
    EXPECT_NE(errors.find("\"O50\""), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(cellAt(1, 2).objectId, 12); // 12x reads as 12
}

// Whatever bytes a broken file holds, its report is one plain line: printable ASCII as it is, the
// rest as \xHH, and a long value cut.
TEST_F(MapLoaderTest, AMalformedValueReachesTheConsoleAsOnePlainLine) {
    struct Case {
        std::string value;
        std::string shown;
    };
    const Case cases[] = {
        {"\x1b[2J\x1b[31mx", "\\x1b[2J\\x1b[31mx"},
        {std::string("\0\x01z", 3), "\\x00\\x01z"},
        {"x\r", "x\\x0d"},
        {"\tq", "\\x09q"},
        {"\xe0t\xff\x7f", "\\xe0t\\xff\\x7f"},
        {"q\\\"", "q\\\\\\\""},
        {std::string(65, 'z'), std::string(64, 'z') + "..."},
        {std::string(64, 'z'), std::string(64, 'z')},
    };
    for (const Case& c : cases) {
        resetGameState();
        std::istringstream map(c.value + " ;\n");
        testing::internal::CaptureStderr();
        EXPECT_FALSE(readLayer(map, "maps/mapLv0.txt", MapLayer::Ground));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "kaiva: maps/mapLv0.txt: row 0, column 0: value \"" + c.shown +
                      "\" is not a number; the map is not loaded\n");
    }
}

// A line is read up to kLongestMapLine bytes; one byte more and the map is not loaded.
TEST_F(MapLoaderTest, ALineLongerThanAnyRowStopsTheMap) {
    const std::string atLimit = "5 ;" + std::string(kLongestMapLine - 3, '#');
    const std::string tooLong =
        "row 1 is longer than " + std::to_string(kLongestMapLine) + " bytes";
    struct Case {
        const char* what;
        std::string text;
        bool ok;
        std::string report;
        int lastRowLoaded;
    };
    const Case cases[] = {
        {"at the limit", "1 ;\n" + atLimit + "\n6 ;\n", true, "", 2},
        {"at the limit, at the file's end", "1 ;\n" + atLimit, true, "", 1},
        {"one byte over", "1 ;\n" + atLimit + "#\n6 ;\n", false, tooLong, 0},
        {"over, no line feed", "1 ;\n" + atLimit + std::string(3 << 20, '#'), false, tooLong, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetGameState();
        std::istringstream map(c.text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(readLayer(map, "map.txt", MapLayer::Ground), c.ok);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find(c.report), std::string::npos) << errors;
        EXPECT_EQ(errors.empty(), c.ok) << errors;
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(cellAt(row, 0).loaded, row <= c.lastRowLoaded) << "row " << row;
        }
    }
}

// A folder, a pipe or a device in place of a map file is reported and not read: a pipe would
// block the loader, and the game's exit with it, until someone wrote to it.
TEST_F(MapLoaderTest, OnlyARegularFileIsRead) {
    const std::filesystem::path dir = makeTempDir("irregular");
    writeTextFile(dir / "real.txt", "9 ;\n");
    struct Case {
        const char* what;
        void (*make)(const std::filesystem::path& at, const std::filesystem::path& real);
        bool ok;
    };
    const Case cases[] = {
        {"a folder", [](const auto& at, const auto&) { std::filesystem::create_directory(at); },
         false},
        {"a pipe", [](const auto& at, const auto&) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); },
         false},
        {"a link to /dev/zero",
         [](const auto& at, const auto&) { std::filesystem::create_symlink("/dev/zero", at); },
         false},
        {"a link to a map file",
         [](const auto& at, const auto& real) { std::filesystem::create_symlink(real, at); }, true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetGameState();
        const std::filesystem::path map = dir / ("map" + std::to_string(++index) + ".txt");
        c.make(map, dir / "real.txt");
        testing::internal::CaptureStderr();
        auto loading = std::async(std::launch::async,
                                  [&] { return loadLayer(map.string(), MapLayer::Ground); });
        if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            close(open(map.c_str(), O_WRONLY | O_NONBLOCK)); // a writer comes and goes: EOF
            ADD_FAILURE() << "the loader waited for the pipe";
        }
        EXPECT_EQ(loading.get(), c.ok);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(errors, c.ok ? ""
                               : "kaiva: " + map.string() +
                                     ": not a regular file; the map is not loaded\n");
        EXPECT_EQ(cellAt(0, 0).groundId, c.ok ? 9 : 0);
    }
}

// Long lines are read in pieces: whatever the length, a line ends at its own line feed and the next
// row starts after it.
TEST_F(MapLoaderTest, LinesOfAnyLengthEndAtTheirLineFeed) {
    for (const std::size_t length : {4090, 4094, 4095, 4096, 4097, 8191, 8192, 8193, 70000}) {
        resetGameState();
        std::istringstream map("5 ;" + std::string(length - 3, '#') + "\n6 7 ;\n");
        ASSERT_TRUE(readLayer(map, "map.txt", MapLayer::Ground)) << length;
        EXPECT_EQ(cellAt(0, 0).groundId, 5) << length;
        EXPECT_FALSE(cellAt(0, 1).loaded) << length;
        EXPECT_EQ(cellAt(1, 0).groundId, 6) << length;
        EXPECT_EQ(cellAt(1, 1).groundId, 7) << length;
        EXPECT_FALSE(cellAt(2, 0).loaded) << length;
    }
}

// A read error ends the map like the file's end: the error never leaves the loader thread as an
// exception (a folder opened as a file fails to read).
TEST_F(MapLoaderTest, AReadErrorEndsTheMapWithoutThrowing) {
    std::ifstream folder(makeTempDir("readerror"), std::ios::binary);
    ASSERT_TRUE(folder.is_open());
    bool ok = false;
    EXPECT_NO_THROW(ok = readLayer(folder, "folder", MapLayer::Ground));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(cellAt(0, 0).loaded);
}

TEST_F(MapLoaderTest, ObjectCellsAreSizedPlacedAndClassified) {
    const std::filesystem::path file = makeTempDir("object") / "map.txt";
    writeTextFile(file, "0 510 ;\n");
    ASSERT_TRUE(loadLayer(file.string(), MapLayer::Object));
    const Tile& empty = cellAt(0, 0);
    EXPECT_EQ(objectBounds(0, 0), sf::FloatRect(0, 0, 100, 100));
    EXPECT_TRUE(empty.name.empty());
    const Tile& tent = cellAt(0, 1);
    EXPECT_EQ(objectBounds(0, 1), sf::FloatRect(100, 0, 100, 100));
    EXPECT_EQ(tent.name, "Tenda");
    EXPECT_EQ(groundBounds(0, 1), sf::FloatRect(0, 0, 0, 0)); // the other layer is untouched
}

TEST_F(MapLoaderTest, GroundZeroIsClassifiedToDrawNothing) {
    const std::filesystem::path file = makeTempDir("ground0") / "map.txt";
    writeTextFile(file, "0 15 ;\n");
    ASSERT_TRUE(loadLayer(file.string(), MapLayer::Ground));
    EXPECT_EQ(cellAt(0, 0).groundSheetCol, -1);
    EXPECT_EQ(groundFill(cellAt(0, 0)), sf::Color(0, 0, 0, 0));
    EXPECT_EQ(groundBounds(0, 0), sf::FloatRect(0, 0, 100, 100));
    EXPECT_TRUE(cellAt(0, 1).blocking);
    EXPECT_EQ(cellAt(0, 1).name, "Burrone");
    EXPECT_EQ(groundBounds(0, 1), sf::FloatRect(100, 0, 100, 100));
}

TEST_F(MapLoaderTest, SurplusLinesAreDroppedAndAMissingFileReadsAsEmpty) {
    const std::filesystem::path dir = makeTempDir("surplus");
    std::string text;
    for (int row = 0; row < 255; ++row) {
        text += std::to_string(row % 9 + 1) + " ;\n";
    }
    writeTextFile(dir / "long.txt", text);
    ASSERT_TRUE(loadLayer((dir / "long.txt").string(), MapLayer::Ground));
    EXPECT_EQ(cellAt(249, 0).groundId, 249 % 9 + 1);
    EXPECT_FALSE(cellAt(249, 1).loaded);

    resetGameState();
    EXPECT_TRUE(loadLayer((dir / "absent.txt").string(), MapLayer::Ground));
    EXPECT_FALSE(cellAt(0, 0).loaded);
}

TEST(MapValue, ConvertsLikeTheStandardStringToInt) {
    struct Case {
        const char* text;
        ValueError error;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", ValueError::None, 0},
        {"  42", ValueError::None, 42},
        {"\t-7x", ValueError::None, -7},
        {"+0012", ValueError::None, 12},
        {"", ValueError::NotANumber, 0},
        {"-", ValueError::NotANumber, 0},
        {"x1", ValueError::NotANumber, 0},
        {"+-1", ValueError::NotANumber, 0},
        {"2147483648", ValueError::OutOfRange, 0},
        {"-2147483648", ValueError::None, -2147483647 - 1},
        {"123456789012345678901234567890", ValueError::OutOfRange, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(parseMapValue(c.text, value), c.error) << '"' << c.text << '"';
        if (c.error == ValueError::None) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

// The two loaders report at the same time when both maps are broken: each report stays one whole
// line, never cut by the other's.
TEST_F(MapLoaderTest, TwoLoadersReportingAtOnceWriteWholeLines) {
    const std::filesystem::path folder = makeTempDir("both-broken");
    const std::filesystem::path ground = folder / "mapLv0.txt";
    const std::filesystem::path object = folder / "mapLv1.txt";
    writeTextFile(ground, "1 oops ;\n");
    writeTextFile(object, "500 nope ;\n");
    const std::string groundLine =
        "kaiva: " + ground.string() +
        ": row 0, column 1: value \"oops\" is not a number; the map is not loaded";
    const std::string objectLine =
        "kaiva: " + object.string() +
        ": row 0, column 1: value \"nope\" is not a number; the map is not loaded";
    constexpr int kRounds = 3000;
    testing::internal::CaptureStderr();
    std::atomic<int> ready{0};
    const auto loadOver = [&](const std::filesystem::path& file, MapLayer layer) {
        ++ready;
        while (ready.load() < 2) {
        }
        for (int i = 0; i < kRounds; ++i) {
            loadLayer(file.string(), layer);
        }
    };
    auto other = std::async(std::launch::async, loadOver, object, MapLayer::Object);
    loadOver(ground, MapLayer::Ground);
    other.get();
    std::istringstream errors(testing::internal::GetCapturedStderr());
    int lines = 0;
    for (std::string line; std::getline(errors, line); ++lines) {
        ASSERT_TRUE(line == groundLine || line == objectLine) << "a line cut: " << line;
    }
    EXPECT_EQ(lines, 2 * kRounds);
}
