// input.cpp -- live input from SFML, or the simulated input of the tests.
#include "shell/input.h"

#include <bitset>
#include <deque>

namespace {

// A queued event, and the key or button that reads as held while it is handled (-1: none).
struct QueuedEvent {
    sf::Event event;
    int pulseKey = -1;
    int pulseButton = -1;
};

struct SimulatedInput {
    bool active = false;
    std::bitset<sf::Keyboard::KeyCount> keys;
    std::bitset<sf::Mouse::ButtonCount> buttons;
    sf::Vector2i mouse{0, 0};
    std::deque<QueuedEvent> events;
    int pulseKey = -1; // held for the event being handled
    int pulseButton = -1;
};

SimulatedInput simulated; // main thread only

} // namespace

bool isKeyHeld(sf::Keyboard::Key key) {
    if (simulated.active) {
        return key >= 0 && key < sf::Keyboard::KeyCount &&
               (simulated.keys.test(key) || simulated.pulseKey == key);
    }
    return sf::Keyboard::isKeyPressed(key);
}

bool isMouseButtonHeld(sf::Mouse::Button button) {
    if (simulated.active) {
        return simulated.buttons.test(button) || simulated.pulseButton == button;
    }
    return sf::Mouse::isButtonPressed(button);
}

sf::Vector2i mousePosition(const sf::Window& window) {
    if (simulated.active) {
        return simulated.mouse;
    }
    return sf::Mouse::getPosition(window);
}

bool pollInputEvent(sf::Window& window, sf::Event& event) {
    if (!simulated.active) {
        return window.pollEvent(event);
    }
    simulated.pulseKey = -1;
    simulated.pulseButton = -1;
    if (simulated.events.empty()) {
        return false;
    }
    const QueuedEvent next = simulated.events.front();
    simulated.events.pop_front();
    event = next.event;
    simulated.pulseKey = next.pulseKey;
    simulated.pulseButton = next.pulseButton;
    return true;
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

void queueEvent(const sf::Event& event) {
    simulated.events.push_back({event, -1, -1});
}

void queueKeyPress(sf::Keyboard::Key key) {
    sf::Event event;
    event.type = sf::Event::KeyPressed;
    event.key = {key, false, false, false, false};
    simulated.events.push_back({event, key, -1});
}

void queueClick(sf::Mouse::Button button, sf::Vector2i pixel) {
    simulated.mouse = pixel;
    sf::Event event;
    event.type = sf::Event::MouseButtonPressed;
    event.mouseButton = {button, pixel.x, pixel.y};
    simulated.events.push_back({event, -1, button});
}
