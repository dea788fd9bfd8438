// Spell casting: the hero's cost and refusals, the squares each target type reaches, the
// missile's flight and reflection, and maneuver templates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <set>
#include <string>

#include "core/event_log.h"
#include "creatures/buff.h"
#include "creatures/spell.h"
#include "levels/tile_effects.h"
#include "media/sound.h"
#include "spell_test_support.h"

namespace {

using Square = std::pair<int32_t, int32_t>;

class SpellCastTest : public SpellWorldTest {};

TEST_F(SpellCastTest, ManaCostTakesTheFlooredBonusesAndNeverFallsBelowTheLowestCost) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    Spell* spell = AddSpell("Sting", SpellTarget::Self);
    spell->mp = 10;
    spell->magPowBonus = 0.5f;
    spell->savvyBonus = 1.0f;
    spell->mincost = 2;
    struct Case {
        int32_t magic, savvy, cost;
    } const cases[] = {{5, 4, 4}, {20, 10, 2}, {0, 0, 10}, {3, 0, 9}};
    for (const Case& c : cases) {
        hero->stat[kStatMagicPower] = c.magic;
        hero->primary[kPrimarySavvy] = c.savvy;
        EXPECT_EQ(GetSpellManaCost(spell), c.cost) << c.magic << " " << c.savvy;
    }
}

TEST_F(SpellCastTest, RefusedCastsCostNothingAndPassNoTurn) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    Spell* spell = AddSpell("Sting", SpellTarget::Self);
    spell->mp = 6;
    SelectedSpell = spell;

    hero->mana = 5;
    PlayerCastSelectedSpell();
    EXPECT_EQ(LastTicker(), "You have insufficient magic to cast that spell!");
    EXPECT_EQ(LastRequestedSFX().compare(0, 7, "manalow"), 0) << LastRequestedSFX();
    EXPECT_EQ(hero->mana, 5);

    hero->mana = 6;
    Buff* gag = new Buff("Gag");
    gag->mute = true;
    hero->buffs.push_back(gag);
    PlayerCastSelectedSpell();
    EXPECT_EQ(LastTicker(), "You are prevented from casting spells!");
    EXPECT_EQ(hero->mana, 6);
    EXPECT_TRUE(log.casts.empty());
    EXPECT_EQ(CountedTurns(), 0);
    EXPECT_EQ(spell->castCount, 0);
}

TEST_F(SpellCastTest, ACooldownSpellCastsWithoutManaWhileMutedAndWaitsDowntimePlusOne) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    Spell* spell = AddSpell("Rally", SpellTarget::Self);
    spell->mp = 50;
    spell->hasCooldown = true;
    spell->downtime = 3;
    hero->mana = 0;
    Buff* gag = new Buff("Gag");
    gag->mute = true;
    hero->buffs.push_back(gag);
    SelectedSpell = spell;
    // Seen from inside the turn, before the turn's own countdown of cooldowns.
    static int32_t duringTurn;
    duringTurn = -1;
    TurnCalls.roomTriggers = [] { duringTurn = SelectedSpell->cooldownCounter; };
    PlayerCastSelectedSpell();
    ASSERT_EQ(log.casts.size(), 1u);
    EXPECT_EQ(log.casts[0].caster, hero);
    EXPECT_EQ(duringTurn, 4);
    EXPECT_EQ(spell->cooldownCounter, 3) << "the turn counted one down";
    EXPECT_EQ(hero->mana, 0);
    EXPECT_EQ(CountedTurns(), 1);
}

TEST_F(SpellCastTest, AMultiAttackCastsEachTimeWithOneComboSoundAndOneTurn) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    hero->statBonus[kStatMana] = 200;  // room for 100 points of mana
    hero->RecalculateStats();
    hero->mana = 100;
    Spell* spell = AddSpell("Flurry", SpellTarget::Adjacent);
    spell->multiAttack = 3;
    spell->mp = 2;
    SelectedSpell = spell;
    SpellTargetX = 6;
    SpellTargetY = 5;
    const std::string events = testing::TempDir() + "spell_cast_events.txt";
    ASSERT_TRUE(OpenEventLog(events));
    PlayerCastSelectedSpell();
    EXPECT_EQ(GetCollectedStat("Player Cast [Flurry]"), 3);
    CloseEventLog();
    std::remove(events.c_str());
    EXPECT_EQ(log.casts.size(), 3u);
    EXPECT_EQ(log.effects.size(), 3u);
    EXPECT_EQ(LastRequestedSFX(), "combo");
    EXPECT_EQ(CountedTurns(), 1);
    EXPECT_EQ(spell->castCount, 3);
    // The cost is paid once (three payments would leave 94); the turn may regenerate a point.
    EXPECT_GE(hero->mana, 98);
    EXPECT_LE(hero->mana, 99);
    EXPECT_EQ(hero->facing, 3) << "turned toward the target";
}

