// groundArt.h -- the ground cells of tileTable.png: grass, earth, sand, stone, water and the
// ravine, each a 64 x 64 texel picture that tiles with itself.
#pragma once

#include "art/pixelGrid.h"

constexpr int kGroundTexels = 64; // texels across one ground cell (scaled x5 to 320 pixels)

// The colour of one texel of plain grass at (x, y) of a cell: the ground that meets the grass-side
// of transitions and the rim of the ravine, so their edges agree with grass cells.
sf::Color grassTexel(int x, int y);
sf::Color sandTexel(int x, int y);

// The whole cell of ground id `id` (1..30); an empty grid for an id we do not draw.
PixelGrid groundCell(int id);
