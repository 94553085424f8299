// storyExplorerTest.cpp -- the story explorer's runs: a short one in the quick test command and a
// long one in the full run. KAIVA_EXPLORE_SEED=<seed> replays one session, frame by frame, aloud.
#include "playthrough/storyExplorer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kMostFindingsShown = 5;

// The sessions' seeds follow from the run's base, so that the same run explores the same places.
unsigned sessionSeed(unsigned base, int session) {
    return base * 100'003u + static_cast<unsigned>(session) * 2'654'435'761u;
}

void explore(unsigned base, int sessions) {
    // The game reads its maps from ./assets: the tests run in the build folder.
    if (const char* replay = std::getenv("KAIVA_EXPLORE_SEED")) {
        StoryExplorer explorer;
        ASSERT_GT(explorer.startingPlaces(), 0) << "no tour ran: is this the build folder?";
        const unsigned seed = static_cast<unsigned>(std::stoul(replay));
        const auto finding = explorer.playSession(seed, true);
        EXPECT_FALSE(finding) << "seed " << seed << ", frame " << finding->frame << ": "
                              << finding->what;
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    StoryExplorer explorer;
    ASSERT_GT(explorer.startingPlaces(), 0) << "no tour ran: is this the build folder?";
    int findings = 0;
    std::uint64_t firstDigest = 0;
    for (int session = 0; session < sessions; ++session) {
        const unsigned seed = sessionSeed(base, session);
        const auto finding = explorer.playSession(seed);
        if (session == 0) {
            firstDigest = explorer.digest();
        }
        if (finding) {
            if (++findings <= kMostFindingsShown) {
                ADD_FAILURE() << "seed " << finding->seed << ", frame " << finding->frame << ": "
                              << finding->what
                              << "\n  replay: cd build && KAIVA_EXPLORE_SEED=" << finding->seed
                              << " tests/kaiva_tests "
                              << "--gtest_filter=StoryExplorer.ShortRun";
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const ExplorerTally& tally = explorer.tally();
    std::printf("explorer: %d sessions, %ld frames in %.1f s (%d starting places); talks opened "
                "%d, choices %d, battles %d, finds %d, inventories %d, chapter cards %d, "
                "endings %d, recoveries with something to do %d, pauses %d; %d findings\n",
                tally.sessions, tally.frames, seconds, explorer.startingPlaces(), tally.talksOpened,
                tally.choicesTaken, tally.battles, tally.finds, tally.inventories,
                tally.chapterCards, tally.endings, tally.recoveries, tally.pauses, findings);
    EXPECT_EQ(findings, 0);
    // A finding's seed must replay its session exactly, after any other sessions.
    explorer.playSession(sessionSeed(base, 0));
    EXPECT_EQ(explorer.digest(), firstDigest) << "the first session did not replay alike";
}

} // namespace

TEST(StoryExplorer, ShortRun) {
    explore(1, 200);
}

TEST(StoryExplorer, LongRun) {
    explore(2, 3000);
}
