// The fixture gallery through the executable: the test room is built from its object records,
// every fixture in it has its picture, its clock counts down in the ticker while the hero
// rests, and two runs on the fixed clock write the same ticker log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

struct GalleryRun {
    GameRun run;
    std::string tickerLog;
};

GalleryRun PlayGallery() {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::string script = "seed 7\nwait 300\n";
    for (int i = 0; i < 5; ++i) script += "key space\nwait 40\n";
    script += "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    WriteWholeFile(user.file("script.txt"), script);
    GalleryRun g;
    g.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Fixture Gallery", "-x", "6", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    g.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return g;
}

TEST(FixtureGallery, TheGalleryRoomStandsWithItsArtAndItsClockCountsDownTheSameWayTwice) {
    const GalleryRun first = PlayGallery();
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_EQ(first.run.output.find("not found"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.run.output.find("Couldn't load"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.run.output.find("roomScript:"), std::string::npos) << first.run.output;
    const size_t two = first.tickerLog.find("The timer ticks down to 2...\n");
    const size_t one = first.tickerLog.find("The timer ticks down to 1...\n");
    const size_t zero = first.tickerLog.find("The timer ticks down to 0!\n");
    ASSERT_NE(two, std::string::npos) << first.tickerLog;
    ASSERT_NE(one, std::string::npos) << first.tickerLog;
    ASSERT_NE(zero, std::string::npos) << first.tickerLog;
    EXPECT_LT(two, one);
    EXPECT_LT(one, zero);
    // It stops at 0 and says nothing more.
    EXPECT_EQ(first.tickerLog.find("The timer ticks down", zero + 1), std::string::npos) << first.tickerLog;

    const GalleryRun second = PlayGallery();
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

}  // namespace
