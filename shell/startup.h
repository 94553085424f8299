// startup.h -- start-up and shut-down of the game: from an empty process to the first frame, and
// from the closed window back to an empty process.
#pragma once

// Opens the window, loads every asset, starts the threads; missing assets never stop the game.
void startUp();

// Stops and joins whatever thread is still running, so the process can end with status 0.
void shutDown();

// The world's own set-up, shared by start-up and the tests: the camera, 1920 x 1080 centred at
// (960, 540), in the letterbox of the current window; and the tile cursor.
void setUpCamera();
void createTileCursor();

// The heroine as start-up leaves her: 84 x 84 centred on the camera, (918, 498) for its first
// centre; feetHeight 15; sensor lines 18 x 1 and 1 x 7; her sheet and its first frame.
void setUpHeroine();
