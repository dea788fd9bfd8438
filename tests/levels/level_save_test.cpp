// The level's part of a save: the golden bytes of a small level, the room records and their
// legacy template table, streams of older versions, doors rebuilt from their square flags,
// the re-link of chest levers, hostile counts and objects that cannot be saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/command_state.h"
#include "core/save_stream.h"
#include "creatures/player.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/passages.h"
#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/level_save.h"
#include "levels/room_templates.h"
#include "tests/levels/save_bytes.h"

// A placed class the registry has never heard of.
class UnrecordedOrnament : public GameObj {};

namespace {

const char* const kTemplates =
    "<roomdb>"
    "<room name='First' width='1' height='1'><row text='.'/></room>"
    "<room name='Hall' width='3' height='2'><row text='...'/><row text='...'/></room>"
    "<room name='Starting Room' width='1' height='1'><row text='.'/></room>"
    "<room name='Ninja Hall 2' width='1' height='1'><row text='.'/></room>"
    "<room name='Mini Ninja Room 1' width='1' height='1'><row text='.'/></room>"
    "<room name='Basic block' width='1' height='1'><row text='.'/></room>"
    "<room name='Goo Ambush 1' width='1' height='1'><row text='.'/></room>"
    "</roomdb>";

int CountLines(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

class LevelSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedDebugFlags_ = CmdLine.debugFlags;
        CmdLine.debugFlags = 0;
        CurrentPlayer = nullptr;
        ClearRoomTemplates();
        ASSERT_TRUE(LoadRoomTemplatesFromBuffer(kTemplates, std::strlen(kTemplates), "test rooms"));
        BuildRoomTemplateMap();
    }
    void TearDown() override {
        for (Level* level : GameLevels) delete level;
        GameLevels.clear();
        CurrentLevel = nullptr;
        CurrentPlayer = savedHero_;
        CmdLine.debugFlags = savedDebugFlags_;
        ClearRoomTemplates();
    }

    // Reads one level record from the bytes; the level ends up in GameLevels when its squares
    // were reached. Captures what the load prints.
    Level* LoadLevel(const std::vector<uint8_t>& bytes, SaveVersion version, std::string* output,
                     SaveReader** keepReader = nullptr) {
        reader_.reset(new SaveReader(bytes));
        reader_->version = version;
        Level* level = Level::LevelForLoading();
        testing::internal::CaptureStdout();
        level->Load(*reader_);
        const std::string printed = testing::internal::GetCapturedStdout();
        if (output != nullptr) *output = printed;
        if (std::find(GameLevels.begin(), GameLevels.end(), level) == GameLevels.end()) {
            delete level;
            level = nullptr;
        }
        if (keepReader != nullptr) *keepReader = reader_.get();
        return level;
    }

    // The 3 x 2 level of the golden test: one room, a door-only square, a marked blocked wall,
    // an explored square with a mine, one plain object and one script counter.
    Level* MakeSmallLevel() {
        Level* level = new Level(0, 2);
        level->branchId = 0;
        level->SetSize(3, 2);
        GameLevels.push_back(level);
        RoomRecord* room = new RoomRecord(0);
        room->active = 1;
        room->right = 3;
        room->bottom = 2;
        room->roomTemplate = FindRoomTemplate("Hall");
        level->rooms.push_back(room);
        level->roomNames.push_back("Great Hall");
        level->roomCount = 1;
        level->GetCell(0, 0)->type = SquareType::Door;
        level->GetCell(0, 0)->doorFlags = 3;
        (new Door(1, 2, 1))->PlaceOnLevel(0, 0, level, 0);
        level->GetCell(1, 1)->type = SquareType::Floor;
        level->GetCell(1, 1)->flags = SquareFlag::Explored | SquareFlag::Mapped;
        level->AddSpellMine(1, 1, nullptr, 3, nullptr, 7);
        level->GetCell(2, 0)->type = SquareType::Wall;
        level->GetCell(2, 0)->flags = SquareFlag::Blocked | SquareFlag::MarkedWall;
        level->GetCell(2, 1)->type = SquareType::Floor;
        (new GameObj())->PlaceOnLevel(2, 1, level, 0);
        level->previousRoom = 0;
        level->scriptSuccesses[std::make_pair(0, 1)] = 4;
        return level;
    }

