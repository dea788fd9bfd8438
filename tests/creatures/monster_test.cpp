// The Monster: construction from a record, statistics, save and load, drawing helpers.
#include "creatures/monster.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/class_registry.h"
#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster_db.h"
#include "creatures/speech_db.h"
#include "items_fixtures/quest.h"
#include "levels/level_test_map.h"
#include "media/sprite.h"

namespace {

class MonsterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMonsterDB();
        SetTweaks(0, 1.0f, 0.1f, 3);
        Load("<monDB><monster name=\"Diggle\"><stats numFig=\"3\" numWiz=\"1\" numRog=\"1\"/></monster>"
             "<monster name=\"Unhealthful Golem\" displayName=\"Golem\"/>"
             "<monster name=\"Impostor\" displayName=\"Gob\"/>"
             "<monster name=\"Gob\" displayName=\"Real Gob\"><stats xpValue=\"35\"/></monster>"
             "<monster name=\"Lone\"><stats numFig=\"1\"/></monster></monDB>");
        CSRand(1);
    }
    void TearDown() override {
        ClearMonsterDB();
        ClearTweakVals();
        ActiveQuests.clear();
    }
    static void Load(const std::string& xml) { monDBLoadFromText(xml.data(), xml.size(), "monDB.xml"); }
    static void SetTweaks(int32_t adder, float scale, float percent, int32_t perLevel) {
        ClearTweakVals();
        const std::string xml = "<tweakDB><tweak name=\"monster level adder\" ival=\"" + std::to_string(adder) +
                                "\" fval=\"0\"/><tweak name=\"monster HP global scale\" ival=\"0\" fval=\"" +
                                std::to_string(scale) +
                                "\"/><tweak name=\"monster additional HP percent per level\" ival=\"0\" fval=\"" +
                                std::to_string(percent) + "\"/><tweak name=\"monster additional HP per level\" ival=\"" +
                                std::to_string(perLevel) + "\" fval=\"0\"/></tweakDB>";
        LoadTweakValsFromBuffer(xml.data(), xml.size());
    }
    static std::vector<uint8_t> SaveBytes(Monster& monster, SaveVersion version = kCurrentSaveVersion) {
        SaveWriter out;
        out.version = version;
        EXPECT_TRUE(monster.Save(out));
        return out.Buffer();
    }
    static size_t HittableBytes(Monster& monster, SaveVersion version = kCurrentSaveVersion) {
        SaveWriter out;
        out.version = version;
        monster.Hittable::Save(out);
        return out.Buffer().size();
    }
    static Monster* LoadMonster(const std::vector<uint8_t>& bytes, SaveVersion version = kCurrentSaveVersion) {
        SaveReader in(bytes);
        in.version = version;
        Monster* monster = new Monster(in);
        EXPECT_FALSE(in.Failed());
        return monster;
    }
};

TEST_F(MonsterTest, ConstructionDerivesTheStatisticsFromTheRecord) {
    Monster diggle(monDBFindByName("Diggle"));
    EXPECT_EQ(std::vector<int32_t>(diggle.primary, diggle.primary + 6), (std::vector<int32_t>{8, 6, 6, 9, 9, 7}));
    EXPECT_EQ(diggle.stat[kStatLife], 17);
    EXPECT_EQ(diggle.stat[kStatMana], 12);
    EXPECT_EQ(diggle.stat[kStatMeleePower], 1);
    EXPECT_EQ(diggle.stat[kStatBlock], 2);
    EXPECT_EQ(diggle.stat[kStatCounter], 2);
    EXPECT_EQ(diggle.stat[kStatEdr], 2);
    EXPECT_EQ(diggle.stat[kStatMagicResistance], 4);
    EXPECT_EQ(diggle.health, 17);
    EXPECT_EQ(diggle.mana, 12);
    EXPECT_EQ(diggle.xpValue, 20);  // record xpValue 0
    EXPECT_EQ(Monster(monDBFindByName("Gob")).xpValue, 35);
    EXPECT_EQ(diggle.GetName(), "Diggle");
    diggle.isNamed = true;
    diggle.customName = "Grum";
    EXPECT_EQ(diggle.GetName(), "Grum");
}