TEST_F(SpellCastTest, CastingDropsTheHerosInvisibility) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    hero->mana = 10;
    Buff* cloak = new Buff("Cloak");
    cloak->invisible = true;
    hero->buffs.push_back(cloak);
    SelectedSpell = AddSpell("Glow", SpellTarget::Self);
    PlayerCastSelectedSpell();
    EXPECT_TRUE(hero->buffs.empty());
}

TEST_F(SpellCastTest, AdjacentReachesTheOrthogonalsAndTheCasterSquareOnly) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(5, 5);
    Spell* spell = AddSpell("Poke", SpellTarget::Adjacent);
    const Square hits[] = {{5, 4}, {5, 6}, {4, 5}, {6, 5}, {5, 5}};
    for (const Square& target : hits) EXPECT_EQ(CastSpell(spell, 5, 5, target.first, target.second, nullptr, false, true), 1);
    EXPECT_EQ(EffectSquares(), SquareList(std::begin(hits), std::end(hits)));
    log.effects.clear();
    for (const Square& target : {Square{6, 6}, Square{4, 4}, Square{7, 5}}) {
        EXPECT_EQ(CastSpell(spell, 5, 5, target.first, target.second, nullptr, false, true), 0);
        EXPECT_EQ(LastTicker(), "You must be next to your target to use this ability!");
    }
    EXPECT_TRUE(log.effects.empty());
}

TEST_F(SpellCastTest, AnAreaSpellStrikesInsideItsRadiusAroundTheCasterColumnByColumn) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(5, 5);
    Spell* spell = AddSpell("Nova", SpellTarget::Area);
    spell->radius = 2;
    EXPECT_EQ(CastSpell(spell, 5, 5, 9, 9, nullptr, false, true), 1);
    const SquareList expected = {{4, 4}, {4, 5}, {4, 6}, {5, 4}, {5, 5}, {5, 6}, {6, 4}, {6, 5}, {6, 6}};
    EXPECT_EQ(EffectSquares(), expected);
}

TEST_F(SpellCastTest, AnAreaAnimationWithoutFramesOrNameIsSkipped) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(5, 5);
    Spell* spell = AddSpell("Nova", SpellTarget::Area);
    spell->radius = 1;
    for (int32_t frames : {0, -3}) {
        spell->animSprite = "sprites/sfx/nowhere";
        spell->animFrames = frames;
        const Uint32 before = LoggedGetTicks();
        EXPECT_EQ(CastSpell(spell, 5, 5, 5, 5, nullptr, false, true), 1);
        EXPECT_EQ(LoggedGetTicks(), before) << "no frame was drawn";
    }
}

TEST_F(SpellCastTest, KnightlyLeapAndRookAreMeasuredFromTheHeroForAnyCaster) {
    ScopedTestLevel level(20, 20, SquareType::Floor);
    PlaceHero(5, 5);
    Monster* caster = PlaceMonster("Gloomwing", 12, 12);
    Spell* leap = AddSpell("Leap", SpellTarget::KnightlyLeap);
    Spell* rook = AddSpell("Charge", SpellTarget::Rook);
    struct Case {
        Spell* spell;
        Square target;
        int32_t result;
    } const cases[] = {
        {leap, {7, 6}, 1}, {leap, {4, 3}, 1}, {leap, {14, 13}, 0}, {leap, {6, 6}, 0},
        {rook, {5, 15}, 1}, {rook, {0, 5}, 1}, {rook, {12, 15}, 0}, {rook, {6, 6}, 0},
    };
    for (const Case& c : cases) {
        log.effects.clear();
        EXPECT_EQ(CastSpell(c.spell, 12, 12, c.target.first, c.target.second, caster, false, true), c.result)
            << c.spell->name << " " << c.target.first << "," << c.target.second;
        EXPECT_EQ(log.effects.size(), static_cast<size_t>(c.result));
        if (!log.effects.empty()) {
            EXPECT_EQ(log.effects[0].caster, caster);
        }
    }
}

