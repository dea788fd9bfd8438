#include "interface/dialogs.h"

#include "core/shell/shell_services.h"
#include "core/input_log.h"
#include "media/screen.h"
#include "creatures/player.h"
#include "interface/button.h"
#include "interface/game_frame.h"
#include "interface/hud_draw.h"
#include "media/image.h"
#include "interface/layout.h"
#include "interface/menu_frame.h"
#include "interface/notices.h"
#include "interface/play_screen.h"
#include "media/font.h"
#include "media/sound.h"
#include "media/text.h"

#include <string>

SDL_Surface* DialogBoxPicture = nullptr;

namespace {

// The size the dialog lays itself out for when the box picture is missing.
constexpr int kFallbackBoxWidth = 420;
constexpr int kFallbackBoxHeight = 260;
constexpr int kFallbackButtonWidth = 120;
constexpr int kFallbackButtonHeight = 32;

// The four close-cross pictures, read when first drawn and kept for the process.
SDL_Surface* CloseCross[2] = {};
SDL_Surface* CopperCross[2] = {};
bool CrossesLoaded = false;

// The box picture, read on first need; null while the data does not hold it (a stand-in box
// is then made for each call, so the real picture is found once the data is there).
SDL_Surface* EnsureDialogBox() {
    if (!DialogBoxPicture) DialogBoxPicture = LoadMenuPicture("ui/dialog_alert.png");
    return DialogBoxPicture;
}

void EnsureCrosses() {
    if (CrossesLoaded) return;
    CrossesLoaded = true;
    CloseCross[0] = LoadMenuPicture("ui/button_xclose0.png", 20, 20);
    CloseCross[1] = LoadMenuPicture("ui/button_xclose1.png", 20, 20);
    CopperCross[0] = LoadMenuPicture("ui/gameplay/xclose_copper0.png", 20, 20);
    CopperCross[1] = LoadMenuPicture("ui/gameplay/xclose_copper1.png", 20, 20);
}

void DrawCross(SDL_Surface* const pictures[2], int32_t x, int32_t y) {
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    const bool lit = mx >= x && mx <= x + 20 && my >= y && my <= y + 20;
    SDL_Surface* picture = pictures[lit ? 1 : 0];
    if (!picture || !ScreenSurface) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

// The label a stand-in button shows when its art is missing: the part of the base after the
// last "_" ("ui/dialog_but_ok" -> "ok").
std::string FallbackLabel(const char* base) {
    std::string name(base);
    const size_t cut = name.find_last_of('_');
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

}  // namespace

void LoadDialogs() {
    EnsureDialogBox();
}

void FreeDialogPictures() {
    SDL_FreeSurface(DialogBoxPicture);
    DialogBoxPicture = nullptr;
    for (SDL_Surface** pair : {CloseCross, CopperCross}) {
        for (int i = 0; i < 2; ++i) {
            SDL_FreeSurface(pair[i]);
            pair[i] = nullptr;
        }
    }
    CrossesLoaded = false;
    FreeNoticePictures();
}

SDL_Surface* MakeStandInDialogBox() {
    SDL_Surface* box = SDL_CreateRGBSurface(SDL_SWSURFACE, kFallbackBoxWidth, kFallbackBoxHeight, 32, 0x00FF0000,
                                            0x0000FF00, 0x000000FF, 0);
    if (box) SDL_FillRect(box, nullptr, SDL_MapRGB(box->format, 214, 196, 150));
    return box;
}

int32_t DialogButtonAt(int32_t x, int32_t y, bool twoButtons, int32_t boxHeight, int32_t firstButtonHeight) {
    const int32_t cx = Layout.screenWidth / 2;
    const int32_t cy = Layout.screenHeight / 2;
    const int32_t b = cy + boxHeight / 2 - firstButtonHeight;
    if (!(b - kDialogClickHalfHeight < y && y < b + kDialogClickHalfHeight)) return -1;
    if (!twoButtons) {
        return (cx - kDialogSingleHalfWidth < x && x < cx + kDialogSingleHalfWidth) ? 1 : -1;
    }
    if (cx + kDialogFirstLeft < x && x < cx + kDialogFirstRight) return 0;
    if (cx + kDialogSecondLeft < x && x < cx + kDialogSecondRight) return 1;
    return -1;
}

int32_t ShowDialog(const char* text, const char* firstArt, const char* secondArt) {
    if (!firstArt) firstArt = "ui/dialog_but_ok";
    const bool twoButtons = secondArt != nullptr;
    AutoSurface standInBox;
    SDL_Surface* boxPicture = EnsureDialogBox();
    if (!boxPicture) {
        standInBox.Reset(MakeStandInDialogBox());
        boxPicture = standInBox;
    }

    StateButton buttons[2];
    buttons[0].Load(firstArt, FallbackLabel(firstArt).c_str(), kFallbackButtonWidth, kFallbackButtonHeight);
    if (twoButtons) {
        buttons[1].Load(secondArt, FallbackLabel(secondArt).c_str(), kFallbackButtonWidth, kFallbackButtonHeight);
    }

    if (CurrentPlayer) {
        CurrentPlayer->SetIdleAnimation();
        CurrentPlayer->offsetX = 0.0f;
        CurrentPlayer->offsetY = 0.0f;
    }
    // The click or key that opened the dialog must not close it, and no held key walks on.
    FlushInput();
    DiscardPendingEvents();

    for (;;) {
        const int32_t cx = Layout.screenWidth / 2;
        const int32_t cy = Layout.screenHeight / 2;
        const int32_t boxW = boxPicture ? boxPicture->w : kFallbackBoxWidth;
        const int32_t boxH = boxPicture ? boxPicture->h : kFallbackBoxHeight;
        const int32_t boxX = cx - boxW / 2;
        const int32_t boxY = cy - boxH / 2;

        DrawGameScreen();
        if (boxPicture && ScreenSurface) {
            SDL_Rect at = {static_cast<Sint16>(boxX), static_cast<Sint16>(boxY), 0, 0};
            BlitSurface(boxPicture, nullptr, ScreenSurface, &at);
        }
        DrawTextWrapped(text, boxX + 32, boxY + 48, boxX + boxW - 32, boxY + boxH - 64, AltMediumFont,
                        kTextBlack, ScreenSurface);
        if (twoButtons) {
            buttons[0].rect.x = static_cast<Sint16>(boxX + boxW / 4 - buttons[0].rect.w / 2);
            buttons[1].rect.x = static_cast<Sint16>(boxX + (3 * boxW) / 4 - buttons[1].rect.w / 2);
        } else {
            buttons[0].rect.x = static_cast<Sint16>(boxX + boxW / 2 - buttons[0].rect.w / 2);
        }
        int mx = 0, my = 0;
        const Uint8 mouseButtons = LoggedGetMouseState(&mx, &my);
        for (int i = 0; i < (twoButtons ? 2 : 1); ++i) {
            buttons[i].rect.y = static_cast<Sint16>(boxY + boxH - buttons[i].rect.h - 16);
            buttons[i].Draw(ScreenSurface, mx, my, mouseButtons);
        }
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (!twoButtons && event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_RETURN) return 1;
            if (event.type != SDL_MOUSEBUTTONUP || event.button.button != SDL_BUTTON_LEFT) continue;
            const int32_t hit = DialogButtonAt(event.button.x, event.button.y, twoButtons, boxH, buttons[0].rect.h);
            if (hit == 0) {
                PlaySFX("key");
                return 0;
            }
            if (hit == 1) {
                PlaySFX("click");
                return 1;
            }
        }
    }
}

void DrawCloseButton(int32_t x, int32_t y) {
    HudRecord("close cross", x, y);
    EnsureCrosses();
    DrawCross(CloseCross, x, y);
}

void DrawCopperCloseButton(int32_t x, int32_t y) {
    EnsureCrosses();
    DrawCross(CopperCross, x, y);
}

void ShowZooAnnouncement() {
    static SDL_Surface* picture = nullptr;
    if (picture == nullptr) picture = LoadImage("ui/monsterZoo.png");
    ZooBannerImage = picture;
    ZooBannerMs = 2000;
}

namespace {
PlayWindowReplacement WindowReplacement = nullptr;
}  // namespace

void SetPlayWindowReplacement(PlayWindowReplacement replacement) { WindowReplacement = replacement; }

PlayWindowReplacement GetPlayWindowReplacement() { return WindowReplacement; }
