// sheetLoader.h -- the sprite sheets read from their PNG files straight into their textures, a
// strip of rows at a time.
#pragma once

#include <SFML/Graphics/Texture.hpp>

#include <string>

// Loads the sheet at `path` into `texture`, as sf::Texture::loadFromFile would (the same texels,
// the same result), without ever holding the whole decoded picture: a PNG is inflated a strip of
// rows at a time into the texture, which spares start-up the fresh memory of three full copies of
// every sheet. A file that is not a plain PNG (interlaced, another format, missing or broken) goes
// through SFML's own loader, with its messages. When `opaque` is given, it tells whether every
// pixel is fully opaque. A folder, a pipe or a device at `path` is refused without opening it. On
// failure the texture is left empty.
bool loadSheet(sf::Texture& texture, const std::string& path, bool* opaque = nullptr);
