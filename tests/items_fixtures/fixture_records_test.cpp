// Save records of chests, breakables, the Zarnoch statue, doors, levers, shop pedestals,
// shopkeepers, vending machines, shrines, anvils and quest shrines: byte-exact blocks, round
// trips through the registry, the defaults of older saves and the faults of bad saves.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "tests/items_fixtures/record_bytes.h"
#include "creatures/monster_db.h"
#include "creatures/shopkeeper.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "tests/levels/level_test_map.h"

#include <physfs.h>

namespace {

using namespace record_bytes;

const SaveVersion kV101{1, 0, 1};
const SaveVersion kV102{1, 0, 2};
const SaveVersion kV103{1, 0, 3};
const SaveVersion kV105{1, 0, 5};
const SaveVersion kV107{1, 0, 7};
const SaveVersion kV109{1, 0, 9};

// The class key a stream of this version uses: the name's hash from 1.0.7, before that the
// position in the legacy table.
uint32_t KeyFor(const std::string& name, SaveVersion version) {
    if (version.AtLeast(kSaveHashedClassKeys)) return GetRegisteredClassHash(name);
    for (uint32_t i = 0; i < kLegacyClassCount; ++i) {
        if (name == LegacyClassName(i)) return i;
    }
    ADD_FAILURE() << name << " is not in the legacy table";
    return 0xFFFFFFFFu;
}

// The embedded form of an object: presence byte, class key, its block.
Bytes Embedded(GameObj& obj, SaveVersion version = kCurrentSaveVersion) {
    const std::string name = SerializableRegistry::Instance().FindByKey(obj.GetClassHash(), kCurrentSaveVersion)->name;
    return Cat({Bytes{1}, Word(static_cast<int32_t>(KeyFor(name, version))), SaveBytes(obj, version)});
}

const Bytes kNone{0};

// A plain GameObj block of the given version, the base of every hand-made old stream.
Bytes PlainBase(SaveVersion version) {
    GameObj plain;
    return SaveBytes(plain, version);
}

SpriteRecord Image(const std::string& file) {
    SpriteRecord r;
    r.image = file;
    return r;
}

SpriteRecord Series(const std::string& base, int32_t first, int32_t count, int32_t delay) {
    SpriteRecord r;
    r.series = base;
    r.first = first;
    r.count = count;
    r.delay = delay;
    return r;
}

TEST(FixtureRecords, EveryClassIsRegisteredAndAnswersItsOwnKeys) {
    Chest chest(nullptr);
    UberChest uber;
    Breakable breakable(nullptr, 0, 1, 0);
    ZarnochStatue statue;
    Door door(0, 0, 1);
    Lever lever;
    ShopPedestal pedestal;
    Shopkeeper keeper;
    Dispenser dispenser(0);
    DiggleGod god("Ollo");
    LutefiskStatue lutefisk;
    Anvil anvil;
    QuestBlocker shrine(-1);
    struct Case {
        const char* name;
        GameObj* obj;
    };
    const Case cases[] = {{"Chest", &chest},       {"UberChest", &uber},           {"Breakable", &breakable},
                          {"ZarnochStatue", &statue}, {"Door", &door},             {"Lever", &lever},
                          {"ShopPedestal", &pedestal}, {"Shopkeeper", &keeper},    {"Dispenser", &dispenser},
                          {"DiggleGod", &god},       {"LutefiskStatue", &lutefisk}, {"Anvil", &anvil},
                          {"QuestBlocker", &shrine}};
    for (const Case& c : cases) {
        const SerializableDefinition* def = SerializableRegistry::Instance().FindByName(c.name);
        ASSERT_NE(def, nullptr) << c.name;
        EXPECT_EQ(def->hash, ClassNameHash(c.name)) << c.name;
        EXPECT_EQ(c.obj->GetClassHash(), def->hash) << c.name;
        EXPECT_EQ(c.obj->GetClassIndex(), static_cast<int32_t>(def->ordinal)) << c.name;
    }
    // One file's classes keep the saved-class table's order.
    EXPECT_LT(GetRegisteredClassIndex("Chest"), GetRegisteredClassIndex("UberChest"));
    EXPECT_LT(GetRegisteredClassIndex("Breakable"), GetRegisteredClassIndex("ZarnochStatue"));
    EXPECT_LT(GetRegisteredClassIndex("DiggleGod"), GetRegisteredClassIndex("LutefiskStatue"));
    EXPECT_LT(GetRegisteredClassIndex("Door"), GetRegisteredClassIndex("Lever"));
}

TEST(FixtureRecords, BlocksAreByteExactAndSaveLoadSaveGivesTheSameBytes) {
    Chest fullChest(nullptr);
    fullChest.content = new Zorkmids(250);
    fullChest.locked = 1;
    fullChest.RefreshPicture();
    Chest smashedChest(nullptr);
    smashedChest.locked = 0;  // a new chest's lock is rolled
    smashedChest.smashed = 1;
    smashedChest.RefreshPicture();
    UberChest uber;
    uber.content = new Zorkmids(9);
    uber.furtherA = 7;
    uber.furtherB = -2;
    Breakable tileset(nullptr, 3, 2, 1);
    tileset.contents = new Zorkmids(4);
    const SpriteRecord urn = Image("props/urn.png");
    const SpriteRecord cracking = Series("props/urn_crack", 1, 4, 60);
    const SpriteRecord shards = Image("props/urn_shards.png");
    Breakable custom(nullptr, &urn, &cracking, &shards, 3, 0);
    ZarnochStatue statue;
    statue.broken = 1;
    statue.blocksMovement = 0;
    statue.blocksSight = 0;
    statue.RefreshPicture();
    Lever lever;
    lever.kind = 1;
    lever.targetX = 12;
    lever.targetY = 30;
    lever.activated = 1;
    ShopPedestal emptyPedestal;
    ShopPedestal stockedPedestal;
    stockedPedestal.stock = new Zorkmids(60);
    Dispenser dispenser(2);
    dispenser.stock[0] = new Zorkmids(1);
    dispenser.stock[11] = new Zorkmids(2);
    dispenser.robbed = 1;
    DiggleGod god("Ollo the Sleepy");
    LutefiskStatue lutefisk;
    lutefisk.spent = 1;
    lutefisk.RefreshPicture();
    Anvil anvil;
    anvil.used = 1;
    anvil.dead = 1;
    anvil.RefreshPicture();
    QuestBlocker shrine(-1);

    Zorkmids gold250(250), gold9(9), gold4(4), gold60(60), gold1(1), gold2(2);
    struct Case {
        const char* what;
        GameObj* obj;
        Bytes own;
    };
    const Case cases[] = {
        {"locked chest with money", &fullChest, Cat({Embedded(gold250), Word(1), Word(0)})},
        {"smashed chest", &smashedChest, Cat({kNone, Word(0), Word(1)})},
        {"uber chest", &uber, Cat({Embedded(gold9), Word(1), Word(7), Word(-2)})},
        {"tileset breakable", &tileset, Cat({Word(0), Word(3), Embedded(gold4), Word(2), Word(1)})},
        {"custom breakable", &custom,
         Cat({Word(0), Word(-1), kNone, Word(3), Word(0), Word(0), Str("props/urn.png"), Word(1),
              Str("props/urn_crack"), Word(4), Word(1), Word(60), Word(0), Str("props/urn_shards.png")})},
        {"broken statue", &statue, Word(1)},
        {"lever", &lever, Cat({Word(1), Word(1), Word(12), Word(30)})},
        {"empty shop pedestal", &emptyPedestal, kNone},
        {"shop pedestal with an item", &stockedPedestal, Embedded(gold60)},
        {"drink vendor", &dispenser,
         Cat({Word(2), Embedded(gold1), kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone,
              Embedded(gold2), Word(1)})},
        {"diggle god", &god, Str("Ollo the Sleepy")},
        {"spent lutefisk statue", &lutefisk, Word(1)},
        {"dead anvil", &anvil, Cat({Word(1), Word(1)})},
        {"quest shrine without a kind", &shrine, Word(-1)},
    };
    for (const Case& c : cases) {
        const Bytes bytes = SaveBytes(*c.obj);
        // The block ends in the class's own words.
        ASSERT_GE(bytes.size(), c.own.size()) << c.what;
        EXPECT_EQ(Tail(bytes, bytes.size() - c.own.size()), c.own) << c.what;
        uint64_t left = 1;
        std::unique_ptr<GameObj> again = Reload(c.obj->GetClassHash(), bytes, kCurrentSaveVersion, &left);
        ASSERT_NE(again, nullptr) << c.what;
        EXPECT_EQ(left, 0u) << c.what;
        EXPECT_EQ(again->GetClassHash(), c.obj->GetClassHash()) << c.what;
        EXPECT_EQ(SaveBytes(*again), bytes) << c.what;
        // A loaded fixture wears the same picture as the one it was saved from.
        EXPECT_EQ(again->bob.sprite, c.obj->bob.sprite) << c.what;
        EXPECT_EQ(again->bob.frame, c.obj->bob.frame) << c.what;
        EXPECT_EQ(again->blocksMovement, c.obj->blocksMovement) << c.what;
    }
}

TEST(FixtureRecords, EachBlockStartsWithItsBaseBlock) {
    // The own words follow the GameObj block (the Activatable block for a lever) directly.
    Anvil anvil;
    GameObj& base = anvil;
    Bytes baseOnly;
    {
        SaveWriter out;
        base.GameObj::Save(out);
        baseOnly = out.Buffer();
    }
    EXPECT_EQ(SaveBytes(anvil), Cat({baseOnly, Word(0), Word(0)}));
    Lever lever;
    lever.kind = 2;
    SaveWriter activatable;
    lever.Activatable::Save(activatable);
    EXPECT_EQ(SaveBytes(lever), Cat({activatable.Buffer(), Word(2), Word(0), Word(0)}));
}

TEST(FixtureRecords, ADoorWritesNothingAndItsLoadReadsNothing) {
    Door door(1, 4, 2);
    door.locked = 1;
    EXPECT_TRUE(SaveBytes(door).empty());
    uint64_t left = 1;
    const Bytes following = Word(99);  // the next object's bytes stay unread
    std::unique_ptr<GameObj> loaded = Reload(door.GetClassHash(), following, kCurrentSaveVersion, &left);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(dynamic_cast<Door*>(loaded.get()), nullptr);
    EXPECT_EQ(left, 4u);
}

TEST(FixtureRecords, AChestLeverSavesItsChestsCurrentSquareAndLoadsWithoutALink) {
    UberChest chest;
    chest.x = 5;
    chest.y = 6;
    Lever lever;
    lever.kind = 3;
    lever.linked = &chest;
    lever.targetX = 5;
    lever.targetY = 6;
    chest.x = 8;  // the chest was moved after the link was made
    chest.y = 2;
    const Bytes bytes = SaveBytes(lever);
    EXPECT_EQ(Tail(bytes, bytes.size() - 12), Cat({Word(3), Word(8), Word(2)}));
    std::unique_ptr<GameObj> loaded = Reload(lever.GetClassHash(), bytes);
    ASSERT_NE(loaded, nullptr);
    Lever* back = static_cast<Lever*>(loaded.get());
    EXPECT_EQ(back->linked, nullptr);
    EXPECT_EQ(back->kind, 3);
    EXPECT_EQ(back->targetX, 8);
    EXPECT_EQ(back->targetY, 2);
}

// The assembled game folder mounted, with a fresh sprite table, while it lives.
class ScopedGameArt {
public:
    ScopedGameArt() : cwd_(VAULTMERE_GAME_ROOT), physfsWasInit_(PHYSFS_isInit() != 0) {
        if (physfsWasInit_) PHYSFS_deinit();
        MountDataTree();
        SpriteMgr_FreeAll();
    }
    ~ScopedGameArt() {
        SpriteMgr_FreeAll();
        PHYSFS_deinit();
        if (physfsWasInit_) PHYSFS_init(nullptr);
    }
    bool ok() const { return cwd_.ok(); }

private:
    ScopedWorkingDir cwd_;
    bool physfsWasInit_;
};

TEST(FixtureRecords, OlderSavesGiveTheDefaultsOfTheWordsTheyLack) {
    ScopedGameArt art;
    ASSERT_TRUE(art.ok());
    Zorkmids gold(30);
    struct UberCase {
        SaveVersion version;
        Bytes own;
        int32_t locked;
        int32_t furtherA;
        int32_t furtherB;
    };
    const UberCase uberCases[] = {
        {kV105, Embedded(gold, kV105), 1, 0, 0},  // no lock word yet: as made, locked
        {kV109, Cat({Embedded(gold, kV109), Word(0)}), 0, 0, 0},
        {kCurrentSaveVersion, Cat({Embedded(gold), Word(0), Word(3), Word(4)}), 0, 3, 4},
    };
    for (const UberCase& c : uberCases) {
        uint64_t left = 1;
        std::unique_ptr<GameObj> obj =
            Reload(KeyFor("UberChest", c.version), Cat({PlainBase(c.version), c.own}), c.version, &left);
        ASSERT_NE(obj, nullptr);
        UberChest* uber = static_cast<UberChest*>(obj.get());
        EXPECT_EQ(left, 0u);
        EXPECT_EQ(uber->locked, c.locked);
        EXPECT_EQ(uber->furtherA, c.furtherA);
        EXPECT_EQ(uber->furtherB, c.furtherB);
        ASSERT_NE(uber->content, nullptr);
        EXPECT_EQ(uber->content->count, gold.count);
        EXPECT_EQ(uber->bob.frame, c.locked != 0 ? 0 : 1);
    }

    // A vending machine before 1.0.8 has no robbed word: it counts as robbed.
    Bytes slots;
    for (int i = 0; i < Dispenser::kSlots; ++i) slots.push_back(0);
    uint64_t left = 1;
    std::unique_ptr<GameObj> machine =
        Reload(KeyFor("Dispenser", kV107), Cat({PlainBase(kV107), Word(3), slots}), kV107, &left);
    ASSERT_NE(machine, nullptr);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(static_cast<Dispenser*>(machine.get())->robbed, 1);
    EXPECT_EQ(static_cast<Dispenser*>(machine.get())->kind, 3);
}

TEST(FixtureRecords, AnOldBreakableLoadsWithOneHitAndIsSavedInTheCurrentLayout) {
    struct Case {
        const char* what;
        int32_t brokenWord;
        int32_t tilesetIndex;
        int32_t hitsTaken;
    };
    const Case cases[] = {
        {"intact tileset breakable", 0, 2, 0},
        {"broken tileset breakable", 1, 2, 1},
        {"broken custom breakable", 1, -1, 1},
    };
    for (const Case& c : cases) {
        const Bytes old = Cat({PlainBase(kV107), Word(c.brokenWord), Word(c.tilesetIndex), kNone});
        uint64_t left = 1;
        std::unique_ptr<GameObj> first = Reload(KeyFor("Breakable", kV107), old, kV107, &left);
        ASSERT_NE(first, nullptr) << c.what;
        EXPECT_EQ(left, 0u) << c.what;
        Breakable* b = static_cast<Breakable*>(first.get());
        EXPECT_EQ(b->hitsNeededToBreak, 1) << c.what;
        EXPECT_EQ(b->hitsTaken, c.hitsTaken) << c.what;
        EXPECT_EQ(b->IsBroken(), c.brokenWord != 0) << c.what;
        // Never without a picture, even when the old save had none to give.
        EXPECT_NE(b->bob.sprite, nullptr) << c.what;
        EXPECT_NE(b->GetThirdSprite(), nullptr) << c.what;

        // Saved again it writes the whole current layout, and reads back in step.
        const Bytes current = SaveBytes(*b);
        std::unique_ptr<GameObj> second = Reload(GetRegisteredClassHash("Breakable"), current, kCurrentSaveVersion, &left);
        ASSERT_NE(second, nullptr) << c.what;
        EXPECT_EQ(left, 0u) << c.what;
        Breakable* b2 = static_cast<Breakable*>(second.get());
        EXPECT_EQ(b2->hitsNeededToBreak, 1) << c.what;
        EXPECT_EQ(b2->hitsTaken, c.hitsTaken) << c.what;
        EXPECT_EQ(b2->branchIndex, c.tilesetIndex) << c.what;
        EXPECT_EQ(SaveBytes(*b2), current) << c.what;
    }
    // The custom one of the old save wears the placeholder picture.
    const Bytes oldCustom = Cat({PlainBase(kV107), Word(0), Word(-1), kNone});
    std::unique_ptr<GameObj> custom = Reload(KeyFor("Breakable", kV107), oldCustom, kV107);
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->bob.sprite, FixturePlaceholderSprite());
}

