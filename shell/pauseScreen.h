// pauseScreen.h -- the pause: the game's time stands still and its music is silent, under a dark
// veil with the title "Pausa", two entries ("Riprendi", "Esci dal gioco") and a table of the
// controls. The frame routes every event to it while it is open (shell/frame.cpp).
#pragma once

#include "shell/gameState.h"

#include <SFML/Graphics/RenderTarget.hpp>

constexpr int kResumeEntry = 0;
constexpr int kLeaveEntry = 1;

// Opens the pause: the game's time is held (gameClock.h), the musics that play are paused, and the
// first entry is lit. Nothing when it is open already.
void openPause();

// Closes it: the time and the musics go on where they stood. Nothing when it is not open.
void closePause();

// Lights the entry above (-1) or below (1) the lit one, staying within the two.
void movePauseHighlight(int step);

// The entry under this pixel of the 1920 x 1080 picture; -1 when none.
int pauseEntryAt(GridPoint pixel);

// The veil, the title, the entries (the lit one lit) and the controls, in screen pixels, over
// whatever the frame drew.
void drawPauseScreen(sf::RenderTarget& target);
