// picture.cpp -- a sheet's cell drawn through a kept shape.
#include "shell/picture.h"

void drawSheetPicture(sf::RenderTarget& target, sf::RectangleShape& kept, sf::Vector2f size,
                      sf::Vector2f at, const sf::Texture& sheet, const sf::IntRect& cell) {
    kept.setSize(size);
    kept.setPosition(at);
    kept.setTexture(&sheet);
    kept.setTextureRect(cell);
    target.draw(kept);
}
