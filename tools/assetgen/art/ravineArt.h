// ravineArt.h -- the ravine pieces: a chasm seen from above whose rims meet across cells, so
// that edges, outer and inner corners join into a ravine of any outline.
#pragma once

#include "art/pixelGrid.h"

constexpr int kRavineRim = 20; // texels of solid ground between a cell's solid side and the rim

// The 64 x 64 texels of ravine ground id `id` (12..25).
PixelGrid ravineCell(int id);
