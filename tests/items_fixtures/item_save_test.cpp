#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/lookup3.h"
#include "core/save_stream.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/trap.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Ruby"><gem/></item>
  <item name="Sapphire"><gem/></item>
  <item name="Brew"><potion/></item>
  <item name="Tonic"><potion/></item>
  <item name="Bun"><food hp="2"/></item>
  <item name="Zap"><wand/></item>
  <item name="Cap"><mushroom/></item>
  <item name="Dust"/>
  <item name="Still"><toolkit tag="still" numslots="2"/></item>
  <item name="Bolt"><wand/></item>
</itemdb>)";

class ItemSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
    }
    void TearDown() override {
        ResetKnownItemTypes();
        ClearItemDB();
    }
};

size_t GameObjBlockSize() {
    GameObj plain;
    SaveWriter out;
    plain.Save(out);
    return out.Buffer().size();
}

std::vector<int32_t> WordsAfterGameObj(const std::vector<uint8_t>& bytes) {
    std::vector<int32_t> words;
    for (size_t at = GameObjBlockSize(); at + 4 <= bytes.size(); at += 4) {
        int32_t w = 0;
        std::memcpy(&w, &bytes[at], 4);  // the test hosts are little endian like the format
        words.push_back(w);
    }
    return words;
}

std::vector<uint8_t> Saved(GameObj& obj) {
    SaveWriter out;
    EXPECT_TRUE(obj.Save(out));
    return out.Buffer();
}

