// frameInstructions.cpp -- the work of one frame of each screen, counted in instructions: a figure
// that, unlike a frame's time, does not change when other programs load the machine. Run under
// callgrind, it counts only the frames it plays after a few frames of warming up (the renderer
// compiles its shaders on first use), and writes them as one dump named after the screen:
//   valgrind --tool=callgrind --smc-check=all-non-file
//       build/bench/kaiva_frame_instructions [--window] <screen> [frames]
// The dump's "summary" line, divided by the frames, is one frame's instructions (every thread
// counted: the renderer's, the game's own). Screens: floor (clear, one opaque full-screen
// picture drawn one texel to one pixel, display), layer-floor (the older reference: clear, one
// full-screen layer of textured cells, display), roaming (the camp, standing), walking (the camp,
// the camera and the heroine moving right at walking speed), intro (the flight's first leg over the
// invaders' camp), card (the chapter card at full veil), conversation (the sage's question and its
// two answers), inventory, battle. Each frame is the game's own runFrame into a 1920 x 1080
// picture, or into a full-screen window with --window, where display copies the picture to the
// screen as in the game. Without valgrind it prints each frame's milliseconds and CPU milliseconds.
#include "benchSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/input.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "story/dialogueBox.h"
#include "story/dialogueScript.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/heroine.h"

#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/OpenGL.hpp>
#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <time.h>

namespace {

const sf::Vector2f kCamp(960, 540);
constexpr float kFrameSeconds = 1.0f / 60;
constexpr float kWalkStep = 200 * kFrameSeconds; // walking speed, pixels a frame
constexpr int kWarmUpFrames = 4;
constexpr int kQuestWithCard = 2;
constexpr int kApple = 544;

// Sets up the screen; false when there is no such screen.
bool enterScreen(const std::string& screen) {
    enterRoaming(kCamp);
    if (screen == "floor" || screen == "layer-floor" || screen == "roaming" ||
        screen == "walking") {
        return true;
    }
    if (screen == "intro") {
        story.currentQuest = 0;
        story.transitionPending = true;
        story.introRunning = true; // flying already: the music is not started again
        screens.introLeg = 0;
        camera.setCenter(4800, 2000);
        return true;
    }
    if (screen == "card") {
        story.currentQuest = kQuestWithCard;
        story.transitionPending = true;
        return true;
    }
    if (screen == "conversation") {
        openConversation(kSage);
        conversation.activeNpc = kSage;
        conversation.dialogueLine = npcs[kSage].choiceLine;
        conversation.typedChars = static_cast<int>(currentLine().size());
        conversation.lineComplete = true;
        return true;
    }
    if (screen == "inventory") {
        story.inventoryOpen = true;
        story.carriedObject = kApple;
        story.equippedItem[1] = 1;
        story.equipment[1].itemIndex = 1;
        story.equippedItem[0] = 2;
        story.equipment[0].itemIndex = 2;
        return true;
    }
    if (screen == "battle") {
        conversation.activeNpc = kJohn;
        battle.inBattle = true;
        return true;
    }
    return false;
}

void playFrameOf(const std::string& screen, sf::RenderTarget& target) {
    if (screen == "floor" || screen == "layer-floor") {
        (screen == "floor" ? drawFloor : drawLayerFloor)(target);
        presentFrame(target);
        return;
    }
    if (screen == "walking") {
        camera.move(kWalkStep, 0);
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.move(kWalkStep, 0);
    }
    if (screen == "card") { // the card held at full veil, never lifting
        screens.fadeAlpha = 150;
        screens.fadingOut = false;
        clocks.screenMark = clocks.screenClock.getElapsedTime();
    }
    runFrame(target, kFrameSeconds);
}

} // namespace

int main(int argc, char** argv) {
    int arg = 1;
    const bool onWindow = argc > arg && std::strcmp(argv[arg], "--window") == 0;
    arg += onWindow ? 1 : 0;
    if (argc <= arg) {
        std::cerr << "usage: kaiva_frame_instructions [--window] <screen> [frames]\n";
        return 2;
    }
    const std::string screen = argv[arg];
    const int frames = argc > arg + 1 ? std::atoi(argv[arg + 1]) : 10;
    loadGameAssetsOnce();
    useSimulatedInput(true);
    sf::RenderTarget* target = &frameTarget();
    if (onWindow) {
        window.create(sf::VideoMode(kScreenWidth, kScreenHeight, 32), "Kaiva",
                      sf::Style::Fullscreen);
        screenView = screenViewFor(window.getSize());
        target = &window;
    }
    if (!enterScreen(screen)) {
        std::cerr << "no screen " << screen << "\n";
        return 2;
    }
    camera.setViewport(screenView.getViewport());
    for (int i = 0; i < kWarmUpFrames; ++i) {
        playFrameOf(screen, *target);
    }
    glFinish();
    CALLGRIND_ZERO_STATS; // every thread's counts, the warming up forgotten
    const double cpuStart = processCpuMs();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        playFrameOf(screen, *target);
    }
    glFinish();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    const double cpu = processCpuMs() - cpuStart;
    CALLGRIND_DUMP_STATS_AT(screen.c_str());
    std::cout << screen << ": " << frames << " frames, " << took.count() / frames << " ms and "
              << cpu / frames << " cpu ms a frame\n";
    window.close();
    return 0;
}
