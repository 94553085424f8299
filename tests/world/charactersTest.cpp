// charactersTest.cpp -- the roster placed on the map, the characters' patrols, pictures and
// bounces, and whether the heroine is near them.
#include "testSupport.h"

#include "shell/gameClock.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"

#include <mutex>
#include <thread>

namespace {

enum Slot { kAchak, kHonani, kEnapay, kJohn, kLuke, kCrisocione, kBoss };

// The character thread's passes, driven by hand: every tick moves the simulated time 25 ms on,
// takes the pass's times as the thread does, and animates.
class PatrolTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        placeCharacters();
        world.visibleWindow.store({0, 60, 0, 60});
        world.frameSeconds.store(1.0f / 60);
        moveNow_ = moveLast_ = animNow_ = animLast_ = clock_.getElapsedTime();
    }

    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            advanceSimulatedTime(sf::milliseconds(25));
            moveNow_ = animNow_ = clock_.getElapsedTime();
            std::lock_guard<std::mutex> lock(rosterLock());
            animateCharacters(clock_, moveNow_, moveLast_, animNow_, animLast_);
        }
    }

    Npc& npc(int index) { return npcs[index]; } // read between ticks, on this thread only

    GameClock clock_;
    sf::Time moveNow_, moveLast_, animNow_, animLast_;
};

} // namespace

TEST_F(GameTest, PlacingPutsTheSevenCharactersOnTheirStartCells) {
    placeCharacters();
    EXPECT_EQ(npcs[kAchak].sprite.getPosition(), sf::Vector2f(800, 600));
    EXPECT_EQ(npcs[kAchak].sprite.getTextureRect(), sf::IntRect(0, 160, 160, 160));
    EXPECT_EQ(npcs[kBoss].sprite.getPosition(), sf::Vector2f(1400, 4800));
    EXPECT_EQ(npcs[kBoss].sprite.getTextureRect(), sf::IntRect(0, 1600, 160, 160));
    EXPECT_EQ(npcs[kBoss].sprite.getTexture(), &npcSheet);
    for (int i = 0; i < kWorldCharacters; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(npcs[i].active);
        EXPECT_EQ(npcs[i].sprite.getSize(), sf::Vector2f(84, 84));
        EXPECT_EQ(npcs[i].patrolAnchor, npcs[i].sprite.getPosition());
        EXPECT_EQ(npcs[i].restDirection, npcs[i].direction);
        EXPECT_EQ(npcs[i].restHintState, i < kJohn ? 0 : 2);
        EXPECT_EQ(npcs[i].startsTalk, i >= kJohn && i <= kCrisocione);
    }
    EXPECT_FALSE(npcs[7].active);
    EXPECT_FALSE(npcs[1990].active);
    EXPECT_EQ(npcs[kAchak].restDirection, 4);
    EXPECT_EQ(npcs[kCrisocione].name, "Kaiva");
    EXPECT_EQ(npcs[kCrisocione].speed, 450);
    EXPECT_EQ(npcs[kBoss].attack, 35);
    EXPECT_EQ(npcs[kLuke].shieldGain, 1);
}

TEST_F(GameTest, AMapThatNeverFinishesLoadingPlacesNobody) {
    std::string good;
    for (int col = 0; col < kGridSize; ++col) {
        good += "1 ";
    }
    const std::string broken = std::string(good).replace(200, 2, "x ");
    std::string map;
    for (int row = 0; row < kGridSize; ++row) {
        map += (row == 200 ? broken : good) + ";\n";
    }
    const std::filesystem::path dir = makeTempDir("brokenmap");
    writeTextFile(dir / "assets/maps/mapLv0.txt", map);
    writeTextFile(dir / "assets/maps/mapLv1.txt", map);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    startMapLoaders();
    for (int frame = 0; frame < 200; ++frame) {
        EXPECT_FALSE(checkMapReady());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    stopMapLoaders();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ""); // no "Finito"
    testing::internal::GetCapturedStderr();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(mapLoad.failed.load());
    EXPECT_FALSE(npcs[0].active);
}

TEST_F(PatrolTest, AchakStandsAndAlternatesTwoFramesEveryThreeHundredMilliseconds) {
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        tick(12); // 300 ms
        frames.push_back(npc(kAchak).sprite.getTextureRect().left / 160);
        EXPECT_EQ(npc(kAchak).sprite.getTextureRect().top, 160);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(npc(kAchak).sprite.getPosition(), sf::Vector2f(800, 600));
}

TEST_F(PatrolTest, HonaniWalksFiveCellsRightTurnsAndComesBack) {
    float farthest = 0;
    for (int i = 0; i < 160; ++i) {
        tick();
        farthest = std::max(farthest, npc(kHonani).sprite.getPosition().x);
    }
    EXPECT_EQ(npc(kHonani).direction, 1);
    EXPECT_GT(farthest, 900);
    EXPECT_LT(farthest, 900 + 2 * 200.0f / 60);
    EXPECT_EQ(npc(kHonani).sprite.getTextureRect().top, 9 * 160); // walking left: its second row
    float nearest = farthest;
    for (int i = 0; i < 160 && npc(kHonani).direction == 1; ++i) {
        tick();
        nearest = std::min(nearest, npc(kHonani).sprite.getPosition().x);
    }
    EXPECT_EQ(npc(kHonani).direction, 0);
    EXPECT_NEAR(nearest, 400, 2 * 200.0f / 60);
    EXPECT_EQ(npc(kHonani).sprite.getPosition().y, 2500);
}

