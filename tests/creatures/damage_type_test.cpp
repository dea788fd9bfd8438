// The damage-type, statistic and skill-type vocabularies and the current-value rule.
#include "creatures/damage_type.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DamageTypes, NameLookupIsExactAndInIndexOrder) {
    struct Case {
        const char* name;
        int32_t index;
    };
    const Case cases[] = {
        {"crushing", 0},   {"slashing", 1},     {"blasting", 2},       {"piercing", 3},
        {"conflagratory", 4}, {"hyperborean", 5}, {"voltaic", 6},      {"toxic", 7},
        {"righteous", 8},  {"necromantic", 9},  {"acidic", 10},        {"putrefying", 11},
        {"transmutative", 12}, {"aethereal", 13}, {"asphyxiative", 14}, {"existential", 15},
        {"Crushing", -1},  {"", -1},            {"crushing ", -1},     {"crushingF", -1},
        {"necromatic", -1}, {nullptr, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetDamageTypeIndex(c.name), c.index) << (c.name ? c.name : "(null)");
        if (c.index >= 0) {
            EXPECT_STREQ(DamageTypeName(c.index), c.name);
        }
    }
    EXPECT_STREQ(DamageTypeName(16), "");
    EXPECT_STREQ(DamageTypeName(-1), "");
}

TEST(DamageTypes, ColoursOfAllSixteenTypes) {
    const uint8_t expected[kDamageTypeCount][3] = {
        {179, 128, 126}, {166, 179, 182}, {251, 210, 99},  {238, 229, 212},
        {255, 81, 34},   {80, 168, 249},  {170, 229, 236}, {89, 103, 44},
        {255, 253, 220}, {113, 76, 154},  {60, 181, 108},  {172, 102, 40},
        {255, 198, 250}, {189, 182, 255}, {115, 114, 127}, {138, 127, 127},
    };
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        SCOPED_TRACE(DamageTypeName(t));
        EXPECT_EQ(DamageTypeColour[t].r, expected[t][0]);
        EXPECT_EQ(DamageTypeColour[t].g, expected[t][1]);
        EXPECT_EQ(DamageTypeColour[t].b, expected[t][2]);
        EXPECT_EQ(DamageTypeColour[t].unused, 0);
    }
}

TEST(Statistics, NamesAndIconsKeepTheirIndices) {
    EXPECT_STREQ(PrimaryStatName(kPrimaryStubbornness), "stubbornness");
    EXPECT_STREQ(PrimaryStatIcon(kPrimaryStubbornness), "ui/icons/stat_stubborness.png");
    EXPECT_STREQ(PrimaryStatIcon(kPrimarySavvy), "ui/icons/stat_savvy.png");
    EXPECT_STREQ(SecondaryStatName(kStatSight), "sight");
    EXPECT_EQ(kStatSight, 18);
    EXPECT_STREQ(SecondaryStatName(kStatArmourAbsorption), "armourabsorption");
    EXPECT_STREQ(SecondaryStatIcon(kStatMagicResistance), "ui/icons/stat_magicresistance.png");
    EXPECT_STREQ(SecondaryStatName(23), "lathe");
    EXPECT_STREQ(SecondaryStatIcon(23), SecondaryStatIcon(15)) << "the lathe shows the wand-burn icon";
    for (int32_t i = 0; i < 23; ++i) {
        EXPECT_EQ(std::string(SecondaryStatIcon(i)), std::string("ui/icons/stat_") + SecondaryStatName(i) + ".png");
    }
    EXPECT_STREQ(SecondaryStatIcon(24), "");
    EXPECT_STREQ(PrimaryStatIcon(6), "");
}

TEST(Statistics, SkillTypeWordsAreExactAndDefaultToWarrior) {
    EXPECT_EQ(SkillTypeFromWord("warrior"), 0);
    EXPECT_EQ(SkillTypeFromWord("wizard"), 1);
    EXPECT_EQ(SkillTypeFromWord("rogue"), 2);
    EXPECT_EQ(SkillTypeFromWord("Warrior"), 0);
    EXPECT_EQ(SkillTypeFromWord("Rogue"), 0);
    EXPECT_EQ(SkillTypeFromWord(""), 0);
    EXPECT_STREQ(SkillTypeName(2), "rogue");
}

TEST(Statistics, CurrentValueRule) {
    struct Case {
        int32_t base, bonus, percent;
        bool keepNegative;
        int32_t want;
    };
    const Case cases[] = {
        {3, 0, 50, false, 1},     // halved, truncating
        {3, 4, 100, false, 7},
        {10, 5, 150, false, 22},
        {-5, 2, 100, false, 0},   // a negative sum ends at 0 whatever the percentage
        {-5, 2, 300, false, 0},
        {-5, 2, 100, true, -3},   // the hero's regeneration keeps it
        {-7, 0, 50, true, -3},    // truncation toward zero
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CurrentStatValue(c.base, c.bonus, c.percent, c.keepNegative), c.want)
            << c.base << " + " << c.bonus << " at " << c.percent << "%";
    }
    EXPECT_TRUE(HeroKeepsNegativeStat(kStatLifeRegen));
    EXPECT_TRUE(HeroKeepsNegativeStat(kStatManaRegen));
    EXPECT_FALSE(HeroKeepsNegativeStat(kStatLife));
}

}  // namespace
