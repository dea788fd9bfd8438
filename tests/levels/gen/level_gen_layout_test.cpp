// Template placement: fitting, stamping, doors, finished rooms, stairs, and the bounded layout
// passes (restarts, seeds, portal, tutorial and test-room levels).
#include <gtest/gtest.h>

#include "core/shell/turn_engine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "creatures/shopkeeper.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/passages.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_layout.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

std::string Room(const std::string& name, const std::vector<std::string>& rows, const std::string& flags = "") {
    std::string xml = "<room name=\"" + name + "\" width=\"" + std::to_string(rows.empty() ? 0 : rows[0].size()) +
                      "\" height=\"" + std::to_string(rows.size()) + "\">";
    if (!flags.empty()) xml += "<flags " + flags + "/>";
    for (const std::string& row : rows) xml += "<row text=\"" + row + "\"/>";
    return xml + "</room>";
}

std::string Rooms(const std::vector<std::string>& rooms) {
    std::string xml = "<roomdb>";
    for (const std::string& r : rooms) xml += r;
    return xml + "</roomdb>";
}

template <class T>
std::vector<T*> ObjectsOf(const Level& level) {
    std::vector<T*> found;
    for (GameObj* obj : level.objects) {
        if (auto* t = dynamic_cast<T*>(obj)) found.push_back(t);
    }
    return found;
}

using LevelLayoutTest = LevelGenTest;

TEST_F(LevelLayoutTest, TemplateFitsOnlyInsideTheMarginAndOnMatchingOverlaps) {
    UseRooms(Rooms({Room("corner", {"   ", " ##", " #D"})}));
    auto level = MakeLevel(1, 20);
    RoomTemplate* t = RoomTemplates[0];
    // The empty corner of the rectangle still counts for the three-square margin.
    EXPECT_FALSE(level->CanPlaceRoomTemplate(t, 2, 5));
    EXPECT_FALSE(level->CanPlaceRoomTemplate(t, 5, 2));
    EXPECT_FALSE(level->CanPlaceRoomTemplate(t, 15, 5));  // 15 + 2 >= 20 - 3
    EXPECT_TRUE(level->CanPlaceRoomTemplate(t, 3, 3));
    EXPECT_TRUE(level->CanPlaceRoomTemplate(t, 14, 14));
    EXPECT_FALSE(level->CanPlaceRoomTemplate(nullptr, 5, 5));

    struct Case {
        uint8_t square;  // what the level holds under the template's door square
        bool fits;
    } cases[] = {{SquareType::Rock, true},  {SquareType::Door, true},  {SquareType::Wall, false},
                 {SquareType::Floor, false}, {SquareType::Water, false}};
    for (const Case& c : cases) {
        level->GetCell(7, 7)->type = c.square;
        EXPECT_EQ(level->CanPlaceRoomTemplate(t, 5, 5), c.fits) << int(c.square);
    }
    level->GetCell(7, 7)->type = SquareType::Rock;
    level->GetCell(6, 6)->type = SquareType::Wall;  // wall on wall is fine
    EXPECT_TRUE(level->CanPlaceRoomTemplate(t, 5, 5));
    level->GetCell(5, 5)->type = SquareType::Floor;  // under the template's empty square: fine
    EXPECT_TRUE(level->CanPlaceRoomTemplate(t, 5, 5));
}

