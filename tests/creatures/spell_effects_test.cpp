// Spell effects: the kinds with their rolls, caps and arithmetic, spell mines, and the
// timed triggers that remember who caused them.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "creatures/buff.h"
#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/ring_of_protection.h"
#include "levels/object_queue.h"
#include "spell_test_support.h"

namespace {

class SpellEffectsTest : public SpellWorldTest {
protected:
    // A spell of one effect kind (resistance rolls off unless a case turns them on).
    Spell* EffectSpell(const char* name, int32_t kind) {
        Spell* spell = AddSpell(name, SpellTarget::Target);
        SpellEffect effect;
        effect.kind = kind;
        effect.resistable = false;
        spell->effects.push_back(effect);
        return spell;
    }
    static void Apply(Spell* spell, int32_t x, int32_t y, Hittable* caster = nullptr) {
        ApplySpellEffects(spell, x, y, caster, false, nullptr, nullptr, true);
    }
    static Buff* NamedBuff(const char* name, bool bad = false) {
        Buff* buff = new Buff(name);
        buff->bad = bad;
        return buff;
    }
};

TEST_F(SpellEffectsTest, ConfusionLastsFivePlusThreeRolls) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* monster = PlaceMonster("Gloomwing", 4, 4);
    Spell* spell = EffectSpell("Muddle", SpellEffectKindFromWord("confuse"));
    for (uint32_t seed : {3u, 77u, 1234u}) {
        CSRand(seed);
        int32_t expected = 5 + RandomInt(5);
        expected += RandomInt(5);
        expected += RandomInt(3);
        CSRand(seed);
        Apply(spell, 4, 4);
        EXPECT_EQ(monster->confusionTurns, expected) << seed;
        EXPECT_TRUE(monster->HasStatus(Monster::kStatusConfused));
    }
}

TEST_F(SpellEffectsTest, AResistedSleepEndsTheWholeCall) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* monster = PlaceMonster("Gloomwing", 4, 4);
    monster->stat[kStatMagicResistance] = 100;
    Spell* spell = EffectSpell("Lull", SpellEffectKindFromWord("sleep"));
    spell->effects[0].resistable = true;
    SpellEffect fear;
    fear.kind = SpellEffectKindFromWord("fear");
    fear.amount = 4;
    spell->effects.push_back(fear);
    Apply(spell, 4, 4);
    EXPECT_FALSE(monster->HasStatus(Monster::kStatusAsleep));
    EXPECT_EQ(monster->fearTurns, 0) << "the later effect never ran";

    monster->stat[kStatMagicResistance] = 0;
    Apply(spell, 4, 4);
    EXPECT_TRUE(monster->HasStatus(Monster::kStatusAsleep));
    EXPECT_GE(monster->sleepTurns, 10);
    EXPECT_LT(monster->sleepTurns, 20);
    EXPECT_EQ(monster->fearTurns, 4);
}

TEST_F(SpellEffectsTest, StatusKindsHonourTaxaRecordsAndRolls) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* beast = PlaceMonster("Gloomwing", 2, 2);
    Monster* toad = PlaceMonster("Stubborn Toad", 3, 2);
    Monster* bones = PlaceMonster("Rattlebones", 4, 2);
    for (Monster* m : {beast, toad, bones}) m->stat[kStatMagicResistance] = 100;

    Spell* charm = EffectSpell("Befriend", SpellEffectKindFromWord("charm"));
    charm->effects[0].turns = 12;
    for (int32_t x : {2, 3, 4}) Apply(charm, x, 2);
    EXPECT_TRUE(beast->tame);
    EXPECT_EQ(beast->tameTurns, 12);
    EXPECT_FALSE(toad->tame) << "its record cannot be charmed";

    Spell* fear = EffectSpell("Dread", SpellEffectKindFromWord("fear"));
    fear->effects[0].amount = 3;
    fear->effects[0].resistable = true;
    fear->effects[0].taxa = "Beast";
    for (int32_t i = 0; i < 2; ++i) {
        for (int32_t x : {2, 3, 4}) Apply(fear, x, 2);
    }
    EXPECT_EQ(beast->fearTurns, 6) << "fear adds up without a resistance roll";
    EXPECT_EQ(toad->fearTurns, 6);
    EXPECT_EQ(bones->fearTurns, 0) << "another taxa";

    Spell* slow = EffectSpell("Mire", SpellEffectKindFromWord("slow"));
    slow->effects[0].resistable = true;
    Apply(slow, 2, 2);
    EXPECT_FALSE(beast->HasStatus(Monster::kStatusSlowed)) << "resisted";
}

