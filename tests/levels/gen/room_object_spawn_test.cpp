// Room object records read from their attributes and spawned onto a level: the object made,
// its square, label, movable flag and blocking flags, what is printed, and the percent roll.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/passages.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "levels/room_object_records.h"

namespace {

int gDraw = 0;
int ScriptedDraw() { return gDraw; }

class RoomObjectSpawn : public ::testing::Test {
protected:
    void SetUp() override {
        savedDraw_ = RoomRecordPercentDraw;
        RoomRecordPercentDraw = ScriptedDraw;
        gDraw = 0;
    }
    void TearDown() override {
        RoomRecordPercentDraw = savedDraw_;
        DeleteQueuedObjects();
    }
    static std::unique_ptr<RoomObjectRecord> Read(const std::string& tag, const RoomAttributeMap& map) {
        RoomReadContext ctx;
        testing::internal::CaptureStderr();
        std::unique_ptr<RoomObjectRecord> record(ReadRoomObjectRecord(tag, map, ctx));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "") << tag;
        return record;
    }
    // Spawns at origin (2, 1); the one object on the square, the result and stdout.
    GameObj* Spawn(RoomObjectRecord& record, bool* result, std::string* out) {
        testing::internal::CaptureStdout();
        *result = record.Spawn(2, 1, level_.get());
        *out = testing::internal::GetCapturedStdout();
        const LevelCell* cell = level_->GetCell(2 + record.x, 1 + record.y);
        return cell != nullptr && !cell->contents.empty() ? cell->contents.back() : nullptr;
    }

    ScopedTestLevel level_{10, 10, SquareType::Floor};
    int (*savedDraw_)() = nullptr;
};

