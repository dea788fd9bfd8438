// Picture helpers of the windows over the play screen.
#include "interface/window_art.h"

#include <string>

#include "core/input_log.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "media/image.h"
#include "media/screen.h"

void DrawPicture(SDL_Surface* picture, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

void TwoStateButton::Load(const char* base, int32_t fallbackWidth, int32_t fallbackHeight) {
    fallbackWidth_ = fallbackWidth;
    fallbackHeight_ = fallbackHeight;
    for (int i = 0; i < 2; ++i) {
        const std::string name = std::string(base) + std::to_string(i) + ".png";
        pictures_[i].Reset(LoadImage(name.c_str()));
    }
}

int32_t TwoStateButton::Width() const { return pictures_[0] ? pictures_[0]->w : fallbackWidth_; }
int32_t TwoStateButton::Height() const { return pictures_[0] ? pictures_[0]->h : fallbackHeight_; }

bool TwoStateButton::Contains(int32_t mx, int32_t my) const {
    return Loaded() && mx >= x_ && mx <= x_ + Width() && my >= y_ && my <= y_ + Height();
}

bool TwoStateButton::StrictlyContains(int32_t mx, int32_t my) const {
    return Loaded() && mx > x_ && mx < x_ + Width() && my > y_ && my < y_ + Height();
}

void TwoStateButton::Draw(int32_t mx, int32_t my) const {
    SDL_Surface* picture = Contains(mx, my) && pictures_[1] ? pictures_[1].get() : pictures_[0].get();
    DrawPicture(picture, x_, y_);
}

void DrawPanelOverGame(SDL_Surface* panel, int32_t fallbackW, int32_t fallbackH, int32_t* x, int32_t* y) {
    CentredPanelCorner(panel, fallbackW, fallbackH, x, y);
    TooltipSlotFree = false;
    DrawGameScreen();
    DrawPicture(panel, *x, *y);
}
