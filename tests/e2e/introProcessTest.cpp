// introProcessTest.cpp -- the real game opens with its flight: the first credit card over a world
// that moves under it.
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <thread>
#include <utility>

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

} // namespace

// The card of the first leg, counted in the rectangle it is drawn in.
int redCardPixels(const sf::Image& picture) {
    return countColour(picture, sf::Color(255, 0, 0), 300, 440, 800, 700);
}

// The first leg lasts 262 frames, over four seconds: the card is looked for from the window's
// first frame on, and the second picture is taken well within the leg.
TEST(IntroProcessTest, TheGameOpensWithTheFirstCreditCardOverAMovingWorld) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the end-to-end tests need an X display";
    GameProcess game(KAIVA_BUILD_DIR);
    const XWindow window = game.waitForWindow(seconds(15));
    ASSERT_NE(window, 0u) << game.errors();
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
    EXPECT_GT(countChanged(first, later, 1000, 0, 1920, 1080), 920 * 1080 / 10)
        << "the world moves under the card";

    game.requestClose(window);
    EXPECT_EQ(game.waitForExit(seconds(2)), 0);
}
