#include "interface/new_game_common.h"

#include "interface/menu_frame.h"

void BlitOnMenu(SDL_Surface* picture, SDL_Surface* target, int32_t x, int32_t y) {
    if (picture == nullptr || target == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(picture->w),
                   static_cast<Uint16>(picture->h)};
    SDL_BlitSurface(picture, nullptr, target, &at);
    if (target == MenuBackground) {
        SDL_Rect queued = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(picture->w),
                           static_cast<Uint16>(picture->h)};
        QueueMenuRect(queued);
    }
}

BackDoneButtons::BackDoneButtons() {
    back_[0] = LoadMenuPicture("ui/skillselect_back0.png", 128, 64, "Back");
    back_[1] = LoadMenuPicture("ui/skillselect_back1.png", 128, 64, "Back");
    done_[0] = LoadMenuPicture("ui/skillselect_done0.png", 128, 64, "Done");
    done_[1] = LoadMenuPicture("ui/skillselect_done1.png", 128, 64, "Done");
}

BackDoneButtons::~BackDoneButtons() {
    for (SDL_Surface* s : {back_[0], back_[1], done_[0], done_[1]}) {
        if (s != nullptr) SDL_FreeSurface(s);
    }
}

void BackDoneButtons::DrawAtRest() {
    backHover_ = false;
    doneHover_ = false;
    BlitOnMenu(back_[0], MenuBackground, 0, 0);
    BlitOnMenu(done_[0], MenuBackground, MenuScreenWidth() - 128, 0);
}

void BackDoneButtons::UpdateHover(int32_t x, int32_t y) {
    const int32_t W = MenuScreenWidth();
    const bool back = x >= 1 && x <= 127 && y >= 1 && y <= 63;
    const bool done = x > W - 128 && x < W && y >= 1 && y <= 63;
    if (back != backHover_) {
        backHover_ = back;
        BlitOnMenu(back_[back ? 1 : 0], MenuBackground, 0, 0);
    }
    if (done != doneHover_) {
        doneHover_ = done;
        BlitOnMenu(done_[done ? 1 : 0], MenuBackground, W - 128, 0);
    }
}

bool BackDoneButtons::OnBack(int32_t x, int32_t y) {
    return x < 128 && y < 64;
}

bool BackDoneButtons::OnDone(int32_t x, int32_t y) {
    return x > MenuScreenWidth() - 128 && y < 64;
}
