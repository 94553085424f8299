// badAssetsTest.cpp -- the real game with its font, or its pictures and music, broken in every way
// a file can be: gone, empty, cut short, a folder, random bytes, a pipe, a device. It opens, loads
// its world, says once what it says for a missing font or heroine picture and nothing else of its
// own, lets the library's lines neither flood nor go on while it plays, and closes with status 0
// and no thread left.
#include "brokenFiles.h"
#include "e2e/gameProcess.h"
#include "e2e/witnessedThreads.h"

#include "testSupport.h"

#include <algorithm>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// Files broken together in one launch. The font goes alone: without it no text has glyphs, which
// would hide what the pictures and music do to the screens that write text. Pictures and music
// are read by separate code into separate objects, so one launch tries them all.
struct AssetGroup {
    const char* name;
    std::vector<const char*> files;
    const char* consoleLine; // what the game says of it on the console
};

const AssetGroup kGroups[] = {
    {"Font", {"font/pixelTxt.ttf"}, "Font non caricato\n"},
    {"PicturesAndMusic",
     {"textures/tileTable.png", "textures/objectTable.png", "textures/NPC-map.png",
      "textures/descrizioni-map.png", "textures/speech-map.png", "textures/talk-map.png",
      "textures/icon-map.png", "textures/battle.png", "textures/weapons-map.png",
      "textures/kaiva-map.png", "music/worldHost.wav", "music/introMusic.wav",
      "music/changeChapter.wav"},
     "Kaiva texture not loaded\n"},
};

// SFML says once that the window has no vertical sync, and at most one line per file it fails to
// read; anything beyond that is a flood.
constexpr std::size_t kLibraryLinesBesidesFiles = 1;

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Failures name the case, not its bytes.
void PrintTo(const AssetGroup& group, std::ostream* out) {
    *out << group.name;
}

using BadAssetCase = std::tuple<AssetGroup, Breakage>;

class RealGameBadAssets : public EndToEndTest<BadAssetCase> {};

} // namespace

TEST_P(RealGameBadAssets, TheGamePlaysSaysOnlyItsOwnLineAndClosesWithStatusZero) {
    const auto& [group, breakage] = GetParam();
    const fs::path folder = copyOfAssets("bad-assets");
    for (const char* file : group.files) {
        breakage.apply(folder / "assets" / file);
    }
    const ThreadWitness witness;
    {
        GameProcess game(folder, witness.environment());
        const XWindow window = game.waitForWindow(seconds(30));
        ASSERT_NE(window, 0u) << game.errors().substr(0, 2000);
        ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30)))
            << "start-up never reached the frame loop\n"
            << game.console() << game.errors().substr(0, 2000);
        std::this_thread::sleep_for(seconds(1));
        const std::string errorsOnceLoaded = game.errors();
        std::this_thread::sleep_for(seconds(2));
        EXPECT_EQ(game.errors(), errorsOnceLoaded) << "said again while it plays";
        game.requestClose(window);
        EXPECT_EQ(game.waitForExit(closeGrace()), 0) << game.errors().substr(0, 2000);

        EXPECT_EQ(game.console(),
                  std::string(group.consoleLine) + "Thread Lv 0 Finito\nThread Lv 1 Finito\n");
        const std::string errors = game.errors();
        EXPECT_LE(lineCount(errors), group.files.size() + kLibraryLinesBesidesFiles) << errors;
        EXPECT_EQ(countOf(errors, "kaiva:"), 0u) << "the game reports no asset of its own\n"
                                                 << errors;
    }
    EXPECT_EQ(witness.threadsLeft(), ThreadWitness::mainThreadAlone());
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Assets, RealGameBadAssets,
                         ::testing::Combine(::testing::ValuesIn(kGroups),
                                            ::testing::ValuesIn(kBreakages)),
                         [](const auto& info) {
                             return std::string(std::get<1>(info.param).name) + "_" +
                                    std::get<0>(info.param).name;
                         });