TEST_F(MonsterTest, HealthScalesWithDepthFromDepthOne) {
    for (const auto& c : {std::make_pair(0, 17), std::make_pair(1, 21), std::make_pair(2, 26)}) {
        ScopedTestLevel level({"..."}, c.first);
        Monster diggle(monDBFindByName("Diggle"));
        EXPECT_EQ(diggle.stat[kStatLife], c.second) << "depth " << c.first;
        EXPECT_EQ(diggle.health, c.second);
    }
}

TEST_F(MonsterTest, TheLevelAdderNeverLeavesANegativePoint) {
    SetTweaks(-3, 1.0f, 0.0f, 0);
    for (uint32_t seed = 0; seed < 20; ++seed) {
        CSRand(seed);
        Monster lone(monDBFindByName("Lone"));
        for (int32_t points : lone.skillTypePoints) EXPECT_GE(points, 0) << seed;
    }
    SetTweaks(2, 1.0f, 0.0f, 0);
    Monster grown(monDBFindByName("Lone"));
    EXPECT_EQ(grown.skillTypePoints[0] + grown.skillTypePoints[1] + grown.skillTypePoints[2], 3);
}

TEST_F(MonsterTest, AnUnnamedDiggleWritesTheRecordLayout) {
    Monster diggle(monDBFindByName("Diggle"));
    const std::vector<uint8_t> bytes = SaveBytes(diggle);
    const size_t head = HittableBytes(diggle);
    ASSERT_EQ(bytes.size() - head, 271u);
    // Name, then the single quest byte 0, then insolent.
    const uint8_t nameAndQuest[] = {6, 0, 0, 0, 'D', 'i', 'g', 'g', 'l', 'e', 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + head, nameAndQuest, sizeof nameAndQuest), 0);
    // The record ends in the item count 0 and invisible 0.
    const uint8_t tail[] = {0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data() + bytes.size() - 8, tail, 8), 0);
    // A 1.0.7 record has one statistic word fewer and neither the item count nor invisible.
    EXPECT_EQ(SaveBytes(diggle, kSaveV1_0_7).size() - HittableBytes(diggle, kSaveV1_0_7), 271u - 4 - 8);
}

TEST_F(MonsterTest, SaveLoadSaveIsIdenticalAndKeepsTheCounters) {
    ActiveQuests.clear();
    QuestRecord quest;
    ActiveQuests.push_back(&quest);
    Monster diggle(monDBFindByName("Diggle"));
    diggle.isNamed = true;
    diggle.customName = "Grum the Loud";
    diggle.quest = &quest;
    diggle.sleepTurns = 4;
    diggle.fearTurns = 2;
    diggle.stunTurns = 3;
    diggle.countdownTurns = 5;
    diggle.lockdownTurns = 6;
    diggle.health = 9;
    Monster ally(monDBFindByName("Lone"));
    diggle.allyTarget = &ally;
    const std::vector<uint8_t> first = SaveBytes(diggle);
    EXPECT_EQ(diggle.allyTarget, &ally);  // saving changes nothing
    Monster* loaded = LoadMonster(first);
    EXPECT_EQ(SaveBytes(*loaded), first);
    EXPECT_EQ(loaded->record, monDBFindByName("Diggle"));
    EXPECT_EQ(loaded->quest, &quest);
    EXPECT_EQ(loaded->GetName(), "Grum the Loud");
    EXPECT_EQ(loaded->stunTurns, 3);
    EXPECT_EQ(loaded->countdownTurns, 5);
    EXPECT_EQ(loaded->lockdownTurns, 6);
    EXPECT_TRUE(loaded->HasStatus(Monster::kStatusAsleep));
    EXPECT_TRUE(loaded->HasStatus(Monster::kStatusAfraid));
    EXPECT_TRUE(loaded->HasStatus(Monster::kStatusLockedDown));
    EXPECT_FALSE(loaded->HasStatus(Monster::kStatusConfused));
    EXPECT_FALSE(loaded->HasStatus(Monster::kStatusPacified));
    EXPECT_EQ(loaded->allyTarget, nullptr);
    EXPECT_EQ(loaded->health, 9);
    delete loaded;
    // A quest index outside the active list means no quest.
    ActiveQuests.clear();
    loaded = LoadMonster(first);
    EXPECT_EQ(loaded->quest, nullptr);
    delete loaded;
}

