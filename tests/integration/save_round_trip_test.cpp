// A save loaded by the game itself with -load-filename= plays on and its next autosave is the
// same file byte for byte; saves that cannot be loaded end the program with code 3 and a
// message, and leave the user folder as it was.
#include <gtest/gtest.h>
#include <dirent.h>

#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "core/shell/game_lifecycle.h"
#include "core/class_registry.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "interface/menu_main.h"
#include "creatures/player.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"
#include "tests/levels/save_bytes.h"

namespace {

const char* const kQuitScript = "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\n";

std::map<std::string, std::string> FolderContents(const std::string& dir) {
    std::map<std::string, std::string> files;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return files;
    while (dirent* entry = readdir(d)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "script.txt") files[name] = ReadWholeFile(dir + "/" + name);
    }
    closedir(d);
    return files;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Saves a small game of our own (a hero on an open level of depth 0 with the branch of the
// game's data) into the user folder under that name.
void MakeSave(const std::string& userDir, const std::string& name, bool withHero = true) {
    InProcessGame game(userDir);
    ASSERT_TRUE(game.loaded());
    Level* level = new Level(0, 0);
    level->SetSize(20, 20);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 19; ++x) level->GetCell(x, y)->type = SquareType::Floor;
    GameLevels.push_back(level);
    CurrentLevel = level;
    if (withHero) {
        Player* hero = new Player();
        hero->name = "Hero";
        hero->permadeath = 1;  // left through the settings window's second button
        for (int i = 0; i < 7; ++i) hero->skillIds[i] = i;
        CurrentPlayer = hero;
        hero->PlaceOnLevel(9, 9, level, 0);
    }
    testing::internal::CaptureStdout();
    const bool saved = SaveGame(name.c_str());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(saved);
}

// Loads the save under that name, waits past the autosave with no input and quits.
GameRun LoadAndWaitForTheAutosave(const TempDir& user, const std::string& name) {
    WriteWholeFile(user.file("script.txt"), std::string("wait 301000\n") + kQuitScript + kQuitFromMenuScript);
    return RunGame({"-no-initial-config", "-load-filename=" + name}, user.path(),
                   {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "500"}});
}

// A copy of the autosave, loaded and left until its next autosave, writes the same bytes.
void ExpectACopyAutosavesTheSameBytes(const TempDir& user, const std::string& autosave) {
    WriteWholeFile(user.file("copy.sav"), autosave);
    GameRun second = LoadAndWaitForTheAutosave(user, "copy.sav");
    ASSERT_EQ(second.exitCode, 0) << TailOf(second.output);
    const std::string again = ReadWholeFile(user.file("autosave.sav"));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(again.begin(), again.end()),
                                  std::vector<uint8_t>(autosave.begin(), autosave.end())),
              "");
}

TEST(SaveRoundTrip, ALoadedGameAutosavesTheSameBytesItWasLoadedFrom) {
    TempDir user;
    MakeSave(user.path(), "Hero.sav");
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // The game's own autosave of our save (with the game's spells), then a load of a copy of it.
    GameRun first = LoadAndWaitForTheAutosave(user, "Hero.sav");
    ASSERT_EQ(first.exitCode, 0) << first.output.substr(first.output.size() > 3000 ? first.output.size() - 3000 : 0);
    const std::string autosave = ReadWholeFile(user.file("autosave.sav"));
    ASSERT_GT(autosave.size(), 16u);
    EXPECT_EQ(autosave.substr(0, 16), std::string("ZNCH\x01\0\0\0\0\0\0\0\x0a\0\0\0", 16));
    ExpectACopyAutosavesTheSameBytes(user, autosave);
}

TEST(SaveRoundTrip, SavesThatCannotBeLoadedEndTheProgramWithCodeThreeAndTouchNothing) {
    TempDir user;
    MakeSave(user.path(), "good.sav");
    MakeSave(user.path(), "nohero.sav", false);
    const std::string good = ReadWholeFile(user.file("good.sav"));
    // The hero's class key replaced by one that no class has.
    std::string unknownKey = good;
    const uint32_t heroKey = GetRegisteredClassHash("Player");
    const std::string heroKeyBytes(reinterpret_cast<const char*>(&heroKey), 4);  // little-endian host
    const size_t keyAt = unknownKey.find(heroKeyBytes);
    ASSERT_NE(keyAt, std::string::npos);
    unknownKey.replace(keyAt, 4, std::string("\x01\x02\x03\x04", 4));
    const std::map<std::string, std::string> cases = {
        {"unknown.sav", unknownKey},
        {"nohero.sav", ReadWholeFile(user.file("nohero.sav"))},
        {"magic.sav", "ZNCX" + good.substr(4)},
        {"short.sav", good.substr(0, 16)},
        {"legacy.sav", std::string("ZNRC\0\0\0\0", 8)},
        {"hostile.sav", good.substr(0, 16) + std::string("\xf0\xff\xff\x7f", 4) + good.substr(20)},
    };
    for (const auto& c : cases) WriteWholeFile(user.file(c.first), c.second);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const std::map<std::string, std::string> before = FolderContents(user.path());
        GameRun run = RunGame({"-no-initial-config", "-load-filename=" + c.first}, user.path(), {}, 60);
        EXPECT_EQ(run.exitCode, 3) << run.output;
        EXPECT_TRUE(Contains(run.output, "Couldn't load filename " + c.first)) << run.output;
        EXPECT_TRUE(Contains(run.output, "LoadGame: ")) << run.output;
        std::map<std::string, std::string> after = FolderContents(user.path());
        // The program's own start-up files come and go; the saves and the index stay.
        for (const char* own : {"config.xml", "log.log", "lastlog.log", "cookie.txt", "hiscores.txt", "store"}) {
            after.erase(own);
        }
        for (const auto& file : after) {
            if (before.count(file.first) != 0) {
                EXPECT_EQ(file.second, before.at(file.first)) << file.first;
            }
        }
        for (const auto& file : before) {
            if (file.first.size() > 4 && file.first.substr(file.first.size() - 4) == ".sav") {
                EXPECT_EQ(after.count(file.first), 1u) << file.first;
            }
        }
    }
}

