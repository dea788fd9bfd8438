#include "interface/high_score_screen.h"

#include "core/high_scores.h"
#include "core/input_log.h"
#include "core/text_db.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/menu_frame.h"
#include "interface/menu_main.h"
#include "interface/menu_screen_art.h"
#include "interface/menu_screen_hooks.h"
#include "interface/screens.h"
#include "levels/level.h"
#include "media/font.h"
#include "media/music.h"
#include "media/screen.h"
#include "media/surface.h"
#include "media/text.h"
#include "platform/platform.h"
#include "store_platform/leaderboards.h"
#include "store_platform/stats.h"

#include <sys/stat.h>

#include <cstdio>

const char* const kVictoryPages[4] = {
    "With your last blow, Lord Zarnoch collapses to the ground... a crumbling, withered pile of bones and "
    "cloth, his evil has been sealed away.",
    "Triumphant, you ascend out of the Dungeon, to await the gratitude of a populace that can now live in a "
    "land without fear, free to go about generally being nasty to each other.",
    "Yet no evil ever truly lies vanquished. You may rest, hero, for your work is done.",
    "Evil sleeps for now, but soon, very soon, another identical hero must be called upon to enter the "
    "Vaultmere...",
};

const char* const kHighScoresTitle = "High Scores";
const char* const kNoHighScoresText = "No scores yet";

const char* const kVictoryDeathText = "Vanquished Lord Zarnoch!";