TEST_F(LevelLayoutTest, StampingAppliesDepthLiquidsMarksAndRoomNumbers) {
    UseRooms(Rooms({Room("pool", {"#D#d#", "WLGI!", ".X..P"}), Room("shop", {"#i#", ".s.", ".S."}, "shop=\"1\""),
                    Room("zoo", {"..", ".."}, "zoo=\"1\"")}));
    struct Case {
        int32_t depth;
        uint8_t liquid[4];
    } cases[] = {{3, {7, 7, 7, 7}}, {5, {7, 8, 9, 10}}, {6, {10, 10, 10, 10}}, {8, {8, 8, 8, 8}},
                 {9, {8, 8, 8, 8}}};
    for (const Case& c : cases) {
        auto level = MakeLevel(c.depth, 20);
        testing::internal::CaptureStdout();
        level->StampRoomTemplate(RoomTemplates[0], 4, 4);
        testing::internal::GetCapturedStdout();
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(level->GetCell(4 + i, 5)->type, c.liquid[i]) << c.depth;
    }
    ClearLayoutState();
    auto level = MakeLevel(2, 20);
    level->StampRoomTemplate(RoomTemplates[0], 4, 4);
    EXPECT_EQ(level->GetCell(5, 4)->type, SquareType::Door);
    EXPECT_EQ(level->GetCell(5, 4)->doorFlags & 1, 1);  // "D": side by side
    EXPECT_EQ(level->GetCell(7, 4)->doorFlags & 1, 0);  // "d"
    EXPECT_NE(level->GetCell(8, 5)->flags & SquareFlag::MarkedWall, 0);  // "!"
    EXPECT_EQ(level->GetCell(8, 6)->flags & SquareFlag::MarkedWall, 0);  // "P" is only marked for paintings
    EXPECT_EQ(level->GetCell(5, 6)->type, SquareType::Floor);            // "X"
    EXPECT_NE(level->GetCell(5, 6)->flags & SquareFlag::Blocked, 0);
    ASSERT_EQ(PendingDoors().size(), 2u);
    EXPECT_EQ(LayoutFloorCount(), 3);  // "X" is not counted: it is not floor when counted
    level->StampRoomTemplate(RoomTemplates[1], 10, 10);
    level->StampRoomTemplate(RoomTemplates[2], 14, 14);
    EXPECT_EQ(level->GetCell(10, 11)->type, SquareType::ShopFloor);
    EXPECT_EQ(level->GetCell(14, 14)->type, SquareType::ZooFloor);
    EXPECT_EQ(level->GetCell(10, 11)->room, 1);
    EXPECT_EQ(level->GetCell(14, 14)->room, 2);
    EXPECT_EQ(level->roomCount, 3);
    EXPECT_EQ(level->shopsPlaced, 1);
    EXPECT_EQ(level->roomNames.size(), 3u);
    ASSERT_EQ(PlacedRooms().size(), 3u);
    EXPECT_EQ(PlacedRooms()[1].smallSX, 11);
    EXPECT_EQ(PlacedRooms()[1].bigSY, 12);
    // A door stamped onto a door is not listed twice.
    level->StampRoomTemplate(RoomTemplates[0], 4, 4);
    EXPECT_EQ(PendingDoors().size(), 2u);
}

TEST_F(LevelLayoutTest, StampingCutsTemplatesAtTheLevelEdge) {
    UseRooms(Rooms({Room("big", {"#####", "#...#", "#####"})}));
    auto level = MakeLevel(1, 4);
    level->StampRoomTemplate(RoomTemplates[0], 2, 2);  // reaches past the 4 x 4 grid
    EXPECT_EQ(level->GetCell(3, 3)->type, SquareType::Floor);
    EXPECT_EQ(level->roomCount, 1);
}

TEST_F(LevelLayoutTest, BadSideBySideDoorsBecomeFloorAndOthersGetThreeChainedDoors) {
    auto level = MakeLevel(4, 20);
    for (int32_t x = 2; x <= 12; ++x) level->GetCell(x, 5)->type = SquareType::Floor;
    level->GetCell(5, 5)->type = SquareType::Door;  // "D" with floor two to each side: fixed
    level->GetCell(5, 5)->doorFlags = 1;
    level->GetCell(10, 5)->type = SquareType::Door;  // "d" with the same floor: never fixed
    level->GetCell(10, 5)->doorFlags = 0 | 2 | 4;   // locked and open
    level->GetCell(15, 9)->type = SquareType::Door;  // "D" between walls
    level->GetCell(15, 9)->doorFlags = 1;
    testing::internal::CaptureStdout();
    level->FixBadDoors();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "fixing bad door at 5 5\n");
    EXPECT_EQ(level->GetCell(5, 5)->type, SquareType::Floor);
    std::vector<Door*> doors = ObjectsOf<Door>(*level);
    ASSERT_EQ(doors.size(), 6u);
    // The "d" door stands along y, locked and open; the other along x.
    std::vector<Door*> upright;
    for (Door* d : doors) {
        if (d->x == 10) upright.push_back(d);
    }
    ASSERT_EQ(upright.size(), 3u);
    for (Door* d : upright) {
        EXPECT_EQ(d->orientation, 0);
        EXPECT_EQ(d->locked, 1);
        EXPECT_TRUE(d->open);
        EXPECT_EQ(d->depth, 4);
    }
    for (Door* d : doors) {
        if (d->part == 1) {
            EXPECT_EQ(d->previous->part, 0);
            EXPECT_EQ(d->next->part, 2);
        }
        if (d->x != 10) {
            EXPECT_EQ(d->orientation, 1);
            EXPECT_EQ(d->y, 9);
            EXPECT_EQ(d->x, 14 + d->part);
        }
    }
}

