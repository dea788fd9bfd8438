#include "core/shell/startup.h"
#include "interface/hud_surfaces.h"
#include "media/screen.h"

#include "core/shell/cloud_sync.h"
#include "core/shell/command_line.h"
#include "core/shell/config.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/global_images.h"
#include "core/event_log.h"
#include "core/high_scores.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/mod_publisher.h"
#include "core/shell/mods.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "core/version.h"
#include "core/shell/video_modes.h"
#include "core/shell/workshop.h"
#include "creatures/experience.h"
#include "creatures/impact_sprites.h"
#include "creatures/maneuver.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/speech_db.h"
#include "creatures/spell.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "interface/menu_main.h"
#include "interface/notices.h"
#include "interface/screens.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/level_draw.h"
#include "levels/gen/monster_tables.h"
#include "levels/room_templates.h"
#include "levels/tutorial.h"
#include "media/eye_candy.h"
#include "media/audio_device.h"
#include "media/font.h"
#include "media/image.h"
#include "media/music.h"
#include "media/opengl_present.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "platform/file_lock.h"
#include "platform/platform.h"
#include "platform/vfs.h"
#include "platform/vfs_listing.h"
#include "interface/screenshot.h"
#include "store_platform/leaderboards.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

#include <physfs.h>

#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

const char* const kCookieText = "this is the magic cookie. don't eat it. throw it away.";

bool CrashFlag = false;

namespace {

Uint32 LoadStartTicks = 0;
Uint32 LoadLastTicks = 0;

// The data-file loaders that run once for the base game and once per expansion.
const char* const kLayerPrefixes[] = {"game//", "expansion//", "expansion2//", "expansion3//"};

template <typename Loader>
void LoadLayered(Loader loader, const char* file, const char* label) {
    for (const char* prefix : kLayerPrefixes) {
        std::string name = std::string(prefix) + file;
        loader(name.c_str());
    }
    LogLoadProgress(label);
}

// The crash cookie, open and locked for the whole run: its lock tells a second run on the
// same user folder that this one is playing. The store folder, which runs with different user
// folders may share, is locked as well. Both are given up by the last exit handler, after
// every user file and store file has been written.
PathLock CookieLock;
PathLock StoreLock;

// Gives both folders up: the cookie goes while still locked, then the locks.
void ReleaseUserFolder() {
    ReleaseLockFile(&CookieLock, CookiePath());
    CloseLock(&StoreLock);
}

// Locks the store folder (made when missing) unless the store is not used at all. "" when
// this run has it; else why not (another run holds it).
std::string TakeStoreFolder() {
    const std::string folder = StoreFolder();
    if (!StoreFolderProblem(folder).empty() || !MakeDirectoryTree(folder)) return std::string();  // the store says so itself
    StoreLock = LockPath(folder, true, "the store folder " + folder);
    if (StoreLock.state == LockState::Busy) {
        return "Vaultmere is already running with the store folder " + folder;
    }
    return std::string();
}

// Takes the user folder: the cookie is opened (made when missing) and locked, the store folder
// too, a cookie left by a run that did not end cleanly sets the crash flag, and the cookie is
// written afresh. "" when this run has the folders; else why not, and *busy tells folders
// another run holds from a user folder that cannot be written. From here on the last exit
// handler gives the folders up.
std::string TakeUserFolder(bool* busy) {
    *busy = false;
    const std::string path = CookiePath();
    const bool existed = access(path.c_str(), F_OK) == 0;
    CookieLock = LockPath(path, false, "the user folder " + GetUserDataPath());
    if (CookieLock.state == LockState::Unusable) {
        return "the user folder " + GetUserDataPath() + " cannot be written (" + CookieLock.problem + ")";
    }
    if (CookieLock.state == LockState::Busy) {
        *busy = true;
        return "Vaultmere is already running with the user folder " + GetUserDataPath();
    }
    const std::string storeProblem = TakeStoreFolder();
    if (!storeProblem.empty()) {
        // The cookie was not written: one this run made goes again, one found stays as it was.
        if (existed) {
            CloseLock(&CookieLock);
        } else {
            ReleaseLockFile(&CookieLock, path);
        }
        *busy = true;
        return storeProblem;
    }
    std::atexit(ReleaseUserFolder);
    CrashFlag = existed;
    const int fd = CookieLock.fd;
    const size_t length = std::strlen(kCookieText);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, kCookieText, length, 0) != static_cast<ssize_t>(length) ||
        fsync(fd) != 0) {
        const std::string problem =
            "the user folder " + GetUserDataPath() + " cannot be written (" + std::strerror(errno) + ")";
        if (existed) CloseLock(&CookieLock);  // closed, and left where it was
        return problem;
    }
    return std::string();
}

