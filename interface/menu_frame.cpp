#include "interface/menu_frame.h"

#include "core/input_log.h"
#include "media/screen.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sprite.h"
#include "media/text.h"
#include "platform/platform.h"

#include <cstdio>
#include <string>

SDL_Surface* MenuBackground = nullptr;
SDL_Surface* MenuCleanBackground = nullptr;
std::vector<SDL_Rect> MenuDirtyRects;
int32_t MenuDirtyFrames = 0;

namespace {

// Where the pointer was drawn in the previous frame and in the one before.
int PointerPrevX = 0;
int PointerPrevY = 0;
int PointerOlderX = 0;
int PointerOlderY = 0;

constexpr int kPointerEraseSize = 64;
constexpr Uint32 kMenuFrameDelayMs = 10;

SDL_Surface* NewSurface32(int w, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

// Draws the picture with its top-left corner at (x, y).
void BlitAt(SDL_Surface* picture, SDL_Surface* target, int x, int y) {
    if (!picture || !target) return;
    SDL_Rect at;
    at.x = static_cast<Sint16>(x);
    at.y = static_cast<Sint16>(y);
    at.w = 0;
    at.h = 0;
    BlitSurface(picture, nullptr, target, &at);
}

// Copies one rectangle of MenuBackground to the same place on the screen surface.
void CopyBackgroundRect(const SDL_Rect& rect) {
    if (!MenuBackground || !ScreenSurface) return;
    SDL_Rect src = rect;
    SDL_Rect dst = rect;
    BlitSurface(MenuBackground, &src, ScreenSurface, &dst);
}

void ErasePointerAt(int x, int y) {
    SDL_Rect square;
    square.x = static_cast<Sint16>(x - kPointerEraseSize / 2);
    square.y = static_cast<Sint16>(y - kPointerEraseSize / 2);
    square.w = kPointerEraseSize;
    square.h = kPointerEraseSize;
    CopyBackgroundRect(square);
}

// The case SDL's general converter takes pixel by pixel through its slowest path, done here
// in one pass instead: a 32-bit picture with an alpha channel (and no colour key or run-length
// encoding) for a 32-bit format without alpha. SDL_ConvertSurface gives the same colour bytes
// in the format's places, the spare byte 0, and carries the picture's surface-alpha setting
// over; so do these.
bool Opaque32Convertible(SDL_Surface* surface, const SDL_PixelFormat& format) {
    const SDL_PixelFormat& from = *surface->format;
    if (from.BytesPerPixel != 4 || from.Amask == 0 || from.palette != nullptr) return false;
    if (surface->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL)) return false;
    if (format.BytesPerPixel != 4 || format.Amask != 0 || format.palette != nullptr) return false;
    return !(from.Rloss || from.Gloss || from.Bloss || format.Rloss || format.Gloss || format.Bloss);
}

SDL_Surface* NewOpaque32(SDL_Surface* surface, const SDL_PixelFormat& format) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 32, format.Rmask, format.Gmask,
                                format.Bmask, 0);
}

// Writes the converted pixels of `surface` (whose format they are in, at `from`) into `to`,
// which has the same size and pitch and may be the same memory.
void ConvertOpaque32Pixels(SDL_Surface* surface, const Uint8* from, const SDL_PixelFormat& format, Uint8* to) {
    const SDL_PixelFormat& f = *surface->format;
    for (int y = 0; y < surface->h; ++y) {
        const Uint32* src = reinterpret_cast<const Uint32*>(from + static_cast<size_t>(y) * surface->pitch);
        Uint32* dst = reinterpret_cast<Uint32*>(to + static_cast<size_t>(y) * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            const Uint32 p = src[x];
            const Uint32 r = (p & f.Rmask) >> f.Rshift;
            const Uint32 g = (p & f.Gmask) >> f.Gshift;
            const Uint32 b = (p & f.Bmask) >> f.Bshift;
            dst[x] = (r << format.Rshift) | (g << format.Gshift) | (b << format.Bshift);
        }
    }
}

void CarryAlphaSetting(SDL_Surface* from, SDL_Surface* to) {
    if (from->flags & SDL_SRCALPHA) {
        SDL_SetAlpha(to, from->flags & (SDL_SRCALPHA | SDL_RLEACCELOK), from->format->alpha);
    }
}

// The screen format without alpha, as the menu pictures are kept in.
SDL_PixelFormat OpaqueScreenFormat() {
    SDL_PixelFormat format = *ScreenSurface->format;
    format.Amask = 0;
    format.Ashift = 0;
    format.Aloss = 8;
    format.alpha = SDL_ALPHA_OPAQUE;
    format.palette = nullptr;
    return format;
}

}  // namespace

int32_t MenuScreenWidth() {
    return ScreenSurface ? ScreenSurface->w : 1280;
}

int32_t MenuScreenHeight() {
    return ScreenSurface ? ScreenSurface->h : 720;
}

