// Combat resolution: the precedence of the four melee rolls, damage by type, blocks and the
// breakdown, dual wielding, missiles and spell strikes, and the trigger hooks.
#include "creatures/combat.h"

#include <gtest/gtest.h>

#include <regex>

#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/weapon.h"
#include "media/ticker_entry.h"
#include "media/tooltip.h"
#include "tests/creatures/fight_fixture.h"

namespace {

class CombatTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        LightEverything();
        PlaceHero(5, 5);
        diggle_ = AddMonster("Diggle", 6, 5);
    }
    void TearDown() override {
        hero_.EquippedAt(kSlotFirstHand) = nullptr;
        hero_.EquippedAt(kSlotSecondHand) = nullptr;
        FightTest::TearDown();
    }
    static ItemDef SwordDef(int32_t slashing) {
        ItemDef def;
        def.name = "Test Sword";
        def.category = kItemWeapon;
        def.itemClass = kWeaponSword;
        def.damage[kDamageSlashing] = slashing;
        return def;
    }
    // The sum of the numbers in the last breakdown of the ticker log.
    static int32_t BreakdownSum() {
        const std::string log = Log();
        const size_t open = log.rfind(" (");
        if (open == std::string::npos) return -1;
        const std::string tail = log.substr(open);
        std::regex number("\\] (\\d+) ");
        int32_t sum = 0;
        for (auto it = std::sregex_iterator(tail.begin(), tail.end(), number); it != std::sregex_iterator(); ++it) {
            sum += std::stoi((*it)[1]);
        }
        return sum;
    }
    Monster* diggle_ = nullptr;
};

// The four rolls are forced with chances of 0 (never) and 100 (always).
TEST_F(CombatTest, MeleePrecedenceOfTheFourRolls) {
    struct Case {
        const char* name;
        bool heroAttacks;
        int32_t crit, block, dodge, counter, heroCounter, meleePower;
        const char* line;
        int32_t diggleLoss, heroLoss;
    };
    const Case cases[] = {
        {"dodge", false, 100, 100, 100, 100, 0, 3, "You dodge out of the way!", 0, 0},
        {"crit and counter", true, 100, 0, 0, 100, 0, 3, "Critical hit - but the monster counters it!", 0, 0},
        {"crit and block", true, 100, 100, 0, 0, 0, 3, "Critical hit - but the monster blocks it!", 3, 0},
        {"crit against the hero's block", false, 100, 100, 0, 0, 0, 3, "Critical hit - but you block it!", 0, 3},
        {"counter, never countered back", true, 0, 0, 0, 100, 100, 3, "The Diggle crushes you!", 0, 3},
        {"block of 7", true, 0, 100, 0, 0, 0, 7, "You crush the Diggle!", 1, 0},
        {"block of 3", true, 0, 100, 0, 0, 0, 3, "Your weapon has no effect!", 0, 0},
        {"plain critical", true, 100, 0, 0, 0, 0, 3, "You crush the Diggle!", 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTickerLog();
        Hittable* attacker = c.heroAttacks ? static_cast<Hittable*>(&hero_) : diggle_;
        Hittable* defender = c.heroAttacks ? static_cast<Hittable*>(diggle_) : &hero_;
        for (Hittable* creature : {attacker, defender}) {
            for (int32_t stat : {kStatCrit, kStatBlock, kStatDodge, kStatCounter, kStatEdr, kStatArmourAbsorption}) {
                creature->stat[stat] = 0;
            }
        }
        attacker->stat[kStatCrit] = c.crit;
        attacker->stat[kStatMeleePower] = c.meleePower;
        attacker->stat[kStatCounter] = c.heroAttacks ? c.heroCounter : 0;
        defender->stat[kStatBlock] = c.block;
        defender->stat[kStatDodge] = c.dodge;
        defender->stat[kStatCounter] = c.counter;
        // The counter-strike comes from the monster with the same strength.
        diggle_->stat[kStatMeleePower] = c.meleePower;
        diggle_->health = 1000;
        hero_.health = 40;
        ResolveMeleeAttack(attacker, defender);
        EXPECT_TRUE(Logged(c.line)) << Log();
        EXPECT_EQ(1000 - diggle_->health, c.diggleLoss);
        EXPECT_EQ(40 - hero_.health, c.heroLoss);
    }
}

TEST_F(CombatTest, TwoCreaturesThatAlwaysCounterStrikeOnceEach) {
    Monster* other = AddMonster("Diggle", 7, 5);
    for (Monster* m : {diggle_, other}) {
        m->stat[kStatCounter] = 100;
        m->stat[kStatMeleePower] = 2;
    }
    ResolveMeleeAttack(diggle_, other);
    EXPECT_EQ(diggle_->health, 998);
    EXPECT_EQ(other->health, 1000);
}

TEST_F(CombatTest, DamageByTypeWritesTheVerbLineAndTheBreakdownPieces) {
    ItemDef def = SwordDef(6);
    Weapon* sword = new Weapon(&def);
    hero_.EquippedAt(kSlotFirstHand) = sword;
    hero_.stat[kStatMeleePower] = 3;
    diggle_->resistance[kDamageSlashing] = 2;
    diggle_->stat[kStatArmourAbsorption] = 1;
    ClearTicker();
    ResolveMeleeAttack(&hero_, diggle_);
    EXPECT_EQ(1000 - diggle_->health, 6);
    std::vector<std::string> pieces;
    std::vector<std::string> groupParts;
    bool endsWithBreak = false;
    for (const auto& entry : Ticker.entries) {
        pieces.push_back(entry->PlainText());
        if (auto* group = dynamic_cast<NonBreakingTickerEntry*>(entry.get())) {
            for (TickerEntry* part : group->parts) groupParts.push_back(part->PlainText());
            auto* icon = dynamic_cast<IconTickerEntry*>(group->parts.front());
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->icon, DamageTypeIcon(kDamageSlashing));
        }
        endsWithBreak = entry->IsLineBreak();
    }
    ASSERT_GE(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], "You slash the Diggle!");
    EXPECT_EQ(pieces[1], " (");
    EXPECT_EQ(groupParts, (std::vector<std::string>{"[icon]", " 6 ", "slashing", ")"}));
    EXPECT_TRUE(endsWithBreak);
    delete sword;
}

