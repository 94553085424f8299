// textureSheetTest.cpp -- the generated texture sheets: exact sizes, something drawn in every
// cell the game cuts, rivers and ravines that join across cells, ground that tiles, walkers that
// face both ways, and panels dark enough for white text.
#include "tools/assetgen/assetIds.h"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr unsigned kCell = 320;  // ground and object cells
constexpr unsigned kFrame = 160; // character, hint, icon and weapon frames

const sf::Image& sheet(const std::string& file) {
    static std::map<std::string, sf::Image> loaded;
    auto found = loaded.find(file);
    if (found == loaded.end()) {
        sf::Image image;
        image.loadFromFile(std::string(KAIVA_ASSETS_DIR) + "/textures/" + file);
        found = loaded.emplace(file, image).first;
    }
    return found->second;
}

struct Rect {
    unsigned left, top, width, height;
};

Rect groundCell(int id) {
    const unsigned i = static_cast<unsigned>(id - 1);
    return {(i % 5) * kCell, (i / 5) * kCell, kCell, kCell};
}

Rect objectCell(int id) {
    const unsigned i = static_cast<unsigned>(id - object::kTreeLeafy);
    return {(i % 5) * kCell, (i / 5) * kCell, kCell, kCell};
}

Rect frameCell(unsigned row, unsigned column) {
    return {column * kFrame, row * kFrame, kFrame, kFrame};
}

double coverage(const sf::Image& image, const Rect& r) {
    unsigned opaque = 0;
    for (unsigned y = r.top; y < r.top + r.height; ++y) {
        for (unsigned x = r.left; x < r.left + r.width; ++x) {
            opaque += image.getPixel(x, y).a > 0 ? 1 : 0;
        }
    }
    return static_cast<double>(opaque) / (r.width * r.height);
}

double luminance(sf::Color c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

double meanLuminance(const sf::Image& image, const Rect& r) {
    double sum = 0;
    for (unsigned y = r.top; y < r.top + r.height; ++y) {
        for (unsigned x = r.left; x < r.left + r.width; ++x) {
            sum += luminance(image.getPixel(x, y));
        }
    }
    return sum / (r.width * r.height);
}

// A column (or row) of a cell `offset` pixels from its west (or north) side, listed north to
// south (or west to east).
std::vector<sf::Color> pixelLine(const sf::Image& image, const Rect& cell, bool column,
                                 unsigned offset) {
    std::vector<sf::Color> line;
    for (unsigned i = 0; i < kCell; ++i) {
        line.push_back(column ? image.getPixel(cell.left + offset, cell.top + i)
                              : image.getPixel(cell.left + i, cell.top + offset));
    }
    return line;
}

enum class Side { North, South, West, East };

std::vector<sf::Color> edge(const sf::Image& image, const Rect& cell, Side side) {
    const bool column = side == Side::West || side == Side::East;
    const bool far = side == Side::South || side == Side::East;
    return pixelLine(image, cell, column, far ? kCell - 1 : 0);
}

// Mean absolute difference of two pixel lines over the colour channels.
double lineDifference(const std::vector<sf::Color>& a, const std::vector<sf::Color>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sum += std::abs(a[i].r - b[i].r) + std::abs(a[i].g - b[i].g) + std::abs(a[i].b - b[i].b);
    }
    return sum / (3.0 * static_cast<double>(a.size()));
}

// Two neighbouring texel columns inside one noisy ground cell differ by about this much; a seam
// between cells that join must stay in the same range, a seam that does not join goes far past.
constexpr double kSeamTolerance = 16;
constexpr double kMismatch = 30;

// ------------------------------------------------------------------------------------------
struct SheetSize {
    const char* file;
    unsigned width, height;
};

const SheetSize kSheets[] = {
    {"tileTable.png", 1600, 1920}, {"objectTable.png", 1600, 3200},   {"NPC-map.png", 640, 1920},
    {"kaiva-map.png", 640, 640},   {"speech-map.png", 480, 160},      {"talk-map.png", 480, 480},
    {"icon-map.png", 800, 640},    {"descrizioni-map.png", 480, 160}, {"weapons-map.png", 480, 160},
    {"battle.png", 480, 270},
};

TEST(TextureSheet, EverySheetHasItsExactSize) {
    for (const SheetSize& s : kSheets) {
        SCOPED_TRACE(s.file);
        EXPECT_EQ(sheet(s.file).getSize().x, s.width);
        EXPECT_EQ(sheet(s.file).getSize().y, s.height);
    }
}

