#include "items_fixtures/reading_stands.h"

#include <SDL.h>

#include <functional>

#include "core/input_log.h"
#include "core/shell/shell_services.h"
#include "interface/ui_services.h"
#include "levels/object_queue.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/text.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(Pedestal)
FIXTURE_REGISTRATION(SignPost)

const char* const kBlankPedestalText = "This space unintentionally left blank.";

namespace {

const char* const kScrollPicture = "ui/scroll_bg.png";

// The scroll picture, loaded on first use and kept (null when it cannot be had).
SDL_Surface* ScrollPicture() {
    static SDL_Surface* picture = LoadImage(kScrollPicture);
    return picture;
}

// Draws the play screen and the content each frame until a key or mouse button is released
// (or the process is asked to end).
void RunReadingLoop(const std::function<void()>& drawContent) {
    FlushInput();
    for (;;) {
        DrawGameScreen();
        drawContent();
        UpdateMouseCursor();
        AdvanceFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP || event.type == SDL_MOUSEBUTTONUP || event.type == SDL_QUIT) return;
        }
        if (TerminationRequested()) return;
    }
}

// Blits the picture centred on (cx, cy); its top-left corner, or (cx, cy) without one.
SDL_Rect BlitCentred(SDL_Surface* picture, int32_t cx, int32_t cy) {
    SDL_Rect at = {static_cast<Sint16>(cx), static_cast<Sint16>(cy), 0, 0};
    if (picture == nullptr) return at;
    at.x = static_cast<Sint16>(cx - picture->w / 2);
    at.y = static_cast<Sint16>(cy - picture->h / 2);
    if (ScreenSurface != nullptr) {
        SDL_Rect copy = at;
        BlitSurface(picture, nullptr, ScreenSurface, &copy);
    }
    return at;
}

}  // namespace

// ---- SignPost ------------------------------------------------------------------------------

SignPost::SignPost(SaveReader& in) : GameObj(in) { RefreshPicture(); }

bool SignPost::Save(SaveWriter& out) { return GameObj::Save(out); }

void SignPost::RefreshPicture() {
    ShowFixtureSprite(*this, "signpost_ext", "dungeon/signpost.spr", false, 2);
    blocksMovement = 1;
    blocksSight = 1;
}

void SignPost::Destroy() { QueueObjectDeletion(this); }

int32_t SignPost::Activate() {
    RunReadingLoop([this]() {
        SDL_Surface* background = ScrollPicture();
        BlitCentred(background, 400, 300);
        const int32_t height = background != nullptr ? background->h : 0;
        for (int32_t i = 0; i < kLineCount; ++i) {
            if (lines[i].empty()) continue;
            DrawLargeTextCentered(400, 32 * i - height / 2 + 332, lines[i].c_str());
        }
    });
    return 1;
}

// ---- Pedestal ------------------------------------------------------------------------------

Pedestal::Pedestal() { RefreshPicture(); }

Pedestal::Pedestal(SaveReader& in) : GameObj(in) {
    text = in.version.AtLeast(kSaveV1_0_4) ? in.ReadString() : std::string(kBlankPedestalText);
    RefreshPicture();
}

bool Pedestal::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteString(text) && ok;
}

void Pedestal::RefreshPicture() {
    ShowFixtureSprite(*this, "Pedestal_ext", "dungeon/podium_scroll.png", false, 2);
    blocksMovement = 1;
    blocksSight = 0;
}

int32_t Pedestal::Activate() {
    RunReadingLoop([this]() {
        SDL_Surface* scroll = ScrollPicture();
        const int32_t cx = ScreenSurface != nullptr ? ScreenSurface->w / 2 : 400;
        const int32_t cy = ScreenSurface != nullptr ? ScreenSurface->h / 2 : 300;
        const SDL_Rect at = BlitCentred(scroll, cx, cy);
        DrawTextWrapped(text.c_str(), at.x + 90, at.y + 51, at.x + 359, at.y + 217, MediumFont, kTextBlack,
                        ScreenSurface);
    });
    return 1;
}
