#pragma once
// The play screen of a game that has just started on a generated level, as the frame
// benchmark paints it and the frame picture test checks it: the assembled game folder's data
// and art loaded as start-up loads them (the HUD pictures with the same flags), a generated
// level with its tile layers, a hero with his animations on the start square, three ticker
// lines and the pointer over the play field. The clock is the fixed frame clock, so painting
// the scene twice gives the same picture.
//
// The screen surface is the caller's; its format is the one every picture is made for, so a
// scene is opened after the screen is made and closed before it goes.
#include <SDL.h>
#include <physfs.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/input_log.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_surfaces.h"
#include "interface/layout.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/level_draw.h"
#include "levels/room_templates.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "media/bob.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "platform/vfs.h"

class PlayScene {
public:
    struct Setup {
        uint32_t seed = 7;
        int32_t depth = 0;
        int32_t mouseX = 700;  // where the pointer stands
        int32_t mouseY = 400;
    };

    PlayScene() = default;
    ~PlayScene() { Close(); }
    PlayScene(const PlayScene&) = delete;
    PlayScene& operator=(const PlayScene&) = delete;

    // Loads everything from the game folder `root` for painting into `screen` (made the
    // screen surface). False, with a line saying why, when something essential is missing.
    bool Open(const std::string& root, SDL_Surface* screen, const Setup& setup) {
        Close();
        open_ = true;
        char cwd[PATH_MAX] = {};
        if (getcwd(cwd, sizeof cwd) != nullptr) savedCwd_ = cwd;
        savedScreen_ = ScreenSurface;
        savedFormat_ = ScreenFormat;
        savedLevel_ = CurrentLevel;
        savedPlayer_ = CurrentPlayer;
        savedLayout_ = Layout;
        if (chdir(root.c_str()) != 0) return Fail("no game folder at " + root);
        ScreenSurface = screen;
        ScreenFormat = screen->format;
        Layout = ScreenLayoutState();
        UpdateScreenLayout();
        MountDataTree();
        if (!LoadFonts()) return Fail("the fonts could not be loaded");
        if (!LoadGenerationData("game")) return Fail("the level data could not be loaded");
        InstallSampleGenerationRecords();
        InitExperienceTable();
        FreeHudPictures();  // what the HUD loaded for itself before is loaded again from here
        Hud = HudSurfaces();
        LoadHudImages();
        UpdateScreenLayout();
        CursorSprite = SpriteMgr_GetOrLoad("ui/cursor.spr");
        CursorCornerSprite = SpriteMgr_GetOrLoad("ui/cursorcorner.spr");
        CurrentCursor = CursorSprite;
        LoadLevelDrawArt();

        LevelGenCase genCase;
        genCase.seed = setup.seed;
        genCase.depth = setup.depth;
        level_ = GenerateLevelForCase(genCase, nullptr).release();
        if (level_ == nullptr || level_->tilesetImage == nullptr) {
            return Fail("the level or its tileset is missing");
        }
        CurrentLevel = level_;
        GenLevelGFXRep(level_, 0, 0, level_->width, level_->height);

        hero_ = new Player();
        hero_->stat[kStatLife] = hero_->health = 40;
        hero_->stat[kStatMana] = 30;
        hero_->mana = 18;
        hero_->experience = 7;
        hero_->LoadAnimations(hero_);
        hero_->PlaceOnLevel(level_->startX, level_->startY, level_, 0);
        CurrentPlayer = hero_;
        SetExplored(false);

        ClearTicker();
        AddText("Welcome to Vaultmere!", true);
        AddText("You feel a cold draught from the stairs below.", true);
        AddText("Somewhere a door slams shut.", true);

        // The fixed frame clock, and the pointer where the setup puts it.
        ResetInputLog();
        OpenInputScriptText("move " + std::to_string(setup.mouseX) + " " + std::to_string(setup.mouseY) + "\n");
        SDL_Event event;
        while (LoggedPollEvent(&event) != 0) {
        }
        ok_ = true;
        return true;
    }

    // Moves the hero to (x, y) and lets him look round from there (what he had seen stays
    // remembered only when everything was).
    void MoveHero(int32_t x, int32_t y, bool allExplored) {
        hero_->PlaceOnLevel(x, y, level_, 0);
        SetExplored(allExplored);
    }

    // Every square of the level seen before (the most a view can draw), or only what the hero
    // sees from where he stands.
    void SetExplored(bool all) {
        for (LevelCell& cell : level_->squares) cell.flags = 0;
        if (all) level_->RevealMap();
        level_->UpdateFieldOfView(hero_->x, hero_->y, hero_->SightRadius());
    }

    // Frees everything Open loaded and puts back the screen, the level, the hero, the layout
    // and the working folder.
    void Close() {
        if (!open_) return;
        open_ = false;
        ok_ = false;
        ResetInputLog();
        CursorBob.sprite = nullptr;
        delete level_;  // the hero goes with the level's objects
        level_ = nullptr;
        hero_ = nullptr;
        ClearTicker();
        FreeHudPictures();
        FreeHudImages();
        FreeLevelDrawArt();
        RemoveSampleGenerationRecords();
        ClearRoomTemplates();
        ClearBranches();
        ClearTweakVals();
        ClearTextDB();
        CursorSprite = CursorCornerSprite = CurrentCursor = nullptr;
        SpriteMgr_FreeAll();
        FreeFonts();
        if (PHYSFS_isInit() != 0) PHYSFS_deinit();
        CurrentLevel = savedLevel_;
        CurrentPlayer = savedPlayer_;
        ScreenSurface = savedScreen_;
        ScreenFormat = savedFormat_;
        Layout = savedLayout_;
        if (!savedCwd_.empty() && chdir(savedCwd_.c_str()) != 0) {
            std::printf("play scene: cannot go back to %s\n", savedCwd_.c_str());
        }
    }

    bool ok() const { return ok_; }
    Level* level() const { return level_; }
    Player* hero() const { return hero_; }

private:
    bool Fail(const std::string& why) {
        std::printf("play scene: %s\n", why.c_str());
        return false;
    }

    bool open_ = false;
    bool ok_ = false;
    Level* level_ = nullptr;
    Player* hero_ = nullptr;
    std::string savedCwd_;
    SDL_Surface* savedScreen_ = nullptr;
    SDL_PixelFormat* savedFormat_ = nullptr;
    Level* savedLevel_ = nullptr;
    Player* savedPlayer_ = nullptr;
    ScreenLayoutState savedLayout_;
};
