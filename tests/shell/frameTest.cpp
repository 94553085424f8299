// frameTest.cpp -- the frame's rules: which screen the flags select, what the keys do, the walking
// speed, the mouse and the ending check.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/endings.h"
#include "story/quests.h"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

class FrameTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
    }
    void press(sf::Keyboard::Key key) {
        holdKey(key, true);
        handleEvent(keyPressEvent(key));
        holdKey(key, false);
    }
    // The event step for what the test queued, pad presses and moves included.
    void handleQueued() {
        sf::Event event;
        while (pollInputEvent(window, event)) {
            handleEvent(event);
        }
    }
    void padPress(PadButton button) {
        queuePadPress(0, button);
        handleQueued();
    }
};

using PadFrameTest = PlayTest;

struct Flags {
    int endingId;
    bool inBattle, inventoryOpen, dialogueOpen, transitionPending, introRunning;
};

void applyFlags(const Flags& flags) {
    story.endingId = flags.endingId;
    battle.inBattle = flags.inBattle;
    story.inventoryOpen = flags.inventoryOpen;
    conversation.dialogueOpen = flags.dialogueOpen;
    story.transitionPending = flags.transitionPending;
    story.introRunning = flags.introRunning;
}

// What the priority says for one combination of the flags.
ScreenChoice expectedChoice(const Flags& flags, int transitionKind) {
    ScreenChoice choice;
    if (flags.endingId != -1) {
        choice.screen = Screen::Ending;
    } else if (flags.inBattle) {
        choice.screen = Screen::Battle;
    } else if (flags.inventoryOpen) {
        choice.screen = Screen::Inventory;
    } else {
        choice.dialogueBox = flags.dialogueOpen;
        choice.hud = !flags.transitionPending && !flags.introRunning;
        if (!choice.hud) {
            choice.transition = transitionKind == 0    ? TransitionScreen::Intro
                                : transitionKind == -1 ? TransitionScreen::ChapterCard
                                                       : TransitionScreen::None;
        }
    }
    return choice;
}

} // namespace

TEST_F(FrameTest, EveryCombinationOfFlagsSelectsOneScreenByPriority) {
    for (int ending : {-1, 0, 5}) {
        for (int bits = 0; bits < 32; ++bits) {
            for (int kind : {0, -1, 3}) {
                const Flags flags{ending,          (bits & 1) != 0, (bits & 2) != 0,
                                  (bits & 4) != 0, (bits & 8) != 0, (bits & 16) != 0};
                applyFlags(flags);
                quests[story.currentQuest].transitionKind = static_cast<std::int16_t>(kind);
                const ScreenChoice want = expectedChoice(flags, kind);
                const ScreenChoice got = chooseScreen();
                SCOPED_TRACE(testing::Message()
                             << "ending " << ending << " bits " << bits << " kind " << kind);
                EXPECT_EQ(got.screen, want.screen);
                if (want.screen == Screen::World) {
                    EXPECT_EQ(got.dialogueBox, want.dialogueBox);
                    EXPECT_EQ(got.hud, want.hud);
                    EXPECT_EQ(got.transition, want.transition);
                }
            }
        }
    }
}

TEST_F(FrameTest, AtStartTheFirstFramePlaysTheIntro) {
    const ScreenChoice choice = chooseScreen();
    EXPECT_EQ(choice.screen, Screen::World);
    EXPECT_FALSE(choice.hud);
    EXPECT_EQ(choice.transition, TransitionScreen::Intro);
}

