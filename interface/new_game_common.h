#pragma once
// What the three new-game screens share: the Back and Done buttons in the top corners, and
// drawing a picture onto the menu background with its rectangle queued.
#include <SDL.h>

#include <cstdint>

// Draws the picture onto the surface at (x, y); queues the rectangle when the surface is
// MenuBackground. Nothing for a null picture or surface.
void BlitOnMenu(SDL_Surface* picture, SDL_Surface* target, int32_t x, int32_t y);

// Back at (0, 0) and Done at (W - 128, 0), each 128 x 64, with a rest and a hover picture.
class BackDoneButtons {
public:
    BackDoneButtons();
    ~BackDoneButtons();
    BackDoneButtons(const BackDoneButtons&) = delete;
    BackDoneButtons& operator=(const BackDoneButtons&) = delete;

    // Draws both at rest onto MenuBackground.
    void DrawAtRest();
    // Redraws a button whose hover state changed for the pointer at (x, y).
    void UpdateHover(int32_t x, int32_t y);
    // The release boxes: x < 128 and y < 64; x > W - 128 and y < 64.
    static bool OnBack(int32_t x, int32_t y);
    static bool OnDone(int32_t x, int32_t y);

private:
    SDL_Surface* back_[2] = {};
    SDL_Surface* done_[2] = {};
    bool backHover_ = false;
    bool doneHover_ = false;
};
