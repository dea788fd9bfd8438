// Hittable: buff modifiers, buff upkeep, regeneration, timed spell triggers, spell mines and
// the save block.
#include "creatures/hittable.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/class_registry.h"
#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/item.h"
#include "levels/level_test_map.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

struct DamageCall {
    int32_t amount;
    GameObj* source;
    std::string cause;
};

// A creature that forms its current values by the monster rule and records its damage.
class TestCreature : public Hittable {
public:
    TestCreature() = default;
    explicit TestCreature(SaveReader& in) : Hittable(in) {}
    void RecalculateStats() override { FormCurrentStats(false); }
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t, int32_t) override {
        damage.push_back({amount, source, cause});
        return amount;
    }
    std::vector<DamageCall> damage;
};

// The seed of the C generator whose next percent roll is the given value.
uint32_t SeedForRoll(int roll) {
    for (uint32_t seed = 1; seed < 1000000; ++seed) {
        CSRand(seed);
        if (PercentRoll() == roll) {
            return seed;
        }
    }
    ADD_FAILURE() << "no seed rolls " << roll;
    return 1;
}

class HittableTest : public testing::Test {
protected:
    void SetUp() override {
        ClearSpellTable();
        SpellCallRecorder = &recorded;
        CurrentPlayer = nullptr;
    }
    void TearDown() override {
        ClearSpellTable();
        SpellCallRecorder = nullptr;
        CurrentPlayer = nullptr;
    }
    SpellCallLog recorded;
    Spell* AddSpell(const char* name) {
        Spell* spell = new Spell();
        spell->name = name;
        SpellList.push_back(spell);
        return spell;
    }
    static Buff* LifeBuff(int32_t amount) {
        Buff* buff = new Buff("Life");
        buff->secondaryMods[kStatLife] = amount;
        return buff;
    }
};

TEST_F(HittableTest, ConstructionDefaults) {
    Hittable h;
    EXPECT_EQ(h.health, 1);
    EXPECT_EQ(h.mana, 1);
    EXPECT_EQ(h.pendingMoveX, -1);
    EXPECT_EQ(h.pendingMoveY, -1);
    for (int32_t p : h.statPercent) EXPECT_EQ(p, 100);
    for (int32_t p : h.primaryPercent) EXPECT_EQ(p, 100);
    EXPECT_TRUE(h.IsHittable());
    EXPECT_TRUE(h.CanBeStunned());
    EXPECT_EQ(h.AddCountdown(4), 4);
    EXPECT_EQ(h.countdownTurns, 4);
    h.AddStunTurns(3);
    EXPECT_EQ(h.stunTurns, 3);
}

TEST_F(HittableTest, FormCurrentStatsFollowsTheRuleAndKeepsTheHerosNegativeRegeneration) {
    Hittable h;
    h.statBase[kStatLife] = 3;
    h.statPercent[kStatLife] = 50;
    h.statBase[kStatLifeRegen] = -4;
    h.statBase[kStatManaRegen] = -2;
    h.statBase[kStatDodge] = -6;
    h.statBonus[kStatDodge] = 1;
    h.primaryBase[kPrimarySavvy] = 4;
    h.primaryBonus[kPrimarySavvy] = -9;
    h.FormCurrentStats(false);
    EXPECT_EQ(h.stat[kStatLife], 1);
    EXPECT_EQ(h.stat[kStatLifeRegen], 0);
    EXPECT_EQ(h.stat[kStatDodge], 0);
    EXPECT_EQ(h.primary[kPrimarySavvy], 0);
    h.FormCurrentStats(true);
    EXPECT_EQ(h.stat[kStatLifeRegen], -4);
    EXPECT_EQ(h.stat[kStatManaRegen], -2);
    EXPECT_EQ(h.stat[kStatDodge], 0) << "only the two regenerations stay negative";
}