SDL_Surface* ConvertToScreenFormat(SDL_Surface* surface) {
    if (!surface) return nullptr;
    if (!ScreenSurface) {
        SDL_Surface* copy = NewSurface32(surface->w, surface->h);
        if (copy) BlitSurface(surface, nullptr, copy, nullptr);
        return copy;
    }
    if (ScreenSurface->format->BitsPerPixel == 8) return SDL_ConvertSurface(surface, ScreenSurface->format, SDL_SWSURFACE);
    SDL_PixelFormat format = OpaqueScreenFormat();
    if (Opaque32Convertible(surface, format)) {
        SDL_Surface* copy = NewOpaque32(surface, format);
        if (!copy) return nullptr;
        SDL_LockSurface(surface);
        ConvertOpaque32Pixels(surface, static_cast<const Uint8*>(surface->pixels), format,
                              static_cast<Uint8*>(copy->pixels));
        SDL_UnlockSurface(surface);
        CarryAlphaSetting(surface, copy);
        return copy;
    }
    return SDL_ConvertSurface(surface, &format, SDL_SWSURFACE);
}

void ReplaceByScreenFormat(SDL_Surface*& surface) {
    if (!surface) return;
    if (ScreenSurface && ScreenSurface->format->BitsPerPixel != 8) {
        const SDL_PixelFormat format = OpaqueScreenFormat();
        if (Opaque32Convertible(surface, format)) {
            SDL_Surface* copy = NewOpaque32(surface, format);
            if (copy && copy->pitch == surface->pitch && !(surface->flags & SDL_PREALLOC)) {
                // The copy takes over the picture's pixel memory and converts it where it
                // lies; the picture leaves with the copy's untouched memory.
                void* own = copy->pixels;
                copy->pixels = surface->pixels;
                surface->pixels = own;
                ConvertOpaque32Pixels(surface, static_cast<const Uint8*>(copy->pixels), format,
                                      static_cast<Uint8*>(copy->pixels));
                CarryAlphaSetting(surface, copy);
                SDL_FreeSurface(surface);
                surface = copy;
                return;
            }
            if (copy) SDL_FreeSurface(copy);
        }
    }
    if (SDL_Surface* converted = ConvertToScreenFormat(surface)) {
        SDL_FreeSurface(surface);
        surface = converted;
    }
}

SDL_Surface* CreateScreenSizedSurface() {
    const int w = MenuScreenWidth();
    const int h = MenuScreenHeight();
    if (ScreenSurface && ScreenSurface->format->BitsPerPixel != 8) {
        // What converting a new black surface would give: black, in the screen's format
        // without alpha.
        const SDL_PixelFormat* f = ScreenSurface->format;
        return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0);
    }
    SDL_Surface* plain = NewSurface32(w, h);
    if (!plain || !ScreenSurface) return plain;
    SDL_Surface* converted = ConvertToScreenFormat(plain);
    SDL_FreeSurface(plain);
    return converted;
}

SDL_Surface* LoadMenuPicture(const char* name, int fallbackWidth, int fallbackHeight,
                             const char* fallbackLabel) {
    if (!name) return nullptr;
    const std::string file = GetResourceFilename(name);
    SDL_Surface* picture = LoadImage(file.c_str());
    if (picture) return picture;
    return MenuPictureStandIn(name, fallbackWidth, fallbackHeight, fallbackLabel);
}

SDL_Surface* MenuPictureStandIn(const char* name, int fallbackWidth, int fallbackHeight,
                                const char* fallbackLabel) {
    std::printf("Menu picture %s could not be read\n", name);
    if (fallbackWidth <= 0 || fallbackHeight <= 0) return nullptr;
    SDL_Surface* box = NewSurface32(fallbackWidth, fallbackHeight);
    if (!box) return nullptr;
    SDL_FillRect(box, nullptr, SDL_MapRGB(box->format, 70, 56, 40));
    SDL_Rect inner = {2, 2, static_cast<Uint16>(fallbackWidth > 4 ? fallbackWidth - 4 : 0),
                      static_cast<Uint16>(fallbackHeight > 4 ? fallbackHeight - 4 : 0)};
    SDL_FillRect(box, &inner, SDL_MapRGB(box->format, 120, 96, 64));
    if (fallbackLabel && *fallbackLabel && MediumFont) {
        const int textY = fallbackHeight / 2 - TextHeight(fallbackLabel, MediumFont) / 2;
        DrawTextCentered(fallbackWidth / 2, textY, fallbackLabel, MediumFont, kTextGold, box);
    }
    return box;
}