TEST_F(MonsterTest, SavedNamesFindTheirRecords) {
    struct Case {
        const char* saved;
        const char* record;
    };
    const Case cases[] = {
        {"Poison Golem", "Unhealthful Golem"},
        {"Gob", "Gob"},          // by name first, never the record shown as "Gob"
        {"Golem", "Unhealthful Golem"},  // then by display name
        {"Nobody", "Diggle"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(FindRecordForSavedName(c.saved), monDBFindByName(c.record)) << c.saved;
        testing::internal::GetCapturedStderr();
    }
    // Through a whole save: a record name rewritten in the bytes.
    Monster gob(monDBFindByName("Gob"));
    std::vector<uint8_t> bytes = SaveBytes(gob);
    Monster* loaded = LoadMonster(bytes);
    EXPECT_EQ(loaded->record->name, "Gob");
    delete loaded;
}

TEST_F(MonsterTest, OlderStreamsReadFewerStatisticWords) {
    Monster diggle(monDBFindByName("Diggle"));
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) diggle.statBase[i] = 100 + i;
    const std::vector<uint8_t> v7 = SaveBytes(diggle, kSaveV1_0_7);
    Monster* loaded = LoadMonster(v7, kSaveV1_0_7);
    EXPECT_EQ(loaded->statBase[22], 122);
    EXPECT_EQ(loaded->statBase[23], 0);
    delete loaded;
}

// Each release's record reads back as written: the record, the statistic words, the
// invisible flag where that release has it.
TEST_F(MonsterTest, EveryGatedReleaseReadsBackWhatItWrote) {
    struct Case {
        SaveVersion version;
        int32_t statWords;
        bool keepsInvisible;
    };
    const Case cases[] = {
        {kSaveV1_0_2, 22, false}, {kSaveV1_0_5, 22, false}, {kSaveV1_0_6, 22, false},
        {kSaveV1_0_7, 23, false}, {kSaveV1_0_8, 24, true},  {kCurrentSaveVersion, 24, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version.major) + "." + std::to_string(c.version.minor) + "." +
                     std::to_string(c.version.patch));
        // Not the first record, and with a name whose length is not its record index.
        Monster impostor(monDBFindByName("Impostor"));
        impostor.invisible = true;
        for (int32_t i = 0; i < kSecondaryStatCount; ++i) impostor.statBase[i] = 200 + i;
        const std::vector<uint8_t> bytes = SaveBytes(impostor, c.version);
        SaveReader in(bytes);
        in.version = c.version;
        testing::internal::CaptureStderr();
        Monster* loaded = new Monster(in);
        const std::string complaints = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(in.Failed()) << in.Error();
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(complaints, "");
        EXPECT_EQ(loaded->record, monDBFindByName("Impostor"));
        EXPECT_EQ(loaded->statBase[c.statWords - 1], 200 + c.statWords - 1);
        if (c.statWords < kSecondaryStatCount) {
            EXPECT_EQ(loaded->statBase[c.statWords], 0);
        }
        EXPECT_EQ(loaded->invisible, c.keepsInvisible);
        EXPECT_EQ(SaveBytes(*loaded, c.version), bytes);
        delete loaded;
    }
}

