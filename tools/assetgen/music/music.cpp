// music.cpp -- placeholder tones until the music lands.
#include "music/music.h"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <cmath>
#include <vector>

namespace {
bool tone(const std::filesystem::path& file, float seconds) {
    const unsigned rate = 22050;
    std::vector<sf::Int16> samples(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<sf::Int16>(3000 * std::sin(i * 440.0 * 6.2831853 / rate));
    }
    sf::OutputSoundFile out;
    if (!out.openFromFile(file.string(), rate, 1)) {
        return false;
    }
    out.write(samples.data(), samples.size());
    return true;
}
} // namespace

bool generateMusic(const std::filesystem::path&, const std::filesystem::path& out) {
    return tone(out / "worldHost.wav", 60) && tone(out / "introMusic.wav", 20) &&
           tone(out / "changeChapter.wav", 3);
}
