// battleScreen.h -- the battle as the player sees it: both fighters under their health bars, the
// move menu with its pointer, each side's value rows; then the end-of-battle test.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

// Notes whether the backdrop's picture is opaque (start-up, once it is loaded): then it is drawn
// without blending, and not under the move menu, which covers it.
void noteBackdropOpacity();

// One battle frame in screen pixels over the whole window, then checkBattleEnd().
void drawBattleScreen(sf::RenderTarget& target);