void SetCaption() {
    SDL_WM_SetCaption("Vaultmere", "Vaultmere");
}

// Sets the video mode; false when there is no screen surface afterwards.
bool SetVideoMode() {
    const int w = CmdLine.screenWidth;
    const int h = CmdLine.screenHeight;
    const Uint32 fullScreen = CmdLine.fullScreen ? SDL_FULLSCREEN : 0;
    if (CmdLine.openGL) {
        if (SDL_GL_LoadLibrary(nullptr) != 0) {
            std::printf("Unable to load OpenGL: %s\n", SDL_GetError());
        } else if (SDL_SetVideoMode(w, h, 32, SDL_OPENGL | fullScreen)) {
            ScreenSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF, 0xFF00, 0xFF0000, 0);
            if (ScreenSurface) {
                InitOpenGLPresent();
                SetFramePresenter(PresentScreenOpenGL);
            }
        }
    } else {
        ScreenSurface = SDL_SetVideoMode(w, h, 32, fullScreen);
    }
    if (!ScreenSurface) {
        std::printf("Unable to set video mode: %s\n", SDL_GetError());
        return false;
    }
    ScreenFormat = ScreenSurface->format;
    UpdateScreenLayout();
    return true;
}

// The tables LoadGameData filled that own what they hold, released at a normal exit.
void ReleaseGameData() {
    ClearRoomTemplates();
    ClearBranches();
    delete MinimapSprites;  // its sprite belongs to the sprite table
    MinimapSprites = nullptr;
    FreeHudImages();
    FreeHudPictures();
    FreeLevelDrawArt();
    FreeDialogPictures();
    FreeToolkitWindowArt();
    FreeFonts();
}

void PlayTitleMusic() {
    PlayMusic("tunes/finaltitle.ogg", "");
}

// Set at start-up; the first game then loads the play screen's art (LoadGameplayArt).
bool GameplayArtPending = false;

