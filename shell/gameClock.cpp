// gameClock.cpp -- steady or simulated time.
#include "shell/gameClock.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>

namespace {

// Read by the character thread while a test advances it: atomic.
std::atomic<bool> simulatedOn{false};
std::atomic<std::int64_t> simulatedMicroseconds{0};

// The pause. The game's time is the steady (or simulated) time less the time spent held; while
// held, it is the time at which it was held. Read by the character thread while the main thread
// holds or lets go: atomic, each read whole. Holding writes heldAt last and letting go writes it
// last, so a reader sees either the held time or the running time with its new offset, never a
// jump.
constexpr std::int64_t kRunning = -1;
std::atomic<std::int64_t> heldAt{kRunning};
std::atomic<std::int64_t> timeHeld{0};

std::int64_t baseMicroseconds() {
    if (simulatedOn.load()) {
        return simulatedMicroseconds.load();
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

void letGoOfHeldTime() {
    heldAt.store(kRunning);
    timeHeld.store(0);
}

// A simulated clock starts far from zero, so that time marks taken "before" it stay positive.
constexpr std::int64_t kSimulatedStart = 1'000'000'000;
// The simulated calendar's date at the simulated clock's start.
constexpr long long kSimulatedDate = 1'800'000'000;

} // namespace

sf::Time gameTimeNow() {
    const std::int64_t held = heldAt.load();
    if (held != kRunning) {
        return sf::microseconds(held);
    }
    return sf::microseconds(baseMicroseconds() - timeHeld.load());
}

void holdGameTime(bool held) {
    const std::int64_t at = heldAt.load();
    if (held && at == kRunning) {
        heldAt.store(baseMicroseconds() - timeHeld.load());
    } else if (!held && at != kRunning) {
        timeHeld.store(baseMicroseconds() - at);
        heldAt.store(kRunning);
    }
}

bool gameTimeHeld() {
    return heldAt.load() != kRunning;
}

void useSimulatedTime(bool simulated) {
    letGoOfHeldTime();
    simulatedMicroseconds.store(kSimulatedStart);
    simulatedOn.store(simulated);
}

void advanceSimulatedTime(sf::Time by) {
    simulatedMicroseconds.fetch_add(by.asMicroseconds());
}

void setSimulatedTime(sf::Time now) {
    letGoOfHeldTime();
    simulatedMicroseconds.store(now.asMicroseconds());
}

long long calendarSeconds() {
    if (simulatedOn.load()) {
        return kSimulatedDate + (simulatedMicroseconds.load() - kSimulatedStart) / 1'000'000;
    }
    return static_cast<long long>(std::time(nullptr));
}
