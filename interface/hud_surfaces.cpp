#include "interface/hud_surfaces.h"

#include <string>
#include <vector>

#include "interface/layout.h"
#include "media/image.h"

HudSurfaces Hud;
SpriteTable* MinimapSprites = nullptr;

void LoadHudImages() {
    Hud.bottomBar = LoadImage("ui/gameplay/bottombar_bg.png");
    Hud.bottomBar2x = LoadImage("ui/gameplay/2x_bottombar_bg.png");
    Hud.digest0 = LoadImage("ui/gameplay/digest0.png");
    Hud.digest1 = LoadImage("ui/gameplay/digest1.png");
    Hud.digestInactive = LoadImage("ui/gameplay/digest_inactive.png");
    Hud.quickbarSelect = LoadImage("ui/ability_quickbar_select.png");
    if (Hud.bottomBar) SDL_SetAlpha(Hud.bottomBar, SDL_SRCALPHA | SDL_RLEACCEL, 0);
    if (Hud.bottomBar2x) SDL_SetAlpha(Hud.bottomBar2x, SDL_SRCALPHA | SDL_RLEACCEL, 0);
    Hud.lifeBar = LoadImage("ui/gameplay/lifebar0.png");
    Hud.expBar = LoadImage("ui/gameplay/expbar0.png");
    Hud.manaBar0 = LoadImage("ui/gameplay/manabar0.png");
    Hud.manaBar1 = LoadImage("ui/gameplay/manabar1.png");
    Hud.lifeBar2x = LoadImage("ui/gameplay/2x_lifebar0.png");
    Hud.expBar2x = LoadImage("ui/gameplay/2x_expbar0.png");
    Hud.manaBar0_2x = LoadImage("ui/gameplay/2x_manabar0.png");
    Hud.manaBar1_2x = LoadImage("ui/gameplay/2x_manabar1.png");
    Hud.quickbarSelect64 = LoadImage("ui/ability_quickbar_select64.png");
    Hud.dither32 = LoadImage("ui/32x32_dither.png");
    Hud.dither64 = LoadImage("ui/64x64_dither.png");
    for (int i = 0; i < 10; ++i) Hud.digits[i] = LoadImage(("ui/digit_" + std::to_string(i) + ".png").c_str());
    for (int i = 0; i < 3; ++i) {
        Hud.inventorySort[i] = LoadImage(("ui/gameplay/inventory_sort" + std::to_string(i) + ".png").c_str());
        Hud.inventorySort2x[i] =
            LoadImage(("ui/gameplay/2x_inventory_sort" + std::to_string(i) + ".png").c_str());
    }
    Hud.inventoryQuickSell[0] = LoadImage("ui/gameplay/inventory_quicksell0.png");
    Hud.inventoryQuickSell[1] = LoadImage("ui/gameplay/inventory_quicksell1.png");
    if (Layout.inventoryImage == nullptr) Layout.inventoryImage = LoadImage("ui/gameplay/inventory.png");
    if (Layout.inventoryImageLarge == nullptr) {
        Layout.inventoryImageLarge = LoadImage("ui/gameplay/2x_inventory.png");
    }
}

void FreeHudImages() {
    SDL_Surface** pictures[] = {&Hud.bottomBar, &Hud.bottomBar2x, &Hud.digest0,   &Hud.digest1,
                                &Hud.digestInactive, &Hud.quickbarSelect, &Hud.lifeBar,
                                &Hud.expBar,    &Hud.manaBar0,    &Hud.manaBar1,  &Hud.lifeBar2x,
                                &Hud.expBar2x,  &Hud.manaBar0_2x, &Hud.manaBar1_2x};
    for (SDL_Surface** picture : pictures) {
        SDL_FreeSurface(*picture);
        *picture = nullptr;
    }
    std::vector<SDL_Surface**> more = {&Hud.quickbarSelect64, &Hud.dither32, &Hud.dither64,
                                       &Hud.inventoryQuickSell[0], &Hud.inventoryQuickSell[1],
                                       &Layout.inventoryImage, &Layout.inventoryImageLarge};
    for (int i = 0; i < 10; ++i) more.push_back(&Hud.digits[i]);
    for (int i = 0; i < 3; ++i) {
        more.push_back(&Hud.inventorySort[i]);
        more.push_back(&Hud.inventorySort2x[i]);
    }
    for (SDL_Surface** picture : more) {
        SDL_FreeSurface(*picture);
        *picture = nullptr;
    }
}
