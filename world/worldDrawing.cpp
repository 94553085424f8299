// worldDrawing.cpp -- the world passes; every pass visits only the visible window of the grid.
#include "world/worldDrawing.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

namespace {

constexpr int kHintFramePixels = 160;
constexpr float kTalkHintSize = 36;
constexpr float kTalkHintGap = 5;
constexpr float kObjectHintSize = 45;
constexpr float kObjectHintRise = 20;
constexpr float kObjectReach = 30; // the hint reaches 30 pixels out, to the left and above only
constexpr int kTrianglesPerPicture = 4;

// The vertices of one layer's pass and the hints' shapes, kept between frames so that a frame
// allocates nothing. Main thread only.
std::vector<sf::Vertex> layerVertices;
sf::RectangleShape talkHint;
sf::RectangleShape objectHint;
sf::RectangleShape tinted; // a figure's copy, drawn tinted (assigned, so no frame allocates)

// Draws a shape as it is, or a copy of it tinted.
void drawTinted(sf::RenderTarget& target, const sf::RectangleShape& shape, sf::Color tint) {
    if (tint == sf::Color::White) {
        target.draw(shape);
        return;
    }
    tinted = shape;
    tinted.setFillColor(shape.getFillColor() * tint);
    tinted.setOutlineColor(shape.getOutlineColor() * tint);
    target.draw(tinted);
}

// Calls visit(cell, row, col) for every cell of the visible window that may be usable, in
// row-major order, holding the row's lock; the rows without any are passed over unlocked. The
// cells skipped are never usable, so a search over these finds what one over every cell of the
// window finds, at the cost of a few dozen cells even when the window is the whole grid.
template <class Visit> void forMaybeUsableCells(Visit visit) {
    const VisibleWindow window = world.visibleWindow.load();
    const int first = window.visibleColFirst;
    const int end = window.visibleColEnd;
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        if (nextColumn(usableColumns(row), first, end) == end) {
            continue;
        }
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        const RowColumns columns = usableColumns(row);
        for (int col = nextColumn(columns, first, end); col < end;
             col = nextColumn(columns, col + 1, end)) {
            visit(cellAt(row, col), row, col);
        }
    }
}

int visibleCellCount() {
    const VisibleWindow window = world.visibleWindow.load();
    return (window.visibleColEnd - window.visibleColFirst) *
           (window.visibleRowEnd - window.visibleRowFirst);
}

// The cells of the visible window that the target's view can show (one cell of margin): the
// intro asks for the whole grid, but only the few hundred cells under the camera reach the screen.
VisibleWindow cellsInView(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    const sf::Vector2f half = view.getSize() * 0.5f;
    const sf::Vector2f centre = view.getCenter();
    const auto firstCell = [](float pixels) {
        return static_cast<int>(std::floor(pixels / kCellPixels)) - 1;
    };
    const auto endCell = [](float pixels) {
        return static_cast<int>(std::ceil(pixels / kCellPixels)) + 1;
    };
    const VisibleWindow window = world.visibleWindow.load();
    VisibleWindow cells;
    cells.visibleColFirst = std::max(window.visibleColFirst, firstCell(centre.x - half.x));
    cells.visibleColEnd = std::min(window.visibleColEnd, endCell(centre.x + half.x));
    cells.visibleRowFirst = std::max(window.visibleRowFirst, firstCell(centre.y - half.y));
    cells.visibleRowEnd = std::min(window.visibleRowEnd, endCell(centre.y + half.y));
    return cells;
}

} // namespace

