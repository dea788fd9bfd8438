// Monster population: the wandering spawner, room filling, zoos and their announcement.
#include "levels/gen/monster_spawning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "interface/game_frame.h"
#include "levels/level_test_map.h"
#include "levels/gen/monster_tables.h"
#include "levels/room_templates.h"
#include "media/music.h"
#include "media/ticker.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

const char* const kZooLine =
    "You gaze in upon what appears to be a menagerie of strange and horrible creatures, that have not yet eaten "
    "today!";

class MonsterSpawningTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMonsterDB();
        ClearTweakVals();
        const std::string tweaks =
            "<tweakDB><tweak name=\"monsterspawnturns\" ival=\"30\" fval=\"30\"/>"
            "<tweak name=\"minimum number of monsters in room\" ival=\"2\" fval=\"2\"/>"
            "<tweak name=\"additional monsters grace period\" ival=\"100\" fval=\"100\"/>"
            "<tweak name=\"horde room grace period\" ival=\"1000\" fval=\"1000\"/>"
            "<tweak name=\"horde chance\" ival=\"2\" fval=\"2\"/>"
            "<tweak name=\"named monster chance\" ival=\"30000\" fval=\"30000\"/>"
            "<tweak name=\"monster boost chance\" ival=\"30000\" fval=\"30000\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        const std::string monsters =
            "<monDB><monster name=\"Newt\" level=\"0\"/><monster name=\"Toad\" level=\"1\"/>"
            "<monster name=\"Eel\" level=\"1\" terrain=\"1\"/><monster name=\"Boss\" level=\"1\" special=\"1\"/>"
            "</monDB>";
        monDBLoadFromText(monsters.data(), monsters.size(), "monDB.xml");
        InitMonsterTables();
        InitMonsterSpawning();
        MTSeed(5);
        CSRand(5);
        CurrentPlayer = &hero_;
    }
    void TearDown() override {
        CurrentPlayer = nullptr;
        ClearMonsterDB();
        InitMonsterTables();
        ClearTweakVals();
        InitMonsterSpawning();
    }

    // Two 8 x 7 floor rooms side by side (ids 0 and 1), neighbours of each other; every
    // square visible.
    static void AddTwoRooms(Level& level, RoomTemplate* first, RoomTemplate* second) {
        for (int32_t id = 0; id < 2; ++id) {
            RoomRecord* room = new RoomRecord(id);
            room->left = 1 + id * 9;
            room->top = 1;
            room->right = room->left + 8;
            room->bottom = 8;
            room->roomTemplate = id == 0 ? first : second;
            level.rooms.push_back(room);
            level.roomNames.push_back(id == 0 ? "the Mossy Hall" : "the Damp Cellar");
            for (int32_t y = room->top; y < room->bottom; ++y) {
                for (int32_t x = room->left; x < room->right; ++x) level.GetCell(x, y)->room = static_cast<uint8_t>(id);
            }
        }
        level.rooms[0]->neighbours.push_back(level.rooms[1]);
        level.rooms[1]->neighbours.push_back(level.rooms[0]);
        for (LevelCell& cell : level.squares) cell.flags |= SquareFlag::Visible;
    }

    static std::vector<std::string> Map(char floor) {
        std::vector<std::string> rows(9, std::string(19, '#'));
        for (int32_t y = 1; y < 8; ++y) {
            for (int32_t x = 1; x < 18; ++x) {
                if (x != 9) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = floor;
            }
        }
        return rows;
    }

    static int32_t MonstersIn(const Level& level, const RoomRecord& room) {
        int32_t count = 0;
        for (GameObj* obj : level.monsters) count += room.Contains(obj->x, obj->y) ? 1 : 0;
        return count;
    }

    Player hero_;
};

TEST_F(MonsterSpawningTest, TheSpawnerKeepsItsTurns) {
    ScopedTestLevel level(Map('.'), 1);
    AddTwoRooms(*level, nullptr, nullptr);
    level->rooms[1]->active = 1;  // both seen: any neighbour is a candidate
    hero_.currentRoom = 0;
    std::vector<int32_t> spawnTurns;
    std::vector<int32_t> suppression;
    for (int32_t turn = 1; turn <= 200; ++turn) {
        const int32_t before = MonsterSpawner.lastSpawnTurn;
        UpdateMonsterSpawning();
        if (MonsterSpawner.lastSpawnTurn != before) spawnTurns.push_back(MonsterSpawner.spawnTurn);
        if (turn <= 3) suppression.push_back(MonsterSpawner.spawnSuppression);
    }
    EXPECT_EQ(suppression, (std::vector<int32_t>{60, 59, 59}));
    EXPECT_EQ(spawnTurns, (std::vector<int32_t>{31, 62, 93, 124, 155, 186}));
    EXPECT_EQ(MonstersIn(*level, *level->rooms[1]), 6);  // all beside the hero, in the neighbour
    EXPECT_EQ(MonstersIn(*level, *level->rooms[0]), 0);

    // No room (255 after a portal return): the turn passes without a spawn.
    InitMonsterSpawning();
    hero_.currentRoom = 255;
    for (int32_t turn = 1; turn <= 200; ++turn) UpdateMonsterSpawning();
    EXPECT_EQ(level->monsters.size(), 6u);
}

