// realPlayer.cpp -- playing the real binary: routes from the planner walked with held keys, the
// heroine's place asked of the game, screens told apart by their pixels.
#include "e2e/realPlayer.h"

#include "testSupport.h"

#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "story/dialogueScript.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"
#include "world/worldDrawing.h"

#include <SFML/Graphics/Text.hpp>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const std::string kAssets = KAIVA_ASSETS_DIR;
const sf::Vector2i kMousePark(1600, 420); // clear of the HUD, the pop-up and the dialogue box
const sf::FloatRect kPlayArea(0, 0, 6200, 6000);
constexpr float kClearance = 12;      // a run may end a few pixels off: keep that far from walls
constexpr float kSpeed = 200;         // pixels a second, walking
constexpr int kShortestPress = 30;    // milliseconds: shorter ones may fall between two frames
constexpr float kSlowFramePress = 40; // pixels: a press of 200 ms, longer than a slow frame
constexpr float kCloseEnough = 6;     // pixels short of a run's end that count as there
constexpr float kTalkReach = 90;

void run(const std::string& command) {
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

std::string keyName(sf::Keyboard::Key key) {
    switch (key) {
    case sf::Keyboard::A:
        return "a";
    case sf::Keyboard::D:
        return "d";
    case sf::Keyboard::W:
        return "w";
    default:
        return "s";
    }
}

sf::FloatRect boundsAt(sf::Vector2f at) {
    return {at.x, at.y, kHeroineSize, kHeroineSize};
}

// Where a character can be met on its round: its reach over its whole patrol leg.
sf::FloatRect roundOf(int index) {
    const CharacterSetUp& setUp = characterSetUps[index];
    const float x = characterStartTable[index].col * 100.0f;
    const float y = characterStartTable[index].row * 100.0f;
    const float leg = setUp.patrolRange * 100.0f + 10;
    if (setUp.direction == 0 || setUp.direction == 1) {
        return {x - leg - kTalkReach, y, 84 + 2 * leg + 2 * kTalkReach, 84};
    }
    if (setUp.direction == 2 || setUp.direction == 3) {
        return {x - kTalkReach, y - leg, 84 + 2 * kTalkReach, 84 + 2 * leg};
    }
    return {x - kTalkReach, y, 84 + 2 * kTalkReach, 84};
}

// Where to wait for a character: on its round, halfway along its leg (it walks through the
// heroine both ways), or beside it when it stands. The heroine's middle should lie within this.
sf::FloatRect meetingPlaceOf(int index) {
    const CharacterSetUp& setUp = characterSetUps[index];
    const float x = characterStartTable[index].col * 100.0f;
    const float y = characterStartTable[index].row * 100.0f;
    const float halfLeg = setUp.patrolRange * 50.0f;
    sf::Vector2f middle(x + 42, y + 42);
    switch (setUp.direction) {
    case 0:
        middle.x += halfLeg;
        break;
    case 1:
        middle.x -= halfLeg;
        break;
    case 2:
        middle.y -= halfLeg;
        break;
    case 3:
        middle.y += halfLeg;
        break;
    default: // it stands: beside it, within its reach
        return {x - kTalkReach + 10, y + 10, 84 + 2 * kTalkReach - 20, 64};
    }
    return {middle.x - 15, middle.y - 15, 30, 30};
}

// Where a player notes its presses: a file of this process's own, since players may run at once.
std::filesystem::path traceFile() {
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    return shots / ("play-trace-" + std::to_string(getpid()) + ".txt");
}

bool sameColour(sf::Color a, sf::Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

} // namespace

RealPlayer::RealPlayer(GameProcess& game) : game_(game), trace_(traceFile()) {
    resetGameState();
    EXPECT_TRUE(loadLayer(kAssets + "/maps/mapLv0.txt", MapLayer::Ground));
    EXPECT_TRUE(loadLayer(kAssets + "/maps/mapLv1.txt", MapLayer::Object));
    setUpHeroine();
    placeCharacters();
    planner_ = RoutePlanner();
    EXPECT_TRUE(talkSheet_.loadFromFile(kAssets + "/textures/talk-map.png"));
    EXPECT_TRUE(iconSheet_.loadFromFile(kAssets + "/textures/icon-map.png"));
    EXPECT_TRUE(font_.loadFromFile(kAssets + "/font/pixelTxt.ttf"));
}

sf::Image RealPlayer::screen() {
    return takeScreenshot(game_.display());
}

void RealPlayer::saveScreen(const std::string& name) {
    const std::filesystem::path shots = std::filesystem::path(KAIVA_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(shots);
    screen().saveToFile((shots / (name + ".png")).string());
}

void RealPlayer::parkMouse() {
    run("xdotool mousemove " + std::to_string(kMousePark.x) + " " + std::to_string(kMousePark.y));
}

// The box's border, where no text is written: most of it must show talk-map.png's box picture.
bool RealPlayer::dialogueShown(const sf::Image& shot) {
    int samples = 0;
    int matching = 0;
    const auto sample = [&](unsigned x, unsigned y) {
        const unsigned u = static_cast<unsigned>((x + 0.5f - 480) * 480 / 960);
        const unsigned v = 240 + static_cast<unsigned>((y + 0.5f - 596) * 240 / 384);
        ++samples;
        matching += sameColour(shot.getPixel(x, y), talkSheet_.getPixel(u, v)) ? 1 : 0;
    };
    for (unsigned x = 500; x < 1420; x += 40) {
        sample(x, 976);
    }
    for (unsigned y = 700; y < 960; y += 40) {
        sample(483, y);
        sample(1436, y);
    }
    return matching * 10 >= samples * 8;
}

bool RealPlayer::hudShown(const sf::Image& shot) const {
    return sameColour(shot.getPixel(400, 72), sf::Color(251, 242, 54));
}

bool RealPlayer::battleShown(const sf::Image& shot) const {
    return sameColour(shot.getPixel(850, 950), sf::Color::Blue) &&
           sameColour(shot.getPixel(700, 660), sf::Color::Blue);
}

bool RealPlayer::endShown(const sf::Image& shot) const {
    for (const sf::Vector2u corner : {sf::Vector2u(5, 5), sf::Vector2u(1914, 1074),
                                      sf::Vector2u(5, 1074), sf::Vector2u(1914, 5)}) {
        if (!sameColour(shot.getPixel(corner.x, corner.y), sf::Color::Black)) {
            return false;
        }
    }
    int white = 0;
    for (unsigned y = 250; y < 450; ++y) {
        for (unsigned x = 760; x < 1160; ++x) {
            white += sameColour(shot.getPixel(x, y), sf::Color::White) ? 1 : 0;
        }
    }
    return white > 200;
}

// Below the veil at its darkest (150 of 255) the brightest world is under 110; unveiled, the
// world's grass and sand average well above that.
bool RealPlayer::cardShown(const sf::Image& shot) const {
    long brightness = 0;
    int samples = 0;
    for (unsigned y = 20; y < 1080; y += 97) {
        for (unsigned x = 20; x < 1920; x += 101) {
            if (y < 380 || y > 700) { // clear of the title and the objective
                const sf::Color c = shot.getPixel(x, y);
                brightness += c.r + c.g + c.b;
                ++samples;
            }
        }
    }
    int white = 0;
    for (unsigned y = 412; y < 476; ++y) {
        for (unsigned x = 400; x < 1520; x += 2) {
            white += sameColour(shot.getPixel(x, y), sf::Color::White) ? 1 : 0;
        }
    }
    return brightness < samples * 3L * 70 && white > 100;
}

// The panel's top band, above the enlarged heroine and the equipment squares: where icon-map.png's
// panel picture is opaque, the screen shows it, at twice its size.
bool RealPlayer::inventoryShown(const sf::Image& shot) const {
    int samples = 0;
    int matching = 0;
    for (unsigned y = 224; y < 276; y += 6) {
        for (unsigned x = 644; x < 1276; x += 12) {
            const sf::Color texel = iconSheet_.getPixel((x - 640) / 2, 320 + (y - 220) / 2);
            if (texel.a == 255) {
                ++samples;
                matching += sameColour(shot.getPixel(x, y), texel) ? 1 : 0;
            }
        }
    }
    return samples > 0 && matching * 10 >= samples * 8;
}

// Where the lit and the plain pictures of a button differ, the screen shows the lit one.
bool RealPlayer::choiceLit(const sf::Image& shot, int k) const {
    return buttonLit(shot, k % 2 == 0 ? 530 : 985, k / 2 == 0 ? 720.8f : 841.8f);
}

// The pause's first entry, "Riprendi", lit as it opens: a choice button's lit look, centred at
// the top of the screen.
bool RealPlayer::pauseShown(const sf::Image& shot) const {
    return buttonLit(shot, 758, 230);
}

// A choice button's lit picture (talk-map.png, 320 x 80, drawn 405 x 96) with its top-left corner
// here; its label may cover a part.
bool RealPlayer::buttonLit(const sf::Image& shot, unsigned left, float top) const {
    int samples = 0;
    int matching = 0;
    for (unsigned y = static_cast<unsigned>(top) + 2; y < top + 94; y += 3) {
        for (unsigned x = left + 2; x < left + 403; x += 5) {
            const unsigned u = static_cast<unsigned>((x + 0.5f - left) * 320 / 405);
            const unsigned v = static_cast<unsigned>((y + 0.5f - top) * 80 / 96);
            const sf::Color lit = talkSheet_.getPixel(u, 160 + v);
            if (!sameColour(lit, talkSheet_.getPixel(u, 80 + v)) && lit.a == 255) {
                ++samples;
                matching += sameColour(shot.getPixel(x, y), lit) ? 1 : 0;
            }
        }
    }
    return samples > 0 && matching * 10 >= samples * 8;
}

// The card's title is centred on the screen in white at 64 pixels, above its middle.
float RealPlayer::cardTitleWidth(const sf::Image& shot) const {
    unsigned first = 1920;
    unsigned last = 0;
    for (unsigned y = 400; y < 530; ++y) {
        for (unsigned x = 0; x < 1920; ++x) {
            const sf::Color c = shot.getPixel(x, y);
            if (c.r > 200 && c.g > 200 && c.b > 200) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return last >= first ? static_cast<float>(last - first + 1) : 0;
}

float RealPlayer::titleWidth(const std::string& title) const {
    return sf::Text(title, font_, 64).getLocalBounds().width;
}

namespace {

// Gives up at once when the game has ended: a crash, or something that killed it.
template <class Seen>
bool waitUntil(GameProcess& game, std::chrono::seconds timeout, Seen seen,
               milliseconds between = milliseconds(100)) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        if (seen()) {
            return true;
        }
        if (const std::optional<int> status = game.waitForExit(milliseconds(0))) {
            ADD_FAILURE() << "the game ended while the player waited, status " << *status;
            return false;
        }
        std::this_thread::sleep_for(between);
    }
    return false;
}

} // namespace

bool RealPlayer::waitForRoaming(std::chrono::seconds timeout) {
    parkMouse();
    const bool roaming = waitUntil(game_, timeout, [&] {
        const sf::Image shot = screen();
        return hudShown(shot) && !dialogueShown(shot);
    });
    return roaming && locate();
}

bool RealPlayer::waitForDialogue(std::chrono::seconds timeout) {
    return waitUntil(game_, timeout, [&] { return dialogueShown(screen()); });
}

bool RealPlayer::waitForBattle(std::chrono::seconds timeout) {
    return waitUntil(game_, timeout, [&] { return battleShown(screen()); });
}

bool RealPlayer::waitForEndScreen(std::chrono::seconds timeout) {
    return waitUntil(game_, timeout, [&] { return endShown(screen()); });
}

bool RealPlayer::waitForCard(std::chrono::seconds timeout) {
    return waitUntil(game_, timeout, [&] { return cardShown(screen()); });
}

// The game tells where she is on SIGUSR1, one console line at the end of its next frame.
bool RealPlayer::locate() {
    const std::optional<std::string> told = game_.ask("heroine at ", std::chrono::seconds(5));
    if (!told) {
        ADD_FAILURE() << "the game did not tell where she is";
        return false;
    }
    float x = 0;
    float y = 0;
    if (std::sscanf(told->c_str(), "%f %f", &x, &y) != 2) {
        ADD_FAILURE() << "unreadable whereabouts: " << told->substr(0, 80);
        return false;
    }
    heroine_ = {x, y};
    return true;
}

// Holds a key through XTest from this process: no program is started between the press and the
// release, so the hold lasts what was asked, to a millisecond, on a busy machine too.
void RealPlayer::hold(const std::string& key, milliseconds duration) {
    XDisplay* display = game_.display();
    const unsigned code = XKeysymToKeycode(display, XStringToKeysym(key.c_str()));
    XTestFakeKeyEvent(display, code, True, 0);
    XFlush(display);
    std::this_thread::sleep_for(duration);
    XTestFakeKeyEvent(display, code, False, 0);
    XFlush(display);
}

void RealPlayer::walk(const std::string& key, float pixels) {
    const sf::Vector2f from = heroine_;
    hold(key, milliseconds(std::max(kShortestPress, static_cast<int>(pixels / kSpeed * 1000))));
    std::this_thread::sleep_for(milliseconds(60)); // the release seen, her last step taken
    locate();
    trace_ << key << " " << pixels << ": from " << from.x << "," << from.y << " to " << heroine_.x
           << "," << heroine_.y << std::endl;
}

// On a busy machine a frame may outlast a short press, which then moves her not at all: pressed
// again, longer each time, up to a slow frame's length, before she counts as held.
void RealPlayer::step(const std::string& key, float pixels) {
    const sf::Vector2f before = heroine_;
    walk(key, pixels);
    for (float longer = kSlowFramePress / 2; heroine_ == before && longer <= kSlowFramePress;
         longer *= 2) {
        walk(key, std::max(pixels, longer));
    }
}

// A straight run, walked in presses of at most 300 pixels, each followed by asking where she is: a
// press goes a frame or two too far or too short on a busy machine, so the next one is aimed at
// what is left. A character that speaks first may stop her on the way: the talk has begun. False
// when she is off the run's line (she went past its end, or a wall turned her aside).
bool RealPlayer::walkRun(const RoutePlanner::Run& run, int goal) {
    constexpr float kLongestPress = 300;
    constexpr float kOffCourse = 8;
    const bool across = run.key == sf::Keyboard::A || run.key == sf::Keyboard::D;
    const float sign = run.key == sf::Keyboard::A || run.key == sf::Keyboard::W ? -1.0f : 1.0f;
    for (int press = 0; press < 200; ++press) {
        const sf::Vector2f off = run.to - heroine_;
        const float ahead = sign * (across ? off.x : off.y);
        if (std::abs(across ? off.y : off.x) > kOffCourse || ahead < -kOffCourse) {
            return false;
        }
        if (ahead <= kCloseEnough) {
            return true;
        }
        const sf::Vector2f before = heroine_;
        step(keyName(run.key), std::min(ahead, kLongestPress));
        if (goal >= 0 && npcs[goal].startsTalk && dialogueShown(screen())) {
            return true;
        }
        if (std::abs(heroine_.x - before.x) + std::abs(heroine_.y - before.y) < 1) {
            return unstick(goal, keyName(run.key));
        }
    }
    return false;
}

// A press that moved her not at all, with no box on the screen: she stands held where the route
// said the way was free. The picture is kept for whoever reads the failure; E is pressed once (a
// character at hand answers, or a talk the screen did not show goes on), then she steps back the
// way she came so that the route is planned again. Three times in one walk and the walk fails.
bool RealPlayer::unstick(int goal, const std::string& key) {
    ++stuck_;
    trace_ << "held at " << heroine_.x << "," << heroine_.y << " (" << stuck_ << ")" << std::endl;
    saveScreen("play-held-" + std::to_string(stuck_));
    if (stuck_ > 3) {
        ADD_FAILURE() << "she stays held at " << heroine_.x << "," << heroine_.y;
        return false;
    }
    press("e");
    std::this_thread::sleep_for(milliseconds(300));
    if (goal >= 0 && dialogueShown(screen())) {
        return true;
    }
    const std::string back = key == "d" ? "a" : key == "a" ? "d" : key == "s" ? "w" : "s";
    walk(back, 60);
    return false;
}

bool RealPlayer::walkTo(const std::function<bool(const sf::FloatRect&)>& arrived, int goal) {
    const auto avoided = [goal](const sf::FloatRect& her) {
        for (int i = 0; i < kWorldCharacters; ++i) {
            if (i != goal && npcs[i].startsTalk && her.intersects(roundOf(i))) {
                return true;
            }
        }
        return false;
    };
    stuck_ = 0;
    for (int plans = 0; plans < 30 && !arrived(boundsAt(heroine_)); ++plans) {
        if (stuck_ > 3) {
            return false;
        }
        auto runs = planner_.runs(heroine_, arrived, avoided, kClearance, kPlayArea);
        // The planner's lattice starts where she stands: a narrow gap it finds closed from one
        // place may be open from a few pixels aside.
        for (const char* aside : {"w", "s", "a", "d"}) {
            if (!runs.empty()) {
                break;
            }
            step(aside, 6);
            runs = planner_.runs(heroine_, arrived, avoided, kClearance, kPlayArea);
        }
        if (runs.empty()) {
            ADD_FAILURE() << "no way from " << heroine_.x << "," << heroine_.y;
            return false;
        }
        for (const RoutePlanner::Run& next : runs) {
            if (!walkRun(next, goal)) {
                break; // off course: plan again from where she is
            }
            if (goal >= 0 && npcs[goal].startsTalk && dialogueShown(screen())) {
                return true;
            }
        }
    }
    return arrived(boundsAt(heroine_));
}

bool RealPlayer::walkToCharacter(int index) {
    const sf::FloatRect place = meetingPlaceOf(index);
    if (characterSetUps[index].direction == 4) {
        return walkTo([&](const sf::FloatRect& her) { return her.intersects(place); }, index);
    }
    return walkTo(
        [&](const sf::FloatRect& her) {
            return place.contains(her.left + her.width / 2, her.top + her.height / 2);
        },
        index);
}

bool RealPlayer::walkToObject(int col, int row) {
    // Well inside its reach (30 pixels to the left and above), not at its very edge.
    const sf::FloatRect reach(col * 100.0f - 20, row * 100.0f - 20, 110, 110);
    return walkTo([&](const sf::FloatRect& her) { return her.intersects(reach); }, -1);
}

void RealPlayer::press(const std::string& key) {
    game_.pressKey(key, milliseconds(120));
    std::this_thread::sleep_for(milliseconds(80));
}

void RealPlayer::presses(const std::string& key, int count) {
    for (int i = 0; i < count; ++i) {
        press(key);
    }
}

void RealPlayer::clickChoice(int k) {
    const int x = (k % 2 == 0 ? 530 : 985) + 200;
    const int y = (k / 2 == 0 ? 721 : 842) + 48;
    run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(milliseconds(150)); // the button lights up under the mouse
    run("xdotool mousedown 1");
    std::this_thread::sleep_for(milliseconds(120));
    run("xdotool mouseup 1");
    parkMouse();
}

void RealPlayer::noLongerSpeaksFirst(int index) {
    npcs[index].startsTalk = false;
}

void RealPlayer::pushedUp() {
    std::this_thread::sleep_for(milliseconds(100));
    locate();
}

void RealPlayer::askTheSage(int choice) {
    ASSERT_TRUE(walkToCharacter(kSage));
    press("e");
    ASSERT_TRUE(waitForDialogue(std::chrono::seconds(5)));
    saveScreen("play-sage");
    presses("e", 9); // four lines, then the question typed whole
    saveScreen("play-choices");
    clickChoice(choice);
    presses("e", 2);
    ASSERT_TRUE(waitForRoaming(std::chrono::seconds(30)))
        << "no chapter card after the sage's choice";
}

void RealPlayer::meetForBattle(int invader) {
    ASSERT_TRUE(walkToCharacter(invader));
    if (!waitForDialogue(std::chrono::seconds(30))) {
        saveScreen("play-failed-meeting-" + std::to_string(invader));
        FAIL() << "it never came by";
    }
    presses("e", 2); // the taunt whole, then "Sium": the battle
    ASSERT_TRUE(waitForBattle(std::chrono::seconds(5)));
}