    static SaveBytes& Square(SaveBytes& b, int type, int door, int blocked, int explored, int mapped, int marked) {
        return b.u8(0).i32(type).i32(door).i32(blocked).i32(0).i32(explored).i32(0).i32(0).i32(mapped).i32(marked);
    }
    static SaveBytes& EmptyEnd(SaveBytes& b) { return b.i32(0).i32(0).i32(0xBAADF00D); }  // K, M, marker

    std::unique_ptr<SaveReader> reader_;
    uint32_t savedDebugFlags_ = 0;
    Player* savedHero_ = nullptr;
};

TEST_F(LevelSaveTest, ASmallLevelWritesItsGoldenBytesAndReadsBackTheSame) {
    Level* level = MakeSmallLevel();
    SaveWriter out;
    ASSERT_TRUE(level->Save(out));

    SaveBytes b;
    b.i32(1).str("Great Hall").i32(0);                                // one room, its name and key
    b.i32(0).i32(1).i32(0).i32(0).i32(0).i32(0).i32(3).i32(2).str("Hall").i32(0);
    b.i32(3).i32(2).i32(2).i32(0);                                    // width, height, depth, branch
    const size_t firstSquare = b.size();
    EmptyEnd(Square(b, SquareType::Door, 3, 0, 0, 0, 0));            // (0,0): the door is left out
    EXPECT_EQ(b.size() - firstSquare, 37u + 12u);
    EmptyEnd(Square(b, 0, 0, 0, 0, 0, 0));                            // (0,1)
    EmptyEnd(Square(b, 0, 0, 0, 0, 0, 0));                            // (1,0)
    Square(b, SquareType::Floor, 0, 0, 1, 1, 0).i32(0).i32(1).i32(7).i32(3).i32(0xBAADF00D);  // (1,1)
    EmptyEnd(Square(b, SquareType::Wall, 0, 1, 0, 0, 1));             // (2,0)
    Square(b, SquareType::Floor, 0, 0, 0, 0, 0).i32(1).i32(GetRegisteredClassHash("GameObj"));  // (2,1)
    b.i32(0).f32(0.0f).f32(0.0f).i32(0).i32(2).i32(2).i32(1).i32(0).i32(1).i32(1).i32(0).i32(1).i32(-1).str("");
    b.i32(0).i32(0xBAADF00D);
    b.i32(0).i32(1).i32(0).i32(1).i32(4).i32(0xDEADBEEF);            // room-script state
    b.i32(0).i32(0).i32(0).i32(0);                                    // not a side dimension
    EXPECT_EQ(FirstByteDifference(out.Buffer(), b.bytes), "");

    std::string printed;
    Level* loaded = LoadLevel(out.Buffer(), kCurrentSaveVersion, &printed);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(reader_->Failed()) << reader_->Error();
    EXPECT_EQ(reader_->Remaining(), 0u);
    EXPECT_EQ(CountLines(printed, "loading square: "), 0) << "only the loads debug bit asks for a line per square";
    ASSERT_EQ(loaded->rooms.size(), 1u);
    EXPECT_EQ(loaded->roomNames, std::vector<std::string>{"Great Hall"});
    EXPECT_EQ(loaded->rooms[0]->roomTemplate, FindRoomTemplate("Hall"));
    EXPECT_EQ(loaded->depth, 2);
    EXPECT_EQ(loaded->GetCell(2, 0)->flags, SquareFlag::Blocked | SquareFlag::MarkedWall);
    ASSERT_EQ(loaded->GetCell(2, 1)->contents.size(), 1u);
    EXPECT_EQ(loaded->GetCell(2, 1)->contents[0]->level, loaded);
    ASSERT_EQ(loaded->spellMines.size(), 1u);
    EXPECT_EQ(loaded->spellMines[0]->cell, loaded->GetCell(1, 1));
    EXPECT_EQ(loaded->spellMines[0]->value, 7);
    EXPECT_EQ(loaded->previousRoom, 0);
    EXPECT_EQ(loaded->scriptSuccesses.at(std::make_pair(0, 1)), 4);

    SaveWriter again;
    ASSERT_TRUE(loaded->Save(again));
    EXPECT_EQ(again.Buffer(), out.Buffer());

    // With the loads debug bit every square is named as it is read, x before y.
    CmdLine.debugFlags = kDebugLoads;
    ASSERT_NE(LoadLevel(out.Buffer(), kCurrentSaveVersion, &printed), nullptr);
    EXPECT_EQ(printed.rfind("loading square: 0 0\nloading square: 0 1\nloading square: 1 0\n", 0), 0u) << printed;
    EXPECT_EQ(CountLines(printed, "loading square: "), 6);
}

