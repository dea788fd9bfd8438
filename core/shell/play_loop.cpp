#include "core/shell/play_loop.h"

#include "core/command_state.h"
#include "core/shell/game_input.h"
#include "core/shell/game_lifecycle.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/saved_games.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/play_screen.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/quest.h"
#include "media/music.h"
#include "media/ticker.h"

#include <cstdio>
#include <set>
#include <string>

bool LeaveGameFlag = false;
bool SaveOnLeaveFlag = false;
void (*PlayLoopDriver)() = nullptr;
bool HeldTrackFlag = false;

const char* const kAutosaveFileName = "autosave.sav";

namespace {

const DungeonTrack kDungeonTracks[kDungeonTrackCount] = {
    {"tunes/chilled-repeat.ogg", nullptr},
    {"tunes/dervish-repeat.ogg", "tunes/dervish-open.ogg"},
    {"tunes/elegy-repeat.ogg", nullptr},
    {"tunes/ghosts-repeat.ogg", "tunes/ghosts-open.ogg"},
    {"tunes/heck-repeat.ogg", nullptr},
    {"tunes/house-repeat.ogg", "tunes/house-open.ogg"},
    {"tunes/icebattle-repeat.ogg", nullptr},
    {"tunes/icecave-repeat.ogg", nullptr},
    {"tunes/mining-repeat.ogg", "tunes/mining-open.ogg"},
    {"tunes/pits-repeat.ogg", "tunes/pits-open.ogg"},
    {"tunes/spelunk-repeat.ogg", nullptr},
    {"tunes/subter-repeat.ogg", "tunes/subter-open.ogg"},
    {"tunes/stygian-repeat.ogg", "tunes/stygian-open.ogg"},
    {"tunes/swamp-repeat.ogg", nullptr},
    {"tunes/temple-repeat.ogg", nullptr},
    {"tunes/veil-repeat.ogg", nullptr},
};

// The music rotation lives for the whole process: the index survives from game to game.
int32_t currentTrack = 0;
uint32_t lastChoiceTime = 0;

// A hero that may still be saved: there is one, it is alive and it is not a tutorial hero
// (a tutorial must never write over the player's own saves).
bool HeroMayBeSaved() {
    return CurrentPlayer != nullptr && !CurrentPlayer->dead && !TutorialFlag;
}

// Every carried item in the order of the carried places: " name" or " name (unpaid)", separated
// by semicolons.
std::string CarriedItemsLine() {
    std::string line;
    std::set<const Item*> seen;  // an item in two places is told once
    for (Item** place : CarriedPlaces()) {
        if (place == nullptr || *place == nullptr || !seen.insert(*place).second) continue;
        if (!line.empty()) line += ";";
        line += " " + (*place)->GetItemName();
        if ((*place)->unpaid != 0) line += " (unpaid)";
    }
    return line;
}

}  // namespace

const DungeonTrack& GetDungeonTrack(int32_t index) {
    if (index < 0 || index >= kDungeonTrackCount) index = 0;
    return kDungeonTracks[index];
}

int32_t CurrentDungeonTrackIndex() {
    return currentTrack;
}

void SetCurrentDungeonTrackIndex(int32_t index) {
    currentTrack = index;
}

uint32_t LastMusicChoiceTime() {
    return lastChoiceTime;
}

void SetLastMusicChoiceTime(uint32_t ticks) {
    lastChoiceTime = ticks;
}

void RotateDungeonMusic(bool forced) {
    const uint32_t now = LoggedGetTicks();
    const int32_t elapsed = static_cast<int32_t>(now - lastChoiceTime);
    if (HeldTrackFlag && !forced) return;
    if (elapsed <= kMusicRotationMs && !forced) return;
    const int32_t index = CRand() / (32767 / kDungeonTrackCount + 1);
    if (index != currentTrack || forced) {
        const DungeonTrack& track = kDungeonTracks[index];
        if (track.opening != nullptr) {
            PlayMusic(track.opening, track.loop);
        } else {
            PlayMusic(track.loop, "");
        }
        currentTrack = index;
    }
    lastChoiceTime = now;
}

bool AutosaveIfDue(uint32_t* autosaveTime) {
    const uint32_t now = LoggedGetTicks();
    if (now - *autosaveTime <= kAutosaveIntervalMs) return false;
    if (CurrentPlayer == nullptr || CurrentPlayer->dead) return false;
    if (TutorialFlag) {
        // Tutorials keep their own clock running but never write over "autosave.sav".
        *autosaveTime = now;
        return false;
    }
    const bool saved = SaveGame(kAutosaveFileName);
    *autosaveTime = LoggedGetTicks();
    // A failed save has told what went wrong on standard output; the player learns it here,
    // and the next try comes five minutes later all the same.
    AddText(saved ? "Game autosaved." : "Autosave failed!", true);
    return saved;
}

bool SaveOnLeaveIfAsked() {
    if (!SaveOnLeaveFlag || !HeroMayBeSaved()) return false;
    if (CurrentPlayer->saveName.empty()) {
        // A hero made without the creation screens gets its file name now, so that the save
        // never lands on an empty name.
        ReadSaveIndex(nullptr);
        CurrentPlayer->saveName = MakeUniqueSaveFileName(CurrentPlayer->name.c_str());
    }
    return SaveGame(CurrentPlayer->saveName.c_str());
}

bool LeaveAfterSaving() {
    while (SaveOnLeaveFlag && HeroMayBeSaved()) {
        if (SaveOnLeaveIfAsked()) return true;
        const std::string text = "Your game could not be saved: " + LastSaveGameError() +
                                 ". Your last save is kept. Try again?";
        std::fprintf(stderr, "Vaultmere: the game could not be saved: %s\n", LastSaveGameError().c_str());
        if (ShowDialog(text.c_str(), "ui/dialog_but_yea", "ui/dialog_but_nay") == 0) continue;
        if (ShowDialog("Quit without saving? Everything since your last save will be lost.", "ui/dialog_but_yea",
                       "ui/dialog_but_nay") == 0) {
            std::fprintf(stderr, "Vaultmere: leaving the game without saving it\n");
            return true;
        }
        // Back to the game; leaving again asks for the save again.
        SaveOnLeaveFlag = false;
        return false;
    }
    return true;
}

void RunGameLoop() {
    uint32_t autosaveTime = LoggedGetTicks();
    lastChoiceTime = autosaveTime;
    HeroInputTurns = 0;
    do {
        LeaveGameFlag = false;
        while (!LeaveGameFlag) {
            DrawGameScreen();
            AdvanceFrame();
            HandleGameEvent();
            if (PlayLoopDriver != nullptr && !LeaveGameFlag) PlayLoopDriver();
            RotateDungeonMusic(false);
            AutosaveIfDue(&autosaveTime);
        }
    } while (!LeaveAfterSaving());
    if ((CmdLine.debugFlags & kDebugGeneral) != 0 && CurrentPlayer != nullptr) {
        std::printf("Leaving the game after %d turns of the hero, at (%d, %d)%s\n", HeroInputTurns,
                    CurrentPlayer->x, CurrentPlayer->y, CurrentPlayer->dead ? ", dead" : "");
        std::printf("The hero leaves with %d zorkmids, carrying:%s\n", CurrentPlayer->zorkmids,
                    CarriedItemsLine().c_str());
        for (const QuestRecord* quest : ActiveQuests) {
            if (quest != nullptr) std::printf("Quest at stage %d: %s\n", quest->stage, quest->description.c_str());
        }
    }
    SaveOnLeaveFlag = false;
    EndCurrentGame();
}
