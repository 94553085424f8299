// battleScreen.cpp -- the battle screen, drawn afresh from the battle's state every frame.
#include "battle/battleScreen.h"

#include "battle/battleRules.h"
#include "shell/gameState.h"
#include "shell/picture.h"
#include "shell/resources.h"
#include "shell/text.h"
#include "world/characters.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdio>
#include <string_view>

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
const sf::Vector2f kScreen(1920, 1080);
const sf::IntRect kPointerPicture(640, 0, 160, 160);
constexpr float kValueIconSize = 50;
constexpr float kValueRowSpacing = 70;
constexpr unsigned kMenuTextSize = 40;

// The screen's shapes and texts, kept between frames: a frame takes no memory, and a text is laid
// out again only when its words change, a value row when its value does. Main thread only.
struct BattlePieces {
    sf::Vertex backdrop[4 * 6]; // the backdrop's quad, or the four pieces of it around the menu
    sf::RectangleShape picture; // every sheet picture in turn
    sf::RectangleShape healthFrame;
    sf::RectangleShape healthBar;
    sf::RectangleShape menu;
    sf::Text moveNames[kMoveCount];
    sf::Text heroineValues[kMoveCount];
    sf::Text opponentValues[kMoveCount];
};
BattlePieces pieces;
bool backdropOpaque = false; // set at start-up

void drawPicture(sf::RenderTarget& target, sf::Vector2f size, sf::Vector2f at,
                 const sf::Texture& sheet, const sf::IntRect& rect) {
    drawSheetPicture(target, pieces.picture, size, at, sheet, rect);
}

sf::IntRect moveIcon(int move) {
    return {battleMoves[move].iconCell * kFramePixels, kFramePixels, kFramePixels, kFramePixels};
}

// A grey frame over the fighter at `fighterAt`, with the red bar of `hitPoints` inside it.
void drawHealth(sf::RenderTarget& target, sf::Vector2f fighterAt, int hitPoints) {
    sf::RectangleShape& frame = pieces.healthFrame;
    frame.setSize(kHealthFrameSize);
    frame.setFillColor(kGrey);
    frame.setOutlineThickness(5);
    frame.setOutlineColor(sf::Color::Black);
    frame.setPosition(fighterAt.x + kFighterSize / 2 - 200, fighterAt.y - 30);
    target.draw(frame);
    sf::RectangleShape& bar = pieces.healthBar;
    bar.setSize({static_cast<float>(hitPoints * static_cast<int>(kBarWidth) / 100), kBarHeight});
    bar.setOutlineThickness(2);
    bar.setOutlineColor(sf::Color::Black);
    bar.setFillColor(sf::Color::Red);
    bar.setPosition(frame.getPosition() + sf::Vector2f(5, 5));
    target.draw(bar);
}

// Every text of the screen: 40 pixels, white with a black outline of 3.
void drawMenuText(sf::RenderTarget& target, sf::Text& text, std::string_view words,
                  sf::Vector2f at) {
    text.setFont(pixelFont);
    text.setCharacterSize(kMenuTextSize);
    text.setOutlineColor(sf::Color::Black);
    text.setOutlineThickness(3);
    setDisplayWords(text, words);
    text.setPosition(at);
    target.draw(text);
}

// A damage row shows "0" for a damage that would take nothing.
int shownDamage(int damage) {
    return damage <= 0 ? 0 : damage;
}

// Four rows of an icon and its value: damage, shield, power, misfortune.
void drawValueRows(sf::RenderTarget& target, sf::Text texts[kMoveCount], float x,
                   const int values[kMoveCount]) {
    for (int i = 0; i < kMoveCount; ++i) {
        const sf::Vector2f at(x, 10 + kValueRowSpacing * i);
        drawPicture(target, {kValueIconSize, kValueIconSize}, at, iconSheet, moveIcon(i));
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d", values[i]);
        drawMenuText(target, texts[i], digits, {at.x + kValueIconSize + 10, at.y});
    }
}

