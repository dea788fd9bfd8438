// The new-game screens' rules: difficulty rows, name characters, the skill grid's cells and
// "Last Choice".
#include <gtest/gtest.h>

#include <vector>

#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/choose_difficulty.h"
#include "interface/choose_hero.h"
#include "interface/choose_skills.h"
#include "media/screen.h"

namespace {

TEST(DifficultyScreen, RowsAreTestedFromTheTop) {
    struct Case {
        int32_t dx, dy;
        DifficultyClick want;
    };
    const Case cases[] = {
        {10, 77, kDifficultyNothing},         {10, 78, kDifficultyEasy},
        {10, 150, kDifficultyEasy},           {10, 158, kDifficultyEasy},
        {10, 160, kDifficultyNormal},         {10, 222, kDifficultyNormal},
        {10, 230, kDifficultyHard},           {10, 286, kDifficultyHard},
        {10, 290, kDifficultyNothing},        {10, 298, kDifficultyTogglePermadeath},
        {460, 400, kDifficultyToggleQuickie}, {461, 400, kDifficultyNothing},
        {-1, 400, kDifficultyNothing},        {0, 554, kDifficultyToggleExpansion},
        {0, 555, kDifficultyNothing},
    };
    for (const Case& c : cases) EXPECT_EQ(DifficultyClickAt(c.dx, c.dy), c.want) << c.dx << ", " << c.dy;
}

TEST(DifficultyScreen, ANewHeroComesWithPermadeathOffUntilTheBoxIsTicked) {
    // The screen shows and flips the hero's own flag; a player who never touches the box must
    // not lose the save on death.
    Player hero;
    EXPECT_EQ(hero.permadeath, 0);
    EXPECT_EQ(hero.difficulty, 1);
}

TEST(HeroScreen, NamesTakePrintableAsciiButTheRefusedCharacters) {
    struct Case {
        uint32_t c;
        bool accepted;
    };
    const Case cases[] = {
        {'a', true},  {'Z', true},    {' ', true},    {'0', true},   {'~', true},    {'-', true},
        {'.', false}, {'_', false},   {'<', false},   {'>', false},  {':', false},   {'"', false},
        {'\\', false}, {'/', false},  {'|', false},   {'?', false},  {'*', false},   {31, false},
        {127, false}, {0xE9, false},  {0x12E, false}, {0x22E, false}, {0x3A9, false}, {0x1F600, false},
    };
    // 0x12E and 0x22E have the low byte of '.' and '.'+0x100; 0x3A9 is an omega: the whole code
    // point is tested, not its low eight bits.
    for (const Case& c : cases) EXPECT_EQ(IsNameCharacterAccepted(c.c), c.accepted) << c.c;
}

class SkillGrid : public testing::Test {
protected:
    void SetUp() override {
        saved_ = SkillDB;
        savedScreen_ = ScreenSurface;
        ScreenSurface = nullptr;  // the menus lay out for 1280 x 720
        savedScroll_ = SkillScrollPosition;
        SkillScrollPosition = 0;
        SkillDB.clear();
        // Twelve real skills (3 deprecated) and the two pseudo-skills.
        for (int32_t i = 0; i < 12; ++i) {
            SkillRecord record;
            record.name = "Skill " + std::to_string(i);
            record.id = 100 + i;
            record.deprecated = i == 2 || i == 5 || i == 11 ? 1 : 0;
            SkillDB.push_back(record);
        }
        SkillRecord random;
        random.id = -2;
        SkillDB.push_back(random);
        SkillRecord last;
        last.id = -1;
        SkillDB.push_back(last);
    }
    void TearDown() override {
        SkillDB = saved_;
        ScreenSurface = savedScreen_;
        SkillScrollPosition = savedScroll_;
    }
    std::vector<SkillRecord> saved_;
    SDL_Surface* savedScreen_ = nullptr;
    int32_t savedScroll_ = 0;
};

TEST_F(SkillGrid, CellsSkipDeprecatedSkillsAndTheGridEdgesSelectNothing) {
    // The grid's corner: left + 116, top + 2 = (244, 62); cells 78 x 76.
    struct Case {
        int32_t x, y, position;
    };
    const Case cases[] = {
        {244, 62, 0},          {244 + 77, 62 + 75, 0}, {244 + 78, 62, 1},  {244 + 156, 62, 3},
        {244 + 78 * 6, 62, 8}, {244 + 78 * 8, 62, 10}, {244 + 78 * 9, 62, -1}, {243, 62, -1},
        {244, 61, -1},
        // Column 10 and row 5 lie outside the grid: x = left + 896, y = top + 382.
        {128 + 896, 62, -1},   {244, 60 + 382, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(SkillAtScreenPoint(c.x, c.y), c.position) << c.x << ", " << c.y;
    // The seventh cell shows position 8 (2 and 5 are skipped), at column 6.
    const HudPoint cell = SkillCellPosition(8);
    EXPECT_EQ(cell.x, 244 + 78 * 6);
    EXPECT_EQ(cell.y, 62);
    // Ten skills on, the first row is gone.
    SkillScrollPosition = 3;
    EXPECT_EQ(SkillAtScreenPoint(244, 62), 3);
    EXPECT_EQ(SkillAtScreenPoint(244 + 78, 62), 4);
    EXPECT_EQ(SkillAtScreenPoint(244 + 78 * 2, 62), 6);
}

TEST_F(SkillGrid, LastChoiceKeepsOnlyOfferedDistinctSkills) {
    struct Case {
        const char* what;
        std::vector<int32_t> codes;
        std::vector<int32_t> want;
    };
    const Case cases[] = {
        {"seven good ones", {0, 1, 3, 4, 6, 7, 8}, {0, 1, 3, 4, 6, 7, 8}},
        {"out of range, duplicate, pseudo-skills and deprecated ones go",
         {0, 99, 1, 1, -1, 12, 13, 2, 3},
         {0, 1, 3}},
        {"never more than seven", {0, 1, 3, 4, 6, 7, 8, 9, 10}, {0, 1, 3, 4, 6, 7, 8}},
        {"nothing left", {5, 11, 200}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FilterLastChoice(c.codes), c.want) << c.what;
}

}  // namespace
