// gameState.cpp -- the plain state records and their reset.
#include "shell/gameState.h"

#include "battle/battleRules.h"
#include "story/quests.h"
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

void resetGameState() {
    story = StoryState{};
    conversation = ConversationState{};
    battle = BattleState{};
    world = WorldState{};
    screens = ScreenState{};
    shell = ShellState{};
    resetMapLoadState();
    resetTileGrid();
    resetRoster();
    resetQuests();
    resetBattleMoves();
    resetHeroine();
}
