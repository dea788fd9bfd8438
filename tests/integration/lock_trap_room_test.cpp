// The lock and trap room through the executable: the hero beats the crate three times, pulls
// the lever twice, opens the door and walks east onto the floor trap; the ticker log equals the
// recorded one, and two runs on the fixed clock write the same log.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"

namespace {

const char* const kGoldenPath = VAULTMERE_SOURCE_DIR "/tests/integration/golden/lock_trap_room_ticker.txt";

struct RoomRun {
    GameRun run;
    std::string tickerLog;
};

RoomRun PlayRoom() {
    TempDir user;
    // Move keys toward an occupied square bump what stands there.
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n"
                                            "<setting name=\"WASDActive\" value=\"1\"/>\n</config>\n");
    std::string script = "seed 3\nwait 1500\n";  // a level where the door is not locked
    for (const char* key : {"up", "up", "up", "down", "down", "right", "right", "right", "right", "right", "right"}) {
        script += std::string("keydown ") + key + "\nwait 60\nkeyup " + key + "\nwait 400\n";
    }
    script += "wait 300\nkey escape\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    WriteWholeFile(user.file("script.txt"), script);
    RoomRun r;
    r.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Lock and Trap Hall", "-x", "3", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    r.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return r;
}

TEST(LockTrapRoom, TheRoomPlaysTheRecordedTickerTheSameWayTwice) {
    const RoomRun first = PlayRoom();
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_EQ(first.run.output.find("not found"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.run.output.find("Couldn't"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.tickerLog, ReadWholeFile(kGoldenPath));
    const RoomRun second = PlayRoom();
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

}  // namespace
