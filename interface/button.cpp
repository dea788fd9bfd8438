#include "interface/button.h"

#include <string>

#include "core/input_log.h"
#include "interface/menu_frame.h"

void StateButton::Load(const char* base, const char* label, int32_t fallbackWidth, int32_t fallbackHeight) {
    for (int s = 0; s < 3; ++s) {
        const std::string name = std::string(base) + std::to_string(s) + ".png";
        states_[s].Reset(LoadMenuPicture(name.c_str(), fallbackWidth, fallbackHeight, label));
    }
    rect.w = static_cast<Uint16>(states_[0] ? states_[0]->w : fallbackWidth);
    rect.h = static_cast<Uint16>(states_[0] ? states_[0]->h : fallbackHeight);
}

bool StateButton::Contains(int32_t mx, int32_t my) const {
    return mx >= rect.x && mx <= rect.x + rect.w && my >= rect.y && my <= rect.y + rect.h;
}

int32_t StateButton::StateAt(int32_t mx, int32_t my, Uint8 mouseButtons) const {
    if (!Contains(mx, my)) return 0;
    return (mouseButtons & SDL_BUTTON(SDL_BUTTON_LEFT)) ? 2 : 1;
}

SDL_Surface* StateButton::Picture(int32_t state) const {
    if (state < 0 || state > 2) state = 0;
    return states_[state] ? states_[state].get() : states_[0].get();
}

void StateButton::Draw(SDL_Surface* target, int32_t mx, int32_t my, Uint8 mouseButtons) const {
    SDL_Surface* picture = Picture(StateAt(mx, my, mouseButtons));
    if (!picture || !target) return;
    SDL_Rect at = rect;
    BlitSurface(picture, nullptr, target, &at);
}