TEST_F(SpellCastTest, BurstsCoverTheirDiscAndNothingOutsideTheLevel) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    EXPECT_EQ(BurstSquares(5, 5, 1.5f).size(), 9u);
    const SquareList plus = {{4, 5}, {5, 4}, {5, 5}, {5, 6}, {6, 5}};
    EXPECT_EQ(BurstSquares(5, 5, 1.0f), plus);

    PlaceHero(5, 5);
    Spell* fireball = AddSpell("Fireball", SpellTarget::Fireball);
    fireball->radius = 1;
    EXPECT_EQ(CastSpell(fireball, 5, 5, 0, 0, nullptr, false, true), 1);
    const SquareList corner = {{0, 0}, {0, 1}, {1, 0}};
    EXPECT_EQ(EffectSquares(), corner);
}

TEST_F(SpellCastTest, ConesOpenTowardTheTargetAndAConeOnItsOwnSquareCoversNothing) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    EXPECT_TRUE(ConeSquares(5, 5, 5, 5, 3.0f, 0.5f).empty());
    const SquareList cone = ConeSquares(5, 5, 8, 5, 2.0f, 0.5f);
    const std::set<Square> covered(cone.begin(), cone.end());
    EXPECT_EQ(covered.count({5, 5}), 0u) << "never the caster's square";
    EXPECT_EQ(covered.count({4, 5}), 0u) << "nothing behind";
    EXPECT_EQ(covered.count({5, 6}), 0u) << "nothing at right angles";
    for (const Square& s : {Square{6, 5}, Square{7, 5}, Square{7, 6}, Square{7, 4}}) {
        EXPECT_EQ(covered.count(s), 1u) << s.first << "," << s.second;
    }
    for (const Square& s : cone) EXPECT_TRUE(level->IsInside(s.first, s.second));
    EXPECT_TRUE(ConeSquares(0, 0, -3, 0, 2.0f, 0.5f).empty()) << "clipped at the level's edge";
}

// However far a burst or a cone reaches, it covers the squares of the level it would cover
// and walks no further than the level; radii past the range of a square's distance included.
TEST_F(SpellCastTest, BurstsAndConesOfAnyRadiusStayOnTheLevel) {
    ScopedTestLevel level(12, 9, SquareType::Floor);
    const float radii[] = {30.0f, 46341.0f, 30000000.0f, 3.0e9f};
    for (const float radius : radii) {
        SCOPED_TRACE(radius);
        EXPECT_EQ(BurstSquares(5, 5, radius).size(), 12u * 9u);
        EXPECT_EQ(BurstSquares(-10, 3, radius).size(), 12u * 9u) << "a centre off the level";
        const SquareList cone = ConeSquares(0, 4, 11, 4, radius, 0.5f);
        // Within 60 degrees of the row to the right of (0, 4): every square with
        // |dy| < dx * sqrt(3) except the caster's own.
        size_t expected = 0;
        for (int32_t x = 1; x < 12; ++x) {
            for (int32_t y = 0; y < 9; ++y) expected += std::abs(y - 4) < x * 1.7320508 ? 1 : 0;
        }
        EXPECT_EQ(cone.size(), expected);
        for (const Square& s : cone) EXPECT_TRUE(level->IsInside(s.first, s.second));
    }
    EXPECT_TRUE(BurstSquares(5, 5, -2.0f).empty());
}

TEST_F(SpellCastTest, AMonstersConeUsesTheMonsterAsCaster) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(8, 5);
    Monster* caster = PlaceMonster("Gloomwing", 5, 5);
    Spell* cone = AddSpell("Frost Breath", SpellTarget::Cone);
    cone->radius = 3;
    EXPECT_EQ(CastSpell(cone, 5, 5, 8, 5, caster, false, true), 1);
    ASSERT_FALSE(log.effects.empty());
    for (const SpellEffectsCall& call : log.effects) EXPECT_EQ(call.caster, caster);
}