TEST_F(PatrolTest, EnapayPatrolsFourCellsUpAndDownShowingRowFiveUpAndRowFourDown) {
    tick(2);
    EXPECT_LT(npc(kEnapay).sprite.getPosition().y, 1500);
    EXPECT_EQ(npc(kEnapay).sprite.getTextureRect().top, 5 * 160);
    float highest = 1500;
    for (int i = 0; i < 200 && npc(kEnapay).direction == 2; ++i) {
        tick();
        highest = std::min(highest, npc(kEnapay).sprite.getPosition().y);
    }
    EXPECT_EQ(npc(kEnapay).direction, 3);
    EXPECT_NEAR(highest, 1100, 2 * 200.0f / 60);
    tick();
    EXPECT_EQ(npc(kEnapay).sprite.getTextureRect().top, 4 * 160);
    EXPECT_EQ(npc(kEnapay).sprite.getPosition().x, 2000);
}

TEST_F(PatrolTest, AStepIsTheLastFramesDurationAtTheCharactersSpeed) {
    const float honani = npc(kHonani).sprite.getPosition().x;
    const float wolf = npc(kCrisocione).sprite.getPosition().x;
    tick();
    EXPECT_NEAR(npc(kHonani).sprite.getPosition().x - honani, 200.0f / 60, 0.001);
    EXPECT_NEAR(npc(kCrisocione).sprite.getPosition().x - wolf, 450.0f / 60, 0.001);
    world.frameSeconds.store(0.1f); // a slow frame: a long step, whatever the tick
    tick();
    EXPECT_NEAR(npc(kHonani).sprite.getPosition().x - honani, 200.0f / 60 + 20, 0.001);
}

TEST_F(PatrolTest, OnlyCharactersInsideTheVisibleWindowMoveOrAnimate) {
    world.visibleWindow.store({0, 21, 0, 12}); // the camp: Achak only
    const sf::Vector2f honani = npc(kHonani).sprite.getPosition();
    tick(13);
    EXPECT_EQ(npc(kHonani).sprite.getPosition(), honani);
    EXPECT_EQ(npc(kHonani).animFrame, 0);
    EXPECT_EQ(npc(kAchak).animFrame, 1);
}

TEST_F(PatrolTest, ACharacterHeldByAConversationKeepsItsPictureAndResumes) {
    tick(3);
    Npc& honani = npc(kHonani);
    honani.restDirection = honani.direction;
    honani.direction = 4;
    const sf::Vector2f at = honani.sprite.getPosition();
    const sf::IntRect picture = honani.sprite.getTextureRect();
    tick(30);
    EXPECT_EQ(honani.sprite.getPosition(), at);
    EXPECT_EQ(honani.sprite.getTextureRect(), picture);
    honani.direction = honani.restDirection;
    tick();
    EXPECT_GT(honani.sprite.getPosition().x, at.x);
}

