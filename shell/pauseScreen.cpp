// pauseScreen.cpp -- the pause's state changes and its screen.
#include "shell/pauseScreen.h"

#include "shell/gameClock.h"
#include "shell/picture.h"
#include "shell/resources.h"
#include "shell/text.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <algorithm>

namespace {

const sf::Color kVeil(0, 0, 0, 190);
const sf::Vector2f kScreen(1920, 1080);
constexpr unsigned kTitleSize = 80;
constexpr float kTitleY = 100;
const char* const kTitle = "Pausa";

// The entries, drawn on the dialogue's choice buttons (plain, and lit), well above where those
// buttons stand in a conversation: a click that resumes never lands on one of them.
constexpr int kEntries = 2;
const char* const kEntryNames[kEntries] = {"Riprendi", "Esci dal gioco"};
const sf::Vector2f kEntrySize(405, 96);
constexpr float kFirstEntryY = 230;
constexpr float kEntrySpacing = 110;
const sf::IntRect kEntryPicture(0, 80, 320, 80);
const sf::IntRect kLitEntryPicture(0, 160, 320, 80);
constexpr unsigned kEntryTextSize = 36;

// The controls, a row each: what, on the keyboard, on the pad.
struct ControlRow {
    const char* what;
    const char* keyboard;
    const char* pad;
};
constexpr int kControlRows = 9;
const ControlRow kControls[kControlRows] = {
    {"", "Tastiera", "Pad"},
    {"Camminare", "W A S D", "Levetta, croce"},
    {"Correre", "Maiusc sinistro", "LB, RB, LT, RT"},
    {"Parlare, usare, confermare", "E", "A"},
    {"Scegliere una risposta", "1 2 3 4, Sinistra/Destra e Spazio, mouse", "Croce, A"},
    {"Inventario", "Tab", "Y (B chiude)"},
    {"Mosse in battaglia", "Su/Giu' o W/S, E", "Croce su/giu', A"},
    {"Pausa", "Esc", "Start, o Back tenuto"},
    {"Saltare l'intro", "Tieni premuto E, Invio o Spazio", "Tieni premuto A"},
};
constexpr unsigned kControlTextSize = 24;
constexpr float kControlsY = 562;
constexpr float kControlSpacing = 50;
const float kColumnX[3] = {280, 790, 1340};
// The table lies in a box like the dialogue's.
const sf::Vector2f kTableAt(190, 480);
const sf::Vector2f kTableSize(1540, 570);
const sf::IntRect kTablePicture(0, 240, 480, 240);

// The screen's shapes and texts, kept between frames: an open pause takes no memory a frame.
struct PausePieces {
    sf::RectangleShape veil;
    sf::RectangleShape entry;
    sf::RectangleShape table;
    sf::Text title;
    sf::Text entryNames[kEntries];
    sf::Text controls[kControlRows][3];
};
PausePieces pieces; // main thread only

sf::FloatRect entryRect(int entry) {
    return {kScreen.x / 2 - kEntrySize.x / 2, kFirstEntryY + kEntrySpacing * entry, kEntrySize.x,
            kEntrySize.y};
}

void drawWords(sf::RenderTarget& target, sf::Text& text, const char* words, unsigned size,
               sf::Color fill, sf::Vector2f at, bool centred) {
    text.setFont(pixelFont);
    text.setCharacterSize(size);
    setDisplayWords(text, words);
    text.setFillColor(fill);
    text.setOutlineColor(sf::Color::Black);
    text.setOutlineThickness(2);
    text.setPosition(0, 0);
    if (centred) {
        at.x -= text.getGlobalBounds().width / 2;
    }
    text.setPosition(at);
    target.draw(text);
}

void drawEntries(sf::RenderTarget& target) {
    for (int i = 0; i < kEntries; ++i) {
        const sf::FloatRect at = entryRect(i);
        const bool lit = i == shell.pauseEntry;
        drawSheetPicture(target, pieces.entry, kEntrySize, {at.left, at.top}, talkSheet,
                         lit ? kLitEntryPicture : kEntryPicture);
        drawWords(target, pieces.entryNames[i], kEntryNames[i], kEntryTextSize,
                  lit ? sf::Color::Yellow : sf::Color::White,
                  {kScreen.x / 2, at.top + (kEntrySize.y - kEntryTextSize) / 2 - 4}, true);
    }
}

void drawControls(sf::RenderTarget& target) {
    drawSheetPicture(target, pieces.table, kTableSize, kTableAt, talkSheet, kTablePicture);
    for (int row = 0; row < kControlRows; ++row) {
        const char* const cells[3] = {kControls[row].what, kControls[row].keyboard,
                                      kControls[row].pad};
        const sf::Color fill = row == 0 ? sf::Color::Yellow : sf::Color::White;
        for (int column = 0; column < 3; ++column) {
            drawWords(target, pieces.controls[row][column], cells[column], kControlTextSize, fill,
                      {kColumnX[column], kControlsY + kControlSpacing * row}, false);
        }
    }
}

} // namespace

void openPause() {
    if (shell.paused) {
        return;
    }
    shell.paused = true;
    shell.pauseEntry = kResumeEntry;
    holdGameTime(true);
    shell.worldMusicPaused = worldMusic.isPlaying();
    shell.screenMusicPaused = screenMusic.isPlaying();
    if (shell.worldMusicPaused) {
        worldMusic.pause();
    }
    if (shell.screenMusicPaused) {
        screenMusic.pause();
    }
}

void closePause() {
    if (!shell.paused) {
        return;
    }
    shell.paused = false;
    holdGameTime(false);
    if (shell.worldMusicPaused) {
        worldMusic.play();
    }
    if (shell.screenMusicPaused) {
        screenMusic.play();
    }
    shell.worldMusicPaused = false;
    shell.screenMusicPaused = false;
}

void movePauseHighlight(int step) {
    shell.pauseEntry = std::clamp(shell.pauseEntry + step, 0, kEntries - 1);
}

int pauseEntryAt(GridPoint pixel) {
    for (int i = 0; i < kEntries; ++i) {
        if (entryRect(i).contains(static_cast<float>(pixel.x), static_cast<float>(pixel.y))) {
            return i;
        }
    }
    return -1;
}

void drawPauseScreen(sf::RenderTarget& target) {
    pieces.veil.setSize(kScreen);
    pieces.veil.setFillColor(kVeil);
    target.draw(pieces.veil);
    drawWords(target, pieces.title, kTitle, kTitleSize, sf::Color::White, {kScreen.x / 2, kTitleY},
              true);
    drawEntries(target);
    drawControls(target);
}
