// Tuning values: sections per difficulty, lookups, and the shipped tuning file.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <physfs.h>

#include "core/tweak.h"
#include "creatures/player.h"

namespace {

bool Load(const std::string& xml) {
    return LoadTweakValsFromBuffer(xml.data(), xml.size());
}

// Runs lookups as if a hero of the given difficulty were playing.
class TweakTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTweakVals();
        CurrentPlayer = nullptr;
    }
    void TearDown() override {
        CurrentPlayer = nullptr;
        ClearTweakVals();
    }
    void PlayAs(int32_t difficulty) {
        hero_.difficulty = difficulty;
        CurrentPlayer = &hero_;
    }
    int32_t IntAt(int32_t difficulty, const char* name) {
        PlayAs(difficulty);
        const int32_t value = GetTweakInt(name);
        CurrentPlayer = nullptr;
        return value;
    }
    float FloatAt(int32_t difficulty, const char* name) {
        PlayAs(difficulty);
        const float value = GetTweakFloat(name);
        CurrentPlayer = nullptr;
        return value;
    }
    Player hero_;
};

}  // namespace

TEST_F(TweakTest, GeneralValueThenHardSectionOverridesOnlyHard) {
    ASSERT_TRUE(Load(R"(<tweakDB>
        <tweak name="horde chance" ival="20" fval="2.5"/>
        <hard><tweak name="horde chance" ival="5" fval="0.5"/></hard>
    </tweakDB>)"));
    EXPECT_EQ(IntAt(0, "horde chance"), 20);
    EXPECT_EQ(IntAt(1, "horde chance"), 20);
    EXPECT_EQ(IntAt(2, "horde chance"), 5);
    EXPECT_FLOAT_EQ(FloatAt(0, "horde chance"), 2.5f);
    EXPECT_FLOAT_EQ(FloatAt(1, "horde chance"), 2.5f);
    EXPECT_FLOAT_EQ(FloatAt(2, "horde chance"), 0.5f);
}

TEST_F(TweakTest, LaterGeneralValueOverwritesEveryDifficulty) {
    ASSERT_TRUE(Load(R"(<tweakDB>
        <hard><tweak name="horde chance" ival="5" fval="0.5"/></hard>
        <tweak name="horde chance" ival="20" fval="2.5"/>
    </tweakDB>)"));
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(IntAt(d, "horde chance"), 20) << d;
        EXPECT_FLOAT_EQ(FloatAt(d, "horde chance"), 2.5f) << d;
    }
}

TEST_F(TweakTest, EachSectionFeedsItsOwnDifficultyAndClosesAtItsEnd) {
    ASSERT_TRUE(Load(R"(<tweakDB>
        <easy><tweak name="a" ival="1"/></easy>
        <medium><tweak name="a" ival="2"/></medium>
        <hard><tweak name="a" ival="3"/><tweak name="a" ival="4"/></hard>
        <tweak name="b" ival="9"/>
    </tweakDB>)"));
    EXPECT_EQ(IntAt(0, "a"), 1);
    EXPECT_EQ(IntAt(1, "a"), 2);
    EXPECT_EQ(IntAt(2, "a"), 4);  // the later one in the same section wins
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(IntAt(d, "b"), 9) << "after the section closed, values are general again";
    }
}

TEST_F(TweakTest, MissingAttributesReadAsZero) {
    ASSERT_TRUE(Load(R"(<tweakDB>
        <tweak name="only int" ival="7"/>
        <tweak name="only float" fval="1.75"/>
        <tweak name="not a number" ival="abc" fval="x"/>
        <tweak name="leading digits" ival="12abc" fval="3.5e"/>
        <tweak name="huge" ival="99999999999999"/>
    </tweakDB>)"));
    EXPECT_EQ(GetTweakInt("only int"), 7);
    EXPECT_FLOAT_EQ(GetTweakFloat("only int"), 0.0f);
    EXPECT_EQ(GetTweakInt("only float"), 0);
    EXPECT_FLOAT_EQ(GetTweakFloat("only float"), 1.75f);
    EXPECT_EQ(GetTweakInt("not a number"), 0);
    EXPECT_FLOAT_EQ(GetTweakFloat("not a number"), 0.0f);
    EXPECT_EQ(GetTweakInt("leading digits"), 12);
    EXPECT_FLOAT_EQ(GetTweakFloat("leading digits"), 3.5f);
    EXPECT_EQ(GetTweakInt("huge"), INT32_MAX);
}

TEST_F(TweakTest, UnknownNameGivesZeroAndIsEntered) {
    ASSERT_TRUE(Load(R"(<tweakDB><tweak name="known" ival="3" fval="3.0"/></tweakDB>)"));
    EXPECT_FALSE(TweakExists("misspelt"));
    EXPECT_EQ(GetTweakInt("misspelt"), 0);
    EXPECT_TRUE(TweakExists("misspelt"));
    EXPECT_FLOAT_EQ(GetTweakFloat("also unknown"), 0.0f);
    EXPECT_EQ(GetTweakInt(nullptr), 0);
    EXPECT_FLOAT_EQ(GetTweakFloat(nullptr), 0.0f);
    // Names are exact: case matters.
    EXPECT_EQ(GetTweakInt("Known"), 0);
    EXPECT_EQ(GetTweakInt("known"), 3);
}

TEST_F(TweakTest, DifficultyComesFromTheHeroAndOddValuesReadAsEasy) {
    ASSERT_TRUE(Load(R"(<tweakDB>
        <easy><tweak name="v" ival="10"/></easy>
        <medium><tweak name="v" ival="20"/></medium>
        <hard><tweak name="v" ival="30"/></hard>
    </tweakDB>)"));
    CurrentPlayer = nullptr;
    EXPECT_EQ(GetTweakInt("v"), 10) << "no hero: easy";
    EXPECT_EQ(IntAt(1, "v"), 20);
    EXPECT_EQ(IntAt(2, "v"), 30);
    EXPECT_EQ(IntAt(3, "v"), 10);
    EXPECT_EQ(IntAt(-1, "v"), 10);
    EXPECT_EQ(IntAt(1000000, "v"), 10);
}

TEST_F(TweakTest, BrokenDocumentKeepsWhatWasReadBeforeTheFault) {
    EXPECT_FALSE(Load(R"(<tweakDB>
        <tweak name="before" ival="4"/>
        <hard><tweak name="in hard" ival="5"/>
        <tweak name="broken" ival="6" <oops/>
        <tweak name="after" ival="7"/>
    </tweakDB>)"));
    EXPECT_EQ(GetTweakInt("before"), 4);
    EXPECT_EQ(IntAt(2, "in hard"), 5);
    EXPECT_FALSE(TweakExists("after"));
    // A fault inside a section does not leave it open for the next document.
    ASSERT_TRUE(Load(R"(<tweakDB><tweak name="next" ival="8"/></tweakDB>)"));
    EXPECT_EQ(IntAt(0, "next"), 8);
    EXPECT_EQ(IntAt(2, "next"), 8);
    EXPECT_FALSE(Load(""));
    EXPECT_FALSE(Load("not xml at all"));
}

TEST_F(TweakTest, OtherElementsAndAttributesAreIgnored) {
    ASSERT_TRUE(Load(R"(<root><group><tweak name="x" ival="2" other="9"/></group>
        <Tweak name="y" ival="3"/><HARD><tweak name="z" ival="4"/></HARD></root>)"));
    EXPECT_EQ(GetTweakInt("x"), 2);
    EXPECT_FALSE(TweakExists("y")) << "element names are exact";
    EXPECT_EQ(IntAt(0, "z"), 4) << "an unknown section name opens no section";
}

TEST_F(TweakTest, ClearEmptiesEveryDifficulty) {
    ASSERT_TRUE(Load(R"(<tweakDB><tweak name="x" ival="2"/></tweakDB>)"));
    ClearTweakVals();
    for (int d = 0; d < 3; ++d) {
        PlayAs(d);
        EXPECT_FALSE(TweakExists("x"));
    }
}

// Every value the game reads by name, with the ones whose zero breaks a rule
// (divisors, multipliers, "one chance in" counts, table sizes).
TEST_F(TweakTest, ShippedTuningFileDefinesEveryValue) {
    const std::string path = std::string(VAULTMERE_SOURCE_DIR) + "/data/game/tweakDB.xml";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_TRUE(Load(text.str()));

    const char* const everyName[] = {
        "tooltip border size", "experience n", "boss mob XP scaler", "lockpick exp",
        "trap XP scale", "zarnoch statue break exp", "artifact quality museum multiplier",
        "hpregenturns", "spregenturns", "bad dual wield penalty", "hit ammo drop percent",
        "monster level adder", "monster HP global scale", "monster additional HP percent per level",
        "monster additional HP per level", "corpse time", "monster hurt anim time",
        "monster loot drop chance", "gold drop per level", "midas scaler", "zorkmids per level",
        "store buy price scaler", "store sell price scaler", "vending machine scale", "max shops",
        "item power granting chance", "box muller std dev", "treasure roll size",
        "weapon roll min", "weapon roll max", "armour roll min", "armour roll max",
        "ring roll min", "ring roll max", "ammo roll min", "ammo roll max", "potion roll min",
        "potion roll max", "lockpick roll min", "lockpick roll max", "mushroom roll min",
        "mushroom roll max", "wand roll min", "wand roll max", "food roll min", "food roll max",
        "numstairs", "minimum number of treasures", "maximum additional treasures",
        "minimum food per level", "number of reagents per level", "num traps per level",
        "num shelves per level", "num quest statues", "num lutefisk statues",
        "zarnoch statues per level", "number of teleporters", "minimum blockers",
        "blocker number a", "blocker number b", "fountain chance", "dispenser chance",
        "uberchest chance", "evilchest chance", "bbq chance", "freezer chance",
        "minimum number of monsters in room", "maximum number of additional monsters",
        "additional monsters grace period", "additional number of monsters per room per level",
        "horde chance", "horde room grace period", "horde is overpowered change",
        "minimum horde size", "additional horde size", "named monster chance",
        "monster boost chance", "additional named monster primary point budget",
        "additional named monster secondary point budget",
        "additional named monster damage per level", "monsterspawnturns"};
    const char* const positiveInts[] = {
        "experience n", "hpregenturns", "spregenturns", "corpse time", "monster loot drop chance",
        "item power granting chance", "treasure roll size", "numstairs", "fountain chance",
        "dispenser chance", "uberchest chance", "evilchest chance", "bbq chance", "freezer chance",
        "horde chance", "horde is overpowered change", "named monster chance",
        "monster boost chance", "minimum horde size", "monsterspawnturns", "max shops"};
    const char* const positiveFloats[] = {
        "bad dual wield penalty", "monster HP global scale", "store buy price scaler",
        "store sell price scaler", "vending machine scale", "box muller std dev",
        "boss mob XP scaler"};
    for (int d = 0; d < 3; ++d) {
        PlayAs(d);
        for (const char* name : everyName) {
            EXPECT_TRUE(TweakExists(name)) << "difficulty " << d << ": " << name;
        }
        for (const char* name : positiveInts) {
            EXPECT_GT(GetTweakInt(name), 0) << "difficulty " << d << ": " << name;
        }
        for (const char* name : positiveFloats) {
            EXPECT_GT(GetTweakFloat(name), 0.0f) << "difficulty " << d << ": " << name;
        }
        // Buying never pays less than selling gives.
        EXPECT_GE(GetTweakFloat("store buy price scaler"), GetTweakFloat("store sell price scaler"));
        // The treasure ranges lie inside the roll, in order, without overlap.
        const char* const rows[] = {"weapon", "armour", "ring", "ammo", "potion",
                                    "lockpick", "mushroom", "wand", "food"};
        int32_t previousMax = -1;
        for (const char* row : rows) {
            const std::string base(row);
            const int32_t lo = GetTweakInt((base + " roll min").c_str());
            const int32_t hi = GetTweakInt((base + " roll max").c_str());
            EXPECT_EQ(lo, previousMax + 1) << row;
            EXPECT_GE(hi, lo) << row;
            previousMax = hi;
        }
        EXPECT_EQ(previousMax, GetTweakInt("treasure roll size") - 1);
    }
    CurrentPlayer = nullptr;
}

TEST_F(TweakTest, LoadTweakValsReadsTheGameFolderThroughTheFileSystem) {
    const bool wasInit = PHYSFS_isInit() != 0;
    if (!wasInit) {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
    }
    const std::string dataDir = std::string(VAULTMERE_SOURCE_DIR) + "/data";
    ASSERT_NE(PHYSFS_mount(dataDir.c_str(), "/", 0), 0) << PHYSFS_getLastError();
    LoadTweakVals();
    PHYSFS_unmount(dataDir.c_str());
    if (!wasInit) {
        PHYSFS_deinit();
    }
    EXPECT_TRUE(TweakExists("monsterspawnturns"));
    EXPECT_EQ(GetTweakInt("treasure roll size"), 100);
}
