// storyExplorer.h -- a seeded player that hunts for states in which the player is stuck: short
// sessions of random play from the places a scripted story passes through, every frame the game's
// own, every frame checked, and each session ended by a recovery that must hand control back.
#pragma once

#include "playthrough/gameSnapshot.h"
#include "playthrough/player.h"

#include "shell/gameClock.h"
#include "world/characterThread.h"
#include "world/characters.h"

#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

// What moves while the game plays (her place, the camera, the game's time in microseconds, the
// talk, the veil, the intro's leg, the battle, the story's values, the characters' places):
// nothing of it may change while the pause stays open.
struct MovingValues {
    std::vector<double> values;
};
constexpr int kGameTime = 4; // the game's time among the values
MovingValues movingValues();
// What moved between two readings (its name), or nothing.
std::string whatMoved(const MovingValues& before, const MovingValues& after);

// What went wrong, and where: the session's seed replays it exactly.
struct ExplorerFinding {
    unsigned seed = 0;
    long frame = 0; // of the session
    std::string what;
};

// What the sessions did, to show that they reach the story's corners.
struct ExplorerTally {
    int sessions = 0;
    long frames = 0;
    int talksOpened = 0;
    int choicesTaken = 0;
    int battles = 0;
    int finds = 0;
    int inventories = 0;
    int chapterCards = 0;
    int endings = 0;
    int recoveries = 0; // sessions whose recovery had something to do
    int pauses = 0;
};

class StoryExplorer {
public:
    // Plays the scripted tours once on the shipped maps, keeping the places they pass through.
    StoryExplorer();

    // One session: a starting place, 150 to 900 frames of random play, then the recovery. The
    // first fault seen, if any. With `verbose`, each frame's actions are printed.
    std::optional<ExplorerFinding> playSession(unsigned seed, bool verbose = false);

    const ExplorerTally& tally() const { return tally_; }
    int startingPlaces() const { return static_cast<int>(places_.size()); }

    // A digest of the game as it stands: two plays of one seed must end on the same one.
    std::uint64_t digest() const;

private:
    struct Place {
        GameSnapshot game;
        int announcedQuest; // the quest whose chapter card (or intro) was last shown
    };
    // Where a session walks to: a character, a usable object, or any free place.
    struct Goal {
        sf::FloatRect reach;
        int field = -1; // the distance field that leads there
        int character = -1;
    };

    void keepPlaces();
    void tour(const std::function<void()>& steps);
    void frame(float seconds);
    void noteFrame();

    Goal chooseGoal();
    sf::Keyboard::Key stepTowards(const Goal& goal);
    bool nearGoal() const;

    // A frame's random play, step by step.
    void chooseActions(bool verbose);
    void chooseWalk();
    std::vector<sf::Keyboard::Key> choosePresses();
    void chooseAChoice(std::vector<sf::Keyboard::Key>& presses);
    void pressPadOrMouse();
    void chooseFocusAndPause(std::vector<sf::Keyboard::Key>& presses);
    void choosePauseActions(std::vector<sf::Keyboard::Key>& presses);
    void checkPauseKeepsTime(bool pausedBefore, const MovingValues& before, float seconds);
    void printActions(const std::vector<sf::Keyboard::Key>& presses) const;

    std::string checkInvariants();

    // The recovery after the random play, step by step.
    std::string recover();
    void releaseWalkKeys();
    bool walksAway(bool& stillFree);
    void stepTowardsPlay();
    std::string stuckState() const;
    void moveACharacterBesideAnObject();

    // The lattice of 10 pixels over the play area: which points she may stand on, and the
    // distance fields to the goals (computed when first asked for).
    void measureFreePoints();
    int fieldTo(const sf::FloatRect& reach);
    int latticeIndex(sf::Vector2f at) const;

    Player player_;
    std::vector<Place> places_;
    std::vector<char> freePoints_;
    std::vector<std::vector<std::int32_t>> fields_;
    std::vector<sf::FloatRect> fieldGoals_;

    // The session being played.
    std::mt19937 random_;
    ExplorerTally tally_;
    GameClock passClock_;
    CharacterTimers timers_;
    long sessionFrame_ = 0;
    bool varyFrameTime_ = false;
    int announcedQuest_ = 0;
    int lastSpeaker_ = -1;
    bool lastBoxOpen_ = false;
    bool lastPending_ = false;
    int lastTarget_ = -1;
    bool cameIntoReach_ = false;
    int pendingClick_ = -1; // the choice the mouse rests on, clicked next frame
    Goal goal_;
    sf::Keyboard::Key walking_ = sf::Keyboard::Unknown;
    int walkFrames_ = 0;
    sf::Vector2f lastAt_;
    int stillFrames_ = 0;
    std::string arrangement_; // how the session's world differs from the shipped one
    bool padPlugged_ = false;
    bool focused_ = true;
    bool lastPaused_ = false;
    std::string pauseFault_; // the pause's invariants, checked as each frame is played
};