TEST_F(SpellEffectsTest, HealingIsCappedAtMaximumHealth) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    hero->stat[kStatMagicPower] = 4;
    Monster* patient = PlaceMonster("Gloomwing", 5, 5);
    patient->stat[kStatLife] = 10;
    struct Case {
        const char* kind;
        int32_t amount;
        float amountF;
        int32_t before, after;
    } const cases[] = {
        {"heal", 3, 0.0f, 5, 8},       {"heal", 10, 0.0f, 5, 10},    {"heal", 1, 0.5f, 5, 8},
        {"heal", 1, -0.5f, 5, 6},      {"healF", 9, 0.5f, 5, 7},     {"healF", 0, -0.5f, 5, 3},
        {"healF", 0, 5.0f, 5, 10},     {"heal", 3, 0.0f, 0, 0},
    };
    for (const Case& c : cases) {
        Spell* spell = EffectSpell("Mend", SpellEffectKindFromWord(c.kind));
        spell->effects[0].amount = c.amount;
        spell->effects[0].amountF = c.amountF;
        patient->health = c.before;
        Apply(spell, 5, 5, hero);
        EXPECT_EQ(patient->health, c.after) << c.kind << " " << c.amount << " " << c.amountF << " from " << c.before;
    }
}

TEST_F(SpellEffectsTest, DrainGivesTheCasterWhatTheTargetLost) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    hero->health = 4;
    hero->stat[kStatLife] = 30;
    Monster* victim = PlaceMonster("Gloomwing", 5, 5);
    victim->health = 20;
    victim->stat[kStatLife] = 20;
    Spell* spell = EffectSpell("Leech", SpellEffectKindFromWord("drain"));
    spell->effects[0].damageAmounts[kDamageNecromantic] = 7;
    Apply(spell, 5, 5, hero);
    const int32_t lost = 20 - victim->health;
    EXPECT_GT(lost, 0);
    EXPECT_EQ(hero->health, 4 + lost);

    hero->health = 29;
    Apply(spell, 5, 5, hero);
    EXPECT_EQ(hero->health, 30) << "capped at the caster's maximum";
}

TEST_F(SpellEffectsTest, DrainTakesTheHerosFirstMarkedTimedBuffWithItsModifiers) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    Buff* untimed = NamedBuff("Steady");
    untimed->extraFlag2 = true;
    Buff* marked = NamedBuff("Borrowed Strength");
    marked->turnsLeft = 5;
    marked->extraFlag2 = true;
    marked->secondaryMods[kStatMeleePower] = 4;
    hero->buffs.push_back(untimed);
    hero->buffs.push_back(marked);
    hero->statBonus[kStatMeleePower] = 4;  // as the buff gave it
    const int32_t boosted = hero->statBonus[kStatMeleePower];
    Apply(EffectSpell("Leech", SpellEffectKindFromWord("drain")), 8, 8, hero);
    ASSERT_EQ(hero->buffs.size(), 1u);
    EXPECT_EQ(hero->buffs[0], untimed);
    EXPECT_EQ(hero->statBonus[kStatMeleePower], boosted - 4) << "its modifier went with it";
}

TEST_F(SpellEffectsTest, ManaDrainsTakeAPercentOfTheMaximum) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    hero->mana = 1;
    Monster* victim = PlaceMonster("Gloomwing", 5, 5);
    victim->stat[kStatMana] = 20;
    victim->mana = 15;
    Spell* drain = EffectSpell("Siphon", SpellEffectKindFromWord("drainMana"));
    drain->effects[0].amount = 50;
    Apply(drain, 5, 5, hero);
    EXPECT_EQ(victim->mana, 5);
    EXPECT_EQ(hero->mana, 11);
    Apply(drain, 5, 5, hero);
    EXPECT_EQ(victim->mana, 0) << "never more than the target has";
    EXPECT_EQ(hero->mana, 16);

    Spell* cost = EffectSpell("Backlash", SpellEffectKindFromWord("drainCasterMana"));
    cost->effects[0].amount = 50;
    victim->mana = 12;
    Apply(cost, 1, 1, victim);
    EXPECT_EQ(victim->mana, 2);
}

