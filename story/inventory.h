// inventory.h -- two views of the story that change nothing: the inventory overlay (Tab) with the
// heroine enlarged, what she carries and what she has found, and the pop-up naming the map cell
// under the mouse.
#pragma once

#include "shell/picture.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

// Notes whether every texel of the inventory's panel (icon sheet) and of the pop-up's two panels
// (description sheet) is opaque, so that they are drawn without blending and the world is not
// drawn under them. Start-up calls it once the sheets are loaded.
void notePanelOpacity();

// What the inventory and the pop-up about to be drawn cover with opaque panels.
void addInventoryCover(Cover& cover);
void addPopupCover(Cover& cover);

// The shade over the world while the inventory is open: the frame darkens the world by it as it
// draws it (shell/frame.h, drawWorld).
sf::Color inventoryShade();

// The overlay over the world the frame drew shaded; `heroineCopy` is the heroine's shape as the
// frame left her.
void drawInventory(sf::RenderTarget& target, sf::RectangleShape heroineCopy);

// The name of the cell under the mouse in the top right corner (and, on the river, that its water
// refreshes); nothing for a cell without a name or outside the grid.
void drawDescriptionPopup(sf::RenderTarget& target);
