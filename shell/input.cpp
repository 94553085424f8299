// input.cpp -- live input from SFML, or the simulated input of the tests.
#include "shell/input.h"

#include <bitset>
#include <cmath>
#include <deque>

namespace {

constexpr unsigned kNamedPadButtons = 8; // PadButton's values are 0 to 7
constexpr float kStickDeadZone = 25;     // of 100: a worn stick's drift at rest stays within
constexpr float kSectorShare = 0.3827f;  // sin 22.5 degrees: a way holds within 67.5 degrees
constexpr float kHatPressed = 50;        // hats report -100, 0 or 100
constexpr float kTriggerPulled = 50;
constexpr unsigned kPadButtonsAtLeast = 4; // a pad has four face buttons at least
constexpr float kStepPushed = 50;          // a menu step: the stick pushed past half its travel...
constexpr float kStepLetGo = 30; // ...and let go under this before it steps the same way again
constexpr float kTurnedShare = 0.9239f; // cos 22.5 degrees: a pushed stick turned to another way

// A queued event, and the key or button that reads as held while it is handled (-1: none).
struct QueuedEvent {
    sf::Event event;
    int pulseKey = -1;
    int pulseButton = -1;
    int pulsePadButton = -1;                    // a button of the event's pad
    std::optional<float> axisTo = std::nullopt; // a move of queuePadMove: where the axis goes
};

struct SimulatedPad {
    bool connected = false;
    unsigned buttonCount = kFullPadButtons;
    bool hasStick = true; // both axes X and Y
    std::bitset<sf::Joystick::ButtonCount> buttons;
    float axes[sf::Joystick::AxisCount] = {};
};

struct SimulatedInput {
    bool active = false;
    std::bitset<sf::Keyboard::KeyCount> keys;
    std::bitset<sf::Mouse::ButtonCount> buttons;
    sf::Vector2i mouse{0, 0};
    std::deque<QueuedEvent> events;
    int pulseKey = -1; // held for the event being handled
    int pulseButton = -1;
    SimulatedPad pads[sf::Joystick::Count];
    int pulsePad = -1;
    int pulsePadButton = -1;
    bool focused = true;
};

// The way the first pad was pushed for menu steps at its last event, and which pad that was.
struct PadSteps {
    int pad = -1;
    PadDirection held = PadDirection::None;
};

// Whether each trigger (Z, R) of the first pad has been seen at rest since it became the first
// pad or was plugged in: one whose axis already reads pulled then (a device whose triggers rest
// there, or an axis that is no trigger at all) counts only once it has been let go.
struct TriggerRest {
    int pad = -1;
    bool seenAtRest[2] = {false, false};
};

SimulatedInput simulated; // main thread only
PadSteps steps;           // main thread only
TriggerRest triggers;     // main thread only

// A connected device that can be played with: four buttons at least and a stick with both axes.
// A motion sensor or a wheel listed before the pad is passed over.
bool isGamepad(unsigned pad) {
    if (simulated.active) {
        const SimulatedPad& device = simulated.pads[pad];
        return device.connected && device.buttonCount >= kPadButtonsAtLeast && device.hasStick;
    }
    return sf::Joystick::isConnected(pad) &&
           sf::Joystick::getButtonCount(pad) >= kPadButtonsAtLeast &&
           sf::Joystick::hasAxis(pad, sf::Joystick::X) &&
           sf::Joystick::hasAxis(pad, sf::Joystick::Y);
}

// A device plugged in or pulled out: its triggers are looked at afresh.
void noteConnection(const sf::Event& event) {
    if ((event.type == sf::Event::JoystickConnected ||
         event.type == sf::Event::JoystickDisconnected) &&
        static_cast<int>(event.joystickConnect.joystickId) == triggers.pad) {
        triggers = TriggerRest{};
    }
}

bool padButtonDown(unsigned pad, unsigned button) {
    if (simulated.active) {
        return simulated.pads[pad].buttons.test(button) ||
               (simulated.pulsePad == static_cast<int>(pad) &&
                simulated.pulsePadButton == static_cast<int>(button));
    }
    return sf::Joystick::isButtonPressed(pad, button);
}

sf::Vector2f padAxes(unsigned pad, sf::Joystick::Axis x, sf::Joystick::Axis y) {
    if (simulated.active) {
        return {simulated.pads[pad].axes[x], simulated.pads[pad].axes[y]};
    }
    return {sf::Joystick::getAxisPosition(pad, x), sf::Joystick::getAxisPosition(pad, y)};
}

// How far a stick or hat at `at` points this way. Up is negative on SFML's sticks and, on Linux,
// on its hats too.
float along(sf::Vector2f at, PadDirection direction) {
    switch (direction) {
    case PadDirection::Up:
        return -at.y;
    case PadDirection::Down:
        return at.y;
    case PadDirection::Left:
        return -at.x;
    case PadDirection::Right:
        return at.x;
    default:
        return 0;
    }
}

bool stickPoints(sf::Vector2f stick, PadDirection direction) {
    const float length = std::hypot(stick.x, stick.y);
    return length >= kStickDeadZone && along(stick, direction) >= kSectorShare * length;
}

// The one way of the larger of the two axes, once it reaches `threshold`.
PadDirection dominantWay(sf::Vector2f at, float threshold) {
    if (std::abs(at.x) >= std::abs(at.y)) {
        return at.x >= threshold    ? PadDirection::Right
               : at.x <= -threshold ? PadDirection::Left
                                    : PadDirection::None;
    }
    return at.y >= threshold    ? PadDirection::Down
           : at.y <= -threshold ? PadDirection::Up
                                : PadDirection::None;
}

// The way a menu step is pushed now: the hat's, else the stick's past half its travel. A stick
// already pushed keeps its way until it is let go under kStepLetGo or turned well into another way
// (within 22.5 degrees of it), so a stick wavering around half its travel, or held across a
// diagonal, makes one step.
PadDirection stepWay(unsigned pad, PadDirection held) {
    const PadDirection hat =
        dominantWay(padAxes(pad, sf::Joystick::PovX, sf::Joystick::PovY), kHatPressed);
    if (hat != PadDirection::None) {
        return hat;
    }
    const sf::Vector2f stick = padAxes(pad, sf::Joystick::X, sf::Joystick::Y);
    const PadDirection way = dominantWay(stick, kStepPushed);
    const float length = std::hypot(stick.x, stick.y);
    if (held == PadDirection::None || length < kStepLetGo) {
        return way;
    }
    return way != PadDirection::None && along(stick, way) >= kTurnedShare * length ? way : held;
}

bool isFirstPadEvent(unsigned joystickId) {
    const int pad = firstPad();
    return pad >= 0 && joystickId == static_cast<unsigned>(pad);
}

// A queued move or press changes the simulated pad as the frame handles it.
void applyToPad(const QueuedEvent& queued) {
    const sf::Event& event = queued.event;
    if (queued.axisTo) {
        simulated.pads[event.joystickMove.joystickId].axes[event.joystickMove.axis] =
            *queued.axisTo;
    } else if (queued.pulsePadButton != -1) {
        simulated.pulsePad = static_cast<int>(event.joystickButton.joystickId);
        simulated.pulsePadButton = queued.pulsePadButton;
    }
}

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

bool windowHasFocus(const sf::Window& window) {
    return simulated.active ? simulated.focused : window.hasFocus();
}

sf::Vector2i mousePosition(const sf::Window& window) {
    if (simulated.active) {
        return simulated.mouse;
    }
    return sf::Mouse::getPosition(window);
}

int firstPad() {
    for (unsigned pad = 0; pad < sf::Joystick::Count; ++pad) {
        if (isGamepad(pad)) {
            return static_cast<int>(pad);
        }
    }
    return -1;
}

bool isPadButtonHeld(PadButton button) {
    const int pad = firstPad();
    return pad >= 0 && padButtonDown(static_cast<unsigned>(pad), static_cast<unsigned>(button));
}

bool isPadPointing(PadDirection direction) {
    const int pad = firstPad();
    if (pad < 0) {
        return false;
    }
    const auto at = static_cast<unsigned>(pad);
    return along(padAxes(at, sf::Joystick::PovX, sf::Joystick::PovY), direction) >= kHatPressed ||
           stickPoints(padAxes(at, sf::Joystick::X, sf::Joystick::Y), direction);
}

bool isPadTriggerPulled() {
    const int pad = firstPad();
    if (pad < 0) {
        return false;
    }
    if (pad != triggers.pad) {
        triggers = TriggerRest{pad};
    }
    const sf::Vector2f at = padAxes(static_cast<unsigned>(pad), sf::Joystick::Z, sf::Joystick::R);
    bool pulled = false;
    for (const int trigger : {0, 1}) {
        if ((trigger == 0 ? at.x : at.y) < kTriggerPulled) {
            triggers.seenAtRest[trigger] = true;
        } else {
            pulled = pulled || triggers.seenAtRest[trigger];
        }
    }
    return pulled;
}

std::optional<PadButton> padButtonPressed(const sf::Event& event) {
    if (event.type != sf::Event::JoystickButtonPressed ||
        !isFirstPadEvent(event.joystickButton.joystickId) ||
        event.joystickButton.button >= kNamedPadButtons) {
        return std::nullopt;
    }
    return static_cast<PadButton>(event.joystickButton.button);
}

PadDirection padStep(const sf::Event& event) {
    const int pad = firstPad();
    if (pad != steps.pad) { // another pad, or none: it starts let go
        steps = PadSteps{pad, PadDirection::None};
    }
    if (event.type != sf::Event::JoystickMoved || !isFirstPadEvent(event.joystickMove.joystickId)) {
        return PadDirection::None;
    }
    const PadDirection now = stepWay(static_cast<unsigned>(pad), steps.held);
    const PadDirection pushed = now != steps.held ? now : PadDirection::None;
    steps.held = now;
    return pushed;
}

bool pollInputEvent(sf::Window& window, sf::Event& event) {
    if (!simulated.active) {
        const bool polled = window.pollEvent(event);
        if (polled) {
            noteConnection(event);
        }
        return polled;
    }
    simulated.pulseKey = -1;
    simulated.pulseButton = -1;
    simulated.pulsePad = -1;
    simulated.pulsePadButton = -1;
    if (simulated.events.empty()) {
        return false;
    }
    const QueuedEvent next = simulated.events.front();
    simulated.events.pop_front();
    event = next.event;
    noteConnection(event);
    simulated.pulseKey = next.pulseKey;
    simulated.pulseButton = next.pulseButton;
    applyToPad(next);
    return true;
}

void useSimulatedInput(bool on) {
    simulated = SimulatedInput{};
    simulated.active = on;
    steps = PadSteps{};
    triggers = TriggerRest{};
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
    simulated.events.push_back({event});
}

void queueKeyPress(sf::Keyboard::Key key) {
    sf::Event event;
    event.type = sf::Event::KeyPressed;
    event.key = {key, false, false, false, false};
    simulated.events.push_back({event, key});
}

void queueClick(sf::Mouse::Button button, sf::Vector2i pixel) {
    simulated.mouse = pixel;
    sf::Event event;
    event.type = sf::Event::MouseButtonPressed;
    event.mouseButton = {button, pixel.x, pixel.y};
    simulated.events.push_back({event, -1, button});
}

void setWindowFocus(bool focused) {
    simulated.focused = focused;
    sf::Event event;
    event.type = focused ? sf::Event::GainedFocus : sf::Event::LostFocus;
    simulated.events.push_back({event});
}

void connectPad(unsigned pad, bool connected, unsigned buttons, bool stick) {
    if (pad >= sf::Joystick::Count) {
        return;
    }
    simulated.pads[pad] = SimulatedPad{};
    simulated.pads[pad].connected = connected;
    simulated.pads[pad].buttonCount = buttons;
    simulated.pads[pad].hasStick = stick;
    sf::Event event;
    event.type = connected ? sf::Event::JoystickConnected : sf::Event::JoystickDisconnected;
    event.joystickConnect = {pad};
    simulated.events.push_back({event});
}

void holdPadButton(unsigned pad, PadButton button, bool held) {
    if (pad < sf::Joystick::Count) {
        simulated.pads[pad].buttons.set(static_cast<unsigned>(button), held);
    }
}

void setPadAxis(unsigned pad, sf::Joystick::Axis axis, float position) {
    if (pad < sf::Joystick::Count) {
        simulated.pads[pad].axes[axis] = position;
    }
}

void queuePadPress(unsigned pad, PadButton button) {
    if (pad >= sf::Joystick::Count) {
        return;
    }
    sf::Event event;
    event.type = sf::Event::JoystickButtonPressed;
    event.joystickButton = {pad, static_cast<unsigned>(button)};
    simulated.events.push_back({event, -1, -1, static_cast<int>(button)});
}

void queuePadMove(unsigned pad, sf::Joystick::Axis axis, float position) {
    if (pad >= sf::Joystick::Count) {
        return;
    }
    sf::Event event;
    event.type = sf::Event::JoystickMoved;
    event.joystickMove = {pad, axis, position};
    simulated.events.push_back({event, -1, -1, -1, position});
}
