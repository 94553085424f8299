// characterThread.cpp -- patrols, animation, bounces and proximity, on the character thread.
#include "world/characterThread.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace {

const sf::Time kMoveTick = sf::milliseconds(25);
const sf::Time kAnimTick = sf::milliseconds(300);
constexpr int kNearAcross = 6; // cells
constexpr int kNearUpDown = 3;
constexpr int kStanding = 4;
enum Direction : std::int16_t { kRight = 0, kLeft = 1, kUp = 2, kDown = 3 };

// Wakes the sleeping thread when the game quits.
std::mutex wakeMutex;
std::condition_variable wakeUp;

bool quitting() {
    return world.quitRequested.load();
}

// Sleeps until the next movement tick is due (25 ms after the last step, or after now when nobody
// moved), or the next animation tick if that comes first; returns at once when the game quits.
void waitForNextTick(const GameClock& clock, sf::Time moveLast, sf::Time animLast) {
    const sf::Time now = clock.getElapsedTime();
    sf::Time due = moveLast + kMoveTick;
    if (due <= now) {
        due = now + kMoveTick;
    }
    if (animLast + kAnimTick > now && animLast + kAnimTick < due) {
        due = animLast + kAnimTick;
    }
    std::unique_lock<std::mutex> lock(wakeMutex);
    wakeUp.wait_for(lock, std::chrono::microseconds((due - now).asMicroseconds()), quitting);
}

// One patrol step along one axis: walk away from the anchor while within the leg, turn at its end.
// `forward` walks in +axis, `back` in -axis.
void patrolAxis(Npc& npc, float (*axis)(sf::Vector2f), sf::Vector2f unit, std::int16_t forward,
                std::int16_t back, float step) {
    const float range = npc.patrolRange;
    if (axis(npc.patrolAnchor) / kCellPixels + range >=
        axis(npc.sprite.getPosition()) / kCellPixels) {
        if (npc.direction == forward) {
            npc.sprite.move(unit * step);
        }
    } else if (npc.direction == forward) {
        npc.patrolAnchor = npc.sprite.getPosition();
        npc.direction = back;
    }
    if (axis(npc.sprite.getPosition()) / kCellPixels >=
        axis(npc.patrolAnchor) / kCellPixels - range) {
        if (npc.direction == back) {
            npc.sprite.move(-unit * step);
        }
    } else if (npc.direction == back) {
        npc.patrolAnchor = npc.sprite.getPosition();
        npc.direction = forward;
    }
}

// The cells of the window that a character's bounds may overlap: those under the bounds, with a
// cell of margin. A cell's collision rectangle is its square once its object picture is placed,
// and before that the empty rectangle at the world's corner, which only bounds reaching left of and
// above the corner overlap: then the whole window may. Over the intro's window of the whole grid
// this is a few cells instead of 62,001 per character and tick.
VisibleWindow cellsUnder(const sf::FloatRect& bounds, const VisibleWindow& window) {
    const float left = std::min(bounds.left, bounds.left + bounds.width);
    const float top = std::min(bounds.top, bounds.top + bounds.height);
    const float right = std::max(bounds.left, bounds.left + bounds.width);
    const float bottom = std::max(bounds.top, bounds.top + bounds.height);
    if (left < 0 && top < 0) {
        return window;
    }
    const auto cellOf = [](float pixels) {
        return static_cast<int>(std::floor(pixels / kCellPixels));
    };
    VisibleWindow cells;
    cells.visibleColFirst = std::max(window.visibleColFirst, cellOf(left) - 1);
    cells.visibleColEnd = std::min(window.visibleColEnd, cellOf(right) + 2);
    cells.visibleRowFirst = std::max(window.visibleRowFirst, cellOf(top) - 1);
    cells.visibleRowEnd = std::min(window.visibleRowEnd, cellOf(bottom) + 2);
    return cells;
}

float xOf(sf::Vector2f v) {
    return v.x;
}
float yOf(sf::Vector2f v) {
    return v.y;
}

void patrolStep(int index, float step) {
    Npc& npc = npcs[index];
    if (npc.direction == kStanding) {
        return;
    }
    if (npc.direction == kRight || npc.direction == kLeft) {
        patrolAxis(npc, xOf, {1, 0}, kRight, kLeft, step);
    } else {
        patrolAxis(npc, yOf, {0, 1}, kDown, kUp, step);
    }
    bounceOffTiles(index);
}

// The sprite's frame: a standing character alternates frames 0 and 1 of its first row; a walking
// one shows four frames of its first row going right or down, of its second going left or up; a
// patroller held by a conversation keeps its picture.
void showFrame(Npc& npc) {
    int row = npc.spriteRow;
    if (npc.direction == kStanding) {
        if (npc.restDirection != kStanding) {
            return;
        }
        if (npc.animFrame >= 2) {
            npc.animFrame = 0;
        }
    } else if (npc.direction >= kRight && npc.direction <= kDown) {
        if (npc.animFrame >= 4) {
            npc.animFrame = 0;
        }
        if (npc.direction == kLeft || npc.direction == kUp) {
            row += 1;
        }
    } else {
        return;
    }
    npc.sprite.setTextureRect(
        {npc.animFrame * kNpcFramePixels, row * kNpcFramePixels, kNpcFramePixels, kNpcFramePixels});
}

} // namespace

