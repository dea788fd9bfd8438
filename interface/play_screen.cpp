// Stand-in: what is still to be built is listed at the top of interface/play_screen.h.
#include "interface/play_screen.h"

#include "core/input_log.h"
#include "core/startup.h"
#include "media/eye_candy.h"

int32_t PlayScreenState = 0;
SDL_Surface* SaveThumbnailSurface = nullptr;
AbilityRecord* SelectedAbility = nullptr;
Item* TooltipItem = nullptr;
uint32_t FrameElapsedMs = 0;
uint32_t InputIdleMs = 0;

namespace {
uint32_t lastFrameTicks = 0;
bool clockStarted = false;
}  // namespace

void AdvanceFrame() {
    if (ScreenSurface != nullptr) {
        PresentFrame(ScreenSurface);
    }
    const uint32_t now = LoggedGetTicks();
    FrameElapsedMs = clockStarted ? now - lastFrameTicks : 0;
    lastFrameTicks = now;
    clockStarted = true;
    InputIdleMs += FrameElapsedMs;
    UpdateEyeCandy(FrameElapsedMs);
    UpdateGlints(FrameElapsedMs);
}

void DrawGameScreen() {}

void UpdateMouseCursor() {}

void ResetFrameClock() {
    lastFrameTicks = LoggedGetTicks();
    clockStarted = true;
}
