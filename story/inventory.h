// inventory.h -- two views of the story that change nothing: the inventory overlay (Tab) with the
// heroine enlarged, what she carries and what she has found, and the pop-up naming the map cell
// under the mouse.
#pragma once

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

// Notes whether every texel of the panel's picture in the icon sheet is opaque, so that the
// overlay's shade may leave out the panel's square. Start-up calls it once the sheet is loaded.
void notePanelOpacity();

// The overlay over the frozen world; `heroineCopy` is the heroine's shape as the frame left her.
void drawInventory(sf::RenderTarget& target, sf::RectangleShape heroineCopy);

// The name of the cell under the mouse in the top right corner (and, on the river, that its water
// refreshes); nothing for a cell without a name or outside the grid.
void drawDescriptionPopup(sf::RenderTarget& target);
