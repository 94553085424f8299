// launcherTest.cpp -- the game as the package installs it: its launcher, started from a folder
// that has no assets, finds its data, opens its window, loads the map with the linked font and
// closes with status 0 through the pause's way out. The private-prefix tests install the build
// under a temporary prefix (any user can); the installed-package test runs /usr/games/kaiva, which
// tests/package/installAndRun.sh puts there with apt.
#include "e2e/gameProcess.h"
#include "testSupport.h"

#include <cstdlib>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const std::filesystem::path kInstalledLauncher = "/usr/games/kaiva";

// What the player sees and the console says, from the start to the pause's way out.
void expectTheGameRunsThrough(const std::filesystem::path& launcher, const std::string& shot) {
    GameProcess game(makeTempDir("elsewhere"), {}, launcher);
    ASSERT_NE(game.waitForWindow(seconds(15)), 0u) << game.errors();
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(15))) << game.console();
    std::this_thread::sleep_for(milliseconds(500)); // a few frames of the loaded world
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    takeScreenshot(game.display()).saveToFile((shots / shot).string());

    game.leaveByThePause();
    EXPECT_EQ(game.waitForExit(seconds(5)), 0);
    // No "Font non caricato": the font was found through its link.
    EXPECT_EQ(game.console(), "Thread Lv 0 Finito\nThread Lv 1 Finito\n");
    EXPECT_EQ(game.errors().find("Failed to"), std::string::npos) << "an asset did not load:\n"
                                                                  << game.errors();
}

// The build installed as the package lays it out, under a prefix of its own; the game on an X
// screen of the test's own.
class PrivatePrefix : public RealGameTest {
protected:
    void SetUp() override {
        RealGameTest::SetUp();
        prefix_ = makeTempDir("prefix");
        const std::string command = std::string(KAIVA_CMAKE) + " --install " + KAIVA_BUILD_DIR +
                                    " --prefix " + prefix_.string() + " > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    void TearDown() override {
        std::filesystem::remove_all(prefix_);
        RealGameTest::TearDown();
    }

    std::filesystem::path launcher() const { return prefix_ / "games" / "kaiva"; }
    std::filesystem::path prefix_;
};

class InstalledPackage : public RealGameTest {};

} // namespace

TEST_F(PrivatePrefix, TheLauncherStartsTheGameFromAnyFolder) {
    expectTheGameRunsThrough(launcher(), "launcher-private-prefix.png");
}

TEST_F(PrivatePrefix, WithoutItsDataFolderTheLauncherSaysSoAndFails) {
    std::filesystem::remove_all(prefix_ / "share" / "games" / "kaiva");
    GameProcess game(makeTempDir("elsewhere"), {}, launcher());
    EXPECT_EQ(game.waitForExit(seconds(5)), 1);
    EXPECT_NE(game.errors().find("data folder"), std::string::npos) << game.errors();
    EXPECT_EQ(game.console(), "");
}

TEST_F(InstalledPackage, TheGameStartsFromAnyFolderThroughUsrGamesKaiva) {
    if (!std::filesystem::exists(kInstalledLauncher)) {
        GTEST_SKIP() << kInstalledLauncher << " is not installed (tests/package/installAndRun.sh "
                     << "installs the package and runs this test)";
    }
    expectTheGameRunsThrough(kInstalledLauncher, "launcher-installed.png");
}
