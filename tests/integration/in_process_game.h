#pragma once
// Helpers for the tests that read, in this process, the saves a run of the real game wrote (or
// write saves it then loads): the game's data loaded as the executable loads it, freed again when
// the test is done, and a save put through one load and autosave of the executable.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/spell.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

// The last 3000 characters of a run's output, for failure messages.
inline std::string TailOf(const std::string& text) { return text.substr(text.size() > 3000 ? text.size() - 3000 : 0); }

// The game's data of the game folder, with the user folder set, for as long as it lives; the
// game in play and all the data go with it.
class InProcessGame {
public:
    explicit InProcessGame(const std::string& userDir)
        : env_("VAULTMERE_USER_DIR", userDir.c_str()), cwd_(VAULTMERE_GAME_ROOT) {
        loaded_ = LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game");
        // The hero's record keeps one entry per toolkit window of the item database: a save is
        // made and read with the windows the game has.
        SyncToolkitWindows();
    }
    InProcessGame(const InProcessGame&) = delete;
    InProcessGame& operator=(const InProcessGame&) = delete;
    ~InProcessGame() {
        EndCurrentGame();
        ClearActiveQuests();
        for (Spell* spell : SpellList) delete spell;
        SpellList.clear();
        SaveSlots.clear();
        ClearBranches();
        ClearRoomTemplates();
        ClearTweakVals();
        ClearTextDB();
        ToolkitWindows.clear();
        ClearItemDB();
        SpriteMgr_FreeAll();
    }

    bool loaded() const { return loaded_; }

    // Loads the save of that name from the user folder; what the load printed goes to
    // `printed`. The art is not mounted here, so the load's missing-art lines are dropped.
    bool Load(const std::string& name, std::string* printed) {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        const bool read = LoadGame(name.c_str());
        *printed = testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        return read;
    }

private:
    ScopedEnv env_;
    ScopedWorkingDir cwd_;
    bool loaded_ = false;
};

// Writes the save into the user folder under that name, loads it with -load-filename=, waits
// past the next autosave with no input and leaves through `leaveScript`; the autosave it wrote,
// or "" without one.
inline std::string LoadAndAutosave(const TempDir& user, const std::string& name, const std::string& save,
                                   const std::string& leaveScript) {
    WriteWholeFile(user.file(name), save);
    std::remove(user.file("autosave.sav").c_str());  // a stale one must not pass for a new one
    WriteWholeFile(user.file("script.txt"), "wait 301000\n" + leaveScript);
    GameRun loaded = RunGame({"-no-initial-config", "-load-filename=" + name}, user.path(),
                             {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "500"}});
    EXPECT_EQ(loaded.exitCode, 0) << TailOf(loaded.output);
    return FileExists(user.file("autosave.sav")) ? ReadWholeFile(user.file("autosave.sav")) : std::string();
}
