#include "interface/choose_hero.h"

#include <cstring>
#include <string>

#include "core/input_log.h"
#include "interface/menu_frame.h"
#include "interface/new_game_common.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/sound.h"
#include "media/text.h"

namespace {

struct Picture {
    explicit Picture(SDL_Surface* s) : surface(s) {}
    ~Picture() {
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    SDL_Surface* surface;
};

struct HeroScreen {
    int32_t cx = 0;
    int32_t cy = 0;
    SDL_Surface* male = nullptr;
    SDL_Surface* female = nullptr;
    SDL_Surface* shade = nullptr;

    // Both portraits from the clean background (which holds them unshaded), then the shade
    // over the one not chosen; drawing over the old pictures would keep the old shade in their
    // transparent corners.
    void DrawPortraits(int32_t chosenFemale) const {
        for (int32_t x : {cx - 113, cx + 35}) {
            SDL_Rect area = {static_cast<Sint16>(x), static_cast<Sint16>(cy + 111), 96, 96};
            if (MenuCleanBackground != nullptr && MenuBackground != nullptr) {
                SDL_Rect from = area;
                SDL_Rect to = area;
                SDL_BlitSurface(MenuCleanBackground, &from, MenuBackground, &to);
            }
            QueueMenuRect(area);
        }
        BlitOnMenu(shade, MenuBackground, chosenFemale != 0 ? cx - 113 : cx + 35, cy + 111);
    }

    void DrawName(const char* name, bool cursorShown) const {
        SDL_Rect area = {static_cast<Sint16>(cx - 152), static_cast<Sint16>(cy - 119), 300, 80};
        if (MenuCleanBackground != nullptr && MenuBackground != nullptr) {
            SDL_Rect from = area;
            SDL_Rect to = area;
            SDL_BlitSurface(MenuCleanBackground, &from, MenuBackground, &to);
        }
        std::string text = name;
        if (cursorShown) text += "_";
        if (!text.empty()) DrawText(cx - 152, cy - 99, text, kTextBlack, MenuBackground, LargeFont);
        QueueMenuRect(area);
    }
};

}  // namespace

bool IsNameCharacterAccepted(uint32_t c) {
    if (c < 32 || c > 126) return false;
    return std::strchr("<>:\"\\/|?*._", static_cast<int>(c)) == nullptr;
}

int32_t ShowChooseHeroScreen(char* name, int32_t capacity, int32_t* female) {
    if (name == nullptr || capacity <= 0 || female == nullptr) return 0;
    SDL_EnableUNICODE(1);
    HeroScreen screen;
    screen.cx = MenuScreenWidth() / 2;
    screen.cy = MenuScreenHeight() / 2;
    Picture namePanel(LoadMenuPicture("ui/menus/panel_choosename.png", 480, 160, "Name"));
    Picture heroPanel(LoadMenuPicture("ui/menus/panel_choosehero.png", 480, 220, "Hero"));
    Picture male(LoadMenuPicture("ui/portrait/portrait_100_stare.png", 96, 96, "M"));
    Picture femalePortrait(LoadMenuPicture("ui/portrait/portraitf_100_stare.png", 96, 96, "F"));
    Picture shade(LoadMenuPicture("ui/menus/96x96_shading.png", 96, 96));
    screen.male = male.surface;
    screen.female = femalePortrait.surface;
    screen.shade = shade.surface;

    SDL_Surface* backdrop = DrawMenuBackground("ui/menus/menubg_sepia.png", "ui/menus/title_choosename.png");
    BlitOnMenu(namePanel.surface, backdrop, screen.cx - 240, screen.cy - 178);
    BlitOnMenu(heroPanel.surface, backdrop, screen.cx - 240, screen.cy + 22);
    BlitOnMenu(male.surface, backdrop, screen.cx - 113, screen.cy + 111);
    BlitOnMenu(femalePortrait.surface, backdrop, screen.cx + 35, screen.cy + 111);
    const bool ready = SetMenuBackgrounds(backdrop, true);
    if (backdrop != nullptr) SDL_FreeSurface(backdrop);
    if (!ready) return 0;
    SDL_Rect whole = {0, 0, static_cast<Uint16>(MenuScreenWidth()), static_cast<Uint16>(MenuScreenHeight())};
    QueueMenuRect(whole);
    BlitOnMenu(shade.surface, MenuBackground, *female != 0 ? screen.cx - 113 : screen.cx + 35, screen.cy + 111);
    BackDoneButtons buttons;
    buttons.DrawAtRest();

    // The name kept from an earlier visit stays; it is always zero-terminated.
    name[capacity - 1] = '\0';
    int32_t length = static_cast<int32_t>(std::strlen(name));
    bool cursorShown = false;
    Uint32 cursorSince = LoggedGetTicks();
    screen.DrawName(name, cursorShown);

    int32_t result = -1;
    while (result < 0) {
        PresentMenuFrame();
        int mx = 0;
        int my = 0;
        LoggedGetMouseState(&mx, &my);
        buttons.UpdateHover(mx, my);
        if (LoggedGetTicks() - cursorSince > 500) {
            cursorShown = !cursorShown;
            cursorSince = LoggedGetTicks();
            screen.DrawName(name, cursorShown);
        }
        SDL_Event event;
        while (result < 0 && LoggedPollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                result = 0;
            } else if (event.type == SDL_KEYDOWN) {
                const uint32_t c = event.key.keysym.unicode;
                const SDLKey key = event.key.keysym.sym;
                if (c >= 32) {
                    // The whole code point is tested, so no character outside printable
                    // ASCII reaches the name.
                    if (!IsNameCharacterAccepted(c)) continue;
                    PlaySFX("click");
                    if (length < kHeroNameMaxLength && length + 1 < capacity) {
                        name[length++] = static_cast<char>(c);
                        name[length] = '\0';
                        screen.DrawName(name, cursorShown);
                    }
                } else {
                    if (key >= SDLK_a && key <= SDLK_z) PlaySFX("click");
                    if (key == SDLK_RETURN && length > 0) {
                        result = 1;
                    } else if (key == SDLK_BACKSPACE && length > 0) {
                        name[--length] = '\0';
                        screen.DrawName(name, cursorShown);
                    }
                }
            } else if (event.type == SDL_MOUSEBUTTONUP) {
                const int32_t x = event.button.x;
                const int32_t y = event.button.y;
                const int32_t cx = screen.cx;
                const int32_t cy = screen.cy;
                if (BackDoneButtons::OnDone(x, y)) {
                    if (length > 0) result = 1;
                } else if (BackDoneButtons::OnBack(x, y)) {
                    result = 0;
                } else if (y >= cy + 111 && y <= cy + 207 && x >= cx + 35 && x <= cx + 131) {
                    *female = 1;
                    screen.DrawPortraits(*female);
                } else if (y >= cy + 111 && y <= cy + 207 && x >= cx - 113 && x <= cx - 17) {
                    *female = 0;
                    screen.DrawPortraits(*female);
                }
            }
        }
    }
    FreeMenuBackgrounds();
    return result;
}
