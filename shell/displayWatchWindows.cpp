// displayWatchWindows.cpp -- the Windows side of displayWatch.h: a Windows program always has its
// desktop, and no display server can go away under its window, so there is nothing to check or
// watch.
#include "shell/displayWatch.h"

bool requireDisplay() {
    return true;
}

void watchDisplay() {}
