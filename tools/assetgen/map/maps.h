// maps.h -- entry of the generator's map: writes its files into the output folder.
#pragma once

#include <filesystem>

// Returns false (after saying why on standard error) when a file could not be written.
bool generateMaps(const std::filesystem::path& dataDir, const std::filesystem::path& outDir);
