// testSupport.h -- what many tests share: a fresh game state with simulated input, temporary
// folders, small files and events.
#pragma once

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

// A new empty folder under the system's temporary folder, unique to this process and tag.
std::filesystem::path makeTempDir(const std::string& tag);

void writeTextFile(const std::filesystem::path& path, const std::string& contents);
std::string readTextFile(const std::filesystem::path& path);

sf::Event keyPressEvent(sf::Keyboard::Key key);
sf::Event closedEvent();
