// gameClock.h -- the clocks of the game's timed steps (typing, animation, the transition
// screens, the character thread). They read the system's steady time, or, in tests, a simulated
// time that only moves when the test says so.
#pragma once

#include <SFML/System/Time.hpp>

// The time now: steady system time, or the simulated time while it is in use. Any thread.
sf::Time gameTimeNow();

// The calendar time in seconds, which seeds the random generator: the system's, or, while the
// simulated time is in use, a fixed date moved on by the simulated time, so that a test's story
// draws the same numbers every time it is played.
long long calendarSeconds();

// The pause: while the game's time is held, gameTimeNow() keeps the time at which it was held;
// let go, it goes on from there, as if no time had passed meanwhile (every clock of the game, the
// character thread's included, takes up where it stood). Holding or letting go twice does nothing
// more. Main thread; any thread may read the time meanwhile.
void holdGameTime(bool held);
bool gameTimeHeld();

// Tests: switch the simulated time on (starting at a fixed point) or off; move it forward; read it
// or set it (a test that puts a saved game back puts its time back too, not held). Switching or
// setting it lets go of a held time.
void useSimulatedTime(bool simulated);
void advanceSimulatedTime(sf::Time by);
void setSimulatedTime(sf::Time now);

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
