// The start-up launcher (see launcher.h and mods.h).
#include "core/shell/launcher.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/command_state.h"
#include "core/input_log.h"
#include "core/shell/config.h"
#include "core/shell/mods.h"
#include "core/shell/startup.h"
#include "core/shell/video_modes.h"
#include "core/shell/workshop.h"
#include "media/display_settings.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text.h"
#include "store_platform/store.h"

namespace {

bool In(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(left);
    r.y = static_cast<Sint16>(top);
    r.w = static_cast<Uint16>(right - left);
    r.h = static_cast<Uint16>(bottom - top);
    return IsPointInRect(x, y, r);
}

void Toggle(int32_t& setting) { setting = setting ? 0 : 1; }

int32_t SliderVolume(int32_t x) {
    const int32_t v = (x - kSliderLeft) * 100 / kSliderLength;
    return v < 0 ? 0 : v > 100 ? 100 : v;
}

void Blit(SDL_Surface* picture, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at;
    at.x = static_cast<Sint16>(x);
    at.y = static_cast<Sint16>(y);
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

bool OpenWindow(int w, int h, const char* caption) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    SDL_WM_SetCaption(caption, caption);
    SDL_Surface* screen = SDL_SetVideoMode(w, h, 32, SDL_SWSURFACE);
    if (screen == nullptr) return false;
    ScreenSurface = screen;
    return true;
}

void EndFrame() {
    PresentFrame(ScreenSurface);
    if (!InputScriptActive()) SDL_Delay(10);
}

std::string ModeText(const VideoMode& m) { return std::to_string(m.width) + "x" + std::to_string(m.height); }

}  // namespace

bool LauncherHasNoInput() {
    const char* driver = getenv("SDL_VIDEODRIVER");
    return driver != nullptr && strcmp(driver, "dummy") == 0 && !InputScriptActive();
}

void LauncherPress(LauncherState& state, int32_t x, int32_t y, bool motion) {
    if (!motion) {
        state.dragging = 0;
        if (In(x, y, kSliderLeft, 375, kSliderLeft + kSliderLength, 393)) state.dragging = 1;
        if (In(x, y, kSliderLeft, 397, kSliderLeft + kSliderLength, 415)) state.dragging = 2;
    }
    if (state.dragging == 1) {
        SetConfiguredMusicVolume(SliderVolume(x));
    } else if (state.dragging == 2) {
        SetConfiguredSFXVolume(SliderVolume(x));
    }
}

LauncherAction LauncherRelease(LauncherState& state, int32_t x, int32_t y) {
    state.dragging = 0;
    if (state.pickerOpen) {
        if (In(x, y, 553, 349, 569, 361)) {
            if (state.pickerTop > 0) --state.pickerTop;
            return LauncherAction::None;
        }
        if (In(x, y, 553, 407, 569, 427)) {
            if (state.pickerTop < VideoModeCount - kPickerRows) ++state.pickerTop;
            return LauncherAction::None;
        }
        for (int32_t i = 0; i < kPickerRows; ++i) {
            const int32_t index = state.pickerTop + i;
            if (index < VideoModeCount && In(x, y, 410, 348 + 18 * i, 552, 348 + 18 * i + 17)) {
                currentResolution = index;
                state.pickerOpen = false;
                return LauncherAction::None;
            }
        }
        // Any other click closes the list.
        state.pickerOpen = false;
        return LauncherAction::None;
    }
    if (In(x, y, 195, 306, 215, 326)) Toggle(useFullscreen);
    else if (In(x, y, 195, 326, 215, 346)) Toggle(smoothScaling);
    else if (In(x, y, 195, 346, 215, 366)) Toggle(enableColourBlind);
    else if (In(x, y, 543, 374, 563, 394)) Toggle(enableMusic);
    else if (In(x, y, 543, 396, 563, 416)) Toggle(enableSound);
    else if (In(x, y, 410, 326, 569, 346)) {
        // Without listed modes there is nothing to choose: the box only shows the size.
        if (VideoModeCount > 0) {
            state.pickerOpen = true;
            state.pickerTop = currentResolution - kPickerRows + 1;
            if (state.pickerTop > VideoModeCount - kPickerRows) state.pickerTop = VideoModeCount - kPickerRows;
            if (state.pickerTop < 0) state.pickerTop = 0;
        }
    } else if (In(x, y, 376, 426, 596, 460)) {
        return LauncherAction::Start;
    } else if (In(x, y, 276, 430, 363, 458)) {
        return LauncherAction::Mods;
    } else if (In(x, y, 42, 430, 262, 458)) {
        return LauncherAction::Quit;
    }
    return LauncherAction::None;
}

