#include "support/game_state_reset.h"

#include <gtest/gtest.h>

#include "core/high_scores.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/config.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/level_change.h"
#include "core/shell/play_input.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/experience.h"
#include "creatures/maneuver.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/speech_db.h"
#include "creatures/spell.h"
#include "interface/autopickup_window.h"
#include "interface/dialogs.h"
#include "interface/play_screen.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/monster_tables.h"
#include "levels/level.h"
#include "levels/level_draw.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "levels/tutorial.h"
#include "media/effect_animation.h"
#include "media/eye_candy.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "media/tooltip.h"
#include "platform/platform.h"
#include "store_platform/store.h"

void ResetTestGameState() {
    // The hero and the levels: whoever made them has cleaned up or they are gone already.
    CurrentPlayer = nullptr;
    CurrentLevel = nullptr;
    LevelBeingLoaded = nullptr;
    GameLevels.clear();
    CurrentTutorial = nullptr;
    TutorialFlag = false;
    // The per-game state a new game clears, then the queues.
    ResetGameState();
    ClearQueuedAnimations();
    ClearEyeCandy();
    ClearTickerLog();
    // The data tables.
    ClearSpellTable();
    ClearMonsterDB();
    for (auto& table : MonsterTables) table.clear();
    ClearManeuverTemplates();
    ExperienceTable.clear();
    ResetSkillDB();
    ClearSpeechDB();
    ClearItemDB();
    ClearRecipes();
    // The toolkit windows follow the item database's layouts; a save's hero record holds one
    // entry per window, so a window left over shifts every load after it.
    ToolkitWindows.clear();
    ToolkitWindowDragging = false;
    CraftPanel = CraftPanelState();
    ClearQuestDB();
    ClearBranches();
    ClearRoomTemplates();
    ClearTutorials();
    ClearTweakVals();
    ClearTextDB();
    ClearHighScores();
    SaveSlots.clear();
    // Pictures the windows read once and keep: read while no data was mounted they stay
    // empty, and every later dialog would lose its background and its click zones.
    FreeDialogPictures();  // the notice pictures as well
    FreeAutoPickupArt();
    FreeStatIcons();
    FreeLevelDrawArt();  // the liquids tileset and the shading of unexplored squares
    // The sprite table last: what the tables above kept of it goes first.
    SpriteMgr_FreeAll();
    SteamAPI_Shutdown();
    SetStoreFaults(StoreFaults());
    ResetInputLog();
    // An answer set for the file chooser would answer the next test's question too.
    ResetOpenFileAnswers();
    ResetConfigToDefaults();
}

namespace {

class ResetBeforeEveryTest : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override { ResetTestGameState(); }
};

struct InstallReset {
    InstallReset() { testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEveryTest()); }
};

const InstallReset kInstallReset;

}  // namespace
