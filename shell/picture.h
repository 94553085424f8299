// picture.h -- one cell of a sprite sheet drawn stretched to a size, through a shape the screen
// keeps between frames, so that drawing its pictures builds nothing.
#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

void drawSheetPicture(sf::RenderTarget& target, sf::RectangleShape& kept, sf::Vector2f size,
                      sf::Vector2f at, const sf::Texture& sheet, const sf::IntRect& cell);
