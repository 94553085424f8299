// worldPictureTest.cpp -- the batched world passes draw exactly what one textured rectangle per
// cell drew, on the shipped maps and sheets; the loaded grid holds the cells the world is built
// around; collision rectangles and sheet arithmetic hold for every cell and every id.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

const std::string kAssets = KAIVA_ASSETS_DIR;
const std::string kGroundFile = kAssets + "/maps/mapLv0.txt";
const std::string kObjectFile = kAssets + "/maps/mapLv1.txt";

// The old drawing, kept as the reference: one sf::RectangleShape per cell, sized, placed, filled
// and textured as the loaders and the id table used to leave it, drawn cell by cell.
void drawLayerCellByCell(sf::RenderTarget& target, bool ground) {
    const VisibleWindow window = world.visibleWindow.load();
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            const Tile& cell = cellAt(row, col);
            if ((ground ? cell.groundId : cell.objectId) == 0) {
                continue;
            }
            const sf::FloatRect bounds = ground ? groundBounds(row, col) : objectBounds(row, col);
            sf::RectangleShape shape({bounds.width, bounds.height});
            shape.setPosition(bounds.left, bounds.top);
            if (ground) {
                shape.setFillColor(groundFill(cell));
            }
            shape.setTexture(ground ? &tileSheet : &objectSheet, false);
            const int sheetCol = ground ? cell.groundSheetCol : cell.objectSheetCol;
            const int sheetRow = ground ? cell.groundSheetRow : cell.objectSheetRow;
            shape.setTextureRect({sheetCol * 320, sheetRow * 320, 320, 320});
            target.draw(shape);
        }
    }
}

// The same triangles as the batched passes, drawn one cell at a time (six vertices of a fan, as a
// shape has, placed from the view's corner and drawn through the view moved to the origin).
void drawLayerAsPerCellFans(sf::RenderTarget& target, bool ground) {
    const sf::View view = target.getView();
    const sf::Vector2f corner = view.getCenter() - view.getSize() * 0.5f;
    sf::View fromCorner = view;
    fromCorner.setCenter(view.getSize() * 0.5f);
    target.setView(fromCorner);
    const VisibleWindow window = world.visibleWindow.load();
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            const Tile& cell = cellAt(row, col);
            if ((ground ? cell.groundId : cell.objectId) == 0) {
                continue;
            }
            sf::FloatRect b = ground ? groundBounds(row, col) : objectBounds(row, col);
            b.left -= corner.x;
            b.top -= corner.y;
            const float u = (ground ? cell.groundSheetCol : cell.objectSheetCol) * 320.0f;
            const float v = (ground ? cell.groundSheetRow : cell.objectSheetRow) * 320.0f;
            const sf::Color fill = ground ? groundFill(cell) : sf::Color::White;
            const sf::Vertex fan[6] = {
                {{b.left + 50, b.top + 50}, fill, {u + 160, v + 160}},
                {{b.left, b.top}, fill, {u, v}},
                {{b.left + 100, b.top}, fill, {u + 320, v}},
                {{b.left + 100, b.top + 100}, fill, {u + 320, v + 320}},
                {{b.left, b.top + 100}, fill, {u, v + 320}},
                {{b.left, b.top}, fill, {u, v}},
            };
            target.draw(fan, 6, sf::TriangleFan, ground ? &tileSheet : &objectSheet);
        }
    }
    target.setView(view);
}

class WorldPictureTest : public GameTest {
protected:
    static void SetUpTestSuite() {
        loadWorldSheets();
        ASSERT_TRUE(tileSheetOpaque); // so the ground is drawn without blending, as in the game
    }
    static void TearDownTestSuite() { forgetWorldSheets(); }

    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(batched_.create(1920, 1080));
        ASSERT_TRUE(reference_.create(1920, 1080));
    }

    // The batched ground and object passes against a reference drawing of both layers, through a
    // camera centred here.
    PictureDifference compare(sf::Vector2f centre, void (*reference)(sf::RenderTarget&, bool)) {
        sf::View view({0, 0, 1920, 1080});
        view.setCenter(centre);
        updateVisibleWindow(view, kScreenCellsWide, kScreenCellsHigh);
        for (sf::RenderTexture* target : {&batched_, &reference_}) {
            target->setView(view);
            target->clear(sf::Color(10, 20, 30));
        }
        drawGroundPass(batched_);
        drawObjectPass(batched_);
        reference(reference_, true);
        reference(reference_, false);
        batched_.display();
        reference_.display();
        return differenceOf(batched_.getTexture().copyToImage(),
                            reference_.getTexture().copyToImage());
    }

    // Against the shapes, the picture may differ by a rounding step: a shape's translation is
    // composed with the view in single precision on the graphics side, where the batch carries
    // coordinates from the view's corner. Any real fault (a wrong, missing or misplaced picture, a
    // wrong fill or order) changes many pixels by far more.
    void expectSameAsShapes(sf::Vector2f centre, const char* place) {
        const PictureDifference shapes = compare(centre, drawLayerCellByCell);
        EXPECT_LE(shapes.largest, 2) << place;
        EXPECT_LT(shapes.pixels, 1920 * 1080 / 100) << place;
        const PictureDifference fans = compare(centre, drawLayerAsPerCellFans);
        EXPECT_EQ(fans.pixels, 0) << place;
    }

    sf::RenderTexture batched_;
    sf::RenderTexture reference_;
};

