// assetFiles.h -- which asset paths the game hands to the graphics and audio library at all.
#pragma once

#include <string>

// True for a regular file (links followed) and for nothing at all, which the library then reports
// missing in its own words; false for a folder, a pipe, a device or a socket in an asset's place.
// The library's sound readers spin forever on a folder's read error, and opening a pipe blocks
// until something writes to it: either would freeze start-up with the window already shown.
bool assetMayBeOpened(const std::string& path);
