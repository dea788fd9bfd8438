// The weapon classes, the spell-resistance rolls and the damage of one spell effect.
#include "creatures/combat_feedback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/random.h"
#include "creatures/hittable.h"
#include "creatures/impact_sprites.h"
#include "creatures/player.h"
#include "levels/level_test_map.h"
#include "media/eye_candy.h"
#include "media/sprite.h"
#include "media/text_fixture.h"
#include "media/ticker.h"

namespace {

struct DamageCall {
    int32_t amount;
    GameObj* source;
    std::string cause;
};

class Target : public Hittable {
public:
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t, int32_t) override {
        calls.push_back({amount, source, cause});
        return amount;
    }
    std::string GetName() override { return name; }
    std::vector<DamageCall> calls;
    std::string name = "Diggle";
};

class CombatFeedbackTest : public testing::Test {
protected:
    void SetUp() override {
        CurrentPlayer = &hero_;
        ClearTicker();
        ClearTickerLog();
        ClearEyeCandy();
        CSRand(1);
    }
    void TearDown() override {
        CurrentPlayer = nullptr;
        ClearTicker();
        ClearTickerLog();
        ClearEyeCandy();
    }
    // Damage with only base amounts.
    int32_t Resolve(Hittable* caster, Target& target, std::initializer_list<std::pair<int, int>> amounts,
                    const char* cause = nullptr) {
        int32_t base[kDamageTypeCount] = {};
        float scale[kDamageTypeCount] = {};
        for (const auto& a : amounts) base[a.first] = a.second;
        return ResolveSpellDamage(caster, &target, base, scale, true, cause, -1, kStatMagicPower);
    }
    static std::string LastTickerText() {
        const std::vector<std::string> lines = TickerLog();
        return lines.empty() ? std::string() : lines.back();
    }
    Player hero_;
};

TEST(WeaponClass, MapsTheWeaponTypes) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4},
                                                 {5, 5}, {6, 4}, {7, 2}, {-1, 2}, {100, 2}};
    for (const auto& c : cases) EXPECT_EQ(GetWeaponClass(c.first), c.second) << c.first;
}

TEST_F(CombatFeedbackTest, AResistedSpellDealsAQuarterOfThePhysicalAndHalfTheRest) {
    Target target;
    target.stat[kStatMagicResistance] = 100;  // every roll resists
    Target caster;
    caster.name = "Brax";
    EXPECT_EQ(Resolve(&caster, target, {{kDamageCrushing, 10}, {kDamageToxic, 10}}), 7);
    ASSERT_EQ(target.calls.size(), 1u);
    EXPECT_EQ(target.calls[0].amount, 7);
    EXPECT_EQ(target.calls[0].source, &caster);
}

TEST_F(CombatFeedbackTest, HaywireCannotBeResisted) {
    Target target;
    target.stat[kStatMagicResistance] = 100;
    Target caster;
    caster.stat[kStatHaywire] = 100;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageCrushing, 10}, {kDamageToxic, 10}}), 20);
    int32_t base[kDamageTypeCount] = {};
    float scale[kDamageTypeCount] = {};
    base[kDamageCrushing] = 10;
    EXPECT_EQ(ResolveSpellDamage(&caster, &target, base, scale, false, nullptr, -1, 3), 2)
        << "haywire not allowed: resisted";
}

TEST_F(CombatFeedbackTest, ResistanceAtOrAboveTheAmountDealsNothingAndSaysSo) {
    Target target;
    target.resistance[kDamageExistential] = 8;
    Target caster;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageExistential, 5}}), 0);
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(LastTickerText(), "The spell does no damage!");

    target.resistance[kDamageToxic] = 1;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageExistential, 5}, {kDamageToxic, 4}}), 3)
        << "the existential part counts 0, not -3";

    EXPECT_EQ(Resolve(&hero_, target, {{kDamageExistential, 2}}), 0);
    EXPECT_EQ(LastTickerText(), "Your spell does no damage!");
    EXPECT_EQ(Resolve(nullptr, target, {{kDamageExistential, 2}}), 0);
    EXPECT_EQ(LastTickerText(), "Your spell does no damage!") << "no caster is the hero";
}

TEST_F(CombatFeedbackTest, EachPhysicalTypeIsFlooredAfterItsOwnResistanceBeforeArmour) {
    Target target;
    target.resistance[kDamageCrushing] = 9;
    Target caster;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageCrushing, 5}, {kDamageSlashing, 4}}), 4);
    target.stat[kStatArmourAbsorption] = 3;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageCrushing, 5}, {kDamageSlashing, 4}}), 1);
    target.stat[kStatArmourAbsorption] = 30;
    EXPECT_EQ(Resolve(&caster, target, {{kDamageCrushing, 5}, {kDamageSlashing, 4}, {kDamageVoltaic, 2}}), 2)
        << "armour takes nothing from the other types";
}

