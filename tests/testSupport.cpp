// testSupport.cpp -- shared test helpers.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

void GameTest::SetUp() {
    resetGameState();
    useSimulatedInput(true);
}

void GameTest::TearDown() {
    useSimulatedInput(false);
    resetGameState();
}

void PlayTest::SetUp() {
    GameTest::SetUp();
    useSimulatedTime(true);
    resetGameState(); // the loop's clocks start on the simulated time
    useSimulatedInput(true);
    setUpHeroine();
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    story.transitionPending = false;
}

void PlayTest::TearDown() {
    GameTest::TearDown();
    useSimulatedTime(false);
}

void playFrames(int count, float seconds) {
    for (int i = 0; i < count; ++i) {
        advanceSimulatedTime(sf::seconds(seconds));
        beginFrame(seconds);
        checkMapReady();
        updateWorld();
    }
}

void placeCell(int row, int col, int groundId, int objectId) {
    std::lock_guard<std::mutex> lock(gridRowLock(row));
    Tile& cell = cellAt(row, col);
    cell.groundPlaced = true;
    cell.objectPlaced = true;
    cell.loaded = true;
    cell.groundId = groundId;
    applyIdTable(cell, groundId);
    if (objectId != 0) {
        cell.objectId = objectId;
        applyIdTable(cell, objectId);
    }
}

sf::Color cellColour(int col, int row) {
    return sf::Color(static_cast<sf::Uint8>(40 * col + 20), static_cast<sf::Uint8>(25 * row + 10),
                     200);
}

void makeCellSheet(sf::Texture& sheet, int cellPixels, int cols, int rows) {
    sf::Image image;
    image.create(static_cast<unsigned>(cols * cellPixels),
                 static_cast<unsigned>(rows * cellPixels));
    for (unsigned y = 0; y < image.getSize().y; ++y) {
        for (unsigned x = 0; x < image.getSize().x; ++x) {
            image.setPixel(
                x, y,
                cellColour(static_cast<int>(x) / cellPixels, static_cast<int>(y) / cellPixels));
        }
    }
    sheet.loadFromImage(image);
}

sf::Vector2f heroinePosition() {
    std::lock_guard<std::mutex> lock(heroineLock());
    return heroine.getPosition();
}

std::filesystem::path makeTempDir(const std::string& tag) {
    static int counter = 0;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kaiva-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

void writeTextFile(const std::filesystem::path& path, const std::string& contents) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

sf::Event keyPressEvent(sf::Keyboard::Key key) {
    sf::Event event;
    event.type = sf::Event::KeyPressed;
    event.key = {key, false, false, false, false};
    return event;
}

sf::Event closedEvent() {
    sf::Event event;
    event.type = sf::Event::Closed;
    return event;
}
