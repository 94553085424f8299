// whereabouts.h -- where the heroine is, and how much memory the game's heap holds, told on the
// console when the game receives SIGUSR1 (`kill -USR1 <pid>`): for whoever watches or drives the
// real game from outside, such as the end-to-end playthroughs, which cannot see her place to the
// pixel on the screen, and the soak, which tells a leak from memory the allocator merely keeps.
#pragma once

#include <string>

// The request, one file per platform: on Linux SIGUSR1 (whereaboutsRequest.cpp); Windows has no
// such request (whereaboutsRequestWindows.cpp), and nothing is ever asked there.
// Installs the SIGUSR1 handler; the handler only notes the request.
void listenForWhereabouts();

// True once after each request noted since the last call.
bool whereaboutsAsked();

// The line told: "heroine at <x> <y>", her top-left corner on the map in whole pixels.
std::string whereaboutsLine();

// The second line told: "heap in use <n> KiB", the bytes the program's allocations hold now (every
// arena's chunks in use and the blocks mapped on their own). Unlike the resident size, it does not
// keep the high-water mark of memory freed since, nor count library code paged in.
std::string heapLine();

// Prints both lines on standard output (flushed) when they were asked for since the last frame.
void tellWhereaboutsIfAsked();