TEST_F(FrameTest, TabTogglesTheInventoryOnlyInFreeRoam) {
    story.transitionPending = false;
    press(sf::Keyboard::Tab);
    EXPECT_TRUE(story.inventoryOpen);
    press(sf::Keyboard::Tab);
    EXPECT_FALSE(story.inventoryOpen);

    struct Refusal {
        const char* when;
        bool dialogueOpen, transitionPending, introRunning, enterHeld;
    };
    const Refusal refusals[] = {{"in a conversation", true, false, false, false},
                                {"during a transition", false, true, false, false},
                                {"during the intro", false, false, true, false},
                                {"while Enter is held", false, false, false, true}};
    for (const Refusal& refusal : refusals) {
        conversation.dialogueOpen = refusal.dialogueOpen;
        story.transitionPending = refusal.transitionPending;
        story.introRunning = refusal.introRunning;
        holdKey(sf::Keyboard::Enter, refusal.enterHeld);
        press(sf::Keyboard::Tab);
        EXPECT_FALSE(story.inventoryOpen) << refusal.when;
        holdKey(sf::Keyboard::Enter, false);
    }
}

TEST_F(FrameTest, AnyKeyPressedWhileTabIsHeldTogglesAgainButEDoesNot) {
    story.transitionPending = false;
    holdKey(sf::Keyboard::Tab, true);
    handleEvent(keyPressEvent(sf::Keyboard::Tab));
    handleEvent(keyPressEvent(sf::Keyboard::A));
    EXPECT_FALSE(story.inventoryOpen); // opened, then closed by the second press
    handleEvent(keyPressEvent(sf::Keyboard::E));
    EXPECT_FALSE(story.inventoryOpen);
}

TEST_F(FrameTest, EnterClosesTheGameOnlyOnTheEndingScreen) {
    press(sf::Keyboard::Enter);
    EXPECT_FALSE(shell.closeRequested);
    EXPECT_FALSE(world.quitRequested.load());
    story.endingId = 2;
    press(sf::Keyboard::Enter);
    EXPECT_TRUE(shell.closeRequested);
    EXPECT_TRUE(world.quitRequested.load());
}

// The window's close button quits in every phase, paused or not; Escape opens the pause, whose
// "Esci dal gioco" (Escape, Down, E) quits exactly as the close button does; on the ending screen
// Escape quits at once.
TEST_F(FrameTest, ClosingTheWindowOrLeavingByThePauseQuitsInEveryPhase) {
    const Flags phases[] = {{-1, false, false, false, true, true},
                            {-1, true, false, true, false, false},
                            {-1, false, false, true, false, false},
                            {3, false, false, false, false, false}};
    for (const Flags& phase : phases) {
        for (const int way : {0, 1, 2}) { // the close button; paused, then it; the pause's entry
            resetGameState();
            applyFlags(phase);
            if (way > 0) {
                handleEvent(keyPressEvent(sf::Keyboard::Escape));
                EXPECT_EQ(shell.paused, phase.endingId == -1);
                EXPECT_EQ(shell.closeRequested, phase.endingId != -1);
            }
            if (way == 2 && shell.paused) {
                press(sf::Keyboard::Down);
                press(sf::Keyboard::E);
            } else if (way < 2) {
                handleEvent(closedEvent());
            }
            EXPECT_TRUE(shell.closeRequested) << phase.endingId << " " << way;
            EXPECT_TRUE(world.quitRequested.load());
        }
    }
}

TEST_F(FrameTest, BattleCursorMovesOneLineAPressWithinItsFourLines) {
    battle.inBattle = true;
    for (int i = 0; i < 5; ++i) {
        press(sf::Keyboard::S);
    }
    EXPECT_EQ(battle.selectedMove, 3);
    press(sf::Keyboard::Up);
    EXPECT_EQ(battle.selectedMove, 2);
    for (int i = 0; i < 4; ++i) {
        press(sf::Keyboard::W);
    }
    EXPECT_EQ(battle.selectedMove, 0);
    press(sf::Keyboard::Down);
    EXPECT_EQ(battle.selectedMove, 1);
    // Up wins when both are held; E moves it too, since the live keyboard is read on every press.
    holdKey(sf::Keyboard::Up, true);
    holdKey(sf::Keyboard::Down, true);
    handleEvent(keyPressEvent(sf::Keyboard::E));
    EXPECT_EQ(battle.selectedMove, 0);
}

