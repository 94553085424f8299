// input.h -- the live keyboard, mouse and window events, read through a few small functions. The
// game reads SFML; tests switch to simulated input: they hold keys, place the mouse and queue
// events without a display, and the frame handles those events in its own event step.
#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>

bool isKeyHeld(sf::Keyboard::Key key);
bool isMouseButtonHeld(sf::Mouse::Button button);
// The mouse position in pixels relative to the window.
sf::Vector2i mousePosition(const sf::Window& window);

// The next pending event of the window: SFML's, or the next queued one while input is simulated.
// False when there is none left for this frame.
bool pollInputEvent(sf::Window& window, sf::Event& event);

// Simulated input, for tests. Switching it on releases every key and button, empties the queue of
// events and puts the mouse at (0, 0).
void useSimulatedInput(bool simulated);
void holdKey(sf::Keyboard::Key key, bool held);
void holdMouseButton(sf::Mouse::Button button, bool held);
void placeMouse(sf::Vector2i position);
// Queues an event for the next frame's event step.
void queueEvent(const sf::Event& event);
// A key pressed and let go: its KeyPressed event is queued, and the key reads as held while the
// frame handles that one event (a real key is still down when its press arrives).
void queueKeyPress(sf::Keyboard::Key key);
// A click: the mouse is placed at `pixel` now (so the next frame tracks it there) and the button's
// MouseButtonPressed event is queued, the button held while that event is handled.
void queueClick(sf::Mouse::Button button, sf::Vector2i pixel);
