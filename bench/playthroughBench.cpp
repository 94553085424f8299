// playthroughBench.cpp -- the process's peak resident memory through a whole story played by the
// test player on the shipped maps, with every texture and the font loaded as the game loads them:
// the chapter cards, the sage's talk, the inventory, four battles lost to John and the end screen.
// The peak includes whatever the benchmarks before it left (their 1920 x 1080 render texture
// among them), so it bounds the playthrough's own from above.
#include "benchSupport.h"

#include "playthrough/player.h"

#include "shell/gameState.h"
#include "story/dialogueScript.h"

#include <filesystem>

namespace {

constexpr int kAttackTheInvaders = 0; // the sage's first answer
constexpr int kPowerMove = 2;         // gains power but never hurts: a sure defeat
constexpr int kInventoryFrames = 30;
constexpr int kEndFrames = 30;

void playToTheEnd(benchmark::State& state) {
    Player player(1);
    player.waitForPlay();
    player.walkToCharacter(kSage);
    player.press(sf::Keyboard::E);
    player.talkToChoiceOrEnd();
    player.choose(kAttackTheInvaders);
    player.talkToEnd();
    player.waitForPlay();
    player.press(sf::Keyboard::Tab);
    player.frames(kInventoryFrames);
    player.press(sf::Keyboard::Tab);
    while (story.endingId == -1 && story.hope > 0) {
        player.walkToCharacter(kJohn);
        player.talkToBattle();
        player.fight({kPowerMove});
        if (story.hope > 0) {
            player.talkToEnd();
        }
    }
    player.frames(kEndFrames);
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
    for (auto _ : state) {
        playToTheEnd(state);
    }
    std::filesystem::current_path(folder);
    state.counters["peak MiB"] = peakResidentMiB();
}
BENCHMARK(BM_PeakMemoryThroughAPlaythrough)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
