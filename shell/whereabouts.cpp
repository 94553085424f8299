// whereabouts.cpp -- the heroine's place and the heap in use on request, two lines on the console.
#include "shell/whereabouts.h"

#include "world/heroine.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <malloc.h>

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

std::string whereaboutsLine() {
    const sf::FloatRect bounds = heroineBounds();
    return "heroine at " + std::to_string(std::lround(bounds.left)) + " " +
           std::to_string(std::lround(bounds.top));
}

std::string heapLine() {
    const struct mallinfo2 heap = mallinfo2();
    return "heap in use " + std::to_string((heap.uordblks + heap.hblkhd) / 1024) + " KiB";
}

void tellWhereaboutsIfAsked() {
    if (whereaboutsAsked()) {
        std::printf("%s\n%s\n", whereaboutsLine().c_str(), heapLine().c_str());
        std::fflush(stdout);
    }
}