// ------------------------------------------------------------------------------------------
struct DrawnCell {
    std::string file;
    Rect rect;
    double minCoverage; // 1 for cells that must be fully opaque
    std::string what;
};

std::vector<DrawnCell> drawnCells() {
    std::vector<DrawnCell> cells;
    for (int id = 1; id <= ground::kLastGroundId; ++id) {
        cells.push_back({"tileTable.png", groundCell(id), 1.0, "ground " + std::to_string(id)});
    }
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        cells.push_back({"objectTable.png", objectCell(id), 0.04, "object " + std::to_string(id)});
    }
    for (unsigned column = 0; column < 2; ++column) {
        cells.push_back({"NPC-map.png", frameCell(1, column), 0.1, "the sage"});
    }
    for (unsigned row = 2; row < 12; ++row) {
        for (unsigned column = 0; column < 4; ++column) {
            cells.push_back(
                {"NPC-map.png", frameCell(row, column), 0.1, "NPC row " + std::to_string(row)});
        }
    }
    for (unsigned row = 0; row < 4; ++row) {
        for (unsigned column = 0; column < 4; ++column) {
            cells.push_back({"kaiva-map.png", frameCell(row, column), 0.1,
                             "heroine row " + std::to_string(row)});
        }
    }
    for (unsigned column = 0; column < 3; ++column) {
        cells.push_back({"speech-map.png", frameCell(0, column), 0.3, "talk hint"});
        cells.push_back({"weapons-map.png", frameCell(0, column), 0.08, "weapon"});
    }
    const std::pair<unsigned, unsigned> icons[] = {{0, 0}, {0, 1}, {0, 2}, {0, 4},
                                                   {1, 0}, {1, 1}, {1, 2}, {1, 3}};
    for (const auto& [row, column] : icons) {
        cells.push_back({"icon-map.png", frameCell(row, column), 0.1, "icon"});
    }
    cells.push_back({"icon-map.png", {0, 320, 320, 320}, 1.0, "inventory panel"});
    cells.push_back({"talk-map.png", {0, 240, 480, 240}, 1.0, "dialogue box"});
    cells.push_back({"talk-map.png", {0, 0, 240, 80}, 1.0, "name plate"});
    cells.push_back({"talk-map.png", {0, 80, 320, 80}, 1.0, "choice button"});
    cells.push_back({"talk-map.png", {0, 160, 320, 80}, 1.0, "hovered button"});
    cells.push_back({"descrizioni-map.png", {0, 0, 240, 160}, 1.0, "plain description"});
    cells.push_back({"descrizioni-map.png", {240, 0, 240, 160}, 1.0, "water description"});
    cells.push_back({"battle.png", {0, 0, 480, 270}, 1.0, "battle backdrop"});
    return cells;
}

TEST(TextureSheet, EveryCellTheGameCutsIsDrawn) {
    for (const DrawnCell& cell : drawnCells()) {
        SCOPED_TRACE(cell.file + ": " + cell.what + " at " + std::to_string(cell.rect.left) + "," +
                     std::to_string(cell.rect.top));
        EXPECT_GE(coverage(sheet(cell.file), cell.rect), cell.minCoverage);
    }
}

TEST(TextureSheet, ObjectsLeaveTheGroundVisibleAroundThem) {
    // Only rivers and bridges reach every side; a tree or a tent must not paint over its cell.
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        SCOPED_TRACE("object " + std::to_string(id));
        EXPECT_LT(coverage(sheet("objectTable.png"), objectCell(id)), 0.85);
    }
}

