// frameTimerTest.cpp -- the frame timer preloaded into the real game, as the frame measurements do:
// the game runs and closes as usual and every frame it showed is noted, in each of our builds (in
// the AddressSanitizer one the timer is loaded after the sanitizer's runtime).
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <sstream>
#include <thread>
#include <vector>

namespace {

using std::chrono::seconds;

struct NotedFrame {
    double at;    // ms since the first noted frame
    double slept; // ms the drawing thread slept before it
};

std::vector<NotedFrame> readFrames(const std::filesystem::path& file) {
    std::vector<NotedFrame> frames;
    std::istringstream lines(readTextFile(file));
    std::string line;
    while (std::getline(lines, line)) { // milliseconds: since the first swap, slept, CPU used
        std::istringstream fields(line);
        NotedFrame frame{};
        if (fields >> frame.at >> frame.slept) {
            frames.push_back(frame);
        }
    }
    return frames;
}

} // namespace

TEST(FrameTimerTest, NotesEveryFrameTheGameShowsAndLeavesTheGameAsItIs) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the end-to-end tests need an X display";
    const std::filesystem::path log = makeTempDir("frametimer") / "frames.txt";
    GameProcess game(KAIVA_BUILD_DIR,
                     {{"LD_PRELOAD", KAIVA_FRAMETIMER}, {"FRAMETIMER_OUT", log.string()}});
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << game.errors();
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(15))) << game.errors();
    std::this_thread::sleep_for(seconds(2));
    game.requestClose(window);
    ASSERT_EQ(game.waitForExit(closeGrace()), 0) << game.errors();

    const std::vector<NotedFrame> frames = readFrames(log);
    ASSERT_GE(frames.size(), 20u) << "two seconds of play, even in a slow build";
    EXPECT_EQ(frames.front().at, 0.0);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const double interval = frames[i].at - frames[i - 1].at;
        ASSERT_GT(interval, 0.0) << "frame " << i;
        EXPECT_GE(frames[i].slept, 0.0) << "frame " << i;
        EXPECT_LE(frames[i].slept, interval + 0.01) << "frame " << i; // printed to 0.001 ms
    }
}
