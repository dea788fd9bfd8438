// The quit confirmation after the main menu's Quit: the title picture with the dialog box, a
// plea to stay, and the buttons Quit and Don't quit.
#include "core/input_log.h"
#include "core/random.h"
#include "media/screen.h"
#include "interface/dialogs.h"
#include "interface/menu_frame.h"
#include "interface/menu_main.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/sound.h"
#include "media/text.h"

#include <string>

namespace {

constexpr int kFallbackButtonWidth = 120;
constexpr int kFallbackButtonHeight = 32;

bool InsideInclusive(const SDL_Rect& r, int x, int y) {
    return x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h;
}

struct QuitButton {
    AutoSurface states[3];
    SDL_Rect rect = {0, 0, 0, 0};

    void Load(const char* base, const char* label) {
        for (int s = 0; s < 3; ++s) {
            const std::string name = std::string(base) + std::to_string(s) + ".png";
            states[s].Reset(LoadMenuPicture(name.c_str(), kFallbackButtonWidth, kFallbackButtonHeight, label));
        }
        rect.w = static_cast<Uint16>(states[0] ? states[0]->w : kFallbackButtonWidth);
        rect.h = static_cast<Uint16>(states[0] ? states[0]->h : kFallbackButtonHeight);
    }
};

}  // namespace

const char* const kQuitScreenText = "Just one more game wouldn't hurt, would it?";

int32_t ShowQuitScreen() {
    AutoSurface title(LoadTitlePicture());
    MenuBackground = CreateScreenSizedSurface();
    if (!MenuBackground) return 1;
    DrawTitlePictureMiddle(title, MenuBackground);
    QuitButton buttons[2];
    buttons[0].Load("ui/dialog_but_quit", "Quit");
    buttons[1].Load("ui/dialog_but_dontquit", "Don't quit");
    if (!DialogBoxPicture) LoadDialogs();
    AutoSurface standInBox(DialogBoxPicture ? nullptr : MakeStandInDialogBox());
    SDL_Surface* boxPicture = DialogBoxPicture ? DialogBoxPicture : standInBox.get();

    const int cx = MenuScreenWidth() / 2;
    const int cy = MenuScreenHeight() / 2;
    const int bw = boxPicture ? boxPicture->w : 420;
    const int bh = boxPicture ? boxPicture->h : 260;
    const int bx = cx - bw / 2;
    const int by = cy - bh / 2;
    const SDL_Rect box = {static_cast<Sint16>(bx), static_cast<Sint16>(by), static_cast<Uint16>(bw),
                          static_cast<Uint16>(bh)};
    buttons[0].rect.x = static_cast<Sint16>(bx + bw / 4 - buttons[0].rect.w / 2);
    buttons[1].rect.x = static_cast<Sint16>(bx + (3 * bw) / 4 - buttons[1].rect.w / 2);
    for (QuitButton& b : buttons) b.rect.y = static_cast<Sint16>(by + bh - b.rect.h - 16);

    CopyMenuBackgroundToScreen();
    PresentFrame(ScreenSurface);
    SDL_Delay(10);
    if (MTOneChanceIn(5)) PlaySFX("pleasedontgo");

    int32_t result = 0;
    for (bool done = false; !done;) {
        SDL_Rect area = box;
        DrawTitlePictureMiddle(title, MenuBackground, &area);
        if (boxPicture) {
            SDL_Rect at = box;
            BlitSurface(boxPicture, nullptr, MenuBackground, &at);
        }
        DrawTextWrappedCentered(kQuitScreenText, bx + 32, by + 96, bx + bw - 32, by + bh - 64, MediumFont,
                                kTextBlack, MenuBackground);
        QueueMenuRect(box);
        for (QuitButton& b : buttons) {
            int mx = 0, my = 0;
            const Uint8 held = LoggedGetMouseState(&mx, &my);
            const int state = InsideInclusive(b.rect, mx, my) ? ((held & SDL_BUTTON(SDL_BUTTON_LEFT)) ? 2 : 1) : 0;
            SDL_Surface* picture = b.states[state] ? b.states[state].get() : b.states[0].get();
            SDL_Rect at = b.rect;
            if (picture) BlitSurface(picture, nullptr, MenuBackground, &at);
            QueueMenuRect(b.rect);
        }
        PresentMenuFrame();

        SDL_Event event;
        while (!done && LoggedPollEvent(&event)) {
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            result = InsideInclusive(buttons[0].rect, event.button.x, event.button.y) ? 1 : 0;
            done = true;
        }
    }
    FreeMenuBackgrounds();
    return result;
}
