// heroineTest.cpp -- the heroine walks, runs, animates, stops at blocking cells, pulls the camera
// after her and finds the character she can talk to; all through the frame's own steps.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/tileGrid.h"

#include <mutex>

namespace {

sf::IntRect heroineFrame() {
    std::lock_guard<std::mutex> lock(heroineLock());
    return heroine.getTextureRect();
}

void putHeroineAt(sf::Vector2f at) {
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setPosition(at);
    }
    placeSensors();
}

// A character standing at this position, active, with its resting hint.
void standCharacter(int index, sf::Vector2f at, std::int16_t hint = 0) {
    std::lock_guard<std::mutex> lock(rosterLock());
    Npc& npc = npcs[index];
    npc.active = true;
    npc.sprite.setSize({84, 84});
    npc.sprite.setPosition(at);
    npc.hintState = hint;
    npc.restHintState = hint;
}

std::int16_t hintOf(int index) {
    std::lock_guard<std::mutex> lock(rosterLock());
    return npcs[index].hintState;
}

class HeroineTest : public PlayTest {};

} // namespace

TEST_F(HeroineTest, AAndDTogetherCancelOutFaceRightAndStillAnimate) {
    holdKey(sf::Keyboard::A, true);
    holdKey(sf::Keyboard::D, true);
    playFrames(40);
    EXPECT_NEAR(heroinePosition().x, 918, 0.01);
    EXPECT_EQ(heroineFrame().top, 320); // the last key applied, D, faces right
    EXPECT_EQ(world.heroFacing, 3);
    EXPECT_EQ(world.heroFrame, 2); // two walking frames in 0.67 s
    EXPECT_EQ(camera.getCenter(), sf::Vector2f(960, 540));
}

TEST_F(HeroineTest, DAndSAtSixtyFramesASecondGoAboutThreePixelsPerAxisPerFrame) {
    holdKey(sf::Keyboard::D, true);
    holdKey(sf::Keyboard::S, true);
    playFrames(1);
    EXPECT_NEAR(heroinePosition().x, 918 + 200.0f / 60, 0.01);
    EXPECT_NEAR(heroinePosition().y, 498 + 200.0f / 60, 0.01);
    EXPECT_EQ(heroineFrame().top, 0); // S was applied after D: walking down
}

TEST_F(HeroineTest, LeftShiftRunsAtThreeHundredAndAnimatesEveryHundredFiftyMilliseconds) {
    // The frames (of 1/60 s) between two changes of her walking frame, over `frames` frames.
    const auto framesBetweenChanges = [](int frames) {
        std::vector<int> gaps;
        int last = -1;
        for (int i = 0; i < frames; ++i) {
            const std::int16_t before = world.heroFrame;
            playFrames(1);
            if (world.heroFrame != before) {
                if (last >= 0) {
                    gaps.push_back(i - last);
                }
                last = i;
            }
        }
        return gaps;
    };
    holdKey(sf::Keyboard::D, true);
    // 300 ms (18 frames), counted up to the previous frame: a change every 20 frames.
    const std::vector<int> walking = framesBetweenChanges(70);
    EXPECT_EQ(walking.size(), 2u);
    EXPECT_EQ(walking, std::vector<int>(walking.size(), 20));
    EXPECT_EQ(world.walkSpeed, 200);

    holdKey(sf::Keyboard::LShift, true);
    const float x = heroinePosition().x;
    const std::vector<int> running = framesBetweenChanges(45); // 150 ms: every 11 frames
    EXPECT_GE(running.size(), 3u);
    EXPECT_EQ(running, std::vector<int>(running.size(), 11));
    EXPECT_EQ(world.walkSpeed, 300);
    EXPECT_NEAR(heroinePosition().x - x, 45 * 300.0f / 60, 0.05);

    holdKey(sf::Keyboard::LShift, false);
    playFrames(1);
    EXPECT_EQ(world.walkSpeed, 200);
}

TEST_F(HeroineTest, StandingStillShowsTheStandingPictureOfHerLastDirection) {
    holdKey(sf::Keyboard::A, true);
    playFrames(3);
    holdKey(sf::Keyboard::A, false);
    playFrames(1);
    EXPECT_EQ(heroineFrame(), sf::IntRect(0, 160, 160, 160));
    EXPECT_EQ(world.heroFrame, 1);
    holdKey(sf::Keyboard::W, true);
    playFrames(1);
    holdKey(sf::Keyboard::W, false);
    playFrames(1);
    EXPECT_EQ(heroineFrame(), sf::IntRect(0, 480, 160, 160));
}

TEST_F(HeroineTest, ABlockingCellOnTheLeftStopsOnlyTheLeftUntilNothingTouches) {
    placeCell(5, 7, 1, 500);  // a tree covering x 700..800, y 500..600
    putHeroineAt({775, 500}); // her left sensor at x 803
    holdKey(sf::Keyboard::A, true);
    playFrames(1); // the sensor enters the tree by a third of a pixel
    EXPECT_FALSE(world.canMoveLeft);
    EXPECT_TRUE(world.canMoveRight);
    EXPECT_TRUE(world.canMoveUp);
    EXPECT_TRUE(world.canMoveDown);
    const sf::Vector2f stopped = heroinePosition();
    playFrames(5);
    EXPECT_EQ(heroinePosition(), stopped);

    holdKey(sf::Keyboard::A, false);
    holdKey(sf::Keyboard::S, true);
    playFrames(2); // she can still walk along the tree
    EXPECT_GT(heroinePosition().y, stopped.y);
    EXPECT_FALSE(world.canMoveLeft);

    holdKey(sf::Keyboard::S, false);
    holdKey(sf::Keyboard::D, true);
    playFrames(1); // the sensor leaves the tree: every direction is free again
    EXPECT_TRUE(world.canMoveLeft);
}