struct Place {
    const char* name;
    sf::Vector2f centre;
};

// The start, a stretch of forest, the river with its bridge, the map's corners, and a camera
// between pixels, as walking leaves it.
const Place kPlaces[] = {
    {"start", {960, 540}},
    {"forest east of the camp", {3900, 1000}},
    {"bridge", {1750, 750}},
    {"top-left edge", {0, 0}},
    {"bottom-right edge", {24950, 24950}},
    {"desert", {1400, 4800}},
    {"between pixels", {1234.5625f, 987.25f}},
};

} // namespace

TEST_F(WorldPictureTest, BatchedPassesMatchOneShapePerCellOnTheShippedMaps) {
    ASSERT_TRUE(loadLayer(kGroundFile, MapLayer::Ground));
    ASSERT_TRUE(loadLayer(kObjectFile, MapLayer::Object));
    for (const Place& place : kPlaces) {
        expectSameAsShapes(place.centre, place.name);
    }
}

// While the loaders fill the grid, half-loaded rows (ground ahead of objects) look the same both
// ways too.
TEST_F(WorldPictureTest, BatchedPassesMatchWhileTheGridIsHalfLoaded) {
    const std::filesystem::path dir = makeTempDir("halfmap");
    const std::string ground = readTextFile(kGroundFile);
    const std::string objects = readTextFile(kObjectFile);
    std::size_t groundEnd = 0;
    for (int line = 0; line < 9; ++line) {
        groundEnd = ground.find('\n', groundEnd) + 1;
    }
    std::size_t objectEnd = 0;
    for (int line = 0; line < 4; ++line) {
        objectEnd = objects.find('\n', objectEnd) + 1;
    }
    // The ground's last row read breaks off in the middle, as a loader between two values.
    writeTextFile(dir / "ground.txt", ground.substr(0, groundEnd + 200) + ";\n");
    writeTextFile(dir / "objects.txt", objects.substr(0, objectEnd));
    ASSERT_TRUE(loadLayer((dir / "ground.txt").string(), MapLayer::Ground));
    ASSERT_TRUE(loadLayer((dir / "objects.txt").string(), MapLayer::Object));
    ASSERT_TRUE(cellAt(9, 0).loaded);
    ASSERT_FALSE(cellAt(9, 249).loaded);
    ASSERT_FALSE(cellAt(10, 0).loaded);
    expectSameAsShapes({960, 540}, "start");
}

// The places the world is built around hold the ids, pictures and properties the story needs.
TEST_F(WorldPictureTest, TheShippedGridHoldsItsLandmarks) {
    ASSERT_TRUE(loadLayer(kGroundFile, MapLayer::Ground));
    ASSERT_TRUE(loadLayer(kObjectFile, MapLayer::Object));
    struct Landmark {
        const char* what;
        int col, row;
        int objectId;
        const char* name;
        bool blocking;
    };
    const Landmark landmarks[] = {
        {"the camp's fire", 8, 4, 516, "Falo' Rigenerante", true},
        {"the chief's tent", 8, 2, 519, "Tenda del Capo Tribu'", false},
        {"the heroine's start, free ground", 9, 5, 0, "", false},
        {"the swordfish basket", 27, 35, 539, "Cesta del Pesce Spada", true},
        {"the weapons basket", 3, 15, 545, "Cesta di Armi", true},
        {"the chest", 49, 37, 509, "Cassa Misteriosa", true},
    };
    for (const Landmark& l : landmarks) {
        SCOPED_TRACE(l.what);
        const Tile& cell = cellAt(l.row, l.col);
        EXPECT_EQ(cell.objectId, l.objectId);
        EXPECT_EQ(cell.name, l.name);
        EXPECT_EQ(cell.blocking, l.blocking);
        EXPECT_TRUE(cell.loaded);
        EXPECT_EQ(objectBounds(l.row, l.col), cellSquare(l.row, l.col));
        if (l.objectId != 0) {
            EXPECT_EQ(cell.objectSheetCol, (l.objectId - 500) % 5);
            EXPECT_EQ(cell.objectSheetRow, (l.objectId - 500) / 5);
        }
    }
    // A cell of object value 0 keeps its ground picture: grass at the start, opaque and drawn.
    const Tile& start = cellAt(5, 9);
    EXPECT_GT(start.groundId, 0);
    EXPECT_EQ(groundFill(start), sf::Color::White);
    EXPECT_EQ(start.groundSheetCol, (start.groundId - 1) % 5);
    EXPECT_EQ(start.groundSheetRow, (start.groundId - 1) / 5);
    // The river beside the bridge is water, the bridge itself is not.
    const Tile& river = cellAt(8, 17);
    EXPECT_EQ(river.water, 1);
    EXPECT_TRUE(river.blocking);
    EXPECT_EQ(river.name, "Fiume rinfrescante");
    const Tile& bridge = cellAt(7, 17);
    EXPECT_EQ(bridge.water, 0);
    EXPECT_FALSE(bridge.blocking);
    // A ravine edge of the pass.
    const Tile& ravine = cellAt(38, 14);
    EXPECT_GE(ravine.groundId, 12);
    EXPECT_LE(ravine.groundId, 25);
    EXPECT_TRUE(ravine.blocking);
    EXPECT_EQ(ravine.name, "Burrone");
}

