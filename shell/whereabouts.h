// whereabouts.h -- where the heroine is, told on the console when the game receives SIGUSR1
// (`kill -USR1 <pid>`): for whoever watches or drives the real game from outside, such as the
// end-to-end playthroughs, which cannot see her place to the pixel on the screen.
#pragma once

#include <string>

// Installs the SIGUSR1 handler; the handler only notes the request.
void listenForWhereabouts();

// True once after each request noted since the last call.
bool whereaboutsAsked();

// The line told: "heroine at <x> <y>", her top-left corner on the map in whole pixels.
std::string whereaboutsLine();

// Prints the line on standard output (flushed) when one was asked for since the last frame.
void tellWhereaboutsIfAsked();
