// The fixture family's registrations and save blocks: class keys, byte-exact blocks, old-save
// defaults, round trips through the registry and the embedded-object slot.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "tests/items_fixtures/record_bytes.h"
#include "core/lookup3.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/fixture.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/spell_clouds.h"
#include "items_fixtures/splat.h"

namespace {

using namespace record_bytes;

Bytes BaseBytes(GameObj& obj, SaveVersion version = kCurrentSaveVersion) {
    SaveWriter out;
    out.version = version;
    obj.GameObj::Save(out);
    return out.Buffer();
}

TEST(FixtureFamily, EveryFixtureClassIsRegisteredUnderItsNameHashAndOrdinal) {
    const char* const names[] = {"Chest", "UberChest", "Breakable", "ZarnochStatue", "Anvil", "Dispenser",
                                 "Bookshelf", "BBQ", "Blocker", "Clock", "Engraving", "Splat", "RingOfProtection",
                                 "Coffin", "DiggleGod", "Dirt", "Door", "EvilChest", "Fountain", "Freezer", "Lever",
                                 "LutefiskStatue", "Pedestal", "Rift", "ShopPedestal", "Shopkeeper", "SignPost",
                                 "Smoke", "Roots", "Stairs", "Portal", "Statue", "Teleporter"};
    for (const char* name : names) {
        const SerializableDefinition* def = SerializableRegistry::Instance().FindByName(name);
        ASSERT_NE(def, nullptr) << name;
        EXPECT_EQ(def->hash, hashlittle(name, std::strlen(name), 0)) << name;
        EXPECT_EQ(GetRegisteredClassIndex(name), static_cast<int32_t>(def->ordinal)) << name;
    }
    // Each object answers its own class's keys.
    Blocker blocker(nullptr, -1, "b.png");
    Clock clock(nullptr, -1, "c.png", 3, -1, 0);
    Teleporter tele(1, 2);
    Stairs stairs(1);
    EXPECT_EQ(blocker.GetClassHash(), GetRegisteredClassHash("Blocker"));
    EXPECT_EQ(clock.GetClassHash(), GetRegisteredClassHash("Clock"));
    EXPECT_EQ(clock.GetClassIndex(), GetRegisteredClassIndex("Clock"));
    EXPECT_EQ(tele.GetClassIndex(), GetRegisteredClassIndex("Teleporter"));
    EXPECT_EQ(stairs.GetClassHash(), ClassNameHash("Stairs"));
    // Several classes of one file keep the table's relative order.
    EXPECT_LT(GetRegisteredClassIndex("Blocker"), GetRegisteredClassIndex("Engraving"));
    EXPECT_LT(GetRegisteredClassIndex("Engraving"), GetRegisteredClassIndex("Clock"));
    EXPECT_LT(GetRegisteredClassIndex("Stairs"), GetRegisteredClassIndex("Portal"));
    EXPECT_LT(GetRegisteredClassIndex("Portal"), GetRegisteredClassIndex("Teleporter"));
    EXPECT_LT(GetRegisteredClassIndex("Rift"), GetRegisteredClassIndex("Smoke"));
    EXPECT_LT(GetRegisteredClassIndex("Smoke"), GetRegisteredClassIndex("Roots"));
}

// A load-only class made from a plain base block plus its own words.
template <class T>
std::unique_ptr<T> FromBlock(const Bytes& own) {
    GameObj plain;
    Bytes bytes = BaseBytes(plain);
    bytes.insert(bytes.end(), own.begin(), own.end());
    SaveReader in(bytes);
    auto obj = std::make_unique<T>(in);
    EXPECT_FALSE(in.Failed());
    return obj;
}

TEST(FixtureFamily, SaveBlocksAreByteExactAndSaveLoadSaveGivesTheSameBytes) {
    Blocker tileset(nullptr, 2);
    Blocker custom(nullptr, 0, "props/urn.png");
    custom.name = "Urn";
    custom.description = "Dusty.";
    Blocker series(nullptr, 7, "props/fire", 1, 4, 90);
    Clock clock(nullptr, -1, "props/clock.png", 9, 5, 1);
    clock.name = "Clock";
    Engraving engraving(nullptr, -1, "props/rune", 0, 3, 50);
    Fountain fountain;
    fountain.dry = 1;
    Freezer fridge;
    fridge.raided = 1;
    EvilChest chest;
    Dirt dirt;
    dirt.planted = 1;
    dirt.growTurns = 4;
    Rift rift(6);
    Pedestal pedestal;
    pedestal.title = "Guide";
    pedestal.text = "Read me.";
    Stairs stairs(1);
    Portal portal;
    Teleporter teleporter(12, -3);
    Statue statue;
    statue.available = 0;
    std::unique_ptr<SignPost> sign = FromBlock<SignPost>({});
    std::unique_ptr<Smoke> smoke = FromBlock<Smoke>(Word(17));
    std::unique_ptr<Roots> roots = FromBlock<Roots>(Word(-2));

    struct Case {
        const char* what;
        GameObj* obj;
        Bytes own;
    };
    const Case cases[] = {
        {"tileset blocker", &tileset, Cat({Word(2), Str(""), Str(""), Word(0)})},
        {"custom blocker", &custom,
         Cat({Word(-1), Str("Urn"), Str("Dusty."), Str("props/urn.png"), Str(""), Word(0), Word(0), Word(0), Word(0)})},
        {"series blocker", &series,
         Cat({Word(-1), Str(""), Str(""), Str(""), Str("props/fire"), Word(1), Word(4), Word(90), Word(7)})},
        {"clock", &clock,
         Cat({Word(-1), Str("Clock"), Str(""), Str("props/clock.png"), Str(""), Word(0), Word(0), Word(0), Word(-1),
              Word(9), Word(5), Word(-1)})},
        {"engraving", &engraving, Cat({Str(""), Str("props/rune"), Word(0), Word(3), Word(50)})},
        {"fountain", &fountain, Word(1)},
        {"fridge", &fridge, Word(1)},
        {"chest of evil", &chest, Word(0)},
        {"planted dirt", &dirt, Cat({Word(1), Word(4)})},
        {"rift", &rift, {}},
        {"pedestal", &pedestal, Str("Read me.")},
        {"stairs", &stairs, Word(1)},
        {"portal", &portal, {}},
        {"teleporter", &teleporter, Cat({Word(12), Word(-3)})},
        {"statue", &statue, Word(0)},
        {"signpost", sign.get(), {}},
        {"smoke", smoke.get(), Word(17)},
        {"roots", roots.get(), Word(-2)},
    };
    for (const Case& c : cases) {
        const Bytes bytes = SaveBytes(*c.obj);
        const size_t base = BaseBytes(*c.obj).size();
        ASSERT_EQ(bytes.size(), base + c.own.size()) << c.what;
        EXPECT_EQ(Tail(bytes, base), c.own) << c.what;
        std::unique_ptr<GameObj> again = Reload(c.obj->GetClassHash(), bytes);
        ASSERT_NE(again, nullptr) << c.what;
        EXPECT_EQ(again->GetClassHash(), c.obj->GetClassHash()) << c.what;
        // The pedestal's title belongs to the room that placed it and is not saved.
        if (c.obj != &pedestal) {
            EXPECT_EQ(again->GetName(), c.obj->GetName()) << c.what;
        }
        EXPECT_EQ(SaveBytes(*again), bytes) << c.what;
    }
}

TEST(FixtureFamily, OldSavesGiveTheDefaultsOfTheFieldsTheyLack) {
    const SaveVersion v102{1, 0, 2};
    const SaveVersion v103{1, 0, 3};
    GameObj plain;
    const Bytes base = BaseBytes(plain, v102);

    // A blocker before 1.0.4 has no turnsLeft word: permanent.
    const Bytes old = Cat({base, Word(3), Str("Pillar"), Str("")});
    SaveReader blockerIn(old);
    blockerIn.version = v103;
    Blocker blocker(blockerIn);
    EXPECT_FALSE(blockerIn.Failed());
    EXPECT_EQ(blockerIn.Remaining(), 0u);
    EXPECT_EQ(blocker.turnsLeft, 0);
    EXPECT_EQ(blocker.tilesetIndex, 3);
    EXPECT_EQ(blocker.GetName(), "Pillar");

    // A fridge before 1.0.3 has no raided word: not raided.
    SaveReader fridgeIn(base);
    fridgeIn.version = v102;
    Freezer fridge(fridgeIn);
    EXPECT_FALSE(fridgeIn.Failed());
    EXPECT_EQ(fridge.raided, 0);
    EXPECT_EQ(fridgeIn.Remaining(), 0u);

    // A pedestal before 1.0.4 has no text.
    SaveReader pedestalIn(base);
    pedestalIn.version = v103;
    Pedestal pedestal(pedestalIn);
    EXPECT_EQ(pedestal.text, "This space unintentionally left blank.");
    EXPECT_EQ(pedestalIn.Remaining(), 0u);
}

TEST(FixtureFamily, ALoadedRiftHasNoLifetimeLeftAndALoadedFixtureKeepsItsPicture) {
    Rift rift(40);
    std::unique_ptr<GameObj> loaded = Reload(rift.GetClassHash(), SaveBytes(rift));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(static_cast<Rift*>(loaded.get())->lifetime, 0);

    Freezer fridge;
    fridge.raided = 1;
    fridge.bob.frame = 1;
    std::unique_ptr<GameObj> fridgeAgain = Reload(fridge.GetClassHash(), SaveBytes(fridge));
    ASSERT_NE(fridgeAgain, nullptr);
    EXPECT_EQ(fridgeAgain->bob.frame, 1);
    EXPECT_EQ(fridgeAgain->bob.sprite, fridge.bob.sprite);
    Fountain fountain;
    fountain.dry = 1;
    std::unique_ptr<GameObj> fountainAgain = Reload(fountain.GetClassHash(), SaveBytes(fountain));
    ASSERT_NE(fountainAgain, nullptr);
    EXPECT_EQ(fountainAgain->GetName(), "Empty Fountain");
}

TEST(FixtureFamily, EmbeddedSlotsWriteOneZeroByteWhenEmptyAndRefuseUnknownKeys) {
    SaveWriter out;
    ASSERT_TRUE(WriteEmbeddedObject(out, nullptr));
    EXPECT_EQ(out.Buffer(), Bytes({0}));
    {
        SaveReader in(out.Buffer());
        EXPECT_EQ(ReadEmbeddedObject(in), nullptr);
        EXPECT_FALSE(in.Failed());
    }

    Teleporter inside(4, 5);
    SaveWriter full;
    ASSERT_TRUE(WriteEmbeddedObject(full, &inside));
    const Bytes block = SaveBytes(inside);
    ASSERT_EQ(full.Buffer().size(), 1 + 4 + block.size());
    EXPECT_EQ(full.Buffer()[0], 1);
    EXPECT_EQ(Bytes(full.Buffer().begin() + 1, full.Buffer().begin() + 5), Word(static_cast<int32_t>(inside.GetClassHash())));
    {
        SaveReader in(full.Buffer());
        std::unique_ptr<GameObj> back(ReadEmbeddedObject(in));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(static_cast<Teleporter*>(back.get())->partnerY, 5);
    }

    // An unknown key cannot be skipped: the load fails rather than reading on out of step.
    Bytes unknown = Cat({Bytes{1}, Word(0x12345678), block});
    SaveReader in(unknown);
    EXPECT_EQ(ReadEmbeddedObject(in), nullptr);
    EXPECT_TRUE(in.Failed());
}

}  // namespace
