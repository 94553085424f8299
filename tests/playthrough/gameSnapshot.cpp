// gameSnapshot.cpp -- copying a game in play out and back.
#include "playthrough/gameSnapshot.h"

#include "shell/gameClock.h"
#include "world/heroine.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// The roster slots a story writes: the world's characters and the message speakers.
constexpr int kMessageSlots = kRosterSize - kFirstMessageSlot;

int slotOf(int kept) {
    return kept < kWorldCharacters ? kept : kFirstMessageSlot + (kept - kWorldCharacters);
}

bool sameCell(const Tile& a, const Tile& b) {
    return a.groundId == b.groundId && a.objectId == b.objectId && a.blocking == b.blocking &&
           a.interactive == b.interactive && a.loaded == b.loaded &&
           a.objectPlaced == b.objectPlaced && a.groundPlaced == b.groundPlaced &&
           a.objectSheetCol == b.objectSheetCol && a.objectSheetRow == b.objectSheetRow &&
           a.name == b.name && a.water == b.water;
}

std::shared_ptr<const std::vector<Tile>> copyGrid(const GameSnapshot* previous) {
    auto grid = std::make_shared<std::vector<Tile>>(kGridCells);
    bool same = previous != nullptr && previous->grid != nullptr;
    for (int row = 0; row < kGridSize; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = 0; col < kGridSize; ++col) {
            const int at = row * kGridSize + col;
            (*grid)[static_cast<std::size_t>(at)] = tileGrid[at];
            same = same && sameCell(tileGrid[at], (*previous->grid)[static_cast<std::size_t>(at)]);
        }
    }
    if (same) {
        return previous->grid;
    }
    return grid;
}

} // namespace

GameSnapshot takeSnapshot(const GameSnapshot* previous) {
    GameSnapshot saved;
    saved.story = story;
    saved.conversation = conversation;
    saved.battle = battle;
    saved.world = world;
    saved.screens = screens;
    saved.shell = shell;
    saved.grid = copyGrid(previous);
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        for (int kept = 0; kept < kWorldCharacters + kMessageSlots; ++kept) {
            saved.characters.push_back(npcs[slotOf(kept)]);
        }
    }
    std::copy(std::begin(quests), std::end(quests), std::begin(saved.quests));
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        saved.heroine = heroine;
    }
    std::copy(std::begin(contactBoxes), std::end(contactBoxes), std::begin(saved.contactBoxes));
    saved.camera = camera;
    saved.tileCursor = tileCursor;
    saved.clocks = clocks;
    saved.simulatedTime = gameTimeNow();
    return saved;
}

void restoreSnapshot(const GameSnapshot& saved) {
    story = saved.story;
    conversation = saved.conversation;
    battle = saved.battle;
    world = saved.world;
    screens = saved.screens;
    shell = saved.shell;
    for (int row = 0; row < kGridSize; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        std::copy_n(saved.grid->begin() + row * kGridSize, kGridSize, &tileGrid[row * kGridSize]);
    }
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        for (int kept = 0; kept < static_cast<int>(saved.characters.size()); ++kept) {
            npcs[slotOf(kept)] = saved.characters[static_cast<std::size_t>(kept)];
        }
    }
    std::copy(std::begin(saved.quests), std::end(saved.quests), std::begin(quests));
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine = saved.heroine;
    }
    std::copy(std::begin(saved.contactBoxes), std::end(saved.contactBoxes),
              std::begin(contactBoxes));
    camera = saved.camera;
    tileCursor = saved.tileCursor;
    clocks = saved.clocks;
    setSimulatedTime(saved.simulatedTime);
}
