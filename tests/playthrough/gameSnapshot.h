// gameSnapshot.h -- a game in play, copied out and put back: the story explorer starts many short
// sessions from the places a scripted story passed through, without playing the way there again.
#pragma once

#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/tileGrid.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/View.hpp>

#include <memory>
#include <vector>

// Everything a frame reads or writes, less the loaded assets and the drawing's kept shapes and
// texts (which every frame builds from the state again). The map loaders must have finished: a
// snapshot is taken and put back in free play on a whole grid.
struct GameSnapshot {
    StoryState story;
    ConversationState conversation;
    BattleState battle;
    WorldState world;
    ScreenState screens;
    ShellState shell;
    // The grid changes a few times in a story (an apple taken, a find): snapshots taken between two
    // such changes share one copy.
    std::shared_ptr<const std::vector<Tile>> grid;
    std::vector<Npc> characters; // the world's characters, then the message speakers
    Quest quests[kQuestCount];
    sf::RectangleShape heroine;
    sf::RectangleShape contactBoxes[4];
    sf::View camera;
    sf::RectangleShape tileCursor;
    LoopClocks clocks;
    sf::Time simulatedTime;
};

// Copies the game out; `previous`, when given, lends its grid if the grid has not changed since.
GameSnapshot takeSnapshot(const GameSnapshot* previous = nullptr);

// Puts the game back as it was when the snapshot was taken, its simulated time included. Cells a
// story made usable since stay marked as maybe usable, which a search over those marks allows.
void restoreSnapshot(const GameSnapshot& snapshot);
