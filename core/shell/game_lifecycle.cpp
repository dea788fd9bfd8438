#include "core/shell/game_lifecycle.h"
#include "core/shell/play_input.h"
#include "media/effect_animation.h"

#include "core/shell/command_line.h"
#include "core/shell/config.h"
#include "core/shell/game_input.h"
#include "core/shell/level_change.h"
#include "core/shell/menu_hooks.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/shell/startup.h"
#include "core/shell/turn_engine.h"
#include "core/user_text.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/choose_difficulty.h"
#include "interface/dialogs.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "interface/screens.h"
#include "items_fixtures/anvil.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_gfx.h"
#include "levels/gen/monster_spawning.h"
#include "levels/path_finding.h"
#include "levels/tutorial.h"
#include "media/music.h"
#include "media/sprite.h"
#include "media/ticker.h"

#include <cstdio>
#include <cstring>
#include <vector>

const char* const kLoadFailedDialogText = "This saved game could not be loaded.";

namespace {

const char* const kTitleMusic = "tunes/finaltitle.ogg";

void ResetViewOffsets() {
    Layout.view.pixelX = 0;
    Layout.view.pixelY = 0;
    Layout.view.originX = 0;
    Layout.view.originY = 0;
}

int32_t FirstLevelSide() {
    return CurrentPlayer != nullptr && CurrentPlayer->quickie != 0 ? 75 : 100;
}

// Tile graphics, highlights, the level list, the hero on the start square and the path
// nodes: the steps a new game and a tutorial share once their level is built.
void FinishFirstLevel(Level* level, bool logProgress) {
    GenLevelGFXRep(level, 0, 0, level->width, level->height);
    if (logProgress) LogLoadProgress("GenLevelGFXRep");
    level->ClearHighlights();
    GameLevels.push_back(level);
    CurrentPlayer->SetIdleAnimation();
    CurrentPlayer->PlaceOnLevel(level->startX, level->startY, level, 0);
    BuildAStarForLevel();
    if (logProgress) LogLoadProgress("BuildAStarForLevel");
}

// A new hero starts with its health full.
void StartWithFullHealth(Player* hero) {
    hero->RecalculateStats();
    hero->health = hero->stat[kStatLife];
}

}  // namespace

void ResetGameState() {
    ResetSpellCooldowns();
    // The cast counters belong to the game that ran; a new or loaded game starts from 0
    // (a load then reads its own).
    for (Spell* spell : SpellList) {
        if (spell != nullptr) spell->castCount = 0;
    }
    InitMonsterSpawning();
    ResetContentReports();
    ClearTicker();
    ClearQueuedMoves();
    ClearActiveQuests();
    ResetAnvilMemory();
    SelectedAbility = nullptr;
    SelectedSkillItem = nullptr;
    TooltipItem = nullptr;
    // The backpack belongs to the hero: its constructor empties it, its destructor deletes
    // what is in it, and the starting kit may already lie in it here.
    ClearCursorItem();
    // The flags the last game's deaths and victory left for the input loop and the music.
    VictoryFlag = false;
    PendingMusicChange = false;
    SaveOnLeaveFlag = false;
    HeroInShopFlag = 0;
    HeroInMonsterZoo = false;
    // The trapdoor squares belong to the levels of the game that made them.
    TrapdoorStack.clear();
    FlushInput();
}

namespace {

// The item the player was moving belongs to the game that ends with it: the cursor is emptied
// and the item deleted, unless a level, a carried place or a toolkit window holds it as well
// (its owner there deletes it).
void DropCursorItemOfEndingGame() {
    Item* held = GetCursorItem();
    if (held == nullptr) return;
    ClearCursorItem();
    if (held->level != nullptr) return;
    for (Item** place : CarriedPlaces()) {
        if (*place == held) return;
    }
    for (const ToolkitWindow& window : ToolkitWindows) {
        if (window.output == held) return;
        for (const Item* slot : window.slots) {
            if (slot == held) return;
        }
    }
    delete held;
}

}  // namespace