void startCharacterThread() {
    threads.npcThread = std::thread(worldThreadLoop);
}

void stopCharacterThread() {
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        world.quitRequested.store(true);
    }
    wakeUp.notify_all();
    if (threads.npcThread.joinable()) {
        threads.npcThread.join();
    }
}

CharacterTimers startCharacterTimers(const GameClock& clock) {
    const sf::Time now = clock.getElapsedTime();
    return {now, now, now, now};
}

void characterPass(const GameClock& clock, CharacterTimers& timers, sf::Time now) {
    timers.moveNow = now;
    timers.animNow = now;
    const sf::FloatRect herBounds = heroineBounds(); // one snapshot per pass
    const sf::Vector2f her(herBounds.left, herBounds.top);
    std::lock_guard<std::mutex> lock(rosterLock());
    markCharactersNearHeroine(her);
    animateCharacters(clock, timers.moveNow, timers.moveLast, timers.animNow, timers.animLast);
}

void worldThreadLoop() {
    const GameClock clock;
    CharacterTimers timers = startCharacterTimers(clock);
    sf::Time passBegins = timers.moveNow;
    for (;;) {
        characterPass(clock, timers, passBegins);
        waitForNextTick(clock, timers.moveLast, timers.animLast);
        passBegins = clock.getElapsedTime();
        if (quitting()) {
            return;
        }
    }
}

void markCharactersNearHeroine(sf::Vector2f heroine) {
    const VisibleWindow window = world.visibleWindow.load();
    const float heroCol = heroine.x / kCellPixels;
    const float heroRow = heroine.y / kCellPixels;
    for (int i = 0; i < kRosterSize && npcs[i].active; ++i) {
        Npc& npc = npcs[i];
        const sf::Vector2f at = npc.sprite.getPosition();
        if (!inWindowInCells(at, window, 1)) {
            continue;
        }
        const float across = at.x / kCellPixels - heroCol;
        const float upDown = at.y / kCellPixels - heroRow;
        npc.nearHeroine = upDown >= -kNearUpDown && upDown <= kNearUpDown &&
                          across >= -kNearAcross && across <= kNearAcross;
    }
}

void animateCharacters(const GameClock& clock, sf::Time& moveNow, sf::Time& moveLast,
                       sf::Time& animNow, sf::Time& animLast) {
    const VisibleWindow window = world.visibleWindow.load();
    // A step is the main loop's last frame at the character's speed, not the tick's 25 ms.
    const float frameSeconds = world.frameSeconds.load();
    const bool moveDue = moveNow - moveLast >= kMoveTick;
    const bool animDue = animNow - animLast >= kAnimTick;
    bool moved = false;
    bool animated = false;
    for (int i = 0; i < kRosterSize && npcs[i].active; ++i) {
        Npc& npc = npcs[i];
        if (!inWindowInCells(npc.sprite.getPosition(), window, 0)) {
            continue;
        }
        if (moveDue) {
            moved = true;
            patrolStep(i, npc.speed * frameSeconds);
        }
        if (animDue) {
            npc.animFrame += 1;
            animated = true;
        }
        showFrame(npc);
    }
    if (moved) {
        moveLast = clock.getElapsedTime();
    }
    if (animated) {
        animLast = clock.getElapsedTime();
    }
}

void bounceOffTiles(int index) {
    Npc& npc = npcs[index];
    const sf::Vector2f start = npc.sprite.getPosition();
    const sf::FloatRect bounds = npc.sprite.getGlobalBounds();
    const sf::Vector2f size = npc.sprite.getSize();
    // The cells are those of the window in the same order; the others cannot overlap the bounds.
    const VisibleWindow cells = cellsUnder(bounds, world.visibleWindow.load());
    for (int row = cells.visibleRowFirst; row < cells.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = cells.visibleColFirst; col < cells.visibleColEnd; ++col) {
            if (!cellAt(row, col).blocking) {
                continue;
            }
            // One pixel narrower and shorter: a character may stand flush against the cell.
            sf::FloatRect cell = objectBounds(row, col);
            cell.width -= 1;
            cell.height -= 1;
            if (!bounds.intersects(cell)) {
                continue;
            }
            switch (npc.direction) {
            case kLeft:
                npc.sprite.setPosition(cell.left + cell.width, start.y);
                npc.direction = kRight;
                break;
            case kRight:
                npc.sprite.setPosition(cell.left - size.x, start.y);
                npc.direction = kLeft;
                break;
            case kUp:
                npc.sprite.setPosition(start.x, cell.top + cell.height);
                npc.direction = kDown;
                break;
            default:
                npc.sprite.setPosition(start.x, cell.top - size.y);
                npc.direction = kUp;
                break;
            }
            npc.patrolAnchor = npc.sprite.getPosition();
        }
    }
}