TEST_F(MonsterSpawningTest, DelayingAddsSuppressionOnlyForFlagZero) {
    DelayMonsterSpawning(0);
    EXPECT_EQ(MonsterSpawner.spawnSuppression, 70);
    DelayMonsterSpawning(1);
    EXPECT_EQ(MonsterSpawner.spawnSuppression, 70);
}

TEST_F(MonsterSpawningTest, RoomsFillOnceWithTheirExceptions) {
    RoomTemplate quiet("quiet", 8, 7);
    quiet.nomonsters = 1;
    {
        // Depth 0: room 0 stays empty and uncounted but becomes active.
        ScopedTestLevel level(Map('.'), 0);
        AddTwoRooms(*level, nullptr, nullptr);
        PopulateRoomWithMonsters(level.get(), level->rooms[0]);
        EXPECT_EQ(level->rooms[0]->active, 1);
        EXPECT_EQ(MonsterSpawner.roomsPopulated, 0);
        EXPECT_TRUE(level->monsters.empty());
        PopulateRoomWithMonsters(level.get(), level->rooms[1]);
        EXPECT_EQ(MonsterSpawner.roomsPopulated, 1);
        EXPECT_EQ(MonstersIn(*level, *level->rooms[1]), 2);
        EXPECT_EQ(MonsterSpawner.spawnSuppression, 62);
        PopulateRoomWithMonsters(level.get(), level->rooms[1]);  // already active
        EXPECT_EQ(MonstersIn(*level, *level->rooms[1]), 2);
    }
    {
        // A "nomonsters" room counts but stays empty.
        ScopedTestLevel level(Map('.'), 1);
        AddTwoRooms(*level, &quiet, nullptr);
        PopulateRoomWithMonsters(level.get(), level->rooms[0]);
        EXPECT_EQ(MonsterSpawner.roomsPopulated, 2);
        EXPECT_TRUE(level->monsters.empty());
    }
    // An empty monster table fills nothing and places nothing outside the grid.
    ClearMonsterDB();
    InitMonsterTables();
    ScopedTestLevel level(Map('.'), 1);
    AddTwoRooms(*level, nullptr, nullptr);
    PopulateRoomWithMonsters(level.get(), level->rooms[1]);
    EXPECT_TRUE(level->monsters.empty());
}

TEST_F(MonsterSpawningTest, DiscoveringRoomsFillsThemAndAnnouncesTheFirstZoo) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    RoomTemplate zoo("zoo", 8, 7);
    zoo.zoo = 1;
    ClearTickerLog();
    ZooBannerMs = 0;
    {
        ScopedTestLevel level(Map('z'), 1);
        AddTwoRooms(*level, &zoo, &zoo);
        DiscoverMonsterZoo();
        EXPECT_EQ(level->rooms[0]->active, 1);
        EXPECT_EQ(level->rooms[1]->active, 1);
        EXPECT_EQ(MonsterSpawner.roomsPopulated, 0);  // zoo floor never goes through room filling
        EXPECT_EQ(static_cast<int32_t>(level->monsters.size()), hero_.zooMonsterCount);
        EXPECT_EQ(hero_.zooMonsterCount, 2 * 8 * 7);
        for (GameObj* obj : level->monsters) EXPECT_TRUE(static_cast<Monster*>(obj)->zooMonster);
        EXPECT_EQ(hero_.lastDiscoveredRoom, 1);
    }
    EXPECT_EQ(ZooBannerMs, 2000);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/brawl-open.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/brawl-repeat.ogg");
    const std::vector<std::string> log = TickerLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "You have discovered the Mossy Hall!"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), kZooLine), 1) << ::testing::PrintToString(log);
    EXPECT_NE(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_GUESS_WHOS_COMING_TO_DINNER"),
              std::string::npos);
    // A second zoo in the same game is not announced again.
    ZooBannerMs = 0;
    ScopedTestLevel again(Map('z'), 1);
    AddTwoRooms(*again, &zoo, nullptr);
    DiscoverMonsterZoo();
    EXPECT_EQ(ZooBannerMs, 0);
    const std::vector<std::string> after = TickerLog();
    EXPECT_EQ(std::count(after.begin(), after.end(), kZooLine), 1);
    SteamAPI_Shutdown();
}

}  // namespace
