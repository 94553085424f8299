// input.h -- the live keyboard, mouse, gamepad and window events, read through a few small
// functions. The game reads SFML; tests switch to simulated input: they hold keys and pad buttons,
// place the mouse, move the pad's sticks, plug pads in and out and queue events without a display,
// and the frame handles those events in its own event step.
#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>

#include <optional>

bool isKeyHeld(sf::Keyboard::Key key);
bool isMouseButtonHeld(sf::Mouse::Button button);
// The mouse position in pixels relative to the window.
sf::Vector2i mousePosition(const sf::Window& window);
// The window has the keyboard focus now, as the window system says (or the simulated window).
bool windowHasFocus(const sf::Window& window);

// The pad is the first connected joystick with four buttons at least and a stick (both axes X and
// Y): a motion sensor or a wheel listed before it is passed over. Which one that is may change
// while playing, as pads are plugged in and pulled out. Its buttons are named by their place, and
// numbered as the Linux xpad driver numbers an Xbox pad's (the order most pads on Linux follow, and
// SDL's mapping of them); the values below are those numbers.
enum class PadButton : unsigned {
    Bottom = 0, // A
    Right = 1,  // B
    Left = 2,   // X
    Top = 3,    // Y
    LeftShoulder = 4,
    RightShoulder = 5,
    Select = 6, // Back
    Start = 7,
};
enum class PadDirection { None, Up, Down, Left, Right };

// The first connected pad's number; -1 when no pad is connected.
int firstPad();
bool isPadButtonHeld(PadButton button);
// The left stick or the directional pad points this way. The stick counts once it leaves a dead
// zone of a quarter of its travel around its centre, in eight ways of 45 degrees (a diagonal
// holds both of its ways); the directional pad, a hat of two axes, counts when pressed.
bool isPadPointing(PadDirection direction);
// Either trigger pulled past half its travel (triggers rest at -100 on some drivers, 0 on others).
// A trigger counts only once it has been seen at rest since its pad was plugged in or became the
// first pad: a device whose triggers rest pulled does not hold "run".
bool isPadTriggerPulled();
// The button a JoystickButtonPressed event of the first pad presses; none for other events, other
// pads and buttons without a name.
std::optional<PadButton> padButtonPressed(const sf::Event& event);
// One step of a menu from the pad: the way that a JoystickMoved event of the first pad newly
// pushes the directional pad or the left stick (past half its travel; let go under 30 percent, or
// turned well into another way), one way at a time; None for other events and while the pad stays
// pushed the same way.
PadDirection padStep(const sf::Event& event);

// The next pending event of the window: SFML's, or the next queued one while input is simulated.
// False when there is none left for this frame.
bool pollInputEvent(sf::Window& window, sf::Event& event);

// Simulated input, for tests. Switching it on releases every key and button, empties the queue of
// events, puts the mouse at (0, 0), leaves no pad connected and gives the window the focus.
void useSimulatedInput(bool simulated);
void holdKey(sf::Keyboard::Key key, bool held);
void holdMouseButton(sf::Mouse::Button button, bool held);
void placeMouse(sf::Vector2i position);
// Queues an event for the next frame's event step.
void queueEvent(const sf::Event& event);
// A key pressed and let go: its KeyPressed event is queued, and the key reads as held while the
// frame handles that one event (a real key is still down when its press arrives).
void queueKeyPress(sf::Keyboard::Key key);
// The window loses or gains the focus: so it has it from now on, and its LostFocus or GainedFocus
// event is queued.
void setWindowFocus(bool focused);
// A click: the mouse is placed at `pixel` now (so the next frame tracks it there) and the button's
// MouseButtonPressed event is queued, the button held while that event is handled.
void queueClick(sf::Mouse::Button button, sf::Vector2i pixel);

// The simulated pads, numbered 0 to 7 as SFML numbers joysticks. A pad plugged in or pulled out
// comes or goes at once, with its buttons and axes at rest, and its JoystickConnected or
// JoystickDisconnected event is queued. A device of fewer buttons, or without a stick, is no pad
// (a motion sensor, a wheel).
constexpr unsigned kFullPadButtons = 11; // an Xbox pad's, on Linux's xpad driver
void connectPad(unsigned pad, bool connected, unsigned buttons = kFullPadButtons,
                bool stick = true);
void holdPadButton(unsigned pad, PadButton button, bool held);
// An axis (-100 to 100) at this position now, without an event, as a held key.
void setPadAxis(unsigned pad, sf::Joystick::Axis axis, float position);
// A button pressed and let go: its JoystickButtonPressed event is queued, the button held while
// the frame handles that one event.
void queuePadPress(unsigned pad, PadButton button);
// An axis moved: its JoystickMoved event is queued, and the axis takes the position when the frame
// handles it (and keeps it).
void queuePadMove(unsigned pad, sf::Joystick::Axis axis, float position);
