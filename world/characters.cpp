// characters.cpp -- the character roster.
#include "world/characters.h"

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