TEST_F(RoomObjectSpawn, EachTagMakesItsObjectPlacedLabelledAndFlagged) {
    struct Case {
        const char* tag;
        RoomAttributeMap attributes;
        std::function<bool(GameObj*)> isKind;
        const char* out;
        int32_t movable, blocksMovement, blocksSight;
        bool onBlockerList;
    };
    const Case cases[] = {
        {"customblocker",
         {{"x", "1"}, {"y", "2"}, {"id", "urn"}, {"can_push", "0"}, {"passable", "1"}, {"png", "props/urn.png"},
          {"name", "Urn"}, {"description", "Old."}},
         [](GameObj* o) {
             auto* b = dynamic_cast<Blocker*>(o);
             return b != nullptr && b->spriteName == "props/urn.png" && b->GetName() == "Urn" &&
                    b->GetDescription() == "Old.";
         },
         "", 0, 0, 0, true},
        {"customblocker",
         {{"x", "2"}, {"y", "2"}, {"visblock", "1"}, {"pngSprite", "props/fire"}, {"pngFirst", "1"}, {"pngNum", "3"},
          {"pngRate", "80"}},
         [](GameObj* o) {
             auto* b = dynamic_cast<Blocker*>(o);
             return b != nullptr && b->seriesName == "props/fire" && b->seriesFirst == 1 && b->seriesCount == 3 &&
                    b->seriesDelay == 80;
         },
         "", 1, 1, 1, true},
        {"customengraving", {{"x", "3"}, {"y", "2"}, {"png", "props/rune.png"}, {"name", "Rune"}},
         [](GameObj* o) {
             auto* e = dynamic_cast<Engraving*>(o);
             return e != nullptr && e->spriteName == "props/rune.png" && e->name == "Rune";
         },
         "", 1, 0, 0, false},
        // Without a breaking picture the intact one serves for breaking too.
        {"custombreakable", {{"x", "4"}, {"y", "2"}, {"png", "pot.png"}, {"broken", "shards.png"}, {"hitsNeededToBreak", "3"}},
         [](GameObj* o) {
             auto* b = dynamic_cast<Breakable*>(o);
             return b != nullptr && b->hitsNeededToBreak == 3 && b->branchIndex == -1 &&
                    b->intactRecord.image == "pot.png" && b->breakingRecord.image == "pot.png" &&
                    b->breakingRecord.series.empty() && b->brokenRecord.image == "shards.png";
         },
         "", 1, 1, 0, false},  // a breakable lets the eye through
        {"custombreakable",
         {{"x", "5"}, {"y", "3"}, {"png", "pot.png"}, {"breaking", "cracks.png"}, {"broken", "shards.png"}},
         [](GameObj* o) {
             auto* b = dynamic_cast<Breakable*>(o);
             return b != nullptr && b->hitsNeededToBreak == 1 && b->intactRecord.image == "pot.png" &&
                    b->breakingRecord.image == "cracks.png" && b->brokenRecord.image == "shards.png";
         },
         "", 1, 1, 0, false},
        {"clock", {{"x", "5"}, {"y", "2"}, {"id", "t"}, {"png", "clock.png"}, {"initial", "9"}},
         [](GameObj* o) {
             auto* c = dynamic_cast<Clock*>(o);
             return c != nullptr && c->value == 9 && c->IsStopped();
         },
         "", 1, 1, 0, true},
        {"clock", {{"x", "6"}, {"y", "2"}, {"png", "clock.png"}, {"initial", "9"}, {"remaining", "4"}, {"started", "1"}},
         [](GameObj* o) {
             auto* c = dynamic_cast<Clock*>(o);
             return c != nullptr && c->value == 4 && c->initialValue == 9 && c->IsRunning();
         },
         "time remaining was read!\n", 1, 1, 0, true},
        {"lever", {{"x", "1"}, {"y", "4"}, {"activated", "1"}, {"id", "lv"}},
         [](GameObj* o) {
             auto* l = dynamic_cast<Lever*>(o);
             return l != nullptr && l->IsActivated();
         },
         "activated: 1\n", 1, -1, -1, false},  // the lever's own flags come with its class
        {"pedestal", {{"x", "2"}, {"y", "4"}, {"name", "Guide"}, {"text", "Hello."}},
         [](GameObj* o) {
             auto* p = dynamic_cast<Pedestal*>(o);
             return p != nullptr && p->GetName() == "Guide" && p->text == "Hello.";
         },
         "", 1, 1, 0, false},
        {"element", {{"x", "3"}, {"y", "4"}, {"type", "fountain"}, {"can_push", "256"}},
         [](GameObj* o) { return dynamic_cast<Fountain*>(o) != nullptr; }, "", 0, 1, 1, false},
        {"element", {{"x", "4"}, {"y", "4"}, {"type", "dirt"}},
         [](GameObj* o) { return dynamic_cast<Dirt*>(o) != nullptr; }, "", 1, 0, 0, false},
        {"element", {{"x", "5"}, {"y", "4"}, {"type", "portal"}},
         [](GameObj* o) { return dynamic_cast<Portal*>(o) != nullptr; }, "", 1, 0, 0, false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<RoomObjectRecord> record = Read(c.tag, c.attributes);
        ASSERT_NE(record, nullptr) << c.tag;
        bool result = false;
        std::string out;
        GameObj* obj = Spawn(*record, &result, &out);
        EXPECT_TRUE(result) << c.tag;
        ASSERT_NE(obj, nullptr) << c.tag;
        EXPECT_TRUE(c.isKind(obj)) << c.tag;
        EXPECT_EQ(obj->x, 2 + record->x) << c.tag;
        EXPECT_EQ(obj->y, 1 + record->y) << c.tag;
        EXPECT_EQ(obj->level, level_.get()) << c.tag;
        EXPECT_EQ(obj->roomID, record->id) << c.tag;
        EXPECT_EQ(obj->movable, c.movable) << c.tag;
        if (c.blocksMovement >= 0) {
            EXPECT_EQ(obj->blocksMovement, c.blocksMovement) << c.tag;
        }
        if (c.blocksSight >= 0) {
            EXPECT_EQ(obj->blocksSight, c.blocksSight) << c.tag;
        }
        EXPECT_EQ(out, c.out) << c.tag;
        bool listed = false;
        for (GameObj* b : level_->customBlockers) listed = listed || b == obj;
        EXPECT_EQ(listed, c.onBlockerList) << c.tag;
    }
}

TEST_F(RoomObjectSpawn, NamesThatMatchNothingAreReportedWithTheTemplateAndSpawnFalse) {
    struct Case {
        const char* tag;
        RoomAttributeMap attributes;
        const char* out;
    };
    const Case cases[] = {
        {"trap", {{"x", "1"}, {"y", "1"}, {"name", "Nope Plate"}}, "roomScript: room '': no trap named 'Nope Plate'\n"},
        {"monster", {{"x", "1"}, {"y", "1"}, {"name", "Nobody"}}, "roomScript: room '': no monster named 'Nobody'\n"},
        {"element", {{"x", "1"}, {"y", "1"}, {"type", "Fountain"}},
         "roomScript: room '': no element type named 'Fountain'\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<RoomObjectRecord> record = Read(c.tag, c.attributes);
        ASSERT_NE(record, nullptr);
        bool result = true;
        std::string out;
        EXPECT_EQ(Spawn(*record, &result, &out), nullptr) << c.tag;
        EXPECT_FALSE(result) << c.tag;
        EXPECT_EQ(out, c.out) << c.tag;
    }
}

TEST_F(RoomObjectSpawn, ACustomObjectWithoutAWholePictureIsRefusedOnceAndMakesNothing) {
    struct Case {
        const char* tag;
        RoomAttributeMap attributes;
        const char* missing;  // named in the diagnostic
    };
    const Case cases[] = {
        {"customblocker", {{"x", "1"}, {"y", "1"}, {"pngSprite", "d/gate"}, {"pngFirst", "0"}}, "pngNum, pngRate"},
        {"customengraving",
         {{"x", "1"}, {"y", "1"}, {"pngSprite", "d/rune"}, {"pngFirst", "0"}, {"pngNum", "4"}},
         "pngRate"},
        {"clock", {{"x", "1"}, {"y", "1"}, {"pngNum", "4"}, {"pngRate", "100"}, {"initial", "3"}},
         "pngSprite, pngFirst"},
        {"custombreakable", {{"x", "1"}, {"y", "1"}, {"pngRate", "100"}, {"broken", "d/rubble.png"}},
         "pngSprite, pngFirst, pngNum"},
        {"customblocker", {{"x", "1"}, {"y", "1"}}, "png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        RoomReadContext ctx;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        std::unique_ptr<RoomObjectRecord> record(ReadRoomObjectRecord(c.tag, c.attributes, ctx));
        const std::string read = testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
        ASSERT_NE(record, nullptr);
        const std::string refusal = std::string(c.tag) + " is left out: its picture needs " + c.missing;
        EXPECT_NE(read.find(refusal), std::string::npos) << read;
        EXPECT_EQ(read.find(refusal), read.rfind(refusal)) << "said once";
        // Spawning, on any number of levels, shows no box for a file named "".
        for (int i = 0; i < 3; ++i) {
            testing::internal::CaptureStderr();
            bool result = true;
            std::string out;
            EXPECT_EQ(Spawn(*record, &result, &out), nullptr);
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_FALSE(result);
            EXPECT_EQ(out + err, "");
        }
    }
}

TEST_F(RoomObjectSpawn, PercentZeroPlacesOnlyTheLowestDrawsAndAClockNeverRolls) {
    std::unique_ptr<RoomObjectRecord> blocker =
        Read("customblocker", {{"x", "1"}, {"y", "1"}, {"png", "a.png"}, {"percent", "0"}});
    int32_t passed = 0;
    for (gDraw = 0; gDraw < 32768; ++gDraw) passed += blocker->RollPercent() ? 1 : 0;
    EXPECT_EQ(passed, 328);
    std::unique_ptr<RoomObjectRecord> half =
        Read("customblocker", {{"x", "1"}, {"y", "1"}, {"png", "a.png"}, {"percent", "50"}});
    passed = 0;
    for (gDraw = 0; gDraw < 32768; ++gDraw) passed += half->RollPercent() ? 1 : 0;
    EXPECT_EQ(passed, 51 * 328);

    gDraw = 32767;
    bool result = true;
    std::string out;
    EXPECT_EQ(Spawn(*blocker, &result, &out), nullptr);
    EXPECT_FALSE(result);
    std::unique_ptr<RoomObjectRecord> clock =
        Read("clock", {{"x", "3"}, {"y", "3"}, {"png", "c.png"}, {"initial", "2"}, {"percent", "0"}});
    EXPECT_NE(Spawn(*clock, &result, &out), nullptr);
    EXPECT_TRUE(result);
}

}  // namespace
