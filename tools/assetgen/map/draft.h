// draft.h -- the world while the generator builds it: per cell a ground, an object and the marks
// (ravine, river, path, kept free) that the layout paints and the tiling passes read.
#pragma once

#include "assetIds.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kWorldCells = 250;

struct CellPos {
    int col = 0;
    int row = 0;
};

struct DraftCell {
    int ground = ground::kGrass;
    int object = 0;
    bool ravine = false;
    bool river = false;  // on a river course: its piece is chosen once the whole course is known
    bool path = false;   // trodden road: no tree or scenery grows on it
    bool kept = false;   // kept free of trees and scatter (patrol legs, plazas, clearings)
    bool placed = false; // the object was put there by hand: it must survive the tiling
};

struct WorldDraft {
    std::vector<DraftCell> cells = std::vector<DraftCell>(kWorldCells * kWorldCells);
    std::vector<std::vector<CellPos>> riverCourses; // cells in flowing order
    std::vector<CellPos> bridges;
    std::vector<std::string> errors; // layout mistakes found while building

    static bool inside(int col, int row) {
        return col >= 0 && row >= 0 && col < kWorldCells && row < kWorldCells;
    }
    DraftCell& at(int col, int row) {
        return cells[static_cast<std::size_t>(row * kWorldCells + col)];
    }
    const DraftCell& at(int col, int row) const {
        return cells[static_cast<std::size_t>(row * kWorldCells + col)];
    }
};

// Free for a tree or a piece of scenery: nothing there yet and nothing that must stay clear.
inline bool isFreeForGrowth(const DraftCell& cell) {
    return cell.object == 0 && !cell.ravine && !cell.river && !cell.path && !cell.kept &&
           cell.ground != ground::kWater;
}
