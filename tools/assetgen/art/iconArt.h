// iconArt.h -- the desktop icon: the heroine's face, cut from her front picture and enlarged by
// whole factors, so that every size keeps the pixel art crisp.
#pragma once

#include "art/pixelGrid.h"

#include <filesystem>
#include <vector>

// The side of the face in texels: the smallest icon, and every size must be a multiple of it.
constexpr unsigned kIconFaceTexels = 16;

// The face as the 16 x 16 icon, outlined like the figures on the sheets.
PixelGrid heroineFace(const SpriteBook& heroine);

// Writes <outDir>/<n>x<n>/apps/kaiva.png for every size n (the icon theme's layout). Returns false
// (after saying why on standard error) for a size that is not a multiple of the face's side, or
// when the sprite file lacks the front picture or a file could not be written.
bool generateIcons(const std::filesystem::path& dataDir, const std::filesystem::path& outDir,
                   const std::vector<unsigned>& sizes);
