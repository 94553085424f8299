// inventory.h -- two views of the story that change nothing: the inventory overlay (Tab) with the
// heroine enlarged, what she carries and what she has found, and the pop-up naming the map cell
// under the mouse.
#pragma once

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

// The overlay over the frozen world; `heroineCopy` is the heroine's shape as the frame left her.
void drawInventory(sf::RenderTarget& target, sf::RectangleShape heroineCopy);

// The name of the cell under the mouse in the top right corner (and, on the river, that its water
// refreshes); nothing for a cell without a name or outside the grid.
void drawDescriptionPopup(sf::RenderTarget& target);
