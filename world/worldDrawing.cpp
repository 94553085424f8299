// worldDrawing.cpp -- the world passes; every pass visits only the visible window of the grid.
#include "world/worldDrawing.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr int kHintFramePixels = 160;
constexpr float kTalkHintSize = 36;
constexpr float kTalkHintGap = 5;
constexpr float kObjectHintSize = 45;
constexpr float kObjectHintRise = 20;
constexpr float kObjectReach = 30; // the hint reaches 30 pixels out, to the left and above only

sf::IntRect sheetCell(int col, int row) {
    return {col * kSheetCellPixels, row * kSheetCellPixels, kSheetCellPixels, kSheetCellPixels};
}

// Calls draw(cell) for every cell of the visible window, row by row, holding the row's lock.
template <class Visit> void forVisibleCells(Visit visit) {
    const VisibleWindow window = world.visibleWindow.load();
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            visit(cellAt(row, col));
        }
    }
}

int visibleCellCount() {
    const VisibleWindow window = world.visibleWindow.load();
    return (window.visibleColEnd - window.visibleColFirst) *
           (window.visibleRowEnd - window.visibleRowFirst);
}

} // namespace

void drawGroundPass(sf::RenderTarget& target) {
    forVisibleCells([&](Tile& cell) {
        if (cell.groundId != 0) {
            cell.groundShape.setTexture(&tileSheet, false);
            cell.groundShape.setTextureRect(sheetCell(cell.groundSheetCol, cell.groundSheetRow));
            target.draw(cell.groundShape);
        }
    });
}

void drawObjectPass(sf::RenderTarget& target) {
    forVisibleCells([&](Tile& cell) {
        if (cell.objectId != 0) {
            cell.objectShape.setTexture(&objectSheet, false);
            cell.objectShape.setTextureRect(sheetCell(cell.objectSheetCol, cell.objectSheetRow));
            target.draw(cell.objectShape);
        }
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
    sf::RectangleShape hint({kTalkHintSize, kTalkHintSize});
    hint.setTexture(&speechSheet);
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
    sf::RectangleShape hint({kObjectHintSize, kObjectHintSize});
    hint.setTexture(&speechSheet);
    hint.setTextureRect({kHintFramePixels, 0, kHintFramePixels, kHintFramePixels});
    const sf::FloatRect heroineArea = heroineBounds();
    bool found = false;
    forVisibleCells([&](Tile& cell) {
        if (!cell.interactive) {
            return;
        }
        sf::FloatRect reach = cell.objectShape.getGlobalBounds();
        reach.left -= kObjectReach;
        reach.top -= kObjectReach;
        reach.width += kObjectReach;
        reach.height += kObjectReach;
        if (heroineArea.intersects(reach)) {
            const sf::Vector2f at = cell.objectShape.getPosition();
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
