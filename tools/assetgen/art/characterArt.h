// characterArt.h -- NPC-map.png and kaiva-map.png: walking figures built from sprite frames.
#pragma once

#include "art/pixelGrid.h"

#include <string>
#include <vector>

// The four walk frames of `figure` (e.g. "kaiva.side"): the base picture, then the base with
// the bottom rows replaced by "<figure>.walk1", ".walk2", ".walk3" (the base where one lacks).
std::vector<PixelGrid> walkFrames(const SpriteBook& book, const std::string& figure);

// NPC-map.png from the people's sprite book: 4 frames of 160 pixels per row, 12 rows.
sf::Image npcSheet(const SpriteBook& people);
// kaiva-map.png from the heroine's sprite book: down, left, right, up rows.
sf::Image heroSheet(const SpriteBook& heroine);

// The figures the sheets need, so a missing picture is reported before anything is written.
std::vector<std::string> npcFigures();
std::vector<std::string> heroFigures();
