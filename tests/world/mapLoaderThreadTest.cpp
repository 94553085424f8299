// mapLoaderThreadTest.cpp -- the two loaders fill the grid while the main loop reads and draws it:
// no reader ever sees a torn cell, and the map-ready check joins them once. Run under
// ThreadSanitizer by the test command.
#include "testSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace {

// A complete pair of maps where every cell gets a name: ravine or grass on the ground, and on the
// object layer a tree, a tent, a river piece or nothing, by position.
int groundValue(int row, int col) {
    return (row + col) % 7 == 0 ? 15 : 1 + (row * 3 + col) % 5;
}
int objectValue(int row, int col) {
    const int pick = (row * 7 + col * 3) % 5;
    return pick == 0 ? 0 : pick == 1 ? 500 : pick == 2 ? 510 : pick == 3 ? 504 : 544;
}

// The map text of these values; the cell at brokenRow, column 10 can be given a malformed value.
std::string mapText(int (*value)(int, int), int brokenRow = -1) {
    std::string text;
    for (int row = 0; row < kGridSize; ++row) {
        for (int col = 0; col < kGridSize; ++col) {
            text += row == brokenRow && col == 10 ? "x50 " : std::to_string(value(row, col)) + " ";
        }
        text += ";\n";
    }
    return text;
}

const std::set<std::string> kNames = {
    "", "Burrone", "Albero rigoglioso", "Tenda", "Fiume rinfrescante", "Mela succosa"};

// Reads one cell under its row lock and checks it is whole: a known name, shapes either unset or
// exactly on their cell.
bool cellIsWhole(int row, int col) {
    std::lock_guard<std::mutex> lock(gridRowLock(row));
    const Tile& cell = cellAt(row, col);
    const sf::FloatRect home(col * 100.0f, row * 100.0f, 100, 100);
    const sf::FloatRect ground = groundBounds(row, col);
    const sf::FloatRect object = objectBounds(row, col);
    const bool groundOk = ground == sf::FloatRect(0, 0, 0, 0) || ground == home;
    const bool objectOk = object == sf::FloatRect(0, 0, 0, 0) || object == home;
    return kNames.count(std::string(cell.name)) == 1 && groundOk && objectOk &&
           (cell.loaded || cell.name.empty());
}

class MapLoaderThreadTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        dir_ = makeTempDir("threads");
        writeTextFile(dir_ / "assets/maps/mapLv0.txt", mapText(groundValue));
        writeTextFile(dir_ / "assets/maps/mapLv1.txt", mapText(objectValue));
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        stopMapLoaders();
        std::filesystem::current_path(previous_);
        GameTest::TearDown();
    }
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

} // namespace

TEST_F(MapLoaderThreadTest, ReadersNeverSeeATornCellWhileBothLoadersRun) {
    std::atomic<bool> loading{true};
    std::atomic<int> tornCells{0};
    std::thread reader([&] { // a character thread testing cells while the map loads
        unsigned seed = 12345;
        while (loading.load()) {
            seed = seed * 1103515245u + 12345u;
            const int row = static_cast<int>(seed >> 8) % kGridSize;
            const int col = static_cast<int>(seed >> 20) % kGridSize;
            if (!cellIsWhole(row, col)) {
                ++tornCells;
            }
        }
    });
    sf::RenderTexture target; // and the main loop drawing the visible window meanwhile
    ASSERT_TRUE(target.create(480, 270));
    startMapLoaders();
    testing::internal::CaptureStdout();
    int frames = 0;
    bool ready = false;
    while (!ready) {
        world.visibleWindow.store(
            {frames % 200, frames % 200 + 23, frames % 230, frames % 230 + 14});
        drawGroundPass(target);
        drawObjectPass(target);
        ready = checkMapReady();
        ++frames;
    }
    const std::string console = testing::internal::GetCapturedStdout();
    loading.store(false);
    reader.join();

    EXPECT_EQ(tornCells.load(), 0);
    EXPECT_EQ(console, "Thread Lv 0 Finito\nThread Lv 1 Finito\n");
    EXPECT_FALSE(threads.groundLoader.joinable());
    EXPECT_FALSE(threads.objectLoader.joinable());
    EXPECT_FALSE(checkMapReady()); // once only
    for (int row = 0; row < kGridSize; row += 7) {
        for (int col = 0; col < kGridSize; col += 3) {
            ASSERT_TRUE(cellIsWhole(row, col));
            const Tile& cell = cellAt(row, col);
            EXPECT_TRUE(cell.loaded);
            EXPECT_EQ(cell.groundId, groundValue(row, col));
            EXPECT_EQ(cell.objectId, objectValue(row, col));
        }
    }
}

// The frames keep a picture of the world they drew while the loaders filled it: a cell that a frame
// drew before its values were read is drawn again once they are, and the picture of a camera that
// stood still through the loading is the grid's at the end.
TEST_F(MapLoaderThreadTest, TheKeptPictureOfTheWorldCatchesUpWithTheLoaders) {
    makeCellSheet(tileSheet, 320, 5, 3);
    makeCellSheet(objectSheet, 320, 5, 10);
    sf::RenderTexture cached;
    sf::RenderTexture direct;
    ASSERT_TRUE(cached.create(480, 270));
    ASSERT_TRUE(direct.create(480, 270));
    camera.setCenter(12000, 24000); // the last rows, which the loaders reach last
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    cached.setView(wholePixelView(camera, cached));
    direct.setView(cached.getView());
    drawWorldLayers(cached); // the first frame comes before the loaders have read a value
    testing::internal::CaptureStdout();
    startMapLoaders();
    int frames = 0;
    for (bool ready = false; !ready; ++frames) {
        cached.clear(sf::Color::Black);
        drawWorldLayers(cached);
        ready = checkMapReady();
    }
    testing::internal::GetCapturedStdout();
    cached.clear(sf::Color::Black);
    drawWorldLayers(cached);
    direct.clear(sf::Color::Black);
    drawGroundPass(direct);
    drawObjectPass(direct);
    cached.display();
    direct.display();
    const PictureDifference difference =
        differenceOf(cached.getTexture().copyToImage(), direct.getTexture().copyToImage());
    EXPECT_LE(difference.largest, 2) << frames << " frames";
    EXPECT_LT(difference.pixels, 480 * 270 / 100) << frames << " frames";
    tileSheet = sf::Texture();
    objectSheet = sf::Texture();
}

TEST_F(MapLoaderThreadTest, ABrokenMapIsNeverTakenAsCompleteAndTheLoadersStillJoin) {
    writeTextFile(dir_ / "assets/maps/mapLv1.txt", mapText(objectValue, 125));

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    startMapLoaders();
    while (!mapLoad.failed.load() || !mapLoad.groundFinished.load()) {
        EXPECT_FALSE(checkMapReady());
        std::this_thread::yield();
    }
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_FALSE(checkMapReady());
    }
    stopMapLoaders();
    const std::string console = testing::internal::GetCapturedStdout();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(console, "");
    EXPECT_NE(errors.find("mapLv1.txt: row 125, column 10"), std::string::npos) << errors;
    EXPECT_FALSE(threads.groundLoader.joinable());
    EXPECT_FALSE(threads.objectLoader.joinable());
}

TEST_F(MapLoaderThreadTest, ClosingWhileTheLoadersRunStopsThemAtTheNextLine) {
    startMapLoaders();
    stopMapLoaders(); // as the game does when its window closes at once
    EXPECT_FALSE(threads.groundLoader.joinable());
    EXPECT_FALSE(threads.objectLoader.joinable());
}
