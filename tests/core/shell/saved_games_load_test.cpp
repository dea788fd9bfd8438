// Whole saved games: the header and the byte-identical round trip, the index text and the
// save name of a continued autosave, long hero names, and loads of broken or hostile files
// that fail with a message and leave nothing behind.
#include <gtest/gtest.h>
#include <dirent.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/save_stream.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/level_change.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/levels/save_bytes.h"

// A placed class the registry has never heard of.
class UnrecordedTrinket : public GameObj {};

namespace {

std::map<std::string, std::string> FolderContents(const std::string& dir) {
    std::map<std::string, std::string> files;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return files;
    while (dirent* entry = readdir(d)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") files[name] = ReadWholeFile(dir + "/" + name);
    }
    closedir(d);
    return files;
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class SavedGameLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", user_.path().c_str());
        SaveSlots.clear();
    }
    void TearDown() override {
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        ClearActiveQuests();
        for (Spell* spell : SpellList) delete spell;
        SpellList.clear();
        SaveSlots.clear();
        env_.reset();
    }
    // A hero named "Hero" with seven skills on a small level of depth 0, two spells with cast
    // counters and one active quest.
    Player* StartGame(const std::string& name = "Hero") {
        Level* level = new Level(0, 0);
        level->SetSize(10, 10);
        for (int y = 1; y < 9; ++y)
            for (int x = 1; x < 9; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        level->GetCell(1, 1)->flags |= SquareFlag::Explored;
        GameLevels.push_back(level);
        CurrentLevel = level;
        Player* hero = new Player();
        CurrentPlayer = hero;
        hero->name = name;
        for (int i = 0; i < 7; ++i) hero->skillIds[i] = 10 + i;
        hero->PlaceOnLevel(4, 4, level, 0);
        (new GameObj())->PlaceOnLevel(6, 2, level, 0);
        for (int casts : {3, 0}) {
            Spell* spell = new Spell();
            spell->castCount = casts;
            SpellList.push_back(spell);
        }
        QuestRecord* quest = new QuestRecord();
        quest->name = "The Lost Spoon";
        quest->stage = 2;
        ActiveQuests.push_back(quest);
        return hero;
    }
    void EndGame() {
        EndCurrentGame();
        ClearActiveQuests();
        for (Spell* spell : SpellList) spell->castCount = 0;
    }
    std::string Read(const std::string& name) const { return ReadWholeFile(user_.file(name)); }
    bool Load(const std::string& name, std::string* printed = nullptr) {
        testing::internal::CaptureStdout();
        const bool loaded = LoadGame(name.c_str());
        const std::string out = testing::internal::GetCapturedStdout();
        if (printed != nullptr) *printed = out;
        return loaded;
    }
    static std::string SkillLines() {
        std::string lines;
        for (int i = 0; i < 7; ++i) lines += std::to_string(10 + i) + "\n";
        return lines;
    }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
};

TEST_F(SavedGameLoadTest, ASaveStartsWithItsHeaderAndSavesAgainByteForByteAfterALoad) {
    StartGame();
    ASSERT_TRUE(SaveGame("Hero.sav"));
    const std::string first = Read("Hero.sav");
    const SaveBytes head = SaveBytes().raw("ZNCH").i32(1).i32(0).i32(10).i32(2).i32(3).i32(0).i32(1).i32(1);
    ASSERT_GT(first.size(), head.size());
    EXPECT_EQ(first.substr(0, head.size()), Text(head.bytes));
    EndGame();

    std::string printed;
    ASSERT_TRUE(Load("Hero.sav", &printed)) << printed;
    ASSERT_NE(CurrentPlayer, nullptr);
    ASSERT_EQ(GameLevels.size(), 1u);
    EXPECT_EQ(CurrentLevel, GameLevels[0]);
    EXPECT_EQ(static_cast<GameObj*>(CurrentPlayer)->level, CurrentLevel);
    EXPECT_EQ(CurrentPlayer->x, 4);
    EXPECT_EQ(CurrentPlayer->y, 4);
    EXPECT_EQ(CurrentPlayer->saveName, "Hero.sav");
    EXPECT_EQ(SpellList[0]->castCount, 3);
    ASSERT_EQ(ActiveQuests.size(), 1u);
    EXPECT_EQ(ActiveQuests[0]->name, "The Lost Spoon");
    EXPECT_EQ(CurrentLevel->objects.size(), 2u);
    EXPECT_TRUE(CurrentLevel->GetCell(1, 1)->HasFlag(SquareFlag::Explored));

    ASSERT_TRUE(SaveGame("Again.sav"));
    EXPECT_EQ(Read("Again.sav"), first);
}

TEST_F(SavedGameLoadTest, TheIndexListsNewestFirstAndAContinuedAutosaveFindsItsOwnName) {
    StartGame();
    ASSERT_TRUE(SaveGame("Hero.sav"));
    ASSERT_TRUE(SaveGame("autosave.sav"));
    const std::string record = "\nHero the Adventurer\non Floor 1 of \n" + SkillLines();
    EXPECT_EQ(Read("loadsave.dat"), "2\nautosave.sav" + record + "Hero.sav" + record);
    EndGame();

    ASSERT_TRUE(Load("autosave.sav"));
    EXPECT_EQ(CurrentPlayer->saveName, "Hero.sav");
    EndGame();

    struct Case {
        const char* label;
        std::string index;
        const char* expected;
    };
    const std::string other = "\nHero the Adventurer\non Floor 0 of \n10\n11\n12\n13\n14\n15\n99\n";
    const Case cases[] = {
        {"one skill differs", "2\nautosave.sav" + record + "Hero.sav" + other, "Hero_1.sav"},
        {"the newest matching record wins", "3\nautosave.sav" + record + "Later.sav" + record + "Hero.sav" + record,
         "Later.sav"},
        {"another hero's name", "1\nHera.sav\nHera the Adventurer\non Floor 0 of \n" + SkillLines(), "Hero.sav"},
        {"no index", "", "Hero.sav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(user_.file("loadsave.dat"), c.index);
        ASSERT_TRUE(Load("autosave.sav"));
        EXPECT_EQ(CurrentPlayer->saveName, c.expected);
        EndGame();
    }
}

TEST_F(SavedGameLoadTest, LongHeroNamesKeepTheFilesAndTheIndexWithinTheirLimits) {
    const std::string longName(300, 'a');
    const std::string unique = MakeUniqueSaveFileName(longName.c_str());
    EXPECT_EQ(unique, std::string(200, 'a') + ".sav");
    EXPECT_LE(("bitmap_" + unique).size(), 255u);
    // A cut never splits a letter.
    const std::string accented = std::string(199, 'a') + "\xc3\xa9" + "b";
    EXPECT_EQ(MakeUniqueSaveFileName(accented.c_str()), std::string(199, 'a') + ".sav");

    Player* hero = StartGame(longName);
    hero->saveName = unique;
    ASSERT_TRUE(SaveGame(unique.c_str()));
    ASSERT_TRUE(SaveGame("autosave.sav"));
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 2u);
    EXPECT_EQ(SaveSlots[1].fileName, unique);
    EndGame();
    ASSERT_TRUE(Load("autosave.sav"));
    EXPECT_EQ(CurrentPlayer->saveName, unique);
}

TEST_F(SavedGameLoadTest, BrokenAndHostileSavesFailWithAMessageAndLeaveNothingBehind) {
    StartGame();
    ASSERT_TRUE(SaveGame("good.sav"));
    const std::string good = Read("good.sav");
    // A game of the same shape without its hero.
    delete CurrentPlayer;
    CurrentPlayer = nullptr;
    ASSERT_TRUE(SaveGame("nohero.sav"));
    EndGame();

    const uint32_t heroKey = GetRegisteredClassHash("Player");
    std::string unknownKey = good;
    const std::string keyBytes = Text(SaveBytes().i32(heroKey).bytes);
    const size_t keyAt = unknownKey.find(keyBytes);
    ASSERT_NE(keyAt, std::string::npos);
    unknownKey.replace(keyAt, 4, Text(SaveBytes().i32(0x0BADC1A5).bytes));
    const auto withWord = [&](size_t offset, int32_t value) {
        std::string patched = good;
        patched.replace(offset, 4, Text(SaveBytes().i32(value).bytes));
        return patched;
    };
    struct Case {
        const char* label;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"wrong magic", "ZNCX" + good.substr(4), "is not a saved game"},
        {"legacy file cut after its spell count", Text(SaveBytes().raw("ZNRC").i32(0).bytes), "damaged"},
        {"cut after 16 bytes", good.substr(0, 16), "damaged"},
        {"cut in the middle of a level", good.substr(0, good.size() / 2), "damaged"},
        {"hostile spell count", withWord(16, 0x7FFFFFF0), "count"},
        {"hostile level count", withWord(28, 0x7FFFFFF0), "count"},
        {"hostile quest count", withWord(32, 0x10000000), "count"},
        {"negative level count", withWord(28, -1), "negative count"},
        {"unknown class key", unknownKey, "unknown class key"},
        {"no hero", Read("nohero.sav"), "holds no hero"},
        {"no level", Text(SaveBytes().raw("ZNCH").i32(1).i32(0).i32(10).i32(0).i32(0).i32(0).bytes), "holds no hero"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(user_.file("broken.sav"), c.bytes);
        const std::map<std::string, std::string> before = FolderContents(user_.path());
        std::string printed;
        EXPECT_FALSE(Load("broken.sav", &printed));
        EXPECT_NE(printed.find(c.message), std::string::npos) << printed;
        EXPECT_EQ(CurrentPlayer, nullptr);
        EXPECT_EQ(CurrentLevel, nullptr);
        EXPECT_TRUE(GameLevels.empty());
        EXPECT_TRUE(ActiveQuests.empty());
        EXPECT_EQ(FolderContents(user_.path()), before);
    }
}

// A save cut at any byte, the empty file included, fails as a whole: nothing of it is played
// and nothing is read past its end.
TEST_F(SavedGameLoadTest, ASaveCutAtAnyByteFailsAndLeavesNothingBehind) {
    StartGame();
    ASSERT_TRUE(SaveGame("good.sav"));
    const std::string good = Read("good.sav");
    EndGame();
    for (size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut) + " of " + std::to_string(good.size()));
        WriteWholeFile(user_.file("cut.sav"), good.substr(0, cut));
        std::string printed;
        EXPECT_FALSE(Load("cut.sav", &printed));
        EXPECT_TRUE(printed.find("damaged") != std::string::npos || printed.find("not a saved game") != std::string::npos ||
                    printed.find("holds no") != std::string::npos)
            << printed;
        EXPECT_EQ(CurrentPlayer, nullptr);
        EXPECT_TRUE(GameLevels.empty());
        EXPECT_TRUE(ActiveQuests.empty());
        if (HasFailure()) break;
    }
    WriteWholeFile(user_.file("cut.sav"), good);
    EXPECT_TRUE(Load("cut.sav")) << "the whole file still loads";
}

