// realPlayer.h -- a player for the real game: real X input (held keys for walking, presses for E
// and the battle keys, mouse clicks for choices), what the screen shows read from screenshots, and
// where the heroine is asked of the game itself (SIGUSR1, answered on its console).
#pragma once

#include "e2e/gameProcess.h"
#include "playthrough/player.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>

#include <chrono>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

class RealPlayer {
public:
    // Plans on the shipped maps, loaded into this process as the game loads them.
    explicit RealPlayer(GameProcess& game);

    // Waits for free roaming: the HUD drawn and no dialogue box (the intro and a chapter card take
    // their time). The first call also finds the camera where the intro left it.
    bool waitForRoaming(std::chrono::seconds timeout);
    bool waitForDialogue(std::chrono::seconds timeout);
    bool waitForBattle(std::chrono::seconds timeout);
    bool waitForEndScreen(std::chrono::seconds timeout);
    bool waitForCard(std::chrono::seconds timeout);

    // Walks to stand within a character's talk reach at its start place (or, for one that patrols,
    // on its round), keeping clear of the others that speak first.
    bool walkToCharacter(int index);
    bool walkToObject(int col, int row);
    // Walks this far with one key, in runs, keeping track of her.
    void walk(const std::string& key, float pixels);

    // What the player knows of the story: a character beaten or tamed no longer speaks first; a
    // talk with one that still does ends by letting the heroine pass 100 pixels up.
    void noLongerSpeaksFirst(int index);
    void pushedUp();

    void press(const std::string& key); // held 120 ms, as a person presses
    void presses(const std::string& key, int count);
    void clickChoice(int k);                  // the mouse on choice button k, a click
    void saveScreen(const std::string& name); // build/screenshots/<name>.png

    sf::Image screen();
    bool dialogueShown(const sf::Image& shot);
    bool hudShown(const sf::Image& shot) const;
    bool battleShown(const sf::Image& shot) const;
    bool endShown(const sf::Image& shot) const;
    // The chapter card while it holds: the world veiled dark, the quest's title in white.
    bool cardShown(const sf::Image& shot) const;
    bool inventoryShown(const sf::Image& shot) const;
    // Choice button k shows the lit look (the mouse's hover, or the keys' highlight).
    bool choiceLit(const sf::Image& shot, int k) const;
    // The pause screen shows, "Riprendi" lit.
    bool pauseShown(const sf::Image& shot) const;
    // The width of the chapter card's title as shown (its white words), and as the font lays out
    // a title: the titles of the two cards that may follow the sage differ by 98 pixels.
    float cardTitleWidth(const sf::Image& shot) const;
    float titleWidth(const std::string& title) const;

    // Steps of the story the tests play: the sage's question answered with choice k (then the
    // chapter card waited out); an invader that speaks first met on his round, and his talk taken
    // on to its battle.
    void askTheSage(int choice);
    void meetForBattle(int invader);

private:
    bool buttonLit(const sf::Image& shot, unsigned left, float top) const;
    bool walkTo(const std::function<bool(const sf::FloatRect&)>& arrived, int goal);
    bool walkRun(const RoutePlanner::Run& run, int goal);
    bool unstick(int goal, const std::string& key);
    // walk(), pressed again and longer when a press did not move her at all.
    void step(const std::string& key, float pixels);
    void hold(const std::string& key, std::chrono::milliseconds duration);
    // Asks the game where she is and waits for its answer.
    bool locate();
    void parkMouse();

    GameProcess& game_;
    RoutePlanner planner_;
    sf::Vector2f heroine_{918, 498};
    sf::Image talkSheet_;
    sf::Image iconSheet_;
    sf::Font font_;
    int stuck_ = 0;       // presses that moved her not at all, in this walk
    std::ofstream trace_; // each press: where she was and where it took her
};
