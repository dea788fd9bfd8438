// A first game made on the creation screens of the real executable, in a fresh user folder:
// the options, skills, name and portrait chosen there reach last.txt, the autosave and its
// record in the save index.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/menu_main.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"

namespace {

struct IndexRecord {
    std::string fileName, line1, line2;
    std::vector<int32_t> skills;
};

// The records of a "loadsave.dat" text; an empty list when the text does not parse.
std::vector<IndexRecord> ParseSaveIndex(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line)) return {};
    const int count = std::atoi(line.c_str());
    std::vector<IndexRecord> records;
    for (int r = 0; r < count; ++r) {
        IndexRecord record;
        if (!std::getline(in, record.fileName) || !std::getline(in, record.line1) || !std::getline(in, record.line2)) {
            return {};
        }
        for (int s = 0; s < 7; ++s) {
            if (!std::getline(in, line)) return {};
            record.skills.push_back(std::atoi(line.c_str()));
        }
        records.push_back(record);
    }
    return records;
}

std::vector<int32_t> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int32_t> values;
    for (int32_t v = 0; in >> v;) values.push_back(v);
    return values;
}

// The creation screens at 1280 x 720, then the first game's two welcome dialogs, then five
// minutes and a millisecond of the fixed clock in one frame, then "save and quit" (the second
// exit button of a permadeath hero's settings window) and the quit from the title menu.
std::string TestaScript() {
    const MainMenuLayout menu = ComputeMainMenuLayout(1280, 720);
    std::ostringstream s;
    s << "wait 500\nclick 1 " << menu.buttonX + 100 << " " << menu.ButtonTop(0) + 20 << "\n";
    // Difficulty panel corner (400, 70): "hard" at row offset 240; the permadeath box at 298,
    // which a new hero finds unticked, is ticked, unticked and ticked again; Done.
    s << "wait 300\nclick 1 500 310\nwait 100\nclick 1 410 370\nwait 100\nclick 1 410 370\nwait 100\n"
         "click 1 410 370\nwait 100\nclick 1 1230 30\nwait 300\n";
    // Skills: six cells of the first row, Done (refused), a seventh and an eighth (refused), Done.
    for (int i = 0; i < 6; ++i) s << "click 1 " << 283 + 78 * i << " 100\nwait 50\n";
    s << "click 1 1230 30\nwait 100\n";
    s << "click 1 " << 283 + 78 * 6 << " 100\nwait 50\nclick 1 " << 283 + 78 * 7 << " 100\nwait 50\n";
    s << "click 1 1230 30\nwait 300\n";
    // Hero: "Te.sta" typed (the full stop is refused), the female portrait, Done.
    s << "key t shift\nkey e\nkey 46\nkey s\nkey t\nkey a\nwait 100\nclick 1 723 519\nwait 100\nclick 1 1230 30\n";
    // The intro: Return passes the first picture, a click the second.
    s << "wait 300\nkeydown return\nwait 100\nkeyup return\nwait 300\nclick 1 640 360\n";
    // The two welcome dialogs of a first game.
    s << "wait 300\nkey return\nwait 300\nkey return\nwait 300\n";
    s << "frames 300001\nwait 300001\nwait 300\n";
    s << "key escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    return s.str();
}

// The skill ids of table positions, read from the game's own skill file.
std::set<int32_t> SkillIdsOf(const std::vector<int32_t>& positions) {
    const std::string xml = ReadWholeFile(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/skillDB.xml");
    ResetSkillDB();
    EXPECT_TRUE(SkillDBLoadFromText(xml.data(), xml.size(), "game//skillDB.xml"));
    std::set<int32_t> ids;
    for (int32_t p : positions) {
        if (p >= 0 && static_cast<size_t>(p) < SkillDB.size()) ids.insert(SkillDB[static_cast<size_t>(p)].id);
    }
    ResetSkillDB();
    return ids;
}

TEST(NewHeroSession, TestaIsMadeOnTheScreensAndTheFirstAutosaveRecordsHer) {
    TempDir user;
    WriteWholeFile(user.file("script.txt"), TestaScript());
    GameRun run = RunGame({"-no-initial-config", "-debug-flag"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                           {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}},
                          240);
    const std::string tail = run.output.substr(run.output.size() > 3000 ? run.output.size() - 3000 : 0);
    ASSERT_EQ(run.exitCode, 0) << tail;
    EXPECT_EQ(run.output.find("not found"), std::string::npos) << tail;

    // The welcome dialogs were answered and remembered; then the ticker greeted the heroine,
    // and the five minutes brought the autosave.
    EXPECT_NE(ReadWholeFile(user.file("config.xml")).find("name=\"completedATutorial\" value=\"1\""), std::string::npos);
    const std::string ticker = ReadWholeFile(user.file("ticker.txt"));
    EXPECT_EQ(ticker.rfind("Welcome to Vaultmere!\n", 0), 0u) << ticker;
    EXPECT_NE(ticker.find("Game autosaved.\n"), std::string::npos) << ticker;

    // last.txt: the seven clicked cells, not the eighth.
    std::vector<int32_t> positions = Numbers(ReadWholeFile(user.file("last.txt")));
    std::sort(positions.begin(), positions.end());
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
    const std::set<int32_t> ids = SkillIdsOf(positions);
    ASSERT_EQ(ids.size(), 7u);

    // The index: the autosave and the hero's own save, both of "Testa the Adventurer" with
    // her seven skills.
    const std::vector<IndexRecord> records = ParseSaveIndex(ReadWholeFile(user.file("loadsave.dat")));
    std::set<std::string> files;
    for (const IndexRecord& record : records) {
        SCOPED_TRACE(record.fileName);
        files.insert(record.fileName);
        EXPECT_EQ(record.line1, "Testa the Adventurer");
        EXPECT_EQ(record.line2.rfind("on Floor 1 of ", 0), 0u) << record.line2;
        EXPECT_EQ(std::set<int32_t>(record.skills.begin(), record.skills.end()), ids);
    }
    EXPECT_EQ(files, (std::set<std::string>{"autosave.sav", "Testa.sav"}));
    ASSERT_TRUE(FileExists(user.file("autosave.sav")));

    // The autosave holds the heroine as she was made: hard, permadeath, female.
    InProcessGame game(user.path());
    ASSERT_TRUE(game.loaded());
    std::string printed;
    const bool loaded = game.Load("autosave.sav", &printed);
    EXPECT_TRUE(loaded) << printed.substr(printed.size() > 2000 ? printed.size() - 2000 : 0);
    if (loaded) {
        ASSERT_NE(CurrentPlayer, nullptr);
        EXPECT_EQ(CurrentPlayer->name, "Testa");
        EXPECT_EQ(CurrentPlayer->female, 1);
        EXPECT_EQ(CurrentPlayer->difficulty, 2);
        EXPECT_EQ(CurrentPlayer->permadeath, 1);
        EXPECT_EQ(CurrentPlayer->saveName, "Testa.sav");
        std::set<int32_t> heroIds;
        for (int32_t slot = 0; slot < 7; ++slot) heroIds.insert(CurrentPlayer->skillIds[slot]);
        EXPECT_EQ(heroIds, ids);
    }
}

}  // namespace
