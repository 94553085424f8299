// picture.h -- one cell of a sprite sheet drawn stretched to a size, through a shape the screen
// keeps between frames, so that drawing its pictures builds nothing; which cells are opaque; and
// what a screen's opaque pictures cover of the world under them.
#pragma once

#include <SFML/Graphics/BlendMode.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

void drawSheetPicture(sf::RenderTarget& target, sf::RectangleShape& kept, sf::Vector2f size,
                      sf::Vector2f at, const sf::Texture& sheet, const sf::IntRect& cell,
                      const sf::BlendMode& blend = sf::BlendAlpha);

// Every texel of the sheet's cell is opaque (and the cell lies within the sheet): drawn without
// blending it gives the same picture, and hides whatever lies under it.
bool opaqueCell(const sf::Image& sheet, const sf::IntRect& cell);

// The blending an opaque cell needs (none), or any other (alpha).
sf::BlendMode blendFor(bool opaque);

// The places, in pixels of the 1920 x 1080 picture, that a screen covers with opaque pictures: the
// world under them never shows, so the frame need not draw it there.
struct Cover {
    static constexpr int kMost = 4;
    sf::FloatRect rects[kMost];
    int count = 0;

    void add(const sf::FloatRect& rect) {
        if (count < kMost) {
            rects[count++] = rect;
        }
    }
};