TEST_F(SpellCastTest, AMonstersBurstIsItsOwnSpellNotTheHeros) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    Player* hero = PlaceHero(5, 5);
    hero->resistance[kDamageConflagratory] = 100;
    Monster* caster = PlaceMonster("Gloomwing", 6, 5);
    caster->health = 30;
    caster->stat[kStatLife] = 30;
    Spell* bomb = AddSpell("Fire Bomb", SpellTarget::Fireball);
    bomb->radius = 1;
    SpellEffect fire;
    fire.damageAmounts[kDamageConflagratory] = 6;
    bomb->effects.push_back(fire);
    EXPECT_EQ(CastSpell(bomb, 6, 5, 5, 5, caster, false, true), 1);
    EXPECT_EQ(caster->health, 30) << "the caster stands in its own burst unharmed";
    EXPECT_EQ(LastTicker(), "The spell does no damage!");
    for (const SpellEffectsCall& call : log.effects) EXPECT_EQ(call.caster, caster);
}

TEST_F(SpellCastTest, BeamsStopAtWallsUnlessTheyDig) {
    ScopedTestLevel level({
        "........",
        "....#...",
        "........",
    });
    PlaceHero(0, 1);
    Spell* beam = AddSpell("Ray", SpellTarget::Beam);
    CastSpell(beam, 0, 1, 7, 1, nullptr, false, true);
    const SquareList toWall = {{1, 1}, {2, 1}, {3, 1}, {4, 1}};
    EXPECT_EQ(EffectSquares(), toWall);
    log.effects.clear();
    static int32_t rebuilt[4];
    const SpellLevelServices saved = SpellLevel;
    SpellLevel.rebuildGraphics = [](Level*, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        rebuilt[0] = x0;
        rebuilt[1] = y0;
        rebuilt[2] = x1;
        rebuilt[3] = y1;
    };
    Spell* dig = AddSpell("Bore", SpellTarget::DiggingBeam);
    CastSpell(dig, 6, 2, 0, 1, nullptr, false, true);
    ASSERT_FALSE(log.effects.empty());
    EXPECT_EQ(EffectSquares().back(), Square(0, 1)) << "through the wall to its end";
    EXPECT_EQ(std::vector<int32_t>(rebuilt, rebuilt + 4), (std::vector<int32_t>{-1, 0, 7, 3}))
        << "the graphics of the two ends' rectangle, one square wider";
    SpellLevel = saved;
}

TEST_F(SpellCastTest, TemplateSquaresTurnWithTheHerosFacing) {
    const std::string xml =
        "<templates><template name=\"4\" width=\"3\" height=\"3\"><row text=\"@@@\"/><row text=\".#.\"/>"
        "<row text=\"...\"/></template><template name=\"5\" width=\"3\" height=\"3\" affectsPlayer=\"1\">"
        "<row text=\"@@@\"/><row text=\".#.\"/><row text=\"...\"/></template></templates>";
    ASSERT_TRUE(LoadManeuverTemplatesFromText(xml.data(), xml.size(), "manTemplateDB.xml"));
    ScopedTestLevel level(20, 20, SquareType::Floor);
    Spell* spell = AddSpell("Sweep", SpellTarget::Template);
    spell->templateID = 4;
    spell->anchored = 1;
    struct Case {
        int32_t facing;
        SquareList squares;
    } const cases[] = {
        {2, {{9, 9}, {10, 9}, {11, 9}}},
        {3, {{11, 9}, {11, 10}, {11, 11}}},
        {0, {{9, 11}, {10, 11}, {11, 11}}},
        {1, {{9, 9}, {9, 10}, {9, 11}}},
    };
    for (const Case& c : cases) EXPECT_EQ(TemplateSquares(spell, 10, 10, 3, 3, c.facing), c.squares) << c.facing;

    spell->anchored = 0;
    for (int32_t facing : {0, 1, 3}) {
        EXPECT_EQ(TemplateSquares(spell, 10, 10, 3, 3, facing), (SquareList{{2, 2}, {3, 2}, {4, 2}}));
    }
    spell->anchored = 1;
    spell->templateID = 5;
    EXPECT_EQ(TemplateSquares(spell, 10, 10, 3, 3, 2), (SquareList{{9, 9}, {10, 10}, {10, 9}, {11, 9}}))
        << "the origin is struck when the template says so";
}

TEST_F(SpellCastTest, ATemplateSpellOnAnEmptyTableDoesNothing) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(5, 5);
    Spell* spell = AddSpell("Sweep", SpellTarget::Template);
    spell->templateID = -1;
    spell->effects.emplace_back();
    EXPECT_EQ(CastSpell(spell, 5, 5, 6, 5, nullptr, false, true), 0);
    EXPECT_TRUE(log.effects.empty());
}