TEST_F(CombatTest, HandsAndDualWielding) {
    SetTweaks(Tweak("bad dual wield penalty", 0, 2.0f));
    ItemDef swordDef = SwordDef(6);
    ItemDef shieldDef;
    shieldDef.name = "Test Shield";
    shieldDef.category = kItemArmour;
    shieldDef.slot = kArmourShield;
    struct Case {
        const char* name;
        bool first, secondWeapon, secondShield;
        int32_t dualSkill, meleePower, absorption;
        int32_t dealt;
    };
    const Case cases[] = {
        {"empty hands: crushing melee power", false, false, false, 0, 4, 1, 3},
        {"two swords without the skill", true, true, false, 0, 0, 0, 6},
        {"two swords with the skill", true, true, false, 1, 0, 0, 12},
        {"sword and shield", true, false, true, 0, 0, 0, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Weapon first(&swordDef);
        Weapon second(&swordDef);
        Armour shield(&shieldDef);
        hero_.EquippedAt(kSlotFirstHand) = c.first ? &first : nullptr;
        hero_.EquippedAt(kSlotSecondHand) = c.secondWeapon ? static_cast<Item*>(&second)
                                                           : (c.secondShield ? static_cast<Item*>(&shield) : nullptr);
        hero_.skillIds[0] = 7;
        hero_.skillLevels[0] = c.dualSkill;
        hero_.stat[kStatMeleePower] = c.meleePower;
        diggle_->stat[kStatArmourAbsorption] = c.absorption;
        diggle_->health = 1000;
        ResolveMeleeAttack(&hero_, diggle_);
        EXPECT_EQ(1000 - diggle_->health, c.dealt);
        hero_.EquippedAt(kSlotFirstHand) = nullptr;
        hero_.EquippedAt(kSlotSecondHand) = nullptr;
    }
}

TEST_F(CombatTest, TheBreakdownAfterABlockAddsUpToTheDamageDealt) {
    struct Case {
        int32_t meleePower, piercing, toxic, fire;
    };
    const Case cases[] = {{7, 3, 5, 0}, {9, 1, 1, 1}, {4, 7, 0, 3}};
    for (const Case& c : cases) {
        hero_.stat[kStatMeleePower] = c.meleePower;
        hero_.damageBonus[kDamagePiercing] = c.piercing;
        hero_.damageBonus[kDamageToxic] = c.toxic;
        hero_.damageBonus[kDamageConflagratory] = c.fire;
        diggle_->stat[kStatBlock] = 100;
        diggle_->health = 1000;
        ClearTickerLog();
        ResolveMeleeAttack(&hero_, diggle_);
        const int32_t dealt = 1000 - diggle_->health;
        EXPECT_EQ(dealt, c.meleePower / 4 + (c.piercing + c.toxic + c.fire) / 2);
        EXPECT_EQ(BreakdownSum(), dealt) << Log();
    }
}

TEST_F(CombatTest, ThrownAndShotMissilesIgnoreDodgeReductionAndCannotBeDodgedAfterACritical) {
    hero_.stat[kStatEdr] = 100;
    hero_.damageBonus[kDamageCrushing] = 4;
    diggle_->stat[kStatDodge] = 100;
    ResolveThrownAttack(&hero_, diggle_);
    EXPECT_EQ(diggle_->health, 1000);
    ResolveRangedAttack(&hero_, diggle_, nullptr);
    EXPECT_EQ(diggle_->health, 1000);
    EXPECT_TRUE(Logged("The monster dodges out of the way!"));
    hero_.stat[kStatCrit] = 100;
    ResolveThrownAttack(&hero_, diggle_);
    EXPECT_EQ(diggle_->health, 996);
}

TEST_F(CombatTest, TheBreakdownRecomputesTheOtherTypesForMeleeAndShots) {
    hero_.damageBonus[kDamageToxic] = 3;
    diggle_->resistance[kDamageToxic] = 1;
    ClearTickerLog();
    AddCombatDamageLine(2, 0, 5, &hero_, diggle_, nullptr);
    EXPECT_EQ(TickerLog().back(), " ([icon] 2 crushing, [icon] 5 blasting, [icon] 2 toxic)");
    ItemDef boltDef;
    boltDef.name = "Test Bolt";
    boltDef.category = kItemWeapon;
    boltDef.itemClass = kWeaponAmmunition;
    boltDef.damage[kDamageVoltaic] = 4;
    Weapon bolt(&boltDef);
    ClearTickerLog();
    AddCombatDamageLine(0, 1, 0, &hero_, diggle_, &bolt);
    EXPECT_EQ(TickerLog().back(), " ([icon] 1 slashing, [icon] 4 voltaic, [icon] 2 toxic)");
}

TEST_F(CombatTest, AShotWritesItsVerbLine) {
    ItemDef boltDef;
    boltDef.name = "Test Bolt";
    boltDef.category = kItemWeapon;
    boltDef.itemClass = kWeaponAmmunition;
    boltDef.damage[kDamagePiercing] = 6;
    Weapon bolt(&boltDef);
    ResolveRangedAttack(&hero_, diggle_, &bolt);
    EXPECT_TRUE(Logged("You shoot the Diggle! ([icon] 6 piercing)")) << Log();
    EXPECT_EQ(diggle_->health, 994);
    diggle_->damageBonus[kDamageCrushing] = 2;
    ResolveRangedAttack(diggle_, &hero_, nullptr);
    EXPECT_TRUE(Logged("The Diggle shoots you! ([icon] 2 crushing)")) << Log();
    EXPECT_EQ(hero_.health, 38);
}

// The hero's weapon-skill damage joins the other group of the form it belongs to: the melee
// part to strikes, the ranged part to shots, after resistance, and shows in the breakdown.
TEST_F(CombatTest, TheHerosWeaponSkillDamageIsDealtByItsOwnForm) {
    ItemDef boltDef;
    boltDef.name = "Test Bolt";
    boltDef.category = kItemWeapon;
    boltDef.itemClass = kWeaponAmmunition;
    boltDef.damage[kDamagePiercing] = 2;
    Weapon bolt(&boltDef);
    struct Case {
        const char* name;
        bool shot;
        int32_t meleeFire, rangedCold, fireResistance;
        int32_t dealt;
        const char* breakdown;
    };
    const Case cases[] = {
        {"melee fire", false, 5, 0, 0, 5, " ([icon] 5 conflagratory)"},
        {"melee fire against resistance", false, 5, 0, 2, 3, " ([icon] 3 conflagratory)"},
        {"the ranged part stays out of melee", false, 0, 4, 0, 0, nullptr},
        {"ranged cold", true, 0, 4, 0, 6, " ([icon] 2 piercing, [icon] 4 hyperborean)"},
        {"the melee part stays out of shots", true, 5, 0, 0, 2, " ([icon] 2 piercing)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(std::begin(hero_.meleeSkillDamage), std::end(hero_.meleeSkillDamage), 0);
        std::fill(std::begin(hero_.rangedSkillDamage), std::end(hero_.rangedSkillDamage), 0);
        hero_.meleeSkillDamage[kDamageConflagratory] = c.meleeFire;
        hero_.rangedSkillDamage[kDamageHyperborean] = c.rangedCold;
        diggle_->resistance[kDamageConflagratory] = c.fireResistance;
        diggle_->health = 1000;
        ClearTickerLog();
        if (c.shot) {
            ResolveRangedAttack(&hero_, diggle_, &bolt);
        } else {
            ResolveMeleeAttack(&hero_, diggle_);
        }
        EXPECT_EQ(1000 - diggle_->health, c.dealt) << Log();
        if (c.breakdown == nullptr) {
            EXPECT_TRUE(Logged("Your weapon has no effect!")) << Log();
        } else {
            EXPECT_TRUE(Logged(c.breakdown)) << Log();
        }
    }
    // A monster's strike at the hero never carries the hero's skill damage.
    hero_.meleeSkillDamage[kDamageConflagratory] = 5;
    ResolveMeleeAttack(diggle_, &hero_);
    EXPECT_EQ(hero_.health, 40);
}

TEST_F(CombatTest, ASpellStrikeCounteredByTheDefenderEndsInOneMeleeStrike) {
    diggle_->stat[kStatCounter] = 100;
    diggle_->stat[kStatMeleePower] = 5;
    hero_.stat[kStatCounter] = 100;
    const int32_t damage[kDamageTypeCount] = {10};
    ResolveSpellStrike(&hero_, diggle_, damage);
    EXPECT_EQ(diggle_->health, 1000);
    EXPECT_EQ(hero_.health, 35);
    diggle_->stat[kStatCounter] = 0;
    ResolveSpellStrike(&hero_, diggle_, damage);
    EXPECT_EQ(diggle_->health, 990);
}

TEST_F(CombatTest, OnHitSpellsFireByKindAfterAndChance) {
    Spell spell;
    spell.name = "Spark";
    Buff* buff = new Buff("test");
    buff->targetHitEffect.spell = &spell;
    buff->targetHitAfter = true;
    buff->playerHitEffect.spell = &spell;
    buff->playerHitEffect.percentage = 0;
    hero_.buffs.push_back(buff);
    struct Case {
        HitHook kind;
        int32_t after;
        size_t casts;
    };
    const Case cases[] = {
        {HitHook::TargetHit, kBeforeDamage, 0},
        {HitHook::TargetHit, kAfterDamage, 1},
        {HitHook::TargetHit, kAnyAfter, 1},
        {HitHook::PlayerHit, kAnyAfter, 0},  // a chance of 0 never fires
        {HitHook::Dodge, kAnyAfter, 0},
    };
    for (const Case& c : cases) {
        spellCalls_ = SpellCallLog();
        ApplyOnHitEffects(diggle_, &hero_, c.kind, c.after);
        ASSERT_EQ(spellCalls_.casts.size(), c.casts);
        if (c.casts > 0) {
            EXPECT_EQ(spellCalls_.casts[0].spell, &spell);
            EXPECT_EQ(spellCalls_.casts[0].targetX, diggle_->x);
        }
    }
    // A taxa filter passes only a monster of that taxa.
    buff->targetHitEffect.taxa = "Bird";
    spellCalls_ = SpellCallLog();
    ApplyOnHitEffects(diggle_, &hero_, HitHook::TargetHit, kAnyAfter);
    EXPECT_TRUE(spellCalls_.casts.empty());
    diggle_->record->taxa = "Bird";
    ApplyOnHitEffects(diggle_, &hero_, HitHook::TargetHit, kAnyAfter);
    EXPECT_EQ(spellCalls_.casts.size(), 1u);
}

TEST_F(CombatTest, AStrikeWithNoEffectOnTheHeroStillFiresTheHerosHitHooks) {
    Spell spell;
    Buff* buff = new Buff("thorns");
    buff->playerHitEffect.spell = &spell;
    hero_.buffs.push_back(buff);
    ResolveMeleeAttack(diggle_, &hero_);
    EXPECT_TRUE(Logged("The attack has no effect!"));
    ASSERT_EQ(spellCalls_.casts.size(), 1u);
    EXPECT_EQ(spellCalls_.casts[0].targetX, diggle_->x);
}

}  // namespace
