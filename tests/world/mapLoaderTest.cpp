// mapLoaderTest.cpp -- reading the map text format into the grid, well-formed or not.
#include "testSupport.h"

#include "shell/gameState.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

#include <sstream>

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
