// playthroughBench.cpp -- the process's resident memory through a whole story played by the test
// player on the shipped maps, with every texture and the font loaded as the game loads them: the
// chapter cards, the sage's talk, the inventory, four battles lost to John and the end screen.
// "most resident MiB" is the largest resident memory seen after each step of the story, once the
// heap has handed back what is free: what the game itself holds. "peak MiB" also counts the
// player's own route searches (well over a hundred megabytes of lattice and queue, freed after
// each walk but left in the heap) and whatever the benchmarks before it left.
#include "benchSupport.h"

#include "playthrough/player.h"

#include "shell/gameState.h"
#include "story/dialogueScript.h"

#include <algorithm>
#include <filesystem>
#include <malloc.h>

namespace {

constexpr int kAttackTheInvaders = 0; // the sage's first answer
constexpr int kPowerMove = 2;         // gains power but never hurts: a sure defeat
constexpr int kInventoryFrames = 30;
constexpr int kEndFrames = 30;

// The largest resident memory seen at the steps, the free memory of the heap handed back first.
class ResidentWatch {
public:
    void look() {
        malloc_trim(0);
        most_ = std::max(most_, residentMiB());
    }
    double most() const { return most_; }

private:
    double most_ = 0;
};

void playToTheEnd(benchmark::State& state, ResidentWatch& watch) {
    Player player(1);
    watch.look();
    player.waitForPlay();
    watch.look();
    player.walkToCharacter(kSage);
    player.press(sf::Keyboard::E);
    player.talkToChoiceOrEnd();
    player.choose(kAttackTheInvaders);
    player.talkToEnd();
    watch.look();
    player.waitForPlay();
    player.press(sf::Keyboard::Tab);
    player.frames(kInventoryFrames);
    watch.look();
    player.press(sf::Keyboard::Tab);
    while (story.endingId == -1 && story.hope > 0) {
        player.walkToCharacter(kJohn);
        player.talkToBattle();
        player.fight({kPowerMove});
        watch.look();
        if (story.hope > 0) {
            player.talkToEnd();
        }
    }
    player.frames(kEndFrames);
    watch.look();
    if (story.endingId != 0) {
        state.SkipWithError("the story did not reach its end");
    }
}

void BM_PeakMemoryThroughAPlaythrough(benchmark::State& state) {
    loadGameAssetsOnce();
    const std::filesystem::path folder = std::filesystem::current_path();
    // The player's loaders read ./assets/ of the build, as the game does.
    std::filesystem::current_path(std::filesystem::path(kBenchAssets).parent_path());
    state.counters["peak before MiB"] = peakResidentMiB();
    ResidentWatch watch;
    for (auto _ : state) {
        playToTheEnd(state, watch);
    }
    std::filesystem::current_path(folder);
    state.counters["most resident MiB"] = watch.most();
    state.counters["peak MiB"] = peakResidentMiB();
}
BENCHMARK(BM_PeakMemoryThroughAPlaythrough)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
