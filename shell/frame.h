// frame.h -- one frame of the game as its named steps, each callable on its own by tests.
#pragma once

#include "shell/picture.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

// One whole frame into `target`, `seconds` after the last: frame time and typing, the mouse, the
// map-ready check, the window's events, the update, the drawing, display and the ending check.
// The game runs it on its window; tests run it on a picture of their own, with simulated input.
void runFrame(sf::RenderTarget& target, float seconds);

// Step 11 alone: shows the window's frame, or finishes a picture drawn off screen.
void presentFrame(sf::RenderTarget& target);

// Steps 1 and 2: the frame time, in seconds, and the dialogue's typing tick (none while paused).
void beginFrame(float seconds);

// Step 3: the mouse at this pixel of the target (relative to its top-left corner) gives
// world.mouseWindow (screen pixels), world.mouseTile and the tile cursor's place.
void trackMouse(sf::Vector2i pixel, const sf::RenderTarget& target);

// Step 5, for one polled event: closing, the keys, the pad's buttons and pushes, the window's
// focus, then the choice click; while the pause is open, the pause's own keys, pad and mouse.
void handleEvent(const sf::Event& event);

// The end of step 5: the pad's Back held for a second opens the pause, as Escape does (on the
// ending screen it leaves); a press alone never does.
void pauseWhenBackHeld();

// Sets quitRequested, joins the character thread and closes the window.
void quitGame();

// Steps 6 and 7, unless the pause is open: the intro's skip key held for a second ends the
// flight; a character that speaks first opens its talk; then the world update (or the opponent's
// move in battle).
void updateWorld();

// Steps 8 to 10: clear, the world through the camera, then the screen the flags select, and the
// pause's screen over it while it is open.
void drawFrame(sf::RenderTarget& target);

// Step 9: the world through the target's view (the camera) moved onto whole pixels
// (wholePixelView): its two layers, then the characters, hints, heroine and cursor over them,
// darkened as under a black veil of alpha `veil` (the chapter card's, the inventory's shade). The
// kept picture of the world is not shown where the screen will cover it with opaque pictures
// (`cover`, in pixels of the 1920 x 1080 picture). The target must be cleared to opaque black, as
// the frame leaves it.
void drawWorld(sf::RenderTarget& target, sf::Uint8 veil = 0, const Cover& cover = Cover{});
// The two layers alone: from the kept picture of the world where it serves, otherwise (the first
// frame, a view it cannot follow) by the direct passes.
void drawWorldLayers(sf::RenderTarget& target, sf::Color tint = sf::Color::White,
                     const Cover& cover = Cover{});

// The screen of step 10, chosen by a fixed priority of the flags.
enum class Screen { Ending, Battle, Inventory, World };
enum class TransitionScreen { None, Intro, ChapterCard };
struct ScreenChoice {
    Screen screen = Screen::World;
    bool dialogueBox = false; // World only
    bool hud = false;         // World only: the HUD and the description pop-up
    TransitionScreen transition = TransitionScreen::None; // World only
};
ScreenChoice chooseScreen();

// The screen's veil lies over the world alone, and the world's drawing darkens it in the same pass
// (drawWorld's veil): the inventory's shade, and the chapter card's veil unless a dialogue box lies
// under the card, which the veil must cover too.
bool veilsTheWorldOnly(const ScreenChoice& choice);

// What the chosen screen will cover with opaque pictures: the dialogue box and its plate, the
// pop-up's panel, the inventory's panel, each where its picture is opaque.
Cover coverOf(const ScreenChoice& choice);
