// The lock and trap room through the executable: the hero beats the urn to pieces, pulls the
// lever twice, picks and opens the upper door and walks onto the floor trap beyond it. Two runs on the
// fixed clock write the committed ticker log. The game's autosave of the room loads again with
// -load-filename= and autosaves the same bytes, with the opened door open and the other door
// as it was made.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/passages.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"
#include "tests/levels/save_bytes.h"

namespace {

const char* const kGolden = VAULTMERE_SOURCE_DIR "/tests/integration/golden/lock_and_trap_ticker.txt";
const char* const kLeaveAndQuit =
    kLeaveGameScript;

// One square's step by key.
std::string Step(const char* key) { return std::string("keydown ") + key + "\nwait 60\nkeyup " + key + "\nwait 600\n"; }

// The hero starts at (3, 4) of the room and stays in the middle of the screen, so the square
// beside him in a direction is clicked at the centre square plus one tile.
std::string PlayScript(bool waitForAutosave) {
    std::string s = "seed 1\nwait 300\n";
    for (int i = 0; i < 3; ++i) s += "click 1 704 352\nwait 1200\n";  // the urn, north
    for (int i = 0; i < 2; ++i) s += "click 1 640 416\nwait 800\n";   // the lever, west
    s += Step("up") + Step("up") + Step("right") + Step("right");     // through the urn to (5, 2)
    s += "click 1 768 416\nwait 1200\n";                              // the door, east
    for (int i = 0; i < 4; ++i) s += Step("right");                   // onto the trap at (9, 2)
    s += "wait 1500\n";
    // Fast frames carry the clock past the autosave.
    if (waitForAutosave) s += "frames 1000x320\nwait 310000\n";
    return s + kLeaveAndQuit;
}

struct RoomRun {
    GameRun run;
    std::string tickerLog;
    std::string autosave;
    std::string stats;
};

RoomRun PlayRoom(bool waitForAutosave) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), PlayScript(waitForAutosave));
    RoomRun r;
    r.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Lock and Trap Room", "-x", "3", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    r.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    if (FileExists(user.file("autosave.sav"))) r.autosave = ReadWholeFile(user.file("autosave.sav"));
    r.stats = ReadWholeFile(user.file("store/stats.txt"));
    return r;
}

TEST(FixtureLockRoom, BeatingPullingOpeningAndTheTrapWriteTheCommittedTickerLogTwice) {
    const RoomRun first = PlayRoom(false);
    ASSERT_EQ(first.run.exitCode, 0) << TailOf(first.run.output);
    for (const char* bad : {"not found", "Couldn't", "roomScript:", "ZARNOCH ERROR", "no trap named"}) {
        EXPECT_EQ(first.run.output.find(bad), std::string::npos) << bad << "\n" << TailOf(first.run.output);
    }
    // Three hits, the last one breaks the urn; two pulls.
    const size_t broken = first.tickerLog.find("The urn falls to pieces.\n");
    ASSERT_NE(broken, std::string::npos) << first.tickerLog;
    size_t hits = 0;
    for (size_t at = first.tickerLog.find("The urn rattles.\n"); at != std::string::npos;
         at = first.tickerLog.find("The urn rattles.\n", at + 1)) {
        ++hits;
        EXPECT_LT(at, broken);
    }
    EXPECT_EQ(hits, 3u);
    size_t pulls = 0;
    for (size_t at = first.tickerLog.find("You pull the lever.\nThe lever clanks.\n"); at != std::string::npos;
         at = first.tickerLog.find("You pull the lever.\nThe lever clanks.\n", at + 1)) {
        ++pulls;
        EXPECT_GT(at, broken);
    }
    EXPECT_EQ(pulls, 2u);
    // The hero went through the opened door and sprang the trap.
    EXPECT_NE(first.stats.find("stat STAT_TRAPS_TRIGGERED 1\n"), std::string::npos) << first.stats;
    EXPECT_EQ(first.tickerLog, ReadWholeFile(kGolden));

    const RoomRun second = PlayRoom(false);
    ASSERT_EQ(second.run.exitCode, 0) << TailOf(second.run.output);
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

// The middle parts of the room's doors, top to bottom.
std::vector<Door*> MiddleDoorParts(Level* level) {
    std::vector<Door*> middles;
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            for (GameObj* obj : level->GetCell(x, y)->contents) {
                Door* door = dynamic_cast<Door*>(obj);
                if (door != nullptr && door->part == 1) middles.push_back(door);
            }
        }
    }
    return middles;
}

TEST(FixtureLockRoom, TheRoomsAutosaveLoadsWithItsDoorsAsTheyWereAndSavesTheSameBytes) {
    const RoomRun played = PlayRoom(true);
    ASSERT_EQ(played.run.exitCode, 0) << TailOf(played.run.output);
    ASSERT_GT(played.autosave.size(), 16u) << TailOf(played.run.output);

    // A load and a save give the same bytes, from the first load on.
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    const std::string once = LoadAndAutosave(user, "room.sav", played.autosave, kLeaveAndQuit + std::string(kQuitFromMenuScript));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(once.begin(), once.end()),
                                  std::vector<uint8_t>(played.autosave.begin(), played.autosave.end())),
              "");
    const std::string twice = LoadAndAutosave(user, "room.sav", once, kLeaveAndQuit + std::string(kQuitFromMenuScript));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(twice.begin(), twice.end()),
                                  std::vector<uint8_t>(once.begin(), once.end())),
              "");
    WriteWholeFile(user.file("room.sav"), once);

    InProcessGame game(user.path());
    ASSERT_TRUE(game.loaded());
    std::string printed;
    ASSERT_TRUE(game.Load("room.sav", &printed)) << TailOf(printed);
    ASSERT_NE(CurrentLevel, nullptr);
    const std::vector<Door*> middles = MiddleDoorParts(CurrentLevel);
    ASSERT_EQ(middles.size(), 2u);
    Door* upper = middles[0]->y < middles[1]->y ? middles[0] : middles[1];
    Door* lower = upper == middles[0] ? middles[1] : middles[0];
    // The door the hero opened: all three parts open, the square's open bit set.
    for (Door* part : {upper->previous, upper, upper->next}) {
        ASSERT_NE(part, nullptr);
        EXPECT_TRUE(part->open);
        EXPECT_EQ(part->blocksMovement, 0);
    }
    EXPECT_NE(CurrentLevel->GetCell(upper->x, upper->y)->doorFlags & 4, 0);
    EXPECT_EQ(upper->locked, 0);
    // The other door was made locked on this seed and comes back locked and shut.
    for (Door* part : {lower->previous, lower, lower->next}) {
        ASSERT_NE(part, nullptr);
        EXPECT_FALSE(part->open);
        EXPECT_EQ(part->locked, 1);
        EXPECT_EQ(part->kicks, 0);
    }
    EXPECT_EQ(CurrentLevel->GetCell(lower->x, lower->y)->doorFlags & 6, 2);

}

}  // namespace
