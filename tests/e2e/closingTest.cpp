// closingTest.cpp -- the real game closed in each phase a player can close it in: while the maps
// load, during the intro, the chapter card, free roaming (with no sound device), the inventory, a
// conversation and a battle (the end screen: realPlaythroughTest.cpp). The window's close button,
// or the pause's way out (Escape, then Down and E on "Esci dal gioco"), ends it within a player's
// patience, with status 0 and with no thread left running.
//
// A window destroyed by another client, or a display lost with its server, is no close: the game
// cannot go on, says so in one line and ends at once with status 1, never aborting.
//
// The closes after the intro fly through it unseen (introFlownThrough: every frame's steps run,
// nothing is drawn or waited for), then see its last moments, the chapter card and what follows
// drawn and paced as always. Each of those phases is closed one way, the two ways taking turns;
// both ways meet the same quitGame(), and the in-process frame tests close every phase both ways.
#include "e2e/gameProcess.h"
#include "e2e/realPlayer.h"
#include "e2e/witnessedThreads.h"

#include "testSupport.h"

#include "story/dialogueScript.h"

#include <functional>
#include <iostream>
#include <memory>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The intro's last moments and the card: some seconds; far longer on a busy machine.
const seconds kIntroAndCard(300);

enum class Way { CloseButton, ThePause };

struct ClosingCase {
    const char* name;
    Way way;
    bool slowMaps; // started on maps that take a second or more to load (slowMapsFolder)
    bool played;   // with the player, who plans on the maps and reads the screens
    bool flown;    // the intro flown through unseen: a phase after it
    std::function<void(GameProcess& game, RealPlayer* player)> reach;
    std::map<std::string, std::string> environment;
};

void PrintTo(const ClosingCase& closing, std::ostream* out) {
    *out << closing.name;
}

constexpr std::size_t kTabsBeforeEachValue = 4000;

// The build's pictures, font and music, the shipped object map, and the shipped ground map with
// four thousand tabs before each value (a value's leading white space is skipped): the same world,
// in 240 MB that take the ground loader some seconds, long enough for the pause's way out (three
// keys) to come while it loads. The shipped maps load in some 30 ms, before the first frame could
// handle a close.
std::filesystem::path slowMapsFolder() {
    namespace fs = std::filesystem;
    const fs::path folder = makeTempDir("slow-maps");
    const fs::path assets = KAIVA_ASSETS_DIR;
    fs::create_directories(folder / "assets/maps");
    for (const char* part : {"textures", "font", "music"}) {
        fs::create_directory_symlink(assets / part, folder / "assets" / part);
    }
    fs::copy_file(assets / "maps/mapLv1.txt", folder / "assets/maps/mapLv1.txt");
    const std::string ground = readTextFile(assets / "maps/mapLv0.txt");
    const std::string tabs(kTabsBeforeEachValue, '\t');
    std::string padded;
    padded.reserve(ground.size() * (kTabsBeforeEachValue / 2));
    for (const char c : ground) {
        padded += c;
        if (c == ' ') {
            padded += tabs;
        }
    }
    writeTextFile(folder / "assets/maps/mapLv0.txt", padded);
    return folder;
}

// The window shows before start-up has started the loaders: the close comes at once.
void whileTheMapsLoad(GameProcess&, RealPlayer*) {}

void inTheIntro(GameProcess& game, RealPlayer* player) {
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30)));
    std::this_thread::sleep_for(seconds(1));
    ASSERT_FALSE(player->hudShown(player->screen())) << "the intro is already over";
}

void inTheCard(GameProcess&, RealPlayer* player) {
    ASSERT_TRUE(player->waitForCard(kIntroAndCard)) << "the first chapter card never showed";
}

// With SFML 2.5 and no sound device, a playing music spins a core and floods the console with
// OpenAL errors: the intro's theme, the card's jingle and the world's theme all stay silent
// instead, cheaply, and the game says once that music is off.
void roamingWithoutASoundDevice(GameProcess& game, RealPlayer* player) {
    const double cpuAtStart = game.cpuSecondsBesidesDrawing();
    std::this_thread::sleep_for(seconds(3));
    EXPECT_LT(game.cpuSecondsBesidesDrawing() - cpuAtStart, 0.5)
        << "a spinning music thread would take a whole core";
    ASSERT_TRUE(player->waitForRoaming(kIntroAndCard));
    player->walk("d", 150);
    const sf::Image shot = player->screen();
    ASSERT_TRUE(player->hudShown(shot) && !player->dialogueShown(shot));
    EXPECT_EQ(countOf(game.errors(), "music is off"), 1u) << game.errors().substr(0, 2000);
    EXPECT_LT(game.console().size(), 200u) << game.console().substr(0, 2000);
}

