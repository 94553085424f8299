// battleScreen.cpp -- the battle screen, drawn afresh from the battle's state every frame.
#include "battle/battleScreen.h"

#include "battle/battleRules.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "world/characters.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

namespace {

constexpr float kFighterSize = 450;
constexpr float kHalfHeight = 540; // half the backdrop's height
const sf::Vector2f kHeroineAt(250, kHalfHeight - kFighterSize);
const sf::Vector2f kOpponentAt(1220, kHalfHeight - kFighterSize);
const sf::IntRect kHeroinePicture(0, 320, 160, 160); // walking right, towards the opponent
constexpr int kFramePixels = 160;
const sf::Vector2f kHealthFrameSize(400, 50);
const sf::Color kGrey(120, 120, 120, 255);
constexpr float kBarWidth = 390; // the frame's inside at 100 hit points
constexpr float kBarHeight = 40;
const sf::Vector2f kMenuSize(750, 400);
const sf::Vector2f kMenuAt(150, 580);
const sf::IntRect kPointerPicture(640, 0, 160, 160);
constexpr float kValueIconSize = 50;
constexpr float kValueRowSpacing = 70;
constexpr unsigned kMenuTextSize = 40;

sf::RectangleShape picture(sf::Vector2f size, sf::Vector2f at, const sf::Texture& sheet,
                           const sf::IntRect& rect) {
    sf::RectangleShape shape(size);
    shape.setPosition(at);
    shape.setTexture(&sheet);
    shape.setTextureRect(rect);
    return shape;
}

sf::IntRect moveIcon(int move) {
    return {battleMoves[move].iconCell * kFramePixels, kFramePixels, kFramePixels, kFramePixels};
}

// A grey frame over the fighter at `fighterAt`, with the red bar of `hitPoints` inside it.
void drawHealth(sf::RenderTarget& target, sf::Vector2f fighterAt, int hitPoints) {
    sf::RectangleShape frame(kHealthFrameSize);
    frame.setFillColor(kGrey);
    frame.setOutlineThickness(5);
    frame.setOutlineColor(sf::Color::Black);
    frame.setPosition(fighterAt.x + kFighterSize / 2 - 200, fighterAt.y - 30);
    target.draw(frame);
    sf::RectangleShape bar(
        {static_cast<float>(hitPoints * static_cast<int>(kBarWidth) / 100), kBarHeight});
    bar.setOutlineThickness(2);
    bar.setOutlineColor(sf::Color::Black);
    bar.setFillColor(sf::Color::Red);
    bar.setPosition(frame.getPosition() + sf::Vector2f(5, 5));
    target.draw(bar);
}

// A damage row shows "0" for a damage that would take nothing.
std::string damageText(int damage) {
    return std::to_string(damage <= 0 ? 0 : damage);
}

// Four rows of an icon and its value: damage, shield, power, misfortune.
void drawValueRows(sf::RenderTarget& target, sf::Text& text, float x, const std::string values[4]) {
    for (int i = 0; i < kMoveCount; ++i) {
        const sf::Vector2f at(x, 10 + kValueRowSpacing * i);
        target.draw(picture({kValueIconSize, kValueIconSize}, at, iconSheet, moveIcon(i)));
        text.setString(values[i]);
        text.setPosition(at.x + kValueIconSize + 10, at.y);
        target.draw(text);
    }
}

void drawMenu(sf::RenderTarget& target, sf::Text& text) {
    sf::RectangleShape menu(kMenuSize);
    menu.setFillColor(sf::Color::Blue);
    menu.setPosition(kMenuAt);
    target.draw(menu);
    const float line = static_cast<float>(static_cast<int>(kMenuSize.y / 4)); // 100
    target.draw(picture({line, line},
                        {kMenuAt.x - 20 - line, kMenuAt.y + battle.selectedMove * line}, iconSheet,
                        kPointerPicture));
    for (int i = 0; i < kMoveCount; ++i) {
        const sf::Vector2f iconAt(kMenuAt.x + 10, kMenuAt.y + i * line + 10);
        target.draw(picture({line - 20, line - 20}, iconAt, iconSheet, moveIcon(i)));
        text.setString(toDisplayString(battleMoves[i].name));
        text.setPosition(iconAt.x + line - 20 + 10, iconAt.y);
        target.draw(text);
    }
}

} // namespace

void drawBattleScreen(sf::RenderTarget& target) {
    const int foeIndex = conversation.activeNpc;
    const int spriteRow = foeIndex >= 0 && foeIndex < kRosterSize ? npcs[foeIndex].spriteRow : 0;
    sf::RectangleShape backdrop({1920, 1080});
    backdrop.setTexture(&battleBackground);
    target.draw(backdrop);
    target.draw(picture({kFighterSize, kFighterSize}, kHeroineAt, heroSheet, kHeroinePicture));
    target.draw(picture({kFighterSize, kFighterSize}, kOpponentAt, npcSheet,
                        {0, (spriteRow + 1) * kFramePixels, kFramePixels, kFramePixels}));
    drawHealth(target, kHeroineAt, battle.playerHp);
    drawHealth(target, kOpponentAt, battle.enemyHp);
    sf::Text text;
    text.setFont(pixelFont);
    text.setCharacterSize(kMenuTextSize);
    text.setOutlineColor(sf::Color::Black);
    text.setOutlineThickness(3);
    drawMenu(target, text);
    const std::string heroine[4] = {
        damageText(heroineBattleDamage()), std::to_string(battle.playerShield),
        std::to_string(battle.playerPower), std::to_string(battle.playerMisfortune)};
    drawValueRows(target, text, 10, heroine);
    const std::string opponent[4] = {
        damageText(opponentBattleDamage()), std::to_string(battle.enemyShield),
        std::to_string(battle.enemyPower), std::to_string(battle.enemyMisfortune)};
    drawValueRows(target, text, 1900 - 2 * kValueIconSize, opponent);
    checkBattleEnd();
}