TEST(TextureSheet, SpriteObjectsHaveADarkOutline) {
    // At 100 x 100 on any ground an object reads by its silhouette: the pixels of its shape that
    // touch transparency are ink.
    const sf::Image& objects = sheet("objectTable.png");
    for (int id = object::kTreeLeafy; id <= object::kLastObjectId; ++id) {
        if ((id >= object::kRiverEastWest && id <= object::kRiverSouthWest) ||
            id == object::kBridgeOverNorthSouth || id == object::kBridgeOverEastWest) {
            continue;
        }
        SCOPED_TRACE("object " + std::to_string(id));
        const Rect cell = objectCell(id);
        // Sample each 10 x 10 texel once; outside the cell counts as transparent.
        const auto clearAt = [&](int tx, int ty) {
            return tx < 0 || ty < 0 || tx >= 32 || ty >= 32 ||
                   objects.getPixel(cell.left + static_cast<unsigned>(tx) * 10 + 5,
                                    cell.top + static_cast<unsigned>(ty) * 10 + 5)
                           .a == 0;
        };
        unsigned rim = 0;
        unsigned dark = 0;
        for (int ty = 0; ty < 32; ++ty) {
            for (int tx = 0; tx < 32; ++tx) {
                const bool nextToClear = clearAt(tx + 1, ty) || clearAt(tx - 1, ty) ||
                                         clearAt(tx, ty + 1) || clearAt(tx, ty - 1);
                if (!clearAt(tx, ty) && nextToClear) {
                    ++rim;
                    const sf::Color c =
                        objects.getPixel(cell.left + static_cast<unsigned>(tx) * 10 + 5,
                                         cell.top + static_cast<unsigned>(ty) * 10 + 5);
                    dark += luminance(c) < 50 ? 1 : 0;
                }
            }
        }
        ASSERT_GT(rim, 0u);
        EXPECT_GE(static_cast<double>(dark) / rim, 0.95);
    }
}

// How much of its cell an object fills: tents and leafy trees fill it, an apple or pebbles do not.
struct ObjectSize {
    int id;
    double least, most;
};

const ObjectSize kObjectSizes[] = {
    {object::kTreeLeafy, 0.45, 0.85}, {object::kTent, 0.35, 0.85},
    {object::kChiefTent, 0.45, 0.85}, {object::kApple, 0.04, 0.2},
    {object::kPebbles, 0.04, 0.25},   {object::kFlowers, 0.04, 0.3},
    {object::kMannequin, 0.15, 0.6},  {object::kCampfire, 0.25, 0.75},
};

TEST(TextureSheet, ObjectsAreSizedLikeWhatTheyShow) {
    for (const ObjectSize& size : kObjectSizes) {
        SCOPED_TRACE("object " + std::to_string(size.id));
        const double filled = coverage(sheet("objectTable.png"), objectCell(size.id));
        EXPECT_GE(filled, size.least);
        EXPECT_LE(filled, size.most);
    }
    EXPECT_GT(coverage(sheet("objectTable.png"), objectCell(object::kChiefTent)),
              coverage(sheet("objectTable.png"), objectCell(object::kTent)));
}

TEST(TextureSheet, TalkHintsShowABoldSignOnTheirBubble) {
    // Shown 36 pixels wide: the "...", "E" and "!" must be thick strokes in strong contrast
    // with the bubble around them.
    const sf::Image& hints = sheet("speech-map.png");
    for (unsigned frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE("hint " + std::to_string(frame));
        const Rect middle{frame * kFrame + 40, 25, 80, 70};
        const double bubble = luminance(hints.getPixel(frame * kFrame + 30, 30));
        unsigned sign = 0;
        for (unsigned y = middle.top; y < middle.top + middle.height; ++y) {
            for (unsigned x = middle.left; x < middle.left + middle.width; ++x) {
                sign += std::abs(luminance(hints.getPixel(x, y)) - bubble) > 90 ? 1 : 0;
            }
        }
        EXPECT_GE(static_cast<double>(sign) / (middle.width * middle.height), 0.08);
    }
}

// ------------------------------------------------------------------------------------------
// The river pieces and bridges, with the sides where water leaves the cell.
struct RiverPiece {
    int id;
    bool north, south, west, east;
};

const RiverPiece kRiverPieces[] = {
    {object::kRiverEastWest, false, false, true, true},
    {object::kRiverNorthSouth, true, true, false, false},
    {object::kRiverNorthEast, true, false, false, true},
    {object::kRiverNorthWest, true, false, true, false},
    {object::kRiverSouthEast, false, true, false, true},
    {object::kRiverSouthWest, false, true, true, false},
    {object::kBridgeOverNorthSouth, true, true, false, false},
    {object::kBridgeOverEastWest, false, false, true, true},
};

