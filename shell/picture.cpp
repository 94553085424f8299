// picture.cpp -- a sheet's cell drawn through a kept shape; opaque cells.
#include "shell/picture.h"

void drawSheetPicture(sf::RenderTarget& target, sf::RectangleShape& kept, sf::Vector2f size,
                      sf::Vector2f at, const sf::Texture& sheet, const sf::IntRect& cell,
                      const sf::BlendMode& blend) {
    kept.setSize(size);
    kept.setPosition(at);
    kept.setTexture(&sheet);
    kept.setTextureRect(cell);
    target.draw(kept, blend);
}

bool opaqueCell(const sf::Image& sheet, const sf::IntRect& cell) {
    if (cell.left < 0 || cell.top < 0 || cell.width <= 0 || cell.height <= 0 ||
        static_cast<unsigned>(cell.left + cell.width) > sheet.getSize().x ||
        static_cast<unsigned>(cell.top + cell.height) > sheet.getSize().y) {
        return false;
    }
    for (int y = cell.top; y < cell.top + cell.height; ++y) {
        for (int x = cell.left; x < cell.left + cell.width; ++x) {
            if (sheet.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a != 255) {
                return false;
            }
        }
    }
    return true;
}

sf::BlendMode blendFor(bool opaque) {
    return opaque ? sf::BlendNone : sf::BlendAlpha;
}
