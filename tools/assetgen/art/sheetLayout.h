// sheetLayout.h -- sizes and cell layout of every texture sheet the game cuts, in one place for
// the generator and for anyone checking its output.
#pragma once

namespace sheet {
constexpr unsigned kCellPixels = 320; // ground and object cells
constexpr unsigned kCellsPerRow = 5;
constexpr unsigned kFramePixels = 160; // character, speech, icon and weapon frames
constexpr unsigned kFramesPerRow = 4;
constexpr unsigned kNpcRows = 12;
constexpr unsigned kHeroRows = 4;
constexpr unsigned kBackdropWidth = 480; // battle.png: a quarter of the 1920 x 1080 screen
constexpr unsigned kBackdropHeight = 270;
} // namespace sheet