TEST(TextureSheet, RiverPiecesJoinPixelForPixel) {
    const sf::Image& objects = sheet("objectTable.png");
    for (const RiverPiece& a : kRiverPieces) {
        for (const RiverPiece& b : kRiverPieces) {
            SCOPED_TRACE(std::to_string(a.id) + " next to " + std::to_string(b.id));
            if (a.east && b.west) {
                EXPECT_TRUE(edge(objects, objectCell(a.id), Side::East) ==
                            edge(objects, objectCell(b.id), Side::West));
            }
            if (a.south && b.north) {
                EXPECT_TRUE(edge(objects, objectCell(a.id), Side::South) ==
                            edge(objects, objectCell(b.id), Side::North));
            }
        }
    }
}

TEST(TextureSheet, RiverWaterLeavesOnlyThroughItsOpenSides) {
    const sf::Image& objects = sheet("objectTable.png");
    for (const RiverPiece& piece : kRiverPieces) {
        SCOPED_TRACE("river piece " + std::to_string(piece.id));
        const std::pair<Side, bool> sides[] = {{Side::North, piece.north},
                                               {Side::South, piece.south},
                                               {Side::West, piece.west},
                                               {Side::East, piece.east}};
        for (const auto& [side, open] : sides) {
            unsigned drawn = 0;
            for (const sf::Color c : edge(objects, objectCell(piece.id), side)) {
                drawn += c.a > 0 ? 1 : 0;
            }
            // An open side carries the band of water and banks; a closed one is bare.
            EXPECT_EQ(drawn > kCell / 4, open);
            EXPECT_EQ(drawn == 0, !open);
        }
    }
}

// ------------------------------------------------------------------------------------------
// What lies along each side of a ground cell, read north to south or west to east:
// G grass, S sand, D chasm, A ground then chasm, B chasm then ground, g grass then sand,
// s sand then grass.
struct SideProfile {
    int id;
    char north, south, west, east;
};

const SideProfile kJoiningGround[] = {
    {ground::kGrass, 'G', 'G', 'G', 'G'},          {ground::kSand, 'S', 'S', 'S', 'S'},
    {ground::kRavineDeep, 'D', 'D', 'D', 'D'},     {ground::kRavineRocks, 'D', 'D', 'D', 'D'},
    {ground::kRavineEdgeN, 'G', 'D', 'A', 'A'},    {ground::kRavineEdgeS, 'D', 'G', 'B', 'B'},
    {ground::kRavineEdgeW, 'A', 'A', 'G', 'D'},    {ground::kRavineEdgeE, 'B', 'B', 'D', 'G'},
    {ground::kRavineCornerNW, 'G', 'A', 'G', 'A'}, {ground::kRavineCornerNE, 'G', 'B', 'A', 'G'},
    {ground::kRavineCornerSW, 'A', 'G', 'G', 'B'}, {ground::kRavineCornerSE, 'B', 'G', 'B', 'G'},
    {ground::kRavineInnerNW, 'A', 'D', 'A', 'D'},  {ground::kRavineInnerNE, 'B', 'D', 'D', 'A'},
    {ground::kRavineInnerSW, 'D', 'A', 'B', 'D'},  {ground::kRavineInnerSE, 'D', 'B', 'D', 'B'},
    {ground::kSandEdgeN, 'G', 'S', 'g', 'g'},      {ground::kSandEdgeS, 'S', 'G', 's', 's'},
    {ground::kSandEdgeW, 'g', 'g', 'G', 'S'},      {ground::kSandEdgeE, 's', 's', 'S', 'G'},
};

// Seams that should vanish stay small; seams between sides that do not belong together (a
// cliff meeting open grass, grass meeting sand) must show, or the comparison proves nothing.
void expectSeam(const SideProfile& a, char aSide, Side aEdge, const SideProfile& b, char bSide,
                Side bEdge) {
    const sf::Image& tiles = sheet("tileTable.png");
    const double difference =
        lineDifference(edge(tiles, groundCell(a.id), aEdge), edge(tiles, groundCell(b.id), bEdge));
    SCOPED_TRACE(std::to_string(a.id) + " next to " + std::to_string(b.id));
    if (aSide == bSide) {
        EXPECT_LT(difference, kSeamTolerance);
    } else if ((aSide == 'G' && bSide == 'D') || (aSide == 'A' && bSide == 'B') ||
               (aSide == 'G' && bSide == 'S') || (aSide == 'g' && bSide == 's')) {
        EXPECT_GT(difference, kMismatch);
    }
}

