// mapValidatorTest.cpp -- the map validator: loads the generated world with the game's own loader,
// walks it with the heroine's own feet and checks that the story can be played through in it.
#include "shell/gameState.h"
#include "world/characters.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGroundFile = std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv0.txt";
const std::string kObjectFile = std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv1.txt";

constexpr int kStartX = 918; // the heroine's first position, beside Achak
constexpr int kStartY = 498;
constexpr int kSpritePixels = 84;    // the heroine's and every character's sprite
constexpr int kTalkReach = 90;       // a character answers this far to its left and right
constexpr int kObjectReach = 30;     // an object answers this far to its left and above
constexpr int kStep = 5;             // the heroine's walk is sampled on a 5-pixel lattice
constexpr int kPlayAreaCols = 61;    // columns 0..60
constexpr int kPlayAreaRows = 58;    // rows 0..57
constexpr int kPatrolSlackCells = 1; // a patroller turns only after passing its mark
constexpr int kWolfSampleStep = 25;  // pixels between the crisocione positions tried
constexpr int kRoadReachCells = 6;   // the road network passes this close to every character
constexpr int kLakeGround = 30;
constexpr int kPathGround = 4;

enum Roster { kAchak, kHonani, kEnapay, kJohn, kLuke, kCrisocione, kBoss };