bool IsModScreenClick(const SDL_Event& event) {
    if (event.type != SDL_MOUSEBUTTONUP) return false;
    return event.button.button != SDL_BUTTON_WHEELUP && event.button.button != SDL_BUTTON_WHEELDOWN;
}

int32_t ModScreenRelease(int32_t& scroll, int32_t x, int32_t y) {
    const int32_t count = static_cast<int32_t>(ModList.size());
    for (int32_t i = 0; i < kModRows; ++i) {
        const int32_t top = kModRowTop + 64 * i;
        if (!In(x, y, kModRowLeft, top, kModRowLeft + kModRowWidth, top + 60)) continue;
        // A row that shows no mod does nothing.
        const int32_t index = scroll + i;
        if (index < count) ModList[static_cast<size_t>(index)].enabled = ModList[static_cast<size_t>(index)].enabled ? 0 : 1;
        return kModScreenStay;
    }
    if (In(x, y, 754, 312, 786, 352)) {
        if (scroll + kModRows < count) ++scroll;
    } else if (In(x, y, 754, 248, 786, 288)) {
        if (scroll >= 1) --scroll;
    } else if (In(x, y, 534, 542, 754, 576)) {
        return 1;
    } else if (In(x, y, 288, 546, 508, 574)) {
        return 0;
    } else if (In(x, y, 42, 546, 262, 574)) {
        return -1;
    }
    return kModScreenStay;
}

int RunModLauncher() {
    if (LauncherHasNoInput() || !OpenWindow(800, 600, "Dwarven Mod Launcher")) return 1;
    AutoSurface background(LoadImage("ui/startup/modlauncher_bg.png"));
    AutoSurface start[2] = {AutoSurface(LoadImage("ui/startup/startup_but_start0.png")),
                            AutoSurface(LoadImage("ui/startup/startup_but_start1.png"))};
    AutoSurface basic[2] = {AutoSurface(LoadImage("ui/startup/startup_but_basic0.png")),
                            AutoSurface(LoadImage("ui/startup/startup_but_basic1.png"))};
    AutoSurface quit[2] = {AutoSurface(LoadImage("ui/startup/startup_but_quit0.png")),
                           AutoSurface(LoadImage("ui/startup/startup_but_quit1.png"))};
    AutoSurface up[3] = {AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_up0.png")),
                         AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_up1.png")),
                         AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_up3.png"))};
    AutoSurface down[3] = {AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_down0.png")),
                           AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_down1.png")),
                           AutoSurface(LoadImage("ui/gameplay/skilltome_arrowbutton_down3.png"))};
    AutoSurface widget(LoadImage("ui/startup/modlauncher_modwidget.png"));
    AutoSurface check(LoadImage("ui/startup/modlauncher_check.png"));
    int32_t scroll = 0;
    for (;;) {
        const int32_t count = static_cast<int32_t>(ModList.size());
        if (scroll > count - kModRows) scroll = count - kModRows > 0 ? count - kModRows : 0;
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        SDL_FillRect(ScreenSurface, nullptr, 0);
        Blit(background, 0, 0);
        for (int32_t i = 0; i < kModRows && scroll + i < count; ++i) {
            const ModRecord& mod = ModList[static_cast<size_t>(scroll + i)];
            const int32_t top = kModRowTop + 64 * i;
            Blit(widget, kModRowLeft, top);
            DrawMediumTextCenteredGold(kModRowLeft + kModRowWidth / 2, top + 4, mod.name.c_str());
            DrawTextWrapped(mod.description.c_str(), kModRowLeft + 40, top + 24, kModRowLeft + kModRowWidth - 10,
                            top + 44, SmallFont, kTextGold, ScreenSurface);
            if (mod.enabled) Blit(check, kModRowLeft + 10, top + 20);
            if (mod.workshopId != 0) {
                const std::string status = "Steam Workshop: " + GetWorkshopStatus();
                DrawText(kModRowLeft + 40, top + 44, status, kTextWhite, ScreenSurface, SmallFont);
            }
        }
        const bool canUp = scroll >= 1;
        const bool canDown = scroll + kModRows < count;
        Blit(up[!canUp ? 2 : In(mx, my, 754, 248, 786, 288) ? 1 : 0], 754, 248);
        Blit(down[!canDown ? 2 : In(mx, my, 754, 312, 786, 352) ? 1 : 0], 754, 312);
        Blit(start[In(mx, my, 534, 542, 754, 576) ? 1 : 0], 534, 542);
        Blit(basic[In(mx, my, 288, 546, 508, 574) ? 1 : 0], 288, 546);
        Blit(quit[In(mx, my, 42, 546, 262, 574) ? 1 : 0], 42, 546);
        SteamAPI_RunCallbacks();
        EndFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) return -1;
            if (!IsModScreenClick(event)) continue;
            const int32_t result = ModScreenRelease(scroll, event.button.x, event.button.y);
            if (result != kModScreenStay) {
                PlaySFX("click");
                return result;
            }
        }
        if (LauncherHasNoInput()) return 1;
    }
}