TEST_F(FrameTest, CursorKeysDoNothingOutsideBattle) {
    press(sf::Keyboard::Down);
    press(sf::Keyboard::S);
    EXPECT_EQ(battle.selectedMove, 0);
}

TEST_F(FrameTest, LeftShiftRunsAt300AndReleasingItWalksAt200) {
    story.transitionPending = false;
    holdKey(sf::Keyboard::LShift, true);
    updateWorld();
    EXPECT_EQ(world.walkSpeed, 300);
    holdKey(sf::Keyboard::LShift, false);
    updateWorld();
    EXPECT_EQ(world.walkSpeed, 200);
}

// The pad's buttons where a key would act: Y toggles the inventory where Tab does, B only closes
// it, Start leaves only the ending screen, a shoulder or a trigger runs, and up and down step the
// battle menu one line a push.
TEST_F(FrameTest, ThePadsButtonsDoWhatTheirKeysDo) {
    connectPad(0, true);
    story.transitionPending = false;
    padPress(PadButton::Top);
    EXPECT_TRUE(story.inventoryOpen);
    padPress(PadButton::Right);
    padPress(PadButton::Right);
    EXPECT_FALSE(story.inventoryOpen);
    conversation.dialogueOpen = true;
    padPress(PadButton::Top);
    EXPECT_FALSE(story.inventoryOpen) << "in a conversation";
    conversation.dialogueOpen = false;

    for (const bool shoulder : {true, false}) {
        holdPadButton(0, PadButton::RightShoulder, shoulder);
        setPadAxis(0, sf::Joystick::Z, shoulder ? -100 : 80);
        updateWorld();
        EXPECT_EQ(world.walkSpeed, 300);
    }
    setPadAxis(0, sf::Joystick::Z, -100);
    updateWorld();
    EXPECT_EQ(world.walkSpeed, 200);

    battle.inBattle = true;
    for (const float y : {100, 0, 100, 0, 100, 0}) {
        queuePadMove(0, sf::Joystick::PovY, y);
    }
    queuePadMove(0, sf::Joystick::Y, -80);
    handleQueued();
    EXPECT_EQ(battle.selectedMove, 2);
    battle.inBattle = false;

    padPress(PadButton::Start); // the pause...
    EXPECT_TRUE(shell.paused);
    padPress(PadButton::Start); // ...and back
    EXPECT_FALSE(shell.paused);
    EXPECT_FALSE(shell.closeRequested);
    story.endingId = 4;
    padPress(PadButton::Start);
    EXPECT_TRUE(shell.closeRequested);
}

// The pad's Back held for a second opens the pause, once per hold: a press does not, nor a hold
// cut short by pulling the pad out. On the ending screen the hold leaves the game.
TEST_F(PadFrameTest, BackHeldForASecondPausesOrLeavesTheEnding) {
    connectPad(0, true);
    queuePadPress(0, PadButton::Select);
    playFrames(3);
    holdPadButton(0, PadButton::Select, true);
    playFrames(50); // 0.83 s
    EXPECT_FALSE(shell.paused);
    connectPad(0, false);
    playFrames(1);
    connectPad(0, true);
    holdPadButton(0, PadButton::Select, true);
    playFrames(50);
    EXPECT_FALSE(shell.paused);
    playFrames(15);
    EXPECT_TRUE(shell.paused);
    queuePadPress(0, PadButton::Right); // B resumes; Back still held opens nothing more
    playFrames(120);
    EXPECT_FALSE(shell.paused);
    EXPECT_FALSE(shell.closeRequested);
    holdPadButton(0, PadButton::Select, false);
    playFrames(1);
    story.endingId = 2;
    holdPadButton(0, PadButton::Select, true);
    playFrames(65);
    EXPECT_TRUE(shell.closeRequested);
    EXPECT_TRUE(world.quitRequested.load());
}

