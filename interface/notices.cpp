// The picture notices with simple content, the level-up notice and the shared notice loop.
#include "interface/notices.h"

#include <cstdio>
#include <string>

#include "core/input_log.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud_draw.h"
#include "interface/layout.h"
#include "items_fixtures/item.h"
#include "media/bob.h"
#include "media/font.h"
#include "media/image.h"
#include "media/image_batch.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/surface.h"
#include "media/text.h"

const char* const kNoticePictureFiles[kNoticePictureCount] = {
    "ui/dialog_alert_bigger.png",
    "ui/gameplay/questcomplete_bg.png",
    "ui/gameplay/questoffer_bg.png",
    "ui/gameplay/krong_displeased.png",
    "ui/gameplay/krong_pleased.png",
    "ui/gameplay/lutefisk_god_bg.png",
    "ui/gameplay/lutefisk_god_bg_slot.png",
    "ui/fountain_bg_drink.png",
    "ui/fountain_bg_text.png",
    "ui/tutorial/tutorial_complete_bg.png",
    "ui/gameplay/monster_zoo_cleared.png",
    "ui/gameplay/monster_zoo_cleared_fem.png",
    "ui/gameplay/dialog_steal.png",
    "ui/crafting/findrecipe_1ingredient.png",
    "ui/crafting/findrecipe_2ingredient.png",
    "ui/crafting/findrecipe_3ingredient.png",
    "ui/crafting/findrecipe_4ingredient.png",
};

namespace {

SDL_Surface* NoticePictures[kNoticePictureCount] = {};
bool NoticePicturesLoaded = false;

const char* const kLevelUpTitles[21] = {
    "It's Dangerous To Go Alone! Take This!",
    "Meddling Kid",
    "Your Princess Is In Another Castle",
    "Conan the Librarian",
    "Power Level: 1,370",
    "Metaphor for the Atomic Bomb",
    "Drinking from the Fire Hose",
    "The Blue Thunder of Furinkan High",
    "The Potato of Justice",
    "Power Level One Million",
    "The Pork Chop Express",
    "The Big Iron On His Hip",
    "Fighting Evil By Moonlight",
    "Licensed To Kill",
    "Oh Snap",
    "Inconceivable",
    "Keeper of the Rings of Betazed",
    "He Might Be A Giant",
    "What Is Best In Life?",
    "The White Lotus",
    "Four Balls On The Edge Of A Cliff",
};

Sprite* LevelUpBook() {
    return SpriteMgr_GetOrLoadSeries("levelupbook", "ui/gameplay/levelup_tome", 4, 0, 200, 1);
}

SDL_Surface* LoadNoticePicture(const char* file) {
    SDL_Surface* picture = LoadImage(file);
    if (picture == nullptr) std::printf("Could not read the dialog picture %s\n", file);
    return picture;
}

void DrawPicture(SDL_Surface* picture, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

}  // namespace

namespace {

// The notice pictures decode in the background from LoadNoticePictures on; the first use
// (or freeing them) collects them.
PictureBatch& NoticeBatch() {
    static PictureBatch batch;
    return batch;
}

void CollectNoticePictures() {
    if (!NoticeBatch().Pending()) return;
    const std::vector<SDL_Surface*> pictures = NoticeBatch().Finish();
    for (int32_t i = 0; i < kNoticePictureCount && i < static_cast<int32_t>(pictures.size()); ++i) {
        NoticePictures[i] = pictures[i];
        if (pictures[i] == nullptr) std::printf("Could not read the dialog picture %s\n", kNoticePictureFiles[i]);
    }
}

}  // namespace

SDL_Surface* NoticePictureOf(int32_t index) {
    if (index < 0 || index >= kNoticePictureCount) return nullptr;
    if (!NoticePicturesLoaded) LoadNoticePictures();
    CollectNoticePictures();
    return NoticePictures[index];
}

void LoadNoticePictures() {
    FreeNoticePictures();
    NoticePicturesLoaded = true;
    NoticeBatch().Start(std::vector<std::string>(kNoticePictureFiles, kNoticePictureFiles + kNoticePictureCount));
    LevelUpBook();
}

void FreeNoticePictures() {
    CollectNoticePictures();
    for (SDL_Surface*& picture : NoticePictures) {
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    NoticePicturesLoaded = false;
}

namespace {

const char* const kNoticeWayOut = "Click or press Enter";

// The way out of a notice, on a dark strip just under its picture (the picture's art and
// content keep their whole area).
void DrawNoticeWayOut(SDL_Surface* background, int32_t x, int32_t y) {
    const int32_t w = background != nullptr ? background->w : 0;
    const int32_t h = background != nullptr ? background->h : 0;
    const int32_t cx = x + w / 2;
    const int32_t top = y + h + 4;
    HudRecordText(kNoticeWayOut, cx, top);
    if (ScreenSurface == nullptr) return;
    const int32_t textW = TextWidth(kNoticeWayOut, MediumFont);
    const int32_t textH = TextHeight(kNoticeWayOut, MediumFont);
    SDL_Rect box = {static_cast<Sint16>(cx - textW / 2 - 8), static_cast<Sint16>(top - 2),
                    static_cast<Uint16>(textW + 16), static_cast<Uint16>(textH + 4)};
    SDL_FillRect(ScreenSurface, &box, SDL_MapRGB(ScreenSurface->format, 16, 12, 8));
    DrawMediumTextCenteredGold(cx, top, kNoticeWayOut, ScreenSurface);
}

}  // namespace

void RunNotice(SDL_Surface* background, bool hideTooltips, const std::function<void(int32_t x, int32_t y)>& content) {
    // A button held as the notice opens belongs to the click that opened it: its release is
    // not the player's answer.
    int mx = 0;
    int my = 0;
    Uint8 heldAtOpen = LoggedGetMouseState(&mx, &my);
    for (;;) {
        if (hideTooltips) TooltipSlotFree = false;
        DrawGameScreen();
        int32_t x = 0;
        int32_t y = 0;
        CentredPanelCorner(background, 0, 0, &x, &y);
        DrawPicture(background, x, y);
        if (content) content(x, y);
        DrawNoticeWayOut(background, x, y);
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && event.key.keysym.sym == SDLK_RETURN) return;
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                // Pressed again after the notice opened: its next release counts.
                heldAtOpen = static_cast<Uint8>(heldAtOpen & ~SDL_BUTTON(event.button.button));
            } else if (event.type == SDL_MOUSEBUTTONUP) {
                const Uint8 mask = static_cast<Uint8>(SDL_BUTTON(event.button.button));
                if ((heldAtOpen & mask) != 0) {
                    heldAtOpen = static_cast<Uint8>(heldAtOpen & ~mask);
                    continue;
                }
                return;
            }
        }
    }
}

