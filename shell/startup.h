// startup.h -- start-up and shut-down of the game: from an empty process to the first frame, and
// from the closed window back to an empty process.
#pragma once

// Opens the window, loads every asset, starts the threads; missing assets never stop the game.
void startUp();

// Stops and joins whatever thread is still running, so the process can end with status 0.
void shutDown();
