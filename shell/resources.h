// resources.h -- what the game loads once and never resets: the window and its views, the
// textures, the font, the music, the clocks of the loop and the threads.
#pragma once

#include "shell/audio.h"
#include "shell/gameClock.h"

#include <SFML/Graphics.hpp>

#include <thread>

extern sf::RenderWindow window;
extern sf::View camera;     // the world view; moved by the heroine and the intro, never resized
extern sf::View screenView; // the 1920 x 1080 screen-pixel view of screens and overlays

extern sf::Texture tileSheet;
extern sf::Texture objectSheet;
extern sf::Font pixelFont;
extern sf::Texture npcSheet;
extern sf::Texture descriptionSheet;
extern sf::Texture speechSheet;
extern sf::Texture talkSheet;
extern sf::Texture iconSheet;
extern sf::Texture battleBackground;
extern sf::Texture weaponSheet;
extern sf::Texture heroSheet;

// The ground sheet has no transparent pixel, so the ground may be drawn without blending.
extern bool tileSheetOpaque;

// Loads the ground sheet, smoothed, and notes whether it is opaque. False when it did not load
// (the sheet is then empty).
bool loadGroundSheet(const std::string& path);

extern GameMusic worldMusic;
extern GameMusic screenMusic;

extern sf::RectangleShape tileCursor; // outlines the grid cell under the mouse

// The clocks of the loop and the time marks taken from them. The frame clock measures real frames;
// the others pace the game's timed steps and follow the tests' simulated time when it is on.
struct LoopClocks {
    sf::Clock frameClock;
    GameClock typingClock;
    sf::Time lastTypedAt;
    GameClock screenClock;
    sf::Time screenNow;
    sf::Time screenMark;
    GameClock animClock;
    sf::Time animNow;
    sf::Time animLast;
};
extern LoopClocks clocks;

// Start the loop's clocks with their time marks taken right after: the frame, typing and screen
// clocks, then (later in start-up) the animation clock. The reset starts them all again.
void startLoopClocks();
void startAnimClock();

// The threads started at start-up: the two map loaders and the character thread.
struct GameThreads {
    std::thread groundLoader;
    std::thread objectLoader;
    std::thread npcThread;
};
extern GameThreads threads;
