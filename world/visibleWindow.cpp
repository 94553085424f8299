// visibleWindow.cpp -- the window of grid cells around the camera.
#include "world/visibleWindow.h"

#include "world/tileGrid.h"

namespace {

constexpr int kWindowMargin = 2;

// A value at or below 0 becomes 0, at or above the grid size 249: the ends are exclusive, so
// row 249 and column 249 are never part of the window.
int clampToGrid(int value) {
    if (value <= 0) {
        return 0;
    }
    if (value >= kGridSize) {
        return kGridSize - 1;
    }
    return value;
}

int firstCell(float centrePixels, int extentCells) {
    return clampToGrid(
        static_cast<int>(centrePixels / kCellPixels - extentCells * 0.5f - kWindowMargin));
}

int endCell(float centrePixels, int extentCells) {
    return clampToGrid(
        static_cast<int>(centrePixels / kCellPixels + extentCells * 0.5f + kWindowMargin));
}

} // namespace

VisibleWindow visibleWindowAround(sf::Vector2f centre, int widthCells, int heightCells) {
    VisibleWindow window;
    window.visibleColFirst = firstCell(centre.x, widthCells);
    window.visibleColEnd = endCell(centre.x, widthCells);
    window.visibleRowFirst = firstCell(centre.y, heightCells);
    window.visibleRowEnd = endCell(centre.y, heightCells);
    return window;
}

void updateVisibleWindow(const sf::View& view, int widthCells, int heightCells) {
    world.visibleWindow.store(visibleWindowAround(view.getCenter(), widthCells, heightCells));
}
