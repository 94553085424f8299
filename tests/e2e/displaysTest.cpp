// displaysTest.cpp -- the real game on screens that have no 1920 x 1080 mode: smaller and taller,
// larger, wider. It takes the screen it is given, shows the whole 1920 x 1080 picture scaled to fit
// with black bars where the shapes differ, flies its intro over it, and points the tile cursor
// at the cell under the mouse at the picture's scale.
#include "e2e/gameProcess.h"

#include "testSupport.h"

#include <cmath>
#include <set>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct ScreenCase {
    const char* name;
    unsigned width, height;
    // Where the picture lies on it, in screen pixels; black bars all around it.
    unsigned pictureLeft, pictureTop, pictureWidth, pictureHeight;
};

const ScreenCase kScreens[] = {
    {"Smaller1280x1024", 1280, 1024, 0, 152, 1280, 720}, // scaled by 2/3, bars above and below
    {"Larger2560x1440", 2560, 1440, 0, 0, 2560, 1440},   // scaled by 4/3, no bar
    {"Wider2560x1080", 2560, 1080, 320, 0, 1920, 1080},  // unscaled, bars left and right
};

void PrintTo(const ScreenCase& screen, std::ostream* out) {
    *out << screen.name;
}

constexpr unsigned kCellPixels = 100;
constexpr unsigned kCornerPatch = 24;

bool insidePicture(const ScreenCase& screen, unsigned x, unsigned y) {
    return x >= screen.pictureLeft && x < screen.pictureLeft + screen.pictureWidth &&
           y >= screen.pictureTop && y < screen.pictureTop + screen.pictureHeight;
}

// Every pixel outside the picture, on a grid of 16 (and the screen's last row and column).
int litBarPixels(const sf::Image& shot, const ScreenCase& screen) {
    int lit = 0;
    for (unsigned y = 0; y < screen.height; y = y + 16 < screen.height ? y + 16 : y + 1) {
        for (unsigned x = 0; x < screen.width; x = x + 16 < screen.width ? x + 16 : x + 1) {
            if (!insidePicture(screen, x, y) && shot.getPixel(x, y) != sf::Color::Black) {
                ++lit;
            }
        }
    }
    return lit;
}

// The world fills the picture up to its corners: a patch just inside each one is not all black.
bool cornersDrawn(const sf::Image& shot, const ScreenCase& screen) {
    const unsigned right = screen.pictureLeft + screen.pictureWidth - kCornerPatch;
    const unsigned bottom = screen.pictureTop + screen.pictureHeight - kCornerPatch;
    for (const sf::Vector2u corner :
         {sf::Vector2u(screen.pictureLeft, screen.pictureTop),
          sf::Vector2u(right, screen.pictureTop), sf::Vector2u(screen.pictureLeft, bottom),
          sf::Vector2u(right, bottom)}) {
        std::set<sf::Uint32> colours;
        for (unsigned y = corner.y; y < corner.y + kCornerPatch; ++y) {
            for (unsigned x = corner.x; x < corner.x + kCornerPatch; ++x) {
                colours.insert(shot.getPixel(x, y).toInteger());
            }
        }
        if (colours.size() < 2 && *colours.begin() == sf::Color::Black.toInteger()) {
            return false;
        }
    }
    return true;
}

int changedPixels(const sf::Image& a, const sf::Image& b, const ScreenCase& screen) {
    int changed = 0;
    for (unsigned y = screen.pictureTop; y < screen.pictureTop + screen.pictureHeight; y += 4) {
        for (unsigned x = screen.pictureLeft; x < screen.pictureLeft + screen.pictureWidth;
             x += 4) {
            changed += a.getPixel(x, y) != b.getPixel(x, y) ? 1 : 0;
        }
    }
    return changed;
}

// The width of the tile cursor's square around the mouse, from its blue outline left and right of
// it on the mouse's row; 0 when an edge is not seen (a line thinner than a pixel may fall between
// pixel centres in a frame).
unsigned cursorWidthAround(const sf::Image& shot, sf::Vector2u mouse, unsigned reach) {
    const auto blueAt = [&](int x) {
        return shot.getPixel(static_cast<unsigned>(x), mouse.y) == sf::Color::Blue;
    };
    const int from = static_cast<int>(mouse.x);
    const int span = static_cast<int>(reach);
    int left = -1;
    for (int x = from; x > from - span && left < 0; --x) {
        left = blueAt(x) ? x : -1;
    }
    int right = -1;
    for (int x = from; x < from + span && right < 0; ++x) {
        right = blueAt(x) ? x : -1;
    }
    return left >= 0 && right >= 0 ? static_cast<unsigned>(right - left) : 0;
}

class RealGameScreens : public ::testing::TestWithParam<ScreenCase> {};

} // namespace

// Each on an X screen of the test's own, of the case's size.
TEST_P(RealGameScreens, TheWholePictureShowsScaledToFitAndTheMouseMeetsItsCell) {
    const ScreenCase& screen = GetParam();
    const OwnScreen own(std::to_string(screen.width) + "x" + std::to_string(screen.height) + "x24");
    ASSERT_FALSE(own.name().empty()) << "no X screen of the test's own";
    GameProcess game(KAIVA_BUILD_DIR);
    const XWindow window = game.waitForWindow(seconds(30));
    ASSERT_NE(window, 0u) << game.errors();
    const WindowGeometry geometry = windowGeometry(game.display(), window);
    EXPECT_EQ(geometry.width, screen.width);
    EXPECT_EQ(geometry.height, screen.height);
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30)));

    const float scale = static_cast<float>(screen.pictureWidth) / 1920;
    const sf::Vector2u mouse(screen.pictureLeft + screen.pictureWidth * 3 / 4,
                             screen.pictureTop + screen.pictureHeight * 3 / 4);
    const std::string move =
        "xdotool mousemove " + std::to_string(mouse.x) + " " + std::to_string(mouse.y);
    ASSERT_EQ(std::system(move.c_str()), 0);
    std::this_thread::sleep_for(milliseconds(300));

    // The first frames take their time on a busy machine: the screen is judged once one shows.
    sf::Image first = takeScreenshot(game.display());
    const auto giveUp = std::chrono::steady_clock::now() + seconds(15);
    while (!cornersDrawn(first, screen) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(milliseconds(100));
        first = takeScreenshot(game.display());
    }
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    first.saveToFile((shots / ("e2e-screen-" + std::string(screen.name) + ".png")).string());
    EXPECT_EQ(litBarPixels(first, screen), 0) << "the bars are black";
    EXPECT_TRUE(cornersDrawn(first, screen)) << "the world reaches every corner of the picture";

    const unsigned expected = static_cast<unsigned>(std::lround(kCellPixels * scale));
    unsigned width = 0;
    // Frames of a slow build come seldom: the edges are looked for in the frames of 15 s.
    const auto cursorGiveUp = std::chrono::steady_clock::now() + seconds(15);
    while (width == 0 && std::chrono::steady_clock::now() < cursorGiveUp) {
        width = cursorWidthAround(takeScreenshot(game.display()), mouse, expected + 4);
    }
    EXPECT_NEAR(static_cast<double>(width), expected, 2.0) << "the tile cursor's square";

    const sf::Image later = takeScreenshot(game.display());
    const int samples = static_cast<int>((screen.pictureWidth / 4) * (screen.pictureHeight / 4));
    EXPECT_GT(changedPixels(first, later, screen), samples / 10) << "the intro flies on";

    game.requestClose(window);
    EXPECT_EQ(game.waitForExit(closeGrace()), 0);
}

INSTANTIATE_TEST_SUITE_P(Screens, RealGameScreens, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });
