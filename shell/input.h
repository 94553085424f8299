// input.h -- the live keyboard and mouse, read through three small functions. The game reads
// SFML; tests switch to simulated input and hold keys and place the mouse without a display.
#pragma once

#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>

bool isKeyHeld(sf::Keyboard::Key key);
bool isMouseButtonHeld(sf::Mouse::Button button);
// The mouse position in pixels relative to the window.
sf::Vector2i mousePosition(const sf::Window& window);

// Simulated input, for tests. Switching it on releases every key and button and puts the mouse
// at (0, 0).
void useSimulatedInput(bool simulated);
void holdKey(sf::Keyboard::Key key, bool held);
void holdMouseButton(sf::Mouse::Button button, bool held);
void placeMouse(sf::Vector2i position);