void inTheInventory(GameProcess&, RealPlayer* player) {
    ASSERT_TRUE(player->waitForRoaming(kIntroAndCard));
    player->press("Tab");
    ASSERT_TRUE(player->inventoryShown(player->screen()));
}

void talkingToTheSage(GameProcess&, RealPlayer* player) {
    ASSERT_TRUE(player->waitForRoaming(kIntroAndCard));
    ASSERT_TRUE(player->walkToCharacter(kSage));
    player->press("e");
    ASSERT_TRUE(player->waitForDialogue(seconds(5)));
}

void fightingJohn(GameProcess&, RealPlayer* player) {
    ASSERT_TRUE(player->waitForRoaming(kIntroAndCard));
    ASSERT_NO_FATAL_FAILURE(player->askTheSage(0)); // "Attacca gli invasori"
    ASSERT_NO_FATAL_FAILURE(player->meetForBattle(kJohn));
    player->press("e"); // a blow each: the battle is under way
    ASSERT_TRUE(player->battleShown(player->screen()));
}

// Seconds into the game: each phase closed both ways.
const ClosingCase kEarlyPhases[] = {
    {"CloseButtonWhileTheMapsLoad", Way::CloseButton, true, false, false, whileTheMapsLoad, {}},
    {"PauseWhileTheMapsLoad", Way::ThePause, true, false, false, whileTheMapsLoad, {}},
    {"CloseButtonInTheIntro", Way::CloseButton, false, true, false, inTheIntro, {}},
    {"PauseInTheIntro", Way::ThePause, false, true, false, inTheIntro, {}},
};

// After the intro: one way each, in turns.
const ClosingCase kLaterPhases[] = {
    {"CloseButtonInTheChapterCard", Way::CloseButton, false, true, true, inTheCard, {}},
    {"PauseRoamingWithoutASoundDevice",
     Way::ThePause,
     false,
     true,
     true,
     roamingWithoutASoundDevice,
     {{"ALSOFT_DRIVERS", "no-such-driver"}}},
    {"CloseButtonInTheInventory", Way::CloseButton, false, true, true, inTheInventory, {}},
    {"PauseInAConversation", Way::ThePause, false, true, true, talkingToTheSage, {}},
    {"CloseButtonInABattle", Way::CloseButton, false, true, true, fightingJohn, {}},
};

const auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

class RealGameClosing : public EndToEndTest<ClosingCase> {};

} // namespace

TEST_P(RealGameClosing, EndsWithinAPlayersPatienceWithStatusZeroAndNoThreadLeft) {
    const ClosingCase& closing = GetParam();
    const ThreadWitness witness;
    std::map<std::string, std::string> environment = witness.environment();
    environment.insert(closing.environment.begin(), closing.environment.end());
    if (closing.flown) {
        environment = introFlownThrough(environment);
    }
    const std::filesystem::path folder = closing.slowMaps ? slowMapsFolder() : KAIVA_BUILD_DIR;
    GameProcess game(folder, environment);
    const XWindow window = game.waitForWindow(seconds(30));
    ASSERT_NE(window, 0u) << game.errors();
    std::unique_ptr<RealPlayer> player;
    if (closing.played) {
        player = std::make_unique<RealPlayer>(game);
    }
    ASSERT_NO_FATAL_FAILURE(closing.reach(game, player.get()));

    auto closedAt = std::chrono::steady_clock::now();
    if (closing.way == Way::CloseButton) {
        game.requestClose(window);
    } else {
        game.leaveByThePause();
        closedAt = std::chrono::steady_clock::now() - milliseconds(120); // from E's press
    }
    EXPECT_EQ(game.waitForExit(closeGrace()), 0) << game.errors().substr(0, 2000);
    const auto took = std::chrono::steady_clock::now() - closedAt;
    std::cout << "[ closed   ] in " << std::chrono::duration_cast<milliseconds>(took).count()
              << " ms\n";
    EXPECT_EQ(witness.threadsLeft(), ThreadWitness::mainThreadAlone());
    EXPECT_LT(game.errors().size(), 1000u) << game.errors().substr(0, 2000);
    if (closing.slowMaps) {
        EXPECT_EQ(game.console(), "") << "the close came once the maps were loaded";
        std::filesystem::remove_all(folder);
    }
}