void appendCellPicture(std::vector<sf::Vertex>& vertices, const sf::FloatRect& square,
                       const sf::IntRect& rect, sf::Color fill) {
    const float left = square.left;
    const float top = square.top;
    const float right = square.left + square.width;
    const float bottom = square.top + square.height;
    const float texLeft = static_cast<float>(rect.left);
    const float texTop = static_cast<float>(rect.top);
    const float texRight = texLeft + static_cast<float>(rect.width);
    const float texBottom = texTop + static_cast<float>(rect.height);
    const sf::Vertex centre({left + square.width / 2, top + square.height / 2}, fill,
                            {texLeft + rect.width * 0.5f, texTop + rect.height * 0.5f});
    const sf::Vertex corners[5] = {
        {{left, top}, fill, {texLeft, texTop}},
        {{right, top}, fill, {texRight, texTop}},
        {{right, bottom}, fill, {texRight, texBottom}},
        {{left, bottom}, fill, {texLeft, texBottom}},
        {{left, top}, fill, {texLeft, texTop}},
    };
    for (int i = 0; i < kTrianglesPerPicture; ++i) {
        vertices.push_back(centre);
        vertices.push_back(corners[i]);
        vertices.push_back(corners[i + 1]);
    }
}

int sheetRows(const sf::Texture& sheet) {
    return static_cast<int>(sheet.getSize().y) / kSheetCellPixels;
}

// A cleared (fully transparent) ground picture would leave the cell as it was: it is not drawn.
bool groundPictureOf(const Tile& cell, int sheetRows, sf::IntRect& rect, sf::Color& fill) {
    fill = groundFill(cell);
    return cell.groundId != 0 && cell.groundPlaced && fill.a != 0 &&
           sheetRect(cell.groundSheetCol, cell.groundSheetRow, sheetRows, rect);
}

bool objectPictureOf(const Tile& cell, int sheetRows, sf::IntRect& rect) {
    return cell.objectId != 0 && cell.objectPlaced &&
           sheetRect(cell.objectSheetCol, cell.objectSheetRow, sheetRows, rect);
}

namespace {

// One layer of the cells in view in a single draw call. pictureOf(cell, sheet rows, rect, fill)
// says whether the cell shows a picture of this layer, and which part of the sheet in which fill.
//
// The cells are placed from the view's top-left corner, and drawn through the view moved to start
// at the origin. The graphics side multiplies the view into the vertices in single precision:
// with world coordinates of some thousands of pixels, what is left after the camera's place is
// taken away has lost the last bits, and the texture's sample points shift by a rounding step that
// changes with the camera's place (in up to one pixel in a hundred, by one or two levels). From
// the corner, the same cells give the same pixels wherever the camera is, as the kept picture of
// the world gives them (world/worldCache.cpp).
template <class PictureOf>
void drawLayer(sf::RenderTarget& target, const sf::Texture& sheet, const sf::BlendMode& blend,
               sf::Color tint, PictureOf pictureOf) {
    layerVertices.clear();
    const VisibleWindow cells = cellsInView(target);
    const int rows = sheetRows(sheet);
    const sf::View view = target.getView();
    const sf::Vector2f corner = view.getCenter() - view.getSize() * 0.5f;
    for (int row = cells.visibleRowFirst; row < cells.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = cells.visibleColFirst; col < cells.visibleColEnd; ++col) {
            sf::IntRect rect;
            sf::Color fill = sf::Color::White;
            if (pictureOf(cellAt(row, col), rows, rect, fill)) {
                const sf::FloatRect square = cellSquare(row, col);
                appendCellPicture(
                    layerVertices,
                    {square.left - corner.x, square.top - corner.y, square.width, square.height},
                    rect, fill * tint);
            }
        }
    }
    if (layerVertices.empty()) {
        return;
    }
    sf::View fromCorner = view;
    fromCorner.setCenter(view.getSize() * 0.5f);
    target.setView(fromCorner);
    target.draw(layerVertices.data(), layerVertices.size(), sf::Triangles,
                sf::RenderStates(blend, sf::Transform(), &sheet, nullptr));
    target.setView(view);
}

} // namespace

// Over an opaque sheet, blending an opaque picture gives the picture itself: the ground is then
// drawn without blending, which spares the software renderer a tenth of the frame.
sf::BlendMode groundBlend() {
    return tileSheetOpaque ? sf::BlendNone : sf::BlendAlpha;
}

void drawGroundPass(sf::RenderTarget& target, sf::Color tint) {
    drawLayer(target, tileSheet, groundBlend(), tint, groundPictureOf);
}