TEST_F(LevelLayoutTest, EveryDoorFramesItselfWithFloorEvenANeighbouringDoor) {
    auto level = MakeLevel(2, 20);
    for (int32_t x = 3; x <= 12; ++x) {
        for (int32_t y = 3; y <= 8; ++y) level->GetCell(x, y)->type = SquareType::Wall;
    }
    // Two door squares side by side, and one on its own.
    level->GetCell(5, 5)->type = SquareType::Door;
    level->GetCell(6, 5)->type = SquareType::Door;
    level->GetCell(10, 5)->type = SquareType::Door;
    level->FinishRooms();
    // Each of the pair is the other's neighbour: both are floor now.
    EXPECT_EQ(level->GetCell(5, 5)->type, SquareType::Floor);
    EXPECT_EQ(level->GetCell(6, 5)->type, SquareType::Floor);
    EXPECT_EQ(level->GetCell(10, 5)->type, SquareType::Door);
    for (int32_t y = 4; y <= 6; ++y) {
        for (int32_t x : {4, 7, 9, 11}) EXPECT_EQ(level->GetCell(x, y)->type, SquareType::Floor) << x << "," << y;
        EXPECT_EQ(level->GetCell(8, y)->type, SquareType::Wall) << y;
    }
    EXPECT_EQ(level->GetCell(3, 5)->type, SquareType::Wall);
}

TEST_F(LevelLayoutTest, FinishedShopGetsItsKeeperAndStockedPedestals) {
    LoadOurData();
    UseRooms(Rooms({Room("shop", {"#####", "#i.i#", "#sS.#", "##D##"}, "shop=\"1\"")}));
    auto level = MakeLevel(2, 20);
    level->StampRoomTemplate(RoomTemplates[0], 5, 5);
    testing::internal::CaptureStdout();
    level->FinishRooms();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "spawning shopkeeper: 6 7\n");
    ASSERT_EQ(level->shopkeepers.size(), 1u);
    Shopkeeper* keeper = static_cast<Shopkeeper*>(level->shopkeepers[0]);
    EXPECT_EQ(keeper->x, 7);
    EXPECT_EQ(keeper->y, 7);
    EXPECT_EQ(keeper->guardX, 6);
    EXPECT_EQ(keeper->homeX, 7);
    EXPECT_GE(keeper->variant, 0);
    EXPECT_LE(keeper->variant, 3);
    EXPECT_EQ(level->monsters.size(), 1u);
    std::vector<ShopPedestal*> pedestals = ObjectsOf<ShopPedestal>(*level);
    ASSERT_EQ(pedestals.size(), 2u);
    for (ShopPedestal* p : pedestals) {
        ASSERT_NE(p->stock, nullptr);
        EXPECT_EQ(p->stock->unpaid, 1);
        EXPECT_EQ(p->y, 6);
    }
    // The door frame: the door's neighbours are floor, rock above floor became wall.
    EXPECT_EQ(level->GetCell(6, 8)->type, SquareType::Floor);
    EXPECT_EQ(level->GetCell(7, 9)->type, SquareType::Floor);
    EXPECT_EQ(level->GetCell(7, 8)->type, SquareType::Door);
}