TEST_F(SpellEffectsTest, ASecondSummonBeyondTheLimitDismissesTheOldOnes) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(1, 1);
    Spell* spell = EffectSpell("Call Gloomwing", SpellEffectKindFromWord("summon"));
    spell->effects[0].monsterType = "Gloomwing";
    spell->effects[0].amount = 2;
    for (int32_t i = 0; i < 3; ++i) Apply(spell, 3 + i, 3);
    ASSERT_EQ(hero->summonedCreatures.size(), 3u) << "two, then a third joins";
    EXPECT_TRUE(hero->summonedCreatures[0]->tame);
    EXPECT_TRUE(hero->summonedCreatures[0]->charmedByHero);
    const size_t queued = QueuedDeletionCount();
    Apply(spell, 8, 8);
    ASSERT_EQ(hero->summonedCreatures.size(), 1u);
    EXPECT_EQ(hero->summonedCreatures[0]->x, 8);
    EXPECT_EQ(QueuedDeletionCount(), queued + 3);
    DeleteQueuedObjects();

    Spell* unknown = EffectSpell("Call Nothing", SpellEffectKindFromWord("summonhostile"));
    unknown->effects[0].monsterType = "No Such Beast";
    const size_t monsters = level->monsters.size();
    Apply(unknown, 9, 9);
    EXPECT_EQ(level->monsters.size(), monsters);
}

TEST_F(SpellEffectsTest, ATriggerNamingAnUnknownSpellEndsTheCall) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* monster = PlaceMonster("Gloomwing", 4, 4);
    Spell* spell = EffectSpell("Fizzle", SpellEffectKindFromWord("trigger"));
    spell->effects[0].spell = "No Such Spell";
    SpellEffect fear;
    fear.kind = SpellEffectKindFromWord("fear");
    fear.amount = 2;
    spell->effects.push_back(fear);
    Apply(spell, 4, 4);
    EXPECT_EQ(monster->fearTurns, 0);
    EXPECT_TRUE(log.casts.empty());
}

TEST_F(SpellEffectsTest, DelayedTriggersAndDotsRememberTheirCaster) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Monster* caster = PlaceMonster("Rattlebones", 6, 6);
    AddSpell("Rot", SpellTarget::Self);
    Spell* curse = EffectSpell("Curse of Rot", SpellEffectKindFromWord("trigger"));
    curse->effects[0].spell = "Rot";
    curse->effects[0].amount = 3;
    Spell* dot = EffectSpell("Festering", SpellEffectKindFromWord("dot"));
    dot->effects[0].spell = "Rot";
    dot->effects[0].amount = 5;
    dot->effects[0].percent = 40;
    Apply(curse, 4, 4, caster);
    Apply(dot, 4, 4, caster);
    ASSERT_EQ(hero->spellTriggers.size(), 2u);
    const SpellTrigger& once = hero->spellTriggers.front();
    EXPECT_EQ(once.caster, caster);
    EXPECT_EQ(once.turnsLeft, 3);
    EXPECT_FALSE(once.repeats);
    const SpellTrigger& repeating = hero->spellTriggers.back();
    EXPECT_EQ(repeating.caster, caster);
    EXPECT_TRUE(repeating.repeats);
    EXPECT_EQ(repeating.chance, 40);
}

TEST_F(SpellEffectsTest, AMonsterThatGoesAwayTakesTheTriggersItCaused) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Monster* caster = PlaceMonster("Rattlebones", 6, 6);
    Monster* other = PlaceMonster("Gloomwing", 7, 7);
    Spell* rot = AddSpell("Rot", SpellTarget::Self);
    for (Hittable* target : {static_cast<Hittable*>(hero), static_cast<Hittable*>(other)}) {
        SpellTrigger mine;
        mine.spell = rot;
        mine.caster = caster;
        target->spellTriggers.push_back(mine);
        SpellTrigger heros;
        heros.spell = rot;
        target->spellTriggers.push_back(heros);
    }
    delete caster;
    ASSERT_EQ(hero->spellTriggers.size(), 1u);
    EXPECT_EQ(hero->spellTriggers.front().caster, nullptr);
    ASSERT_EQ(other->spellTriggers.size(), 1u);
    EXPECT_EQ(other->spellTriggers.front().caster, nullptr);
    hero->TickSpellTriggers();
    other->TickSpellTriggers();
    for (const CastSpellCall& call : log.casts) EXPECT_EQ(call.caster, nullptr);
}