TEST_F(HittableTest, ALifeBuffRaisesHealthAndMaximumAndRemovingItPutsThemBack) {
    TestCreature c;
    c.statBase[kStatLife] = 20;
    c.statBase[kStatMana] = 10;
    c.RecalculateStats();
    c.health = 5;
    c.mana = 4;
    Buff* buff = LifeBuff(10);
    buff->secondaryMods[kStatMana] = 3;
    buff->primaryMods[kPrimaryNimbleness] = 2;
    c.AddBuff(buff);
    EXPECT_EQ(c.health, 15);
    EXPECT_EQ(c.stat[kStatLife], 30);
    EXPECT_EQ(c.mana, 7);
    EXPECT_EQ(c.stat[kStatMana], 13);
    EXPECT_EQ(c.primaryBonus[kPrimaryNimbleness], 2);
    ASSERT_EQ(c.buffs.size(), 1u);
    c.RemoveBuff(buff);
    EXPECT_EQ(c.health, 5);
    EXPECT_EQ(c.stat[kStatLife], 20);
    EXPECT_EQ(c.mana, 4);
    EXPECT_EQ(c.primaryBonus[kPrimaryNimbleness], 0);
    EXPECT_EQ(c.buffs.size(), 1u) << "RemoveBuff leaves the buff in the list";
    EXPECT_TRUE(c.damage.empty());
}

TEST_F(HittableTest, ALethalBuffTakesTenThenAThousandWithTheGenderedCause) {
    Player hero;
    for (int female : {0, 1}) {
        hero.female = female;
        CurrentPlayer = &hero;
        TestCreature c;
        c.statBase[kStatLife] = 20;
        c.RecalculateStats();
        c.health = 8;
        c.AddBuff(LifeBuff(-10));
        const std::string cause = female ? "by losing all her health" : "by losing all his health";
        ASSERT_EQ(c.damage.size(), 2u);
        EXPECT_EQ(c.damage[0].amount, 10);
        EXPECT_EQ(c.damage[0].source, nullptr);
        EXPECT_EQ(c.damage[0].cause, cause);
        EXPECT_EQ(c.damage[1].amount, 1000);
        EXPECT_EQ(c.damage[1].cause, cause);
    }
}

TEST_F(HittableTest, ABuffWearingOffAtZeroHealthKillsAndManaNeverStaysNegative) {
    TestCreature c;
    c.statBase[kStatLife] = 20;
    c.statBase[kStatMana] = 10;
    c.RecalculateStats();
    c.health = 15;
    c.mana = 2;
    Buff* buff = LifeBuff(10);
    buff->secondaryMods[kStatMana] = -5;
    c.AddBuff(buff);
    EXPECT_EQ(c.health, 25);
    EXPECT_EQ(c.mana, 0) << "2 - 5 becomes 0";
    EXPECT_TRUE(c.damage.empty());
    c.health = 3;
    c.RemoveBuff(buff);
    EXPECT_EQ(c.health, -7);
    EXPECT_EQ(c.mana, 5);
    ASSERT_EQ(c.damage.size(), 1u);
    EXPECT_EQ(c.damage[0].amount, 1000);
    EXPECT_EQ(c.damage[0].cause, "from a buff wearing off.");
}

TEST_F(HittableTest, AWeaponBuffGivesResistancesButNoDamageBothWays) {
    Item weapon;
    weapon.type = 1;
    Item ring;
    ring.type = 2;
    for (Item* item : {&weapon, &ring}) {
        // A buff granted by an item belongs to the item, not to the creature wearing it
        // (and outlives the creature here, as the item does).
        std::unique_ptr<Buff> owned(new Buff("Edge"));
        Buff* buff = owned.get();
        TestCreature c;
        buff->fromItem = true;
        buff->item = item;
        buff->damage[kDamageSlashing] = 4;
        buff->resist[kDamageToxic] = 6;
        c.AddBuff(buff);
        EXPECT_EQ(c.damageBonus[kDamageSlashing], item == &weapon ? 0 : 4);
        EXPECT_EQ(c.resistance[kDamageToxic], 6);
        c.damageBonus[kDamageSlashing] = 1;
        c.RemoveBuff(buff);
        EXPECT_EQ(c.damageBonus[kDamageSlashing], item == &weapon ? 1 : -3);
        EXPECT_EQ(c.resistance[kDamageToxic], 0);
    }
}