TEST_F(SpellCastTest, AMissileStopsAtTheFirstBlockedSquareAndOnItsTarget) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    int32_t x = -1;
    int32_t y = -1;
    const Uint32 start = LoggedGetTicks();
    AnimateMissile(5, 5, 8, 6, &x, &y, nullptr);
    EXPECT_EQ(Square(x, y), Square(8, 6));
    EXPECT_EQ(LoggedGetTicks() - start, 60u) << "two frames of 10 ms per square";

    AnimateMissile(3, 3, 3, 3, &x, &y, nullptr);
    EXPECT_EQ(Square(x, y), Square(3, 3)) << "a missile on its own square reports it";

    level->GetCell(7, 5)->flags |= SquareFlag::Blocked;
    AnimateMissile(5, 5, 8, 6, &x, &y, nullptr);
    EXPECT_EQ(Square(x, y), Square(7, 5));
}

TEST_F(SpellCastTest, AFullReflectorSendsTheMissileBackAndItHitsWhereItStops) {
    ScopedTestLevel level(14, 12, SquareType::Floor);
    Player* hero = PlaceHero(2, 5);
    Monster* mirror = PlaceMonster("Gloomwing", 8, 5);
    mirror->stat[kStatReflection] = 100;
    Spell* bolt = AddSpell("Bolt", SpellTarget::Missile);
    EXPECT_EQ(CastSpell(bolt, 2, 5, 8, 5, hero, false, true), 1);
    EXPECT_EQ(LastRequestedSFX(), "bampf");
    ASSERT_EQ(log.effects.size(), 1u);
    EXPECT_EQ(Square(log.effects[0].x, log.effects[0].y), Square(2, 5)) << "back on the caster";
}

TEST_F(SpellCastTest, TargetPreCheckFollowsTheTargetType) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(5, 5);
    PlaceMonster("Gloomwing", 7, 7);
    struct Case {
        int32_t type;
        Square target;
        bool ok;
    } const cases[] = {
        {SpellTarget::Adjacent, {5, 6}, true},        {SpellTarget::Adjacent, {6, 6}, false},
        {SpellTarget::AdjacentWall, {4, 5}, true},    {SpellTarget::TargetAdjacentCorpse, {5, 5}, false},
        {SpellTarget::Target, {7, 7}, true},          {SpellTarget::Target, {8, 8}, false},
        {SpellTarget::Target, {5, 5}, false},         {SpellTarget::TargetEmptyFloor, {8, 8}, true},
        {SpellTarget::TargetEmptyFloor, {7, 7}, false}, {SpellTarget::Fireball, {7, 7}, true},
    };
    for (const Case& c : cases) {
        Spell spell;
        spell.targetType = c.type;
        EXPECT_EQ(CheckSpellTarget(&spell, 5, 5, c.target.first, c.target.second), c.ok)
            << c.type << " at " << c.target.first << "," << c.target.second;
    }
}

TEST_F(SpellCastTest, NonStackingBuffsStopAtAMonsterWearingTheSameBuff) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    PlaceHero(1, 1);
    Monster* monster = PlaceMonster("Gloomwing", 5, 5);
    Spell* spell = AddSpell("Hex", SpellTarget::Adjacent);
    spell->icon = "skills/hex.png";
    Buff first("Buff");
    first.allowStacking = false;
    first.usesTimer = false;
    first.self = false;
    Buff second("Buff");
    second.icon = "skills/other.png";
    second.usesTimer = false;
    second.self = false;
    spell->buffTemplates.push_back(first);
    spell->buffTemplates.push_back(second);
    ApplySpellBuffsAtSquare(spell, 5, 5, nullptr);
    ASSERT_EQ(monster->buffs.size(), 2u);
    EXPECT_EQ(monster->buffs[0]->name, "Hex");
    EXPECT_EQ(monster->buffs[0]->icon, "skills/hex.png") << "an empty icon takes the spell's";
    ApplySpellBuffsAtSquare(spell, 5, 5, nullptr);
    EXPECT_EQ(monster->buffs.size(), 2u) << "the worn non-stacking buff ends the handing out";
}

}  // namespace