SDL_Surface* DrawMenuBackground(const char* picture, const char* title) {
    const int w = MenuScreenWidth();
    const int h = MenuScreenHeight();
    SDL_Surface* backdrop = NewSurface32(w, h);
    if (!backdrop) return nullptr;
    SDL_FillRect(backdrop, nullptr, SDL_MapRGB(backdrop->format, 0, 0, 0));

    SDL_Surface* stone = LoadMenuPicture("ui/menus/bg_stonetile.png");
    SDL_Surface* frame = LoadMenuPicture("ui/menus/bg_paintingframe.png");
    SDL_Surface* topBar = LoadMenuPicture("ui/menus/topbar_horz_tile_bg.png");
    SDL_Surface* pictureSurface = picture ? LoadMenuPicture(picture) : nullptr;
    SDL_Surface* titleSurface = title ? LoadMenuPicture(title) : nullptr;

    // The tile grid steps 256 pixels whatever the tile's own size.
    if (stone) {
        for (int i = 0; i <= w / 256; ++i)
            for (int j = 0; j <= h / 256; ++j) BlitAt(stone, backdrop, 256 * i, 256 * j);
    }
    if (frame) BlitAt(frame, backdrop, w / 2 - frame->w / 2, h / 2 - frame->h / 2);
    if (topBar && topBar->w > 0) {
        for (int i = 0; i <= w / topBar->w; ++i) BlitAt(topBar, backdrop, topBar->w * i, 0);
    }
    if (titleSurface) BlitAt(titleSurface, backdrop, w / 2 - titleSurface->w / 2, 0);
    if (pictureSurface) {
        BlitAt(pictureSurface, backdrop, w / 2 - pictureSurface->w / 2, h / 2 - pictureSurface->h / 2);
    }

    for (SDL_Surface* s : {stone, frame, topBar, pictureSurface, titleSurface}) {
        if (s) SDL_FreeSurface(s);
    }
    return backdrop;
}

SDL_Surface* MakeTitledMenuBackground(const char* title) {
    SDL_Surface* backdrop = DrawMenuBackground(nullptr, nullptr);
    if (!backdrop) return nullptr;
    const int w = backdrop->w;
    SDL_Surface* topBar = LoadMenuPicture("ui/menus/topbar_horz_tile_bg.png");
    if (topBar && topBar->w > 0) {
        for (int i = 0; i <= w / topBar->w; ++i) BlitAt(topBar, backdrop, topBar->w * i, 0);
    }
    if (topBar) SDL_FreeSurface(topBar);
    SDL_Surface* titleSurface = title ? LoadMenuPicture(title) : nullptr;
    if (titleSurface) {
        BlitAt(titleSurface, backdrop, w / 2 - titleSurface->w / 2, 0);
        SDL_FreeSurface(titleSurface);
    }
    return backdrop;
}

bool SetMenuBackgrounds(SDL_Surface* backdrop, bool withCleanCopy) {
    FreeMenuBackgrounds();
    MenuBackground = ConvertToScreenFormat(backdrop);
    if (withCleanCopy) MenuCleanBackground = ConvertToScreenFormat(backdrop);
    return MenuBackground != nullptr && (!withCleanCopy || MenuCleanBackground != nullptr);
}

void FreeMenuBackgrounds() {
    if (MenuBackground) SDL_FreeSurface(MenuBackground);
    if (MenuCleanBackground) SDL_FreeSurface(MenuCleanBackground);
    MenuBackground = nullptr;
    MenuCleanBackground = nullptr;
    MenuDirtyRects.clear();
    MenuDirtyFrames = 0;
}

void QueueMenuRect(const SDL_Rect& rect) {
    MenuDirtyRects.push_back(rect);
}

void CopyMenuBackgroundToScreen() {
    if (!MenuBackground || !ScreenSurface) return;
    BlitSurface(MenuBackground, nullptr, ScreenSurface, nullptr);
}

void ShowWholeMenuBackground(int times) {
    for (int i = 0; i < times; ++i) {
        CopyMenuBackgroundToScreen();
        PresentFrame(ScreenSurface);
    }
}

void PresentMenuFrame() {
    if (!MenuDirtyRects.empty()) {
        for (const SDL_Rect& rect : MenuDirtyRects) CopyBackgroundRect(rect);
        --MenuDirtyFrames;
        if (MenuDirtyFrames <= 0) {
            MenuDirtyFrames = 0;
            MenuDirtyRects.clear();
        }
    }
    DrawMenuPointer();
    PresentFrame(ScreenSurface);
    SDL_Delay(kMenuFrameDelayMs);
}

void DrawMenuPointer() {
    int x = 0, y = 0;
    LoggedGetMouseState(&x, &y);
    // The screen surface is drawn into in place, so the pointer of the previous frame is
    // still on it as well as the one of the frame before: both are erased.
    ErasePointerAt(PointerOlderX, PointerOlderY);
    ErasePointerAt(PointerPrevX, PointerPrevY);
    if (CursorSprite) CursorSprite->DrawFrame(x, y, 0);
    PointerOlderX = PointerPrevX;
    PointerOlderY = PointerPrevY;
    PointerPrevX = x;
    PointerPrevY = y;
}

void ResetMenuPointerTrail() {
    PointerPrevX = PointerPrevY = PointerOlderX = PointerOlderY = 0;
}

void DiscardPendingEvents() {
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
    }
}
