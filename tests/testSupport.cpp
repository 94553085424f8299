// testSupport.cpp -- shared test helpers.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "story/endings.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// The picture playFrames() draws into: a tenth of the game's on each side, with the same views, so
// that the frame draws everything the game draws (the object hint, the hovered choice) cheaply.
sf::RenderTexture& smallPicture() {
    static sf::RenderTexture picture;
    if (picture.getSize().x == 0) {
        picture.create(192, 108);
    }
    return picture;
}

} // namespace

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
        playFrame(smallPicture(), seconds);
    }
}

void playFrame(sf::RenderTarget& target, float seconds) {
    advanceSimulatedTime(sf::seconds(seconds));
    runFrame(target, seconds);
}

void pointAt(sf::Vector2i pixel) {
    placeMouse(pixel);
}

void pressKey(sf::Keyboard::Key key) {
    holdKey(key, true);
    handleEvent(keyPressEvent(key));
    holdKey(key, false);
}

void clickAt(sf::Vector2i pixel, sf::RenderTarget& target) {
    pointAt(pixel);
    trackMouse(pixel, target);
    holdMouseButton(sf::Mouse::Left, true);
    sf::Event event;
    event.type = sf::Event::MouseButtonPressed;
    event.mouseButton = {sf::Mouse::Left, pixel.x, pixel.y};
    handleEvent(event);
    holdMouseButton(sf::Mouse::Left, false);
}

void placeCell(int row, int col, int groundId, int objectId) {
    changeCell(row, col, [=](Tile& cell) {
        cell.groundPlaced = true;
        cell.objectPlaced = true;
        cell.loaded = true;
        cell.groundId = groundId;
        applyIdTable(cell, groundId);
        if (objectId != 0) {
            cell.objectId = objectId;
            applyIdTable(cell, objectId);
        }
    });
}

void loadWorldSheets() {
    const std::string textures = std::string(KAIVA_ASSETS_DIR) + "/textures/";
    ASSERT_TRUE(loadGroundSheet(textures + "tileTable.png"));
    ASSERT_TRUE(objectSheet.loadFromFile(textures + "objectTable.png"));
    objectSheet.setSmooth(true);
}

void forgetWorldSheets() {
    tileSheet = sf::Texture();
    tileSheetOpaque = false;
    objectSheet = sf::Texture();
}

void drawObjectHintOverEveryCell(sf::RenderTarget& target) {
    sf::RectangleShape hint({45, 45});
    hint.setTexture(&speechSheet);
    hint.setTextureRect({160, 0, 160, 160});
    const sf::FloatRect heroineArea = heroineBounds();
    const VisibleWindow window = world.visibleWindow.load();
    bool found = false;
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        std::lock_guard<std::mutex> lock(gridRowLock(row));
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            const Tile& cell = cellAt(row, col);
            if (!cell.interactive) {
                continue;
            }
            const sf::FloatRect bounds = objectBounds(row, col);
            const sf::FloatRect reach(bounds.left - 30, bounds.top - 30, bounds.width + 30,
                                      bounds.height + 30);
            if (heroineArea.intersects(reach)) {
                conversation.interactObject = cell.objectId;
                conversation.interactX = bounds.left;
                conversation.interactY = bounds.top;
                found = true;
                hint.setPosition(bounds.left + 50 - 22.5f, bounds.top - 20);
                target.draw(hint);
            } else if (!found) {
                conversation.interactObject = 0;
            }
        }
    }
}

PictureDifference differenceOf(const sf::Image& a, const sf::Image& b) {
    PictureDifference difference;
    const std::size_t bytes = std::size_t{a.getSize().x} * a.getSize().y * 4;
    const sf::Uint8* p = a.getPixelsPtr();
    const sf::Uint8* q = b.getPixelsPtr();
    for (std::size_t i = 0; i < bytes; i += 4) {
        int largest = 0;
        for (std::size_t k = i; k < i + 4; ++k) {
            largest = std::max(largest, std::abs(p[k] - q[k]));
        }
        difference.pixels += largest > 0 ? 1 : 0;
        difference.largest = std::max(difference.largest, largest);
    }
    return difference;
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
