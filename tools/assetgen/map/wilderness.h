// wilderness.h -- the land beyond the play area's walls, filled by rules instead of by hand.
#pragma once

#include "map/draft.h"

// Fills every cell of the draft with wilderness; the layout then paints the play area over it.
void fillWilderness(WorldDraft& draft);
