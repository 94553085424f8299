// text.h -- the game's texts are single-byte Windows-1252 strings; SFML wants code points.
#pragma once

#include <SFML/System/String.hpp>

#include <string>

// Maps every byte to its Windows-1252 code point ("propriet\xE0" shows "proprietà"), where SFML's
// own conversion would go through the "C" locale and show a missing glyph for bytes above 127.
sf::String toDisplayString(const std::string& text);