// Steps 28 to 42: the databases, the art, the cloud sync and the title music. A save named on
// the command line is loaded once before the cloud sync: false, before the sync has copied
// anything, when it does not load, so that a damaged save never replaces the cloud's copy.
bool LoadGameData(const std::string& commandLineSave) {
    // The databases check hundreds of picture names; nothing is mounted before the mods are.
    auto listing = std::make_unique<VfsListingScope>();
    LoadManeuverTemplates("game//manTemplateDB.xml");
    LogLoadProgress("LoadManeuverTemplates");
    LoadLayered(spellDBLoad, "spellDB.xml", "spellDBLoad");
    LoadLayered(LoadQuestDB, "quests.xml", "LoadQuestDB");
    LoadSpeechDB();
    LogLoadProgress("LoadSpeechDB");
    LoadLayered(monDBLoad, "monDB.xml", "monDBLoad");
    LoadLayered(SkillDBLoad, "skillDB.xml", "SkillDBLoad");
    LoadLayered(itemDBLoad, "itemDB.xml", "itemDBLoad");
    LoadLayered(craftDBLoad, "craftDB.xml", "craftDBLoad");
    LoadLayered(branchDBLoad, "branchDB.xml", "branchDBLoad");
    LoadLayered(LoadRoomTemplates, "rooms.xml", "LoadRoomTemplates");
    LoadLayered(LoadTextDB, "text.xml", "LoadTextDB");
    listing.reset();  // the mods' folders join the tree here
    // The subscribed workshop mods are listed (and enabled by the configuration) before the
    // enabled ones are read; a store that does not answer in time leaves them for a later run.
    if (!PumpWorkshopUntilIdle(kWorkshopPumpsBeforeMods)) {
        std::printf("Steam Workshop: not ready; the mods are loaded without the missing subscriptions\n");
    }
    ReallyLoadMods();
    LogLoadProgress("ReallyLoadMods");
    listing = std::make_unique<VfsListingScope>();
    InitMonsterTables();
    LogLoadProgress("InitMonsterTables");
    AddDummySkills();
    LogLoadProgress("AddDummySkills");
    BuildItemLevelTables();
    BuildRoomTemplateMap();
    MenuBarLoad();
    LogLoadProgress("MenuBarLoad");
    LogLoadProgress("QuestUIArtLoad");
    // The play screen's art (the quest log's pictures, the minimap icons, the impact series,
    // the bottom bar and the shared pictures) waits for the first game: the menus never show it.
    GameplayArtPending = true;
    LogLoadProgress("ui/gamplay images");
    LogLoadProgress("LoadGlobalImages");
    // The crafting panel's pictures and the hero's portraits wait for the first game too.
    LogLoadProgress("LoadRecipeBookArt");
    LoadEyeCandy();
    LogLoadProgress("LoadEyeCandy");
    LogLoadProgress("LoadPortraits");
    listing.reset();
    LogLoadProgress("InitShops");
    SeedRandomGenerators();
    if (!commandLineSave.empty() && !SavedGameLoads(commandLineSave)) return false;
    InitSteamCloud(CmdLine.clearCloud);
    LogLoadProgress("InitSteamCloud");
    // Started after the rest of the background audio set-up, so that start-up does not
    // wait for it here.
    RunAudioSetupInBackground(PlayTitleMusic);
    LogLoadProgress("PlayMusic");
    return true;
}

// Cleared by a run that ends because the save named on the command line does not load: such
// a run has changed no setting, and leaves the user's file as it found it.
bool ConfigWrittenAtExit = true;

void WriteConfigAtExit() {
    if (ConfigWrittenAtExit) WriteConfig();
}

// What the end of the run releases before the exit handlers run.
void ReleaseForExit() {
    SpriteMgr_FreeAll();
    ClearEyeCandy();
    StopMusic();
    ReleaseGameData();
    PHYSFS_deinit();
}

void OnTerminationSignal(int) {
    RequestTermination();
}

// SIGTERM and SIGINT end the game as quitting does. SDL installs its own handlers for them,
// which turn them into a window-close request; ours replace those once SDL is set up.
void InstallTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a frame's sleep ends at once
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);  // the terminal closed: end as for SIGTERM
}

// Runs at the first poll for input after the signal: a game in play is saved as the
// settings screen's save-and-leave saves it and ended, the run is released as after the
// main menu's Quit, and the exit handlers write the configuration, remove the crash cookie
// and close down. Nothing returns to the loop that polled.
void EndOnTerminationRequest() {
    std::printf("Ending on a termination signal\n");
    int code = 0;
    if (CurrentPlayer != nullptr) {
        SaveOnLeaveFlag = true;
        const bool wanted = CurrentPlayer->dead == 0 && !TutorialFlag;
        if (!SaveOnLeaveIfAsked() && wanted) {
            // Nobody is there to answer a dialog: the reason goes where the caller sees it.
            std::fprintf(stderr, "Vaultmere: ended by a signal without saving the game: %s; the previous save is kept\n",
                         LastSaveGameError().c_str());
            code = kExitGameNotSaved;
        }
    }
    EndCurrentGame();
    ReleaseForExit();
    std::fflush(stdout);
    std::exit(code);
}

}  // namespace

