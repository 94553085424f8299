// objectArt.h -- objectTable.png: every object id from its sprite (or the river drawing).
#pragma once

#include "art/pixelGrid.h"

// The sheet of object ids 500..kLastObjectId, five 320-pixel cells per row.
sf::Image objectSheet(const SpriteBook& objects);
// The sprite name drawn for an object id, empty for the river pieces and bridges.
const char* objectSpriteName(int id);
