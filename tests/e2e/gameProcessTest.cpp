// gameProcessTest.cpp -- the real game under the tests' X display: it opens its full-screen
// window, draws, reads its maps, and ends with status 0 however it is closed, even with assets
// missing, a broken map or no sound device (other screens: displaysTest.cpp).
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <set>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Distinct colours in a coarse sample of the picture: a drawn world has many, a blank screen one.
std::size_t colourVariety(const sf::Image& picture) {
    std::set<sf::Uint32> colours;
    for (unsigned y = 0; y < picture.getSize().y; y += 37) {
        for (unsigned x = 0; x < picture.getSize().x; x += 41) {
            colours.insert(picture.getPixel(x, y).toInteger());
        }
    }
    return colours.size();
}

class GameProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the end-to-end tests need an X display";
    }
};

} // namespace

TEST_F(GameProcessTest, OpensItsFullScreenWindowLoadsTheMapAndClosesWithStatusZero) {
    GameProcess game(KAIVA_BUILD_DIR);
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << game.errors();
    const WindowGeometry geometry = windowGeometry(game.display(), window);
    EXPECT_EQ(geometry.x, 0);
    EXPECT_EQ(geometry.y, 0);
    EXPECT_EQ(geometry.width, 1920u);
    EXPECT_EQ(geometry.height, 1080u);

    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(15))) << game.console();
    std::this_thread::sleep_for(milliseconds(500)); // a few frames of the loaded world
    const sf::Image picture = takeScreenshot(game.display());
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    picture.saveToFile((shots / "e2e-start.png").string());
    EXPECT_GT(colourVariety(picture), 20u);

    game.requestClose(window);
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
    EXPECT_EQ(game.console(), "Thread Lv 0 Finito\nThread Lv 1 Finito\n");
    EXPECT_EQ(game.errors().find("Failed to"), std::string::npos) << "an asset did not load:\n"
                                                                  << game.errors();
}

TEST_F(GameProcessTest, EscapeClosesTheGameLikeTheCloseButton) {
    GameProcess game(KAIVA_BUILD_DIR);
    ASSERT_NE(game.waitForWindow(seconds(15)), 0u) << game.errors();
    std::this_thread::sleep_for(milliseconds(300));
    game.pressKey("Escape", milliseconds(150));
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
}

TEST_F(GameProcessTest, ClosingAtOnceWhileTheMapStillLoadsEndsCleanly) {
    GameProcess game(KAIVA_BUILD_DIR);
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u);
    game.requestClose(window);
    EXPECT_EQ(game.waitForExit(closeGrace()), 0) << game.errors();
}

// A missing font or heroine picture is said once on the console and the game goes on.
TEST_F(GameProcessTest, AMissingFontOrHeroinePictureIsSaidOnceAndTheGameGoesOn) {
    struct Missing {
        const char* file;
        const char* line;
    };
    const Missing cases[] = {{"font/pixelTxt.ttf", "Font non caricato\n"},
                             {"textures/kaiva-map.png", "Kaiva texture not loaded\n"}};
    for (const Missing& missing : cases) {
        SCOPED_TRACE(missing.file);
        const std::filesystem::path folder = copyOfAssets("missing");
        std::filesystem::remove(folder / "assets" / missing.file);
        GameProcess game(folder);
        const XWindow window = game.waitForWindow(seconds(15));
        ASSERT_NE(window, 0u) << game.errors();
        ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(15)));
        game.requestClose(window);
        EXPECT_EQ(game.waitForExit(closeGrace()), 0);
        EXPECT_EQ(countOf(game.console(), missing.line), 1u) << game.console();
    }
}

TEST_F(GameProcessTest, ABrokenMapIsReportedNeverCompletedAndTheGameStillClosesCleanly) {
    const std::filesystem::path folder = copyOfAssets("badmap");
    std::string objects = readTextFile(folder / "assets/maps/mapLv1.txt");
    const std::size_t row3 = objects.find('\n', objects.find('\n', objects.find('\n') + 1) + 1) + 1;
    objects.replace(row3, 1, " "); // row 3 now starts with an empty value
    writeTextFile(folder / "assets/maps/mapLv1.txt", objects);
    GameProcess game(folder);
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << game.errors();
    std::this_thread::sleep_for(seconds(2));
    EXPECT_EQ(countOf(game.errors(), "mapLv1.txt: row 3, column 0"), 1u) << game.errors();
    game.requestClose(window);
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
    EXPECT_EQ(game.console().find("Finito"), std::string::npos) << game.console();
}

// With SFML 2.5 and no sound device, a playing music spins a core and floods the console with
// OpenAL errors; the game must notice and keep its music silent instead.
TEST_F(GameProcessTest, WithoutASoundDeviceMusicIsOffQuietlyAndCheaply) {
    GameProcess quiet(KAIVA_BUILD_DIR, {{"ALSOFT_DRIVERS", "no-such-driver"}});
    const XWindow window = quiet.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << quiet.errors();
    const double cpuAtStart = quiet.cpuSecondsBesidesDrawing();
    std::this_thread::sleep_for(seconds(3));
    const double cpuInThreeSeconds = quiet.cpuSecondsBesidesDrawing() - cpuAtStart;
    quiet.requestClose(window);
    EXPECT_EQ(quiet.waitForExit(closeGrace()), 0);
    EXPECT_EQ(countOf(quiet.errors(), "music is off"), 1u) << quiet.errors().substr(0, 2000);
    EXPECT_LT(quiet.errors().size(), 2000u) << quiet.errors().substr(0, 2000);
    EXPECT_LT(quiet.console().size(), 200u);
    EXPECT_LT(cpuInThreeSeconds, 0.5) << "a spinning music thread would take a whole core";
}
