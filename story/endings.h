// endings.h -- the six endings and the check, after each frame, of whether one has been reached.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

constexpr int kEndingCount = 6;

// The sentence of each ending, indexed by endingId.
extern const char* const kEndingTexts[kEndingCount];

// Hope at 0 gives ending 0; fleeing from the Boss ending 1 or 2 by hope; otherwise the ending the
// Boss's script may have chosen stays. Fills story.endingText once an ending is reached.
void checkEnding();

// The end screen: "FINE", the ending's sentence and how to leave, centred one under the other.
void drawEndingScreen(sf::RenderTarget& target);