// The backdrop stretched over the screen. Opaque, it is drawn without blending and left out under
// the menu, whose opaque blue covers it: four pieces around the menu's square.
void drawBackdrop(sf::RenderTarget& target) {
    const sf::Vector2f scale(static_cast<float>(battleBackground.getSize().x) / kScreen.x,
                             static_cast<float>(battleBackground.getSize().y) / kScreen.y);
    const sf::FloatRect whole(0, 0, kScreen.x, kScreen.y);
    const sf::Vector2f menuEnd = kMenuAt + kMenuSize;
    const sf::FloatRect around[4] = {
        {0, 0, kScreen.x, kMenuAt.y},
        {0, menuEnd.y, kScreen.x, kScreen.y - menuEnd.y},
        {0, kMenuAt.y, kMenuAt.x, kMenuSize.y},
        {menuEnd.x, kMenuAt.y, kScreen.x - menuEnd.x, kMenuSize.y},
    };
    const sf::FloatRect* piecesShown = backdropOpaque ? around : &whole;
    const int count = backdropOpaque ? 4 : 1;
    sf::Vertex* vertex = pieces.backdrop;
    for (int i = 0; i < count; ++i) {
        const sf::FloatRect& p = piecesShown[i];
        const sf::Vector2f corners[4] = {{p.left, p.top},
                                         {p.left + p.width, p.top},
                                         {p.left + p.width, p.top + p.height},
                                         {p.left, p.top + p.height}};
        for (const int corner : {0, 1, 2, 0, 2, 3}) {
            const sf::Vector2f at = corners[corner];
            *vertex++ = sf::Vertex(at, {at.x * scale.x, at.y * scale.y});
        }
    }
    target.draw(
        pieces.backdrop, static_cast<std::size_t>(vertex - pieces.backdrop), sf::Triangles,
        sf::RenderStates(blendFor(backdropOpaque), sf::Transform(), &battleBackground, nullptr));
}

void drawMenu(sf::RenderTarget& target) {
    sf::RectangleShape& menu = pieces.menu;
    menu.setSize(kMenuSize);
    menu.setFillColor(sf::Color::Blue);
    menu.setPosition(kMenuAt);
    target.draw(menu, sf::BlendNone); // opaque blue: the same without blending
    const float line = static_cast<float>(static_cast<int>(kMenuSize.y / 4)); // 100
    drawPicture(target, {line, line},
                {kMenuAt.x - 20 - line, kMenuAt.y + battle.selectedMove * line}, iconSheet,
                kPointerPicture);
    for (int i = 0; i < kMoveCount; ++i) {
        const sf::Vector2f iconAt(kMenuAt.x + 10, kMenuAt.y + i * line + 10);
        drawPicture(target, {line - 20, line - 20}, iconAt, iconSheet, moveIcon(i));
        drawMenuText(target, pieces.moveNames[i], battleMoves[i].name,
                     {iconAt.x + line - 20 + 10, iconAt.y});
    }
}

} // namespace

void noteBackdropOpacity() {
    const sf::Vector2u size = battleBackground.getSize();
    backdropOpaque = opaqueCell(battleBackground.copyToImage(),
                                {0, 0, static_cast<int>(size.x), static_cast<int>(size.y)});
}

void drawBattleScreen(sf::RenderTarget& target) {
    const int foeIndex = conversation.activeNpc;
    const int spriteRow = foeIndex >= 0 && foeIndex < kRosterSize ? npcs[foeIndex].spriteRow : 0;
    drawBackdrop(target);
    drawPicture(target, {kFighterSize, kFighterSize}, kHeroineAt, heroSheet, kHeroinePicture);
    drawPicture(target, {kFighterSize, kFighterSize}, kOpponentAt, npcSheet,
                {0, (spriteRow + 1) * kFramePixels, kFramePixels, kFramePixels});
    drawHealth(target, kHeroineAt, battle.playerHp);
    drawHealth(target, kOpponentAt, battle.enemyHp);
    drawMenu(target);
    const int heroine[kMoveCount] = {shownDamage(heroineBattleDamage()), battle.playerShield,
                                     battle.playerPower, battle.playerMisfortune};
    drawValueRows(target, pieces.heroineValues, 10, heroine);
    const int opponent[kMoveCount] = {shownDamage(opponentBattleDamage()), battle.enemyShield,
                                      battle.enemyPower, battle.enemyMisfortune};
    drawValueRows(target, pieces.opponentValues, 1900 - 2 * kValueIconSize, opponent);
    checkBattleEnd();
}