// A branch of depth 0..20 with two breakables, the only branch while it lives.
class ScopedBreakableBranch {
public:
    ScopedBreakableBranch() : saved_(Branches) {
        Branches.clear();
        auto* record = new BranchRecord();
        record->id = 0;
        record->minDepth = 0;
        record->maxDepth = 20;
        for (const char* name : {"Pot", "Crate"}) {
            BreakableDef def;
            def.name = name;
            def.sfx = "";
            record->breakables.push_back(def);
        }
        Branches.push_back(record);
    }
    ~ScopedBreakableBranch() {
        ClearBranches();
        Branches = saved_;
    }

private:
    std::vector<BranchRecord*> saved_;
};

TEST(FixtureRecords, ABreakablesTilesetIndexIsCheckedAgainstItsBranch) {
    ScopedBreakableBranch branch;
    ScopedTestLevel level(4, 4, 1);
    level->branchId = 0;
    Breakable crate(level.get(), 1, 1, 0);
    EXPECT_EQ(crate.GetName(), "Crate");
    EXPECT_EQ(crate.GetSoundName(), "breakable");  // an empty sound falls back

    testing::internal::CaptureStdout();
    Breakable beyond(level.get(), 2, 1, 0);
    Breakable negative(level.get(), -5, 1, 0);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("tileset index 2 is outside the 2 breakables"), std::string::npos) << said;
    EXPECT_NE(said.find("tileset index -5 is outside"), std::string::npos) << said;
    EXPECT_EQ(beyond.bob.sprite, FixturePlaceholderSprite());
    EXPECT_EQ(negative.bob.sprite, FixturePlaceholderSprite());
    // The index is kept, so the record stays as it was read.
    EXPECT_EQ(beyond.branchIndex, 2);
}