TEST_F(LevelLayoutTest, StairMarkersBecomeStairsOnlyWhereTheDungeonGoesOn) {
    struct Case {
        int32_t depth;
        bool extended;
        uint8_t marker;
        bool staircase;
        uint8_t after;
    } cases[] = {{0, false, SquareType::StairsUp, false, SquareType::Floor},
                 {1, false, SquareType::StairsUp, true, SquareType::StairsUp},
                 {8, false, SquareType::StairsDown, true, SquareType::StairsDown},
                 {9, false, SquareType::StairsDown, false, SquareType::StairsDown},
                 {9, true, SquareType::StairsDown, true, SquareType::StairsDown},
                 {14, true, SquareType::StairsDown, false, SquareType::StairsDown}};
    for (const Case& c : cases) {
        hero_.extendedContent = c.extended ? 1 : 0;
        auto level = MakeLevel(c.depth, 10);
        level->GetCell(4, 4)->type = c.marker;
        level->PlaceStairs();
        EXPECT_EQ(ObjectsOf<Stairs>(*level).size(), c.staircase ? 1u : 0u) << c.depth;
        EXPECT_EQ(level->GetCell(4, 4)->type, c.after) << c.depth;
        const bool wallAbove = c.marker == SquareType::StairsDown || c.depth > 0;
        EXPECT_EQ(level->GetCell(4, 3)->type == SquareType::Wall, wallAbove) << c.depth;
    }
}

TEST_F(LevelLayoutTest, LayoutsThatCanNeverGrowEndWithAnErrorAfterBoundedRestarts) {
    LoadOurData();
    // One doorless room: the level can never reach the acceptance size.
    UseRooms(Rooms({Room("closed", {"#####", "#...#", "#####"})}));
    auto level = MakeLevel(0, 100);
    testing::internal::CaptureStdout();
    const bool accepted = level->GenRoomLayout(100, 100);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(LastGenerationReport().layoutAttempts, kMaxLayoutAttempts);
    EXPECT_NE(out.find("ZARNOCH ERROR: levelLayout, line "), std::string::npos) << out;
    EXPECT_EQ(level->roomCount, 1);  // the last attempt is kept and finished

    // Templates that are all quest rooms: no draw is ever counted, each door still ends.
    UseRooms(Rooms({Room("start", {"##D##", "d...d", "##D##"}, "special=\"1\""),
                    Room("quest only", {"#D#", "#.#", "###"}, "quest=\"1\"")}));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(level->GenRoomLayout(100, 100));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(level->roomCount, 1);
}

TEST_F(LevelLayoutTest, ASeedNamingNoTemplateIsReportedAndARandomFirstRoomIsUsed) {
    LoadOurData();
    UseBranches(
        "<branchdb><branch id='5' name='Seeded'><leveldata min='0' max='20'/>"
        "<seed name='No Such Room'/></branch></branchdb>");
    auto level = MakeLevel(4, 100);
    testing::internal::CaptureStdout();
    const bool accepted = level->GenRoomLayout(100, 100);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(accepted);
    EXPECT_NE(out.find("ZARNOCH ERROR: roomTemplate, line "), std::string::npos);
    EXPECT_NE(out.find("No Such Room"), std::string::npos);
    EXPECT_GE(level->roomCount - level->shopsPlaced, 16);
    EXPECT_GE(LayoutFloorCount(), 3000);
}

TEST_F(LevelLayoutTest, ASeedNamingATemplateStartsEveryLevelOfTheBranch) {
    LoadOurData();
    UseBranches(
        "<branchdb><branch id='5' name='Seeded'><leveldata min='0' max='20'/>"
        "<seed name='Guard Post'/></branch></branchdb>");
    for (uint32_t seed : {3u, 4u}) {
        CSRand(seed);
        MTSeed(seed);
        auto level = MakeLevel(2, 100);
        testing::internal::CaptureStdout();
        level->GenRoomLayout(100, 100);
        testing::internal::GetCapturedStdout();
        ASSERT_FALSE(level->rooms.empty());
        EXPECT_EQ(level->rooms[0]->roomTemplate->name, "Guard Post");
    }
}