struct Rect {
    int x, y, w, h;
    bool overlaps(const Rect& o) const { // positive area, as the game's bounds tests
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// Her feet: the four sensor lines whose overlap with a blocking cell stops her.
constexpr Rect kSensors[] = {{33, 69, 18, 1}, {33, 84, 18, 1}, {28, 74, 1, 7}, {56, 74, 1, 7}};
constexpr Rect kFeet = {28, 69, 29, 16}; // the box around all four

struct CellRecord {
    int ground = 0;
    int object = 0;
    bool blocking = false;
    std::string name;
    int water = 0;
    bool interactive = false;
};

std::vector<CellRecord> snapshotGrid() {
    std::vector<CellRecord> cells(kGridCells);
    for (int i = 0; i < kGridCells; ++i) {
        const Tile& tile = tileGrid[i];
        cells[static_cast<std::size_t>(i)] = {tile.groundId, tile.objectId,
                                              tile.blocking, std::string(tile.name),
                                              tile.water,    tile.interactive};
    }
    return cells;
}

std::vector<CellRecord> loadWorld(bool objectsFirst) {
    resetGameState();
    const MapLayer first = objectsFirst ? MapLayer::Object : MapLayer::Ground;
    const MapLayer second = objectsFirst ? MapLayer::Ground : MapLayer::Object;
    EXPECT_TRUE(loadLayer(objectsFirst ? kObjectFile : kGroundFile, first));
    EXPECT_TRUE(loadLayer(objectsFirst ? kGroundFile : kObjectFile, second));
    std::vector<CellRecord> cells = snapshotGrid();
    resetGameState();
    return cells;
}

int floorDiv(int value, int by) {
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

struct Point {
    int x, y;
};

// The heroine's walk: every lattice position whose sensors touch no blocking cell, flooded from
// her start. Positions are cached as walkable or not across floods.
class Walk {
public:
    explicit Walk(const std::vector<CellRecord>& cells) : cells_(cells), known_(kSide * kSide, 0) {}

    const CellRecord* cell(int col, int row) const {
        if (col < 0 || row < 0 || col >= kGridSize || row >= kGridSize) {
            return nullptr;
        }
        return &cells_[static_cast<std::size_t>(row * kGridSize + col)];
    }

    // The positions reached from the start without entering a forbidden one.
    std::vector<Point> flood(const std::function<bool(Point)>& forbidden) {
        std::vector<char> seen(known_.size(), 0);
        std::vector<Point> reached;
        std::deque<int> queue{indexOf({kStartX, kStartY})};
        seen[static_cast<std::size_t>(queue.front())] = 1;
        while (!queue.empty()) {
            const int index = queue.front();
            queue.pop_front();
            const Point at = pointOf(index);
            if (!walkable(index) || forbidden(at)) {
                continue;
            }
            reached.push_back(at);
            for (const int next : {index - 1, index + 1, index - kSide, index + kSide}) {
                if (next >= 0 && next < kSide * kSide && !seen[static_cast<std::size_t>(next)] &&
                    std::abs(pointOf(next).x - at.x) <= kStep) {
                    seen[static_cast<std::size_t>(next)] = 1;
                    queue.push_back(next);
                }
            }
        }
        return reached;
    }

private:
    static constexpr int kSide = kGridSize * kCellPixels / kStep;
    static constexpr int kOriginX = kStartX % kStep;
    static constexpr int kOriginY = kStartY % kStep;

    static int indexOf(Point p) {
        return (p.y - kOriginY) / kStep * kSide + (p.x - kOriginX) / kStep;
    }
    static Point pointOf(int index) {
        return {kOriginX + index % kSide * kStep, kOriginY + index / kSide * kStep};
    }

    bool blocks(const Rect& box) const {
        for (int row = floorDiv(box.y, kCellPixels);
             row <= floorDiv(box.y + box.h - 1, kCellPixels); ++row) {
            for (int col = floorDiv(box.x, kCellPixels);
                 col <= floorDiv(box.x + box.w - 1, kCellPixels); ++col) {
                const CellRecord* c = cell(col, row);
                if (c == nullptr || c->blocking) { // beyond the grid counts as a wall
                    return true;
                }
            }
        }
        return false;
    }

    bool walkable(int index) {
        char& state = known_[static_cast<std::size_t>(index)];
        if (state == 0) {
            const Point p = pointOf(index);
            const bool free = std::none_of(std::begin(kSensors), std::end(kSensors), [&](Rect s) {
                return blocks({p.x + s.x, p.y + s.y, s.w, s.h});
            });
            state = free ? 1 : 2;
        }
        return state == 1;
    }

    const std::vector<CellRecord>& cells_;
    std::vector<char> known_;
};

Rect heroineAt(Point p) {
    return {p.x, p.y, kSpritePixels, kSpritePixels};
}

Point characterStart(int slot) {
    return {characterStartTable[slot].col * kCellPixels,
            characterStartTable[slot].row * kCellPixels};
}

Rect talkReachAt(Point sprite) {
    return {sprite.x - kTalkReach, sprite.y, kSpritePixels + 2 * kTalkReach, kSpritePixels};
}

Rect objectReach(int col, int row) {
    return {col * kCellPixels - kObjectReach, row * kCellPixels - kObjectReach,
            kCellPixels + kObjectReach, kCellPixels + kObjectReach};
}

bool anyReaches(const std::vector<Point>& reached, const Rect& area) {
    return std::any_of(reached.begin(), reached.end(),
                       [&](Point p) { return heroineAt(p).overlaps(area); });
}

// The pixel span a patrol sweeps: from the start, patrolRange cells (and the slack) along the
// character's direction, its sprite carried along.
struct Direction {
    int dx, dy;
};
constexpr Direction kDirections[] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {0, 0}};

Rect patrolSweep(int slot, int slackCells) {
    const CharacterSetUp& setUp = characterSetUps[slot];
    const Direction d = kDirections[setUp.direction];
    const int cells = setUp.direction == 4 ? 0 : setUp.patrolRange + slackCells;
    const Point from = characterStart(slot);
    const Point to = {from.x + d.dx * cells * kCellPixels, from.y + d.dy * cells * kCellPixels};
    const int x = std::min(from.x, to.x), y = std::min(from.y, to.y);
    return {x, y, std::abs(to.x - from.x) + kSpritePixels, std::abs(to.y - from.y) + kSpritePixels};
}

// The world loaded once, the heroine's walk flooded once; every test reads these.
class MapValidator : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cells_ = new std::vector<CellRecord>(loadWorld(false));
        walk_ = new Walk(*cells_);
        reached_ = new std::vector<Point>(walk_->flood([](Point) { return false; }));
    }
    static void TearDownTestSuite() {
        delete reached_;
        delete walk_;
        delete cells_;
    }

    static const CellRecord& at(int col, int row) { return *walk_->cell(col, row); }

    template <class Visit> static void forEachCell(Visit visit) {
        for (int row = 0; row < kGridSize; ++row) {
            for (int col = 0; col < kGridSize; ++col) {
                visit(col, row, at(col, row));
            }
        }
    }

