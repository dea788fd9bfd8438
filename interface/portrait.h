#pragma once
// The hero's portrait on the bottom bar: male or female, eight expressions, three states of
// health and closed eyes once dead. While nothing happens the face stares, glances and blinks
// at random once a second; a hit makes it wince (SetPortraitExpression, ui_services.h).
#include <SDL.h>

#include <cstdint>

enum PortraitExpressionIndex : int32_t {
    kPortraitStare = 0,
    kPortraitLookLeft = 1,
    kPortraitLookRight = 2,
    kPortraitBlink = 3,
    kPortraitGrin = 4,
    kPortraitOoo = 5,
    kPortraitOw = 6,
    kPortraitSad = 7,
};
constexpr int32_t kPortraitExpressionCount = 8;
constexpr int32_t kPortraitTierCount = 4;

// The current expression and the tick count from which it counts (-1: not started yet).
extern int32_t PortraitExpression;
extern int64_t PortraitStartMs;

// Loads the 16 sets of four pictures (male first, expressions 0..7). Tiers 0 and 1 share the
// full-health picture.
void LoadPortraits();
// Frees them.
void FreePortraits();
// The picture of a gender (0 male, 1 female), expression and tier; null when not loaded.
SDL_Surface* PortraitPicture(int32_t female, int32_t expression, int32_t tier);
// Puts a picture in place (tests); the old one is not freed.
void SetPortraitPicture(int32_t female, int32_t expression, int32_t tier, SDL_Surface* picture);
// The health tier: 0 above half health, 2 above a quarter, else 3 (and 3 without a maximum).
int32_t PortraitTier(int32_t health, int32_t maxHealth);
// The portrait of the current hero at GetPortraitRect, then one step of the idle cycle.
void DrawPortrait();
