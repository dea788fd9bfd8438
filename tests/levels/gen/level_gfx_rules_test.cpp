// The ordered tile rules of the level graphics pass: each case is a 3x3 neighbourhood and the
// tile names the centre square must get. Every case is checked twice: against the rule
// function alone, and through the whole pass on a 3x3 level built from the same picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "levels/level.h"
#include "levels/gen/level_gfx.h"
#include "tests/levels/level_gfx_test_branch.h"
#include "tests/levels/level_test_map.h"

namespace {

using gfxtest::TestBranch;

// A neighbourhood drawn as three rows of three letters; 'o' marks an open neighbour (tops)
// or a dry one (liquids), the centre letter is ignored.
struct MaskCase {
    int rule;
    const char* rows[3];
    const char* base;
    const char* second;  // liquids only: the wall-layer tile, "" for none
};

uint8_t MaskOf(const MaskCase& c) {
    static const uint8_t kBits[3][3] = {{Neighbour::UL, Neighbour::U, Neighbour::UR},
                                        {Neighbour::L, 0, Neighbour::R},
                                        {Neighbour::DL, Neighbour::D, Neighbour::DR}};
    uint8_t mask = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            if (c.rows[y][x] == 'o') mask |= kBits[y][x];
    return mask;
}

std::string Describe(const MaskCase& c) {
    return "rule " + std::to_string(c.rule) + " [" + c.rows[0] + "|" + c.rows[1] + "|" + c.rows[2] + "]";
}

// ---------------------------------------------------------------------------------------------
// Tops: 'o' open (floor in the level), '#' closed (rock, which gets a top tile).

const std::vector<MaskCase>& TopCases() {
    static const std::vector<MaskCase> cases = {
        {1, {"#o#", "oXo", "#o#"}, "top_allfour", ""},
        {2, {"#o#", "oXo", "###"}, "top_cup_lur", ""},
        {3, {"#o#", "oX#", "#o#"}, "top_cup_dlu", ""},
        {4, {"#o#", "#Xo", "#o#"}, "top_cup_dru", ""},
        {5, {"###", "oXo", "#o#"}, "top_cup_ldr", ""},
        {6, {"oo#", "oX#", "##o"}, "top_adj_ul", ""},
        {7, {"#oo", "#Xo", "o##"}, "top_adj_ur", ""},
        {8, {"o##", "#Xo", "#oo"}, "top_adj_dr", ""},
        {9, {"##o", "oX#", "oo#"}, "top_adj_dl", ""},
        {10, {"oo#", "oX#", "###"}, "top_ul", ""},
        {11, {"#oo", "#Xo", "###"}, "top_ur", ""},
        {12, {"###", "#Xo", "#oo"}, "top_dr", ""},
        {13, {"###", "oX#", "oo#"}, "top_dl", ""},
        {14, {"##o", "oX#", "##o"}, "top_l_add_ud", ""},
        {14, {"##o", "oX#", "#oo"}, "top_adj_dl", ""},  // D open
        {15, {"o##", "#Xo", "o##"}, "top_r_add_ud", ""},
        {15, {"o##", "#Xo", "oo#"}, "top_adj_dr", ""},  // D open
        {16, {"#o#", "#X#", "o#o"}, "top_u_add_lr", ""},
        {17, {"o#o", "#X#", "#o#"}, "top_d_add_lr", ""},
        {18, {"###", "oXo", "###"}, "top_lr", ""},
        {19, {"#o#", "#X#", "#o#"}, "top_ud", ""},
        {20, {"o##", "#Xo", "###"}, "top_r_add_u", ""},
        {21, {"###", "#Xo", "o##"}, "top_r_add_d", ""},
        {21, {"###", "#Xo", "oo#"}, "top_dr", ""},  // D open
        {22, {"##o", "oX#", "###"}, "top_l_add_u", ""},
        {23, {"###", "oX#", "##o"}, "top_l_add_d", ""},
        {23, {"###", "oX#", "#oo"}, "top_dl", ""},  // D open
        {24, {"#o#", "#X#", "##o"}, "top_u_add_r", ""},
        {25, {"#o#", "#X#", "o##"}, "top_u_add_l", ""},
        {26, {"##o", "#X#", "#o#"}, "top_d_add_r", ""},
        {26, {"##o", "#Xo", "#o#"}, "top_dr", ""},  // R open
        {27, {"o##", "#X#", "#o#"}, "top_d_add_l", ""},
        {28, {"###", "#Xo", "#o#"}, "top_dr", ""},
        {29, {"###", "oX#", "oo#"}, "top_dl", ""},  // the same picture as rule 13
        {30, {"#o#", "#X#", "###"}, "top_u", ""},
        {30, {"ooo", "#X#", "###"}, "top_u", ""},  // a side wins over the diagonals
        {31, {"###", "oX#", "###"}, "top_l", ""},
        {32, {"###", "#Xo", "###"}, "top_r", ""},
        {33, {"###", "#X#", "#o#"}, "top_d", ""},
        {34, {"o#o", "#X#", "###"}, "top_dia_ul_ur", ""},
        {35, {"##o", "#X#", "##o"}, "top_dia_ur_dr", ""},
        {36, {"o##", "#X#", "o##"}, "top_dia_ul_dl", ""},
        {37, {"###", "#X#", "o#o"}, "top_dia_dl_dr", ""},
        {38, {"o##", "#X#", "###"}, "top_dia_ul", ""},
        {39, {"##o", "#X#", "###"}, "top_dia_ur", ""},
        {40, {"###", "#X#", "o##"}, "top_dia_dl", ""},
        {41, {"###", "#X#", "##o"}, "top_dia_dr", ""},
        {0, {"###", "#X#", "###"}, "top_c", ""},
    };
    return cases;
}

TEST(LevelGfxRules, TopRulesPickTheFirstMatchingTile) {
    for (const MaskCase& c : TopCases()) {
        EXPECT_STREQ(LevelTileName(TopTileForOpenNeighbours(MaskOf(c))), c.base) << Describe(c);
    }
}

TEST(LevelGfxRules, TopRulesCoverEveryTopTileName) {
    std::vector<std::string> expected;
    for (int t = 0; t < static_cast<int>(LevelTile::Count); ++t) {
        const std::string name = LevelTileName(static_cast<LevelTile>(t));
        if (name.compare(0, 4, "top_") == 0) expected.push_back(name);
    }
    for (const std::string& name : expected) {
        bool found = false;
        for (const MaskCase& c : TopCases()) found = found || name == c.base;
        EXPECT_TRUE(found) << name;
    }
    // Every one of the 256 neighbourhoods has an answer from the top family.
    for (int mask = 0; mask < 256; ++mask) {
        const std::string name = LevelTileName(TopTileForOpenNeighbours(static_cast<uint8_t>(mask)));
        EXPECT_EQ(name.compare(0, 4, "top_"), 0) << mask;
    }
}

TEST(LevelGfxRules, TopRulesThroughTheGraphicsPass) {
    TestBranch branch;
    for (const MaskCase& c : TopCases()) {
        std::vector<std::string> rows(3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) rows[y] += (x == 1 && y == 1) ? ' ' : (c.rows[y][x] == 'o' ? '.' : ' ');
        Level level(0, 1);
        FillLevelFromMap(level, rows);
        GenLevelGFXRep(&level, 0, 0, 3, 3);
        EXPECT_EQ(branch.NameOf(level.TopTile(1, 1)), c.base) << Describe(c);
        EXPECT_EQ(level.BaseTile(1, 1), nullptr) << Describe(c);
    }
}

// ---------------------------------------------------------------------------------------------
// Liquid edges: 'o' dry (floor in the level), '~' liquid.

const std::vector<MaskCase>& LiquidCases() {
    static const std::vector<MaskCase> cases = {
        {1, {"~o~", "oXo", "~~~"}, "water_vert_cap_t", ""},
        {2, {"~~~", "oXo", "~o~"}, "water_vert_cap_b", ""},
        {3, {"~o~", "oX~", "~o~"}, "water_horiz_cap_l", ""},
        {4, {"~o~", "~Xo", "~o~"}, "water_horiz_cap_r", ""},
        {5, {"ooo", "~X~", "~o~"}, "water_horiz", ""},
        {6, {"~o~", "~X~", "ooo"}, "water_horiz", ""},
        {7, {"o~~", "oXo", "o~~"}, "water_vert", ""},
        {8, {"~~o", "oXo", "~~o"}, "water_vert", ""},
        {9, {"oo~", "oX~", "~~o"}, "water_cap_corner_dr", ""},
        {10, {"~oo", "~Xo", "o~~"}, "water_cap_corner_dl", ""},
        {11, {"~~o", "oX~", "oo~"}, "water_cap_corner_ur", ""},
        {12, {"o~~", "~Xo", "~oo"}, "water_cap_corner_ul", ""},
        {13, {"o~o", "~Xo", "o~o"}, "water_r", "water_corner_ul_dl"},
        {14, {"o~o", "oX~", "o~o"}, "water_l", "water_corner_ur_dr"},
        {15, {"~~o", "~X~", "ooo"}, "water_d", "water_corner_ur"},
        {15, {"~~o", "~Xo", "ooo"}, "water_dr", ""},  // R dry
        {16, {"ooo", "~X~", "o~~"}, "water_u", "water_corner_dl"},
        {16, {"ooo", "oX~", "o~~"}, "water_ul", "water_corner_dl"},  // L dry
        {16, {"ooo", "~X~", "o~o"}, "water_u", "water_corner_dl_dr"},  // DR dry
        {17, {"ooo", "~X~", "~~o"}, "water_u", "water_corner_dr"},
        {17, {"ooo", "~Xo", "~~o"}, "water_ur", "water_corner_dr"},  // R dry
        {18, {"o~~", "~X~", "ooo"}, "water_d", "water_corner_ul"},
        {18, {"o~~", "oX~", "ooo"}, "water_dl", ""},  // L dry: the wall layer is cleared
        {19, {"o~o", "~Xo", "~~o"}, "water_r", "water_corner_ul"},
        {20, {"o~o", "oX~", "o~~"}, "water_l", "water_corner_ur"},
        {21, {"oo~", "oX~", "~~~"}, "water_ul", ""},
        {22, {"~oo", "~Xo", "~~~"}, "water_ur", ""},
        {23, {"~~~", "~Xo", "~oo"}, "water_dr", ""},
        {24, {"~~~", "oX~", "oo~"}, "water_dl", ""},
        {25, {"~~o", "oX~", "~~o"}, "water_l_ur_dr", ""},
        {26, {"o~~", "~Xo", "o~~"}, "water_r_ul_dl", ""},
        {27, {"o~o", "~X~", "~o~"}, "water_d_ul_ur", ""},
        {28, {"~o~", "~X~", "o~o"}, "water_u_dl_dr", ""},
        {29, {"~~~", "oXo", "~~~"}, "water_vert", ""},
        {30, {"~o~", "~X~", "~o~"}, "water_horiz", ""},
        {31, {"~~o", "oX~", "~~~"}, "water_l_ur", ""},
        {32, {"~~~", "oX~", "~~o"}, "water_l_dr", ""},
        {33, {"~oo", "~X~", "~~o"}, "water_u", "water_corner_ur_dr"},
        {34, {"o~o", "~Xo", "~~~"}, "water_r", "water_corner_ul"},
        {35, {"o~o", "~X~", "~~~"}, "water_corner_ul_ur", ""},
        {35, {"o~o", "~X~", "o~~"}, "water_corner_ul_ur", "water_corner_dl"},
        {35, {"o~o", "~X~", "~~o"}, "water_corner_ul_ur", "water_corner_dr"},
        {35, {"o~o", "~X~", "o~o"}, "water_corner_ul_ur", "water_corner_dl_dr"},
        {36, {"~~~", "~Xo", "o~o"}, "water_r", "water_corner_dl_dr"},  // R dry
        {36, {"~~~", "~X~", "o~o"}, "water_corner_dl_dr", ""},
        {36, {"~~o", "~X~", "o~o"}, "water_corner_dl_dr", "water_corner_ur"},
        {37, {"oo~", "~X~", "o~~"}, "water_u", "water_corner_dl"},  // U dry
        {37, {"o~~", "~X~", "o~~"}, "water_corner_ul_dl", ""},
        {38, {"~~o", "~X~", "~~o"}, "water_corner_ur_dr", ""},
        {39, {"~~~", "~X~", "~o~"}, "water_d", ""},
        {39, {"~~o", "~X~", "~o~"}, "water_d", "water_corner_ur"},
        {40, {"~~~", "~X~", "~~~"}, "water", ""},
        {40, {"o~~", "~X~", "~~o"}, "water_corner_ul", ""},  // UL comes first
        {40, {"~~o", "~X~", "~~~"}, "water_corner_ur", ""},
        {40, {"~~~", "~X~", "o~~"}, "water_corner_dl", ""},
        {40, {"~~~", "~X~", "~~o"}, "water_corner_dr", ""},
        {41, {"~~~", "~Xo", "~~~"}, "water_r", ""},
        {41, {"~~~", "~Xo", "o~~"}, "water_r", "water_corner_dl"},
        {41, {"o~~", "~Xo", "~~~"}, "water_r", "water_corner_ul"},
        {42, {"~~~", "oX~", "~~~"}, "water_l", ""},
        {43, {"~o~", "~X~", "~~~"}, "water_u", ""},
        {43, {"~o~", "~X~", "~~o"}, "water_u", "water_corner_dr"},
        {43, {"~o~", "~X~", "o~~"}, "water_u", "water_corner_dl"},
    };
    return cases;
}

TEST(LevelGfxRules, LiquidRulesPickTheFirstMatchingTiles) {
    for (const MaskCase& c : LiquidCases()) {
        const LiquidEdgeTiles tiles = LiquidTilesForDryNeighbours(MaskOf(c));
        EXPECT_STREQ(LevelTileName(tiles.base), c.base) << Describe(c);
        EXPECT_STREQ(LevelTileName(tiles.second), c.second) << Describe(c);
    }
}

TEST(LevelGfxRules, EveryLiquidNeighbourhoodGetsALiquidTile) {
    for (int mask = 0; mask < 256; ++mask) {
        const LiquidEdgeTiles tiles = LiquidTilesForDryNeighbours(static_cast<uint8_t>(mask));
        const std::string base = LevelTileName(tiles.base);
        const std::string second = LevelTileName(tiles.second);
        EXPECT_EQ(base.compare(0, 5, "water"), 0) << mask;
        EXPECT_TRUE(second.empty() || second.compare(0, 13, "water_corner_") == 0) << mask;
    }
}

TEST(LevelGfxRules, LiquidRulesThroughTheGraphicsPass) {
    TestBranch branch;
    for (const MaskCase& c : LiquidCases()) {
        std::vector<std::string> rows(3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) rows[y] += (x == 1 && y == 1) ? '~' : (c.rows[y][x] == 'o' ? '.' : '~');
        Level level(0, 1);
        FillLevelFromMap(level, rows);
        GenLevelGFXRep(&level, 0, 0, 3, 3);
        EXPECT_EQ(branch.NameOf(level.BaseTile(1, 1)), c.base) << Describe(c);
        EXPECT_EQ(branch.NameOf(level.WallTile(1, 1)), c.second) << Describe(c);
        EXPECT_EQ(level.TopTile(1, 1), nullptr) << Describe(c);
    }
}

TEST(LevelGfxRules, EveryLiquidKindTakesTheEdgeRulesAndTheGridEdgeIsDry) {
    TestBranch branch;
    for (char letter : {'~', 'L', 'G', 'I'}) {
        Level level(0, 1);
        FillLevelFromMap(level, {std::string(1, letter)});
        GenLevelGFXRep(&level, 0, 0, 1, 1);
        // Every neighbour lies outside the grid: dry all round, the first rule.
        EXPECT_EQ(branch.NameOf(level.BaseTile(0, 0)), "water_vert_cap_t") << letter;
    }
    Level mixed(0, 1);
    FillLevelFromMap(mixed, {"LGI", "~~~", "I~G"});
    GenLevelGFXRep(&mixed, 0, 0, 3, 3);
    EXPECT_EQ(branch.NameOf(mixed.BaseTile(1, 1)), "water");  // liquids of any kind join up
}

}  // namespace
