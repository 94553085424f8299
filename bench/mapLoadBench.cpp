// mapLoadBench.cpp -- how fast the world map loads and the assets are generated, against the
// game's targets: both loaders started and joined within 25 ms, the whole generator in under 10 s.
#include "shell/gameState.h"
#include "world/characters.h"
#include "world/mapLoader.h"
#include "world/tileGrid.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

const std::string kMaps = std::string(KAIVA_ASSETS_DIR) + "/maps/";
constexpr double kJoinedBudgetMs = 25;

void failIfOver(benchmark::State& state, std::chrono::duration<double> took, double target) {
    if (took.count() > target) {
        state.SkipWithError(("over the target of " + std::to_string(target) + " s").c_str());
    }
}

void loadOneLayer(benchmark::State& state, const std::string& file, MapLayer layer) {
    for (auto _ : state) {
        state.PauseTiming();
        resetTileGrid();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(loadLayer(kMaps + file, layer));
        failIfOver(state, std::chrono::steady_clock::now() - start, 0.5);
    }
}

void BM_LoadGroundLayer(benchmark::State& state) {
    loadOneLayer(state, "mapLv0.txt", MapLayer::Ground);
}
BENCHMARK(BM_LoadGroundLayer)->Unit(benchmark::kMillisecond);

void BM_LoadObjectLayer(benchmark::State& state) {
    loadOneLayer(state, "mapLv1.txt", MapLayer::Object);
}
BENCHMARK(BM_LoadObjectLayer)->Unit(benchmark::kMillisecond);

// Both layers on their own threads, as at start-up.
void BM_LoadBothLayersInParallel(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        resetTileGrid();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        std::thread ground([] { loadLayer(kMaps + "mapLv0.txt", MapLayer::Ground); });
        std::thread objects([] { loadLayer(kMaps + "mapLv1.txt", MapLayer::Object); });
        ground.join();
        objects.join();
        failIfOver(state, std::chrono::steady_clock::now() - start, 0.5);
    }
    state.counters["grid MiB"] = static_cast<double>(sizeof(tileGrid)) / (1 << 20);
}
BENCHMARK(BM_LoadBothLayersInParallel)->Unit(benchmark::kMillisecond);

// As at start-up: the game's own loader threads started on the shipped maps, then the frame's
// map-ready check until it has joined them and placed the characters. The check runs every
// 0.1 ms here instead of once a frame, so this is the loaders' time and not the frame rate's; the
// two lines it prints go to a string.
void BM_LoadersStartToJoined(benchmark::State& state) {
    const std::filesystem::path gameFolder = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(KAIVA_ASSETS_DIR).parent_path());
    std::ostringstream lines;
    std::streambuf* const console = std::cout.rdbuf(lines.rdbuf());
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetTileGrid();
        resetMapLoadState();
        resetRoster();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        startMapLoaders();
        while (!checkMapReady()) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        total += took.count();
    }
    std::cout.rdbuf(console);
    std::filesystem::current_path(gameFolder);
    state.counters["ms to joined"] = total / static_cast<double>(state.iterations());
    state.counters["budget ms"] = kJoinedBudgetMs;
}
BENCHMARK(BM_LoadersStartToJoined)->Unit(benchmark::kMillisecond);

void BM_GenerateAllAssets(benchmark::State& state) {
    const std::filesystem::path out = std::filesystem::temp_directory_path() / "kaiva-bench-assets";
    const std::string command = std::string(KAIVA_ASSETGEN) + " " + KAIVA_ASSETGEN_SOURCE + " " +
                                out.string() + " > /dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the generator failed");
        }
        failIfOver(state, std::chrono::steady_clock::now() - start, 10.0);
    }
    std::filesystem::remove_all(out);
}
BENCHMARK(BM_GenerateAllAssets)->Unit(benchmark::kSecond)->Iterations(2);

} // namespace