TEST_F(CombatFeedbackTest, ScalingUsesThePrimaryOrTheSecondaryOfTheCaster) {
    Target target;
    Target caster;
    caster.stat[kStatMagicPower] = 10;
    caster.primary[kPrimarySagacity] = 4;
    int32_t base[kDamageTypeCount] = {};
    float scale[kDamageTypeCount] = {};
    base[kDamageBlasting] = 1;
    scale[kDamageBlasting] = 0.55f;   // 5.5 + 1 -> 6
    scale[kDamageAcidic] = 0.25f;     // floor(2.5) + 0 -> 2
    EXPECT_EQ(ResolveSpellDamage(&caster, &target, base, scale, true, nullptr, -1, kStatMagicPower), 8);
    EXPECT_EQ(ResolveSpellDamage(&caster, &target, base, scale, true, nullptr, kPrimarySagacity, 0), 3 + 1)
        << "0.55 * 4 + 1 -> 3, floor(0.25 * 4) -> 1";
}

TEST_F(CombatFeedbackTest, CausesNameTheHeroANamedCasterOrAKind) {
    Target target;
    Target named;
    named.name = "Brax";
    named.isNamed = true;
    Target kind;
    kind.name = "Diggle";
    Resolve(&hero_, target, {{kDamageToxic, 3}});
    Resolve(&named, target, {{kDamageToxic, 3}});
    Resolve(&kind, target, {{kDamageToxic, 3}});
    Resolve(&kind, target, {{kDamageToxic, 3}}, "from a spell mine");
    ASSERT_EQ(target.calls.size(), 4u);
    EXPECT_EQ(target.calls[0].cause, "by the player");
    EXPECT_EQ(target.calls[1].cause, "by Brax");
    EXPECT_EQ(target.calls[2].cause, "by a Diggle");
    EXPECT_EQ(target.calls[3].cause, "from a spell mine");
}

TEST_F(CombatFeedbackTest, InViewTheNumbersAndImpactsRiseOverTheTarget) {
    ScopedTestLevel level(8, 8, SquareType::Floor);
    Target* target = new Target();
    target->PlaceOnLevel(2, 2, level.get(), 0);
    Target caster;
    Resolve(&caster, *target, {{kDamageCrushing, 4}, {kDamageToxic, 3}});
    EXPECT_EQ(EyeCandyCount(), 0u) << "out of view nothing shows";
    level->GetCell(2, 2)->flags |= SquareFlag::Visible;
    ASSERT_TRUE(IsInView(target));
    for (Sprite*& sprite : ImpactSprites) sprite = nullptr;
    Resolve(&caster, *target, {{kDamageCrushing, 4}, {kDamageToxic, 3}});
    EXPECT_EQ(EyeCandyCount(), 0u) << "without the font and the impact sprites nothing can show";

    Sprite crush;
    Sprite toxic;
    Sprite resist;
    ImpactSprites[kDamageCrushing] = &crush;
    ImpactSprites[kDamageToxic] = &toxic;
    Sprite* savedResist = EyeCandyIcons.resist;
    EyeCandyIcons.resist = &resist;
    Resolve(&caster, *target, {{kDamageCrushing, 4}, {kDamageToxic, 3}});
    ASSERT_EQ(EyeCandyCount(), 2u);
    EXPECT_EQ(EyeCandyAt(0)->sprite, &crush);
    EXPECT_EQ(EyeCandyAt(1)->sprite, &toxic);
    EXPECT_EQ(EyeCandyAt(1)->owner, &target->bob);
    target->stat[kStatMagicResistance] = 100;
    Resolve(&caster, *target, {{kDamageToxic, 3}});
    ASSERT_EQ(EyeCandyCount(), 4u);
    EXPECT_EQ(EyeCandyAt(2)->sprite, &resist) << "the resist icon first";
    EXPECT_EQ(EyeCandyAt(3)->sprite, &toxic);
    ClearEyeCandy();
    for (Sprite*& sprite : ImpactSprites) sprite = nullptr;
    EyeCandyIcons.resist = savedResist;
}

