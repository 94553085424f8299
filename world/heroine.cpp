// heroine.cpp -- the heroine's shape and sensor lines.
#include "world/heroine.h"

sf::RectangleShape heroine;
sf::RectangleShape contactBoxes[4];

namespace {
std::mutex heroineMutex;
}

std::mutex& heroineLock() {
    return heroineMutex;
}

sf::FloatRect heroineBounds() {
    std::lock_guard<std::mutex> lock(heroineMutex);
    return heroine.getGlobalBounds();
}

void resetHeroine() {
    std::lock_guard<std::mutex> lock(heroineMutex);
    heroine = sf::RectangleShape();
    for (sf::RectangleShape& box : contactBoxes) {
        box = sf::RectangleShape();
    }
}