    static int countNear(int first, int last, CellPlace centre, int radius) {
        int count = 0;
        forEachCell([&](int col, int row, const CellRecord& c) {
            const bool near =
                std::max(std::abs(col - centre.col), std::abs(row - centre.row)) <= radius;
            count += near && c.object >= first && c.object <= last ? 1 : 0;
        });
        return count;
    }

    static std::vector<CellRecord>* cells_;
    static Walk* walk_;
    static std::vector<Point>* reached_;
};

std::vector<CellRecord>* MapValidator::cells_ = nullptr;
Walk* MapValidator::walk_ = nullptr;
std::vector<Point>* MapValidator::reached_ = nullptr;

TEST(MapFiles, HaveTheLayerFormatAndOnlyKnownIds) {
    struct Layer {
        const std::string& path;
        int low, high;
        bool zeroAllowed;
    };
    const Layer layers[] = {{kGroundFile, 1, 30, false}, {kObjectFile, 500, 545, true}};
    for (const Layer& layer : layers) {
        SCOPED_TRACE(layer.path);
        std::ifstream file(layer.path);
        ASSERT_TRUE(file.good());
        int rows = 0, badValues = 0, badLines = 0;
        for (std::string line; std::getline(file, line); ++rows) {
            const std::size_t end = line.find(';');
            badLines += end == std::string::npos || end + 1 != line.size() || end == 0 ||
                                line[end - 1] != ' ' || line.find("  ") != std::string::npos
                            ? 1
                            : 0;
            std::stringstream values(line.substr(0, end));
            int count = 0;
            for (int value = 0; values >> value; ++count) {
                badValues +=
                    (value == 0 && layer.zeroAllowed) || (value >= layer.low && value <= layer.high)
                        ? 0
                        : 1;
            }
            badLines += count == kGridSize ? 0 : 1;
        }
        EXPECT_EQ(rows, kGridSize);
        EXPECT_EQ(badLines, 0);
        EXPECT_EQ(badValues, 0);
    }
}