void LoadGameplayArt() {
    if (!GameplayArtPending) return;
    GameplayArtPending = false;
    DropTitlePictureLoad();  // a game started from the command line: the menu reads it again
    QuestUIArtLoad();
    // Decoded in the background; the first use of each collects them.
    LoadNoticePictures();
    LoadRecipeBookArt();
    LoadPortraits();
    MinimapSprites = new SpriteTable("minimap", "ui/mini_icons.spr");
    LoadImpactSprites();
    LoadHudImages();
    LoadGlobalImages();
}

std::string CookiePath() {
    return UserFilePath("cookie.txt");
}

void LogLoadProgress(const char* label) {
    Uint32 now = LoggedGetTicks();
    if (CmdLine.startupTime) {
        std::printf("[LogLoadProgress] %.2f (+%.2f) seconds to: %s\n", (now - LoadStartTicks) / 1000.0,
                    (now - LoadLastTicks) / 1000.0, label);
    }
    LoadLastTicks = now;
}

void ResetLoadProgress() {
    LoadStartTicks = LoadLastTicks = LoggedGetTicks();
}

bool MoveFileReplacing(const char* from, const char* to) {
    RemoveFile(to);
    return std::rename(from, to) == 0;
}


void QuitAudioAndSDL() {
    ShutdownAudio();
    SDL_Quit();
}

void ExitEarly(int code) {
    // The exit handlers write what is to be written and give the user folder up last.
    std::fflush(stdout);
    std::exit(code);
}

namespace {

// The save named by -load-filename= cannot be loaded: the run ends with its own exit code.
[[noreturn]] void FailCommandLineLoad(const std::string& loadName) {
    std::printf("Could not load the saved game \"%s\"\n", loadName.c_str());
    ConfigWrittenAtExit = false;
    // The tables read at start-up go back before the early exit, as at every exit.
    ReleaseForExit();
    ExitEarly(kExitLoadFailed);
}

// The input script's "screenshot": the current screen into the user folder.
void TakeScriptScreenshot() {
    const std::string path = SaveScreenshot();
    if (path.empty()) {
        std::printf("Input script: the screenshot could not be saved\n");
    } else {
        std::printf("Input script: screenshot saved to %s\n", path.c_str());
    }
}

}  // namespace

