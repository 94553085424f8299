// characterThreadTest.cpp -- the character thread against a placed roster while the test thread
// walks the heroine and reads the figures as the frame does; it stops within one tick. Run under
// ThreadSanitizer by the test command.
#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class CharacterThreadTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        setUpHeroine();
        placeCharacters();
        world.visibleWindow.store({0, 60, 0, 60});
        world.frameSeconds.store(1.0f / 60);
    }
    void TearDown() override {
        stopCharacterThread();
        GameTest::TearDown();
    }
};

} // namespace

TEST_F(CharacterThreadTest, PatrolsWhileTheLoopWalksTheHeroineAndStopsWithinATick) {
    const sf::Vector2f honaniStart = npcs[1].sprite.getPosition();
    startCharacterThread();
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(200, 200));
    for (int frame = 0; frame < 40; ++frame) { // about two thirds of a second of frames
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.move(2, 1);
        }
        findTalkTarget();
        target.clear();
        drawCharacters(target);
        drawTalkHints(target);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    sf::Vector2f honani;
    bool achakNear = false;
    {
        std::lock_guard<std::mutex> lock(rosterLock());
        honani = npcs[1].sprite.getPosition();
        achakNear = npcs[0].nearHeroine;
    }
    EXPECT_GT(honani.x, honaniStart.x + 20); // at least a dozen steps of 3.3 pixels
    EXPECT_TRUE(achakNear);

    const auto asked = Clock::now();
    stopCharacterThread();
    EXPECT_FALSE(threads.npcThread.joinable());
    EXPECT_LT(Clock::now() - asked, std::chrono::milliseconds(25));
}

// With nobody to move (before the map has loaded) the thread sleeps between passes instead of
// spinning a core.
TEST_F(CharacterThreadTest, SleepsBetweenPassesWhenNobodyIsPlaced) {
    resetRoster();
    const std::clock_t before = std::clock();
    const auto start = Clock::now();
    startCharacterThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    stopCharacterThread();
    const double cpu = static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_LT(cpu, 0.25 * wall); // the whole process, test thread included
}