// The int32 at that offset of a save (little-endian).
int32_t WordAt(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return static_cast<int32_t>(value);
}

// What the hero record of a save says of the hero named there: difficulty and permadeath
// follow the name and the facing; the female word is the first of the record's last three
// fields (female, extended content, an empty cursor), which end the hero's square before
// its mine count 0 and the square's end marker.
struct SavedHero {
    int32_t difficulty = -1;
    int32_t permadeath = -1;
    int32_t female = -1;
};

SavedHero ReadSavedHero(const std::string& save, const std::string& name) {
    SavedHero hero;
    std::string record(4, '\0');
    record[0] = static_cast<char>(name.size());
    record += name;
    const size_t at = save.find(record);
    if (at == std::string::npos) return hero;
    const size_t fields = at + record.size();
    hero.difficulty = WordAt(save, fields + 4);
    hero.permadeath = WordAt(save, fields + 8);
    const size_t marker = save.find(std::string("\x0d\xf0\xad\xba", 4), fields);
    if (marker == std::string::npos || marker < fields + 13 || WordAt(save, marker - 4) != 0 || save[marker - 5] != 0) {
        return hero;
    }
    hero.female = WordAt(save, marker - 13);
    return hero;
}

// Leaves a permadeath hero's game through the settings window's save-and-quit, then quits
// from the main menu.
const char* const kSaveAndQuitScript =
    kLeaveGameScript;

}  // namespace

TEST(SaveRoundTrip, AHeroMadeOnTheCreationScreensLoadsAsChosenAndSavesTheSameBytesAgain) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    const MainMenuLayout menu = ComputeMainMenuLayout(1280, 720);
    std::ostringstream create;
    create << "wait 500\nclick 1 " << menu.buttonX + 100 << " " << menu.ButtonTop(0) + 20 << "\n";
    // Difficulty "hard" with the permadeath box (unticked for a new hero) ticked; "Random
    // Skills" and Done; "Testa" with the female portrait; the two intro pictures.
    create << "wait 300\nclick 1 500 310\nwait 100\nclick 1 410 370\nwait 100\nclick 1 1230 30\nwait 300\n";
    create << "click 1 978 490\nwait 300\nclick 1 1230 30\nwait 300\n";
    create << "key t shift\nkey e\nkey s\nkey t\nkey a\nwait 100\nclick 1 723 519\nwait 100\nclick 1 1230 30\n";
    create << "wait 300\nkeydown return\nwait 100\nkeyup return\nwait 300\nclick 1 640 360\n";
    create << "wait 500\nkey space\n" << kSaveAndQuitScript;
    WriteWholeFile(user.file("script.txt"), create.str());
    GameRun made = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const std::string saved = ReadWholeFile(user.file("Testa.sav"));
    ASSERT_GT(saved.size(), 16u) << made.output;
    const SavedHero chosen = ReadSavedHero(saved, "Testa");
    EXPECT_EQ(chosen.difficulty, 2);
    EXPECT_EQ(chosen.permadeath, 1);
    EXPECT_EQ(chosen.female, 1);
    EXPECT_TRUE(Contains(ReadWholeFile(user.file("loadsave.dat")), "Testa.sav\nTesta the Adventurer\non Floor 1 of "));

    // Loaded by name and left the same way at once: the hero's save is written again, byte
    // for byte, under the name it was loaded from.
    WriteWholeFile(user.file("script.txt"), std::string("wait 500\n") + kSaveAndQuitScript);
    GameRun loaded = RunGame({"-no-initial-config", "-load-filename=Testa.sav"}, user.path(),
                             {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.output;
    const std::string again = ReadWholeFile(user.file("Testa.sav"));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(again.begin(), again.end()),
                                  std::vector<uint8_t>(saved.begin(), saved.end())),
              "");
    EXPECT_FALSE(FileExists(user.file("Testa_1.sav")));
}

TEST(SaveRoundTrip, ARandomHerosTimedAutosaveLoadsAndAutosavesTheSameBytes) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // A few steps and rests on the level of seed 9, then the clock past the timed autosave.
    std::string script = "seed 9\nwait 500\n";
    for (const char* key : {"d", "d", "s", "s", "a", "w", "space", "space"}) script += std::string("key ") + key + "\nwait 500\n";
    script += std::string("wait 301000\n") + kQuitScript + kQuitFromMenuScript;
    WriteWholeFile(user.file("script.txt"), script);
    GameRun first = RunGame({"-no-initial-config", "-player-random-build"}, user.path(),
                            {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "500"}});
    ASSERT_EQ(first.exitCode, 0) << first.output.substr(first.output.size() > 3000 ? first.output.size() - 3000 : 0);
    const std::string autosave = ReadWholeFile(user.file("autosave.sav"));
    ASSERT_GT(autosave.size(), 16u);
    // xxd -l16 -p: 5a4e434801000000000000000a000000
    EXPECT_EQ(autosave.substr(0, 16), std::string("\x5a\x4e\x43\x48\x01\0\0\0\0\0\0\0\x0a\0\0\0", 16));
    ExpectACopyAutosavesTheSameBytes(user, autosave);
}