TEST_F(PatrolTest, BlockingCellsPushCharactersBackFlushWithTheirEdges) {
    world.visibleWindow.store({10, 40, 10, 30});
    placeCell(20, 30, 1, 500); // x 3000..3100, y 2000..2100
    struct Case {
        const char* way;
        std::int16_t direction;
        sf::Vector2f from;
        sf::Vector2f to;
        std::int16_t turned;
    };
    const Case cases[] = {
        {"right", 0, {2920, 2000}, {2916, 2000}, 1}, // its right edge ends at 3000
        {"left", 1, {3090, 2000}, {3099, 2000}, 0},
        {"down", 3, {3000, 1920}, {3000, 1916}, 2}, // its bottom edge ends at 2000
        {"up", 2, {3000, 2090}, {3000, 2099}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        Npc& honani = npc(kHonani);
        honani.sprite.setPosition(c.from);
        honani.direction = c.direction;
        bounceOffTiles(kHonani);
        EXPECT_EQ(honani.sprite.getPosition(), c.to);
        EXPECT_EQ(honani.direction, c.turned);
        EXPECT_EQ(honani.patrolAnchor, c.to);
    }
    npc(kHonani).sprite.setPosition(2916, 2000); // flush against it: no push
    npc(kHonani).direction = 0;
    bounceOffTiles(kHonani);
    EXPECT_EQ(npc(kHonani).sprite.getPosition(), sf::Vector2f(2916, 2000));
    EXPECT_EQ(npc(kHonani).direction, 0);
}

TEST_F(PatrolTest, NearMeansWithinSixCellsAcrossAndThreeUpOrDown) {
    const sf::Vector2f enapay = npc(kEnapay).sprite.getPosition(); // (2000, 1500)
    std::lock_guard<std::mutex> lock(rosterLock());
    markCharactersNearHeroine(enapay - sf::Vector2f(500, 200));
    EXPECT_TRUE(npcs[kEnapay].nearHeroine);
    markCharactersNearHeroine(enapay - sf::Vector2f(700, 0));
    EXPECT_FALSE(npcs[kEnapay].nearHeroine);
    world.visibleWindow.store({40, 60, 40, 60}); // far from Enapay: its flag stays
    markCharactersNearHeroine(enapay);
    EXPECT_FALSE(npcs[kEnapay].nearHeroine);
}

namespace {

// The bounce as it was first written, kept as the reference: every blocking cell of the visible
// window in row-major order, on a copy of the record.
void bounceOverEveryCell(Npc& npc) {
    const sf::Vector2f start = npc.sprite.getPosition();
    const sf::FloatRect bounds = npc.sprite.getGlobalBounds();
    const sf::Vector2f size = npc.sprite.getSize();
    const VisibleWindow window = world.visibleWindow.load();
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            if (!cellAt(row, col).blocking) {
                continue;
            }
            sf::FloatRect cell = objectBounds(row, col);
            cell.width -= 1;
            cell.height -= 1;
            if (!bounds.intersects(cell)) {
                continue;
            }
            const std::int16_t way = npc.direction;
            npc.sprite.setPosition(way == 1   ? sf::Vector2f(cell.left + cell.width, start.y)
                                   : way == 0 ? sf::Vector2f(cell.left - size.x, start.y)
                                   : way == 2 ? sf::Vector2f(start.x, cell.top + cell.height)
                                              : sf::Vector2f(start.x, cell.top - size.y));
            npc.direction = way == 1 ? 0 : way == 0 ? 1 : way == 2 ? 3 : 2;
            npc.patrolAnchor = npc.sprite.getPosition();
        }
    }
}

// Bounces character `index` from `at`, facing `direction`, both ways; false when they differ.
// Counts the bounces that moved it.
bool bouncesAlike(int index, sf::Vector2f at, std::int16_t direction, int& pushed) {
    std::lock_guard<std::mutex> lock(rosterLock());
    Npc& npc = npcs[index];
    npc.sprite.setPosition(at);
    npc.direction = direction;
    npc.patrolAnchor = {-1, -1};
    Npc reference = npc;
    bounceOffTiles(index);
    bounceOverEveryCell(reference);
    pushed += npc.sprite.getPosition() != at ? 1 : 0;
    return npc.sprite.getPosition() == reference.sprite.getPosition() &&
           npc.direction == reference.direction && npc.patrolAnchor == reference.patrolAnchor;
}

} // namespace

// Over the intro's window of the whole grid, the bounce visits only the cells under the character;
// it must push and turn exactly as a bounce off every cell of the window does: each character of
// the shipped map, all around its start cell and facing each way, over the whole grid and over a
// roaming window.
TEST_F(GameTest, BouncingOffTheCellsUnderACharacterMatchesBouncingOffEveryCell) {
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv0.txt", MapLayer::Ground));
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv1.txt", MapLayer::Object));
    placeCharacters();
    int pushed = 0;
    for (int index = 0; index < kWorldCharacters; ++index) {
        const sf::Vector2f home = npcs[index].sprite.getPosition();
        const VisibleWindow windows[] = {
            {0, 249, 0, 249},
            visibleWindowAround(home, kScreenCellsWide, kScreenCellsHigh),
        };
        for (const VisibleWindow& window : windows) {
            world.visibleWindow.store(window);
            for (float dx = -150; dx <= 150; dx += 37) {
                for (float dy = -150; dy <= 150; dy += 37) {
                    for (std::int16_t direction = 0; direction < 4; ++direction) {
                        const sf::Vector2f at = home + sf::Vector2f(dx, dy);
                        EXPECT_TRUE(bouncesAlike(index, at, direction, pushed))
                            << "character " << index << " at " << at.x << ", " << at.y << " facing "
                            << direction;
                    }
                }
            }
        }
    }
    EXPECT_GT(pushed, 100); // the places reach blocking cells often enough to tell
}

// Before its object picture is placed, a blocking cell's collision rectangle is the empty one at
// the world's corner: a character reaching over the corner bounces off it wherever the cell is.
TEST_F(GameTest, ABlockingCellWithoutItsObjectPictureBouncesFromTheWorldsCorner) {
    changeCell(30, 40, [](Tile& ravine) {
        ravine.groundPlaced = true;
        ravine.loaded = true;
        ravine.groundId = 15;
        applyIdTable(ravine, 15);
    });
    placeCharacters();
    world.visibleWindow.store({0, 249, 0, 249});
    int pushed = 0;
    EXPECT_TRUE(bouncesAlike(kHonani, {-50, -50}, 0, pushed));
    EXPECT_EQ(pushed, 1);
    EXPECT_TRUE(bouncesAlike(kHonani, {3950, 2950}, 0, pushed)); // over the cell's own square
    EXPECT_EQ(pushed, 1);
}
