// testSupport.cpp -- shared test helpers.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/input.h"

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

std::filesystem::path makeTempDir(const std::string& tag) {
    static int counter = 0;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("kaiva-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
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