TEST_F(HittableTest, UpdateBuffsCountsDownAndDeletesEndedBuffsInOrder) {
    TestCreature c;
    c.statBase[kStatLife] = 10;
    c.RecalculateStats();
    c.health = 10;
    Buff* timed = LifeBuff(5);
    timed->turnsLeft = 1;
    Buff* untimed = new Buff("Lasting");
    untimed->turnsLeft = 0;
    untimed->usesTimer = false;
    Buff* frozen = new Buff("Worn");
    frozen->frozenTimer = true;
    frozen->turnsLeft = 0;
    Buff* later = new Buff("Later");
    later->turnsLeft = 5;
    for (Buff* b : {timed, untimed, frozen, later}) c.AddBuff(b);
    EXPECT_EQ(c.stat[kStatLife], 15);

    c.UpdateBuffs();  // 1 -> 0: still there
    ASSERT_EQ(c.buffs.size(), 4u);
    c.UpdateBuffs();  // 0 -> -1: over
    ASSERT_EQ(c.buffs.size(), 3u);
    EXPECT_EQ(c.buffs[0], untimed);
    EXPECT_EQ(c.buffs[1], frozen);
    EXPECT_EQ(c.buffs[2], later);
    EXPECT_EQ(c.stat[kStatLife], 10) << "its modifiers went with it";
    EXPECT_EQ(frozen->turnsLeft, 0) << "a frozen timer is not counted down";
    EXPECT_EQ(later->turnsLeft, 3);
}

TEST_F(HittableTest, AnExpiredBuffWithAFrozenTimerGivesItsModifiersBackBeforeItIsDeleted) {
    TestCreature c;
    c.statBase[kStatLife] = 10;
    c.RecalculateStats();
    c.health = 10;
    Buff* worn = LifeBuff(6);
    worn->frozenTimer = true;
    worn->resist[kDamageAcidic] = 3;
    c.AddBuff(worn);
    EXPECT_EQ(c.stat[kStatLife], 16);
    worn->expired = true;
    c.UpdateBuffs();
    EXPECT_TRUE(c.buffs.empty());
    EXPECT_EQ(c.statBonus[kStatLife], 0);
    EXPECT_EQ(c.stat[kStatLife], 10);
    EXPECT_EQ(c.resistance[kDamageAcidic], 0);
}

TEST_F(HittableTest, FoodAndDrinkRegenerateOnePointATurnUpToTheMaximum) {
    TestCreature c;
    c.statBase[kStatLife] = 10;
    c.statBase[kStatMana] = 6;
    c.RecalculateStats();
    c.health = 10;
    c.mana = 5;
    c.foodRegenLeft = 3;
    c.boozeRegenLeft = 2;
    c.Update();
    EXPECT_EQ(c.health, 10);
    EXPECT_EQ(c.foodRegenLeft, 2);
    EXPECT_EQ(c.mana, 6);
    EXPECT_EQ(c.boozeRegenLeft, 1);
    c.health = 7;
    c.Update();
    EXPECT_EQ(c.health, 8);
    EXPECT_EQ(c.mana, 6);
    EXPECT_EQ(c.boozeRegenLeft, 0);
}