TEST_F(CombatFeedbackTest, ResistanceRollsOnlyResistInViewExceptTheHalfRoll) {
    ScopedTestLevel level(8, 8, SquareType::Floor);
    Target* target = new Target();
    target->PlaceOnLevel(3, 3, level.get(), 0);
    target->stat[kStatMagicResistance] = 50;
    int resistedOutOfView = 0;
    int halfResistedOutOfView = 0;
    for (int i = 0; i < 200; ++i) {
        resistedOutOfView += RollSpellResistance(target) == 0;
        halfResistedOutOfView += RollSpellResistanceHalf(target) == 0;
    }
    EXPECT_EQ(resistedOutOfView, 0);
    EXPECT_EQ(halfResistedOutOfView, 200) << "50 or more always resists the half roll";
    EXPECT_EQ(EyeCandyCount(), 0u) << "no icon out of view";

    level->GetCell(3, 3)->flags |= SquareFlag::Visible;
    Sprite resist;
    Sprite* savedResist = EyeCandyIcons.resist;
    EyeCandyIcons.resist = &resist;
    target->stat[kStatMagicResistance] = 60;
    int resisted = 0;
    for (int i = 0; i < 1000; ++i) resisted += RollSpellResistance(target) == 0;
    EXPECT_GT(resisted, 540);
    EXPECT_LT(resisted, 660);
    EXPECT_EQ(EyeCandyCount(), static_cast<size_t>(resisted)) << "one resist icon each";
    ClearEyeCandy();
    EyeCandyIcons.resist = savedResist;
    target->stat[kStatMagicResistance] = 0;
    EXPECT_EQ(RollSpellResistance(target), 1);
    EXPECT_EQ(RollSpellResistanceHalf(target), 1);
}

TEST_F(CombatFeedbackTest, InterruptingAWalkFlagsItAndTakesThePathOffTheSquares) {
    ScopedTestLevel level(8, 8, SquareType::Floor);
    LinkBobToTile(&hero_.walkingBob, 1, 1);
    LinkBobToTile(&hero_.walkingBob, 2, 1);
    hero_.InterruptWalk();
    EXPECT_EQ(hero_.walkInterrupted, 1);
    EXPECT_TRUE(hero_.walkingBob.linkedLists.empty());
    EXPECT_TRUE(level->GetCell(1, 1)->bobs.empty());
    EXPECT_TRUE(level->GetCell(2, 1)->bobs.empty());
    hero_.InterruptWalk();
    EXPECT_EQ(hero_.walkInterrupted, 1);
}

// A damage number is one rising picture: digits at least 16 x 24 pixels in the colour of the
// damage type, ringed by a dark outline (the outermost inked pixels are dark).
class DamageNumberTest : public GameFontTest {
protected:
    void SetUp() override {
        GameFontTest::SetUp();
        ClearEyeCandy();
    }
    void TearDown() override {
        ClearEyeCandy();
        GameFontTest::TearDown();
    }
};

TEST_F(DamageNumberTest, DigitsAreLargeOutlinedAndColouredByDamageType) {
    for (const int type : {kDamageCrushing, kDamageConflagratory, kDamageHyperborean, kDamageToxic}) {
        SCOPED_TRACE(type);
        ClearEyeCandy();
        Target target;
        ShowFloatingNumber(8, &target, DamageTypeColour[type]);
        ASSERT_EQ(EyeCandyCount(), 1u) << "one outlined picture, not a shadow and a copy";
        const Sprite* sprite = EyeCandyAt(0)->sprite;
        ASSERT_NE(sprite, nullptr);
        SDL_Surface* s = sprite->frames[0];
        const SDL_Color want = DamageTypeColour[type];
        int left = s->w, right = -1, top = s->h, bottom = -1, typeColoured = 0;
        SDL_LockSurface(s);
        const auto at = [s](int x, int y, Uint8* r, Uint8* g, Uint8* b, Uint8* a) {
            Uint32 pixel = 0;
            std::memcpy(&pixel, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
            SDL_GetRGBA(pixel, s->format, r, g, b, a);
        };
        for (int y = 0; y < s->h; ++y) {
            for (int x = 0; x < s->w; ++x) {
                Uint8 r, g, b, a;
                at(x, y, &r, &g, &b, &a);
                if (a < 128) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                if (a == 255 && r == want.r && g == want.g && b == want.b) ++typeColoured;
            }
        }
        EXPECT_GE(right - left + 1, 16);
        EXPECT_GE(bottom - top + 1, 24);
        EXPECT_GT(typeColoured, 40);
        for (int x = left; x <= right; ++x) {
            Uint8 r, g, b, a;
            at(x, top, &r, &g, &b, &a);
            if (a >= 128) {
                EXPECT_LT(r + g + b, 3 * 64) << "top row, x " << x;
            }
        }
        SDL_UnlockSurface(s);
    }
}

}  // namespace
