// worldDrawing.h -- the world through the camera: ground and object layers of the visible window,
// the characters, their talk hints, the heroine, the hint of the usable object and the cursor.
#pragma once

#include "world/tileGrid.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <vector>

// Every pass takes a tint that darkens what it draws, as a veil of black over the world would:
// the world drawn with the tint (255 - a, 255 - a, 255 - a) is the world under a veil of alpha a,
// in one pass instead of two. White draws the world as it is.

// The passes over the two layers, in their order: the characters, their talk hints, the heroine,
// the usable object's hint and the tile cursor, through the target's view (the frame's world
// drawing, shell/frame.h, puts it on whole pixels and draws the layers first).
void drawWorldAboveLayers(sf::RenderTarget& target, sf::Color tint = sf::Color::White);

// The two layers drawn directly from the grid, each in one draw call: what the kept picture of the
// world (world/worldCache.h) keeps.
void drawGroundPass(sf::RenderTarget& target, sf::Color tint = sf::Color::White);
void drawObjectPass(sf::RenderTarget& target, sf::Color tint = sf::Color::White);
void drawCharacters(sf::RenderTarget& target, sf::Color tint = sf::Color::White);

// Talk hints over the characters near the heroine.
void drawTalkHints(sf::RenderTarget& target, sf::Color tint = sf::Color::White);

// Finds the usable object the heroine reaches and draws its hint. Writes
// conversation.interactObject, interactX and interactY: the last reached interactive cell of the
// visible window in row-major order, 0 when she reaches none; kept when the window holds no
// interactive cell at all (so the -1 of a used object survives).
void drawObjectHint(sf::RenderTarget& target, sf::Color tint = sf::Color::White);

// The tint of a black veil of this alpha (see above).
sf::Color veilTint(sf::Uint8 alpha);

// The view moved by less than half a pixel of the target, so that its left and top edges fall on
// whole pixels. The world is drawn through it: a camera between two pixels shows the picture of
// the nearest whole pixel, which a picture of the world kept between frames can show exactly,
// and whose textures do not shimmer as the camera glides. A rotated view is left as it is.
sf::View wholePixelView(const sf::View& view, const sf::RenderTarget& target);

// What a cell shows of each layer: false when nothing; otherwise the part of the sheet (of
// `sheetRows` rows) and, for the ground, the fill.
bool groundPictureOf(const Tile& cell, int sheetRows, sf::IntRect& rect, sf::Color& fill);
bool objectPictureOf(const Tile& cell, int sheetRows, sf::IntRect& rect);

// The rows of 320 x 320 cells a sheet holds (none when it did not load).
int sheetRows(const sf::Texture& sheet);

// How the ground is drawn over what lies under it: without blending over an opaque sheet.
sf::BlendMode groundBlend();

// Appends the four triangles that a 100 x 100 sf::RectangleShape on this square is drawn with: a
// fan around its centre, vertex for vertex, so that a batch of them is the shapes' picture.
void appendCellPicture(std::vector<sf::Vertex>& vertices, const sf::FloatRect& square,
                       const sf::IntRect& rect, sf::Color fill);
