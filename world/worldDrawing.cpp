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

// The four triangles that a 100 x 100 sf::RectangleShape on this square is drawn with: a fan
// around its centre, vertex for vertex, so the batched picture is the shapes' picture.
void appendCellPicture(const sf::FloatRect& square, const sf::IntRect& rect, sf::Color fill) {
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
        layerVertices.push_back(centre);
        layerVertices.push_back(corners[i]);
        layerVertices.push_back(corners[i + 1]);
    }
}

int sheetRows(const sf::Texture& sheet) {
    return static_cast<int>(sheet.getSize().y) / kSheetCellPixels;
}

// One layer of the cells in view in a single draw call. pictureOf(cell, sheet rows, rect, fill)
// says whether the cell shows a picture of this layer, and which part of the sheet in which fill.
template <class PictureOf>
void drawLayer(sf::RenderTarget& target, const sf::Texture& sheet, const sf::BlendMode& blend,
               PictureOf pictureOf) {
    layerVertices.clear();
    const VisibleWindow cells = cellsInView(target);
    const int rows = sheetRows(sheet);
    for (int row = cells.visibleRowFirst; row < cells.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = cells.visibleColFirst; col < cells.visibleColEnd; ++col) {
            sf::IntRect rect;
            sf::Color fill = sf::Color::White;
            if (pictureOf(cellAt(row, col), rows, rect, fill)) {
                appendCellPicture(cellSquare(row, col), rect, fill);
            }
        }
    }
    if (!layerVertices.empty()) {
        target.draw(layerVertices.data(), layerVertices.size(), sf::Triangles,
                    sf::RenderStates(blend, sf::Transform(), &sheet, nullptr));
    }
}

} // namespace

// Over an opaque sheet, blending an opaque picture gives the picture itself: the ground is then
// drawn without blending, which spares the software renderer a tenth of the frame. A cleared
// (fully transparent) ground picture would leave the cell as it was, so it is not drawn at all.
void drawGroundPass(sf::RenderTarget& target) {
    const sf::BlendMode blend = tileSheetOpaque ? sf::BlendNone : sf::BlendAlpha;
    drawLayer(target, tileSheet, blend,
              [](const Tile& cell, int rows, sf::IntRect& rect, sf::Color& fill) {
                  fill = groundFill(cell);
                  return cell.groundId != 0 && cell.groundPlaced && fill.a != 0 &&
                         sheetRect(cell.groundSheetCol, cell.groundSheetRow, rows, rect);
              });
}

void drawObjectPass(sf::RenderTarget& target) {
    drawLayer(target, objectSheet, sf::BlendAlpha,
              [](const Tile& cell, int rows, sf::IntRect& rect, sf::Color&) {
                  return cell.objectId != 0 && cell.objectPlaced &&
                         sheetRect(cell.objectSheetCol, cell.objectSheetRow, rows, rect);
              });
}

// Characters in roster order, up to the first inactive record and never more than the window
// has cells.
void drawCharacters(sf::RenderTarget& target) {
    const int limit = std::min(kRosterSize, visibleCellCount());
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < limit && npcs[i].active; ++i) {
        target.draw(npcs[i].sprite);
    }
}

void drawTalkHints(sf::RenderTarget& target) {
    sf::RectangleShape& hint = talkHint;
    hint.setSize({kTalkHintSize, kTalkHintSize});
    hint.setTexture(&speechSheet, true);
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

void drawObjectHint(sf::RenderTarget& target) {
    sf::RectangleShape& hint = objectHint;
    hint.setSize({kObjectHintSize, kObjectHintSize});
    hint.setTexture(&speechSheet, true);
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

void drawWorld(sf::RenderTarget& target) {
    drawGroundPass(target);
    drawObjectPass(target);
    drawCharacters(target);
    drawTalkHints(target);
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        target.draw(heroine);
    }
    drawObjectHint(target);
    target.draw(tileCursor);
}
