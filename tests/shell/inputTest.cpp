// inputTest.cpp -- the gamepad through the input layer: which pad is the pad as pads come and go,
// the stick's dead zone and eight ways, the hat, the triggers, and the steps of a menu.
#include "testSupport.h"

#include "shell/input.h"
#include "shell/resources.h"

#include <vector>

namespace {

using PadTest = GameTest;

struct Pointing {
    sf::Vector2f stick, hat;
    bool up, down, left, right;
};

void placePad(const Pointing& at) {
    setPadAxis(0, sf::Joystick::X, at.stick.x);
    setPadAxis(0, sf::Joystick::Y, at.stick.y);
    setPadAxis(0, sf::Joystick::PovX, at.hat.x);
    setPadAxis(0, sf::Joystick::PovY, at.hat.y);
}

// The steps the queued events make, one per event (None included).
std::vector<PadDirection> stepsOfQueuedEvents() {
    std::vector<PadDirection> made;
    sf::Event event;
    while (pollInputEvent(window, event)) {
        made.push_back(padStep(event));
    }
    return made;
}

} // namespace

TEST_F(PadTest, TheStickCountsOutOfItsDeadZoneInEightWaysAndTheHatWhenPressed) {
    connectPad(0, true);
    const Pointing cases[] = {
        {{0, 0}, {0, 0}, false, false, false, false},
        {{20, -10}, {0, 0}, false, false, false, false}, // a worn stick's drift
        {{30, 0}, {0, 0}, false, false, false, true},
        {{0, -100}, {0, 0}, true, false, false, false},
        {{90, 30}, {0, 0}, false, false, false, true}, // 18 degrees below right: right alone
        {{90, 45}, {0, 0}, false, true, false, true},  // 27 degrees: the diagonal
        {{-70, -70}, {0, 0}, true, false, true, false},
        {{0, 0}, {-100, 0}, false, false, true, false},
        {{0, 0}, {100, 100}, false, true, false, true},
        {{0, 0}, {0, -40}, false, false, false, false}, // a hat is pressed or not
    };
    for (const Pointing& at : cases) {
        SCOPED_TRACE(testing::Message() << "stick " << at.stick.x << "," << at.stick.y << " hat "
                                        << at.hat.x << "," << at.hat.y);
        placePad(at);
        EXPECT_EQ(isPadPointing(PadDirection::Up), at.up);
        EXPECT_EQ(isPadPointing(PadDirection::Down), at.down);
        EXPECT_EQ(isPadPointing(PadDirection::Left), at.left);
        EXPECT_EQ(isPadPointing(PadDirection::Right), at.right);
    }
    // Triggers at rest read -100 on some drivers: only past half their travel do they count.
    for (const float rest : {-100.0f, 0.0f, 40.0f}) {
        setPadAxis(0, sf::Joystick::Z, rest);
        setPadAxis(0, sf::Joystick::R, rest);
        EXPECT_FALSE(isPadTriggerPulled()) << rest;
    }
    setPadAxis(0, sf::Joystick::R, 60);
    EXPECT_TRUE(isPadTriggerPulled());
    // A device whose trigger rests pulled when plugged in holds nothing until it is let go.
    connectPad(0, false);
    connectPad(0, true);
    stepsOfQueuedEvents(); // the pad's coming and going
    setPadAxis(0, sf::Joystick::Z, 100);
    EXPECT_FALSE(isPadTriggerPulled());
    setPadAxis(0, sf::Joystick::Z, -100);
    EXPECT_FALSE(isPadTriggerPulled());
    setPadAxis(0, sf::Joystick::Z, 100);
    EXPECT_TRUE(isPadTriggerPulled());
}

// A stick wavering around half its travel, or held across a diagonal, makes one step; it steps
// again once let go, or turned well into another way; the hat steps on each press.
TEST_F(PadTest, AMenuStepComesOncePerPush) {
    connectPad(0, true);
    stepsOfQueuedEvents(); // the pad's connection
    for (const float x : {60, 45, 55, 35, 20, 60}) {
        queuePadMove(0, sf::Joystick::X, x);
    }
    queuePadMove(0, sf::Joystick::Y, -90); // 56 degrees up from right: still right
    queuePadMove(0, sf::Joystick::X, 0);   // straight up
    queuePadMove(0, sf::Joystick::Y, 0);
    for (const float y : {100, 0, 100}) {
        queuePadMove(0, sf::Joystick::PovY, y);
    }
    using D = PadDirection;
    const std::vector<PadDirection> expected = {D::Right, D::None,  D::None, D::None,
                                                D::None,  D::Right, D::None, D::Up,
                                                D::None,  D::Down,  D::None, D::Down};
    EXPECT_EQ(stepsOfQueuedEvents(), expected);
}

TEST_F(PadTest, ThePadIsTheFirstConnectedOneAsPadsComeAndGo) {
    EXPECT_EQ(firstPad(), -1);
    EXPECT_FALSE(isPadButtonHeld(PadButton::Bottom));
    connectPad(0, true, 0, true);   // a motion sensor: axes, no buttons
    connectPad(2, true, 13, false); // a wheel: buttons, no stick
    EXPECT_EQ(firstPad(), -1);
    stepsOfQueuedEvents(); // their connections
    connectPad(3, true);
    connectPad(1, true);
    EXPECT_EQ(firstPad(), 1);
    holdPadButton(3, PadButton::Bottom, true);
    setPadAxis(3, sf::Joystick::X, 100);
    EXPECT_FALSE(isPadButtonHeld(PadButton::Bottom)) << "pad 3 is not the first";
    EXPECT_FALSE(isPadPointing(PadDirection::Right));
    queuePadPress(3, PadButton::Top);
    queuePadPress(1, PadButton::Top);
    sf::Event event;
    ASSERT_TRUE(pollInputEvent(window, event));
    ASSERT_TRUE(pollInputEvent(window, event));
    ASSERT_TRUE(pollInputEvent(window, event));
    EXPECT_FALSE(padButtonPressed(event)) << "a press of pad 3";
    ASSERT_TRUE(pollInputEvent(window, event));
    EXPECT_EQ(padButtonPressed(event), PadButton::Top);
    EXPECT_TRUE(isPadButtonHeld(PadButton::Top)) << "held while its press is handled";

    connectPad(1, false); // pulled out: pad 3 takes over, as it is held
    EXPECT_EQ(firstPad(), 3);
    EXPECT_TRUE(isPadButtonHeld(PadButton::Bottom));
    EXPECT_TRUE(isPadPointing(PadDirection::Right));
    connectPad(3, false);
    connectPad(3, true); // plugged in again: at rest
    EXPECT_FALSE(isPadButtonHeld(PadButton::Bottom));
    EXPECT_FALSE(isPadPointing(PadDirection::Right));
}