TEST_F(LevelSaveTest, OlderStreamsReadOnlyTheFieldsTheirVersionHas) {
    struct Case {
        const char* label;
        SaveVersion version;
        bool markedWall;   // squares carry the MarkedWall word
        bool scriptState;  // field 8
        bool sideFields;   // field 9
        bool minesKept;
    };
    const Case cases[] = {
        {"1.0.7", kSaveV1_0_7, false, false, false, false},
        {"1.0.9", kSaveV1_0_9, false, true, true, false},
        {"1.0.10", kSaveV1_0_10, true, true, true, true},
        {"1.0.11", SaveVersion{1, 0, 11}, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SaveBytes b;
        b.i32(0).i32(1).i32(1).i32(4).i32(0);  // no rooms; 1 x 1 at depth 4
        b.u8(0).i32(SquareType::Floor).i32(0).i32(0).i32(0).i32(1).i32(0).i32(0).i32(1);
        if (c.markedWall) b.i32(1);
        b.i32(0).i32(1).i32(5).i32(2).i32(0xBAADF00D);  // one mine
        if (c.scriptState) b.i32(3).i32(0).i32(0xDEADBEEF);
        if (c.sideFields) b.i32(1).i32(2).i32(10).i32(11);
        b.i32(0x12345678);  // what follows the level
        Level* level = LoadLevel(b.bytes, c.version, nullptr);
        ASSERT_NE(level, nullptr);
        ASSERT_FALSE(reader_->Failed()) << reader_->Error();
        EXPECT_EQ(reader_->ReadInt32(), 0x12345678);
        EXPECT_EQ(level->GetCell(0, 0)->HasFlag(SquareFlag::MarkedWall), c.markedWall);
        EXPECT_TRUE(level->GetCell(0, 0)->HasFlag(SquareFlag::Mapped));
        EXPECT_EQ(level->spellMines.size(), c.minesKept ? 1u : 0u);
        EXPECT_EQ(level->GetCell(0, 0)->mines.size(), c.minesKept ? 1u : 0u);
        EXPECT_EQ(level->previousRoom, c.scriptState ? 3 : -1);
        EXPECT_EQ(level->isSideDimension, c.sideFields ? 1 : 0);
        EXPECT_EQ(level->returnDepth, c.sideFields ? 2 : 0);
        EXPECT_EQ(level->returnX, c.sideFields ? 10 : 0);
        EXPECT_EQ(level->returnY, c.sideFields ? 11 : 0);
    }
}

TEST_F(LevelSaveTest, RoomRecordsWriteTheirGoldenBytesAndRelinkNeighboursByKey) {
    Level level(0, 0);
    for (int32_t id : {0, 1, 2}) {
        RoomRecord* room = new RoomRecord(id);
        room->roomTemplate = FindRoomTemplate("Hall");
        room->left = id;
        room->top = 2;
        room->right = id + 3;
        room->bottom = 4;
        level.rooms.push_back(room);
        level.roomNames.push_back("room " + std::to_string(id));
    }
    level.rooms[1]->neighbours = {level.rooms[0], level.rooms[2]};
    level.rooms[1]->shopOrZoo = true;
    level.rooms[1]->extra = 9;

    SaveWriter none;
    ASSERT_TRUE(level.rooms[0]->Save(none));
    EXPECT_EQ(none.Buffer(), SaveBytes().i32(0).i32(0).i32(0).i32(0).i32(0).i32(2).i32(3).i32(4).str("Hall").i32(0).bytes);
    SaveWriter two;
    ASSERT_TRUE(level.rooms[1]->Save(two));
    EXPECT_EQ(two.Buffer(),
              SaveBytes().i32(2).i32(0).i32(2).i32(0).i32(1).i32(1).i32(1).i32(2).i32(4).i32(4).str("Hall").i32(9).bytes);

    // Keys that name rooms come back as those rooms; a key no room has comes back null.
    SaveBytes b;
    b.i32(3);
    b.str("a").i32(70).i32(2).i32(71).i32(99).i32(1).i32(0).i32(0).i32(0).i32(0).i32(1).i32(1).str("Hall").i32(0);
    b.str("b").i32(71).i32(1).i32(70).i32(0).i32(0).i32(1).i32(0).i32(0).i32(1).i32(1).str("Hall").i32(0);
    b.str("c").i32(72).i32(0).i32(0).i32(0).i32(2).i32(0).i32(0).i32(1).i32(1).str("Hall").i32(0);
    SaveReader in(b.bytes);
    Level* read = Level::LevelForLoading();
    std::unique_ptr<Level> owner(read);
    ReadLevelRooms(read, in);
    ASSERT_FALSE(in.Failed());
    ASSERT_EQ(read->rooms.size(), 3u);
    EXPECT_EQ(read->roomCount, 3);
    EXPECT_EQ(read->roomNames, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(read->rooms[0]->neighbours, (std::vector<RoomRecord*>{read->rooms[1], nullptr}));
    EXPECT_EQ(read->rooms[1]->neighbours, std::vector<RoomRecord*>{read->rooms[0]});
    EXPECT_TRUE(read->rooms[2]->neighbours.empty());
    EXPECT_EQ(read->rooms[2]->roomId, 2);
}

TEST_F(LevelSaveTest, LegacyTemplateIndicesFollowTheFixedTableAndUnknownNamesFallBackLoudly) {
    struct Case {
        const char* label;
        SaveVersion version;
        int32_t index;        // for versions before 1.0.10
        const char* name;     // for 1.0.10
        const char* expected;  // the template the record gets
        bool diagnostic;
    };
    const Case cases[] = {
        {"1.0.9 index 191", kSaveV1_0_9, 191, nullptr, "Mini Ninja Room 1", false},
        {"1.0.8 index 191 is five too high", kSaveV1_0_8, 191, nullptr, "Basic block", false},
        {"1.0.8 below 191 is as stored", kSaveV1_0_8, 190, nullptr, "Ninja Hall 2", false},
        {"first entry", kSaveV1_0_6, 0, nullptr, "Starting Room", false},
        {"last entry", kSaveV1_0_9, 233, nullptr, "Goo Ambush 1", false},
        {"left-out entry 22", kSaveV1_0_9, 22, nullptr, "First", true},
        {"left-out entry 98", kSaveV1_0_9, 98, nullptr, "First", true},
        {"left-out entry 217", kSaveV1_0_9, 217, nullptr, "First", true},
        {"left-out entry 218", kSaveV1_0_9, 218, nullptr, "First", true},
        {"past the table", kSaveV1_0_9, 234, nullptr, "First", true},
        {"negative", kSaveV1_0_9, -1, nullptr, "First", true},
        {"a template that is gone", kSaveV1_0_10, 0, "Room From A Mod", "First", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SaveBytes b;
        b.i32(0).i32(1).i32(1).i32(5).i32(0).i32(0).i32(1).i32(1);
        if (c.name != nullptr) {
            b.str(c.name);
        } else {
            b.i32(c.index);
        }
        const bool hasExtra = c.version.AtLeast(kSaveV1_0_7);
        if (hasExtra) b.i32(6);
        b.i32(0x77);
        SaveReader in(b.bytes);
        in.version = c.version;
        RoomRecord record(0);
        testing::internal::CaptureStdout();
        record.Load(in);
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_NE(record.roomTemplate, nullptr);
        EXPECT_EQ(record.roomTemplate->name, c.expected);
        EXPECT_EQ(printed.find("RoomRecord: ") != std::string::npos, c.diagnostic) << printed;
        EXPECT_EQ(record.extra, hasExtra ? 6 : 0);
        EXPECT_EQ(in.ReadInt32(), 0x77);
    }
}

TEST_F(LevelSaveTest, DoorsComeBackFromTheirSquareFlagsOpenAndLockedAsTheyWere) {
    struct Case {
        const char* label;
        uint8_t doorFlags;
        bool sideBySide;
        bool open;
        bool locked;
        int32_t kicksBefore;  // failed kicks on each part before the save; a load starts again at 0
    };
    const Case cases[] = {
        {"side by side, open", 1 | 4, true, true, false, 0},
        {"side by side, locked", 1 | 2, true, false, true, 0},
        {"side by side, locked after two failed kicks", 1 | 2, true, false, true, 2},
        {"along y, closed", 0, false, false, false, 0},
        {"along y, open and unlocked after a kick", 4, false, true, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Level* level = new Level(0, 1);
        level->SetSize(7, 5);
        GameLevels.push_back(level);
        for (LevelCell& cell : level->squares) cell.type = SquareType::Wall;
        level->GetCell(3, 2)->type = SquareType::Door;
        level->GetCell(3, 2)->doorFlags = c.doorFlags;
        testing::internal::CaptureStdout();
        level->FixBadDoors();
        testing::internal::GetCapturedStdout();
        for (GameObj* obj : level->objects) {
            if (Door* door = dynamic_cast<Door*>(obj)) door->kicks = c.kicksBefore;
        }
        SaveWriter out;
        ASSERT_TRUE(level->Save(out));
        Level* loaded = LoadLevel(out.Buffer(), kCurrentSaveVersion, nullptr);
        ASSERT_NE(loaded, nullptr);
        int32_t doors = 0;
        for (int32_t offset = -1; offset <= 1; ++offset) {
            const int32_t x = c.sideBySide ? 3 + offset : 3;
            const int32_t y = c.sideBySide ? 2 : 2 + offset;
            for (GameObj* obj : loaded->GetCell(x, y)->contents) {
                Door* door = dynamic_cast<Door*>(obj);
                ASSERT_NE(door, nullptr);
                ++doors;
                EXPECT_EQ(door->open, c.open);
                EXPECT_EQ(door->locked != 0, c.locked);
                EXPECT_EQ(door->orientation, c.sideBySide ? 1 : 0);
                EXPECT_EQ(door->kicks, 0);
            }
        }
        EXPECT_EQ(doors, 3);
        SaveWriter again;
        ASSERT_TRUE(loaded->Save(again));
        EXPECT_EQ(again.Buffer(), out.Buffer());
        for (Level* l : GameLevels) delete l;
        GameLevels.clear();
    }
}

TEST_F(LevelSaveTest, ChestLeversAreLinkedToTheLastUberChestOnTheirTarget) {
    Level level(0, 0);
    level.SetSize(4, 4);
    UberChest* first = new UberChest();
    UberChest* second = new UberChest();
    first->PlaceOnLevel(2, 2, &level, 0);
    second->PlaceOnLevel(2, 2, &level, 0);
    GameObj* keep = new GameObj();
    keep->PlaceOnLevel(3, 3, &level, 0);
    struct LeverCase {
        int32_t kind, tx, ty;
        GameObj* expected;
    };
    const LeverCase cases[] = {
        {3, 2, 2, second},  // the last uber chest of the square
        {3, 9, 9, keep},    // target outside the grid: keeps its link
        {3, 3, 3, keep},    // no uber chest there: keeps its link
        {1, 2, 2, keep},    // a wall lever is not a chest lever
    };
    std::vector<Lever*> levers;
    for (const LeverCase& c : cases) {
        Lever* lever = new Lever();
        lever->kind = c.kind;
        lever->targetX = c.tx;
        lever->targetY = c.ty;
        lever->linked = keep;
        lever->PlaceOnLevel(0, static_cast<int32_t>(levers.size()), &level, 0);
        levers.push_back(lever);
    }
    RelinkChestLevers(&level);
    for (size_t i = 0; i < levers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(levers[i]->linked, cases[i].expected);
    }
}

TEST_F(LevelSaveTest, ObjectsLandOnTheLevelTheyWereReadWithWhenTwoLevelsShareDepthAndBranch) {
    Level* a = new Level(0, 1);
    a->SetSize(4, 4);
    GameLevels.push_back(a);
    Level* b = new Level(0, 1);
    b->SetSize(4, 4);
    b->branchId = a->branchId;
    GameLevels.push_back(b);
    (new GameObj())->PlaceOnLevel(1, 1, a, 0);
    (new GameObj())->PlaceOnLevel(2, 3, b, 0);
    SaveWriter out;
    ASSERT_TRUE(a->Save(out));
    ASSERT_TRUE(b->Save(out));
    for (Level* level : GameLevels) delete level;
    GameLevels.clear();

    SaveReader in(out.Buffer());
    Level* readA = Level::LevelForLoading();
    testing::internal::CaptureStdout();
    readA->Load(in);
    Level* readB = Level::LevelForLoading();
    readB->Load(in);
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(in.Failed()) << in.Error();
    ASSERT_EQ(GameLevels, (std::vector<Level*>{readA, readB}));
    ASSERT_EQ(readA->objects.size(), 1u);
    ASSERT_EQ(readB->objects.size(), 1u);
    EXPECT_EQ(readA->GetCell(1, 1)->contents, readA->objects);
    EXPECT_EQ(readB->GetCell(2, 3)->contents, readB->objects);
}

TEST_F(LevelSaveTest, HostileCountsAndClassKeysFailTheReaderWithoutAllocating) {
    // A valid 1 x 1 level; each case overwrites one word of it.
    const auto build = [](int32_t rooms, int32_t neighbours, int32_t width, int32_t height, int32_t objects,
                          uint32_t key, int32_t mines, int32_t counters, int32_t objectDepth = 0,
                          int32_t objectX = 0, int32_t objectY = 0) {
        SaveBytes b;
        b.i32(rooms);
        if (rooms == 1) b.str("r").i32(0).i32(neighbours).i32(1).i32(0).i32(0).i32(0).i32(0).i32(1).i32(1).str("Hall").i32(0);
        b.i32(width).i32(height).i32(0).i32(0);
        b.u8(0).i32(1).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
        b.i32(objects);
        if (objects == 1) {
            b.i32(key).i32(0).f32(0).f32(0).i32(0).i32(objectDepth).i32(objectX).i32(objectY);
            b.i32(0).i32(1).i32(1).i32(0).i32(1).i32(-1).str("");
        }
        b.i32(mines).i32(0xBAADF00D);
        b.i32(-1).i32(counters).i32(0xDEADBEEF).i32(0).i32(0).i32(0).i32(0);
        return b.bytes;
    };
    const uint32_t plain = GetRegisteredClassHash("GameObj");
    struct Case {
        const char* label;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const Case cases[] = {
        {"sound", build(1, 0, 1, 1, 1, plain, 0, 0), nullptr},
        {"room count", build(0x7FFFFFFF, 0, 1, 1, 0, 0, 0, 0), "count"},
        {"negative room count", build(-3, 0, 1, 1, 0, 0, 0, 0), "negative count"},
        {"neighbour count", build(1, 100000000, 1, 1, 0, 0, 0, 0), "count"},
        {"width", build(0, 0, 100000, 1, 0, 0, 0, 0), "squares"},
        {"negative height", build(0, 0, 1, -1, 0, 0, 0, 0), "squares"},
        {"grid larger than the file", build(0, 0, 1000, 1000, 0, 0, 0, 0), "larger than the rest"},
        {"object count", build(0, 0, 1, 1, 50000000, 0, 0, 0), "count"},
        {"unknown class key", build(0, 0, 1, 1, 1, 0x13572468, 0, 0), "unknown class key"},
        {"mine count", build(0, 0, 1, 1, 0, 0, 0x40000000, 0), "count"},
        {"script counter count", build(0, 0, 1, 1, 0, 0, 0, 0x10000000), "count"},
        // An object nothing would own, or one off the grid, would be gone at the next save.
        {"object of a level that is not there", build(1, 0, 1, 1, 1, plain, 0, 0, 7), "belongs to no level"},
        {"object x far off the grid", build(1, 0, 1, 1, 1, plain, 0, 0, 0, 100000, 0), "outside the 1 x 1 grid"},
        {"object x and y off the grid", build(1, 0, 1, 1, 1, plain, 0, 0, 0, -3, 100000), "outside the 1 x 1 grid"},
        {"object y just past the grid", build(1, 0, 1, 1, 1, plain, 0, 0, 0, 0, 1), "outside the 1 x 1 grid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string printed;
        Level* level = LoadLevel(c.bytes, kCurrentSaveVersion, &printed);
        if (c.message == nullptr) {
            ASSERT_FALSE(reader_->Failed()) << reader_->Error();
            ASSERT_NE(level, nullptr);
            EXPECT_EQ(level->objects.size(), 1u);
        } else {
            EXPECT_TRUE(reader_->Failed());
            EXPECT_NE(reader_->Error().find(c.message), std::string::npos) << reader_->Error();
            EXPECT_NE(printed.find("save stream: "), std::string::npos) << printed;
        }
        for (Level* l : GameLevels) delete l;
        GameLevels.clear();
    }
}

TEST_F(LevelSaveTest, AnObjectWithoutASaveRecordOfItsClassStopsTheSaveAndIsNamed) {
    Level* level = MakeSmallLevel();
    // Doors are never written, registered or not.
    EXPECT_EQ(FindUnsavableObject(level), nullptr);
    UnrecordedOrnament* ornament = new UnrecordedOrnament();
    ornament->PlaceOnLevel(1, 0, level, 0);
    EXPECT_EQ(FindUnsavableObject(level), ornament);
    EXPECT_EQ(MissingSaveRecordClass(ornament), "UnrecordedOrnament");
    SaveWriter out;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(level->Save(out));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("a UnrecordedOrnament on floor 2 at (1, 0) has no save record"), std::string::npos) << printed;
    EXPECT_EQ(out.BytesWritten(), 0u);
}

TEST_F(LevelSaveTest, LegacyStreamsNameClassesByTheirIndexInTheOldTable) {
    Level* level = new Level(0, 0);
    level->SetSize(1, 1);
    GameLevels.push_back(level);
    (new GameObj())->PlaceOnLevel(0, 0, level, 0);
    SaveWriter out;
    out.version = kSaveV1_0_6;
    ASSERT_TRUE(level->Save(out));
    // R, size, depth, branch, then the square's 37 - 4 bytes (no MarkedWall word) and K.
    const std::vector<uint8_t>& bytes = out.Buffer();
    const size_t keyAt = 4 + 16 + 33 + 4;
    ASSERT_GT(bytes.size(), keyAt + 4);
    EXPECT_EQ(bytes[keyAt], 22);  // "GameObj" in the legacy table
    for (Level* l : GameLevels) delete l;
    GameLevels.clear();
    Level* read = LoadLevel(bytes, kSaveV1_0_6, nullptr);
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(reader_->Failed()) << reader_->Error();
    EXPECT_EQ(read->objects.size(), 1u);
}

}  // namespace
