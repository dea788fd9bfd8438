#pragma once
// The owner type for SDL surfaces: whoever holds a surface it made holds it in one of these.
#include <SDL.h>

// Holds one SDL surface and frees it when the holder goes.
class AutoSurface {
public:
    AutoSurface() = default;
    explicit AutoSurface(SDL_Surface* surface) : surface_(surface) {}
    ~AutoSurface() { Reset(); }
    AutoSurface(const AutoSurface&) = delete;
    AutoSurface& operator=(const AutoSurface&) = delete;

    SDL_Surface* get() const { return surface_; }
    operator SDL_Surface*() const { return surface_; }
    SDL_Surface* operator->() const { return surface_; }
    // Frees the held surface (if any) and holds the new one.
    void Reset(SDL_Surface* surface = nullptr) {
        if (surface_ && surface_ != surface) SDL_FreeSurface(surface_);
        surface_ = surface;
    }
    // Gives the surface up without freeing it.
    SDL_Surface* Release() {
        SDL_Surface* s = surface_;
        surface_ = nullptr;
        return s;
    }

private:
    SDL_Surface* surface_ = nullptr;
};
