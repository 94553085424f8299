// chapterChange.h -- the chapter card: when the story moves to a new quest the world darkens
// behind a veil, a jingle plays, the quest's title and objective show for three seconds, the veil
// lifts and the world's music comes back.
#pragma once

#include "shell/gameClock.h"

#include <SFML/Graphics/RenderTarget.hpp>

// One frame of the card: the veil at fadeAlpha, at most one fade step (3 per 10 ms, a 3000 ms hold
// at 150, then back), the texts while the veil is exactly 150; the end clears transitionPending and
// plays the world's music again. screenMark is the time of the last step, stamped from the clock.
// Without `drawVeil`, the veil is left to the world's drawing, which darkened the world by it.
// While the game's time is held (the pause), the card is drawn as it stands, and nothing steps.
void drawChapterChange(sf::RenderTarget& target, sf::Time screenNow, sf::Time& screenMark,
                       GameClock screenClock, bool drawVeil = true);
