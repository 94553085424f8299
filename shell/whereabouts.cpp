// whereabouts.cpp -- the heroine's place and the heap in use on request, two lines on the console
// (the request itself is the platform's: whereaboutsRequest.cpp, whereaboutsRequestWindows.cpp).
#include "shell/whereabouts.h"

#include "shell/heapFigures.h"
#include "world/heroine.h"

#include <cmath>
#include <cstdio>

std::string whereaboutsLine() {
    const sf::FloatRect bounds = heroineBounds();
    return "heroine at " + std::to_string(std::lround(bounds.left)) + " " +
           std::to_string(std::lround(bounds.top));
}

std::string heapLine() {
    return "heap in use " + std::to_string(heapBytesInUse() / 1024) + " KiB";
}

void tellWhereaboutsIfAsked() {
    if (whereaboutsAsked()) {
        std::printf("%s\n%s\n", whereaboutsLine().c_str(), heapLine().c_str());
        std::fflush(stdout);
    }
}
