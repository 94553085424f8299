// tileGrid.h -- the world grid: one Tile per 100 x 100 cell, the id table that gives a map value
// its picture, name and properties, and the row locks that keep the cells whole between threads.
#pragma once

#include <SFML/Graphics/RectangleShape.hpp>

#include <cstdint>
#include <mutex>
#include <string>

constexpr int kGridSize = 250;
constexpr int kGridCells = kGridSize * kGridSize;
constexpr int kCellPixels = 100;
constexpr int kSheetCellPixels = 320; // tile and object sheets: cells of 320 x 320, five a row
constexpr int kSheetColumns = 5;
constexpr int kFirstObjectId = 500;

struct Tile {
    std::int32_t groundId = 0; // 0: no ground picture
    std::int32_t objectId = 0; // 0: no object
    bool blocking = false;
    sf::RectangleShape groundShape;
    std::int32_t groundSheetCol = 0;
    std::int32_t groundSheetRow = 0;
    sf::RectangleShape objectShape; // its bounds are also the cell's collision rectangle
    std::int32_t objectSheetCol = 0;
    std::int32_t objectSheetRow = 0;
    bool loaded = false; // a map value has been read for this cell
    std::string name;
    std::int16_t water = 0; // 1 on river cells
    bool interactive = false;
};

// The grid, row by row: cell (row r, column c) is tileGrid[r * kGridSize + c].
//
// Guarded by gridRowLock(r): the two map loaders write cells while the main loop draws them and
// the character thread tests them, and an sf::RectangleShape is not safe to read while another
// thread writes it (even getGlobalBounds() rewrites its cached transform). Every access to a
// cell's fields, reads included, holds the lock of the cell's row, briefly; one lock at a time.
extern Tile tileGrid[kGridCells];

std::mutex& gridRowLock(int row);

inline Tile& cellAt(int row, int col) {
    return tileGrid[row * kGridSize + col];
}

// Applies the id table to one cell (the caller holds the row's lock).
void applyIdTable(Tile& cell, std::int32_t id);

// Applies the id table to cell (row, col), taking the row's lock.
void classifyCell(std::int32_t id, std::int32_t row, std::int32_t col);

// Puts every cell back to its defaults.
void resetTileGrid();
