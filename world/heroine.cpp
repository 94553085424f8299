// heroine.cpp -- the heroine's walk, camera follow, sensor lines and talk target.
#include "world/heroine.h"

#include "shell/gameState.h"
#include "shell/input.h"
#include "world/characters.h"
#include "world/tileGrid.h"

#include <algorithm>
#include <cmath>

sf::RectangleShape heroine;
sf::RectangleShape contactBoxes[4];
const sf::Keyboard::Key kWalkKeys[4] = {sf::Keyboard::S, sf::Keyboard::W, sf::Keyboard::A,
                                        sf::Keyboard::D};

namespace {

std::mutex heroineMutex;

enum Facing : std::int16_t { kDown = 0, kUp = 1, kLeft = 2, kRight = 3 };

// Rows of kaiva-map.png: walking down, left, right and up; indexed by Facing.
constexpr int kSheetRowOf[4] = {0, 3, 1, 2};
constexpr int kLastWalkFrame = 3;
constexpr float kRunningAbove = 200; // speeds above it count as running
const sf::Time kWalkFramePeriod = sf::milliseconds(300);
const sf::Time kRunFramePeriod = sf::milliseconds(150);
constexpr float kCameraSlack = 100; // how far she may stray from the camera's centre
constexpr float kTalkReach = 90;    // a character answers this far to her left and right

// The pad's ways to walk, indexed by Facing as kWalkKeys: its stick or directional pad.
const PadDirection kPadWays[4] = {PadDirection::Down, PadDirection::Up, PadDirection::Left,
                                  PadDirection::Right};

bool walkHeld(Facing facing) {
    return isKeyHeld(kWalkKeys[facing]) || isPadPointing(kPadWays[facing]);
}

sf::IntRect frameRect(int frame, Facing facing) {
    return {frame * kHeroFramePixels, kSheetRowOf[facing] * kHeroFramePixels, kHeroFramePixels,
            kHeroFramePixels};
}

// One key's step: moves her and shows the walking frame of that direction. Her lock is held.
void step(bool held, bool allowed, sf::Vector2f by, Facing facing) {
    if (!held || !allowed) {
        return;
    }
    heroine.move(by);
    heroine.setTextureRect(frameRect(world.heroFrame, facing));
    world.heroMoving = true;
    world.heroFacing = facing;
}

// The camera keeps her within 100 pixels of its centre, by the way held, not by the flags (so it
// may scroll while she stands against a wall). Going down, the threshold is cy - 100 as well.
void followWithCamera(sf::View& camera, sf::Vector2f at, float distance) {
    if (at.x >= camera.getCenter().x + kCameraSlack && walkHeld(kRight)) {
        camera.move(distance, 0);
    }
    if (at.x <= camera.getCenter().x - kCameraSlack && walkHeld(kLeft)) {
        camera.move(-distance, 0);
    }
    if (at.y <= camera.getCenter().y - kCameraSlack && walkHeld(kUp)) {
        camera.move(0, -distance);
    }
    if (at.y >= camera.getCenter().y - kCameraSlack && walkHeld(kDown)) {
        camera.move(0, distance);
    }
}

bool* flagOfBox(int box) {
    bool* const flags[4] = {&world.canMoveUp, &world.canMoveDown, &world.canMoveLeft,
                            &world.canMoveRight};
    return flags[box];
}

} // namespace

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

void moveHeroine(sf::View& camera, const GameClock& animClock, sf::Time& animNow,
                 sf::Time& animLast) {
    const float distance = world.walkSpeed * world.frameSeconds.load();
    sf::Vector2f at;
    {
        std::lock_guard<std::mutex> lock(heroineMutex);
        step(walkHeld(kLeft), world.canMoveLeft, {-distance, 0}, kLeft);
        step(walkHeld(kRight), world.canMoveRight, {distance, 0}, kRight);
        step(walkHeld(kDown), world.canMoveDown, {0, distance}, kDown);
        step(walkHeld(kUp), world.canMoveUp, {0, -distance}, kUp);
        // The period is measured up to the previous call's time.
        const sf::Time period =
            world.walkSpeed > kRunningAbove ? kRunFramePeriod : kWalkFramePeriod;
        if (animNow - animLast >= period) {
            world.heroFrame = world.heroFrame >= kLastWalkFrame ? 0 : world.heroFrame + 1;
            animLast = animClock.getElapsedTime();
        }
        animNow = animClock.getElapsedTime();
        if (!world.heroMoving) {
            world.heroFrame = 1;
            heroine.setTextureRect(frameRect(0, static_cast<Facing>(world.heroFacing & 3)));
        }
        at = heroine.getPosition();
    }
    placeSensors();
    followWithCamera(camera, at, distance);
    world.heroMoving = false;
}