namespace {

const char* const kGravePicture = "ui/zarnoch_grave.png";

// Shows MenuBackground whole, then runs menu frames until a mouse-button release (or, with
// keys, a key release) has come.
void ShowAndWaitForRelease(bool keysToo) {
    CopyMenuBackgroundToScreen();
    PresentFrame(ScreenSurface);
    SDL_Delay(10);
    for (bool done = false; !done;) {
        PresentMenuFrame();
        SDL_Event event;
        while (!done && LoggedPollEvent(&event)) {
            if (event.type == SDL_MOUSEBUTTONUP) done = true;
            if (keysToo && event.type == SDL_KEYUP) done = true;
        }
    }
}

bool OpenGraveBackdrop() {
    AutoSurface backdrop(DrawMenuBackground(kGravePicture, nullptr));
    if (!backdrop || !SetMenuBackgrounds(backdrop, true)) {
        FreeMenuBackgrounds();
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

void PostScore(const Player& hero) {
    UploadRunScore(hero.difficulty, hero.permadeath != 0, hero.score);
}

void DrawEpitaph(const Player& hero) {
    const int32_t cx = MenuScreenWidth() / 2;
    const int32_t cy = MenuScreenHeight() / 2;
    DrawTextCentered(cx, cy - 120, hero.name.c_str(), LargeFont, kTextGold, MenuBackground);
    DrawTextCentered(cx, cy - 90, "the", LargeFont, kTextGold, MenuBackground);
    DrawTextCentered(cx, cy - 60, hero.GetTitle().c_str(), LargeFont, kTextGold, MenuBackground);
    std::string simile;
    MakeRandomSimile(simile, hero.female != 0);
    DrawTextCentered(cx, cy, simile.c_str(), LargeFont, kTextBlack, MenuBackground);
    const std::string killed = "Killed " + hero.deathCause;
    const int32_t used = DrawTextWrappedCentered(killed.c_str(), cx - 250, cy + 60, cx + 250, cy + 120, LargeFont,
                                                 kTextBlack, MenuBackground);
    const std::string where = EpitaphLevelLine(CurrentLevel);
    DrawTextCentered(cx, cy + used + 70, where.c_str(), LargeFont, kTextBlack, MenuBackground);
    const std::string score = "Your score: " + std::to_string(hero.score);
    DrawTextCentered(cx, cy + used + 120, score.c_str(), LargeFont, kTextBlack, MenuBackground);
}

// The victory picture's middle, cut to the screen as the title picture is.
void DrawVictoryPicture(SDL_Surface* picture) {
    SDL_FillRect(MenuBackground, nullptr, SDL_MapRGB(MenuBackground->format, 0, 0, 0));
    if (picture != nullptr) DrawTitlePictureMiddle(picture, MenuBackground);
}

}  // namespace

std::vector<std::string> VictoryAchievements(int32_t difficulty, bool permadeath, bool randomBuild) {
    std::vector<std::string> names;
    if (randomBuild) names.push_back("ACHIEVEMENT_RANDOM_SKILLS_BUILD");
    static const char* const kLevels[3] = {"EASY", "MEDIUM", "HARD"};
    if (difficulty >= 0 && difficulty <= 2) {
        const std::string base = std::string("ACHIEVEMENT_KILL_ZARNOCH_") + kLevels[difficulty];
        names.push_back(base);
        if (permadeath) names.push_back(base + "_PERMADEATH");
    }
    return names;
}

std::string EpitaphLevelLine(const Level* level) {
    if (level != nullptr && level->isSideDimension != 0) return "in a mysterious dimension";
    return "on Level " + std::to_string((level != nullptr ? level->depth : 0) + 1);
}

std::string HighScoreName(const Player& hero) {
    return hero.name + " the " + hero.GetTitle();
}

bool RecordHighScore(const std::string& name, int32_t score, const std::string& text) {
    if (!LoadHighScores() && FileExists(UserFilePath("hiscores.txt"))) {
        std::printf("hiscores.txt could not be read; the table is left as it is\n");
        return false;
    }
    HighScoreEntry entry;
    entry.name = name;
    entry.score = score;
    entry.text = text;
    if (!AddHighScore(entry)) return false;
    return SaveHighScores();
}

void ShowHighScores() {
    LoadHighScores();
    if (!OpenGraveBackdrop()) return;
    const int32_t cx = MenuScreenWidth() / 2;
    const int32_t cy = MenuScreenHeight() / 2;
    const std::vector<HighScoreEntry>& table = GetHighScores();
    // The heading inside the grave's frame, an empty table said in words, and Back at the
    // corner where the other menu screens keep it (any click or key leaves the screen).
    DrawTextCentered(cx, cy - 250, kHighScoresTitle, LargeFont, kTextGold, MenuBackground);
    if (table.empty()) DrawTextCentered(cx, cy - 40, kNoHighScoresText, LargeFont, kTextBlack, MenuBackground);
    {
        AutoSurface back(LoadMenuPicture("ui/skillselect_back0.png", 128, 64, "Back"));
        BlitPictureAt(back, MenuBackground, 0, 0);
    }
    for (int32_t i = 0; i < kShownHighScores && i < static_cast<int32_t>(table.size()); ++i) {
        const HighScoreEntry& entry = table[static_cast<size_t>(i)];
        const int32_t y = cy - 140 + 40 * i;
        DrawStyledText(cx - 240, y, entry.name.c_str(), 1, MenuBackground);
        DrawStyledText(cx - 240, y + 16, entry.text.c_str(), 1, MenuBackground);
        DrawStyledText(cx + 240, y, std::to_string(entry.score).c_str(), 2, MenuBackground);
    }
    ShowAndWaitForRelease(true);
    FreeMenuBackgrounds();
}

void ShowDeathScreen() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    PostScore(*hero);
    if (MenuHooks.deleteDeadHeroSaves != nullptr) MenuHooks.deleteDeadHeroSaves();
    if (OpenGraveBackdrop()) {
        DrawEpitaph(*hero);
        ShowAndWaitForRelease(false);
        FreeMenuBackgrounds();
    }
    RecordHighScore(HighScoreName(*hero), hero->score, hero->deathCause);
    ShowHighScores();
}

void ShowVictoryScreen() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    AutoSurface picture(LoadMenuPicture(hero->female != 0 ? "ui/zarnoch_victory_big_fem.png"
                                                           : "ui/zarnoch_victory_big.png"));
    FreeMenuBackgrounds();
    MenuBackground = CreateScreenSizedSurface();
    for (const std::string& name : VictoryAchievements(hero->difficulty, hero->permadeath != 0, hero->randomBuild != 0)) {
        AwardAchievement(name.c_str());
    }
    PlayMusic("tunes/victory-intro.ogg", "tunes/victory-repeat.ogg", 0);
    if (MenuBackground != nullptr) {
        DrawVictoryPicture(picture);
        ShowAndWaitForRelease(false);
        if (!DialogBoxPicture) LoadDialogs();
        AutoSurface standInBox(DialogBoxPicture ? nullptr : MakeStandInDialogBox());
        SDL_Surface* box = DialogBoxPicture ? DialogBoxPicture : standInBox.get();
        const int32_t cx = MenuScreenWidth() / 2;
        const int32_t cy = MenuScreenHeight() / 2;
        const int32_t bw = box != nullptr ? box->w : 420;
        const int32_t bh = box != nullptr ? box->h : 260;
        const int32_t bx = cx - bw / 2;
        const int32_t by = cy - bh / 2;
        for (const char* page : kVictoryPages) {
            DrawVictoryPicture(picture);
            BlitPictureAt(box, MenuBackground, bx, by);
            DrawTextWrapped(page, bx + 32, by + 48, bx + bw - 32, by + bh - 64, AltMediumFont, kTextBlack,
                            MenuBackground);
            ShowAndWaitForRelease(false);
        }
    }
    hero->deathCause = kVictoryDeathText;
    PostScore(*hero);
    FreeMenuBackgrounds();
    picture.Reset();
    RecordHighScore(HighScoreName(*hero), hero->score, hero->deathCause);
    ShowHighScores();
}