TEST_F(HittableTest, TriggersFireAsTheirTurnsRunOut) {
    Spell* spell = AddSpell("Tick");
    struct Case {
        const char* what;
        int32_t turns;
        bool repeats;
        int32_t ticks;        // ticks run
        size_t casts;         // casts expected
        size_t leftAfter;     // triggers left after the ticks
    };
    const Case cases[] = {
        {"one turn fires once and goes", 1, false, 3, 1, 0},
        {"three turns wait", 3, false, 2, 0, 1},
        {"three turns then fire", 3, false, 3, 1, 0},
        {"repeating five turns fires at 4, 3, 2, 1 and 0", 5, true, 8, 5, 0},
        {"zero turns goes at once", 0, false, 1, 1, 0},
        {"negative turns goes at once", -3, false, 1, 1, 0},
        {"repeating zero turns goes at once", 0, true, 4, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorded.casts.clear();
        TestCreature creature;
        creature.x = 4;
        creature.y = 7;
        creature.health = 5;
        SpellTrigger trigger;
        trigger.turnsLeft = c.turns;
        trigger.repeats = c.repeats;
        trigger.spell = spell;
        trigger.chance = 100;
        creature.spellTriggers.push_back(trigger);
        for (int32_t i = 0; i < c.ticks; ++i) creature.TickSpellTriggers();
        EXPECT_EQ(recorded.casts.size(), c.casts);
        EXPECT_EQ(creature.spellTriggers.size(), c.leftAfter);
        if (!recorded.casts.empty()) {
            const CastSpellCall& call = recorded.casts[0];
            EXPECT_EQ(call.spell, spell);
            EXPECT_EQ(call.targetX, 4);
            EXPECT_EQ(call.targetY, 7);
            EXPECT_FALSE(call.fromMine);
        }
    }
}

TEST_F(HittableTest, ATriggerFiresWhenTheRollIsAtMostItsChance) {
    Spell* spell = AddSpell("Chancy");
    for (int roll : {49, 50, 51}) {
        SCOPED_TRACE(roll);
        recorded.casts.clear();
        TestCreature creature;
        SpellTrigger trigger;
        trigger.turnsLeft = 1;
        trigger.spell = spell;
        trigger.chance = 50;
        creature.spellTriggers.push_back(trigger);
        CSRand(SeedForRoll(roll));
        creature.TickSpellTriggers();
        EXPECT_EQ(recorded.casts.size(), roll <= 50 ? 1u : 0u);
        EXPECT_TRUE(creature.spellTriggers.empty()) << "erased whether it fired or not";
    }
}

TEST_F(HittableTest, ARepeatingTriggerStopsRollingOnceTheCreatureIsDead) {
    Spell* spell = AddSpell("Drip");
    TestCreature creature;
    creature.health = 0;
    SpellTrigger trigger;
    trigger.turnsLeft = 3;
    trigger.repeats = true;
    trigger.spell = spell;
    creature.spellTriggers.push_back(trigger);
    creature.TickSpellTriggers();
    creature.TickSpellTriggers();
    EXPECT_TRUE(recorded.casts.empty());
    creature.TickSpellTriggers();
    EXPECT_EQ(recorded.casts.size(), 1u) << "its last turn still fires";
}

TEST_F(HittableTest, SurvivingThaumiteConsumptionWritesTheAchievement) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    Spell* thaumites = AddSpell("Thaumite Consumption");
    Player hero;
    CurrentPlayer = &hero;
    SpellTrigger trigger;
    trigger.turnsLeft = 2;
    trigger.spell = thaumites;
    hero.spellTriggers.push_back(trigger);
    hero.TickSpellTriggers();
    EXPECT_EQ(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_SURVIVE_THAUMITES"), std::string::npos);
    hero.TickSpellTriggers();
    EXPECT_NE(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_SURVIVE_THAUMITES"), std::string::npos);

    // A monster's thaumites and a dead hero's earn nothing.
    TempDir other;
    ScopedEnv otherEnv("VAULTMERE_USER_DIR", other.path().c_str());
    TestCreature monster;
    monster.spellTriggers.push_back(trigger);
    hero.dead = 1;
    hero.spellTriggers.push_back(trigger);
    for (int i = 0; i < 3; ++i) {
        monster.TickSpellTriggers();
        hero.TickSpellTriggers();
    }
    EXPECT_FALSE(FileExists(other.file("store/stats.txt")));
    SteamAPI_Shutdown();
}

TEST_F(HittableTest, SpellMinesGoOffUnderALivingCreatureAndOnlyPermanentOnesStay) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Spell* once = AddSpell("Snare");
    Spell* lasting = AddSpell("Ward");
    lasting->minePermanent = true;
    TestCreature layer;
    level->AddSpellMine(3, 3, once, 0, &layer, 0);
    level->AddSpellMine(3, 3, lasting, 1, nullptr, 0);
    level->AddSpellMine(4, 3, once, 0, nullptr, 0);

    TestCreature* victim = new TestCreature();
    victim->PlaceOnLevel(3, 3, level.get(), 0);
    victim->health = 0;
    victim->Update();
    EXPECT_TRUE(recorded.effects.empty()) << "a creature at 0 health sets nothing off";

    victim->health = 4;
    victim->Update();
    ASSERT_EQ(recorded.effects.size(), 2u);
    EXPECT_EQ(recorded.effects[0].spell, once);
    EXPECT_EQ(recorded.effects[0].caster, &layer);
    EXPECT_EQ(recorded.effects[0].cause, "from a spell mine");
    EXPECT_TRUE(recorded.effects[0].fromMine);
    EXPECT_FALSE(recorded.effects[0].isDirectCast);
    EXPECT_EQ(recorded.effects[1].spell, lasting);
    EXPECT_EQ(recorded.effects[1].caster, nullptr);
    ASSERT_EQ(level->GetCell(3, 3)->mines.size(), 1u);
    EXPECT_EQ(level->GetCell(3, 3)->mines[0]->spell, lasting);
    EXPECT_EQ(level->spellMines.size(), 2u) << "the neighbour's mine is untouched";
}

TEST_F(HittableTest, TheSaveBlockHasItsSizePerVersionAndReadsBackByteForByte) {
    TestCreature c;
    c.isOiled = true;
    c.burnTurns = 3;
    c.isBleeding = true;
    c.bleedTurns = 2;
    c.stunTurns = 1;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        c.damageBonus[t] = t;
        c.resistance[t] = -t;
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        c.statBase[i] = i;
        c.statBonus[i] = 2 * i;
        c.statPercent[i] = 90 + i;
        c.stat[i] = 3 * i;
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        c.primaryBase[i] = 10 + i;
        c.primaryBonus[i] = i;
        c.primaryPercent[i] = 110;
        c.primary[i] = 20 + i;
    }
    struct Case {
        SaveVersion version;
        size_t gameObjBlock;
        size_t block;
    };
    for (const Case& v : {Case{{1, 0, 10}, 56, 632}, Case{{1, 0, 8}, 56, 632}, Case{{1, 0, 7}, 48, 616},
                          Case{{1, 0, 6}, 48, 600}}) {
        SCOPED_TRACE(v.version.patch);
        SaveWriter out;
        out.version = v.version;
        ASSERT_TRUE(c.Save(out));
        EXPECT_EQ(out.BytesWritten(), v.gameObjBlock + v.block);
        SaveReader in(out.Buffer());
        in.version = v.version;
        TestCreature back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Position(), out.BytesWritten());
        SaveWriter again;
        again.version = v.version;
        ASSERT_TRUE(back.Save(again));
        EXPECT_EQ(out.Buffer(), again.Buffer());
        EXPECT_TRUE(back.isOiled);
        EXPECT_EQ(back.resistance[9], -9);
        EXPECT_EQ(back.primaryPercent[5], 110);
        if (v.version.patch == 7) {
            EXPECT_EQ(back.stat[22], 66);
            EXPECT_EQ(back.statBase[23], 0) << "a 1.0.7 stream holds 23 groups";
            EXPECT_EQ(back.statPercent[23], 100);
        }
    }
}

TEST_F(HittableTest, HittableResolvesThroughTheClassRegistry) {
    Hittable h;
    h.stunTurns = 5;
    h.statBase[3] = 42;
    SaveWriter out;
    ASSERT_TRUE(h.Save(out));
    EXPECT_EQ(h.GetClassHash(), ClassNameHash("Hittable"));
    EXPECT_GE(h.GetClassIndex(), 0);
    SaveReader in(out.Buffer());
    Serializable* made = SerializableRegistry::Instance().CreateFromSave(ClassNameHash("Hittable"), in);
    ASSERT_NE(made, nullptr);
    Hittable* back = dynamic_cast<Hittable*>(made);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->stunTurns, 5);
    EXPECT_EQ(back->statBase[3], 42);
    SaveWriter again;
    back->Save(again);
    EXPECT_EQ(out.Buffer(), again.Buffer());
    delete made;
}

}  // namespace
