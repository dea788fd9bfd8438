#include "levels/game_obj.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/command_state.h"
#include "creatures/player.h"
#include "levels/level.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

// A game object that answers as the hero does.
class HeroLike : public GameObj {
public:
    bool IsPlayer() override { return true; }
};

// Levels made here are in the game's level list for the test and destroyed after it.
class GameObjTest : public ::testing::Test {
protected:
    Level* MakeLevel(int32_t depth, int32_t branch, int32_t width, int32_t height) {
        Level* level = new Level(0, depth);
        level->branchId = branch;
        level->SetSize(width, height);
        GameLevels.push_back(level);
        return level;
    }
    void TearDown() override {
        for (Level* level : GameLevels) delete level;
        GameLevels.clear();
        CurrentLevel = nullptr;
    }
    static size_t Count(const std::vector<GameObj*>& list, GameObj* obj) {
        return static_cast<size_t>(std::count(list.begin(), list.end(), obj));
    }
};

TEST_F(GameObjTest, DefaultObjectBlockIs56BytesAt1010) {
    GameObj obj;
    SaveWriter out;
    ASSERT_TRUE(obj.Save(out));
    const std::vector<uint8_t> expected = Bytes({
        0, 0, 0, 0,              // anchor mode
        0, 0, 0, 0,              // offset x 0.0
        0, 0, 0, 0,              // offset y 0.0
        0xFF, 0xFF, 0xFF, 0xFF,  // branch id: no level
        0xFF, 0xFF, 0xFF, 0xFF,  // depth: no level
        0, 0, 0, 0,              // x
        0, 0, 0, 0,              // y
        0, 0, 0, 0,              // covers the square above
        1, 0, 0, 0,              // blocks movement
        1, 0, 0, 0,              // blocks sight
        0, 0, 0, 0,              // passable
        1, 0, 0, 0,              // active
        0xFF, 0xFF, 0xFF, 0xFF,  // room number -1
        0, 0, 0, 0,              // empty room id
    });
    EXPECT_EQ(out.Buffer(), expected);
}

TEST_F(GameObjTest, StreamsBefore108HaveNoRoomFields) {
    GameObj obj;
    obj.roomNumber = 3;
    obj.roomID = "door";
    SaveWriter out;
    out.version = SaveVersion{1, 0, 7};
    ASSERT_TRUE(obj.Save(out));
    ASSERT_EQ(out.Buffer().size(), 48u);

    // The 48-byte block, followed by an unrelated word that must stay unread.
    std::vector<uint8_t> bytes = out.Buffer();
    bytes.insert(bytes.end(), {0x2A, 0, 0, 0});
    SaveReader in(bytes);
    in.version = SaveVersion{1, 0, 7};
    GameObj back(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), 48u);
    EXPECT_EQ(back.roomNumber, -1);
    EXPECT_EQ(back.roomID, "");
    EXPECT_EQ(in.ReadInt32(), 0x2A);
}

TEST_F(GameObjTest, SaveLoadSaveGivesIdenticalBytesAndPlacesTheObject) {
    Level* level = MakeLevel(3, 2, 10, 8);
    level->GetCell(6, 5)->room = 4;
    GameObj obj;
    obj.PlaceOnLevel(6, 5, level, 0);
    obj.anchorMode = 4;
    obj.offsetX = -12.5f;
    obj.offsetY = 3.0f;
    obj.coversSquareAbove = 1;
    obj.blocksMovement = 0;
    obj.blocksSight = 0;
    obj.passable = 1;
    obj.active = 7;  // saved raw
    obj.SetRoomID("lever-gate");
    EXPECT_EQ(obj.roomNumber, 4);

    SaveWriter first;
    ASSERT_TRUE(obj.Save(first));
    EXPECT_EQ(first.Buffer().size(), 56u + 10u);

    SaveReader in(first.Buffer());
    std::unique_ptr<GameObj> back(new GameObj(in));
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(back->level, level);
    EXPECT_EQ(back->cell, level->GetCell(6, 5));
    EXPECT_EQ(Count(level->GetCell(6, 5)->contents, back.get()), 1u);
    EXPECT_EQ(back->active, 7);
    EXPECT_EQ(back->roomID, "lever-gate");
    EXPECT_EQ(back->offsetX, -12.5f);

    SaveWriter second;
    ASSERT_TRUE(back->Save(second));
    EXPECT_EQ(second.Buffer(), first.Buffer());
}

TEST_F(GameObjTest, FlagsAreSavedAsZeroOrOne) {
    GameObj obj;
    obj.blocksMovement = 5;
    obj.passable = -3;
    SaveWriter out;
    obj.Save(out);
    const std::vector<uint8_t>& b = out.Buffer();
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 36, b.begin() + 40), Bytes({1, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 44, b.begin() + 48), Bytes({1, 0, 0, 0}));

    // A stored flag word of 9 reads back as 1.
    std::vector<uint8_t> bytes = b;
    bytes[36] = 9;
    SaveReader in(bytes);
    GameObj back(in);
    EXPECT_EQ(back.blocksMovement, 1);
}

