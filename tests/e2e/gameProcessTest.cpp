// gameProcessTest.cpp -- the real game started and closed, as a player first meets it: its window
// takes the whole screen, the intro opens with the first credit card over a world that moves under
// it, both maps load, the frame timer that the frame measurements preload notes every frame it
// shows, and the close button ends it with status 0 and no asset missing. The quick test command
// runs this one launch of the real game; closing in every phase, broken assets and maps, other
// screens and whole playthroughs are the full run's (closingTest.cpp and the files beside it).
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <set>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Pixels of exactly this colour inside the rectangle [left, right) x [top, bottom).
int countColour(const sf::Image& picture, sf::Color colour, unsigned left, unsigned top,
                unsigned right, unsigned bottom) {
    int count = 0;
    for (unsigned y = top; y < bottom; ++y) {
        for (unsigned x = left; x < right; ++x) {
            count += picture.getPixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// Pixels that differ between two pictures inside the same rectangle.
int countChanged(const sf::Image& a, const sf::Image& b, unsigned left, unsigned top,
                 unsigned right, unsigned bottom) {
    int count = 0;
    for (unsigned y = top; y < bottom; ++y) {
        for (unsigned x = left; x < right; ++x) {
            count += a.getPixel(x, y) != b.getPixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

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

// The card of the first leg, counted in the rectangle it is drawn in.
int redCardPixels(const sf::Image& picture) {
    return countColour(picture, sf::Color(255, 0, 0), 300, 440, 800, 700);
}

struct NotedFrame {
    double at;    // ms since the first noted frame
    double slept; // ms the drawing thread slept before it
};

// The frame timer's file: milliseconds since the first swap, slept, CPU used; one line a frame.
std::vector<NotedFrame> readFrames(const std::filesystem::path& file) {
    std::vector<NotedFrame> frames;
    std::istringstream lines(readTextFile(file));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        NotedFrame frame{};
        if (fields >> frame.at >> frame.slept) {
            frames.push_back(frame);
        }
    }
    return frames;
}

class StartAndClose : public RealGameTest {};

} // namespace

// The first leg lasts 262 frames, over four seconds: the card is looked for from the window's first
// frame on, and the second picture is taken well within the leg.
TEST_F(StartAndClose, FullScreenTheIntrosFirstCardOverAMovingWorldEveryFrameNotedStatusZero) {
    const std::filesystem::path log = makeTempDir("frametimer") / "frames.txt";
    GameProcess game(KAIVA_BUILD_DIR,
                     {{"LD_PRELOAD", KAIVA_FRAMETIMER}, {"FRAMETIMER_OUT", log.string()}});
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << game.errors();
    const WindowGeometry geometry = windowGeometry(game.display(), window);
    EXPECT_EQ(geometry.x, 0);
    EXPECT_EQ(geometry.y, 0);
    EXPECT_EQ(geometry.width, 1920u);
    EXPECT_EQ(geometry.height, 1080u);

    sf::Image first = takeScreenshot(game.display());
    const auto giveUp = std::chrono::steady_clock::now() + seconds(15);
    while (redCardPixels(first) == 0 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(milliseconds(100));
        first = takeScreenshot(game.display());
    }
    std::this_thread::sleep_for(milliseconds(700));
    const sf::Image later = takeScreenshot(game.display());
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    first.saveToFile((shots / "e2e-intro-first.png").string());
    later.saveToFile((shots / "e2e-intro-later.png").string());
    for (const sf::Image* picture : {&std::as_const(first), &later}) {
        EXPECT_GT(redCardPixels(*picture), 1000) << "the heading and two names";
        EXPECT_EQ(countColour(*picture, sf::Color(255, 0, 0), 0, 440, 300, 700), 0)
            << "nothing of it left of x = 300";
    }
    EXPECT_GT(colourVariety(later), 20u) << "the world is drawn";
    EXPECT_GT(countChanged(first, later, 1000, 0, 1920, 1080), 920 * 1080 / 10)
        << "the world moves under the card";

    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(15))) << game.console();
    std::this_thread::sleep_for(seconds(1)); // frames enough to note, even in a slow build
    game.requestClose(window);
    ASSERT_EQ(game.waitForExit(closeGrace()), 0) << game.errors();
    EXPECT_EQ(game.console(), "Thread Lv 0 Finito\nThread Lv 1 Finito\n");
    EXPECT_EQ(game.errors().find("Failed to"), std::string::npos) << "an asset did not load:\n"
                                                                  << game.errors();

    const std::vector<NotedFrame> frames = readFrames(log);
    ASSERT_GE(frames.size(), 20u) << "the frame timer noted the frames shown";
    EXPECT_EQ(frames.front().at, 0.0);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const double interval = frames[i].at - frames[i - 1].at;
        ASSERT_GT(interval, 0.0) << "frame " << i;
        EXPECT_GE(frames[i].slept, 0.0) << "frame " << i;
        EXPECT_LE(frames[i].slept, interval + 0.01) << "frame " << i; // printed to 0.001 ms
    }
}