INSTANTIATE_TEST_SUITE_P(EarlyPhases, RealGameClosing, ::testing::ValuesIn(kEarlyPhases),
                         kCaseName);
INSTANTIATE_TEST_SUITE_P(LaterPhases, RealGameClosing, ::testing::ValuesIn(kLaterPhases),
                         kCaseName);

namespace {

class RealGamePause : public RealGameTest {};

} // namespace

// Held for a second early in the flight, E skips it: the first card, then the HUD, within 15 s of
// letting go. Escape pauses and Escape again returns to the game; Escape, Down and E leave it.
TEST_F(RealGamePause, HeldEarlyESkipsTheIntroEscapeTwiceReturnsAndEscapeDownELeaves) {
    const ThreadWitness witness;
    GameProcess game(KAIVA_BUILD_DIR, witness.environment());
    ASSERT_NE(game.waitForWindow(seconds(30)), 0u) << game.errors();
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30))) << game.console();
    RealPlayer player(game);
    std::this_thread::sleep_for(seconds(2)); // the flight under way
    game.pressKey("e", milliseconds(1300));
    ASSERT_TRUE(player.waitForRoaming(seconds(15))) << "no HUD within 15 s of letting go of E";
    player.saveScreen("pause-after-skip");

    player.press("Escape");
    std::this_thread::sleep_for(milliseconds(300));
    const sf::Image paused = player.screen();
    player.saveScreen("pause-roaming");
    EXPECT_TRUE(player.pauseShown(paused)) << "Escape did not open the pause";
    player.press("Escape");
    std::this_thread::sleep_for(milliseconds(300));
    const sf::Image back = player.screen();
    EXPECT_FALSE(player.pauseShown(back));
    EXPECT_TRUE(player.hudShown(back)) << "Escape again did not return to the game";
    EXPECT_FALSE(game.waitForExit(milliseconds(500))) << "Escape left the game";

    game.leaveByThePause();
    EXPECT_EQ(game.waitForExit(closeGrace()), 0) << game.errors().substr(0, 2000);
    EXPECT_EQ(witness.threadsLeft(), ThreadWitness::mainThreadAlone());
}

namespace {

constexpr int kDisplayGoneStatus = 1;

void expectEndedSayingOnce(GameProcess& game, const std::string& what) {
    EXPECT_EQ(game.waitForExit(closeGrace()), kDisplayGoneStatus) << game.errors();
    EXPECT_EQ(countOf(game.errors(), "kaiva:"), 1u) << game.errors();
    EXPECT_EQ(countOf(game.errors(), what), 1u) << game.errors();
    EXPECT_EQ(game.errors().find("terminate"), std::string::npos) << game.errors();
}

class RealGameWindowGone : public RealGameTest {};

} // namespace

TEST_F(RealGameWindowGone, DestroyedByAnotherClientTheGameSaysSoAndEnds) {
    GameProcess game(KAIVA_BUILD_DIR);
    const XWindow window = game.waitForWindow(seconds(30));
    ASSERT_NE(window, 0u) << game.errors();
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30)));
    game.destroyWindow(window);
    expectEndedSayingOnce(game, "X error");
}

TEST_F(RealGameWindowGone, WithItsDisplayLostTheGameSaysSoAndEnds) {
    PrivateXServer server("1920x1080x24");
    GameProcess game(KAIVA_BUILD_DIR, {{"DISPLAY", server.name()}});
    ASSERT_NE(game.waitForWindow(seconds(30)), 0u) << game.errors();
    ASSERT_TRUE(game.waitForConsole("Thread Lv 1 Finito\n", seconds(30)));
    game.closeDisplay();
    server.stop();
    expectEndedSayingOnce(game, "the connection to the X display was lost");
}