TEST_F(GameObjTest, ObjectSavedWithoutLevelStaysOffEveryLevel) {
    Level* level = MakeLevel(0, 0, 4, 4);
    GameObj loose;
    SaveWriter out;
    loose.Save(out);
    SaveReader in(out.Buffer());
    GameObj back(in);
    EXPECT_EQ(back.level, nullptr);
    EXPECT_EQ(back.cell, nullptr);
    EXPECT_TRUE(level->objects.empty());
}

TEST_F(GameObjTest, PlaceOnLevelKeepsListsConsistent) {
    Level* first = MakeLevel(1, 0, 5, 5);
    Level* second = MakeLevel(2, 0, 5, 5);
    GameObj obj;

    obj.PlaceOnLevel(2, 2, first, 0);
    obj.PlaceOnLevel(2, 2, first, 0);  // twice on the same square
    EXPECT_EQ(Count(first->objects, &obj), 1u);
    EXPECT_EQ(Count(first->GetCell(2, 2)->contents, &obj), 1u);

    obj.PlaceOnLevel(3, 2, first, 0);  // moving on the level
    EXPECT_EQ(Count(first->GetCell(2, 2)->contents, &obj), 0u);
    EXPECT_EQ(obj.cell, first->GetCell(3, 2));

    obj.PlaceOnLevel(7, 1, first, 0);  // outside the grid: listed, on no square
    EXPECT_EQ(obj.cell, nullptr);
    EXPECT_EQ(Count(first->objects, &obj), 1u);
    EXPECT_EQ(Count(first->GetCell(3, 2)->contents, &obj), 0u);

    obj.PlaceOnLevel(1, 1, second, 0);  // to another level
    EXPECT_EQ(Count(first->objects, &obj), 0u);
    EXPECT_EQ(Count(second->objects, &obj), 1u);
    EXPECT_EQ(obj.level, second);

    obj.PlaceOnLevel(1, 1, nullptr, 0);  // off every level
    EXPECT_EQ(obj.level, nullptr);
    EXPECT_EQ(obj.cell, nullptr);
    EXPECT_TRUE(second->objects.empty());
    EXPECT_TRUE(second->GetCell(1, 1)->contents.empty());
}

TEST_F(GameObjTest, DestroyedObjectLeavesItsSquareAndLevel) {
    Level* level = MakeLevel(0, 0, 3, 3);
    GameObj* obj = new GameObj();
    obj->PlaceOnLevel(1, 1, level, 0);
    level->monsters.push_back(obj);
    delete obj;
    EXPECT_TRUE(level->objects.empty());
    EXPECT_TRUE(level->monsters.empty());
    EXPECT_TRUE(level->GetCell(1, 1)->contents.empty());

    // A destroyed level deletes the objects still on it (the sanitizers watch this).
    GameObj* kept = new GameObj();
    kept->PlaceOnLevel(0, 0, level, 0);
    GameLevels.clear();
    delete level;
}

TEST_F(GameObjTest, ActivatableHistory) {
    Activatable source;
    source.activated = 1;
    SaveWriter out;
    ASSERT_TRUE(source.Save(out));
    ASSERT_EQ(out.Buffer().size(), 60u);
    EXPECT_EQ(std::vector<uint8_t>(out.Buffer().end() - 4, out.Buffer().end()), Bytes({1, 0, 0, 0}));

    SaveReader in(out.Buffer());
    Activatable lever(in);
    EXPECT_TRUE(lever.IsActivated());
    EXPECT_FALSE(lever.HasActivationChanged());  // no change right after loading

    lever.SetActivated(false);
    EXPECT_TRUE(lever.HasActivationChanged());
    lever.Update();
    EXPECT_TRUE(lever.HasActivationChanged());  // still differs from two updates ago
    lever.Update();
    EXPECT_FALSE(lever.HasActivationChanged());
    EXPECT_TRUE(lever.IsActivatable());
    EXPECT_EQ(lever.GetName(), "GameObj");
}

TEST_F(GameObjTest, RoomIdentityAndEvents) {
    Level* level = MakeLevel(0, 0, 6, 6);
    Level* other = MakeLevel(1, 0, 6, 6);
    level->GetCell(2, 2)->room = 3;

    GameObj obj;
    obj.SetRoomID("bell");  // no level yet
    EXPECT_EQ(obj.roomNumber, -1);
    obj.PlaceOnLevel(2, 2, level, 0);
    obj.SetRoomID("bell");
    EXPECT_EQ(obj.roomNumber, 3);
    EXPECT_TRUE(obj.MatchesRoomID(level, 3, "bell"));
    EXPECT_FALSE(obj.MatchesRoomID(level, 2, "bell"));
    EXPECT_FALSE(obj.MatchesRoomID(other, 3, "bell"));
    EXPECT_FALSE(obj.MatchesRoomID(level, 3, "bells"));
    EXPECT_EQ(level->FindObjectByRoomID(3, "bell"), &obj);

    HeroLike hero;
    hero.PlaceOnLevel(4, 4, level, 0);
    hero.roomID = "hero";
    EXPECT_TRUE(hero.MatchesRoomID(level, 17, "hero"));  // the hero matches in any room

    // A second object bound to the same identity is reported on the warning channel.
    GameObj twin;
    twin.PlaceOnLevel(2, 2, level, 0);
    testing::internal::CaptureStderr();
    twin.SetRoomID("bell");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("two objects created with same roomID! (bell)"),
              std::string::npos);

    // With the room-script debug flag the binding is traced.
    uint32_t savedFlags = CmdLine.debugFlags;
    CmdLine.debugFlags |= kDebugRoomScripts;
    testing::internal::CaptureStdout();
    obj.SetRoomID("bell");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("roomScript: setting roomID to (room=3, id=bell)"),
              std::string::npos);
    CmdLine.debugFlags = savedFlags;

    obj.AddRoomEvent("rung");
    EXPECT_TRUE(level->HasRoomEvent(3, "bell", "rung"));
    EXPECT_FALSE(level->HasRoomEvent(3, "bell", "silenced"));
    EXPECT_FALSE(level->HasRoomEvent(9, "none", "rung"));
    EXPECT_EQ(level->roomEvents.size(), 1u);  // asking created no key

    GameObj loose;
    loose.roomID = "x";
    loose.AddRoomEvent("anything");  // no level: nothing to post to
}

