#include "interface/choose_difficulty.h"

#include "core/input_log.h"
#include "interface/menu_frame.h"
#include "interface/new_game_common.h"
#include "interface/screens.h"
#include "platform/vfs.h"

namespace {

const char* const kExpansionPanel = "ui/menus/panel_choosedifficulty_expansion.png";

struct DifficultyRow {
    int32_t top;
    int32_t bottom;
    DifficultyClick click;
};

const DifficultyRow kRows[] = {
    {78, 158, kDifficultyEasy},
    {142, 222, kDifficultyNormal},
    {206, 286, kDifficultyHard},
    {298, 362, kDifficultyTogglePermadeath},
    {392, 456, kDifficultyToggleQuickie},
    {490, 554, kDifficultyToggleExpansion},
};

// Frees its picture when the screen ends, whichever way out it takes.
struct Picture {
    explicit Picture(SDL_Surface* s) : surface(s) {}
    ~Picture() {
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    SDL_Surface* surface;
};

}  // namespace

DifficultyClick DifficultyClickAt(int32_t dx, int32_t dy) {
    if (dx < 0 || dx > 460) return kDifficultyNothing;
    for (const DifficultyRow& row : kRows) {
        if (dy >= row.top && dy <= row.bottom) return row.click;
    }
    return kDifficultyNothing;
}

bool ExpansionPanelAvailable() {
    return VfsExists(kExpansionPanel);
}

int32_t ShowChooseDifficultyScreen(int32_t* difficulty, int32_t* permadeath, int32_t* quickie,
                                   int32_t* expansion) {
    const int32_t cx = MenuScreenWidth() / 2;
    const int32_t cy = MenuScreenHeight() / 2;
    Picture panel(LoadMenuPicture("ui/menus/panel_choosedifficulty107.png", 480, 580, "Difficulty"));
    Picture expansionPanel(ExpansionPanelAvailable() ? LoadMenuPicture(kExpansionPanel) : nullptr);
    Picture cross(LoadMenuPicture("ui/menus/difficulty_x.png", 54, 54, "X"));
    Picture smallCross(LoadMenuPicture("ui/menus/difficulty_x_small.png", 28, 28, "x"));
    const int32_t pw = panel.surface != nullptr ? panel.surface->w : 480;
    const int32_t ph = panel.surface != nullptr ? panel.surface->h : 580;
    const int32_t px = cx - pw / 2;
    const int32_t py = cy - ph / 2;

    SDL_Surface* backdrop = MakeTitledMenuBackground("ui/menus/title_choosedifficulty.png");
    BlitOnMenu(panel.surface, backdrop, px, py);
    BlitOnMenu(expansionPanel.surface, backdrop, px, py);
    const bool ready = SetMenuBackgrounds(backdrop, true);
    if (backdrop != nullptr) SDL_FreeSurface(backdrop);
    if (!ready) return 0;
    SDL_Rect whole = {0, 0, static_cast<Uint16>(MenuScreenWidth()), static_cast<Uint16>(MenuScreenHeight())};
    QueueMenuRect(whole);
    BackDoneButtons buttons;
    buttons.DrawAtRest();

    int32_t result = -1;
    while (result < 0) {
        PresentMenuFrame();
        int mx = 0;
        int my = 0;
        LoggedGetMouseState(&mx, &my);
        buttons.UpdateHover(mx, my);
        // The panel and the crosses of the current choices.
        if (MenuCleanBackground != nullptr && MenuBackground != nullptr) {
            SDL_Rect area = {static_cast<Sint16>(px), static_cast<Sint16>(py), static_cast<Uint16>(pw),
                             static_cast<Uint16>(ph)};
            SDL_Rect to = area;
            SDL_BlitSurface(MenuCleanBackground, &area, MenuBackground, &to);
            QueueMenuRect(area);
        }
        const int32_t d = *difficulty < 0 ? 0 : (*difficulty > 2 ? 2 : *difficulty);
        BlitOnMenu(cross.surface, MenuBackground, px + 85, py + 78 + 64 * d);
        if (*permadeath != 0) BlitOnMenu(smallCross.surface, MenuBackground, px + 82, py + 313);
        if (*quickie != 0) BlitOnMenu(smallCross.surface, MenuBackground, px + 82, py + 407);
        if (*expansion != 0) BlitOnMenu(smallCross.surface, MenuBackground, px + 61, py + 503);

        SDL_Event event;
        while (result < 0 && LoggedPollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) {
                result = 0;
            } else if (event.type == SDL_KEYUP) {
                result = event.key.keysym.sym == SDLK_ESCAPE ? 0 : 1;
            } else if (event.type == SDL_MOUSEBUTTONUP) {
                const int32_t x = event.button.x;
                const int32_t y = event.button.y;
                if (BackDoneButtons::OnDone(x, y)) {
                    result = 1;
                } else if (BackDoneButtons::OnBack(x, y)) {
                    result = 0;
                } else {
                    switch (DifficultyClickAt(x - px, y - py)) {
                        case kDifficultyEasy: *difficulty = 0; break;
                        case kDifficultyNormal: *difficulty = 1; break;
                        case kDifficultyHard: *difficulty = 2; break;
                        case kDifficultyTogglePermadeath: *permadeath = *permadeath != 0 ? 0 : 1; break;
                        case kDifficultyToggleQuickie: *quickie = *quickie != 0 ? 0 : 1; break;
                        case kDifficultyToggleExpansion: *expansion = *expansion != 0 ? 0 : 1; break;
                        default: break;
                    }
                }
            }
        }
    }
    FreeMenuBackgrounds();
    return result;
}