void EndCurrentGame() {
    FlushInput();
    // No queued animation outlives the pictures of the game.
    ClearQueuedAnimations();
    DropCursorItemOfEndingGame();
    delete CurrentPlayer;
    CurrentPlayer = nullptr;
    for (Level* level : GameLevels) delete level;
    GameLevels.clear();
    CurrentLevel = nullptr;
    // The quests end with the game whose objects they point at.
    ClearActiveQuests();
    SaveOnLeaveFlag = false;
    SpriteMgr_FreeTransient();
}

void NewGameCommon() {
    CurrentTutorial = nullptr;
    ResetGameState();
    LogLoadProgress("NewGameCommon");
    HeldTrackFlag = false;
    Level* level = new Level(0, 0);
    CurrentLevel = level;
    LogLoadProgress("new Level");
    const int32_t side = FirstLevelSide();
    bool built = false;
    if (CmdLine.testRoom) {
        built = level->GenTestRoomLevel(CmdLine.testRoomName.c_str(), CmdLine.testRoomX, CmdLine.testRoomY);
        if (!built) std::printf("No test room \"%s\"; a random level is made instead\n", CmdLine.testRoomName.c_str());
    }
    if (!built) GenLevelContent(level, side, side);
    LogLoadProgress("GenLevelContent");
    FinishFirstLevel(level, true);
    ResetKnownItemTypes();
    // The per-game item tables (mushroom looks, gem order, unknown potions) are drawn here,
    // after the first level, rather than when the hero is made: the level is then generated
    // from the same draws of the 15-bit generator whatever screens made the hero, so a seeded
    // run gives the same dungeon.
    ShuffleMushroomAppearances();
    BuildShuffledItemOrder();
    ResetPotionSet();
    LearnDefaultRecipes();
    FlushInput();
    if (!completedATutorial) {
        ShowDialog("Welcome to the Vaultmere! Please enjoy your stay.", "ui/dialog_but_ok", nullptr);
        ShowDialog("If you have not played the Tutorial, we strongly encourage you to work your way through "
                   "it. It contains many interesting facts of information about the Dungeon that will help "
                   "you on your way.",
                   "ui/dialog_but_ok", nullptr);
        completedATutorial = 1;
    }
    AddText("Welcome to Vaultmere!", true);
    LogLoadProgress("AddText");
}

void StartTutorial(const char* templateName, int32_t x, int32_t y) {
    StopMusic();
    PlayMusic("tunes/tutorial-repeat.ogg", "");
    ResetGameState();
    HeldTrackFlag = true;
    Level* level = new Level(0, 0);
    CurrentLevel = level;
    if (!level->GenTutorialLevel(templateName, x, y)) {
        std::printf("The tutorial room \"%s\" is missing\n", templateName != nullptr ? templateName : "");
    }
    if (CurrentPlayer == nullptr) {
        std::printf("StartTutorial: no hero\n");
        GameLevels.push_back(level);
        return;
    }
    StartWithFullHealth(CurrentPlayer);
    FinishFirstLevel(level, false);
    ResetKnownItemTypes();
}

void PlayGame(Player* hero) {
    if (hero == nullptr) return;
    InstallMenuScreenHooks();
    LoadGameplayArt();
    CurrentPlayer = hero;
    hero->LoadAnimations(hero);
    StartWithFullHealth(hero);
    RotateDungeonMusic(true);
    ResetViewOffsets();
    // The hero brings its starting kit (ApplyChosenSkills gave it).
    NewGameCommon();
    AdvanceTurn();
    RunGameLoop();
    PlayMusic(kTitleMusic, "");
}

namespace {

// Loads the save into a clean game state; false (and nothing of it left) when it cannot be.
bool LoadIntoCleanState(const std::string& saveName) {
    InstallMenuScreenHooks();
    LoadGameplayArt();
    // A loaded game starts from the same clean state as a new one.
    CurrentTutorial = nullptr;
    ResetGameState();
    HeldTrackFlag = false;
    if (!LoadGame(saveName.c_str()) || CurrentPlayer == nullptr || CurrentLevel == nullptr) {
        std::printf("Couldn't load filename %s\n", saveName.c_str());
        // Whatever the failed load built is thrown away.
        EndCurrentGame();
        return false;
    }
    return true;
}

}  // namespace