void drawObjectPass(sf::RenderTarget& target, sf::Color tint) {
    drawLayer(target, objectSheet, sf::BlendAlpha, tint,
              [](const Tile& cell, int rows, sf::IntRect& rect, sf::Color&) {
                  return objectPictureOf(cell, rows, rect);
              });
}

sf::Color veilTint(sf::Uint8 alpha) {
    const auto left = static_cast<sf::Uint8>(255 - alpha);
    return {left, left, left, 255};
}

// Characters in roster order, up to the first inactive record and never more than the window
// has cells.
void drawCharacters(sf::RenderTarget& target, sf::Color tint) {
    const int limit = std::min(kRosterSize, visibleCellCount());
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < limit && npcs[i].active; ++i) {
        drawTinted(target, npcs[i].sprite, tint);
    }
}

void drawTalkHints(sf::RenderTarget& target, sf::Color tint) {
    sf::RectangleShape& hint = talkHint;
    hint.setSize({kTalkHintSize, kTalkHintSize});
    hint.setTexture(&speechSheet, true);
    hint.setFillColor(tint);
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < kRosterSize && npcs[i].active; ++i) {
        const Npc& npc = npcs[i];
        if (!npc.nearHeroine) {
            continue;
        }
        if (npc.hintState >= 0 && npc.hintState <= 2) {
            hint.setTextureRect(
                {npc.hintState * kHintFramePixels, 0, kHintFramePixels, kHintFramePixels});
        }
        const sf::Vector2f at = npc.sprite.getPosition();
        hint.setPosition(at.x + npc.sprite.getSize().x * 0.5f - kTalkHintSize * 0.5f,
                         at.y - kTalkHintSize - kTalkHintGap);
        target.draw(hint);
    }
}

void drawObjectHint(sf::RenderTarget& target, sf::Color tint) {
    sf::RectangleShape& hint = objectHint;
    hint.setSize({kObjectHintSize, kObjectHintSize});
    hint.setTexture(&speechSheet, true);
    hint.setFillColor(tint);
    hint.setTextureRect({kHintFramePixels, 0, kHintFramePixels, kHintFramePixels});
    const sf::FloatRect heroineArea = heroineBounds();
    bool found = false;
    forMaybeUsableCells([&](const Tile& cell, int row, int col) {
        if (!cell.interactive) {
            return;
        }
        sf::FloatRect reach = objectBounds(row, col);
        const sf::Vector2f at(reach.left, reach.top);
        reach.left -= kObjectReach;
        reach.top -= kObjectReach;
        reach.width += kObjectReach;
        reach.height += kObjectReach;
        if (heroineArea.intersects(reach)) {
            conversation.interactObject = cell.objectId;
            conversation.interactX = at.x;
            conversation.interactY = at.y;
            found = true;
            hint.setPosition(at.x + kCellPixels * 0.5f - kObjectHintSize * 0.5f,
                             at.y - kObjectHintRise);
            target.draw(hint);
        } else if (!found) {
            conversation.interactObject = 0;
        }
    });
}

sf::View wholePixelView(const sf::View& view, const sf::RenderTarget& target) {
    const sf::IntRect pixels = target.getViewport(view);
    const sf::Vector2f size = view.getSize();
    if (view.getRotation() != 0 || pixels.width <= 0 || pixels.height <= 0) {
        return view;
    }
    // The edges in pixels of the target, rounded, and back in world pixels.
    const auto onWholePixel = [](float edge, float pixelsPerUnit) {
        return std::round(edge * pixelsPerUnit) / pixelsPerUnit;
    };
    const sf::Vector2f centre = view.getCenter();
    sf::View moved = view;
    moved.setCenter(onWholePixel(centre.x - size.x / 2, pixels.width / size.x) + size.x / 2,
                    onWholePixel(centre.y - size.y / 2, pixels.height / size.y) + size.y / 2);
    return moved;
}

void drawWorldAboveLayers(sf::RenderTarget& target, sf::Color tint) {
    drawCharacters(target, tint);
    drawTalkHints(target, tint);
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        drawTinted(target, heroine, tint);
    }
    drawObjectHint(target, tint);
    drawTinted(target, tileCursor, tint);
}
