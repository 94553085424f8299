// gameClock.h -- the clocks of the game's timed steps (typing, animation, the transition
// screens, the character thread). They read the system's steady time, or, in tests, a simulated
// time that only moves when the test says so.
#pragma once

#include <SFML/System/Time.hpp>

// The time now: steady system time, or the simulated time while it is in use. Any thread.
sf::Time gameTimeNow();

// Tests: switch the simulated time on (starting at a fixed point) or off; move it forward.
void useSimulatedTime(bool simulated);
void advanceSimulatedTime(sf::Time by);

// sf::Clock's interface over gameTimeNow().
class GameClock {
public:
    GameClock() : start_(gameTimeNow()) {}
    sf::Time getElapsedTime() const { return gameTimeNow() - start_; }
    sf::Time restart() {
        const sf::Time now = gameTimeNow();
        const sf::Time elapsed = now - start_;
        start_ = now;
        return elapsed;
    }

private:
    sf::Time start_;
};
