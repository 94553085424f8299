// worldCache.h -- the drawn world kept between frames: the two layers of the cells in view, drawn
// once into a picture that scrolls with the camera and shown each frame as one opaque quad.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

#include <cstddef>

// Draws the ground and object layers of the cells in the target's view, as the direct passes
// draw them over opaque black (black wherever the view shows no cell of the visible window), from
// the picture kept since the last frame. Before that, the cells that came into view, changed
// (changeCell), or came into or left the visible window are drawn into the picture again; after
// a reset of the grid, all of them. The view's edges must fall on whole pixels of the target
// (wholePixelView). False, and nothing drawn, where the picture does not serve: the game's first
// frame (making and filling the picture would show the window later), or a view it cannot follow
// (rotated, or needing a larger texture than the graphics driver gives); the caller then draws the
// direct passes. Main thread only.
// The picture is shown darkened by `tint` as the passes darken it (world/worldDrawing.h), and not
// at all within `holes` (pixels of the target that the screen covers with opaque pictures; at most
// Cover::kMost of them).
bool drawCachedLayers(sf::RenderTarget& target, sf::Color tint = sf::Color::White,
                      const sf::IntRect* holes = nullptr, int holeCount = 0);

// The kept picture's size in bytes: 0 until a frame has drawn the world.
std::size_t drawnWorldBytes();