// A monster keeps its sleep across a save, whether it sleeps until woken (as monsters
// placed asleep do) or for the turns a spell gave it; an awake one stays awake.
TEST_F(MonsterTest, ASleepingMonsterStaysAsleepAcrossASave) {
    struct Case {
        const char* name;
        uint32_t flags;
        int32_t sleepTurns;
        bool asleep;
        int32_t turnsAfter;
    };
    const Case cases[] = {
        {"asleep until woken", Monster::kStatusAsleep, 0, true, 0},
        {"asleep and pacified", Monster::kStatusAsleep | Monster::kStatusPacified, 0, true, 0},
        {"asleep for seven turns", Monster::kStatusAsleep, 7, true, 7},
        {"awake", 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Monster diggle(monDBFindByName("Diggle"));
        diggle.statusFlags = c.flags;
        diggle.sleepTurns = c.sleepTurns;
        const std::vector<uint8_t> bytes = SaveBytes(diggle);
        Monster fresh(monDBFindByName("Diggle"));
        ASSERT_EQ(bytes.size(), SaveBytes(fresh).size()) << "the same layout";
        Monster* loaded = LoadMonster(bytes);
        EXPECT_EQ(loaded->HasStatus(Monster::kStatusAsleep), c.asleep);
        EXPECT_EQ(loaded->sleepTurns, c.turnsAfter);
        EXPECT_EQ(SaveBytes(*loaded), bytes);
        delete loaded;
    }
}

TEST_F(MonsterTest, TheHealthBarNeverDividesByZero) {
    EXPECT_EQ(HealthBarWidth(5, 0), -1);
    EXPECT_EQ(HealthBarWidth(5, -3), -1);
    EXPECT_EQ(HealthBarWidth(-4, 10), 0);
    EXPECT_EQ(HealthBarWidth(5, 10), 31);
    EXPECT_EQ(HealthBarWidth(1, 3), 20);
    EXPECT_EQ(HealthBarWidth(10, 10), 62);
}

TEST_F(MonsterTest, TheRegistryKnowsTheMonster) {
    Monster diggle(monDBFindByName("Diggle"));
    EXPECT_EQ(diggle.GetClassHash(), GetRegisteredClassHash("Monster"));
    EXPECT_GE(diggle.GetClassIndex(), 0);
    SaveWriter out;
    out.WriteUInt32(diggle.GetClassHash());
    diggle.Save(out);
    SaveReader in(out.Buffer());
    Serializable* made = SerializableRegistry::Instance().CreateFromSave(in.ReadUInt32(), in);
    ASSERT_NE(dynamic_cast<Monster*>(made), nullptr);
    EXPECT_EQ(static_cast<Monster*>(made)->record->name, "Diggle");
    delete made;
}

}  // namespace

namespace {

class MonsterArtTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMonsterDB();
        ClearTweakVals();
        const std::string xml =
            "<monDB><monster name=\"Tinted\"><palette tint=\"1\"/>"
            "<idleSprite right=\"art_r.spr\" left=\"art_l.spr\" up=\"art_u.spr\" down=\"art_d.spr\"/>"
            "<attackSprite up=\"atk_u.spr\" right=\"atk_r.spr\" down=\"atk_d.spr\" left=\"atk_l.spr\"/>"
            "<dieSprite name=\"die.spr\"/></monster>"
            "<monster name=\"Plain\"><stats numFig=\"1\"/><idleSprite right=\"art_r.spr\" left=\"art_l.spr\" up=\"art_u.spr\" "
            "down=\"art_d.spr\"/></monster></monDB>";
        monDBLoadFromText(xml.data(), xml.size(), "monDB.xml");
    }
    void TearDown() override {
        ClearMonsterDB();
    }
};

TEST_F(MonsterArtTest, OneVariantSharesItsSpritesAndMissingGroupsStayNull) {
    Monster first(monDBFindByName("Tinted"));
    Monster second(monDBFindByName("Tinted"));
    first.LoadAnimationVariant(42);
    const size_t loaded = SpriteMgr_Count();
    second.LoadAnimationVariant(42);
    EXPECT_EQ(SpriteMgr_Count(), loaded);  // nothing loaded again
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(first.idleSprites[i], second.idleSprites[i]);
        EXPECT_NE(first.idleSprites[i], nullptr);
        EXPECT_EQ(first.beamSprites[i], nullptr);  // the record names no beam
    }
    EXPECT_EQ(first.idleSprites[0], SpriteMgr_Find("art_l.spr_42"));    // idle slots: left first
    EXPECT_EQ(first.attackSprites[0], SpriteMgr_Find("atk_r.spr_42"));  // attack slots: right first
    EXPECT_EQ(first.attackSprites[2], SpriteMgr_Find("atk_u.spr_42"));
    EXPECT_EQ(first.castSprite, nullptr);
    EXPECT_NE(first.dieSprite, nullptr);
    // An untinted record takes its sprites by name, and shows the idle-down sprite.
    Monster plain(monDBFindByName("Plain"));
    EXPECT_EQ(plain.idleSprites[3], SpriteMgr_Find("art_d.spr"));
    EXPECT_EQ(plain.bob.sprite, plain.idleSprites[3]);
    EXPECT_EQ(plain.attackSprites[0], nullptr);
}

}  // namespace
