// riverArt.h -- the river pieces and the bridges of objectTable.png: a band of water between
// muddy banks that runs straight or bends, the same across every cell border.
#pragma once

#include "art/pixelGrid.h"

constexpr int kRiverTexels = 64; // texels across a river cell (scaled x5 to 320 pixels)
constexpr int kBankOuter = 15;   // first texel of the band, counted from the cell side
constexpr int kWaterFirst = 19;  // first texel of water; the band is symmetric about the middle

// River object `id` (503..508) or bridge (521, 522); an empty grid for other ids.
PixelGrid riverPiece(int id);
