// wavWriter.cpp -- sf::OutputSoundFile writes the WAV. (sf::SoundBuffer::saveToFile would need an
// audio device, and without one silently writes a file of 0 channels at 0 Hz.)
#include "wavWriter.h"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <iostream>

bool writeWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
              unsigned sampleRate) {
    sf::OutputSoundFile out;
    if (!out.openFromFile(file.string(), sampleRate, 1)) {
        std::cerr << "assetgen: cannot write " << file.string() << std::endl;
        return false;
    }
    out.write(samples.data(), samples.size());
    return true;
}
