// whereaboutsTest.cpp -- SIGUSR1 asks where the heroine is: one answer per request, her place on
// the map in whole pixels.
#include "testSupport.h"

#include "shell/startup.h"
#include "shell/whereabouts.h"
#include "world/heroine.h"

#include <csignal>

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

} // namespace
