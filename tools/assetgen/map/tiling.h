// tiling.h -- the passes that turn the painted draft into map values: river pieces and bridges
// along each course, cliff edges and corners around the ravines, banks beside the water and the
// grass-to-sand borders of the desert.
#pragma once

#include "map/draft.h"

// Runs every pass in order. Layout mistakes it finds (a bridge off the river or on a bend, a
// hand-placed object on a ravine) go to draft.errors; returns false when there are any.
bool tileWorld(WorldDraft& draft);