void placeSensors() {
    const sf::Vector2f at = [] {
        std::lock_guard<std::mutex> lock(heroineMutex);
        return heroine.getPosition();
    }();
    const float lineWidth = contactBoxes[0].getSize().x;
    const float feet = world.feetHeight;
    const float x0 = at.x + kHeroineSize * 0.5f - lineWidth * 0.5f;
    const float y0 = at.y + kHeroineSize - feet;
    const float sideY = y0 + static_cast<float>(world.feetHeight / 2) - 5 + 3;
    contactBoxes[0].setPosition(x0, y0);
    contactBoxes[1].setPosition(x0, at.y + kHeroineSize);
    contactBoxes[2].setPosition(x0 - 5, sideY);
    contactBoxes[3].setPosition(x0 + lineWidth + 5, sideY);
}

float roomAbove(float most) {
    placeSensors();
    float room = most;
    for (const int box : {0, 1}) { // the lines above and below her feet
        const sf::FloatRect line = contactBoxes[box].getGlobalBounds();
        // The strip the line sweeps going up, and the cells it crosses.
        const sf::FloatRect swept(line.left, line.top - most, line.width, line.height + most);
        const int colFirst = std::max(0, static_cast<int>(std::floor(swept.left / kCellPixels)));
        const int colLast = std::min(
            kGridSize - 1, static_cast<int>(std::floor((swept.left + swept.width) / kCellPixels)));
        const int rowFirst = std::max(0, static_cast<int>(std::floor(swept.top / kCellPixels)));
        const int rowLast = std::min(
            kGridSize - 1, static_cast<int>(std::floor((line.top + line.height) / kCellPixels)));
        for (int row = rowFirst; row <= rowLast; ++row) {
            std::lock_guard<std::mutex> lock(gridRowLock(row));
            for (int col = colFirst; col <= colLast; ++col) {
                const sf::FloatRect cell = objectBounds(row, col);
                if (!cellAt(row, col).blocking || !swept.intersects(cell) ||
                    line.intersects(cell)) {
                    continue; // a cell she already touches does not stop her leaving upwards
                }
                room = std::min(room, std::max(0.0f, line.top - (cell.top + cell.height)));
            }
        }
    }
    return room;
}

bool updateTileContacts() {
    sf::FloatRect lines[4];
    for (int box = 0; box < 4; ++box) {
        lines[box] = contactBoxes[box].getGlobalBounds();
    }
    bool touched[4] = {false, false, false, false};
    bool contact = false;
    const VisibleWindow window = world.visibleWindow.load();
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            if (!cellAt(row, col).blocking) {
                continue;
            }
            const sf::FloatRect cell = objectBounds(row, col);
            for (int box = 0; box < 4; ++box) {
                if (lines[box].intersects(cell)) { // a positive-area overlap
                    *flagOfBox(box) = false;
                    touched[box] = true;
                    contact = true;
                }
            }
        }
    }
    // A cleared flag comes back once nothing touches, all four together; but in a pocket she
    // entered sideways (a tree above, one below, one beside) every flag would stay cleared for
    // good. Then the directions whose lines touch nothing are free again.
    const bool stuck =
        !world.canMoveUp && !world.canMoveDown && !world.canMoveLeft && !world.canMoveRight;
    for (int box = 0; box < 4; ++box) {
        if (!contact || (stuck && !touched[box])) {
            *flagOfBox(box) = true;
        }
    }
    return contact;
}

int findTalkTarget() {
    const sf::FloatRect her = heroineBounds();
    const VisibleWindow window = world.visibleWindow.load();
    std::lock_guard<std::mutex> lock(rosterLock());
    for (int i = 0; i < kRosterSize && npcs[i].active; ++i) {
        Npc& npc = npcs[i];
        if (!inWindowInCells(npc.sprite.getPosition(), window, 1)) {
            continue;
        }
        sf::FloatRect reach = npc.sprite.getGlobalBounds();
        reach.left -= kTalkReach;
        reach.width += 2 * kTalkReach;
        if (her.intersects(reach)) {
            npc.hintState = 1;
            return i;
        }
        npc.hintState = npc.restHintState;
    }
    return -1;
}