// A save is read whole into memory: a file far larger than any game (here a sparse one, which
// costs no disk) is refused before anything is allocated, and one just below the limit that
// holds no game fails as damaged without reading past its end.
TEST_F(SavedGameLoadTest, AFileLargerThanAnySaveIsRefusedBeforeItIsRead) {
    StartGame();
    ASSERT_TRUE(SaveGame("good.sav"));
    const std::string good = Read("good.sav");
    EndGame();
    struct Case {
        const char* label;
        off_t size;
        const char* message;
    };
    const Case cases[] = {
        {"over the limit", static_cast<off_t>(kMaxSaveFileBytes) + 1, "is not a saved game"},
        {"a save with a long tail of zeros", static_cast<off_t>(good.size()) + 4096, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(user_.file("big.sav"), good);
        ASSERT_EQ(truncate(user_.file("big.sav").c_str(), c.size), 0);
        std::string printed;
        const bool loaded = Load("big.sav", &printed);
        if (c.message == nullptr) {
            // What follows the game is never read.
            EXPECT_TRUE(loaded) << printed;
            EndGame();
            continue;
        }
        EXPECT_FALSE(loaded);
        EXPECT_NE(printed.find(c.message), std::string::npos) << printed;
        EXPECT_NE(printed.find(std::to_string(c.size) + " bytes"), std::string::npos) << printed;
        EXPECT_EQ(CurrentPlayer, nullptr);
        EXPECT_TRUE(GameLevels.empty());
    }
}

TEST_F(SavedGameLoadTest, AWholeLegacyFileIsReadAsTheOldestVersion) {
    StartGame();
    SaveWriter out;
    out.version = SaveVersion{1, 0, 1};
    out.WriteBytes("ZNRC", 4);
    out.WriteInt32(0);
    out.WriteInt32(1);
    out.WriteInt32(0);
    ASSERT_TRUE(CurrentLevel->Save(out));
    EndGame();
    WriteWholeFile(user_.file("old.sav"), Text(out.Buffer()));
    std::string printed;
    ASSERT_TRUE(Load("old.sav", &printed)) << printed;
    EXPECT_EQ(CurrentPlayer->name, "Hero");
    EXPECT_EQ(CurrentPlayer->x, 4);
    EXPECT_EQ(CurrentPlayer->saveName, "old.sav");
}

TEST_F(SavedGameLoadTest, AHeroLoadedInAShopHearsTheShopTuneAndElsewhereTheShopFlagIsCleared) {
    struct Case {
        const char* label;
        uint8_t square;
        int32_t shopFlagBefore;
        int32_t shopFlagAfter;
        bool held;
    };
    const Case cases[] = {
        {"on a shop square", SquareType::ShopFloor, 0, 1, true},
        {"on plain floor", SquareType::Floor, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        StartGame();
        CurrentLevel->GetCell(4, 4)->type = c.square;
        ASSERT_TRUE(SaveGame("shop.sav"));
        EndGame();
        HeroInShopFlag = c.shopFlagBefore;
        HeldTrackFlag = false;
        ASSERT_TRUE(Load("shop.sav"));
        EXPECT_EQ(HeroInShopFlag, c.shopFlagAfter);
        EXPECT_EQ(HeldTrackFlag, c.held);
        EndGame();
        HeroInShopFlag = 0;
        HeldTrackFlag = false;
    }
}

TEST_F(SavedGameLoadTest, AGameHoldingAnObjectWithoutASaveRecordIsNotSavedAndTheOldSaveStays) {
    StartGame();
    ASSERT_TRUE(SaveGame("autosave.sav"));
    const std::string previous = Read("autosave.sav");
    const std::string index = Read("loadsave.dat");
    (new UnrecordedTrinket())->PlaceOnLevel(2, 2, CurrentLevel, 0);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveGame("autosave.sav"));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("a UnrecordedTrinket on floor 0 at (2, 2) has no save record"), std::string::npos) << printed;
    EXPECT_EQ(Read("autosave.sav"), previous);
    EXPECT_EQ(Read("loadsave.dat"), index);
    EXPECT_FALSE(FileExists(user_.file("autosave.sav.tmp")));
}

}  // namespace