TEST(FixtureRecords, AnUnknownEmbeddedClassFailsTheLoadWithAMessage) {
    Zorkmids gold(5);
    const Bytes bad = Cat({Bytes{1}, Word(0x0BADC0DE), SaveBytes(gold)});
    const Bytes base = PlainBase(kCurrentSaveVersion);
    struct Case {
        const char* cls;
        Bytes own;
    };
    const Case cases[] = {
        {"ShopPedestal", bad},
        {"Chest", Cat({bad, Word(0), Word(0)})},
        {"Breakable", Cat({Word(0), Word(0), bad, Word(1), Word(0)})},
    };
    for (const Case& c : cases) {
        SaveReader in(Cat({base, c.own}));
        Serializable* loaded = SerializableRegistry::Instance().CreateFromSave(GetRegisteredClassHash(c.cls), in);
        EXPECT_TRUE(in.Failed()) << c.cls;
        EXPECT_FALSE(in.Error().empty()) << c.cls;
        EXPECT_EQ(loaded, nullptr) << c.cls;
        delete loaded;
    }
}

TEST(FixtureRecords, AQuestShrineSavesItsKindsPositionAndFallsBackToTheFirst) {
    const std::vector<QuestBlockerType> saved = QuestBlockerTypes;
    QuestBlockerTypes.assign(2, QuestBlockerType());
    QuestBlockerTypes[0].name = "First";
    QuestBlockerTypes[1].name = "Second";
    QuestBlocker shrine(1);
    const Bytes bytes = SaveBytes(shrine);
    EXPECT_EQ(Tail(bytes, bytes.size() - 4), Word(1));
    std::unique_ptr<GameObj> back = Reload(shrine.GetClassHash(), bytes);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(static_cast<QuestBlocker*>(back.get())->Type(), &QuestBlockerTypes[1]);

    testing::internal::CaptureStdout();
    std::unique_ptr<GameObj> outside = Reload(shrine.GetClassHash(), Cat({PlainBase(kCurrentSaveVersion), Word(7)}));
    const std::string said = testing::internal::GetCapturedStdout();
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(static_cast<QuestBlocker*>(outside.get())->Type(), &QuestBlockerTypes[0]);
    EXPECT_EQ(outside->GetName(), "First");
    EXPECT_NE(said.find("saved kind 7 is outside"), std::string::npos) << said;
    QuestBlockerTypes = saved;
}

