#pragma once
// A picture button with three states: 0 at rest, 1 under the pointer, 2 under the pointer with
// the left button held. Its pictures are "<base>0.png", "<base>1.png" and "<base>2.png"; a
// missing one is drawn as a labelled stand-in of the fallback size.
#include <SDL.h>

#include <cstdint>

#include "media/surface.h"

class StateButton {
public:
    void Load(const char* base, const char* label, int32_t fallbackWidth, int32_t fallbackHeight);
    // The state for a pointer at (mx, my) with the mouse buttons held; edges count as inside.
    int32_t StateAt(int32_t mx, int32_t my, Uint8 mouseButtons) const;
    bool Contains(int32_t mx, int32_t my) const;
    // The picture of a state (the rest picture when that state has none); null without art.
    SDL_Surface* Picture(int32_t state) const;
    // Draws the button in the state the pointer gives into the target.
    void Draw(SDL_Surface* target, int32_t mx, int32_t my, Uint8 mouseButtons) const;

    SDL_Rect rect = {0, 0, 0, 0};

private:
    AutoSurface states_[3];
};
