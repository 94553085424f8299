// wavWriter.h -- writes mono 16-bit PCM samples as a WAV file, with no sound device needed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Returns false (after saying why on standard error) when the file could not be written.
bool writeWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
              unsigned sampleRate);
