// pauseScreenTest.cpp -- the pause over every screen: nothing that moves moves while it is open,
// the characters' own thread included, and the first frame after it is an ordinary frame; the
// window's focus; the way out by the mouse.
#include "testSupport.h"

#include "playthrough/storyExplorer.h"
#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/quests.h"
#include "world/characterThread.h"
#include "world/characters.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <chrono>
#include <thread>

namespace {

const float kFrame = 1.0f / 60;

// A screen the pause may open over, as the game shows it.
struct Phase {
    const char* name;
    void (*enter)();
};

void PrintTo(const Phase& phase, std::ostream* out) {
    *out << phase.name;
}

const Phase kPhases[] = {
    {"Intro", [] { story.transitionPending = true; }}, // quest 0 plays the intro
    {"ChapterCard",
     [] {
         story.currentQuest = 2;
         story.transitionPending = true;
     }},
    {"RoamingWhileWalking", [] { holdKey(sf::Keyboard::D, true); }},
    {"ConversationWhileTyping",
     [] {
         conversation.activeNpc = kSage;
         openConversation(kSage);
     }},
    {"Inventory", [] { story.inventoryOpen = true; }},
    {"BattleOnTheOpponentsTurn",
     [] {
         conversation.activeNpc = kJohn;
         conversation.dialogueOpen = true;
         battle.inBattle = true;
         battle.playerTurn = false;
     }},
};

class PauseTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        placeCharacters();
        ASSERT_TRUE(screen.create(192, 108));
    }
    sf::RenderTexture screen;
};

class EveryScreen : public PauseTest, public ::testing::WithParamInterface<Phase> {};

} // namespace

// Paused for ten seconds of frames (and the character thread running meanwhile), nothing moves;
// the frame that resumes moves no time, and the next one moves it by its own length alone.
TEST_P(EveryScreen, NothingMovesWhilePausedAndTheFirstFrameAfterIsOrdinary) {
    GetParam().enter();
    playFrames(5);
    queueKeyPress(sf::Keyboard::Escape);
    playFrame(screen, kFrame);
    ASSERT_TRUE(shell.paused);
    startCharacterThread();
    const MovingValues paused = movingValues();
    for (int i = 0; i < 600; ++i) {
        playFrame(screen, kFrame);
        if (i % 100 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30)); // the thread's ticks
        }
    }
    EXPECT_EQ(whatMoved(paused, movingValues()), "");
    queueKeyPress(sf::Keyboard::Escape);
    playFrame(screen, kFrame);
    ASSERT_FALSE(shell.paused);
    const MovingValues resumed = movingValues();
    playFrame(screen, kFrame);
    const MovingValues next = movingValues();
    stopCharacterThread();
    EXPECT_EQ(resumed.values[kGameTime], paused.values[kGameTime]);
    EXPECT_EQ(next.values[kGameTime] - resumed.values[kGameTime],
              sf::seconds(kFrame).asMicroseconds());
}

INSTANTIATE_TEST_SUITE_P(Pause, EveryScreen, ::testing::ValuesIn(kPhases),
                         [](const ::testing::TestParamInfo<Phase>& info) {
                             return info.param.name;
                         });

// Losing the focus opens the pause; getting it back does not close it: the player resumes. A
// click on "Esci dal gioco" leaves as the window's close button does.
TEST_F(PauseTest, TheFocusLostPausesItComingBackDoesNotAndAClickLeaves) {
    setWindowFocus(false);
    playFrame(screen, kFrame);
    EXPECT_TRUE(shell.paused);
    setWindowFocus(true);
    playFrames(10);
    EXPECT_TRUE(shell.paused);
    queueClick(sf::Mouse::Left, {96, 14}); // the title (the picture is a tenth as large)
    playFrame(screen, kFrame);
    EXPECT_TRUE(shell.paused);
    queueClick(sf::Mouse::Left, {96, 39}); // "Esci dal gioco"
    playFrame(screen, kFrame);
    EXPECT_TRUE(shell.closeRequested);
    EXPECT_TRUE(world.quitRequested.load());
}
