// worldFrameBench.cpp -- one world frame (ground, objects, characters, heroine) drawn into a render
// texture, against the floor of this machine measured in the same process.
#include "benchSupport.h"

#include "shell/frame.h"
#include "shell/gameState.h"
#include "shell/resources.h"
#include "world/visibleWindow.h"

namespace {

// A roaming frame with the camera centred here.
void roamingFrameAt(benchmark::State& state, sf::Vector2f centre) {
    loadGameAssetsOnce();
    story.transitionPending = false;
    camera.setSize(1920, 1080);
    camera.setCenter(centre);
    updateVisibleWindow(camera, kScreenCellsWide, kScreenCellsHigh);
    benchmarkFrames(state, [](sf::RenderTarget& target) { drawFrame(target); });
    state.counters["peak MiB"] = peakResidentMiB();
}

void BM_Floor(benchmark::State& state) {
    loadGameAssetsOnce();
    for (auto _ : state) {
        state.SetIterationTime(floorFrameMs() / 1000);
    }
    state.counters["floor ms"] = floorFrameMs();
}
BENCHMARK(BM_Floor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WorldFrameAtTheStart(benchmark::State& state) {
    roamingFrameAt(state, {960, 540});
}
BENCHMARK(BM_WorldFrameAtTheStart)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WorldFrameOverTheForest(benchmark::State& state) {
    roamingFrameAt(state, {3900, 1000});
}
BENCHMARK(BM_WorldFrameOverTheForest)->UseManualTime()->Unit(benchmark::kMillisecond);

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
