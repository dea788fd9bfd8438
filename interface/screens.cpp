// Stand-in: what is still to be built is listed at the top of interface/screens.h.
#include "interface/screens.h"

#include "core/command_line.h"
#include "core/input_log.h"
#include "core/startup.h"
#include "media/font.h"

#include <SDL.h>

namespace {

const char* const kMenuEntries[] = {"New game", "Load game", "High scores", "Credits", "Tutorials", "Quit"};
constexpr int kMenuEntryCount = 6;
constexpr int kMenuEntryHeight = 48;

SDL_Rect MenuEntryRect(int index) {
    const int w = ScreenSurface ? ScreenSurface->w : 1280;
    const int h = ScreenSurface ? ScreenSurface->h : 720;
    SDL_Rect r;
    r.w = 320;
    r.h = kMenuEntryHeight - 8;
    r.x = static_cast<Sint16>((w - r.w) / 2);
    r.y = static_cast<Sint16>(h / 2 - kMenuEntryCount * kMenuEntryHeight / 2 + index * kMenuEntryHeight);
    return r;
}

int MenuEntryAt(int x, int y) {
    for (int i = 0; i < kMenuEntryCount; ++i) {
        SDL_Rect r = MenuEntryRect(i);
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return i;
    }
    return -1;
}

void BlitText(TTF_Font* font, const char* text, SDL_Color colour, int centreX, int y) {
    if (!font || !ScreenSurface) return;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text, colour);
    if (!rendered) return;
    SDL_Rect at;
    at.x = static_cast<Sint16>(centreX - rendered->w / 2);
    at.y = static_cast<Sint16>(y);
    SDL_BlitSurface(rendered, nullptr, ScreenSurface, &at);
    SDL_FreeSurface(rendered);
}

void DrawMenu(int hover) {
    if (!ScreenSurface) return;
    SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 18, 14, 24));
    const SDL_Color gold = {230, 190, 90, 0};
    const SDL_Color plain = {220, 220, 220, 0};
    BlitText(LargeFont, "Vaultmere", gold, ScreenSurface->w / 2, MenuEntryRect(0).y - 90);
    for (int i = 0; i < kMenuEntryCount; ++i) {
        SDL_Rect r = MenuEntryRect(i);
        Uint32 fill = i == hover ? SDL_MapRGB(ScreenSurface->format, 90, 70, 40)
                                 : SDL_MapRGB(ScreenSurface->format, 50, 40, 60);
        SDL_FillRect(ScreenSurface, &r, fill);
        BlitText(MediumFont, kMenuEntries[i], plain, r.x + r.w / 2, r.y + 8);
    }
}

}  // namespace

// A plain title menu until the real title screen is built: six labelled entries, a click
// chooses one, Escape or closing the window chooses quit.
int32_t MainMenu() {
    CmdLine.splashShown = true;
    int pressed = -1;
    for (;;) {
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        DrawMenu(MenuEntryAt(mx, my));
        PresentFrame(ScreenSurface);
        SDL_Event e;
        while (LoggedPollEvent(&e)) {
            switch (e.type) {
            case SDL_QUIT:
                return kMenuQuit;
            case SDL_KEYUP:
                if (e.key.keysym.sym == SDLK_ESCAPE) return kMenuQuit;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT) pressed = MenuEntryAt(e.button.x, e.button.y);
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.button == SDL_BUTTON_LEFT) {
                    int released = MenuEntryAt(e.button.x, e.button.y);
                    if (released >= 0 && released == pressed) return released;
                    pressed = -1;
                }
                break;
            default:
                break;
            }
        }
    }
}

int32_t ShowQuitScreen() {
    return 1;
}

int32_t ShowChooseDifficultyScreen(int32_t*, int32_t*, int32_t*, int32_t*) {
    return 0;
}

int32_t ShowChooseHeroScreen(char*, int32_t, int32_t*) {
    return 0;
}

bool ShowChooseSkillsScreen(std::vector<int32_t>&, int32_t*, int32_t*) {
    return false;
}

void ShowDeathScreen() {}

void ShowVictoryScreen() {}

void ShowHighScores() {}

void ShowCredits() {}

void ShowIntro(int32_t) {}

std::string ShowLoadGameScreen() {
    return std::string();
}

int32_t ShowSettingsScreen() {
    return 0;
}

int32_t ShowTutorialCompleteDialog() {
    return 0;
}

void ShowTutorialScreen() {}
