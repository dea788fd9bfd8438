// The close cross of the windows that draw one: a click anywhere on the cross, where the window
// drew it, closes the window at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/shell/game_lifecycle.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/menu_test_fixture.h"
#include "interface/play_screen.h"
#include "interface/quest_log.h"
#include "interface/screens.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"
#include "levels/tutorial.h"

namespace {

std::vector<std::string> Sounds;
void NoteSound(const char* name) { Sounds.push_back(name); }

// A hero on a small level with the shipped help texts, as the windows find them in a game.
class CloseCrossTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/text.xml", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string xml = text.str();
        ASSERT_TRUE(LoadTextDBFromBuffer(xml.data(), xml.size(), "text.xml"));
        Level* level = new Level(0, 0);
        level->SetSize(10, 10);
        GameLevels.push_back(level);
        CurrentLevel = level;
        CurrentPlayer = new Player();
        CurrentPlayer->PlaceOnLevel(4, 4, level, 0);
        CurrentPlayer->name = "Ada";
        CurrentPlayer->saveName = "Ada.sav";
        TutorialFlag = false;
        SaveOnLeaveFlag = false;
        MenuBarHover = false;
        QuestUIArtLoad();
        SetSFXRequestObserver(NoteSound);
    }
    void TearDown() override {
        SetSFXRequestObserver(nullptr);
        ClearActiveQuests();
        FreeQuestUIArt();
        SaveOnLeaveFlag = false;
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        SaveSlots.clear();
        ClearTextDB();
        MenuScreenTest::TearDown();
    }
};

// Where the window drew its close cross while it ran; false when it drew none.
bool DrawnCloseCross(const std::function<void()>& run, HudPoint* at) {
    std::vector<HudDrawCall> calls;
    SetHudDrawRecorder(&calls);
    run();
    SetHudDrawRecorder(nullptr);
    for (const HudDrawCall& call : calls) {
        if (call.what != "close cross") continue;
        *at = HudPoint{call.x, call.y};
        return true;
    }
    return false;
}

TEST_F(CloseCrossTest, TheCloseCrossClosesWhereItIsDrawn) {
    struct Window {
        const char* name;
        std::function<void()> open;
    };
    const Window windows[] = {
        {"quest log", [] { ShowQuestLog(); }},
        {"settings", [] { EXPECT_EQ(ShowSettingsScreen(), 0) << "closed, neither saved nor left"; }},
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(w.name);
        HudPoint cross;
        Script("wait 40\nkey escape");
        ASSERT_TRUE(DrawnCloseCross(w.open, &cross));
        for (const HudPoint& p : {HudPoint{2, 2}, HudPoint{10, 10}, HudPoint{17, 17}}) {
            SCOPED_TRACE(std::to_string(p.x) + ", " + std::to_string(p.y));
            Script("wait 40\nclick 1 " + std::to_string(cross.x + p.x) + " " + std::to_string(cross.y + p.y) +
                   "\nwait 600\nkey escape");
            Sounds.clear();
            const Uint32 start = LoggedGetTicks();
            w.open();
            EXPECT_LT(LoggedGetTicks() - start, 300u) << "closed by the cross, not by the Escape after it";
            EXPECT_EQ(std::count(Sounds.begin(), Sounds.end(), "click"), 1);
        }
    }
}

}  // namespace