// Every cell's collision rectangle is its square once its object value was read, and the empty
// rectangle at (0, 0) before.
TEST_F(WorldPictureTest, CollisionRectanglesAreTheObjectPicturesBounds) {
    const std::filesystem::path dir = makeTempDir("bounds");
    const std::string objects = readTextFile(kObjectFile);
    writeTextFile(dir / "objects.txt", objects.substr(0, objects.size() / 2));
    ASSERT_TRUE(loadLayer((dir / "objects.txt").string(), MapLayer::Object));
    int placed = 0;
    for (int row = 0; row < kGridSize; ++row) {
        for (int col = 0; col < kGridSize; ++col) {
            const sf::FloatRect expected = cellAt(row, col).loaded
                                               ? sf::FloatRect(col * 100.0f, row * 100.0f, 100, 100)
                                               : sf::FloatRect(0, 0, 0, 0);
            ASSERT_EQ(objectBounds(row, col), expected) << "row " << row << " col " << col;
            placed += cellAt(row, col).loaded ? 1 : 0;
        }
    }
    EXPECT_GT(placed, kGridCells / 3);
    EXPECT_LT(placed, kGridCells * 2 / 3);
}

// No 32-bit id overflows the sheet arithmetic; ids beyond a sheet's pictures show nothing.
TEST(SheetArithmetic, AnyIdGivesASheetCellAndOnlyCellsOnTheSheetAreDrawn) {
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    const std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    Tile cell;
    applyIdTable(cell, lowest);
    EXPECT_EQ(cell.groundSheetCol, static_cast<std::int32_t>((std::int64_t{lowest} - 1) % 5));
    EXPECT_EQ(cell.groundSheetRow, static_cast<std::int32_t>((std::int64_t{lowest} - 1) / 5));
    applyIdTable(cell, highest);
    EXPECT_EQ(cell.objectSheetCol, (highest - 500) % 5);
    EXPECT_EQ(cell.objectSheetRow, (highest - 500) / 5);

    sf::IntRect rect;
    EXPECT_FALSE(sheetRect(cell.objectSheetCol, cell.objectSheetRow, 10, rect));
    EXPECT_FALSE(sheetRect(-4, 0, 10, rect));
    EXPECT_FALSE(sheetRect(0, -1, 10, rect));
    EXPECT_FALSE(sheetRect(0, 10, 10, rect));
    EXPECT_FALSE(sheetRect(0, 0, 0, rect)); // a sheet that did not load has no pictures
    ASSERT_TRUE(sheetRect(4, 9, 10, rect));
    EXPECT_EQ(rect, sf::IntRect(1280, 2880, 320, 320));
}

// The ground is drawn without blending only over a sheet without a single transparent pixel.
TEST(GroundSheet, IsOpaqueOnlyWhenEveryPixelIs) {
    const std::filesystem::path dir = makeTempDir("groundsheet");
    sf::Image sheet;
    sheet.create(640, 320, sf::Color(40, 120, 40));
    ASSERT_TRUE(sheet.saveToFile((dir / "opaque.png").string()));
    sheet.setPixel(639, 319, sf::Color(40, 120, 40, 254));
    ASSERT_TRUE(sheet.saveToFile((dir / "seethrough.png").string()));

    EXPECT_TRUE(loadGroundSheet((dir / "opaque.png").string()));
    EXPECT_TRUE(tileSheetOpaque);
    EXPECT_TRUE(tileSheet.isSmooth());
    EXPECT_TRUE(loadGroundSheet((dir / "seethrough.png").string()));
    EXPECT_FALSE(tileSheetOpaque);
    EXPECT_FALSE(loadGroundSheet((dir / "absent.png").string()));
    EXPECT_FALSE(tileSheetOpaque);
    EXPECT_EQ(tileSheet.getSize(), sf::Vector2u(0, 0));
    tileSheet = sf::Texture();
}