TEST_F(SpellEffectsTest, UncurseRemovesBadBuffsAndRepeatingTriggers) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* monster = PlaceMonster("Gloomwing", 4, 4);
    monster->buffs.push_back(NamedBuff("Blight", true));
    monster->buffs.push_back(NamedBuff("Vigour"));
    SpellTrigger repeating;
    repeating.repeats = true;
    monster->spellTriggers.push_back(repeating);
    SpellTrigger once;
    once.turnsLeft = 4;
    monster->spellTriggers.push_back(once);
    Apply(EffectSpell("Cleanse", SpellEffectKindFromWord("uncurse")), 4, 4);
    ASSERT_EQ(monster->buffs.size(), 1u);
    EXPECT_EQ(monster->buffs[0]->name, "Vigour");
    ASSERT_EQ(monster->spellTriggers.size(), 1u);
    EXPECT_FALSE(monster->spellTriggers.front().repeats);
}

TEST_F(SpellEffectsTest, RemoveBuffByNameTakesTheCountOrAll) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    struct Case {
        int32_t amount;
        size_t left;
    } const cases[] = {{-1, 1}, {1, 3}, {2, 2}, {0, 4}};
    for (const Case& c : cases) {
        for (Buff* buff : hero->buffs) delete buff;
        hero->buffs.clear();
        for (const char* name : {"Stench", "Glow", "Stench", "Stench"}) hero->buffs.push_back(NamedBuff(name));
        Spell* spell = EffectSpell("Wash", SpellEffectKindFromWord("removebuffbyname"));
        spell->effects[0].name = "Stench";
        spell->effects[0].amount = c.amount;
        Apply(spell, 9, 9);
        EXPECT_EQ(hero->buffs.size(), c.left) << c.amount;
    }
    EXPECT_EQ(hero->buffs[0]->name, "Stench");
}

TEST_F(SpellEffectsTest, SpawningNothingKnownKeepsTheItemOnThePointer) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(4, 4);
    std::unique_ptr<Item> held(new Item());
    SetCursorItem(held.get());
    for (const char* name : {"No Such Thing", "Mushroom Spores", "Dwarven Landmine"}) {
        Spell* spell = EffectSpell("Conjure", SpellEffectKindFromWord("spawn"));
        spell->effects[0].name = name;
        spell->effects[0].amount = 3;
        Apply(spell, 4, 4);
        EXPECT_EQ(GetCursorItem(), held.get()) << name;
    }
    ForgetCursorItem(held.get());
}

// What the hero carries of an item name (or of a Misc kind when name is empty).
int32_t CarriedCount(const std::string& name, int32_t miscKind = -1) {
    int32_t total = 0;
    for (Item** place : CarriedPlaces()) {
        const Item* item = *place;
        if (item == nullptr) continue;
        const Misc* misc = dynamic_cast<const Misc*>(item);
        const bool fits = miscKind >= 0 ? misc != nullptr && misc->Kind() == miscKind
                                        : item->def != nullptr && item->def->name == name;
        if (fits) total += item->count;
    }
    return total;
}

TEST_F(SpellEffectsTest, SpawnGivesWeaponsPotionsSporesAndPicksByTheirRules) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Dart\" type=\"5\" maxstack=\"30\"><weapon level=\"0\"/></item>"
                               "<item name=\"Longsword\" type=\"0\"><weapon level=\"0\" slashing=\"3\"/></item>"
                               "<item name=\"Draught\"><potion/></item></itemdb>",
                               "test items"));
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    hero->skillIds[0] = 28;
    hero->skillLevels[0] = 2;
    struct Case {
        const char* name;
        int32_t amount;
        const char* carried;
        int32_t miscKind;
        int32_t count;
    } const cases[] = {
        {"Dart", 5, "Dart", -1, 5},
        {"Longsword", 1, "Longsword", -1, 1},
        {"Draught", 1, "Draught", -1, 1},
        {"Mushroom Spores", 3, "", 1, 6},
        {"Lockpick", 4, "", 0, 4},
        {"Hairtrigger Bramblebox", 1, "Hairtrigger Bramblebox", -1, 0},
    };
    for (const Case& c : cases) {
        Spell* spell = EffectSpell("Conjure", SpellEffectKindFromWord("spawn"));
        spell->effects[0].name = c.name;
        spell->effects[0].amount = c.amount;
        Apply(spell, 4, 4);
        EXPECT_EQ(CarriedCount(c.carried, c.miscKind), c.count) << c.name;
    }
    bool dartOnBelt = false;
    for (Item* slot : hero->quickSlots) dartOnBelt = dartOnBelt || (slot != nullptr && slot->def->name == "Dart");
    EXPECT_TRUE(dartOnBelt) << "a throwing weapon goes to the belt";
    std::set<Item*> carried;
    for (Item** place : CarriedPlaces()) {
        if (*place != nullptr) carried.insert(*place);
        *place = nullptr;
    }
    InventoryGrid.Clear();
    for (Item* item : carried) delete item;
    ClearItemDB();
}

