// whereaboutsRequestWindows.cpp -- the Windows side of the whereabouts request in whereabouts.h:
// there is none. Windows has no SIGUSR1, and what asks for the whereabouts (the end-to-end
// playthroughs and the soak) runs the Linux game only.
#include "shell/whereabouts.h"

void listenForWhereabouts() {}

bool whereaboutsAsked() {
    return false;
}
