// worldFrameBench.cpp -- one roaming frame (ground, objects, characters, heroine, the HUD and the
// pop-up) drawn into a render texture, against the floor of this machine measured in the same
// process; and what the character thread costs while she roams.
#include "benchSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/characterThread.h"
#include "world/heroine.h"
#include "world/visibleWindow.h"
#include "world/worldCache.h"

#include <chrono>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <time.h>

namespace {

const sf::Vector2f kCamp(960, 540); // the sage, Honani and the trainer in view

double threadCpuMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A roaming frame with the camera centred here.
void roamingFrameAt(benchmark::State& state, const std::string& name, sf::Vector2f centre) {
    enterRoaming(centre);
    benchmarkFrames(state, name, [](sf::RenderTarget& target) { drawFrame(target); });
    state.counters["peak MiB"] = peakResidentMiB();
    state.counters["world picture MiB"] = static_cast<double>(drawnWorldBytes()) / (1 << 20);
}

void BM_Floor(benchmark::State& state) {
    loadGameAssetsOnce();
    double total = 0;
    for (auto _ : state) {
        const double ms = floorFrameMs();
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    state.counters["floor ms"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Floor)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// The older floor, kept as a reference: a layer of cells scaled from the sheet with smoothing.
void BM_LayerFloor(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(layerFloorFrameMs() / 1000);
    }
}
BENCHMARK(BM_LayerFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_WorldFrameAtTheStart(benchmark::State& state) {
    roamingFrameAt(state, "WorldFrameAtTheStart", kCamp);
}
BENCHMARK(BM_WorldFrameAtTheStart)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_WorldFrameOverTheForest(benchmark::State& state) {
    roamingFrameAt(state, "WorldFrameOverTheForest", {3900, 1000});
}
BENCHMARK(BM_WorldFrameOverTheForest)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// Roaming while the camera and the heroine glide at walking speed, eastwards from the camp and
// back every ten seconds: the kept picture of the world draws the column of cells that comes into
// view every thirty frames.
void BM_WorldFrameWalking(benchmark::State& state) {
    enterRoaming(kCamp);
    constexpr float kStep = 200.0f / 60;
    constexpr int kLegFrames = 600;
    int frame = 0;
    benchmarkFrames(state, "WorldFrameWalking", [&](sf::RenderTarget& target) {
        const float step = frame++ / kLegFrames % 2 == 0 ? kStep : -kStep;
        camera.move(step, 0);
        {
            std::lock_guard<std::mutex> lock(heroineLock());
            heroine.move(step, 0);
        }
        updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
        drawFrame(target);
    });
}
BENCHMARK(BM_WorldFrameWalking)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// The character thread's CPU time in each second of roaming at the camp, where most characters
// are in the window and move; the main loop's frame time held at 60 frames per second.
void BM_CharacterThreadCpuPerSecondOfRoaming(benchmark::State& state) {
    enterRoaming(kCamp);
    world.frameSeconds.store(1.0f / 60);
    world.quitRequested.store(false);
    startCharacterThread();
    clockid_t clock{};
    pthread_getcpuclockid(threads.npcThread.native_handle(), &clock);
    double total = 0;
    for (auto _ : state) {
        const double before = threadCpuMs(clock);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double ms = threadCpuMs(clock) - before;
        state.SetIterationTime(ms / 1000);
        total += ms;
    }
    stopCharacterThread();
    world.quitRequested.store(false);
    state.counters["cpu ms per s"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CharacterThreadCpuPerSecondOfRoaming)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Peak resident memory once the maps are loaded (textures and grid in place).
void BM_MemoryAfterLoading(benchmark::State& state) {
    loadGameAssetsOnce();
    for (auto _ : state) {
        benchmark::DoNotOptimize(peakResidentMiB());
    }
    state.counters["peak MiB"] = peakResidentMiB();
}
BENCHMARK(BM_MemoryAfterLoading)->Iterations(1);

} // namespace
