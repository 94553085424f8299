// gameProcess.h -- the real kaiva binary, started in a folder of our choice on the X display of the
// tests, driven with real X input and watched through its console, its window and its CPU time.
#pragma once

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>

// Xlib's types, without its macros (they clash with GoogleTest's names).
struct _XDisplay;
using XDisplay = _XDisplay;
using XWindow = unsigned long;

class GameProcess {
public:
    // Starts the game with `folder` as its working directory (where ./assets/ is looked up), the
    // test's environment plus `environment`: the build's binary, or `program` when given (such as
    // the installed launcher).
    GameProcess(const std::filesystem::path& folder,
                const std::map<std::string, std::string>& environment = {},
                const std::filesystem::path& program = {});
    ~GameProcess(); // kills the game if a test left it running

    // The game's top-level window titled "Kaiva", once it is mapped; 0 after the timeout.
    XWindow waitForWindow(std::chrono::milliseconds timeout);
    // Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW).
    void requestClose(XWindow window);
    // Destroys the window from this client, as `xdotool windowclose` does: no close request.
    void destroyWindow(XWindow window);
    // Holds a key (an xdotool key name) down for `hold`, then releases it.
    void pressKey(const std::string& key, std::chrono::milliseconds hold);
    // Leaves the game as a player does from play: Escape opens the pause, Down lights "Esci dal
    // gioco", E takes it.
    void leaveByThePause();

    // Sends the game a signal (kill(2)).
    void signal(int number) const;

    // The exit status once the process has ended; nothing if it still runs after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Waits until the console (standard output) contains `text`.
    bool waitForConsole(const std::string& text, std::chrono::milliseconds timeout);

    std::string console() const; // standard output so far
    std::string errors() const;  // standard error so far
    // User + system time so far of its threads other than the main thread and Mesa's software
    // renderer (the threads that draw the frames).
    double cpuSecondsBesidesDrawing() const;
    // Its resident memory now (VmRSS), in KiB; 0 once it has ended.
    long residentKib() const;
    // Asks the game with SIGUSR1 and waits for its answer on the console, a new line beginning
    // with `told`: what follows `told` to the end of the console; nothing when no answer comes
    // within `timeout` or the game has ended.
    std::optional<std::string> ask(const std::string& told, std::chrono::milliseconds timeout);
    // The memory its allocations hold, in KiB, as the game tells it when asked.
    std::optional<long> heapInUseKib(std::chrono::milliseconds timeout);

    XDisplay* display() const { return display_; }
    // Lets go of the tests' own connection to the game's display, before that display is taken
    // away (Xlib would end this process on the next call over a lost connection).
    void closeDisplay();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path logs_;
    XDisplay* display_ = nullptr;
};

// How long a close may take: the 2 s a player would wait, or several times that in a sanitizer
// build, which runs the whole game (and its ending, Mesa's included) many times slower.
std::chrono::milliseconds closeGrace();

// An Xvfb server of its own, on a display number the server picks itself (-displayfd), so that
// tests that run at the same time, and other programs' servers, never meet.
class PrivateXServer {
public:
    explicit PrivateXServer(const std::string& screen); // e.g. "1280x1024x24"
    ~PrivateXServer();
    void stop(); // the server ends, and every connection to it with it
    const std::string& name() const { return name_; } // e.g. ":117"; empty if it never started

private:
    pid_t pid_ = -1;
    std::string name_;
};

// An X screen of the test's own, 1920 x 1080 like the game's: while it lives, DISPLAY names it for
// this process and every program it starts (the game, xdotool), so that two end-to-end tests run
// at the same time never find, press keys into or close each other's game.
class OwnScreen {
public:
    explicit OwnScreen(const std::string& screen = "1920x1080x24");
    ~OwnScreen(); // DISPLAY as it was before
    const std::string& name() const { return server_.name(); }

private:
    PrivateXServer server_;
    std::optional<std::string> previous_;
};

struct WindowGeometry {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
};
WindowGeometry windowGeometry(XDisplay* display, XWindow window);

// The whole X screen as a picture.
sf::Image takeScreenshot(XDisplay* display);
// One pixel of the X screen, without the cost of the whole picture.
sf::Color screenPixel(XDisplay* display, unsigned x, unsigned y);

// A copy of the build's asset folder in a new folder (files, not links), for tests that take a
// file away or break one.
std::filesystem::path copyOfAssets(const std::string& tag);

// The end-to-end tests: the real game on an X screen of the test's own (OwnScreen). A test of
// one case derives from RealGameTest, a test over a list of cases from EndToEndTest<Case>.
class RealGameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { screen_.reset(); }

private:
    std::optional<OwnScreen> screen_;
};

template <class Case> class EndToEndTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        screen_.emplace();
        ASSERT_FALSE(screen_->name().empty()) << "no X screen of the test's own";
    }
    void TearDown() override { screen_.reset(); }

private:
    std::optional<OwnScreen> screen_;
};

// The environment that starts the game with `library` preloaded before those `environment`
// already preloads.
std::map<std::string, std::string> preloading(const std::string& library,
                                              std::map<std::string, std::string> environment);

// How many frames of the intro a test may fly through unseen (fastForward.cpp): nearly all of its
// 3,497, so that the tests of later phases see its last moments, then the chapter card.
constexpr int kIntroFramesToFly = 3400;

// The environment that starts the game with its first `frames` frames flown through: every step of
// the game runs in each of them, nothing is drawn and the frame-rate limit does not wait
// (fastForward.cpp, preloaded). A test of a later phase reaches it in seconds instead of the
// intro's minute or more; what it checks there is drawn and timed as always.
std::map<std::string, std::string>
introFlownThrough(std::map<std::string, std::string> environment = {},
                  int frames = kIntroFramesToFly);
