// characters.cpp -- the character roster.
#include "world/characters.h"

#include "shell/resources.h"
#include "world/tileGrid.h"

Npc npcs[kRosterSize];

const CellPlace characterStartTable[] = {
    {6, 8}, {25, 4}, {15, 20}, {20, 44}, {20, 49}, {38, 10}, {48, 14}, {-1, -1},
};

// Slot 5 is the crisocione: its lines are the heroine's own thoughts, so it bears her name.
const CharacterSetUp characterSetUps[kWorldCharacters] = {
    {"Achak", 1, 4, 5, 0, false, 200, 0, 0, 0, 0},  {"Honani", 8, 0, 5, 0, false, 200, 0, 0, 0, 0},
    {"Enapay", 4, 2, 4, 0, false, 200, 0, 0, 0, 0}, {"John", 2, 1, 3, 2, true, 200, 15, 2, 1, 2},
    {"Luke", 2, 0, 3, 2, true, 200, 15, 1, 1, 1},   {"Kaiva", 6, 0, 2, 2, true, 450, 20, 2, 2, 3},
    {"Boss", 10, 0, 4, 2, false, 200, 35, 3, 1, 4},
};

namespace {
std::mutex rosterMutex;
}

std::mutex& rosterLock() {
    return rosterMutex;
}

void resetRoster() {
    std::lock_guard<std::mutex> lock(rosterMutex);
    for (Npc& npc : npcs) {
        npc = Npc();
    }
}

bool inWindowInCells(sf::Vector2f position, const VisibleWindow& window, int margin) {
    const float col = position.x / kCellPixels;
    const float row = position.y / kCellPixels;
    return col <= window.visibleColEnd + margin && col >= window.visibleColFirst - margin &&
           row <= window.visibleRowEnd + margin && row >= window.visibleRowFirst - margin;
}

void initCharacter(int index) {
    Npc& npc = npcs[index];
    if (index >= 0 && index < kWorldCharacters) {
        const CharacterSetUp& setUp = characterSetUps[index];
        npc.name = setUp.name;
        npc.spriteRow = setUp.spriteRow;
        npc.direction = setUp.direction;
        npc.patrolRange = setUp.patrolRange;
        npc.hintState = setUp.hintState;
        npc.startsTalk = setUp.startsTalk;
        npc.speed = setUp.speed;
        npc.attack = setUp.attack;
        npc.shieldGain = setUp.shieldGain;
        npc.misfortuneGain = setUp.misfortuneGain;
        npc.powerGain = setUp.powerGain;
        npc.sprite.setTexture(&npcSheet, false);
        npc.sprite.setTextureRect(
            {0, setUp.spriteRow * kNpcFramePixels, kNpcFramePixels, kNpcFramePixels});
    }
    npc.restDirection = npc.direction;
    npc.restHintState = npc.hintState;
}

// The body runs at least once: the first entry of the table is never tested for the end mark.
void placeCharacters() {
    std::lock_guard<std::mutex> lock(rosterMutex);
    for (int i = 0;; ++i) {
        initCharacter(i);
        Npc& npc = npcs[i];
        npc.sprite.setSize({kNpcSize, kNpcSize});
        npc.sprite.setPosition(static_cast<float>(characterStartTable[i].col * kCellPixels),
                               static_cast<float>(characterStartTable[i].row * kCellPixels));
        npc.active = true;
        npc.patrolAnchor = npc.sprite.getPosition();
        if (characterStartTable[i + 1].col == -1) {
            break;
        }
    }
}
