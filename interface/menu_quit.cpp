// The quit confirmation after the main menu's Quit: the title picture with the dialog box, a
// plea to stay, and the buttons Quit and Don't quit.
#include "core/input_log.h"
#include "core/random.h"
#include "media/screen.h"
#include "interface/button.h"
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

}  // namespace

const char* const kQuitScreenText = "Just one more game wouldn't hurt, would it?";

int32_t ShowQuitScreen() {
    AutoSurface title(LoadTitlePicture());
    MenuBackground = CreateScreenSizedSurface();
    if (!MenuBackground) return 1;
    DrawTitlePictureMiddle(title, MenuBackground);
    StateButton buttons[2];
    buttons[0].Load("ui/dialog_but_quit", "Quit", kFallbackButtonWidth, kFallbackButtonHeight);
    buttons[1].Load("ui/dialog_but_dontquit", "Don't quit", kFallbackButtonWidth, kFallbackButtonHeight);
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
    for (StateButton& b : buttons) b.rect.y = static_cast<Sint16>(by + bh - b.rect.h - 16);

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
        for (StateButton& b : buttons) {
            int mx = 0, my = 0;
            const Uint8 held = LoggedGetMouseState(&mx, &my);
            b.Draw(MenuBackground, mx, my, held);
            QueueMenuRect(b.rect);
        }
        PresentMenuFrame();

        SDL_Event event;
        while (!done && LoggedPollEvent(&event)) {
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            result = buttons[0].Contains(event.button.x, event.button.y) ? 1 : 0;
            done = true;
        }
    }
    FreeMenuBackgrounds();
    return result;
}