TEST_F(LevelLayoutTest, QuickLevelsNeedElevenRoomsAndNormalOnesSixteen) {
    LoadOurData();
    for (bool quick : {false, true}) {
        hero_.quickie = quick ? 1 : 0;
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            CSRand(seed);
            MTSeed(seed);
            const int32_t side = quick ? 75 : 100;
            auto level = MakeLevel(5, side);
            testing::internal::CaptureStdout();
            EXPECT_TRUE(level->GenRoomLayout(side, side));
            testing::internal::GetCapturedStdout();
            EXPECT_GE(level->roomCount - level->shopsPlaced, quick ? 11 : 16);
            EXPECT_GE(LayoutFloorCount(), quick ? 800 : 3000);
            EXPECT_LE(level->shopsPlaced, quick ? 1 : GetTweakInt("max shops"));
            EXPECT_EQ(level->rooms.size(), static_cast<size_t>(level->roomCount));
            for (const RoomRecord* room : level->rooms) {
                for (const RoomRecord* n : room->neighbours) {
                    EXPECT_NE(std::find(n->neighbours.begin(), n->neighbours.end(), room), n->neighbours.end());
                }
            }
        }
    }
}

TEST_F(LevelLayoutTest, PortalLevelsHoldTheirRoomTargetAndAPortalInTheLastRoom) {
    LoadOurData();
    for (int32_t target : {6, 7}) {
        CSRand(11);
        MTSeed(11);
        auto level = MakeLevel(3, 100);
        Level* before = CurrentLevel;
        testing::internal::CaptureStdout();
        EXPECT_TRUE(level->GenPortalLevelContent(100, 100, target));
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(CurrentLevel, before);
        EXPECT_EQ(level->roomCount, target);
        EXPECT_EQ(level->isSideDimension, 1);
        EXPECT_EQ(level->SquareKind(level->startX, level->startY), SquareType::Floor);
        std::vector<Portal*> portals = ObjectsOf<Portal>(*level);
        ASSERT_EQ(portals.size(), 1u);
        EXPECT_TRUE(level->rooms.back()->Contains(portals[0]->x, portals[0]->y));
        for (const RoomRecord* room : level->rooms) {
            EXPECT_EQ(room->roomTemplate->shop + room->roomTemplate->zoo + room->roomTemplate->special, 0);
        }
    }
}

TEST_F(LevelLayoutTest, PortalLevelThatCannotReachItsTargetGivesUp) {
    LoadOurData();
    auto level = MakeLevel(3, 40);  // far too small for the room target
    testing::internal::CaptureStdout();
    EXPECT_FALSE(level->GenPortalLevelContent(40, 40, 200));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ZARNOCH ERROR: levelLayout"), std::string::npos);
    EXPECT_EQ(LastGenerationReport().layoutAttempts, kMaxPortalLayoutAttempts);
}

TEST_F(LevelLayoutTest, TutorialAndTestRoomLevelsHoldOneTemplate) {
    LoadOurData();
    struct Case {
        bool tutorial;
        const char* line;
    } cases[] = {{true, "ZARNOCH ERROR: roomTemplate, line 988: BAD TUTORIAL LEVEL\n"},
                 {false, "ZARNOCH ERROR: roomTemplate, line 1081: BAD TUTORIAL LEVEL\n"}};
    for (const Case& c : cases) {
        auto level = MakeLevel(0, 10);
        testing::internal::CaptureStdout();
        const bool ok = c.tutorial ? level->GenTutorialLevel("Nowhere", 2, 2) : level->GenTestRoomLevel("Nowhere", 2, 2);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line);
        EXPECT_FALSE(ok);
        EXPECT_EQ(level->width, 100);
        EXPECT_EQ(level->roomCount, 0);
    }
    hero_.quickie = 1;
    auto level = MakeLevel(0, 10);
    EXPECT_TRUE(level->GenTutorialLevel("Tutorial Chamber: Movement", 3, 4));
    EXPECT_EQ(level->width, 75);
    ASSERT_EQ(level->rooms.size(), 1u);
    EXPECT_EQ(level->startX, level->rooms[0]->left + 3);
    EXPECT_EQ(level->startY, level->rooms[0]->top + 4);
    EXPECT_EQ(level->rooms[0]->roomTemplate->name, "Tutorial Chamber: Movement");
}

