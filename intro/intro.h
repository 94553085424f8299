// intro.h -- the opening flight over the world, with the credit cards, the studio line and the
// title, played once as the transition screen of the first quest.
#pragma once

#include "shell/gameClock.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Keyboard.hpp>

// The eight legs of the flight: 0..7 while flying, 8 once it is over.
constexpr int kIntroLegs = 8;

// One frame of the intro, drawn over the world in screen pixels (the target's view is the
// screen's). The first call stops the world theme, starts the intro theme and puts the camera at
// the start of the flight; every call at least 1 ms after the last step (screenMark) flies one
// step and draws its leg's caption; the call that finishes the last leg stops the theme, clears
// story.introRunning and hands the current quest over to the chapter card. While the game's time
// is held (the pause), it flies nothing and begins nothing: the leg's caption stays on screen.
// Once a skip key has been pressed, the skip's caption and bar show in the lower right corner.
void showIntro(sf::RenderTarget& target, sf::Time screenNow, sf::Time& screenMark,
               GameClock screenClock, sf::View& camera);

// Skipping the flight: E, Enter, Space or the pad's A held for a second ends it as its last leg
// does (its music stops; the first quest's chapter card, the world theme and the HUD follow as
// after the whole flight, the camera where the flight leaves it).
enum class SkipKey { E, Enter, Space, PadA };
constexpr int kSkipKeys = 4;

// The opening flight is the screen being played (from the game's first frame to its last leg):
// what the frame's choice of screen shows as the intro.
bool introFlying();

// A press of a skip key during the flight: it starts being held (the caption names it).
void pressSkipKey(SkipKey key);

// Each frame's update: the key held for a second flies the rest of the flight at once, and the
// frame's intro (showIntro) ends it in the same frame as it ends a whole one; let go before, the
// bar empties. After a skip, the key's own presses are swallowed (swallowsKey) until it is let go.
void holdToSkipIntro(sf::View& camera);

// The key that skipped the flight is still held: its repeated presses do nothing.
bool swallowsKey(SkipKey key);

// The key a keyboard key is, if it is one: E, Enter or Space.
bool skipKeyOf(sf::Keyboard::Key key, SkipKey& skip);

// The caption drawn while leg `leg` (0..7) is flown: string, size, colours and place.
sf::Text introCaption(int leg);
