// Every object that level generation and the room templates place must come back from a save:
// its class key names a registered class of its own type, and the object read back from its
// block saves the same bytes. Doors only need the registration, since levels leave them out.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/save_stream.h"
#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/level_save.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "support/platform_fixtures.h"
#include "tests/levels/level_gen_fixture.h"
#include "tests/levels/save_bytes.h"

namespace {

// Classes that generation places while their save records are still being written on the
// fixture branches. Remove a name here as soon as its class registers its record; the test
// then holds it to the round trip like every other class.
const std::set<std::string> kAwaitingSaveRecords = {
    "Door",       "Stairs",    "Portal",     "Teleporter", "Lever",     "Chest",     "EvilChest",
    "UberChest",  "Dispenser", "DiggleGod",  "Dirt",       "Anvil",     "BBQ",       "Fountain",
    "Freezer",    "LutefiskStatue", "Statue", "ZarnochStatue", "Pedestal", "ShopPedestal",
    "QuestBlocker", "Bookshelf", "Blocker",  "Engraving",  "Breakable", "Clock",     "Shopkeeper",
};

class SaveRecordCoverageTest : public LevelGenTest {
protected:
    // Checks every object on the level; records the classes that cannot be saved.
    // The objects read back land on the level (it is listed while they are read) and are
    // deleted again at once.
    void CheckObjects(Level& level, const std::string& where) {
        GameLevels.push_back(&level);
        const std::vector<GameObj*> placed = level.objects;
        for (GameObj* obj : placed) {
            const std::string name = DynamicClassName(obj);
            if (IsDoorObject(obj)) {
                if (GetRegisteredClassHash("Door") == 0xFFFFFFFFu) unsavable_[name].insert(where);
                continue;
            }
            if (!MissingSaveRecordClass(obj).empty()) {
                unsavable_[name].insert(where);
                continue;
            }
            checked_.insert(name);
            if (++roundTrips_[name] > 50) continue;  // enough of one class
            SaveWriter out;
            ASSERT_TRUE(obj->Save(out)) << name << " at " << where;
            SaveReader in(out.Buffer());
            Serializable* read = SerializableRegistry::Instance().CreateFromSave(obj->GetClassHash(), in);
            ASSERT_NE(read, nullptr) << name << " at " << where << ": " << in.Error();
            EXPECT_EQ(in.Remaining(), 0u) << name << " at " << where;
            SaveWriter again;
            ASSERT_TRUE(read->Save(again));
            EXPECT_EQ(FirstByteDifference(again.Buffer(), out.Buffer()), "") << name << " at " << where;
            delete read;
        }
        GameLevels.pop_back();
    }

    std::map<std::string, std::set<std::string>> unsavable_;
    std::set<std::string> checked_;
    std::map<std::string, int> roundTrips_;
};

TEST_F(SaveRecordCoverageTest, EveryPlacedObjectComesBackFromItsSaveRecord) {
    ScopedWorkingDir cwd(VAULTMERE_GAME_ROOT);
    LoadOurData();
    struct Mode {
        const char* label;
        bool quick;
        bool extended;
        int32_t lastDepth;
    };
    const Mode modes[] = {{"normal", false, false, 9}, {"quick", true, false, 9}, {"long", false, true, 14}};
    for (const Mode& mode : modes) {
        for (int32_t depth = 0; depth <= mode.lastDepth; ++depth) {
            for (uint32_t seed = 1; seed <= 3; ++seed) {
                LevelGenCase genCase;
                genCase.seed = seed * 7919u + static_cast<uint32_t>(depth);
                genCase.depth = depth;
                genCase.quick = mode.quick;
                genCase.extended = mode.extended;
                std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
                CheckObjects(*level, std::string(mode.label) + " depth " + std::to_string(depth));
            }
        }
    }
    for (RoomTemplate* roomTemplate : RoomTemplates) {
        std::unique_ptr<Level> level(new Level(0, 1));
        CurrentLevel = level.get();
        level->GenTestRoomLevel(roomTemplate->name.c_str(), 1, 1);
        ApplyDeferredObjectMoves();
        CheckObjects(*level, "room \"" + roomTemplate->name + "\"");
        CurrentLevel = nullptr;
    }
    EXPECT_GE(checked_.size(), 3u);  // the hero's kin among them: monsters and items of several kinds
    for (const auto& entry : unsavable_) {
        EXPECT_EQ(kAwaitingSaveRecords.count(entry.first), 1u)
            << entry.first << " has no save record; placed on " << *entry.second.begin();
    }
    std::string awaiting;
    for (const auto& entry : unsavable_) awaiting += entry.first + " ";
    std::printf("placed classes still without a save record: %s\n", awaiting.c_str());
}

}  // namespace
