// Opening and closing the game font.
#include "media/font.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

TTF_Font* LargeFont = nullptr;
TTF_Font* MediumFont = nullptr;
TTF_Font* AltMediumFont = nullptr;
TTF_Font* TickerFont = nullptr;
TTF_Font* SmallFont = nullptr;

const char* const kFontFile = "fonts/Austin.ttf";

namespace {

struct FontSlot {
    TTF_Font** handle;
    int points;
};

const FontSlot kFontSlots[] = {
    {&LargeFont, 32}, {&MediumFont, 18}, {&AltMediumFont, 18}, {&TickerFont, 14}, {&SmallFont, 8},
};

bool ttfQuitRegistered = false;
unsigned fontGeneration = 1;

// The exit handler: the faces still open are closed before the TrueType library goes. Only
// the handles are touched here; the text caches are static objects with their own destructors.
void CloseFontsAndQuitTTF() {
    for (const FontSlot& slot : kFontSlots) {
        if (*slot.handle != nullptr) {
            TTF_CloseFont(*slot.handle);
            *slot.handle = nullptr;
        }
    }
    TTF_Quit();
}

}  // namespace

bool LoadFonts() {
    if (!TTF_WasInit() && TTF_Init() == -1) {
        fprintf(stderr, "Couldn't initialize TTF: %s\n", SDL_GetError());
        return false;
    }
    if (!ttfQuitRegistered) {
        atexit(CloseFontsAndQuitTTF);
        ttfQuitRegistered = true;
    }

    FreeFonts();  // a second load replaces the handles instead of leaking them
    const std::string file = GetResourceFilename(kFontFile);
    ++fontGeneration;
    for (const FontSlot& slot : kFontSlots) {
        *slot.handle = TTF_OpenFont(file.c_str(), slot.points);
        if (*slot.handle == nullptr) {
            printf("Couldn't load font '%s' at %d points: %s\n", file.c_str(), slot.points,
                   TTF_GetError());
            FreeFonts();
            return false;
        }
    }
    return true;
}

unsigned FontGeneration() {
    return fontGeneration;
}

void FreeFonts() {
    ++fontGeneration;
    ClearTextCache();
    for (const FontSlot& slot : kFontSlots) {
        if (*slot.handle != nullptr) {
            TTF_CloseFont(*slot.handle);
            *slot.handle = nullptr;
        }
    }
}
