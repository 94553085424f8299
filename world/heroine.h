// heroine.h -- the heroine's shape on the map and the four sensor lines around her feet.
#pragma once

#include <SFML/Graphics/RectangleShape.hpp>

#include <mutex>

constexpr float kHeroineSize = 84;

// Guarded by heroineLock(): only the main thread changes the heroine, but the character thread
// copies her shape, and even reading a shape's bounds rewrites its cached transform, so every
// access holds the lock.
extern sf::RectangleShape heroine;
extern sf::RectangleShape contactBoxes[4]; // main thread only

std::mutex& heroineLock();

// The heroine's global bounds, read under her lock.
sf::FloatRect heroineBounds();

// Puts the heroine and the sensor lines back to their unset shapes (size 0 x 0).
void resetHeroine();