TEST_F(MapValidator, LayersGiveTheSameWorldInEitherLoadingOrder) {
    const std::vector<CellRecord> objectsFirst = loadWorld(true);
    int differing = 0;
    for (std::size_t i = 0; i < cells_->size(); ++i) {
        const CellRecord& a = (*cells_)[i];
        const CellRecord& b = objectsFirst[i];
        const bool same = a.blocking == b.blocking && a.name == b.name && a.water == b.water &&
                          a.interactive == b.interactive;
        if (!same && ++differing <= 5) {
            ADD_FAILURE() << "cell col " << i % kGridSize << " row " << i / kGridSize
                          << " depends on the loading order";
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(MapValidator, NoObjectStandsOnARavine) {
    forEachCell([](int col, int row, const CellRecord& c) {
        if (c.ground >= 12 && c.ground <= 25) {
            EXPECT_EQ(c.object, 0) << "col " << col << " row " << row;
        }
    });
}

TEST_F(MapValidator, StartCellsAndPatrolLegsAreFree) {
    for (int slot = 0; slot < kWorldCharacters; ++slot) {
        const Rect sweep = patrolSweep(slot, kPatrolSlackCells);
        for (int row = sweep.y / kCellPixels; row <= (sweep.y + sweep.h - 1) / kCellPixels; ++row) {
            for (int col = sweep.x / kCellPixels; col <= (sweep.x + sweep.w - 1) / kCellPixels;
                 ++col) {
                EXPECT_FALSE(at(col, row).blocking)
                    << characterSetUps[slot].name << " meets " << at(col, row).name << " at col "
                    << col << " row " << row;
            }
        }
    }
}

TEST_F(MapValidator, EveryCharacterCanBeTalkedTo) {
    for (int slot = 0; slot < kWorldCharacters; ++slot) {
        EXPECT_TRUE(anyReaches(*reached_, talkReachAt(characterStart(slot))))
            << characterSetUps[slot].name << " cannot be reached from the start";
    }
}

// Wherever the crisocione is on its round, nobody reaches the Boss without coming within its
// reach: forbidding those positions must cut the desert off.
TEST_F(MapValidator, CrisocioneCannotBeSlippedPastOnTheWayToTheDesert) {
    const Rect round = patrolSweep(kCrisocione, 0);
    const Point start = characterStart(kCrisocione);
    for (int x = round.x; x <= round.x + round.w - kSpritePixels; x += kWolfSampleStep) {
        const Rect reach = talkReachAt({x, start.y});
        const std::vector<Point> avoiding =
            walk_->flood([&](Point p) { return heroineAt(p).overlaps(reach); });
        EXPECT_FALSE(anyReaches(avoiding, talkReachAt(characterStart(kBoss))))
            << "the desert is reached past the crisocione standing at x " << x;
    }
}

TEST_F(MapValidator, EveryUsableObjectCanBeReached) {
    const int usable[] = {544, 538, 543, 509, 539, 545};
    int checked = 0;
    forEachCell([&](int col, int row, const CellRecord& c) {
        if (std::find(std::begin(usable), std::end(usable), c.object) == std::end(usable)) {
            return;
        }
        ++checked;
        EXPECT_TRUE(c.interactive) << c.object << " at col " << col << " row " << row;
        EXPECT_TRUE(anyReaches(*reached_, objectReach(col, row)))
            << "object " << c.object << " at col " << col << " row " << row << " is out of reach";
    });
    EXPECT_GE(checked, 3 + 3 + 2 + 3);
}

TEST_F(MapValidator, PlacesHaveWhatTheStoryNeeds) {
    struct Feature {
        const char* what;
        int first, last;
        Roster near;
        int radius;
        int atLeast, atMost;
    };
    constexpr int kAny = 1000;
    const Feature features[] = {
        {"apples by Honani's village", 544, 544, kHonani, 12, 3, kAny},
        {"empty baskets in Honani's village", 538, 538, kHonani, 12, 3, kAny},
        {"mannequins on Enapay's field", 543, 543, kEnapay, 8, 2, kAny},
        {"burning tents round the invaders", 536, 537, kJohn, 12, 3, kAny},
        {"cacti round the Boss", 511, 511, kBoss, 15, 5, kAny},
        {"carcasses round the Boss", 512, 512, kBoss, 15, 1, kAny},
        {"the mysterious chest", 509, 509, kAchak, kGridSize, 1, 1},
        {"the swordfish basket", 539, 539, kAchak, kGridSize, 1, 1},
        {"the weapons basket", 545, 545, kAchak, kGridSize, 1, 1},
    };
    for (const Feature& f : features) {
        const int count = countNear(f.first, f.last, characterStartTable[f.near], f.radius);
        EXPECT_GE(count, f.atLeast) << f.what;
        EXPECT_LE(count, f.atMost) << f.what;
    }
    EXPECT_GE(countNear(503, 508, {0, 0}, kGridSize), 1) << "a river";
}

TEST_F(MapValidator, SwordfishBasketIsAFishingSpotByTheRiver) {
    forEachCell([&](int col, int row, const CellRecord& c) {
        if (c.object == 539) {
            EXPECT_GE(countNear(503, 508, {row, col}, 2), 1) << "no river beside it";
        }
    });
}

TEST_F(MapValidator, HeroineStaysInsideThePlayArea) {
    int outside = 0, onWater = 0;
    for (const Point& p : *reached_) {
        const int col0 = (p.x + kFeet.x) / kCellPixels,
                  col1 = (p.x + kFeet.x + kFeet.w - 1) / kCellPixels;
        const int row0 = (p.y + kFeet.y) / kCellPixels,
                  row1 = (p.y + kFeet.y + kFeet.h - 1) / kCellPixels;
        outside += col0 < 1 || row0 < 1 || col1 >= kPlayAreaCols || row1 >= kPlayAreaRows ? 1 : 0;
        for (int row = row0; row <= row1; ++row) {
            for (int col = col0; col <= col1; ++col) {
                onWater += walk_->cell(col, row)->ground == kLakeGround ? 1 : 0;
            }
        }
    }
    EXPECT_GT(reached_->size(), 10000u) << "she can hardly move";
    EXPECT_EQ(outside, 0) << "she reaches the rim or leaves the play area";
    EXPECT_EQ(onWater, 0) << "she walks on open water";
}

// River pieces by the sides their water leaves through; bridges carry the river under them.
struct RiverPiece {
    int id;
    int sides; // 1 north, 2 south, 4 west, 8 east
};
constexpr RiverPiece kRiverPieces[] = {{503, 12}, {504, 3}, {505, 9}, {506, 5},
                                       {507, 10}, {508, 6}, {521, 3}, {522, 12}};
struct SideStep {
    int side, opposite, dc, dr;
};
constexpr SideStep kSideSteps[] = {{1, 2, 0, -1}, {2, 1, 0, 1}, {4, 8, -1, 0}, {8, 4, 1, 0}};

int riverSides(const CellRecord* c) {
    for (const RiverPiece& piece : kRiverPieces) {
        if (c != nullptr && c->object == piece.id) {
            return piece.sides;
        }
    }
    return 0;
}

TEST_F(MapValidator, RiverIsOneContinuousStreamWithABridge) {
    std::vector<int> component(kGridCells, -1);
    int streams = 0, bridges = 0;
    forEachCell([&](int col, int row, const CellRecord& c) {
        bridges += c.object == 521 || c.object == 522 ? 1 : 0;
        if (riverSides(&c) == 0 ||
            component[static_cast<std::size_t>(row * kGridSize + col)] >= 0) {
            return;
        }
        std::vector<std::pair<int, int>> stack{{col, row}};
        component[static_cast<std::size_t>(row * kGridSize + col)] = streams;
        while (!stack.empty()) {
            const auto [c0, r0] = stack.back();
            stack.pop_back();
            const int sides = riverSides(walk_->cell(c0, r0));
            for (const SideStep& s : kSideSteps) {
                if ((sides & s.side) == 0) {
                    continue;
                }
                const CellRecord* next = walk_->cell(c0 + s.dc, r0 + s.dr);
                const bool intoLake = next == nullptr || next->ground == kLakeGround;
                const bool joins = (riverSides(next) & s.opposite) != 0;
                EXPECT_TRUE(intoLake || joins)
                    << "the river piece " << walk_->cell(c0, r0)->object << " at col " << c0
                    << " row " << r0 << " ends without joining";
                const std::size_t index =
                    static_cast<std::size_t>((r0 + s.dr) * kGridSize + c0 + s.dc);
                if (joins && component[index] < 0) {
                    component[index] = streams;
                    stack.push_back({c0 + s.dc, r0 + s.dr});
                }
            }
        }
        ++streams;
    });
    EXPECT_EQ(streams, 1) << "the river falls apart";
    EXPECT_GE(bridges, 1);
}

// The roads (and the bridges on them) form one network that starts at the camp and passes close
// to every character.
TEST_F(MapValidator, RoadsJoinEveryPlaceToTheCamp) {
    const auto isRoad = [&](int col, int row) {
        const CellRecord* c = walk_->cell(col, row);
        return c != nullptr && !c->blocking &&
               (c->ground == kPathGround || c->object == 521 || c->object == 522);
    };
    std::vector<char> seen(kGridCells, 0);
    std::vector<std::pair<int, int>> stack;
    const CellPlace camp = characterStartTable[kAchak];
    for (int row = camp.row - 2; row <= camp.row + 2; ++row) {
        for (int col = camp.col - 2; col <= camp.col + 2; ++col) {
            if (isRoad(col, row)) {
                stack.push_back({col, row});
                seen[static_cast<std::size_t>(row * kGridSize + col)] = 1;
            }
        }
    }
    ASSERT_FALSE(stack.empty()) << "no road leaves the camp";
    std::vector<int> nearest(kWorldCharacters, kGridSize);
    while (!stack.empty()) {
        const auto [col, row] = stack.back();
        stack.pop_back();
        for (int slot = 0; slot < kWorldCharacters; ++slot) {
            const CellPlace p = characterStartTable[slot];
            const int distance = std::max(std::abs(p.col - col), std::abs(p.row - row));
            nearest[static_cast<std::size_t>(slot)] =
                std::min(nearest[static_cast<std::size_t>(slot)], distance);
        }
        for (const SideStep& s : kSideSteps) {
            const int c = col + s.dc, r = row + s.dr;
            if (isRoad(c, r) && !seen[static_cast<std::size_t>(r * kGridSize + c)]) {
                seen[static_cast<std::size_t>(r * kGridSize + c)] = 1;
                stack.push_back({c, r});
            }
        }
    }
    for (int slot = 0; slot < kWorldCharacters; ++slot) {
        EXPECT_LE(nearest[static_cast<std::size_t>(slot)], kRoadReachCells)
            << "no road leads to " << characterSetUps[slot].name;
    }
}

} // namespace
