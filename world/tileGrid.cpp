// tileGrid.cpp -- the world grid, its row locks and the id table.
#include "world/tileGrid.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>

Tile tileGrid[kGridCells];

namespace {

std::array<std::mutex, kGridSize> rowLocks;

using ColumnMarks = std::array<std::array<std::atomic<std::uint64_t>, kColumnWords>, kGridSize>;

// usableColumns, row by row. Each word is written under its row's lock (fetch_or by the id
// table, zeroed by the reset) and may be read without it.
ColumnMarks usableMarks;

// The cells changed since the drawn world last asked (takeChangedColumns), row by row: set under
// the row's lock by changeCell, taken (exchanged for 0) by the main thread without it.
ColumnMarks changedMarks;

// Counts markAllCellsChanged; written and read by the main thread, atomic for a test's threads.
std::atomic<unsigned> wholeGridMarks{0};

void setColumn(ColumnMarks& marks, int row, int col) {
    marks[row][col / kColumnWordBits].fetch_or(std::uint64_t{1} << (col % kColumnWordBits),
                                               std::memory_order_relaxed);
}

constexpr std::int32_t kRavineFirst = 12;
constexpr std::int32_t kRavineLast = 25;

// One row of the object table: ids first..last share a name and properties.
struct ObjectKind {
    std::int32_t first;
    std::int32_t last;
    const char* name;
    bool blocking;
    std::int16_t water;
    bool interactive;
};

// Objects 521 to 535 and those above 545 are scenery: they change only the picture.
constexpr ObjectKind kObjectTable[] = {
    {500, 500, "Albero rigoglioso", true, 0, false},
    {501, 501, "Albero senza foglie", true, 0, false},
    {502, 502, "Albero Alto e leggiadro", true, 0, false},
    {503, 508, "Fiume rinfrescante", true, 1, false},
    {509, 509, "Cassa Misteriosa", true, 0, true},
    {510, 510, "Tenda", false, 0, false},
    {511, 511, "Cactus Spinoso", true, 0, false},
    {512, 512, "Carcassa di qualche animale sfortunato", true, 0, false},
    {513, 513, "Un fungo misterioso con propriet\xE0 misteriose", true, 0, false},
    {514, 515, "Funghi velenosi ", false, 0, false},
    {516, 516, "Falo' Rigenerante", true, 0, false},
    {517, 518, "Totem della Tribu'", false, 0, false},
    {519, 519, "Tenda del Capo Tribu'", false, 0, false},
    {520, 520, "Tronco d'albero", false, 0, false},
    {536, 537, "Tenda in fiamme", false, 0, false},
    {538, 538, "Cesta Vuota", true, 0, true},
    {539, 539, "Cesta del Pesce Spada", true, 0, true},
    {540, 540, "Cesta Mele e Carne", true, 0, false},
    {541, 541, "Stendipanni", false, 0, false},
    {542, 542, "Cesta del Pesce", true, 0, false},
    {543, 543, "Manichino Utile per allenamenti", true, 0, true},
    {544, 544, "Mela succosa", false, 0, true},
    {545, 545, "Cesta di Armi", true, 0, true},
};

const ObjectKind* findObjectKind(std::int32_t id) {
    for (const ObjectKind& kind : kObjectTable) {
        if (id >= kind.first && id <= kind.last) {
            return &kind;
        }
    }
    return nullptr;
}

// Marks the cell's column in its row when the cell lies in the grid (the map viewer classifies a
// probe cell of its own).
void markUsable(const Tile& cell) {
    const std::less<const Tile*> before;
    if (before(&cell, tileGrid) || !before(&cell, tileGrid + kGridCells)) {
        return;
    }
    const auto index = static_cast<int>(&cell - tileGrid);
    setColumn(usableMarks, index / kGridSize, index % kGridSize);
}

} // namespace

std::mutex& gridRowLock(int row) {
    return rowLocks[static_cast<std::size_t>(row)];
}

bool sheetRect(std::int32_t col, std::int32_t row, int sheetRows, sf::IntRect& rect) {
    if (col < 0 || col >= kSheetColumns || row < 0 || row >= sheetRows) {
        return false;
    }
    rect = {col * kSheetCellPixels, row * kSheetCellPixels, kSheetCellPixels, kSheetCellPixels};
    return true;
}

void applyIdTable(Tile& cell, std::int32_t id) {
    if (id == 0) {
        cell.groundClear = true;
        cell.groundSheetCol = -1;
        cell.groundSheetRow = 0;
        return;
    }
    if (id < kFirstObjectId) {
        if (id >= kRavineFirst && id <= kRavineLast) {
            cell.blocking = true;
            cell.name = "Burrone";
        }
        // Negative ids land on negative sheet cells, as the division truncates towards zero; in
        // 64 bits, since id - 1 would overflow for the lowest 32-bit id.
        const std::int64_t n = std::int64_t{id} - 1;
        cell.groundSheetCol = static_cast<std::int32_t>(n % kSheetColumns);
        cell.groundSheetRow = static_cast<std::int32_t>(n / kSheetColumns);
        return;
    }
    cell.objectSheetCol = (id - kFirstObjectId) % kSheetColumns;
    cell.objectSheetRow = (id - kFirstObjectId) / kSheetColumns;
    if (const ObjectKind* kind = findObjectKind(id)) {
        cell.blocking = kind->blocking;
        cell.name = kind->name;
        cell.water = kind->water;
        cell.interactive = kind->interactive;
        if (cell.interactive) {
            markUsable(cell);
        }
    }
}

void markCellChanged(int row, int col) {
    setColumn(changedMarks, row, col);
}

void classifyCell(std::int32_t id, std::int32_t row, std::int32_t col) {
    changeCell(row, col, [id](Tile& cell) { applyIdTable(cell, id); });
}

RowColumns takeChangedColumns(int row) {
    RowColumns columns;
    for (int word = 0; word < kColumnWords; ++word) {
        columns.words[word] = changedMarks[row][word].exchange(0, std::memory_order_relaxed);
    }
    return columns;
}

void markAllCellsChanged() {
    wholeGridMarks.fetch_add(1);
}

unsigned wholeGridChanges() {
    return wholeGridMarks.load();
}

void resetTileGrid() {
    for (int row = 0; row < kGridSize; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = 0; col < kGridSize; ++col) {
            tileGrid[row * kGridSize + col] = Tile();
        }
        for (int word = 0; word < kColumnWords; ++word) {
            usableMarks[row][word].store(0, std::memory_order_relaxed);
            changedMarks[row][word].store(0, std::memory_order_relaxed);
        }
    }
    markAllCellsChanged();
}

RowColumns usableColumns(int row) {
    RowColumns columns;
    for (int word = 0; word < kColumnWords; ++word) {
        columns.words[word] = usableMarks[row][word].load(std::memory_order_relaxed);
    }
    return columns;
}

int nextColumn(const RowColumns& columns, int from, int end) {
    int col = from;
    while (col < end) {
        const int word = col / kColumnWordBits;
        const std::uint64_t ahead = columns.words[word] >> (col % kColumnWordBits);
        if (ahead != 0) {
            return std::min(end, col + __builtin_ctzll(ahead));
        }
        col = (word + 1) * kColumnWordBits;
    }
    return end;
}