TEST(TextureSheet, RavinesAndSandEdgesJoinTheirNeighbours) {
    for (const SideProfile& a : kJoiningGround) {
        for (const SideProfile& b : kJoiningGround) {
            expectSeam(a, a.east, Side::East, b, b.west, Side::West);
            expectSeam(a, a.south, Side::South, b, b.north, Side::North);
        }
    }
}

// The difference between two neighbouring texel lines inside the cell, 16, 32 and 48 texels
// from its side: what any line of this ground looks like next to the one beside it.
double interiorStep(const sf::Image& tiles, const Rect& cell, bool columns) {
    double sum = 0;
    for (unsigned texel : {16u, 32u, 48u}) {
        sum += lineDifference(pixelLine(tiles, cell, columns, texel * 5 - 1),
                              pixelLine(tiles, cell, columns, texel * 5));
    }
    return sum / 3;
}

TEST(TextureSheet, PlainGroundTilesWithoutSeamsOrDarkBorders) {
    const sf::Image& tiles = sheet("tileTable.png");
    for (int id :
         {ground::kGrass, ground::kGrassFlowers, ground::kGrassDark, ground::kPath, ground::kSand,
          ground::kSandDunes, ground::kVillageEarth, ground::kTrainingGround, ground::kDryEarth,
          ground::kRiverbank, ground::kStonePlaza, ground::kWater}) {
        SCOPED_TRACE("ground " + std::to_string(id));
        const Rect cell = groundCell(id);
        // Where the cell meets its own copy, the seam is no harsher than the cell's own lines.
        EXPECT_LT(lineDifference(edge(tiles, cell, Side::East), edge(tiles, cell, Side::West)),
                  1.5 * std::max(interiorStep(tiles, cell, true), 5.0));
        EXPECT_LT(lineDifference(edge(tiles, cell, Side::South), edge(tiles, cell, Side::North)),
                  1.5 * std::max(interiorStep(tiles, cell, false), 5.0));
        const double inside = meanLuminance(tiles, cell);
        const Rect borders[] = {{cell.left, cell.top, kCell, 5},
                                {cell.left, cell.top + kCell - 5, kCell, 5},
                                {cell.left, cell.top, 5, kCell},
                                {cell.left + kCell - 5, cell.top, 5, kCell}};
        for (const Rect& border : borders) {
            EXPECT_GT(meanLuminance(tiles, border), inside * 0.85);
        }
    }
}

TEST(TextureSheet, GroundCellsAreNotOneFlatColour) {
    // Every ground needs some grain, or a field of it looks like a painted board.
    const sf::Image& tiles = sheet("tileTable.png");
    for (int id = 1; id <= ground::kLastGroundId; ++id) {
        SCOPED_TRACE("ground " + std::to_string(id));
        const Rect cell = groundCell(id);
        std::map<unsigned, int> colours;
        for (unsigned y = cell.top; y < cell.top + kCell; y += 5) {
            for (unsigned x = cell.left; x < cell.left + kCell; x += 5) {
                colours[tiles.getPixel(x, y).toInteger()]++;
            }
        }
        EXPECT_GE(colours.size(), 4u);
    }
}

// ------------------------------------------------------------------------------------------
bool mirrorsOf(const sf::Image& image, const Rect& a, const Rect& b) {
    for (unsigned y = 0; y < a.height; ++y) {
        for (unsigned x = 0; x < a.width; ++x) {
            if (image.getPixel(a.left + x, a.top + y) !=
                image.getPixel(b.left + b.width - 1 - x, b.top + y)) {
                return false;
            }
        }
    }
    return true;
}

// A walker's second row is its first one turned around, frame by frame; the walk moves.
struct WalkerRows {
    const char* file;
    unsigned right;
    unsigned left;
};

const WalkerRows kWalkers[] = {
    {"NPC-map.png", 2, 3}, {"NPC-map.png", 4, 5},   {"NPC-map.png", 6, 7},
    {"NPC-map.png", 8, 9}, {"NPC-map.png", 10, 11}, {"kaiva-map.png", 2, 1},
};

TEST(TextureSheet, WalkersFaceLeftInTheirLeftRowAndMoveTheirLegs) {
    for (const WalkerRows& walker : kWalkers) {
        const sf::Image& image = sheet(walker.file);
        SCOPED_TRACE(std::string(walker.file) + " row " + std::to_string(walker.right));
        for (unsigned column = 0; column < 4; ++column) {
            EXPECT_TRUE(
                mirrorsOf(image, frameCell(walker.right, column), frameCell(walker.left, column)));
        }
        EXPECT_FALSE(mirrorsOf(image, frameCell(walker.right, 0), frameCell(walker.left, 1)));
    }
}