TEST_F(ItemSaveTest, TheItemBlockIsNineWordsAfterTheGameObjBlock) {
    Item item;
    item.type = 4;
    item.gridX = 2;
    item.gridY = 5;
    item.inBackpack = true;
    item.holdFlag = true;
    item.unpaid = 1;
    item.crafted = false;
    item.count = 7;
    item.stackable = 1;
    const std::vector<uint8_t> bytes = Saved(item);
    EXPECT_EQ(WordsAfterGameObj(bytes), (std::vector<int32_t>{4, 2, 5, 1, 1, 1, 0, 7, 1}));
    SaveReader in(bytes);
    Item back(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(back.type, 4);
    EXPECT_EQ(back.gridY, 5);
    EXPECT_TRUE(back.holdFlag);
    EXPECT_EQ(back.count, 7);
    EXPECT_EQ(back.anchorMode, 3);
    EXPECT_EQ(back.pickUpSound, "leather_get");
    EXPECT_EQ(Saved(back), bytes);
}

TEST_F(ItemSaveTest, ZorkmidsAddTheAmount) {
    Zorkmids gold(250);
    const std::vector<uint8_t> bytes = Saved(gold);
    EXPECT_EQ(WordsAfterGameObj(bytes), (std::vector<int32_t>{10, 0, 0, 0, 0, 0, 0, 1, 0, 250}));
    SaveReader in(bytes);
    Zorkmids back(in);
    EXPECT_EQ(back.amount, 250);
    EXPECT_EQ(back.GetItemName(), "250 zorkmids");
    EXPECT_EQ(Zorkmids(1).GetItemName(), "1 zorkmid");
    EXPECT_STREQ(Zorkmids::IconFileFor(250), "items/cash3.png");
    EXPECT_STREQ(Zorkmids::IconFileFor(9), "items/cash0.png");
    EXPECT_STREQ(Zorkmids::IconFileFor(4000), "items/cash5.png");
}

TEST_F(ItemSaveTest, MiscKindsZeroOneAndThree) {
    QuestRecord quest;
    ActiveQuests.push_back(&quest);
    struct Case {
        int32_t kind;
        int32_t count;
        std::vector<int32_t> tail;  // words after the Item block
        const char* name;
    };
    Misc picks(0);
    picks.count = 5;
    Misc spores(1);
    Misc relic(3);
    relic.questItemName = "Idol";
    relic.questItemIndex = 2;
    relic.quest = &quest;
    EXPECT_EQ(picks.GetItemName(), "Lockpicks (5)");
    EXPECT_EQ(picks.GetValue(), 50);
    EXPECT_EQ(spores.GetItemName(), "Spores");
    EXPECT_EQ(Misc(0).GetItemName(), "Lockpick");
    std::vector<int32_t> words = WordsAfterGameObj(Saved(picks));
    EXPECT_EQ(std::vector<int32_t>(words.begin() + 9, words.end()), (std::vector<int32_t>{0, 0, -1}));
    words = WordsAfterGameObj(Saved(spores));
    EXPECT_EQ(std::vector<int32_t>(words.begin() + 9, words.end()), (std::vector<int32_t>{1, 0, -1}));
    const std::vector<uint8_t> bytes = Saved(relic);
    words = WordsAfterGameObj(bytes);
    // kind, questFlag, questItemIndex, name length, "Idol", quest index 0.
    EXPECT_EQ(std::vector<int32_t>(words.begin() + 9, words.end()),
              (std::vector<int32_t>{3, 0, 2, 4, 0x6c6f6449, 0}));
    {
        SaveReader in(bytes);
        Misc back(in);
        EXPECT_EQ(back.GetItemName(), "Idol");
        EXPECT_EQ(back.quest, &quest);
        EXPECT_EQ(back.stackable, 0);
    }
    ActiveQuests.clear();  // the saved quest index 0 is now out of range
    {
        SaveReader in(bytes);
        Misc back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(back.quest, nullptr);
    }
}

TEST_F(ItemSaveTest, DefinitionItemsRoundTripByName) {
    std::vector<std::unique_ptr<Item>> items;
    items.emplace_back(new Gem(FindItemDefByName("Sapphire")));
    items.emplace_back(new Potion(FindItemDefByName("Tonic")));
    items.emplace_back(new Food(FindItemDefByName("Bun")));
    items.emplace_back(new Mushroom(FindItemDefByName("Cap")));
    items.emplace_back(new Reagent(FindItemDefByName("Dust")));
    items.emplace_back(new Toolkit(FindItemDefByName("Still")));
    Wand* wand = new Wand(FindItemDefByName("Zap"));
    wand->charges = 6;
    items.emplace_back(wand);
    for (auto& item : items) {
        item->count = 3;
        SaveWriter out;
        ASSERT_TRUE(WriteObjectRef(out, item.get()));
        SaveReader in(out.Buffer());
        std::unique_ptr<GameObj> back(ReadObjectRef(in));
        ASSERT_NE(back, nullptr) << item->GetItemName();
        Item* loaded = dynamic_cast<Item*>(back.get());
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(typeid(*loaded), typeid(*item));
        EXPECT_EQ(loaded->def, item->def);
        EXPECT_EQ(loaded->subtype, item->def->index);
        // Wands show their charges and toolkits their bare name; the others count the stack.
        const std::string expected = dynamic_cast<Wand*>(item.get()) != nullptr     ? item->def->name + " [6 charges left]"
                                     : dynamic_cast<Toolkit*>(item.get()) != nullptr ? item->def->name
                                                                                     : item->def->name + "(3)";
        EXPECT_EQ(loaded->GetItemName(), expected);
        EXPECT_EQ(Saved(*loaded), Saved(*item));
    }
}

TEST_F(ItemSaveTest, OldSavesNameDefinitionsByNumber) {
    // A 1.0.2 Gem holds the index number of its record; a Potion its place in the potion list.
    Gem gem(FindItemDefByName("Sapphire"));
    Potion potion(FindItemDefByName("Tonic"));
    for (Item* item : {static_cast<Item*>(&gem), static_cast<Item*>(&potion)}) {
        SaveWriter out;
        out.version = SaveVersion{1, 0, 2};
        item->Item::Save(out);
        out.WriteInt32(item == &gem ? FindItemDefByName("Sapphire")->index : 1);
        SaveReader in(out.Buffer());
        in.version = SaveVersion{1, 0, 2};
        std::unique_ptr<Item> back(item == &gem ? static_cast<Item*>(new Gem(in)) : new Potion(in));
        EXPECT_EQ(back->def, item->def);
        EXPECT_FALSE(back->dropAfterLoad);
    }
}

// A wand kind the hero has identified stays identified through a save, whichever release
// wrote the wand; a new wand and a loaded one of a kind are one kind.
TEST_F(ItemSaveTest, AnIdentifiedWandKindIsStillKnownAfterALoad) {
    struct Case {
        const char* name;
        SaveVersion version;
    };
    const Case cases[] = {{"by name", kCurrentSaveVersion}, {"by place in the wand list", SaveVersion{1, 0, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetKnownItemTypes();
        Wand zap(FindItemDefByName("Zap"));
        Wand bolt(FindItemDefByName("Bolt"));
        SetItemTypeKnown(&zap);
        ASSERT_FALSE(IsItemTypeKnown(&bolt));
        SaveWriter out;
        out.version = c.version;
        if (c.version.AtLeast(kSaveV1_0_3)) {
            ASSERT_TRUE(zap.Save(out));
        } else {
            zap.Item::Save(out);
            out.WriteInt32(0);  // Zap is the first wand of the list
            for (int32_t i = 0; i < 3; ++i) out.WriteInt32(0);
        }
        SaveReader in(out.Buffer());
        in.version = c.version;
        Wand back(in);
        EXPECT_FALSE(in.Failed());
        ASSERT_EQ(back.def, zap.def);
        EXPECT_EQ(back.subtype, zap.subtype);
        EXPECT_TRUE(IsItemTypeKnown(&back));
        EXPECT_NE(back.subtype, bolt.subtype);
    }
}

TEST_F(ItemSaveTest, UnknownDefinitionsAreReadReportedAndDropped) {
    Gem gem(FindItemDefByName("Ruby"));
    Zorkmids gold(12);
    SaveWriter out;
    WriteObjectRef(out, &gem);
    WriteObjectRef(out, &gold);
    ClearItemDB();  // the data no longer knows "Ruby"
    SaveReader in(out.Buffer());
    testing::internal::CaptureStdout();
    EXPECT_EQ(ReadObjectRef(in), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "unknown item definition 'Ruby'\n");
    std::unique_ptr<GameObj> next(ReadObjectRef(in));
    ASSERT_NE(next, nullptr);  // the load goes on with the next object
    EXPECT_EQ(static_cast<Zorkmids*>(next.get())->amount, 12);
    EXPECT_FALSE(in.Failed());

    // An old position outside the list is an unknown definition too.
    SaveWriter old;
    old.version = SaveVersion{1, 0, 2};
    Item plain;
    plain.Save(old);
    old.WriteInt32(99);
    SaveReader oldIn(old.Buffer());
    oldIn.version = SaveVersion{1, 0, 2};
    testing::internal::CaptureStdout();
    Potion lost(oldIn);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "unknown item definition '#99'\n");
    EXPECT_TRUE(lost.dropAfterLoad);
}

TEST_F(ItemSaveTest, TrapsKeepTheirStateButNotTheirCharges) {
    const std::string xml = "<itemdb><item name='Snare'><trap trigger='charges' charges='3'/></item></itemdb>";
    ASSERT_TRUE(itemDBLoadText(xml, "traps"));
    Trap trap(FindItemDefByName("Snare"));
    EXPECT_EQ(trap.charges, 3);
    trap.charges = 1;
    trap.discovered = 1;
    trap.disarmed = true;
    trap.originX = 4;
    trap.originY = 9;
    const std::vector<uint8_t> bytes = Saved(trap);
    // The block ends with the origin, discovered and disarmed words (the name has 5 bytes).
    ASSERT_GE(bytes.size(), 16u);
    std::vector<int32_t> tail(4);
    std::memcpy(tail.data(), bytes.data() + bytes.size() - 16, 16);
    EXPECT_EQ(tail, (std::vector<int32_t>{4, 9, 1, 1}));
    EXPECT_EQ(bytes.size(), GameObjBlockSize() + 9 * 4 + 4 + 5 + 16);
    SaveReader in(bytes);
    Trap back(in);
    EXPECT_EQ(back.def, trap.def);
    EXPECT_EQ(back.charges, 3);  // charges are not saved
    EXPECT_TRUE(back.IsSpottedTrap());
    EXPECT_TRUE(back.disarmed);
    EXPECT_EQ(back.originY, 9);
}

TEST_F(ItemSaveTest, FoodNamesLoseTrailingLineEnds) {
    Food bun(FindItemDefByName("Bun"));
    SaveWriter out;
    bun.Item::Save(out);
    out.WriteString("Bun \r\n\t");
    SaveReader in(out.Buffer());
    Food back(in);
    EXPECT_EQ(back.def, FindItemDefByName("Bun"));
}

TEST_F(ItemSaveTest, ItemClassesAreRegisteredUnderTheirNames) {
    const char* const ours[] = {"Item",    "Zorkmids", "Misc", "Food",  "Gem",   "Mushroom",
                                "Potion",  "Reagent",  "Wand", "Weapon", "Armour", "Trap", "Toolkit"};
    for (const char* name : ours) {
        bool listed = false;
        for (const char* saveable : kSaveableClassNames) listed = listed || std::strcmp(saveable, name) == 0;
        EXPECT_TRUE(listed) << name;
        const SerializableDefinition* def = SerializableRegistry::Instance().FindByName(name);
        ASSERT_NE(def, nullptr) << name;
        EXPECT_EQ(def->hash, hashlittle(name, std::strlen(name), 0)) << name;
    }
    // The registration order of one file follows the family's table.
    const auto ordinal = [](const char* n) { return SerializableRegistry::Instance().FindByName(n)->ordinal; };
    EXPECT_LT(ordinal("Toolkit"), ordinal("Food"));
    EXPECT_LT(ordinal("Food"), ordinal("Gem"));
    EXPECT_LT(ordinal("Zorkmids"), ordinal("Misc"));
    EXPECT_LT(ordinal("Potion"), ordinal("Reagent"));
    EXPECT_LT(ordinal("Reagent"), ordinal("Wand"));
}

}  // namespace