bool SavedGameLoads(const std::string& saveName) {
    if (!LoadIntoCleanState(saveName)) return false;
    EndCurrentGame();
    return true;
}

bool LoadAndPlay(std::string saveName) {
    if (saveName.empty()) return true;
    if (!LoadIntoCleanState(saveName)) return false;
    TutorialFlag = false;
    RotateDungeonMusic(true);
    RunGameLoop();
    PlayMusic(kTitleMusic, "");
    return true;
}

Player* NewCreationHero(bool randomBuild) {
    Player* hero = new Player();
    hero->difficulty = 1;
    hero->offsetX = 0.0f;
    hero->offsetY = 0.0f;
    hero->female = currentGenderChoice != 0 ? 1 : 0;
    hero->randomBuild = randomBuild ? 1 : 0;
    hero->lastBuild = 0;
    hero->skillList.clear();
    return hero;
}

Player* MakeDefaultHero() {
    Player* hero = NewCreationHero(true);
    // Seven skills as the skill screen's dice draw them, so that last.txt holds the real build.
    PickRandomSkills(hero->skillList);
    ApplyChosenSkills(hero, hero->skillList);
    hero->name = "Hero";
    ReadSaveIndex(nullptr);
    hero->saveName = MakeUniqueSaveFileName(hero->name.c_str());
    return hero;
}

Player* RunNewGameScreens() {
    Player* hero = NewCreationHero(false);
    hero->name.clear();
    // The expansion option takes its default once per new hero, so going back to the
    // difficulty screen keeps the player's choice.
    hero->extendedContent = ExpansionPanelAvailable() ? 1 : 0;
    std::vector<char> typedName(64, '\0');
    int screen = 0;
    while (screen < 3) {
        bool forward = false;
        if (screen == 0) {
            forward = ShowChooseDifficultyScreen(&hero->difficulty, &hero->permadeath, &hero->quickie,
                                                 &hero->extendedContent) > 0;
        } else if (screen == 1) {
            forward = ShowChooseSkillsScreen(hero->skillList, &hero->randomBuild, &hero->lastBuild);
        } else {
            forward = ShowChooseHeroScreen(typedName.data(), static_cast<int32_t>(typedName.size()),
                                           &hero->female) > 0;
        }
        if (forward) {
            ++screen;
        } else if (screen == 0) {
            delete hero;
            return nullptr;
        } else {
            --screen;
        }
    }
    typedName.back() = '\0';
    ApplyChosenSkills(hero, hero->skillList);
    const std::string typed = CleanNameText(typedName.data());
    hero->name = !typed.empty() ? typed : std::string("Hero");
    ReadSaveIndex(nullptr);
    hero->saveName = MakeUniqueSaveFileName(hero->name.c_str());
    return hero;
}

bool PlaySavedGameFromMenu(const std::string& saveName) {
    if (LoadAndPlay(saveName)) return true;
    ShowDialog(kLoadFailedDialogText, "ui/dialog_but_ok", nullptr);
    return false;
}

void RunMainMenuLoop() {
    InstallMenuScreenHooks();
    for (;;) {
        const int32_t choice = MainMenu();
        switch (choice) {
        case kMenuNewGame: {
            Player* hero = RunNewGameScreens();
            if (hero != nullptr) {
                ShowIntro(hero->female);
                PlayGame(hero);
            }
            break;
        }
        case kMenuLoadGame: {
            const std::string name = ShowLoadGameScreen();
            PlaySavedGameFromMenu(name);
            break;
        }
        case kMenuHighScores:
            ShowHighScores();
            break;
        case kMenuCredits:
            ShowCredits();
            break;
        case kMenuTutorials:
            ShowTutorialScreen();
            break;
        case kMenuQuit:
            if (ShowQuitScreen() != 0) return;
            break;
        default:
            break;
        }
    }
}