TEST_F(SpellEffectsTest, CreatePlacesABlockerAndLeavesTheSpellRecordAlone) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Spell* spell = EffectSpell("Stone Wall", SpellEffectKindFromWord("create"));
    spell->effects[0].turns = 6;
    spell->effects[0].permanent = 1;
    spell->effects[0].objectSprite = "dungeon/boulder.png";
    Apply(spell, 5, 5);
    Apply(spell, 6, 5);
    EXPECT_EQ(spell->effects[0].turns, 6);
    EXPECT_EQ(spell->effects[0].permanent, 1);
    int32_t blockers = 0;
    for (GameObj* obj : level->objects) blockers += obj->IsBlocker() ? 1 : 0;
    EXPECT_EQ(blockers, 2);
    ASSERT_FALSE(level->GetCell(5, 5)->contents.empty());
    EXPECT_EQ(static_cast<Blocker*>(level->GetCell(5, 5)->contents[0])->spriteName, "dungeon/boulder.png");
}

TEST_F(SpellEffectsTest, ARingPlacesAPieceOnEachPassableSquareAroundTheCentre) {
    ScopedTestLevel level({
        ".....",
        "..#..",
        ".....",
        ".....",
    });
    PlaceHero(0, 3);
    Spell* ring = EffectSpell("Circle of Wards", SpellEffectKindFromWord("ring"));
    ring->effects[0].turns = 8;
    Apply(ring, 2, 2);
    int32_t pieces = 0;
    int32_t pictures = 0;
    for (GameObj* obj : level->objects) {
        RingOfProtection* piece = dynamic_cast<RingOfProtection*>(obj);
        if (piece == nullptr) continue;
        ++pieces;
        pictures += piece->ShowsPicture() ? 1 : 0;
        EXPECT_EQ(piece->turnsLeft, 8);
        EXPECT_EQ(piece->x, 2 + piece->modeA);
        EXPECT_EQ(piece->y, 2 + piece->modeB);
    }
    EXPECT_EQ(pictures, 1) << "the piece below the centre carries the picture";
    EXPECT_EQ(pieces, 8) << "the wall square gets none";
    EXPECT_TRUE(level->GetCell(2, 1)->contents.empty());
}

TEST_F(SpellEffectsTest, DiggingOpensWallsAndRaisesTheRockAbove) {
    ScopedTestLevel level({
        "     ",
        " ### ",
        " #.# ",
        "     ",
    });
    Spell* dig = EffectSpell("Excavate", SpellEffectKindFromWord("dig"));
    Apply(dig, 2, 1);
    EXPECT_EQ(level->SquareKind(2, 1), SquareType::Floor);
    EXPECT_EQ(level->SquareKind(2, 0), SquareType::Wall) << "the rock above becomes its wall";
    Apply(dig, 1, 2);
    EXPECT_EQ(level->SquareKind(1, 2), SquareType::Floor);
    EXPECT_EQ(level->SquareKind(1, 1), SquareType::Wall);
    Apply(dig, 0, 2);
    EXPECT_EQ(level->SquareKind(0, 2), SquareType::Rock) << "border squares are never dug";
}

// ---- mines ---------------------------------------------------------------------------

