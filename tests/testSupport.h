// testSupport.h -- what many tests share: a fresh game state with simulated input, temporary
// folders, small files and events.
#pragma once

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

// Frames of play through the frame's own steps: the time moves on by `seconds`, then the frame
// time, the mouse, the map-ready check and the world update.
void playFrames(int count, float seconds = 1.0f / 60);

// A loaded cell with these ground and object values, as the loaders leave it.
void placeCell(int row, int col, int groundId, int objectId);

// A sheet of cols x rows cells of cellPixels square, each filled with its own colour.
sf::Color cellColour(int col, int row);
void makeCellSheet(sf::Texture& sheet, int cellPixels, int cols, int rows);

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
