// tiling.cpp -- auto-tiling of the river, the ravines and the desert's rim.
#include "map/tiling.h"

#include "assetIds.h"
#include "noise.h"

#include <algorithm>
#include <iterator>

namespace {

// The sides of a cell, as bits.
enum Side : int { kNorth = 1, kSouth = 2, kWest = 4, kEast = 8 };

struct SidePiece {
    int sides;
    int id;
};

constexpr SidePiece kRiverPieces[] = {
    {kWest | kEast, object::kRiverEastWest},   {kNorth | kSouth, object::kRiverNorthSouth},
    {kNorth | kEast, object::kRiverNorthEast}, {kNorth | kWest, object::kRiverNorthWest},
    {kSouth | kEast, object::kRiverSouthEast}, {kSouth | kWest, object::kRiverSouthWest},
};

constexpr SidePiece kBridgePieces[] = {
    {kNorth | kSouth, object::kBridgeOverNorthSouth},
    {kWest | kEast, object::kBridgeOverEastWest},
};

// Cliff pieces by the sides that face solid ground. After the ravines are opened (below) no chasm
// cell has solid ground on two opposite sides, so this table covers every case.
constexpr SidePiece kRavineEdges[] = {
    {kNorth, ground::kRavineEdgeN},
    {kSouth, ground::kRavineEdgeS},
    {kWest, ground::kRavineEdgeW},
    {kEast, ground::kRavineEdgeE},
    {kNorth | kWest, ground::kRavineCornerNW},
    {kNorth | kEast, ground::kRavineCornerNE},
    {kSouth | kWest, ground::kRavineCornerSW},
    {kSouth | kEast, ground::kRavineCornerSE},
};

constexpr SidePiece kRavineInner[] = {
    {1, ground::kRavineInnerNW},
    {2, ground::kRavineInnerNE},
    {4, ground::kRavineInnerSW},
    {8, ground::kRavineInnerSE},
};

// Sand borders by the side where grass lies, in order of preference at corners.
constexpr SidePiece kSandEdges[] = {
    {kNorth, ground::kSandEdgeN},
    {kSouth, ground::kSandEdgeS},
    {kWest, ground::kSandEdgeW},
    {kEast, ground::kSandEdgeE},
};

struct Step {
    int side;
    int dc;
    int dr;
};
constexpr Step kSteps[] = {{kNorth, 0, -1}, {kSouth, 0, 1}, {kWest, -1, 0}, {kEast, 1, 0}};

constexpr std::uint32_t kRockSalt = 505;

int lookUp(const SidePiece* first, const SidePiece* last, int sides) {
    const SidePiece* found =
        std::find_if(first, last, [&](const SidePiece& piece) { return piece.sides == sides; });
    return found == last ? 0 : found->id;
}

// The river piece whose water leaves the cell through exactly these two sides; 0 when none does.
int riverPieceFor(int sides) {
    return lookUp(std::begin(kRiverPieces), std::end(kRiverPieces), sides);
}

// The chasm piece for the sides and the diagonals (1 NW, 2 NE, 4 SW, 8 SE) that face solid ground.
int ravinePieceFor(int solidSides, int solidDiagonals, bool rocky) {
    if (solidSides != 0) {
        const int edge = lookUp(std::begin(kRavineEdges), std::end(kRavineEdges), solidSides);
        return edge != 0 ? edge : ground::kRavineDeep;
    }
    for (const SidePiece& inner : kRavineInner) {
        if ((solidDiagonals & inner.sides) != 0) {
            return inner.id;
        }
    }
    return rocky ? ground::kRavineRocks : ground::kRavineDeep;
}

int sideTowards(CellPos from, CellPos to) {
    for (const Step& step : kSteps) {
        if (from.col + step.dc == to.col && from.row + step.dr == to.row) {
            return step.side;
        }
    }
    return 0;
}

// The two sides through which the river at position i of its course flows; the ends carry on
// straight, out of the world or into a lake.
int courseSides(const std::vector<CellPos>& course, std::size_t i) {
    const CellPos here = course[i];
    const CellPos before =
        i > 0 ? course[i - 1]
              : CellPos{2 * here.col - course[i + 1].col, 2 * here.row - course[i + 1].row};
    const CellPos after = i + 1 < course.size()
                              ? course[i + 1]
                              : CellPos{2 * here.col - before.col, 2 * here.row - before.row};
    return sideTowards(here, before) | sideTowards(here, after);
}

bool isBridge(const WorldDraft& draft, CellPos cell) {
    return std::any_of(draft.bridges.begin(), draft.bridges.end(),
                       [&](const CellPos& b) { return b.col == cell.col && b.row == cell.row; });
}

void placeCourse(WorldDraft& draft, const std::vector<CellPos>& course) {
    for (std::size_t i = 0; i < course.size() && course.size() > 1; ++i) {
        const CellPos here = course[i];
        if (!WorldDraft::inside(here.col, here.row)) {
            continue;
        }
        DraftCell& cell = draft.at(here.col, here.row);
        if (cell.ground == ground::kWater) {
            continue; // the river has reached a lake
        }
        const int sides = courseSides(course, i);
        cell.ground = ground::kRiverbank;
        cell.object = isBridge(draft, here)
                          ? lookUp(std::begin(kBridgePieces), std::end(kBridgePieces), sides)
                          : riverPieceFor(sides);
    }
}

void checkBridges(WorldDraft& draft) {
    for (const CellPos& bridge : draft.bridges) {
        const int id = WorldDraft::inside(bridge.col, bridge.row)
                           ? draft.at(bridge.col, bridge.row).object
                           : 0;
        if (id != object::kBridgeOverNorthSouth && id != object::kBridgeOverEastWest) {
            draft.errors.push_back("bridge at " + std::to_string(bridge.col) + "," +
                                   std::to_string(bridge.row) +
                                   " is not on a straight run of a river");
        }
    }
}

bool isRavine(const WorldDraft& draft, int col, int row) {
    return !WorldDraft::inside(col, row) || draft.at(col, row).ravine; // the chasm runs on
}

// Keeps only chasm cells that are part of a 2 x 2 block of chasm: thin slivers and lone cells
// vanish, and no cliff is left with ground on two opposite sides.
void openRavines(WorldDraft& draft) {
    std::vector<char> keep(draft.cells.size(), 0);
    for (int row = -1; row < kWorldCells; ++row) {
        for (int col = -1; col < kWorldCells; ++col) {
            if (!(isRavine(draft, col, row) && isRavine(draft, col + 1, row) &&
                  isRavine(draft, col, row + 1) && isRavine(draft, col + 1, row + 1))) {
                continue;
            }
            for (int r = std::max(row, 0); r <= std::min(row + 1, kWorldCells - 1); ++r) {
                for (int c = std::max(col, 0); c <= std::min(col + 1, kWorldCells - 1); ++c) {
                    keep[static_cast<std::size_t>(r * kWorldCells + c)] = 1;
                }
            }
        }
    }
    for (std::size_t i = 0; i < keep.size(); ++i) {
        draft.cells[i].ravine = draft.cells[i].ravine && keep[i];
    }
}

// A chasm cell carries no object: the ravine ground decides its blocking whatever is loaded
// last, and a hand-placed object there is a layout mistake.
void emptyRavines(WorldDraft& draft) {
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            DraftCell& cell = draft.at(col, row);
            if (cell.ravine && cell.placed) {
                draft.errors.push_back("object " + std::to_string(cell.object) + " put at " +
                                       std::to_string(col) + "," + std::to_string(row) +
                                       " lies on a ravine");
            }
            if (cell.ravine) {
                cell.object = 0;
            }
        }
    }
}

