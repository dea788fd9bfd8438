#include "interface/intro_screen.h"

#include "core/input_log.h"
#include "interface/menu_frame.h"
#include "interface/screens.h"
#include "media/screen.h"
#include "media/surface.h"

const char* IntroPicture(int32_t step, int32_t female) {
    if (step == 0) return "ui/zarnoch_intro1.png";
    return female != 0 ? "ui/zarnoch_intro2_fem.png" : "ui/zarnoch_intro2.png";
}

void ShowIntro(int32_t female) {
    for (int32_t step = 0; step < 2; ++step) {
        {
            AutoSurface backdrop(DrawMenuBackground(IntroPicture(step, female), nullptr));
            if (!backdrop || !SetMenuBackgrounds(backdrop, true)) {
                FreeMenuBackgrounds();
                return;
            }
        }
        ShowWholeMenuBackground(2);
        SDL_Delay(10);
        for (bool next = false; !next;) {
            PresentMenuFrame();
            SDL_Event event;
            while (!next && LoggedPollEvent(&event)) {
                if (event.type == SDL_MOUSEBUTTONUP) next = true;
                // Return pressed (its character code lies below 32); its release does nothing.
                if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_RETURN) next = true;
            }
        }
        FreeMenuBackgrounds();
    }
}