TEST(FixtureRecords, ShopkeeperStreamsOfEveryVersionLoadWithTheirDefaults) {
    Shopkeeper keeper;
    // A record without a name, so that the monster block (written in today's layout) reads
    // the same under the old versions, whose record reference is one word.
    MonsterRecord bare;
    keeper.record = &bare;
    keeper.hostile = 1;
    keeper.guardX = 2;
    keeper.guardY = 3;
    keeper.homeX = 4;
    keeper.homeY = 5;
    keeper.atGuard = 1;
    keeper.stealDone = 1;
    const Bytes current = SaveBytes(keeper);
    EXPECT_EQ(Tail(current, current.size() - 28),
              Cat({Word(1), Word(2), Word(3), Word(4), Word(5), Word(1), Word(1)}));
    std::unique_ptr<GameObj> again = Reload(keeper.GetClassHash(), current);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SaveBytes(*again), current);

    struct Case {
        SaveVersion version;
        Bytes own;
        int32_t guardX, homeY, atGuard, stealDone;
    };
    const Case cases[] = {
        {kV101, Word(1), 0, 0, 0, 0},
        {kV102, Cat({Word(1), Word(2), Word(3), Word(4), Word(5)}), 2, 5, 0, 0},
        {kV103, Cat({Word(1), Word(2), Word(3), Word(4), Word(5), Word(1)}), 2, 5, 1, 0},
        {kSaveV1_0_8, Cat({Word(1), Word(2), Word(3), Word(4), Word(5), Word(1), Word(1)}), 2, 5, 1, 1},
    };
    for (const Case& c : cases) {
        SaveWriter monster;
        monster.version = c.version;
        keeper.Monster::Save(monster);
        uint64_t left = 1;
        std::unique_ptr<GameObj> obj =
            Reload(KeyFor("Shopkeeper", c.version), Cat({monster.Buffer(), c.own}), c.version, &left);
        ASSERT_NE(obj, nullptr);
        Shopkeeper* back = static_cast<Shopkeeper*>(obj.get());
        EXPECT_EQ(left, 0u);
        EXPECT_EQ(back->hostile, 1);
        EXPECT_EQ(back->guardX, c.guardX);
        EXPECT_EQ(back->homeY, c.homeY);
        EXPECT_EQ(back->atGuard, c.atGuard);
        EXPECT_EQ(back->stealDone, c.stealDone);
    }
}

