// tileGrid.h -- the world grid: one Tile per 100 x 100 cell, the id table that gives a map value
// its picture, name and properties, and the row locks that keep the cells whole between threads.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <cstdint>
#include <mutex>
#include <string_view>

constexpr int kGridSize = 250;
constexpr int kGridCells = kGridSize * kGridSize;
constexpr int kCellPixels = 100;
constexpr int kSheetCellPixels = 320; // tile and object sheets: cells of 320 x 320, five a row
constexpr int kSheetColumns = 5;
constexpr int kFirstObjectId = 500;

// One cell. Its two pictures are not stored as shapes: a loaded layer always shows a 100 x 100
// picture on the cell's own square, so a flag per layer says whether the loader has placed it, and
// the accessors below give the rectangles the shapes would have had. 62,500 cells stay about
// 3 MB instead of the 60 MB that two sf::RectangleShape per cell cost.
struct Tile {
    std::int32_t groundId = 0; // 0: no ground picture
    std::int32_t objectId = 0; // 0: no object
    bool blocking = false;
    bool groundPlaced = false; // the ground loader sized and placed the ground picture
    bool groundClear = false;  // the ground picture is fully transparent (ground value 0)
    bool objectPlaced = false; // the object loader sized and placed the object picture
    std::int32_t groundSheetCol = 0;
    std::int32_t groundSheetRow = 0;
    std::int32_t objectSheetCol = 0;
    std::int32_t objectSheetRow = 0;
    bool loaded = false;    // a map value has been read for this cell
    std::string_view name;  // points into the id table's names; empty when the cell has none
    std::int16_t water = 0; // 1 on river cells
    bool interactive = false;
};

// The grid, row by row: cell (row r, column c) is tileGrid[r * kGridSize + c].
//
// Guarded by gridRowLock(r): the two map loaders write cells while the main loop draws them and
// the character thread tests them. Every access to a cell's fields, reads included, holds the
// lock of the cell's row, briefly, and never more than one row lock at a time. Reading a cell
// never writes it, so the locks only keep a loader's half-written cell out of sight.
//
// Cells are read through cellAt and written only through changeCell (the loaders, the id table,
// the story's objects taken, filled and emptied): the drawn world keeps a picture of the cells it
// has drawn, and changeCell is how it learns that one must be drawn again.
extern Tile tileGrid[kGridCells];

std::mutex& gridRowLock(int row);

inline const Tile& cellAt(int row, int col) {
    return tileGrid[row * kGridSize + col];
}

// Notes that cell (row, col) changed since the drawn world's picture of it was made. The caller
// holds the row's lock and has just written the cell.
void markCellChanged(int row, int col);

// Changes cell (row, col) under its row's lock: change(Tile&) writes it, and the cell is marked
// as changed for the drawn world.
template <class Change> void changeCell(int row, int col, Change change) {
    std::lock_guard<std::mutex> lock(gridRowLock(row));
    change(tileGrid[row * kGridSize + col]);
    markCellChanged(row, col);
}

// The square that cell (row, col) covers in the world.
inline sf::FloatRect cellSquare(int row, int col) {
    return {static_cast<float>(col * kCellPixels), static_cast<float>(row * kCellPixels),
            kCellPixels, kCellPixels};
}

// The cell's collision rectangle, the bounds of its object picture: its square once the object
// loader has placed it, the empty rectangle at (0, 0) before. The caller holds the row's lock.
inline sf::FloatRect objectBounds(int row, int col) {
    return cellAt(row, col).objectPlaced ? cellSquare(row, col) : sf::FloatRect(0, 0, 0, 0);
}

// The bounds of the cell's ground picture, likewise. The caller holds the row's lock.
inline sf::FloatRect groundBounds(int row, int col) {
    return cellAt(row, col).groundPlaced ? cellSquare(row, col) : sf::FloatRect(0, 0, 0, 0);
}

// The ground picture's fill: white (the sheet as it is), or fully transparent for ground 0.
inline sf::Color groundFill(const Tile& cell) {
    return cell.groundClear ? sf::Color(0, 0, 0, 0) : sf::Color::White;
}

// The part of a sheet that a sheet cell shows: 320 x 320 texture pixels. False when the cell lies
// outside a sheet of `sheetRows` rows (an id beyond the sheet's pictures draws nothing); the
// arithmetic is done in 64 bits, so no 32-bit id can overflow it.
bool sheetRect(std::int32_t col, std::int32_t row, int sheetRows, sf::IntRect& rect);

// The columns of a row where the id table has made a cell usable (`interactive`) since the last
// reset, one bit per column. `interactive` becomes true only through the id table, while the
// story clears it on a used object directly, so these columns are a superset of the row's usable
// cells: a search for usable cells may visit them alone, reading each cell's flag under the row's
// lock. Marked under the row's lock; read without it, whole words at a time, to pass over the
// rows that have none (the intro's window is the whole grid, and holds a few dozen such cells).
constexpr int kColumnWordBits = 64;
constexpr int kColumnWords = (kGridSize + kColumnWordBits - 1) / kColumnWordBits;
struct RowColumns {
    std::uint64_t words[kColumnWords] = {};
};
RowColumns usableColumns(int row);

// The first column from `from` on, before `end`, that `columns` holds; `end` when there is none.
int nextColumn(const RowColumns& columns, int from, int end);

// Applies the id table to one cell (the caller holds the row's lock). A cell of the grid that
// becomes usable is marked in usableColumns.
void applyIdTable(Tile& cell, std::int32_t id);

// Applies the id table to cell (row, col), through changeCell.
void classifyCell(std::int32_t id, std::int32_t row, std::int32_t col);

// The columns of a row whose cells changed (changeCell) since the last call for that row, which
// forgets them: the drawn world's question, asked by the main thread before it reads the cells
// again. Marked under the row's lock; taken without it, a whole word at a time, so that a mark
// made meanwhile is either taken now or left for the next call, never lost.
RowColumns takeChangedColumns(int row);

// Notes that every cell may have changed (a reset of the grid, a test putting back a saved grid
// row by row under the row locks): nothing drawn before is up to date.
void markAllCellsChanged();

// How many times every cell was marked changed at once (markAllCellsChanged).
unsigned wholeGridChanges();

// Puts every cell back to its defaults.
void resetTileGrid();
