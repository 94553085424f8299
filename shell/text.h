// text.h -- the game's texts are single-byte Windows-1252 strings; SFML wants code points.
#pragma once

#include <SFML/System/String.hpp>

#include <string>
#include <string_view>

namespace sf {
class Text;
}

// Maps every byte to its Windows-1252 code point ("propriet\xE0" shows "proprietà"), where SFML's
// own conversion would go through the "C" locale and show a missing glyph for bytes above 127.
sf::String toDisplayString(const std::string& text);

// Gives the text these words, converted as toDisplayString converts them, through a string kept
// between calls: words that did not change leave the text laid out as it was, and new words take
// memory only when they are longer than any before. Main thread only.
void setDisplayWords(sf::Text& text, std::string_view words);