void DrawItemIcon(Item* item, int32_t x, int32_t y) {
    if (item == nullptr || item->iconSprite == nullptr) return;
    item->iconSprite->DrawFrame(x, y, 0);
}

const char* LevelUpTitle(int32_t level) {
    if (level >= 1 && level <= 21) return kLevelUpTitles[level - 1];
    return "The Balls Are Inert";
}

void ShowZooClearedDialog(Item* reward) {
    const bool female = CurrentPlayer != nullptr && CurrentPlayer->female != 0;
    RunNotice(NoticePictureOf(female ? kPictureZooClearedFemale : kPictureZooCleared), false,
              [reward](int32_t x, int32_t y) { DrawItemIcon(reward, x + 358, y + 304); });
}

void ShowStealDialog(Item* item) {
    RunNotice(NoticePictureOf(kPictureSteal), false, [item](int32_t x, int32_t y) { DrawItemIcon(item, x + 127, y + 86); });
}

void ShowFountainTextDialog(const char* text) {
    RunNotice(NoticePictureOf(kPictureFountainText), false, [text](int32_t x, int32_t y) {
        DrawTextWrappedCentered(text, x + 52, y + 280, x + 366, y + 350, MediumFont, kTextBlack, ScreenSurface);
    });
}

void ShowLutefiskGiftDialog(Item* item) {
    const std::string name = item != nullptr ? item->GetItemName() : std::string();
    RunNotice(NoticePictureOf(kPictureLutefiskGodSlot), false, [item, &name](int32_t x, int32_t y) {
        DrawItemIcon(item, x + 227, y + 164);
        DrawTextWrappedCentered(name.c_str(), x + 32, y + 331, x + 488, y + 381, MediumFont, kTextBlack, ScreenSurface);
    });
}

void ShowQuestCompleteDialog(Item* reward) {
    const std::string name = reward != nullptr ? reward->GetItemName() : std::string();
    RunNotice(NoticePictureOf(kPictureQuestComplete), false, [reward, &name](int32_t x, int32_t y) {
        DrawItemIcon(reward, x + 200, y + 168);
        const int32_t h = WrappedTextHeight(name.c_str(), MediumFont, 287);
        DrawTextWrappedCentered(name.c_str(), x + 88, y + 312 - h / 2, x + 375, y + 360, MediumFont, kTextBlack,
                                ScreenSurface);
    });
}

void ShowLutefiskTitheDialog(int32_t count) {
    const std::string line = "You have tithed " + std::to_string(count) + " pieces of lutefisk.";
    RunNotice(NoticePictureOf(kPictureLutefiskGod), false,
              [&line](int32_t x, int32_t y) { DrawMediumTextCentered(x + 264, y + 344, line.c_str()); });
}

void ShowLevelUpDialog() {
    const bool female = CurrentPlayer != nullptr && CurrentPlayer->female != 0;
    const char* file = female ? "ui/gameplay/levelup_bg_fem.png" : "ui/gameplay/levelup_bg.png";
    AutoSurface background(LoadNoticePicture(file));
    Bob book;
    book.SetSprite(LevelUpBook());
    const char* title = LevelUpTitle(CurrentPlayer != nullptr ? CurrentPlayer->level : 0);
    Uint32 previous = LoggedGetTicks();
    RunNotice(background.get(), false, [&](int32_t x, int32_t y) {
        DrawLargeTextCentered(x + 280, y + 24, "Level Up!");
        DrawMediumTextCentered(x + 395, y + 172, title);
        DrawTextWrapped("You must learn a new skill from your Skill Tome to gain the full effect of your new level.",
                        x + 160, y + 235, x + 352, y + 323, MediumFont, kTextBlack, ScreenSurface);
        book.x = x + 368;
        book.y = y + 192;
        book.Draw();
        const Uint32 now = LoggedGetTicks();
        book.Update(static_cast<int32_t>(now - previous));
        previous = now;
    });
    background.Reset(nullptr);
    MenuBarHover = false;
    ShowSkillTome();
}