void LaunchInitialConfig() {
    if (!LauncherHasNoInput() && OpenWindow(640, 480, "Choose Thy Configuration Wisely")) {
        LauncherState state;
        AutoSurface background(LoadImage("ui/startup/startup_bg.png"));
        AutoSurface start[2] = {AutoSurface(LoadImage("ui/startup/startup_but_start0.png")),
                                AutoSurface(LoadImage("ui/startup/startup_but_start1.png"))};
        AutoSurface mods[2] = {AutoSurface(LoadImage("ui/startup/startup_but_mods0.png")),
                               AutoSurface(LoadImage("ui/startup/startup_but_mods1.png"))};
        AutoSurface quit[2] = {AutoSurface(LoadImage("ui/startup/startup_but_quit0.png")),
                               AutoSurface(LoadImage("ui/startup/startup_but_quit1.png"))};
        AutoSurface check(LoadImage("ui/startup/startup_box_check20x.png"));
        AutoSurface thumb[2] = {AutoSurface(LoadImage("ui/startup/startup_slider_thumb0.png")),
                                AutoSurface(LoadImage("ui/startup/startup_slider_thumb1.png"))};
        AutoSurface fill(LoadImage("ui/startup/startup_slider_fill.png"));
        AutoSurface pickerBox(LoadImage("ui/startup/picker_box.png"));
        AutoSurface pickerArrow[2] = {AutoSurface(LoadImage("ui/startup/picker_arrow0.png")),
                                      AutoSurface(LoadImage("ui/startup/picker_arrow1.png"))};
        AutoSurface pickerUp[2] = {AutoSurface(LoadImage("ui/startup/picker_up0.png")),
                                   AutoSurface(LoadImage("ui/startup/picker_up1.png"))};
        AutoSurface pickerDown[2] = {AutoSurface(LoadImage("ui/startup/picker_down0.png")),
                                     AutoSurface(LoadImage("ui/startup/picker_down1.png"))};
        bool leave = false;
        while (!leave) {
            int mx = 0, my = 0;
            LoggedGetMouseState(&mx, &my);
            SDL_FillRect(ScreenSurface, nullptr, 0);
            Blit(background, 0, 0);
            Blit(start[In(mx, my, 376, 426, 596, 460) ? 1 : 0], 376, 426);
            Blit(mods[In(mx, my, 276, 430, 363, 458) ? 1 : 0], 276, 430);
            Blit(quit[In(mx, my, 42, 430, 262, 458) ? 1 : 0], 42, 430);
            if (useFullscreen) Blit(check, 195, 306);
            if (smoothScaling) Blit(check, 195, 326);
            if (enableColourBlind) Blit(check, 195, 346);
            if (enableMusic) Blit(check, 543, 374);
            if (enableSound) Blit(check, 543, 396);
            const int32_t volumes[2] = {ConfiguredMusicVolume(), ConfiguredSFXVolume()};
            for (int s = 0; s < 2; ++s) {
                const int32_t top = s == 0 ? 375 : 397;
                const int32_t at = kSliderLeft + volumes[s] * kSliderLength / 100;
                if (fill.get() != nullptr) {
                    SDL_Rect part = {0, 0, static_cast<Uint16>(at - kSliderLeft), static_cast<Uint16>(fill->h)};
                    SDL_Rect where = {static_cast<Sint16>(kSliderLeft), static_cast<Sint16>(top), 0, 0};
                    BlitSurface(fill, &part, ScreenSurface, &where);
                }
                Blit(thumb[state.dragging == s + 1 ? 1 : 0], at - 5, top);
            }
            Blit(pickerBox, 410, 326);
            Blit(pickerArrow[In(mx, my, 553, 326, 569, 346) ? 1 : 0], 553, 326);
            const VideoMode* chosen = ChosenVideoMode();
            const std::string shown = chosen != nullptr ? ModeText(*chosen)
                                                        : std::to_string(CmdLine.screenWidth) + "x" +
                                                              std::to_string(CmdLine.screenHeight);
            DrawText(414, 328, shown, kTextWhite, ScreenSurface, SmallFont);
            if (state.pickerOpen) {
                SDL_Rect list = {410, 347, 160, 81};
                SDL_FillRect(ScreenSurface, &list, SDL_MapRGB(ScreenSurface->format, 24, 24, 32));
                for (int32_t i = 0; i < kPickerRows && state.pickerTop + i < VideoModeCount; ++i) {
                    const int32_t index = state.pickerTop + i;
                    const SDL_Color colour = index == currentResolution ? kTextGold : kTextWhite;
                    DrawText(414, 348 + 18 * i, ModeText(VideoModes[static_cast<size_t>(index)]), colour,
                             ScreenSurface, SmallFont);
                }
                Blit(pickerUp[In(mx, my, 553, 349, 569, 361) ? 1 : 0], 553, 349);
                Blit(pickerDown[In(mx, my, 553, 407, 569, 427) ? 1 : 0], 553, 407);
            }
            SteamAPI_RunCallbacks();
            EndFrame();
            SDL_Event event;
            while (!leave && LoggedPollEvent(&event)) {
                if (event.type == SDL_QUIT) ExitEarly(0);
                if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
                    LauncherPress(state, event.button.x, event.button.y, false);
                } else if (event.type == SDL_MOUSEMOTION && state.dragging != 0) {
                    LauncherPress(state, event.motion.x, event.motion.y, true);
                } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
                    const LauncherAction action = LauncherRelease(state, event.button.x, event.button.y);
                    if (action == LauncherAction::Start) leave = true;
                    if (action == LauncherAction::Quit) ExitEarly(0);
                    if (action == LauncherAction::Mods) {
                        const int result = RunModLauncher();
                        if (result == 1) leave = true;
                        if (result == -1) ExitEarly(0);
                        if (result == 0 && !OpenWindow(640, 480, "Choose Thy Configuration Wisely")) leave = true;
                    }
                }
            }
            // A headless run whose script is used up cannot answer any more.
            if (LauncherHasNoInput()) leave = true;
        }
    }
    ApplyStartupScreenSettings(true);
    WriteConfig();
}
