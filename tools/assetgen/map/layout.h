// layout.h -- the world's layout description: a short text of painting commands (regions,
// forests, ravines, roads, the river, hand-placed features) applied in order onto the draft.
#pragma once

#include "map/draft.h"

#include <filesystem>
#include <string>

// Applies every command of the layout text. A malformed line is recorded in draft.errors as
// "line N: why" and skipped; returns false when any line was malformed.
bool applyLayout(const std::string& text, WorldDraft& draft);

// Reads the file and applies it; false (reason in draft.errors) when unreadable or malformed.
bool applyLayoutFile(const std::filesystem::path& file, WorldDraft& draft);
