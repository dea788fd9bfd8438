#pragma once
// The pictures the play screen, its panels and the status overlays share, loaded once by the
// first game of the run (LoadGameplayArt) and kept until exit. The status overlays over creatures are the Bobs of
// creatures/status_overlays.h, pointed at their sprites here. The step loads the tooltip icons
// first (LoadStatIcons), then the minimap icons and the character-panel art.
#include <SDL.h>

#include "media/bob.h"

class Sprite;

struct GlobalImageSet {
    SDL_Surface* quickbarSelect = nullptr;
    SDL_Surface* quickbarSelect64 = nullptr;
    SDL_Surface* closeButton[2] = {};
    SDL_Surface* copperCloseButton[3] = {};
    Sprite* numerals[10] = {};  // 1..10 at 0..9
    Sprite* numeralZero = nullptr;
    Sprite* numeralQuestion = nullptr;
    Sprite* numeralExclamation = nullptr;
    Sprite* spells = nullptr;
    Sprite* gotoMark = nullptr;
    Sprite* noGotoMark = nullptr;
    Sprite* qualityStarFull = nullptr;
    Sprite* qualityStarEmpty = nullptr;
    Sprite* helpfulArrow = nullptr;
    Sprite* helpfulArrowColourBlind = nullptr;
    Sprite* questExclaim = nullptr;
    Sprite* daze = nullptr;
    Sprite* burning = nullptr;
    Sprite* oil = nullptr;
    Sprite* oilSlick = nullptr;
    Sprite* bleeding = nullptr;
    Sprite* sleep = nullptr;
    Sprite* hearts = nullptr;
    Sprite* waterWalking = nullptr;
    Sprite* xpMedal = nullptr;
    Sprite* heroGlow = nullptr;
    Sprite* buffBorder = nullptr;
    Sprite* buffBrittle = nullptr;
    Sprite* buffAttacks = nullptr;
    Sprite* buffManaCounter = nullptr;
    Bob guideArrow;
    SDL_Surface* dither32 = nullptr;
    SDL_Surface* dither64 = nullptr;
    SDL_Surface* digits[10] = {};
    SDL_Surface* scrollBackground = nullptr;
    SDL_Surface* tileOverlay[3] = {};  // 2, 1, 0 in load order: [0] overlay2, [1] overlay1, [2] overlay0
    SDL_Surface* inventory = nullptr;
    SDL_Surface* inventory2x = nullptr;
    SDL_Surface* inventorySort[3] = {};
    SDL_Surface* inventorySort2x[3] = {};
    SDL_Surface* inventoryQuickSell[2] = {};
    SDL_Surface* recipesBackground = nullptr;
    SDL_Surface* gameOver = nullptr;
};

extern GlobalImageSet GlobalImages;

void LoadGlobalImages();
