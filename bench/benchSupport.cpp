// benchSupport.cpp -- textures, the floor and frame timing for the frame benchmarks.
#include "benchSupport.h"

#include "battle/battleRules.h"
#include "battle/battleScreen.h"
#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "shell/screenLayout.h"
#include "shell/startup.h"
#include "story/dialogueBox.h"
#include "story/inventory.h"
#include "story/quests.h"
#include "world/characters.h"
#include "world/mapLoader.h"
#include "world/visibleWindow.h"

#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/OpenGL.hpp>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

const std::string kBenchAssets = KAIVA_ASSETS_DIR;

namespace {

bool assetsLoaded = false;
constexpr int kUntimedFrames = 3;

void loadTexture(sf::Texture& texture, const char* file, bool smooth = false) {
    texture.loadFromFile(kBenchAssets + "/textures/" + file);
    texture.setSmooth(smooth);
}

} // namespace

// Every thread of the process, the software renderer's included: steadier than the time a frame
// takes when other programs load the machine.
double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

namespace {

sf::VertexArray floorLayer() {
    sf::VertexArray layer(sf::Triangles);
    for (int row = 0; row < 11; ++row) {
        for (int col = 0; col < 20; ++col) {
            const float u = static_cast<float>((row * 20 + col) % 5 * 320);
            const float v = static_cast<float>((row * 20 + col) / 5 % 6 * 320);
            const float x = col * 100.0f;
            const float y = row * 100.0f;
            const sf::Vertex corners[4] = {{{x, y}, {u, v}},
                                           {{x + 100, y}, {u + 320, v}},
                                           {{x + 100, y + 100}, {u + 320, v + 320}},
                                           {{x, y + 100}, {u, v + 320}}};
            for (int i : {0, 1, 2, 0, 2, 3}) {
                layer.append(corners[i]);
            }
        }
    }
    return layer;
}

// The floor's picture: the layer floor drawn once into a render texture, as the game's kept
// picture of the world is one.
const sf::Texture& floorPicture() {
    static sf::RenderTexture picture;
    if (picture.getSize().x == 0) {
        loadGameAssetsOnce();
        picture.create(1920, 1080);
        drawLayerFloor(picture);
        picture.display();
    }
    return picture.getTexture();
}

} // namespace

void drawFloor(sf::RenderTarget& target) {
    static const sf::Sprite whole(floorPicture());
    target.setView(target.getDefaultView());
    target.clear(sf::Color::Black);
    target.draw(whole, sf::BlendNone);
}

void drawLayerFloor(sf::RenderTarget& target) {
    static const sf::VertexArray layer = floorLayer();
    target.setView(target.getDefaultView());
    target.clear(sf::Color::Black);
    target.draw(layer, &tileSheet);
}

void loadGameAssetsOnce() {
    if (assetsLoaded) {
        return;
    }
    assetsLoaded = true;
    resetGameState();
    loadGroundSheet(kBenchAssets + "/textures/tileTable.png");
    loadTexture(objectSheet, "objectTable.png", true);
    pixelFont.loadFromFile(kBenchAssets + "/font/pixelTxt.ttf");
    loadTexture(npcSheet, "NPC-map.png");
    loadTexture(descriptionSheet, "descrizioni-map.png");
    loadTexture(speechSheet, "speech-map.png");
    loadTexture(talkSheet, "talk-map.png");
    loadTexture(iconSheet, "icon-map.png");
    notePanelOpacity();
    noteDialogueBoxOpacity();
    loadTexture(battleBackground, "battle.png");
    noteBackdropOpacity();
    loadTexture(weaponSheet, "weapons-map.png");
    loadTexture(heroSheet, "kaiva-map.png");
    loadLayer(kBenchAssets + "/maps/mapLv0.txt", MapLayer::Ground);
    loadLayer(kBenchAssets + "/maps/mapLv1.txt", MapLayer::Object);
}

void enterRoaming(sf::Vector2f centre) {
    loadGameAssetsOnce();
    story = StoryState{};
    story.transitionPending = false;
    conversation = ConversationState{};
    battle = BattleState{};
    screens = ScreenState{};
    for (int i = 0; i < kQuestCount; ++i) {
        initQuest(i);
    }
    setUpBattleMoves();
    placeCharacters();
    camera.setSize(kScreenWidth, kScreenHeight);
    camera.setCenter(centre);
    setUpHeroine();
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    trackMouse({static_cast<int>(kScreenWidth / 2), static_cast<int>(kScreenHeight / 4)},
               frameTarget());
}

sf::RenderTexture& frameTarget() {
    static sf::RenderTexture target;
    if (target.getSize().x == 0) {
        target.create(1920, 1080);
    }
    return target;
}

FrameCost costOfFrame(const std::function<void(sf::RenderTarget&)>& draw) {
    sf::RenderTexture& target = frameTarget();
    target.setActive(true);
    const double cpuStart = processCpuMs();
    const auto start = std::chrono::steady_clock::now();
    draw(target);
    target.display();
    glFinish();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return {took.count(), processCpuMs() - cpuStart};
}

double timeFrameMs(const std::function<void(sf::RenderTarget&)>& draw) {
    return costOfFrame(draw).ms;
}

FrameCost floorFrameCost() {
    loadGameAssetsOnce();
    floorPicture(); // made before the timing starts
    return costOfFrame(drawFloor);
}

void benchmarkFrames(benchmark::State& state, const std::string& name,
                     const std::function<void(sf::RenderTarget&)>& draw) {
    // The screen's steady frames: its first ones, which the game never shows first (the world's
    // kept picture is made and filled in the first, the renderer compiles its shaders), go
    // untimed. The game's own first frame is timed by scripts/measure-frames.sh.
    for (int i = 0; i < kUntimedFrames; ++i) {
        costOfFrame(draw);
    }
    FloorRatio ratio;
    for (auto _ : state) {
        const double ms = ratio.add(draw);
        state.SetIterationTime(ms / 1000);
    }
    ratio.report(state, "");
    savePictureIfAsked(name);
}

void savePictureIfAsked(const std::string& name) {
    const char* folder = std::getenv("KAIVA_BENCH_PICTURES");
    if (folder != nullptr) {
        frameTarget().getTexture().copyToImage().saveToFile(std::string(folder) + "/" + name +
                                                            ".png");
    }
}

double floorFrameMs() {
    return floorFrameCost().ms;
}

double layerFloorFrameMs() {
    loadGameAssetsOnce();
    return costOfFrame(drawLayerFloor).ms;
}

double FloorRatio::add(const std::function<void(sf::RenderTarget&)>& draw) {
    const FrameCost floor = floorFrameCost();
    const FrameCost frame = costOfFrame(draw);
    floor_.ms += floor.ms;
    floor_.cpuMs += floor.cpuMs;
    frame_.ms += frame.ms;
    frame_.cpuMs += frame.cpuMs;
    ++frames_;
    return frame.ms;
}

void FloorRatio::report(benchmark::State& state, const std::string& name) const {
    if (frames_ == 0) {
        return;
    }
    state.counters["floor ms"] = floor_.ms / frames_;
    state.counters[name + "x floor"] = frame_.ms / floor_.ms;
    state.counters[name + "cpu x floor"] = frame_.cpuMs / floor_.cpuMs;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}
