// interfaceArt.h -- the sheets of the game's screens: talk hints, dialogue box, icons,
// description pop-ups, weapons and the inventory panel.
#pragma once

#include "art/pixelGrid.h"

#include <string>
#include <vector>

sf::Image speechSheet(const SpriteBook& book);      // speech-map.png, 480 x 160
sf::Image talkSheet(const SpriteBook& book);        // talk-map.png, 480 x 480
sf::Image iconSheet(const SpriteBook& book);        // icon-map.png, 800 x 640
sf::Image descriptionSheet(const SpriteBook& book); // descrizioni-map.png, 480 x 160
sf::Image weaponSheet(const SpriteBook& book);      // weapons-map.png, 480 x 160

// Every picture these sheets take from the interface sprite book.
std::vector<std::string> interfaceSprites();