TEST_F(GameObjTest, BaseAnswersAndAdjacency) {
    GameObj obj;
    EXPECT_EQ(obj.GetName(), "GameObj");
    EXPECT_EQ(obj.GetDescription(), "");
    EXPECT_EQ(obj.GetActionVerb(), nullptr);
    EXPECT_FALSE(obj.IsActivatable());
    EXPECT_FALSE(obj.IsPlayer());
    EXPECT_TRUE(obj.IsMovable());
    obj.movable = 0;
    EXPECT_FALSE(obj.IsMovable());

    obj.x = 5;
    obj.y = 5;
    Player* savedHero = CurrentPlayer;
    Player hero;
    CurrentPlayer = &hero;
    const struct {
        int32_t x, y;
        bool adjacent;
    } cases[] = {{4, 5, true}, {6, 5, true}, {5, 4, true}, {5, 6, true},
                 {4, 4, false}, {5, 5, false}, {7, 5, false}};
    for (const auto& c : cases) {
        hero.x = c.x;
        hero.y = c.y;
        EXPECT_EQ(obj.IsAdjacentToPlayer(), c.adjacent) << c.x << "," << c.y;
    }
    CurrentPlayer = nullptr;
    EXPECT_FALSE(obj.IsAdjacentToPlayer());
    CurrentPlayer = savedHero;
}

TEST(BobPlacement, AnchorModes) {
    MapView view;
    view.tileWidth = 64;
    view.tileHeight = 64;
    view.originX = 2;
    view.originY = 3;
    view.pixelX = 5;
    view.pixelY = 7;
    const struct {
        int32_t mode, x, y;
    } cases[] = {{0, 478, 503}, {1, 522, 551}, {2, 534, 551}, {5, 534, 551}, {3, 510, 567}, {4, 510, 551}};
    for (const auto& c : cases) {
        int32_t bx = -1;
        int32_t by = -1;
        // Tile (10, 12), offsets truncated toward zero (3.7 -> 3, -2.9 -> -2), frame 40x80.
        ASSERT_TRUE(ComputeBobPlacement(c.mode, 10, 12, 3.7f, -2.9f, 40, 80, view, &bx, &by)) << c.mode;
        EXPECT_EQ(bx, c.x) << c.mode;
        EXPECT_EQ(by, c.y) << c.mode;
    }
    int32_t bx = 11;
    int32_t by = 22;
    EXPECT_FALSE(ComputeBobPlacement(6, 10, 12, 0, 0, 40, 80, view, &bx, &by));
    EXPECT_EQ(bx, 11);
    EXPECT_EQ(by, 22);
}

}  // namespace

namespace {

TEST(BobCellLinks, NeitherSideKeepsAPointerToTheOther) {
    Level* saved = CurrentLevel;
    Level level(0, 0);
    level.SetSize(4, 4);
    CurrentLevel = &level;
    {
        Bob bob;
        LinkBobToTile(&bob, 1, 1);
        LinkBobToTile(&bob, 2, 1);
        LinkBobToTile(&bob, 2, 1);  // twice on one square
        LinkBobToTile(&bob, 9, 9);  // outside: ignored
        EXPECT_EQ(bob.linkedLists.size(), 3u);
        EXPECT_EQ(level.GetCell(2, 1)->bobs.size(), 2u);
    }
    EXPECT_TRUE(level.GetCell(1, 1)->bobs.empty());
    EXPECT_TRUE(level.GetCell(2, 1)->bobs.empty());

    // A level that goes away first leaves the Bob with no linked squares.
    Bob survivor;
    {
        Level shortLived(0, 1);
        shortLived.SetSize(2, 2);
        CurrentLevel = &shortLived;
        LinkBobToTile(&survivor, 0, 0);
        EXPECT_EQ(survivor.linkedLists.size(), 1u);
    }
    EXPECT_TRUE(survivor.linkedLists.empty());
    CurrentLevel = saved;
}

}  // namespace
