// heroine.h -- the heroine: her shape on the map, her walk and its camera follow, the four sensor
// lines around her feet that stop her at blocking cells, and the character she can talk to.
#pragma once

#include "shell/gameClock.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <mutex>

constexpr float kHeroineSize = 84;
constexpr int kHeroFramePixels = 160; // frames of kaiva-map.png

// The walking keys, in the order of her facings: down (S), up (W), left (A), right (D).
extern const sf::Keyboard::Key kWalkKeys[4];

// Guarded by heroineLock(): only the main thread changes the heroine, but the character thread
// reads her position, and reading a shape's bounds rewrites its cached transform, so every access
// holds the lock.
extern sf::RectangleShape heroine;
extern sf::RectangleShape contactBoxes[4]; // main thread only: 0 up, 1 down, 2 left, 3 right

std::mutex& heroineLock();

// The heroine's global bounds, read under her lock: one consistent snapshot.
sf::FloatRect heroineBounds();

// Puts the heroine and the sensor lines back to their unset shapes (size 0 x 0).
void resetHeroine();

// One frame of walking: W, A, S, D (or the pad's stick or directional pad) move her by
// walkSpeed x frameSeconds where the matching canMove flag allows, the walking frames advance every
// 300 ms (150 ms running), the sensor lines follow her and the camera follows her past its
// thresholds.
void moveHeroine(sf::View& camera, const GameClock& animClock, sf::Time& animNow,
                 sf::Time& animLast);

// Places the four sensor lines around her feet from her current position.
void placeSensors();

// How far, at most `most` pixels, she can be moved straight up before her feet (the span of the
// sensor lines above and below them) would pass through or land in a blocking cell they do not
// overlap now. The side lines, 5 pixels beside her feet, do not count: a tree diagonally above
// her is no wall on her way up.
float roomAbove(float most);

// Tests the sensor lines against the blocking cells of the visible window: a line that overlaps
// one clears its direction's flag; when none overlaps anything all four flags come back, and when
// all four are cleared, those of the lines that touch nothing come back. Returns whether any line
// touched.
bool updateTileContacts();

// The first character (in roster order) within 90 pixels to her left or right, marked with talk
// hint 1; the others near the visible window go back to their resting hint. -1 when none.
int findTalkTarget();
