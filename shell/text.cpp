// text.cpp -- Windows-1252 to code points.
#include "shell/text.h"

#include <SFML/Graphics/Text.hpp>

namespace {

// Bytes 0x80..0x9F, the only ones where Windows-1252 differs from Latin-1. The five bytes that
// Windows-1252 leaves undefined map to the replacement character.
constexpr sf::Uint32 kHighControlRange[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

sf::Uint32 codePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControlRange[byte - 0x80];
    }
    return byte;
}

sf::String displayWords; // main thread only: setDisplayWords' words, kept for their memory

} // namespace

sf::String toDisplayString(const std::string& text) {
    std::basic_string<sf::Uint32> codePoints;
    codePoints.reserve(text.size());
    for (char c : text) {
        codePoints.push_back(codePoint(static_cast<unsigned char>(c)));
    }
    return sf::String(codePoints);
}

void setDisplayWords(sf::Text& text, std::string_view words) {
    displayWords.clear();
    for (char c : words) {
        displayWords += sf::String(codePoint(static_cast<unsigned char>(c)));
    }
    text.setString(displayWords);
}
