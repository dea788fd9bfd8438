#pragma once
// Small picture helpers shared by the windows over the play screen: drawing a picture at a
// point, and the two-picture buttons ("0" normally, "1" while the pointer lies over them).
#include <SDL.h>

#include <cstdint>

#include "media/surface.h"

// Draws the whole picture with its top-left corner at (x, y) into the screen; nothing for null.
void DrawPicture(SDL_Surface* picture, int32_t x, int32_t y);

// The start of a window's frame over the play screen: the play screen without tooltips, then
// the window's panel centred on the screen (of the fallback size when the picture is missing).
// (x, y) receives the panel's top-left corner.
void DrawPanelOverGame(SDL_Surface* panel, int32_t fallbackW, int32_t fallbackH, int32_t* x, int32_t* y);

// A button of two pictures, base + "0.png" and base + "1.png", owned for the button's life.
class TwoStateButton {
public:
    // Without art the button keeps answering clicks over the fallback size.
    void Load(const char* base, int32_t fallbackWidth = 0, int32_t fallbackHeight = 0);
    void Place(int32_t x, int32_t y) {
        x_ = x;
        y_ = y;
    }
    int32_t Width() const;
    int32_t Height() const;
    // Edges included (the hover picture).
    bool Contains(int32_t mx, int32_t my) const;
    // Edges excluded (the click).
    bool StrictlyContains(int32_t mx, int32_t my) const;
    void Draw(int32_t mx, int32_t my) const;
    bool Loaded() const { return pictures_[0].get() != nullptr || fallbackWidth_ > 0; }

private:
    AutoSurface pictures_[2];
    int32_t fallbackWidth_ = 0;
    int32_t fallbackHeight_ = 0;
    int32_t x_ = 0;
    int32_t y_ = 0;
};
