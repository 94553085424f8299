// visibleWindow.h -- the window of grid cells around the camera that the per-frame loops visit.
#pragma once

#include "shell/gameState.h"

#include <SFML/Graphics/View.hpp>

// The window for a view centre, widthCells x heightCells being the screen size in whole cells
// (19 x 10 for the 1920 x 1080 screen): two cells of margin on each side, clamped to the grid.
VisibleWindow visibleWindowAround(sf::Vector2f centre, int widthCells, int heightCells);

// Stores the window around the view's centre in world.visibleWindow.
void updateVisibleWindow(const sf::View& view, int widthCells, int heightCells);
