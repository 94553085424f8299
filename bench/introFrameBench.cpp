// introFrameBench.cpp -- a frame of the intro's flight (the world through a window of the whole
// grid, and the leg's caption) against a roaming frame at the same place, both drawn into a render
// texture; and the per-frame and per-tick searches that visit the window, over the whole grid and
// over a roaming window.
#include "benchSupport.h"

#include "intro/intro.h"
#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "story/quests.h"
#include "world/characterThread.h"
#include "world/characters.h"
#include "world/heroine.h"
#include "world/visibleWindow.h"
#include "world/worldDrawing.h"

#include <mutex>

namespace {

const VisibleWindow kWholeGrid{0, 249, 0, 249};

// Flight frames at a place of leg `leg` interleaved with roaming frames at the same place, so that
// whatever else loads the machine weighs on both alike. The flight frame puts the camera back
// first, so every one flies the same step and draws the same caption; the roaming frame has no
// transition and the window around the camera.
void introAgainstRoamingAt(benchmark::State& state, sf::Vector2f centre, int leg) {
    enterRoaming(centre);
    story.currentQuest = 0;
    FloorRatio introRatio;
    FloorRatio roamingRatio;
    double intro = 0;
    double roaming = 0;
    for (auto _ : state) {
        story.transitionPending = true;
        story.introRunning = true;
        const double introMs = introRatio.add([&](sf::RenderTarget& target) {
            camera.setCenter(centre);
            screens.introLeg = leg;
            drawFrame(target);
        });
        savePictureIfAsked("intro " + std::to_string(leg));
        story.transitionPending = false;
        story.introRunning = false;
        camera.setCenter(centre);
        updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
        const double roamingMs =
            roamingRatio.add([](sf::RenderTarget& target) { drawFrame(target); });
        savePictureIfAsked("roaming at leg " + std::to_string(leg));
        state.SetIterationTime((introMs + roamingMs) / 1000);
        intro += introMs;
        roaming += roamingMs;
    }
    const double frames = static_cast<double>(state.iterations());
    roamingRatio.report(state, "roaming ");
    introRatio.report(state, "intro ");
    state.counters["intro ms"] = intro / frames;
    state.counters["roaming ms"] = roaming / frames;
    state.counters["intro / roaming"] = intro / roaming;
}

void BM_IntroAgainstRoamingOverTheCamp(benchmark::State& state) {
    introAgainstRoamingAt(state, {4800, 2000}, 0);
}
BENCHMARK(BM_IntroAgainstRoamingOverTheCamp)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

void BM_IntroAgainstRoamingOverTheDesert(benchmark::State& state) {
    introAgainstRoamingAt(state, {2000, 5000}, 5);
}
BENCHMARK(BM_IntroAgainstRoamingOverTheDesert)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

void BM_IntroAgainstRoamingOnTheTitle(benchmark::State& state) {
    introAgainstRoamingAt(state, {1000, 1000}, 7);
}
BENCHMARK(BM_IntroAgainstRoamingOnTheTitle)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// The usable-object search of one frame, the heroine at her start, through the window given.
void objectHintOver(benchmark::State& state, const VisibleWindow& window) {
    loadGameAssetsOnce();
    {
        std::lock_guard<std::mutex> lock(heroineLock());
        heroine.setSize({84, 84});
        heroine.setPosition(918, 498);
    }
    world.visibleWindow.store(window);
    sf::RenderTexture& target = frameTarget();
    for (auto _ : state) {
        drawObjectHint(target);
        benchmark::DoNotOptimize(conversation.interactObject);
    }
}

void BM_ObjectHintOverTheWholeGrid(benchmark::State& state) {
    objectHintOver(state, kWholeGrid);
}
BENCHMARK(BM_ObjectHintOverTheWholeGrid)->Unit(benchmark::kMicrosecond);

void BM_ObjectHintOverARoamingWindow(benchmark::State& state) {
    objectHintOver(state, visibleWindowAround({960, 540}, kScreenCellsWide, kScreenCellsHigh));
}
BENCHMARK(BM_ObjectHintOverARoamingWindow)->Unit(benchmark::kMicrosecond);

// One character's bounce test of a movement tick (every 25 ms on the character thread), through
// the window given: the sage in the camp, placed as when the map has loaded.
void bounceOver(benchmark::State& state, const VisibleWindow& window) {
    loadGameAssetsOnce();
    placeCharacters();
    world.visibleWindow.store(window);
    std::lock_guard<std::mutex> lock(rosterLock());
    const Npc saved = npcs[0];
    for (auto _ : state) {
        bounceOffTiles(0);
        state.PauseTiming();
        npcs[0] = saved;
        state.ResumeTiming();
    }
}

void BM_CharacterBounceOverTheWholeGrid(benchmark::State& state) {
    bounceOver(state, kWholeGrid);
}
BENCHMARK(BM_CharacterBounceOverTheWholeGrid)->Unit(benchmark::kMicrosecond);

void BM_CharacterBounceOverARoamingWindow(benchmark::State& state) {
    bounceOver(state, visibleWindowAround({960, 540}, kScreenCellsWide, kScreenCellsHigh));
}
BENCHMARK(BM_CharacterBounceOverARoamingWindow)->Unit(benchmark::kMicrosecond);

} // namespace
