// backdropArt.h -- battle.png: the plains under a wide sky where the duels are fought.
#pragma once

#include <SFML/Graphics/Image.hpp>

// 480 x 270 pixels, shown four times larger without smoothing.
sf::Image battleBackdrop();
