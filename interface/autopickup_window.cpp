// The auto-pickup window.
#include "interface/autopickup_window.h"

#include <SDL.h>

#include <string>

#include "core/input_log.h"
#include "core/shell/shell_services.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "interface/menu_frame.h"
#include "interface/window_art.h"
#include "media/image.h"
#include "media/sound.h"
#include "media/surface.h"

namespace {

constexpr int32_t kPanelWidth = 478;
constexpr int32_t kPanelHeight = 216;
constexpr int32_t kCrossX = 456;

const AutoPickupCategory Categories[kAutoPickupCategories] = {
    {"ui/gameplay/config_armour", 23, 50},  {"ui/gameplay/config_bolts", 95, 50},
    {"ui/gameplay/config_booze", 167, 50},  {"ui/gameplay/config_components", 239, 50},
    {"ui/gameplay/config_food", 311, 50},   {"ui/gameplay/config_fungus", 383, 50},
    {"ui/gameplay/config_potions", 23, 122}, {"ui/gameplay/config_thrown", 95, 122},
    {"ui/gameplay/config_tools", 167, 122}, {"ui/gameplay/config_wands", 239, 122},
    {"ui/gameplay/config_weapons", 311, 122}, {"ui/gameplay/config_lockpicks", 383, 122},
};

// Loaded on the first opening and kept: [category][off, on].
SDL_Surface* CategoryPictures[kAutoPickupCategories][2] = {};
bool CategoryPicturesLoaded = false;

void LoadCategoryPictures() {
    if (CategoryPicturesLoaded) return;
    for (int32_t i = 0; i < kAutoPickupCategories; ++i) {
        for (int32_t on = 0; on < 2; ++on) {
            const std::string name = std::string(Categories[i].artBase) + std::to_string(on) + ".png";
            CategoryPictures[i][on] = LoadImage(name.c_str());
        }
    }
    CategoryPicturesLoaded = true;
}

}  // namespace

const AutoPickupCategory* GetAutoPickupCategories() { return Categories; }

int32_t AutoPickupCategoryAt(int32_t rx, int32_t ry) {
    for (int32_t i = 0; i < kAutoPickupCategories; ++i) {
        const AutoPickupCategory& c = Categories[i];
        if (rx >= c.x && rx < c.x + kAutoPickupSquare && ry >= c.y && ry < c.y + kAutoPickupSquare) return i;
    }
    return -1;
}

void FreeAutoPickupArt() {
    for (auto& pair : CategoryPictures) {
        for (SDL_Surface*& picture : pair) {
            if (picture != nullptr) SDL_FreeSurface(picture);
            picture = nullptr;
        }
    }
    CategoryPicturesLoaded = false;
}

void ShowAutoPickupScreen() {
    AutoSurface panel(LoadImage("ui/gameplay/config_autopickup_bg.png"));
    LoadCategoryPictures();
    SDL_EnableUNICODE(1);
    FlushInput();
    DiscardPendingEvents();
    for (;;) {
        if (MenuBarHover) return;
        int32_t x = 0;
        int32_t y = 0;
        DrawPanelOverGame(panel, kPanelWidth, kPanelHeight, &x, &y);
        for (int32_t i = 0; i < kAutoPickupCategories; ++i) {
            DrawPicture(CategoryPictures[i][AutoLootSwitches[i] != 0 ? 1 : 0], x + Categories[i].x, y + Categories[i].y);
        }
        DrawCloseButton(x + kCrossX, y);
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) return;
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t rx = event.button.x - x;
            const int32_t ry = event.button.y - y;
            if (rx > kCrossX && rx < kCrossX + 22 && ry > 0 && ry < 22) {
                PlaySFX("click");
                return;
            }
            const int32_t hit = AutoPickupCategoryAt(rx, ry);
            if (hit >= 0) AutoLootSwitches[hit] = AutoLootSwitches[hit] != 0 ? 0 : 1;
        }
    }
}
