// visibleWindow.h -- the window of grid cells around the camera that the per-frame loops visit.
#pragma once

#include "shell/gameState.h"

#include <SFML/Graphics/View.hpp>

// The 1920 x 1080 screen in whole cells (1920 / 100 and 1080 / 100, truncated): the extent the
// world's visible window is computed from in play.
constexpr int kScreenCellsWide = 19;
constexpr int kScreenCellsHigh = 10;

// The window for a view centre, widthCells x heightCells being the screen size in whole cells
// (19 x 10 for the 1920 x 1080 screen): two cells of margin on each side, clamped to the grid.
VisibleWindow visibleWindowAround(sf::Vector2f centre, int widthCells, int heightCells);

// Stores the window around the view's centre in world.visibleWindow.
void updateVisibleWindow(const sf::View& view, int widthCells, int heightCells);