TEST_F(LevelLayoutTest, SingleRoomStartsAreCheckedAndMovedOntoAnOpenSquare) {
    LoadOurData();
    // "Guard Post" is 11 x 9: a wall all round, floor inside, doors in the middle of the
    // side walls (whose frames turn the walls next to them into floor). The doors stand there
    // shut, so nobody starts on a door square.
    struct Case {
        const char* what;
        bool tutorial;
        int32_t x, y;           // the start asked for
        int32_t wantX, wantY;   // where the hero starts, relative to the room
        const char* diagnostic; // a part of the diagnostic, or null for none
    } cases[] = {
        {"a floor square", false, 5, 4, 5, 4, nullptr},
        {"the largest offsets", false, 2147483647, 2147483647, 9, 7, "lies outside the room"},
        {"the smallest offsets", true, -2147483647 - 1, -2147483647 - 1, 1, 1, "lies outside the room"},
        {"one past the right edge: beside the shut door there", false, 11, 4, 9, 4, "lies outside the room"},
        {"a wall corner", true, 0, 0, 1, 1, "cannot be stood on"},
        {"a wall beside the floor", false, 10, 1, 9, 1, "cannot be stood on"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto level = MakeLevel(0, 10);
        testing::internal::CaptureStdout();
        const bool ok = c.tutorial ? level->GenTutorialLevel("Guard Post", c.x, c.y)
                                   : level->GenTestRoomLevel("Guard Post", c.x, c.y);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(ok);
        ASSERT_EQ(level->rooms.size(), 1u);
        ASSERT_TRUE(level->IsInside(level->startX, level->startY));
        EXPECT_TRUE(level->IsSquarePassable(nullptr, level->startX, level->startY));
        EXPECT_EQ(level->startX - level->rooms[0]->left, c.wantX);
        EXPECT_EQ(level->startY - level->rooms[0]->top, c.wantY);
        if (c.diagnostic == nullptr) {
            EXPECT_EQ(out.find("ZARNOCH ERROR"), std::string::npos) << out;
        } else {
            EXPECT_NE(out.find(std::string("ZARNOCH ERROR: roomTemplate, line ") + (c.tutorial ? "988" : "1081")),
                      std::string::npos) << out;
            EXPECT_NE(out.find(c.diagnostic), std::string::npos) << out;
        }
    }
    // A room with nowhere to stand - all wall, or no squares at all - fails; the start still
    // lies on the grid.
    testing::internal::CaptureStderr();
    UseRooms(Rooms({Room("solid", {"###", "###"}), Room("blank", {"   ", "   "})}));
    testing::internal::GetCapturedStderr();
    for (const char* name : {"solid", "blank"}) {
        SCOPED_TRACE(name);
        auto level = MakeLevel(0, 10);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(level->GenTestRoomLevel(name, 1, 1));
        EXPECT_NE(testing::internal::GetCapturedStdout().find("has no open square"), std::string::npos);
        EXPECT_TRUE(level->IsInside(level->startX, level->startY));
    }
}

TEST_F(LevelLayoutTest, ZeroStairsPerLevelStillGivesOneStaircaseEachWay) {
    LoadOurData();
    SetTweak("numstairs", 0);
    CSRand(5);
    MTSeed(5);
    auto level = MakeLevel(4, 100);
    testing::internal::CaptureStdout();
    level->GenRoomLayout(100, 100);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ZARNOCH ERROR: branchDB"), std::string::npos);
    int32_t up = 0;
    int32_t down = 0;
    for (Stairs* s : ObjectsOf<Stairs>(*level)) (s->up ? up : down)++;
    EXPECT_EQ(up, 1);
    EXPECT_EQ(down, 1);
}

TEST_F(LevelLayoutTest, QueuedMovesOutsideTheLevelDropTheObjectWithADiagnostic) {
    auto level = MakeLevel(1, 10);
    BeginGenerationScope();
    QueueObjectMove(new Dirt(), 3, 3, level.get());
    QueueObjectMove(new Dirt(), 30, 3, level.get());
    EXPECT_TRUE(IsQueuedMoveTarget(level.get(), 3, 3));
    EXPECT_TRUE(level->objects.empty());
    testing::internal::CaptureStdout();
    EndGenerationScope();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("outside its level"), std::string::npos);
    ASSERT_EQ(level->objects.size(), 1u);
    EXPECT_EQ(level->objects[0]->x, 3);
    EXPECT_EQ(static_cast<int32_t>(QueuedMoveCount()), 0);
    // With no generation running a queued move waits for the turn engine to carry it out.
    QueueObjectMove(new Dirt(), 4, 4, level.get());
    EXPECT_EQ(level->objects.size(), 1u);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(level->objects.size(), 2u);
}

}  // namespace
