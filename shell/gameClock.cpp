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

// A simulated clock starts far from zero, so that time marks taken "before" it stay positive.
constexpr std::int64_t kSimulatedStart = 1'000'000'000;
// The simulated calendar's date at the simulated clock's start.
constexpr long long kSimulatedDate = 1'800'000'000;

} // namespace

sf::Time gameTimeNow() {
    if (simulatedOn.load()) {
        return sf::microseconds(simulatedMicroseconds.load());
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return sf::microseconds(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void useSimulatedTime(bool simulated) {
    simulatedMicroseconds.store(kSimulatedStart);
    simulatedOn.store(simulated);
}

void advanceSimulatedTime(sf::Time by) {
    simulatedMicroseconds.fetch_add(by.asMicroseconds());
}

void setSimulatedTime(sf::Time now) {
    simulatedMicroseconds.store(now.asMicroseconds());
}

long long calendarSeconds() {
    if (simulatedOn.load()) {
        return kSimulatedDate + (simulatedMicroseconds.load() - kSimulatedStart) / 1'000'000;
    }
    return static_cast<long long>(std::time(nullptr));
}