unsigned changedPixels(const sf::Image& image, const Rect& a, const Rect& b) {
    unsigned changed = 0;
    for (unsigned y = 0; y < a.height; ++y) {
        for (unsigned x = 0; x < a.width; ++x) {
            changed +=
                image.getPixel(a.left + x, a.top + y) != image.getPixel(b.left + x, b.top + y) ? 1
                                                                                               : 0;
        }
    }
    return changed;
}

TEST(TextureSheet, TheSageBreathesSubtly) {
    const sf::Image& npc = sheet("NPC-map.png");
    const unsigned changed = changedPixels(npc, frameCell(1, 0), frameCell(1, 1));
    EXPECT_GT(changed, 0u);
    EXPECT_LT(changed, kFrame * kFrame / 5);
}

TEST(TextureSheet, TheHeroineWalksInEveryDirection) {
    const sf::Image& hero = sheet("kaiva-map.png");
    for (unsigned row = 0; row < 4; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_GT(changedPixels(hero, frameCell(row, 0), frameCell(row, 1)), 0u);
        EXPECT_GT(changedPixels(hero, frameCell(row, 1), frameCell(row, 3)), 0u);
    }
    // Down, side and up are three different views of her.
    EXPECT_GT(changedPixels(hero, frameCell(0, 0), frameCell(3, 0)), kFrame * kFrame / 20);
    EXPECT_GT(changedPixels(hero, frameCell(0, 0), frameCell(2, 0)), kFrame * kFrame / 20);
}

// ------------------------------------------------------------------------------------------
// White text sits on these fields: their calm parts must be dark.
struct TextField {
    const char* file;
    Rect rect;
    const char* what;
};

const TextField kTextFields[] = {
    {"talk-map.png", {25, 284, 430, 170}, "dialogue box text area"},
    {"talk-map.png", {16, 16, 208, 48}, "name plate"},
    {"talk-map.png", {16, 96, 288, 48}, "choice button"},
    {"talk-map.png", {16, 176, 288, 48}, "hovered button"},
    {"descrizioni-map.png", {16, 84, 208, 60}, "plain description, lower half"},
    {"descrizioni-map.png", {256, 84, 208, 60}, "water description, lower half"},
};

TEST(TextureSheet, TextSitsOnDarkFields) {
    for (const TextField& field : kTextFields) {
        SCOPED_TRACE(field.what);
        EXPECT_LT(meanLuminance(sheet(field.file), field.rect), 90);
    }
}

TEST(TextureSheet, TheHoveredButtonIsBrighterThanTheButton) {
    const sf::Image& talk = sheet("talk-map.png");
    const double button = meanLuminance(talk, {0, 80, 320, 80});
    const double hovered = meanLuminance(talk, {0, 160, 320, 80});
    EXPECT_GT(hovered, button + 15);
}

TEST(TextureSheet, InventorySlotsAreFramedWhereTheItemsGo) {
    // Slot frames: an ink edge at each slot's corner and a dark well inside, at the places the
    // inventory draws its three items.
    const sf::Image& icons = sheet("icon-map.png");
    for (unsigned top : {30u, 125u, 220u}) {
        SCOPED_TRACE("slot at y " + std::to_string(top));
        EXPECT_LT(luminance(icons.getPixel(215, 320 + top)), 50);
        EXPECT_LT(meanLuminance(icons, {215 + 12, 320 + top + 12, 51, 51}), 60);
        EXPECT_GT(meanLuminance(icons, {215 + 1, 320 + top + 1, 73, 3}),
                  meanLuminance(icons, {215 + 12, 320 + top + 12, 51, 51}) + 40);
    }
}

TEST(TextureSheet, TheBattleSkyIsAboveTheGround) {
    // Fighters stand with their feet at y 135: sky above the horizon, land below it.
    const sf::Image& battle = sheet("battle.png");
    const double sky = meanLuminance(battle, {0, 0, 480, 40});
    const sf::Color skyColour = battle.getPixel(20, 20);
    const sf::Color landColour = battle.getPixel(20, 200);
    EXPECT_GT(skyColour.b, skyColour.r);
    EXPECT_GT(landColour.r, landColour.b);
    EXPECT_GT(sky, 100);
}

} // namespace
