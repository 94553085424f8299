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
#include <vector>

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

struct Bounce {
    sf::Vector2f position;
    std::int16_t direction;
    sf::Vector2f anchor;
};

// Character `index` set at `at` facing `direction`, bounced by the game over the window.
Bounce bounceFrom(int index, sf::Vector2f at, std::int16_t direction, const VisibleWindow& window) {
    world.visibleWindow.store(window);
    std::lock_guard<std::mutex> lock(rosterLock());
    Npc& npc = npcs[index];
    npc.sprite.setPosition(at);
    npc.direction = direction;
    npc.patrolAnchor = {-1, -1};
    bounceOffTiles(index);
    return {npc.sprite.getPosition(), npc.direction, npc.patrolAnchor};
}

// The blocking cells of the window a character of this size at `at` overlaps, each less a pixel
// wide and high (a character may stand flush against a cell).
std::vector<sf::FloatRect> blockingCellsMet(sf::Vector2f at, const VisibleWindow& window) {
    const sf::FloatRect bounds(at, {84, 84});
    std::vector<sf::FloatRect> met;
    for (int row = window.visibleRowFirst; row < window.visibleRowEnd; ++row) {
        for (int col = window.visibleColFirst; col < window.visibleColEnd; ++col) {
            sf::FloatRect cell = objectBounds(row, col);
            cell.width -= 1;
            cell.height -= 1;
            if (cellAt(row, col).blocking && bounds.intersects(cell)) {
                met.push_back(cell);
            }
        }
    }
    return met;
}

// Where a character facing `direction` stands once pushed back flush against `cell`.
sf::Vector2f flushAgainst(const sf::FloatRect& cell, sf::Vector2f at, std::int16_t direction) {
    switch (direction) {
    case 0: // right
        return {cell.left - 84, at.y};
    case 1: // left
        return {cell.left + cell.width, at.y};
    case 2: // up
        return {at.x, cell.top + cell.height};
    default: // down
        return {at.x, cell.top - 84};
    }
}

} // namespace

// Over the intro's window of the whole grid the bounce visits only the cells under a character.
// Each character of the shipped map, all around its start cell and facing each way: the bounce is
// the same over the whole grid as over a roaming window around it; a character that meets no
// blocking cell stays as it was; one that meets a single one stands flush against it, turned the
// other way and anchored there; one that meets several is pushed by each and anchored where it
// ends.
TEST_F(GameTest, ACharacterBouncesOffTheBlockingCellsItMeetsWhateverTheWindow) {
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv0.txt", MapLayer::Ground));
    ASSERT_TRUE(loadLayer(std::string(KAIVA_ASSETS_DIR) + "/maps/mapLv1.txt", MapLayer::Object));
    placeCharacters();
    const VisibleWindow wholeGrid{0, 249, 0, 249};
    const std::int16_t turned[4] = {1, 0, 3, 2};
    int metOne = 0;
    int metSeveral = 0;
    for (int index = 0; index < kWorldCharacters; ++index) {
        const sf::Vector2f home = npcs[index].sprite.getPosition();
        const VisibleWindow roaming = visibleWindowAround(home, kScreenCellsWide, kScreenCellsHigh);
        for (float dx = -150; dx <= 150; dx += 37) {
            for (float dy = -150; dy <= 150; dy += 37) {
                const sf::Vector2f at = home + sf::Vector2f(dx, dy);
                const std::vector<sf::FloatRect> met = blockingCellsMet(at, roaming);
                for (std::int16_t direction = 0; direction < 4; ++direction) {
                    SCOPED_TRACE(::testing::Message() << "character " << index << " at " << at.x
                                                      << ", " << at.y << " facing " << direction);
                    const Bounce whole = bounceFrom(index, at, direction, wholeGrid);
                    const Bounce near = bounceFrom(index, at, direction, roaming);
                    EXPECT_EQ(whole.position, near.position);
                    EXPECT_EQ(whole.direction, near.direction);
                    EXPECT_EQ(whole.anchor, near.anchor);
                    if (met.empty()) {
                        EXPECT_EQ(near.position, at);
                        EXPECT_EQ(near.direction, direction);
                        EXPECT_EQ(near.anchor, sf::Vector2f(-1, -1));
                    } else if (met.size() == 1) {
                        ++metOne;
                        EXPECT_EQ(near.position, flushAgainst(met[0], at, direction));
                        EXPECT_EQ(near.direction, turned[direction]);
                        EXPECT_EQ(near.anchor, near.position);
                    } else {
                        ++metSeveral;
                        EXPECT_NE(near.position, at);
                        EXPECT_EQ(near.anchor, near.position);
                    }
                }
            }
        }
    }
    EXPECT_GT(metOne, 100); // the places reach blocking cells often enough to tell
    EXPECT_GT(metSeveral, 10);
}

// Before its object picture is placed, a blocking cell's collision rectangle is the empty one at
// the world's corner: a character reaching over the corner bounces off it wherever the cell is,
// and one over the cell's own square walks on.
TEST_F(GameTest, ABlockingCellWithoutItsObjectPictureBouncesFromTheWorldsCorner) {
    changeCell(30, 40, [](Tile& ravine) {
        ravine.groundPlaced = true;
        ravine.loaded = true;
        ravine.groundId = 15;
        applyIdTable(ravine, 15);
    });
    placeCharacters();
    const VisibleWindow wholeGrid{0, 249, 0, 249};
    const Bounce overTheCorner = bounceFrom(kHonani, {-50, -50}, 0, wholeGrid);
    EXPECT_EQ(overTheCorner.position, sf::Vector2f(-84, -50));
    EXPECT_EQ(overTheCorner.direction, 1);
    const Bounce overTheCell = bounceFrom(kHonani, {3950, 2950}, 0, wholeGrid);
    EXPECT_EQ(overTheCell.position, sf::Vector2f(3950, 2950));
    EXPECT_EQ(overTheCell.direction, 0);
}