TEST_F(SpellEffectsTest, ASingleMineIsNotLaidTwiceButARadiusMineFillsItsDisc) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Spell* snare = AddSpell("Snare", SpellTarget::Target);
    snare->mine = 1;
    Apply(snare, 4, 4);
    Apply(snare, 4, 4);
    EXPECT_EQ(level->GetCell(4, 4)->mines.size(), 1u);
    EXPECT_EQ(level->spellMines.size(), 1u);
    level->GetCell(4, 4)->flags |= SquareFlag::Blocked;
    Apply(snare, 4, 4);
    EXPECT_EQ(level->GetCell(4, 4)->mines.size(), 1u);
    EXPECT_EQ(level->spellMines.size(), 2u) << "a blocked square sends the mine to an open one nearby";
    level->GetCell(4, 4)->flags = 0;
    level->RemoveSpellMine(level->spellMines.back());

    Spell* field = AddSpell("Field", SpellTarget::Target);
    field->mine = 1;
    field->mineRadius = 2;
    Apply(field, 0, 8);
    EXPECT_EQ(level->spellMines.size(), 1u + 6u) << "the disc d^2 < 4 clipped at the edge";
    Apply(field, 8, 8);
    EXPECT_EQ(level->spellMines.size(), 7u + 9u);
    EXPECT_EQ(level->GetCell(8, 8)->mines.size(), 1u);
    EXPECT_TRUE(level->GetCell(10, 8)->mines.empty());
}

TEST_F(SpellEffectsTest, APermanentMineActsAtOnceAndStaysWhenSetOff) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Monster* monster = PlaceMonster("Gloomwing", 4, 4);
    Spell* ward = EffectSpell("Ward", SpellEffectKindFromWord("fear"));
    ward->effects[0].amount = 2;
    ward->mine = 1;
    ward->mineRadius = 1;
    ward->minePermanent = true;
    Spell* snare = EffectSpell("Snare", SpellEffectKindFromWord("fear"));
    snare->effects[0].amount = 5;
    snare->mine = 1;
    snare->minesMustBeUnobstructed = false;
    Apply(ward, 4, 4);
    EXPECT_EQ(monster->fearTurns, 2) << "applied at once";
    Apply(snare, 4, 4);
    EXPECT_EQ(monster->fearTurns, 2) << "an ordinary mine only lies there";
    ASSERT_EQ(level->GetCell(4, 4)->mines.size(), 2u);

    log.effects.clear();
    monster->health = 5;
    monster->TriggerSpellMines();
    EXPECT_EQ(monster->fearTurns, 9);
    ASSERT_EQ(log.effects.size(), 2u);
    for (const SpellEffectsCall& call : log.effects) {
        EXPECT_EQ(call.cause, "from a spell mine");
        EXPECT_TRUE(call.fromMine);
        EXPECT_FALSE(call.isDirectCast);
    }
    ASSERT_EQ(level->GetCell(4, 4)->mines.size(), 1u);
    EXPECT_EQ(level->GetCell(4, 4)->mines[0]->spell, ward);
}

}  // namespace

namespace {

TEST_F(SpellEffectsTest, PolymorphTakesTheFormNamedByDisplayNameAndIgnoresUnknownNames) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    Spell* unknown = EffectSpell("Odd Shape", SpellEffectKindFromWord("polymorph"));
    unknown->effects[0].name = "Nothing Of The Sort";
    Apply(unknown, 3, 3);
    EXPECT_EQ(hero->isPolymorphed, 0) << "an unknown form changes nothing";
    Spell* toad = EffectSpell("Toad Shape", SpellEffectKindFromWord("polymorph"));
    toad->effects[0].name = monDBFindByName("Stubborn Toad")->displayName;
    Apply(toad, 3, 3);
    EXPECT_NE(hero->isPolymorphed, 0);
    EXPECT_EQ(hero->polymorphForm, monDBFindByName("Stubborn Toad"));
    hero->EndPolymorph();
}

TEST_F(SpellEffectsTest, AStrikingSpellHitsAsItsCasterWithTheEffectsDamage) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(3, 3);
    Monster* target = PlaceMonster("Gloomwing", 4, 3);
    target->stat[kStatLife] = 50;
    target->health = 50;
    Spell* strike = EffectSpell("Smite", SpellEffectKindFromWord("damage"));
    strike->attack = true;
    strike->effects[0].damageAmounts[kDamageCrushing] = 7;
    Apply(strike, 4, 3, hero);
    EXPECT_LT(target->health, 50) << "the strike lands as the hero's blow";
    EXPECT_EQ(log.effects.size(), 1u);
}

}  // namespace