TEST_F(HeroineTest, TouchingEdgesAreNoContact) {
    placeCell(5, 7, 1, 500);
    putHeroineAt({772, 500}); // her left sensor exactly on the tree's right edge
    EXPECT_FALSE(updateTileContacts());
    EXPECT_TRUE(world.canMoveLeft);
    putHeroineAt({771.9f, 500});
    EXPECT_TRUE(updateTileContacts());
    EXPECT_FALSE(world.canMoveLeft);
}

TEST_F(HeroineTest, TheCameraFollowsPastItsThresholdsAndDownAtOnce) {
    struct Case {
        sf::Keyboard::Key key;
        float travelled; // how far she goes before the camera moves
        bool horizontal;
    };
    const Case cases[] = {{sf::Keyboard::S, 0, false},
                          {sf::Keyboard::W, 58, false},
                          {sf::Keyboard::D, 142, true},
                          {sf::Keyboard::A, 58, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        resetGameState();
        useSimulatedInput(true);
        setUpHeroine();
        story.transitionPending = false;
        holdKey(c.key, true);
        const sf::Vector2f start = heroinePosition();
        float travelled = 0;
        for (int frame = 0; frame < 100 && camera.getCenter() == sf::Vector2f(960, 540); ++frame) {
            travelled = std::abs(c.horizontal ? heroinePosition().x - start.x
                                              : heroinePosition().y - start.y);
            playFrames(1);
        }
        EXPECT_NE(camera.getCenter(), sf::Vector2f(960, 540));
        EXPECT_GE(travelled + 200.0f / 60, c.travelled);
        EXPECT_LT(travelled, c.travelled + 200.0f / 60);
    }
}

TEST_F(HeroineTest, NoWalkingDuringAConversationATransitionTheInventoryOrABattle) {
    holdKey(sf::Keyboard::D, true);
    const auto stays = [] {
        const sf::Vector2f before = heroinePosition();
        playFrames(3);
        return heroinePosition() == before;
    };
    conversation.dialogueOpen = true;
    EXPECT_TRUE(stays());
    conversation.dialogueOpen = false;
    story.transitionPending = true;
    EXPECT_TRUE(stays());
    story.transitionPending = false;
    story.inventoryOpen = true;
    EXPECT_TRUE(stays());
    story.inventoryOpen = false;
    battle.inBattle = true;
    EXPECT_TRUE(stays());
    battle.inBattle = false;
    EXPECT_FALSE(stays());
}

TEST_F(HeroineTest, ACharacterEightyPixelsAwayIsInReachAHundredIsNot) {
    standCharacter(0, {918 + 84 + 100, 498});
    standCharacter(1, {918 + 84 + 80, 498});
    playFrames(1);
    EXPECT_EQ(conversation.activeNpc, 1);
    EXPECT_EQ(hintOf(1), 1);
    EXPECT_EQ(hintOf(0), 0); // visited and out of reach: its resting hint
    standCharacter(1, {5000, 498});
    playFrames(1);
    EXPECT_EQ(conversation.activeNpc, -1);
}

TEST_F(HeroineTest, TheFirstCharacterInReachWinsAndOnlyThoseNearTheWindowAreVisited) {
    standCharacter(0, {23000, 23000}, 2); // far outside the widened window
    standCharacter(1, {918 - 84 - 50, 498});
    standCharacter(2, {918 + 84 + 50, 498}, 2);
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        npcs[0].restHintState = 0;
        npcs[2].restHintState = 0;
    }
    EXPECT_EQ(findTalkTarget(), 1);
    EXPECT_EQ(hintOf(0), 2); // not near the window: keeps its hint
    EXPECT_EQ(hintOf(1), 1);
    EXPECT_EQ(hintOf(2), 2); // not visited: the first one in reach ends the search
}

TEST_F(HeroineTest, AMessageSpeakerIsNotReplacedByANearbyCharacter) {
    standCharacter(0, {918 + 84 + 10, 498});
    conversation.activeNpc = 1991;
    playFrames(1);
    EXPECT_EQ(conversation.activeNpc, 1991);
}

// In a pocket of trees (above, below and to the left) that she entered along its walls, every
// direction she touched on the way in is still cleared: the way she came in must open again.
TEST_F(HeroineTest, APocketSheWalkedIntoAlwaysLetsHerOut) {
    placeCell(4, 7, 1, 500);
    placeCell(6, 7, 1, 500);
    placeCell(5, 6, 1, 500);
    putHeroineAt({670, 516}); // her left line in the tree beside, her lower line in the one below
    world.canMoveUp = false;  // left cleared by the walls she slid along to get here
    world.canMoveRight = false;
    ASSERT_TRUE(updateTileContacts());
    EXPECT_TRUE(world.canMoveUp || world.canMoveRight);
    EXPECT_FALSE(world.canMoveLeft);
    EXPECT_FALSE(world.canMoveDown);
}
