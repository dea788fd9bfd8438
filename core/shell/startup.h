#pragma once
// Process start-up and shutdown.
#include <SDL.h>

#include <string>

int GameMain(int argc, char** argv);

// Reports a finished start-up step with -startuptime and remembers when it ended.
void LogLoadProgress(const char* label);
// Resets both start-up timing marks to the current ticks.
void ResetLoadProgress();

// Deletes the target, then renames the source to it; the rename's result.
bool MoveFileReplacing(const char* from, const char* to);
// Deletes "cookie.txt" in the user folder, whether or not it exists.
void DeleteCookieFile();
void QuitAudioAndSDL();
// Ends the process from anywhere in start-up: no cookie is left behind.
[[noreturn]] void ExitEarly(int code);

// The crash cookie's text and path.
extern const char* const kCookieText;
std::string CookiePath();

// The surface every frame is drawn into.
extern SDL_Surface* ScreenSurface;
extern SDL_PixelFormat* ScreenFormat;

class Sprite;
extern Sprite* CursorSprite;
extern Sprite* CursorCornerSprite;
extern Sprite* CurrentCursor;

class SpriteTable;
extern SpriteTable* MinimapSprites;

// The images the bottom bar of the play screen is drawn from.
struct HudSurfaces {
    SDL_Surface* bottomBar = nullptr;
    SDL_Surface* bottomBar2x = nullptr;
    SDL_Surface* digest0 = nullptr;
    SDL_Surface* digest1 = nullptr;
    SDL_Surface* digestInactive = nullptr;
    SDL_Surface* quickbarSelect = nullptr;
    SDL_Surface* lifeBar = nullptr;
    SDL_Surface* expBar = nullptr;
    SDL_Surface* manaBar0 = nullptr;
    SDL_Surface* manaBar1 = nullptr;
    SDL_Surface* lifeBar2x = nullptr;
    SDL_Surface* expBar2x = nullptr;
    SDL_Surface* manaBar0_2x = nullptr;
    SDL_Surface* manaBar1_2x = nullptr;
};
extern HudSurfaces Hud;

// True once the previous run was found not to have ended cleanly.
extern bool CrashFlag;
