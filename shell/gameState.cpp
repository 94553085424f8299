// gameState.cpp -- the plain state records and their reset.
#include "shell/gameState.h"

#include "battle/battleRules.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "shell/startup.h"
#include "story/quests.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

StoryState story;
ConversationState conversation;
BattleState battle;
WorldState world;
ScreenState screens;
ShellState shell;

namespace {

// The loop's own objects as start-up leaves them: camera and views, cursor, clocks and music.
void resetLoopObjects() {
    const sf::Vector2u size = window.isOpen() ? window.getSize() : sf::Vector2u(1920, 1080);
    screenView = screenViewFor(size);
    setUpCamera();
    createTileCursor();
    startLoopClocks();
    startAnimClock();
    worldMusic.reset();
    screenMusic.reset();
}

} // namespace

void resetGameState() {
    stopCharacterThread();
    stopMapLoaders();
    story = StoryState{};
    conversation = ConversationState{};
    battle = BattleState{};
    world = WorldState{};
    screens = ScreenState{};
    shell = ShellState{};
    holdGameTime(false); // no pause: the game's time runs
    resetMapLoadState();
    resetTileGrid();
    resetRoster();
    resetQuests();
    resetBattleMoves();
    resetHeroine();
    resetLoopObjects();
}
