// characters.h -- the character roster: one Npc record per figure of the world, and the message
// speakers of the story in slots 1990 to 1992.
#pragma once

#include "shell/gameState.h"

#include <SFML/Graphics/RectangleShape.hpp>

#include <cstdint>
#include <mutex>
#include <string>

constexpr int kRosterSize = 2000;
constexpr int kFirstMessageSlot = 1990; // slots 1990..1992 speak the story's messages
constexpr int kDialogueLines = 30;
constexpr int kChoices = 4;

struct Npc {
    bool active = false;
    float speed = 200;
    std::int16_t direction = 0; // 0 right, 1 left, 2 up, 3 down, 4 standing
    std::int16_t restDirection = 0;
    std::int16_t patrolRange = 5; // cells
    sf::Vector2f patrolAnchor{0, 0};
    sf::IntRect savedTextureRect{0, 0, 0, 0};
    sf::RectangleShape sprite;
    bool nearHeroine = false;
    std::int16_t hintState = 2;
    std::int16_t restHintState = 0;
    std::string name;
    std::string lines[kDialogueLines];
    std::int32_t battleLine = -1;
    std::int32_t choiceLine = -1;
    std::string choiceLabels[kChoices];
    std::int32_t choiceHope[kChoices] = {0, 0, 0, 0};
    std::int32_t choiceQuest[kChoices] = {-1, -1, -1, -1};
    std::int32_t choiceSkip[kChoices] = {0, 0, 0, 0};
    bool talkedTo = false;
    std::int32_t spriteRow = 0; // first row of the figure in NPC-map.png, in 160-pixel rows
    std::int16_t animFrame = 0;
    bool startsTalk = false;
    std::int16_t battleResult = -1;
    std::int32_t questOnEnd = -1;
    std::int32_t attack = 0;
    std::int32_t shieldGain = 0;
    std::int32_t misfortuneGain = 0;
    std::int32_t powerGain = 0;
};

// Where the characters stand when the map has loaded: (row, column) per roster slot, ended by a
// pair whose column is -1.
struct CellPlace {
    std::int32_t row;
    std::int32_t col;
};
extern const CellPlace characterStartTable[];

// How each character of the world is set up, in roster order.
struct CharacterSetUp {
    const char* name;
    std::int32_t spriteRow;
    std::int16_t direction;
    std::int16_t patrolRange;
    std::int16_t hintState;
    bool startsTalk;
    float speed;
    std::int32_t attack;
    std::int32_t shieldGain;
    std::int32_t misfortuneGain;
    std::int32_t powerGain;
};
constexpr int kWorldCharacters = 7;
extern const CharacterSetUp characterSetUps[kWorldCharacters];

// The roster. The character thread reads and writes `active`, `speed`, `direction`,
// `restDirection`, `patrolRange`, `patrolAnchor`, `sprite`, `nearHeroine`, `spriteRow` and
// `animFrame` while the main loop draws the figures and runs conversations: every access to those
// fields, on either thread, holds rosterLock(), briefly (the thread holds it for one pass, a few
// microseconds). The conversation, battle and hint fields are the main thread's alone.
extern Npc npcs[kRosterSize];

std::mutex& rosterLock();

// Puts every record back to an empty, inactive slot.
void resetRoster();

constexpr int kNpcFramePixels = 160; // frames of NPC-map.png
constexpr float kNpcSize = 84;

// Whether a sprite's position, in cells (pixels / 100, unrounded), lies within the visible window
// widened by `margin` cells on every side, ends included.
bool inWindowInCells(sf::Vector2f position, const VisibleWindow& window, int margin);

// Sets up record `index` from the set-up table (indices without an entry change nothing), then
// copies direction into restDirection and hintState into restHintState. The caller holds
// rosterLock().
void initCharacter(int index);

// Sets up and places every character of the start table on its start cell, each record whole
// before its `active` flag is set, under the roster's lock. Called once, when the map is loaded.
void placeCharacters();
