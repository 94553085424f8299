// whereaboutsRequest.cpp -- the whereabouts asked for with SIGUSR1 (`kill -USR1 <pid>`): the Linux
// side of the request in whereabouts.h.
#include "shell/whereabouts.h"

#include <atomic>
#include <csignal>

namespace {

// Written by the signal handler, read by the main loop: a lock-free flag is all a handler may
// touch.
std::atomic<bool> asked{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void noteWhereaboutsAsked(int /*signal*/) {
    asked.store(true);
}

} // namespace

void listenForWhereabouts() {
    struct sigaction action = {};
    action.sa_handler = noteWhereaboutsAsked;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

bool whereaboutsAsked() {
    return asked.exchange(false);
}
