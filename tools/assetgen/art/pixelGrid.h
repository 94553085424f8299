// pixelGrid.h -- small pictures as grids of colours: read from sprite text files, flipped,
// outlined, layered, and stamped into a sheet scaled up by a whole factor.
#pragma once

#include <SFML/Graphics/Image.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct PixelGrid {
    int width = 0;
    int height = 0;
    std::vector<sf::Color> pixels; // row by row

    PixelGrid() = default;
    PixelGrid(int w, int h, sf::Color fill = sf::Color::Transparent);
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    sf::Color at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    void set(int x, int y, sf::Color c) { pixels[static_cast<std::size_t>(y * width + x)] = c; }
    // Sets the pixel only when (x, y) lies in the grid, so shapes may run past the border.
    void put(int x, int y, sf::Color c);
};

// Every picture of one sprite file, by name.
using SpriteBook = std::map<std::string, PixelGrid>;

// Reads a sprite file: a picture starts with a line "@ name" followed by its rows, one letter
// of the palette legend per pixel; lines starting with '#' are comments. Returns false and says
// why (file and line) in `error` on an unknown letter, a ragged picture or a repeated name.
bool readSpriteFile(const std::filesystem::path& file, SpriteBook& book, std::string& error);

// The picture called `name`, or an empty grid when the book lacks it.
const PixelGrid& spriteOrEmpty(const SpriteBook& book, const std::string& name);

PixelGrid mirrored(const PixelGrid& grid);
// Adds a one-pixel outline of `ink` around every opaque shape (on transparent neighbours).
PixelGrid outlined(const PixelGrid& grid, sf::Color ink);
// `overlay` replaces the bottom rows of `base` (its height tells how many), e.g. walking legs.
PixelGrid withBottomRows(const PixelGrid& base, const PixelGrid& overlay);
// Paints the opaque pixels of `top` over `base` with its top-left corner at (left, top).
void paintOver(PixelGrid& base, const PixelGrid& topGrid, int left, int top);
// Moves every pixel by (dx, dy); pixels leaving the grid are lost, new ones are transparent.
PixelGrid shifted(const PixelGrid& grid, int dx, int dy);

// Copies `grid` into `image` at (left, top), each pixel becoming a scale x scale block.
void stamp(sf::Image& image, const PixelGrid& grid, unsigned left, unsigned top, unsigned scale);