TEST_F(FrameTest, TheWorldIsNotUpdatedDuringTransitionsBattlesInventoryOrEndings) {
    const Flags frozen[] = {{-1, false, false, false, true, false},
                            {-1, true, false, false, false, false},
                            {-1, false, true, false, false, false},
                            {1, false, false, false, false, false}};
    holdKey(sf::Keyboard::LShift, true);
    for (const Flags& flags : frozen) {
        world.walkSpeed = 200;
        applyFlags(flags);
        updateWorld();
        EXPECT_EQ(world.walkSpeed, 200);
    }
}

TEST_F(FrameTest, TheUpdateFollowsTheCameraWithTheVisibleWindow) {
    story.transitionPending = false;
    camera.setSize(1920, 1080);
    camera.setCenter(12500, 12500);
    updateWorld();
    const VisibleWindow window = world.visibleWindow.load();
    EXPECT_EQ(window.visibleColFirst, 113);
    EXPECT_EQ(window.visibleRowEnd, 132);
}

// After each frame: hope at 0 ends the game in despair whatever else holds; a flight ends it with
// the people behind her or with her, the line drawn above 70; an ending the Boss's talk chose
// stays. The sentences are the ones the end screen shows.
TEST(Endings, TheCheckAfterEachFrameChoosesTheEnding) {
    const char* const despair = "Tutti hanno perso la speranza in te per le tue azioni";
    const char* const fledAlone =
        "Kaiva e' scappata ma il popolo aveva poca speranza in lei e non l'hanno seguita";
    const char* const fledTogether =
        "Kaiva e' scappata insieme al suo popolo grazie alla loro alta speranza in lei";
    const char* const won = "Kaiva ha vinto per ora...";
    struct Case {
        int hope;
        bool fled;
        int endingBefore;
        int endingAfter;
        const char* sentence;
    };
    const Case cases[] = {
        {70, false, -1, -1, ""},         {0, false, -1, 0, despair},
        {80, true, -1, 2, fledTogether}, {70, true, -1, 1, fledAlone},
        {71, true, -1, 2, fledTogether}, {40, false, 5, 5, won},
        {0, false, 5, 0, despair},       {0, true, -1, 0, despair},
    };
    for (const Case& c : cases) {
        resetGameState();
        story.hope = c.hope;
        story.fled = c.fled;
        story.endingId = c.endingBefore;
        checkEnding();
        EXPECT_EQ(story.endingId, c.endingAfter) << "hope " << c.hope << " fled " << c.fled;
        EXPECT_EQ(story.endingText, c.sentence) << "hope " << c.hope << " fled " << c.fled;
    }
}

// Mapping the mouse needs a render target, hence an X display.
TEST_F(FrameTest, MouseGivesTheCellUnderItAndNegativeCoordinatesKeepTheLastCell) {
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(1920, 1080));
    screenView = sf::View(sf::FloatRect(0, 0, 1920, 1080));
    camera = sf::View(sf::FloatRect(0, 0, 1920, 1080));

    trackMouse({250, 730}, target);
    EXPECT_EQ(world.mouseWindow.x, 250);
    EXPECT_EQ(world.mouseWindow.y, 730);
    EXPECT_EQ(world.mouseTile.x, 2u);
    EXPECT_EQ(world.mouseTile.y, 7u);
    EXPECT_EQ(tileCursor.getPosition(), sf::Vector2f(200, 700));

    camera.setCenter(960 - 500, 540 + 1000); // the world's left edge is 500 px into the screen
    trackMouse({100, 130}, target);          // world (-400, 1130)
    EXPECT_EQ(world.mouseTile.x, 2u);        // kept
    EXPECT_EQ(world.mouseTile.y, 11u);
    EXPECT_EQ(tileCursor.getPosition(), sf::Vector2f(200, 1100));
}
