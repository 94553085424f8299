// input.cpp -- live input from SFML, or the simulated input of the tests.
#include "shell/input.h"

#include <bitset>

namespace {

struct SimulatedInput {
    bool active = false;
    std::bitset<sf::Keyboard::KeyCount> keys;
    std::bitset<sf::Mouse::ButtonCount> buttons;
    sf::Vector2i mouse{0, 0};
};

SimulatedInput simulated; // main thread only

} // namespace

bool isKeyHeld(sf::Keyboard::Key key) {
    if (simulated.active) {
        return key >= 0 && key < sf::Keyboard::KeyCount && simulated.keys.test(key);
    }
    return sf::Keyboard::isKeyPressed(key);
}

bool isMouseButtonHeld(sf::Mouse::Button button) {
    if (simulated.active) {
        return simulated.buttons.test(button);
    }
    return sf::Mouse::isButtonPressed(button);
}

sf::Vector2i mousePosition(const sf::Window& window) {
    if (simulated.active) {
        return simulated.mouse;
    }
    return sf::Mouse::getPosition(window);
}

void useSimulatedInput(bool on) {
    simulated = SimulatedInput{};
    simulated.active = on;
}

void holdKey(sf::Keyboard::Key key, bool held) {
    simulated.keys.set(key, held);
}

void holdMouseButton(sf::Mouse::Button button, bool held) {
    simulated.buttons.set(button, held);
}

void placeMouse(sf::Vector2i position) {
    simulated.mouse = position;
}
