// player.h -- a player for tests: plays the real game frame by frame through the frame's own steps
// on the shipped maps, walks the heroine along routes found with the game's collision rules, talks,
// chooses, uses objects, looks at the inventory and fights, with the keyboard and the mouse, the
// keyboard alone or a gamepad alone.
#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <functional>
#include <string>
#include <vector>

constexpr float kTalkReach = 90;   // a character answers this far beside it
constexpr float kObjectReach = 30; // an object answers this far to its left and above

// A character's reach: its sprite widened by kTalkReach to the left and to the right.
sf::FloatRect characterReach(int index);
// The usable object's reach on this cell (column, row): the cell widened to its left and above.
sf::FloatRect objectReach(sf::Vector2i cell);

// One step of a route: the key held for one frame, and the heroine's top-left corner after it.
struct RouteStep {
    sf::Keyboard::Key key;
    sf::Vector2f to;
};

// Finds routes on a lattice of 10 pixels (one frame of walking at the frame time the player uses)
// through the grid as it stands: a position is free when none of the heroine's sensor lines
// overlaps a blocking cell, exactly as the game tests them.
class RoutePlanner {
public:
    RoutePlanner();

    // The shortest route from `from` to a free position where `arrived` holds for the heroine's
    // bounds, never through one where `avoided` holds. Empty when there is none (or `from` is
    // already there).
    std::vector<RouteStep> route(sf::Vector2f from,
                                 const std::function<bool(const sf::FloatRect&)>& arrived,
                                 const std::function<bool(const sf::FloatRect&)>& avoided) const;

    bool free(sf::Vector2f heroineAt) const;

    // For a player whose steps are not exact: a route within `area` that keeps `clearance` pixels
    // from every wall on both axes and turns as seldom as it can, as straight runs of one key.
    struct Run {
        sf::Keyboard::Key key;
        float pixels;
        sf::Vector2f to;
    };
    std::vector<Run> runs(sf::Vector2f from,
                          const std::function<bool(const sf::FloatRect&)>& arrived,
                          const std::function<bool(const sf::FloatRect&)>& avoided, float clearance,
                          const sf::FloatRect& area) const;

private:
    std::vector<sf::FloatRect> sensors_; // the sensor lines relative to her top-left corner
};

constexpr float kStepSeconds = 0.05f; // one frame: 10 pixels of walking at 200 pixels a second

// What the player plays with: the keyboard with the mouse for the choices; the keyboard alone
// (number keys for the choices); or a gamepad alone (pad 0: the left stick walks, the directional
// pad moves the highlight and the battle menu, its buttons do the rest).
enum class Device { KeyboardAndMouse, Keyboard, Pad };

class Player {
public:
    // A new game on the shipped maps, as it stands when the intro hands over to the first
    // chapter card, with the random generator seeded.
    explicit Player(unsigned seed, Device device = Device::KeyboardAndMouse);
    ~Player();

    // Frames of play.
    void frame(float seconds = kStepSeconds);
    void frames(int count, float seconds = kStepSeconds);
    // Frames until no transition screen is pending.
    void waitForPlay();

    // Walks until she is in reach of the character (within 90 pixels beside it), keeping clear of
    // other characters that speak first. A character that speaks first opens its talk on arrival.
    void walkToCharacter(int index);
    // Walks until she reaches the usable object on cell (column, row).
    void walkToObject(int col, int row);
    // Walks until her bounds meet `area`, out of every character's reach.
    void walkTo(const sf::FloatRect& area);

    // A key of the keyboard; a player of the pad has none.
    void press(sf::Keyboard::Key key);
    // E, or the pad's bottom button: talk, go on, use the object at hand.
    void talk();
    // E until the conversation shows its choice buttons (true) or ends (false).
    bool talkToChoiceOrEnd();
    // Takes choice button k: a click, its number key, or the pad's highlight moved to it and taken.
    void choose(int k);
    // Opens the inventory (Tab, or the pad's top button), sees it drawn, and closes it again.
    void lookAtInventory();
    // Enter, or the pad's Start: leaves the ending screen.
    void leave();
    // E until the conversation ends.
    void talkToEnd();
    // E to go on until a battle starts.
    void talkToBattle();
    // Fights with these moves in turn (the menu moved with Down/Up) until the battle ends.
    void fight(const std::vector<int>& moves);

    sf::Vector2f heroineAt() const;
    const std::string& shownLine() const;

    // The pixel of the middle of choice button k in the player's picture.
    static sf::Vector2i choicePixel(int k);
    // The player's pixel over this pixel of the game's 1920 x 1080 picture.
    static sf::Vector2i pixelOf(sf::Vector2i screenPixel);
    const RoutePlanner& planner() const { return planner_; }
    // Called after every frame the player plays, until replaced (an empty function: none).
    void watchFrames(std::function<void()> watcher) { watcher_ = std::move(watcher); }

private:
    void walk(const std::function<bool(const sf::FloatRect&)>& arrived, int goal);
    void holdWay(sf::Keyboard::Key key, bool held);
    // One push of the directional pad, and its letting go.
    void queueHatPush(sf::Joystick::Axis axis, float position);

    Device device_;
    sf::RenderTexture target_; // a tenth of the 1920 x 1080 picture each way: fewer pixels
    RoutePlanner planner_;
    std::function<void()> watcher_;
};
