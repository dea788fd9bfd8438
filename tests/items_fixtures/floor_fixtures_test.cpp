// Splats, protection rings and coffins: their save blocks, pictures, lifetimes and lids.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "creatures/player.h"
#include "items_fixtures/coffin.h"
#include "items_fixtures/ring_of_protection.h"
#include "items_fixtures/splat.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"

namespace {

std::vector<uint8_t> SaveBytes(GameObj& obj) {
    SaveWriter out;
    EXPECT_TRUE(obj.Save(out));
    return out.Buffer();
}

std::vector<uint8_t> BaseBytes(GameObj& obj) {
    SaveWriter out;
    obj.GameObj::Save(out);
    return out.Buffer();
}

std::vector<uint8_t> Tail(const std::vector<uint8_t>& bytes, size_t from) {
    return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end());
}

// Reads the object back through the class registry under its own key and saves it again.
std::vector<uint8_t> ReloadAndSave(GameObj& obj, const std::vector<uint8_t>& bytes) {
    SaveReader in(bytes);
    Serializable* loaded = SerializableRegistry::Instance().CreateFromSave(obj.GetClassHash(), in);
    EXPECT_NE(loaded, nullptr);
    if (loaded == nullptr) return {};
    EXPECT_FALSE(in.Failed());
    GameObj* again = dynamic_cast<GameObj*>(loaded);
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(again->GetClassHash(), obj.GetClassHash());
    std::vector<uint8_t> second = again != nullptr ? SaveBytes(*again) : std::vector<uint8_t>();
    delete loaded;
    return second;
}

TEST(FloorFixtures, SaveBlocksAreByteExactAndRoundTripThroughTheRegistry) {
    Splat splat(nullptr, "ichor", 4);
    RingOfProtection ring(nullptr, 3, 0, 1);
    std::vector<uint8_t> coffinSeed;
    {
        GameObj plain;
        coffinSeed = BaseBytes(plain);
    }
    SaveReader coffinIn(coffinSeed);
    Coffin coffin(coffinIn);
    ASSERT_FALSE(coffinIn.Failed());

    struct Case {
        GameObj* obj;
        std::vector<uint8_t> own;
    };
    const Case cases[] = {
        {&splat, {4, 0, 0, 0, 4, 0, 0, 0}},
        {&ring, {0xFF, 0xFF, 0xFF, 0xFF}},
        {&coffin, {}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = SaveBytes(*c.obj);
        const size_t base = BaseBytes(*c.obj).size();
        ASSERT_EQ(bytes.size(), base + c.own.size()) << c.obj->GetName();
        EXPECT_EQ(Tail(bytes, base), c.own) << c.obj->GetName();
        EXPECT_EQ(ReloadAndSave(*c.obj, bytes), bytes) << c.obj->GetName();
    }
}

TEST(FloorFixtures, SplatKindsAndPictureNames) {
    struct Case {
        const char* word;
        int32_t variant;
        int32_t kind;
        const char* picture;
    };
    const Case cases[] = {
        {"blood", 0, 1, "dungeon/mess_blood01.png"},
        {"xyz", 2, 1, "dungeon/mess_blood03.png"},
        {"ichor", 4, 4, "dungeon/mess_ichor05.png"},
        {"ashes", 5, 0, "dungeon/mess_ashes06.png"},
        {"Goo", 0, 1, "dungeon/mess_blood01.png"},  // words compare with case
    };
    for (const Case& c : cases) {
        Splat splat(nullptr, c.word, c.variant);
        EXPECT_EQ(splat.kind, c.kind) << c.word;
        EXPECT_EQ(splat.PictureName(), c.picture) << c.word;
        EXPECT_EQ(splat.blocksMovement, 0);
        EXPECT_EQ(splat.blocksSight, 0);
        EXPECT_EQ(splat.GetName(), "");
    }
}

TEST(FloorFixtures, FreeingASplatSaysSo) {
    testing::internal::CaptureStdout();
    { Splat splat(nullptr, "goo", 0); }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("deleting a splat\n"), std::string::npos);
}

class RingTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteQueuedObjects(); }
    ScopedTestLevel level_{6, 6, SquareType::Floor};
};

TEST_F(RingTest, ARingOfThreeTurnsGoesAtTheEndOfTheThirdTurn) {
    RingOfProtection* ring = new RingOfProtection(level_.get(), 3, 0, 1);
    ring->PlaceOnLevel(2, 2, level_.get(), 0);
    for (int32_t turn = 1; turn <= 2; ++turn) {
        ring->Update();
        EXPECT_EQ(QueuedDeletionCount(), 0u) << "turn " << turn;
    }
    ring->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    DeleteQueuedObjects();
    EXPECT_FALSE(level_->HasObjectAt(2, 2));
}

TEST_F(RingTest, OnlyThePieceBelowTheCentreShowsThePicture) {
    int32_t showing = 0;
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            RingOfProtection piece(nullptr, 5, dx, dy);
            EXPECT_EQ(piece.blocksMovement, 1);
            EXPECT_EQ(piece.blocksSight, 0);
            EXPECT_EQ(piece.GetName(), "Ring of Protection");
            if (piece.ShowsPicture()) {
                ++showing;
                EXPECT_EQ(dx, 0);
                EXPECT_EQ(dy, 1);
            }
        }
    }
    EXPECT_EQ(showing, 1);
}

TEST_F(RingTest, ARingReadFromASaveGoesAtItsFirstUpdate) {
    RingOfProtection original(nullptr, 50, 0, 1);
    SaveWriter out;
    ASSERT_TRUE(original.Save(out));
    SaveReader in(out.Buffer());
    RingOfProtection* loaded = new RingOfProtection(in);
    loaded->PlaceOnLevel(1, 1, level_.get(), 0);
    EXPECT_TRUE(loaded->ShowsPicture());
    loaded->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
}

TEST(FloorFixtures, ACoffinOpensOnlyForAnOrthogonalNeighbour) {
    ScopedTestLevel level(5, 5, SquareType::Floor);
    Player hero;
    Player* saved = CurrentPlayer;
    CurrentPlayer = &hero;
    std::vector<uint8_t> seed;
    {
        GameObj plain;
        seed = BaseBytes(plain);
    }
    SaveReader in(seed);
    Coffin coffin(in);
    coffin.x = 2;
    coffin.y = 2;
    struct Case {
        int32_t heroX, heroY;
        int32_t result;
        int32_t frame;
    };
    const Case cases[] = {{3, 3, 0, 0}, {2, 4, 0, 0}, {1, 2, 1, 1}, {2, 1, 1, 1}};
    for (const Case& c : cases) {
        coffin.bob.frame = 0;
        hero.x = c.heroX;
        hero.y = c.heroY;
        EXPECT_EQ(coffin.Activate(), c.result) << c.heroX << "," << c.heroY;
        EXPECT_EQ(coffin.bob.frame, c.frame) << c.heroX << "," << c.heroY;
    }
    CurrentPlayer = saved;
}

}  // namespace
