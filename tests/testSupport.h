// testSupport.h -- what many tests share: a fresh game state with simulated input, temporary
// folders, small files and events.
#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Event.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Every test of game logic starts from the start values, with the keyboard and mouse simulated.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A game in free roaming, as after the first chapter card: the heroine set up at her start, no
// transition pending, the game's clocks on simulated time.
class PlayTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Frames of play, each the game's own runFrame() into a small picture of the test support's.
void playFrames(int count, float seconds = 1.0f / 60);

// One whole frame, the game's own runFrame(), into `target` (a picture with the game's views): the
// simulated time moves on by `seconds` first; the mouse is where pointAt() put it, and the events
// queued through the input layer (queueKeyPress, queueClick) are handled in the frame's event step.
void playFrame(sf::RenderTarget& target, float seconds = 1.0f / 60);

// Puts the simulated mouse at this pixel of the picture.
void pointAt(sf::Vector2i pixel);

// The event step alone, between frames: a key pressed and released, as one KeyPressed event handled
// while the key is held. Tests that play whole frames queue their keys instead (queueKeyPress).
void pressKey(sf::Keyboard::Key key);

// The event step alone: a left click at this pixel, the button held during one event, then
// released.
void clickAt(sf::Vector2i pixel, sf::RenderTarget& target);

// A loaded cell with these ground and object values, as the loaders leave it.
void placeCell(int row, int col, int groundId, int objectId);

// The two sheets the world's layers are drawn from, loaded from the build's assets as start-up
// loads them (the ground opaque, the objects smoothed); forgetWorldSheets() empties them again.
void loadWorldSheets();
void forgetWorldSheets();

// The search for the usable object the heroine reaches as it was first written, kept as the
// reference: every cell of the visible window in row-major order, the hint drawn over each reached
// one, interactObject, interactX and interactY written as the game writes them.
void drawObjectHintOverEveryCell(sf::RenderTarget& target);

// A sheet of cols x rows cells of cellPixels square, each filled with its own colour.
sf::Color cellColour(int col, int row);
void makeCellSheet(sf::Texture& sheet, int cellPixels, int cols, int rows);

// How two pictures of one size differ: the pixels that differ at all, and the largest difference
// of one channel.
struct PictureDifference {
    int pixels = 0;
    int largest = 0;
};
PictureDifference differenceOf(const sf::Image& a, const sf::Image& b);

// The heroine's top-left corner, read under her lock.
sf::Vector2f heroinePosition();

// A new empty folder under the system's temporary folder, unique to this process and tag.
std::filesystem::path makeTempDir(const std::string& tag);

// How many times `part` stands in `text` (overlaps counted).
std::size_t countOf(const std::string& text, const std::string& part);

void writeTextFile(const std::filesystem::path& path, const std::string& contents);
std::string readTextFile(const std::filesystem::path& path);

sf::Event keyPressEvent(sf::Keyboard::Key key);
sf::Event closedEvent();
