// characterThread.h -- the characters' own life on a background thread: patrols, walking and
// standing animation, bouncing off blocking cells, and whether the heroine is near each of them.
#pragma once

#include "shell/gameClock.h"

#include <SFML/System/Vector2.hpp>

// Starts the character thread (threads.npcThread) with worldThreadLoop.
void startCharacterThread();

// Sets quitRequested, wakes the thread and joins it; nothing when it is not running.
void stopCharacterThread();

// The thread's body: a pass every movement tick (25 ms), sleeping in between, until it sees
// quitRequested at the end of a pass.
void worldThreadLoop();

// The time marks the passes keep: when the last pass began (now) and when anyone last moved or
// turned to its next picture (last).
struct CharacterTimers {
    sf::Time moveNow;
    sf::Time moveLast;
    sf::Time animNow;
    sf::Time animLast;
};
CharacterTimers startCharacterTimers(const GameClock& clock);

// One pass of the thread, under the roster's lock: who is near the heroine (from one snapshot of
// her place), then the patrol steps and pictures of animateCharacters. Tests that play frame by
// frame without the thread run it between frames, with `now` the time the pass begins.
void characterPass(const GameClock& clock, CharacterTimers& timers, sf::Time now);

// Marks nearHeroine on the characters near the visible window: within 6 cells across and 3 up or
// down of the heroine at `heroine` (positions compared in cells). The roster's lock is held.
void markCharactersNearHeroine(sf::Vector2f heroine);

// One pass over the characters inside the visible window: a patrol step of speed x frameSeconds
// when a movement tick (25 ms) is due, the next animation frame when one (300 ms) is due, and the
// picture of each. Stamps moveLast and animLast from the clock when it moved or animated anyone.
// The roster's lock is held.
void animateCharacters(const GameClock& clock, sf::Time& moveNow, sf::Time& moveLast,
                       sf::Time& animNow, sf::Time& animLast);

// Pushes character `index` out of any blocking cell of the visible window it overlaps and turns
// it back, visiting only the cells of the window its bounds can overlap. The roster's lock is held.
void bounceOffTiles(int index);
