// assetFilesTest.cpp -- what stands at an asset's path decides whether the library is asked to
// open it: a folder, a pipe or a device in its place is refused, quickly, and a music refusing it
// stays silent. The chapter card's jingle, broken every way, leaves the card playing through.
#include "shell/assetFiles.h"
#include "shell/audio.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/quests.h"

#include "brokenFiles.h"
#include "testSupport.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

struct AssetPlace {
    const char* name;
    std::function<void(const fs::path& at)> make;
    bool mayBeOpened;
};

void makeFile(const fs::path& at) {
    writeTextFile(at, "RIFF");
}

const AssetPlace kPlaces[] = {
    {"a regular file", makeFile, true},
    {"nothing", [](const fs::path&) {}, true},
    {"a link to a regular file",
     [](const fs::path& at) {
         makeFile(at.string() + ".real");
         fs::create_symlink(at.string() + ".real", at);
     },
     true},
    {"a link to nothing", [](const fs::path& at) { fs::create_symlink("/nonexistent/x.wav", at); },
     true},
    {"a folder", [](const fs::path& at) { fs::create_directory(at); }, false},
    {"a pipe", [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); }, false},
    {"a link to /dev/zero", [](const fs::path& at) { fs::create_symlink("/dev/zero", at); }, false},
    {"a link to a folder", [](const fs::path& at) { fs::create_directory_symlink("/tmp", at); },
     false},
};

// Runs `work` on a thread of its own; false when it has not ended after `limit` (the thread is
// then left behind: the test has failed and its process ends soon).
bool endsWithin(seconds limit, std::function<void()> work) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ended = done->get_future();
    std::thread([work, done]() mutable {
        work();
        work = nullptr; // what it holds goes with the test, not with this thread
        done->set_value();
    }).detach();
    return ended.wait_for(limit) == std::future_status::ready;
}

} // namespace

TEST(AssetFiles, OnlyARegularFileOrNothingIsHandedToTheLibrary) {
    const fs::path folder = makeTempDir("asset-places");
    int n = 0;
    for (const AssetPlace& place : kPlaces) {
        SCOPED_TRACE(place.name);
        const fs::path at = folder / ("asset" + std::to_string(++n));
        place.make(at);
        EXPECT_EQ(assetMayBeOpened(at.string()), place.mayBeOpened);
    }
    fs::remove_all(folder);
}

// SFML's sound readers spin forever on a folder's read error; a pipe blocks the open until a
// writer comes. The music must give up on both at once and play nothing.
TEST(AssetFiles, AMusicInAFolderOrPipeFailsAtOnceAndStaysSilent) {
    ASSERT_TRUE(audioDeviceAvailable()) << "the tests run on OpenAL Soft's null driver";
    const fs::path folder = makeTempDir("music-places");
    fs::create_directory(folder / "folder.wav");
    ASSERT_EQ(mkfifo((folder / "pipe.wav").c_str(), 0600), 0);
    for (const char* name : {"folder.wav", "pipe.wav"}) {
        SCOPED_TRACE(name);
        const std::string path = (folder / name).string();
        auto music = std::make_shared<GameMusic>();
        auto opened = std::make_shared<bool>(true);
        ASSERT_TRUE(endsWithin(seconds(10),
                               [music, opened, path] {
                                   *opened = music->openFromFile(path);
                                   music->play();
                               }))
            << "opening " << path << " never ended";
        EXPECT_FALSE(*opened);
        EXPECT_FALSE(music->isPlaying());
        EXPECT_EQ(music->openedFile(), "");
    }
    fs::remove_all(folder);
}

// Like SFML's own open, a refused one stops what the music played before.
TEST(AssetFiles, AMusicRefusingAFolderStopsWhatItPlayed) {
    ASSERT_TRUE(audioDeviceAvailable());
    const fs::path folder = makeTempDir("music-stop");
    fs::create_directory(folder / "folder.wav");
    GameMusic music;
    ASSERT_TRUE(music.openFromFile(std::string(KAIVA_ASSETS_DIR) + "/music/changeChapter.wav"));
    music.play();
    ASSERT_TRUE(music.isPlaying());
    EXPECT_FALSE(music.openFromFile((folder / "folder.wav").string()));
    EXPECT_FALSE(music.isPlaying());
    fs::remove_all(folder);
}

namespace {

constexpr int kCardFrames = 400; // the card takes some 110 frames of 50 ms

// The chapter card in a folder of its own whose jingle is broken; the rest as the card test sets
// it up. The card opens its jingle by its relative path, so the test works from that folder.
class BrokenJingleTest : public PlayTest, public ::testing::WithParamInterface<Breakage> {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(screen.create(1920, 1080));
        for (int i = 0; i < kQuestCount; ++i) {
            initQuest(i);
        }
        const fs::path assets = KAIVA_ASSETS_DIR;
        worldMusic.openFromFile((assets / "music/worldHost.wav").string());
        worldMusic.play();
        story.currentQuest = 2;
        story.transitionPending = true;
        folder = makeTempDir("broken-jingle");
        fs::create_directories(folder / "assets/music");
        fs::copy_file(assets / "music/changeChapter.wav",
                      folder / "assets/music/changeChapter.wav");
        GetParam().apply(folder / "assets/music/changeChapter.wav");
        home = fs::current_path();
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
        screenMusic.reset();
        PlayTest::TearDown();
    }

    sf::RenderTexture screen;
    fs::path folder;
    fs::path home;
};

} // namespace

TEST_P(BrokenJingleTest, TheCardPlaysThroughAndTheWorldsMusicComesBack) {
    int frames = 0;
    for (; story.transitionPending && frames < kCardFrames; ++frames) {
        playFrame(screen, 0.05f);
    }
    EXPECT_FALSE(story.transitionPending) << "the card never ended";
    EXPECT_GT(frames, 50) << "the card darkened, held and lifted";
    EXPECT_TRUE(worldMusic.isPlaying());
    EXPECT_EQ(screenMusic.openedFile().empty(), !GetParam().soundStillOpens);
}

INSTANTIATE_TEST_SUITE_P(EveryBreakage, BrokenJingleTest, ::testing::ValuesIn(kBreakages),
                         [](const auto& info) { return std::string(info.param.name); });