int GameMain(int argc, char** argv) {
    // Large blocks (pictures, file contents) come from the heap and go back to it, instead
    // of being mapped and unmapped one by one: memory the process has touched once is used
    // again, and no unmapping interrupts the audio threads' processors.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    // The picture decoders' worker threads share one heap beside the main one: a heap of their
    // own each would keep what they freed from the rest of the process, and all in one heap
    // they would wait on each other and the main thread.
    mallopt(M_ARENA_MAX, 2);
    // One line at a time, so that nothing printed is lost when the process is killed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A signal from here on is kept for the first poll for input; SDL leaves a handler that is
    // already there in place, and ours is put back after SDL_Init all the same.
    InstallTerminationSignals();
    InitInputLog();
    SetScriptScreenshotTaker(TakeScriptScreenshot);
    SDL_putenv(const_cast<char*>("SDL_VIDEO_CENTERED=1"));
    // Every user file lives in the user folder; without it the game does not start, rather
    // than scatter the configuration and saves over the working directory.
    const std::string userFolderProblem = UserDataPathProblem();
    if (!userFolderProblem.empty()) {
        ShowErrorBox("Vaultmere cannot start: " + userFolderProblem + ".");
        return kExitUserFolderUnusable;
    }
    bool folderBusy = false;
    const std::string takeProblem = TakeUserFolder(&folderBusy);
    if (!takeProblem.empty()) {
        // Nothing of the user folder has been touched: the other run's cookie stays.
        ShowErrorBox(folderBusy ? takeProblem + "." : "Vaultmere cannot start: " + takeProblem + ".");
        return folderBusy ? kExitAlreadyRunning : kExitUserFolderUnusable;
    }
    // A write past a file-size limit fails as on a full disk instead of ending the process.
    signal(SIGXFSZ, SIG_IGN);
    SteamAPI_Init();
    InitSteamStats();
    std::printf("vaultmere: version %i.%i.%i\n", kVersionMajor, kVersionMinor, kVersionBuild);
    if (CrashFlag) {
        AwardAchievement("ACHIEVEMENT_CRASH_GAME");
    }
    MoveFileReplacing("log.log", "lastlog.log");
    // A test or a tool may watch the game's events in a log of its choosing.
    if (const char* events = std::getenv("VAULTMERE_EVENT_LOG")) {
        if (*events != '\0') OpenEventLog(events);
    }
    ParseCommandLine(argc, argv);
    MountDataTree();

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0) {
        std::printf("Unable to init SDL: %s\n", SDL_GetError());
        return 1;
    }
    InstallTerminationSignals();
    SetTerminationHandler(EndOnTerminationRequest);
    LogLoadProgress("start");
    SetCaption();
    const SDL_version* linked = SDL_Linked_Version();
    std::printf("SDL version %d.%d.%d\n", linked->major, linked->minor, linked->patch);
    SDL_EnableUNICODE(1);
    std::atexit(QuitAudioAndSDL);
    std::atexit(CloseInputLog);
    LogLoadProgress("SDL_Init");

    CreateLeaderboards();
    InitKeyBindings();
    ClearAutoLoot();
    LoadTweakVals();
    LogLoadProgress("LoadTweakVals");
    if (!LoadFonts()) {
        // The configuration has not been read yet, so nothing writes over the user's file.
        return 2;
    }
    LogLoadProgress("LoadFonts");
    InitExperienceTable();
    LogLoadProgress("LoadFonts");
    LoadMods();
    LogLoadProgress("LoadMods");
    InitMusic();
    LogLoadProgress("InitMusic");
    BuildVideoModeList();
    LoadTutorial();
    LoadConfig();
    ValidateResolutionIndex();
    LoadDialogs();
    LogLoadProgress("LoadDialogs");
    // Written at every normal exit from here on, once there is a configuration to write.
    std::atexit(WriteConfigAtExit);

    InitSteamWorkshop();
    if (CmdLine.publisher) {
        // The temporary cloud names of a publication are drawn from the generators.
        SeedRandomGenerators();
        RunModPublisher();
        ExitEarly(0);
    }
    if (CmdLine.initialConfig) {
        LaunchInitialConfig();
        LogLoadProgress("LaunchInitialConfig");
    }
    ApplyStartupScreenSettings(CmdLine.initialConfig);
    SetMusicEnabled(EffectiveMusicEnabled());
    ResetLoadProgress();
    LoadSFXInBackground();
    LogLoadProgress("LoadSFX");
    LoadHighScores();
    LogLoadProgress("LoadHighScores");

    SDL_EnableUNICODE(1);
    CursorSprite = SpriteMgr_GetOrLoad("ui/cursor.spr");
    CursorCornerSprite = SpriteMgr_GetOrLoad("ui/cursorcorner.spr");
    CurrentCursor = CursorSprite;
    SetCaption();
    if (!SetVideoMode()) {
        ExitEarly(1);
    }
    SDL_ShowCursor(0);
    LogLoadProgress("SetVideoMode");
    LogLoadProgress("SpriteMgr_Init");
    // The title menu's picture decodes on a worker while the databases and the art load (its
    // worker makes a surface, so not before the video mode is set).
    StartTitlePictureLoad(CmdLine.screenWidth, CmdLine.screenHeight);
    const std::string loadName = GetLoadFilenameArg(argc, argv);
    if (!LoadGameData(loadName)) FailCommandLineLoad(loadName);

    if (Player* hero = CreatePlayerFromCommandLine(argc, argv)) PlayGame(hero);
    if (!loadName.empty() && !LoadAndPlay(loadName)) FailCommandLineLoad(loadName);
    RunMainMenuLoop();

    ReleaseForExit();
    return 0;
}
