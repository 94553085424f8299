// gameState.h -- the game's plain state: every program-wide value with its start value, grouped by
// subsystem, and the one call that puts all of it back.
#pragma once

#include "shell/shared.h"

#include <SFML/System/Time.hpp>

#include <cstdint>
#include <string>

// One equipment slot: slot 0 holds the armour worn, slot 1 the weapon held.
struct EquipmentSlot {
    std::string name;
    int attackBonus = 0;
    int armourBonus = 0;
    int itemIndex = -1;
};

// Story progress, the screen flags and the heroine's story values.
struct StoryState {
    int currentQuest = 0;
    bool transitionPending = true; // an intro or chapter card is due for currentQuest
    bool introRunning = false;
    bool inventoryOpen = false;
    int endingId = -1; // -1: the story goes on; 0..5: the ending reached
    std::string endingText;
    int hope = 70;
    int playerAttack = 5;
    int playerArmour = 0;
    bool fled = false;
    std::int16_t applesCarried = 0;
    std::int16_t applesDelivered = 0;
    bool applesDone = false;
    bool trainedChoice[2] = {false, false}; // element 0 attack, element 1 armour
    bool trainingDone = false;
    bool itemFound = false; // the last find was the weapon (true) or the armour (false)
    std::uint16_t invadersDefeated = 0;
    int carriedObject = 0;          // object id carried (544, the apple); 0: none
    int equippedItem[2] = {-1, -1}; // armourItem, weaponItem: indexed by equipment slot
    EquipmentSlot equipment[2];     // 0: armour worn, 1: weapon held
};

// The conversation in progress and the usable object the heroine touches.
struct ConversationState {
    int activeNpc = -1; // -1: none; 1990..1992: message scripts
    bool dialogueOpen = false;
    int dialogueLine = 0;
    int typedChars = 0;
    bool lineComplete = false;
    std::int16_t hoveredChoice = -1;
    std::int16_t highlightedChoice = -1; // the button the keys or the pad light; -1: none
    int interactObject = 0;              // -1 after it has been used
    float interactX = 0;
    float interactY = 0;
    bool questChosen = false; // a choice of the open talk has moved the story to another quest
    // A find's message took the box over from a talk whose choice had moved the story on: that
    // quest's chapter card follows once the message ends.
    bool chapterAfterMessage = false;
    int heldBackSpeaker = -1; // spoke first, and waits until she has left its reach to speak again
};

// The duel in progress.
struct BattleState {
    bool inBattle = false;
    int playerHp = 100;
    int enemyHp = 100;
    int playerMisfortune = 0;
    int playerPower = 0;
    int playerShield = 0;
    int enemyMisfortune = 0;
    int enemyPower = 0;
    int enemyShield = 0;
    bool playerTurn = true;
    std::uint16_t selectedMove = 0; // 0..3
};

// The cells of the grid that the per-frame world loops visit: first inclusive, end exclusive.
struct VisibleWindow {
    int visibleColFirst = 0;
    int visibleColEnd = 0;
    int visibleRowFirst = 0;
    int visibleRowEnd = 0;
};

struct GridPoint {
    int x = 0;
    int y = 0;
};

struct GridCell {
    unsigned x = 0;
    unsigned y = 0;
};

// Walking, input and timing. The character thread reads frameSeconds, the visible window and
// quitRequested while the main thread writes them: those three are Shared (atomic) values.
struct WorldState {
    Shared<float> frameSeconds{0.0f}; // seconds taken by the last frame
    float walkSpeed = 200;
    float baseSpeed = 200; // never changed
    bool canMoveUp = true;
    bool canMoveDown = true;
    bool canMoveRight = true;
    bool canMoveLeft = true;
    std::int16_t feetHeight = 0; // 15 once the heroine is set up
    Shared<VisibleWindow> visibleWindow{VisibleWindow{}};
    GridPoint mouseWindow;             // mouse in screen pixels of the 1920 x 1080 picture
    GridCell mouseTile;                // grid cell under the mouse
    Shared<bool> quitRequested{false}; // asks the character thread to stop
    std::int16_t heroFrame = 0;        // walking frame 0..3
    std::int16_t heroFacing = 0;       // 0 down, 1 up, 2 left, 3 right
    bool heroMoving = false;
};

// The two transition screens: the chapter card's veil and the intro's flight, and the hold that
// skips the flight.
struct ScreenState {
    int fadeAlpha = 0; // 0..150
    bool fadingOut = false;
    int introLeg = 0;       // 0..7 while flying, 8 when finished; never reset by the intro
    int skipKey = -1;       // the SkipKey (intro/intro.h) held to skip the flight; -1: none
    sf::Time skipHeldSince; // game time
    int skipKeyNamed = -1;  // the key the skip's caption names; -1: no caption (nothing pressed)
    int swallowedKey = -1;  // the SkipKey that skipped: its repeats do nothing until it is let go
};

// The shell's own flags: a close was asked for (the window's button, Escape or Enter on the
// ending, "Esci dal gioco"); the pause screen and what it stopped; the pad's Back held, since
// when, and whether that hold has acted (it opens the pause once per hold).
struct ShellState {
    bool closeRequested = false;
    bool paused = false;
    int pauseEntry = 0; // the lit entry: 0 "Riprendi", 1 "Esci dal gioco"
    bool worldMusicPaused = false;
    bool screenMusicPaused = false;
    bool selectHeld = false;
    bool selectActed = false;
    sf::Time selectHeldSince;
};

extern StoryState story;
extern ConversationState conversation;
extern BattleState battle;
extern WorldState world;
extern ScreenState screens;
extern ShellState shell;

// Puts the game back as it stands when the loop begins, less the loaded assets and the window:
// stops and joins any loader or character thread still running; puts every plain value back to
// its start value (the records above, the tile grid, the roster, the quest table, the battle
// moves, the heroine's shapes left unset); and sets the camera, views, tile cursor, clocks and
// music objects up as start-up does. Tests call it first.
void resetGameState();