TEST(FixtureRecords, ALoadedShopkeeperJoinsItsLevelsKeepersOnceKeepsItsHomeAndLeavesWhenDeleted) {
    ScopedTestLevel level(8, 8, 1);
    level->depth = 3;
    level->branchId = 0;
    Shopkeeper keeper;
    keeper.PlaceOnLevel(1, 1, level.get(), 0);  // on guard
    keeper.homeX = 6;
    keeper.homeY = 6;
    keeper.guardX = 1;
    keeper.guardY = 1;
    keeper.atGuard = 1;
    ASSERT_EQ(level->shopkeepers.size(), 1u);
    const Bytes bytes = SaveBytes(keeper);

    std::vector<Level*> savedLevels = GameLevels;
    GameLevels = {level.get()};
    std::unique_ptr<GameObj> loaded = Reload(keeper.GetClassHash(), bytes);
    GameLevels = savedLevels;
    ASSERT_NE(loaded, nullptr);
    Shopkeeper* back = static_cast<Shopkeeper*>(loaded.get());
    EXPECT_EQ(back->level, level.get());
    EXPECT_EQ(back->homeX, 6);
    EXPECT_EQ(back->homeY, 6);
    size_t listed = 0;
    for (GameObj* obj : level->shopkeepers) listed += obj == back ? 1 : 0;
    EXPECT_EQ(listed, 1u);
    loaded.reset();
    for (GameObj* obj : level->shopkeepers) EXPECT_NE(obj, static_cast<GameObj*>(back));
}

}  // namespace
