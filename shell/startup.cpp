// startup.cpp -- the start-up sequence, step by step in its order, and the shut-down.
#include "shell/startup.h"

#include "battle/battleRules.h"
#include "battle/battleScreen.h"
#include "shell/assetFiles.h"
#include "shell/displayWatch.h"
#include "shell/gameClock.h"
#include "shell/gameFolder.h"
#include "shell/gameState.h"
#include "shell/heapFigures.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "shell/sheetLoader.h"
#include "shell/whereabouts.h"
#include "story/dialogueBox.h"
#include "story/inventory.h"
#include "story/quests.h"
#include "world/characterThread.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

namespace {

constexpr unsigned kBitsPerPixel = 32;
constexpr unsigned kFrameRateLimit = 60;
constexpr float kFeetRatio = 5.5f;
constexpr float kWorldMusicVolume = 50;

void seedRandom() {
    std::srand(static_cast<unsigned>(calendarSeconds()));
}

// The picture is laid out for 1920 x 1080. Should the display give another size, the picture is
// letterboxed into it, and the camera keeps its 1920 x 1080 world extent.
void openWindow() {
    window.create(sf::VideoMode(kScreenWidth, kScreenHeight, kBitsPerPixel), "Kaiva",
                  sf::Style::Fullscreen);
    window.setFramerateLimit(kFrameRateLimit);
    screenView = screenViewFor(window.getSize());
}

void loadTileSheets() {
    loadGroundSheet("./assets/textures/tileTable.png");
    loadSheet(objectSheet, "./assets/textures/objectTable.png");
    objectSheet.setSmooth(true);
}

void loadFont() {
    const std::string path = "./assets/font/pixelTxt.ttf";
    if (!assetMayBeOpened(path) || !pixelFont.loadFromFile(path)) {
        std::cout << "Font non caricato" << std::endl;
    }
}

void loadOtherTextures() {
    loadSheet(npcSheet, "./assets/textures/NPC-map.png");
    loadSheet(descriptionSheet, "./assets/textures/descrizioni-map.png");
    loadSheet(speechSheet, "./assets/textures/speech-map.png");
    loadSheet(talkSheet, "./assets/textures/talk-map.png");
    loadSheet(iconSheet, "./assets/textures/icon-map.png");
    notePanelOpacity();
    noteDialogueBoxOpacity();
    loadSheet(battleBackground, "./assets/textures/battle.png");
    noteBackdropOpacity();
    loadSheet(weaponSheet, "./assets/textures/weapons-map.png");
}

void fillTables() {
    setUpBattleMoves();
    for (int i = 0; i < kQuestCount; ++i) {
        initQuest(i);
    }
}

void loadHeroSheet() {
    if (!loadSheet(heroSheet, "./assets/textures/kaiva-map.png")) {
        std::cout << "Kaiva texture not loaded" << std::endl;
    }
}

void startWorldMusic() {
    worldMusic.openFromFile("./assets/music/worldHost.wav");
    worldMusic.play();
    worldMusic.setLoop(true);
    worldMusic.setVolume(kWorldMusicVolume);
}

// Loading leaves freed memory in the heap (the sheets' strips, the font, the music's first
// buffers); hand it back to the system instead of carrying it through the whole run.
void releaseLoadingMemory() {
    releaseFreedHeap();
}

} // namespace

void startUp() {
    enterGameFolder();
    listenForWhereabouts();
    seedRandom();
    watchDisplay();
    openWindow();
    setUpCamera();
    loadTileSheets();
    loadFont();
    startLoopClocks();
    loadOtherTextures();
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    startMapLoaders();
    fillTables();
    createTileCursor();
    loadHeroSheet(); // before her set-up: nothing of it reads the sheet's pixels
    setUpHeroine();
    startWorldMusic();
    startAnimClock();
    releaseLoadingMemory();
    startCharacterThread();
}

void shutDown() {
    stopCharacterThread();
    stopMapLoaders();
    worldMusic.stop();
    screenMusic.stop();
}

void setUpCamera() {
    camera.setSize(kScreenWidth, kScreenHeight);
    camera.setCenter(kScreenWidth * 0.5f, kScreenHeight * 0.5f);
    camera.setViewport(screenView.getViewport());
}

void createTileCursor() {
    tileCursor = sf::RectangleShape({kCellPixels, kCellPixels});
    tileCursor.setFillColor(sf::Color::Transparent);
    tileCursor.setOutlineThickness(1);
    tileCursor.setOutlineColor(sf::Color::Blue);
}

// Boxes 0 and 1 (above and below the feet) are 18 x 1, boxes 2 and 3 (beside them) 1 x 7.
void setUpHeroine() {
    std::lock_guard<std::mutex> lock(heroineLock());
    heroine.setSize({kHeroineSize, kHeroineSize});
    world.feetHeight = static_cast<std::int16_t>(kHeroineSize / kFeetRatio);
    heroine.setPosition(camera.getCenter() - heroine.getSize() * 0.5f);
    const float width = kHeroineSize / 3 - 10;
    const float height = static_cast<float>(world.feetHeight - 8);
    for (int i = 0; i < 4; ++i) {
        contactBoxes[i].setSize(i < 2 ? sf::Vector2f(width, 1) : sf::Vector2f(1, height));
        contactBoxes[i].setFillColor(sf::Color::Blue);
    }
    heroine.setTexture(&heroSheet, false);
    heroine.setTextureRect({0, 0, kHeroFramePixels, kHeroFramePixels});
}
