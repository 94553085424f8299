// worldDrawing.h -- the world through the camera: ground and object layers of the visible window,
// the characters, their talk hints, the heroine, the hint of the usable object and the cursor.
#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

// All passes in their order. The target's view must be the camera.
void drawWorld(sf::RenderTarget& target);

void drawGroundPass(sf::RenderTarget& target);
void drawObjectPass(sf::RenderTarget& target);
void drawCharacters(sf::RenderTarget& target);

// Talk hints over the characters near the heroine.
void drawTalkHints(sf::RenderTarget& target);

// Finds the usable object the heroine reaches and draws its hint. Writes
// conversation.interactObject, interactX and interactY: the last reached interactive cell of the
// visible window in row-major order, 0 when she reaches none; kept when the window holds no
// interactive cell at all (so the -1 of a used object survives).
void drawObjectHint(sf::RenderTarget& target);
