// screenLayout.h -- the game is laid out for a 1920 x 1080 picture; on any other window size that
// picture is scaled to fit, centred, with black bars (letterboxed).
#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/View.hpp>

constexpr unsigned kScreenWidth = 1920;
constexpr unsigned kScreenHeight = 1080;

// The part of a window of this size that shows the picture, in the window's 0..1 units.
sf::FloatRect letterboxViewport(sf::Vector2u windowSize);

// The screen-pixel view of the 1920 x 1080 picture (the "default view" of every screen and
// overlay), letterboxed into a window of this size.
sf::View screenViewFor(sf::Vector2u windowSize);
