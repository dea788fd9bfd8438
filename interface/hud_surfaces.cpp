#include "interface/hud_surfaces.h"

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
}
