// displayWatch.h -- what the game does when its X display, or its window, goes away under it.
#pragma once

// From start-up on, losing the X connection (the server stops, the session ends) or any X error
// (another client destroyed the window, say) ends the game at once with status 1 and one line on
// standard error. Xlib's own handlers would call exit(), whose destructors meet the loader and
// character threads still joinable and abort the process; the library's destructors would only
// talk to a display that is gone, and the game holds nothing that needs saving.
void watchDisplay();
