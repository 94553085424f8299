// whereaboutsTest.cpp -- SIGUSR1 asks where the heroine is: one answer per request, her place on
// the map in whole pixels, with the heap the game holds.
#include "testSupport.h"

#include "shell/startup.h"
#include "shell/whereabouts.h"
#include "world/heroine.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using WhereaboutsTest = GameTest;

TEST_F(WhereaboutsTest, EachSignalIsAnsweredOnceWithHerPlaceRounded) {
    listenForWhereabouts();
    EXPECT_FALSE(whereaboutsAsked()) << "nobody asked yet";

    setUpHeroine();
    EXPECT_EQ(whereaboutsLine(), "heroine at 918 498");
    heroine.setPosition(1234.6f, 77.4f);
    EXPECT_EQ(whereaboutsLine(), "heroine at 1235 77");

    // Two signals before a frame looks: one answer, then none until the next signal.
    std::raise(SIGUSR1);
    std::raise(SIGUSR1);
    EXPECT_TRUE(whereaboutsAsked());
    EXPECT_FALSE(whereaboutsAsked());
    std::raise(SIGUSR1);
    EXPECT_TRUE(whereaboutsAsked());
}

long heapInUseKib() {
    long kib = -1;
    char unit[8] = {};
    EXPECT_EQ(std::sscanf(heapLine().c_str(), "heap in use %ld %7s", &kib, unit), 2) << heapLine();
    EXPECT_STREQ(unit, "KiB");
    return kib;
}

// Memory taken and held shows in the figure (a block of its own as much as small ones in an
// arena), and shows no more once given back: a leak climbs in it, a freed peak does not.
TEST_F(WhereaboutsTest, TheHeapLineCountsWhatIsHeldNotWhatWasOnceTaken) {
    const long before = heapInUseKib();
    if (KAIVA_SANITIZED) {
        GTEST_SKIP() << "a sanitizer's allocator keeps its own books";
    }
    constexpr long kHeldKib = 8 * 1024;
    auto big = std::make_unique<char[]>(kHeldKib * 1024);
    std::vector<std::unique_ptr<char[]>> small;
    for (int i = 0; i < 1024; ++i) {
        small.push_back(std::make_unique<char[]>(1024));
    }
    const long holding = heapInUseKib();
    EXPECT_GE(holding - before, kHeldKib + 1024);
    big.reset();
    small.clear();
    EXPECT_LT(heapInUseKib() - before, 256);
}

} // namespace
