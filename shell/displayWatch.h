// displayWatch.h -- whether the game has a display to start on, and what it does when its display,
// or its window, goes away under it. One file per platform: displayWatch.cpp (X11),
// displayWatchWindows.cpp.
#pragma once

// Called once, before any window or texture is constructed: when no display can be opened, says so
// on standard error and ends the program with status 1 (SFML would abort it). Returns true
// otherwise. On X11, opens and closes the display that DISPLAY names; on Windows the desktop is
// always there and it only returns true.
bool requireDisplay();

// On X11: from start-up on, losing the X connection (the server stops, the session ends) or any X
// error (another client destroyed the window, say) ends the game at once with status 1 and one line
// on standard error. Xlib's own handlers would call exit(), whose destructors meet the loader and
// character threads still joinable and abort the process; the library's destructors would only
// talk to a display that is gone, and the game holds nothing that needs saving. On Windows nothing
// of the kind can happen to a window's desktop, and it does nothing.
void watchDisplay();