int solidSidesOf(const WorldDraft& draft, int col, int row) {
    int sides = 0;
    for (const Step& step : kSteps) {
        sides |= isRavine(draft, col + step.dc, row + step.dr) ? 0 : step.side;
    }
    return sides;
}

int solidDiagonalsOf(const WorldDraft& draft, int col, int row) {
    return (isRavine(draft, col - 1, row - 1) ? 0 : 1) |
           (isRavine(draft, col + 1, row - 1) ? 0 : 2) |
           (isRavine(draft, col - 1, row + 1) ? 0 : 4) |
           (isRavine(draft, col + 1, row + 1) ? 0 : 8);
}

void tileRavines(WorldDraft& draft) {
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            if (draft.at(col, row).ravine) {
                draft.at(col, row).ground =
                    ravinePieceFor(solidSidesOf(draft, col, row), solidDiagonalsOf(draft, col, row),
                                   noise::unit(col, row, kRockSalt) < 0.22f);
            }
        }
    }
}

bool isGrassy(int id) {
    return id == ground::kGrass || id == ground::kGrassFlowers || id == ground::kGrassDark;
}

bool isSand(int id) {
    return id == ground::kSand || id == ground::kSandDunes;
}

bool isOpenLand(int id) {
    return isGrassy(id) || isSand(id) || id == ground::kDryEarth;
}

// Mud along the river: open land beside a river piece becomes bank.
void lineRiverbanks(WorldDraft& draft) {
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            DraftCell& cell = draft.at(col, row);
            if (cell.river || cell.ravine || !isOpenLand(cell.ground)) {
                continue;
            }
            for (const Step& step : kSteps) {
                const int c = col + step.dc, r = row + step.dr;
                if (WorldDraft::inside(c, r) && draft.at(c, r).river) {
                    cell.ground = ground::kRiverbank;
                }
            }
        }
    }
}

int grassSidesOf(const WorldDraft& draft, int col, int row) {
    int sides = 0;
    for (const Step& step : kSteps) {
        const int c = col + step.dc, r = row + step.dr;
        if (WorldDraft::inside(c, r) && isGrassy(draft.at(c, r).ground) && !draft.at(c, r).ravine) {
            sides |= step.side;
        }
    }
    return sides;
}

void borderSand(WorldDraft& draft) {
    std::vector<int> borders(draft.cells.size(), 0);
    for (int row = 0; row < kWorldCells; ++row) {
        for (int col = 0; col < kWorldCells; ++col) {
            const int grass = isSand(draft.at(col, row).ground) ? grassSidesOf(draft, col, row) : 0;
            for (const SidePiece& edge : kSandEdges) {
                if ((grass & edge.sides) != 0) {
                    borders[static_cast<std::size_t>(row * kWorldCells + col)] = edge.id;
                    break;
                }
            }
        }
    }
    for (std::size_t i = 0; i < borders.size(); ++i) {
        draft.cells[i].ground = borders[i] != 0 ? borders[i] : draft.cells[i].ground;
    }
}

} // namespace

bool tileWorld(WorldDraft& draft) {
    openRavines(draft);
    emptyRavines(draft);
    for (const std::vector<CellPos>& course : draft.riverCourses) {
        placeCourse(draft, course);
    }
    checkBridges(draft);
    lineRiverbanks(draft);
    tileRavines(draft);
    borderSand(draft);
    return draft.errors.empty();
}
