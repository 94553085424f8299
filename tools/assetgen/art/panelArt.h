// panelArt.h -- procedural panels of leather and wood: the dialogue box, plates, buttons,
// description pop-ups and the inventory, drawn at full size with a 4-pixel grain.
#pragma once

#include "art/pixelGrid.h"

constexpr int kPanelGrain = 4; // pixels per texel of grain and border, matching the sprites

// How a panel is framed.
struct PanelStyle {
    sf::Color inside;     // the calm field white text sits on
    sf::Color border;     // the band around it
    sf::Color trim;       // beads or stitches along the border
    int borderTexels = 2; // width of the band, in grain texels
};

// A leather panel of width x height pixels: ink edge, a beaded band and a dark field.
PixelGrid leatherPanel(int width, int height, const PanelStyle& style);
// Draws a framed square slot (an inset with a light rim) of `size` pixels at (left, top).
void drawSlot(PixelGrid& panel, int left, int top, int size);
// Darkens or lightens (factor) the rectangle, for insets and glows.
void tintRect(PixelGrid& panel, int left, int top, int width, int height, float factor);
// Mixes the rectangle toward `colour` by `amount`, keeping its grain.
void washRect(PixelGrid& panel, int left, int top, int width, int height, sf::Color colour,
              float amount);
// Paints `sprite` scaled by `scale` with its top-left corner at (left, top).
void paintScaled(PixelGrid& panel, const PixelGrid& sprite, int left, int top, int scale);
