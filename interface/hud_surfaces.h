#pragma once
// The images the bottom bar of the play screen is drawn from, and the minimap icons.
#include <SDL.h>

struct HudSurfaces {
    SDL_Surface* bottomBar = nullptr;
    SDL_Surface* bottomBar2x = nullptr;
    SDL_Surface* digest0 = nullptr;
    SDL_Surface* digest1 = nullptr;
    SDL_Surface* digestInactive = nullptr;
    SDL_Surface* quickbarSelect = nullptr;
    SDL_Surface* lifeBar = nullptr;
    SDL_Surface* expBar = nullptr;
    SDL_Surface* manaBar0 = nullptr;
    SDL_Surface* manaBar1 = nullptr;
    SDL_Surface* lifeBar2x = nullptr;
    SDL_Surface* expBar2x = nullptr;
    SDL_Surface* manaBar0_2x = nullptr;
    SDL_Surface* manaBar1_2x = nullptr;
    // Belts: the selection frames, the cooldown shades and digits.
    SDL_Surface* quickbarSelect64 = nullptr;
    SDL_Surface* dither32 = nullptr;
    SDL_Surface* dither64 = nullptr;
    SDL_Surface* digits[10] = {};
    // Inventory window buttons: sort (normal, hover, pressed) in both sizes, quick sell
    // (normal, with Shift held).
    SDL_Surface* inventorySort[3] = {};
    SDL_Surface* inventorySort2x[3] = {};
    SDL_Surface* inventoryQuickSell[2] = {};
};
extern HudSurfaces Hud;

class SpriteTable;
extern SpriteTable* MinimapSprites;

// Loads the bottom-bar pictures into Hud (the first game, and tools that draw the play screen), and
// frees them again, leaving every field null.
void LoadHudImages();
void FreeHudImages();
