// The in-game settings window.
#include "interface/settings_window.h"

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "interface/autopickup_window.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/key_binding_window.h"
#include "interface/layout.h"
#include "interface/menu_bar.h"
#include "interface/menu_frame.h"
#include "interface/play_screen.h"
#include "interface/screens.h"
#include "interface/window_art.h"
#include "levels/tutorial.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text.h"

#include <string>

namespace {

constexpr int32_t kDefaultPanelHeight = 200;
constexpr int32_t kExitButtonY = 146;
constexpr int32_t kExitButtonWidth = 140;
constexpr int32_t kExitButtonHeight = 40;
constexpr int32_t kFirstExitX = 38;
constexpr int32_t kConfigButtonX = 418;
constexpr int32_t kConfigButtonRight = 594;
constexpr int32_t kKeysButtonY = 18;
constexpr int32_t kPickupButtonY = 48;
constexpr int32_t kConfigButtonHeight = 24;
constexpr int32_t kCheckSize = 18;
constexpr int32_t kHelpWidth = 200;

SettingsToggle Toggles[kSettingsToggleCount] = {
    {"AutoClick", &AutoClick, 146, 15},
    {"WASDActive", &WASDActive, 146, 35},
    {"AutoLoot", &AutoLoot, 146, 55},
    {"use2XUI", &use2XUI, 374, 35},
    {"DisableClickToMove", &DisableClickToMove, 374, 55},
};

bool Inside(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }
bool StrictlyInside(int32_t v, int32_t lo, int32_t hi) { return v > lo && v < hi; }

int32_t DeadZone(int32_t offset) { return offset < kSliderDeadZone ? 0 : offset; }

// One opening of the window.
class SettingsWindow {
public:
    SettingsWindow() {
        tutorial_ = TutorialFlag;
        permadeath_ = CurrentPlayer != nullptr && CurrentPlayer->permadeath != 0;
        exits_ = ChooseSettingsExitButtons(permadeath_, tutorial_);
        check_.Reset(LoadImage("ui/gameplay/settings_toggle_check.png"));
        panel_.Reset(LoadImage(tutorial_ ? "ui/gameplay/settings_tutorial_bg.png" : "ui/gameplay/settings_bg.png"));
        keys_.Load("ui/gameplay/settings_config_keys", 176, kConfigButtonHeight);
        pickup_.Load("ui/gameplay/settings_config_pickup", 176, kConfigButtonHeight);
        thumb_.Reset(LoadImage("ui/startup/startup_slider_thumb0.png"));
        if (exits_.firstShown) first_.Load(exits_.firstArt, kExitButtonWidth, kExitButtonHeight);
        second_.Load(exits_.secondArt, kExitButtonWidth, kExitButtonHeight);
        return_.Load("ui/gameplay/settings_button_return", kExitButtonWidth, kExitButtonHeight);
        if (CurrentPlayer != nullptr) {
            CurrentPlayer->SetIdleAnimation();
            CurrentPlayer->offsetX = 0.0f;
            CurrentPlayer->offsetY = 0.0f;
        }
        FlushInput();
        DiscardPendingEvents();
        soundOffset_ = SliderOffsetFromVolume(ConfiguredSFXVolume());
        musicOffset_ = SliderOffsetFromVolume(ConfiguredMusicVolume());
    }

    int32_t Run() {
        for (;;) {
            const bool closeAfterFrame = MenuBarHover;
            Place();
            Draw();
            if (closeAfterFrame) return 0;
            SDL_Event event;
            while (result_ < 0 && LoggedPollEvent(&event)) {
                if (!Handle(event)) break;
            }
            if (result_ >= 0) return result_;
        }
    }

private:
    int32_t T() const { return tutorial_ ? 1 : 0; }
    int32_t TrackX() const { return x_ + 235 + 8 * T(); }
    int32_t MusicTop() const { return y_ + 84 - 10 * T(); }
    int32_t SoundTop() const { return y_ + 116 - 10 * T(); }
    static constexpr int32_t kBand = 18;

    bool InSoundBand(int32_t mx, int32_t my) const {
        return StrictlyInside(mx, TrackX(), TrackX() + kSliderTrackLength) &&
               StrictlyInside(my, SoundTop(), SoundTop() + kBand);
    }
    bool InMusicBand(int32_t mx, int32_t my) const {
        return StrictlyInside(mx, TrackX(), TrackX() + kSliderTrackLength) &&
               StrictlyInside(my, MusicTop(), MusicTop() + kBand);
    }

    void Place() {
        CentredPanelCorner(panel_.get(), kSettingsPanelWidth, kDefaultPanelHeight, &x_, &y_);
        first_.Place(x_ + kFirstExitX, y_ + kExitButtonY);
        second_.Place(x_ + exits_.secondX, y_ + kExitButtonY);
        return_.Place(x_ + exits_.returnX, y_ + kExitButtonY);
        keys_.Place(x_ + kConfigButtonX, y_ + kKeysButtonY);
        pickup_.Place(x_ + kConfigButtonX, y_ + kPickupButtonY);
    }

    void SetSound(int32_t offset) {
        soundOffset_ = DeadZone(offset);
        SetConfiguredSFXVolume(SliderVolumeFromOffset(soundOffset_));
    }
    void SetMusic(int32_t offset) {
        musicOffset_ = DeadZone(offset);
        SetConfiguredMusicVolume(SliderVolumeFromOffset(musicOffset_));
    }

    void Draw() {
        TooltipSlotFree = false;
        DrawGameScreen();
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        DrawPicture(panel_, x_, y_);
        if (!tutorial_) {
            keys_.Draw(mx, my);
            pickup_.Draw(mx, my);
            for (const SettingsToggle& t : Toggles) {
                if (*t.value != 0) DrawPicture(check_, x_ + t.x, y_ + t.y);
            }
            first_.Draw(mx, my);
        }
        second_.Draw(mx, my);
        return_.Draw(mx, my);
        const int32_t thumbW = thumb_ ? thumb_->w : 0;
        DrawPicture(thumb_, TrackX() + musicOffset_ - thumbW / 2, MusicTop());
        DrawPicture(thumb_, TrackX() + soundOffset_ - thumbW / 2, SoundTop());
        DrawCloseButton(x_ + kSettingsPanelWidth - 20, y_);
        if (help_) DrawHelp();
        UpdateMouseCursor();
        AdvanceFrame();
    }

    void DrawHelp() {
        if (ScreenSurface == nullptr) return;
        const int32_t b = GetTweakInt("tooltip border size");
        const int32_t h = WrappedTextHeight(helpText_.c_str(), TickerFont, kHelpWidth);
        int32_t hy = helpY_;
        if (hy + h > Layout.screenHeight) hy -= h;
        SDL_Rect box = {static_cast<Sint16>(helpX_ - b), static_cast<Sint16>(hy - b),
                        static_cast<Uint16>(kHelpWidth + 2 * b), static_cast<Uint16>(h + 2 * b)};
        SDL_FillRect(ScreenSurface, &box, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        DrawTextWrapped(helpText_.c_str(), helpX_, hy, helpX_ + kHelpWidth, hy + h + 1, TickerFont, kTextWhite,
                        ScreenSurface);
    }

    // False when the remaining events wait for the next frame.
    bool Handle(const SDL_Event& event) {
        switch (event.type) {
            case SDL_KEYUP:
                if (event.key.keysym.sym == SDLK_ESCAPE || KeyBindingMatches(kBindMenu, event.key.keysym)) {
                    result_ = 0;
                }
                return true;
            case SDL_MOUSEBUTTONDOWN:
                if (help_) return true;
                if (InSoundBand(event.button.x, event.button.y)) {
                    SetSound(event.button.x - TrackX());
                    dragSound_ = true;
                } else if (InMusicBand(event.button.x, event.button.y)) {
                    SetMusic(event.button.x - TrackX());
                    dragMusic_ = true;
                }
                return true;
            case SDL_MOUSEMOTION:
                if (help_) return true;
                if (dragSound_ && InSoundBand(event.motion.x, event.motion.y)) {
                    SetSound(event.motion.x - TrackX());
                    PlaySFX("tutorialrespond");
                } else if (dragMusic_ && InMusicBand(event.motion.x, event.motion.y)) {
                    SetMusic(event.motion.x - TrackX());
                }
                return true;
            case SDL_MOUSEBUTTONUP:
                return Release(event.button.x, event.button.y);
            default:
                return true;
        }
    }

    bool Release(int32_t mx, int32_t my) {
        if (help_) {
            help_ = false;
            return true;
        }
        dragSound_ = false;
        dragMusic_ = false;
        const int32_t stripTop = Layout.screenHeight - BottomBarHeight() + 18;
        if (Inside(my, stripTop, stripTop + 24) && Inside(mx, Layout.interfaceX, Layout.interfaceX + 280)) {
            CheckMenuBarHover(mx, my);
            return false;
        }
        if (InSoundBand(mx, my)) {
            SetSound(mx - TrackX());
            PlaySFX("tutorialrespond");
        } else if (InMusicBand(mx, my)) {
            SetMusic(mx - TrackX());
        }
        const int32_t rx = mx - x_;
        const int32_t ry = my - y_;
        if (!tutorial_) {
            if (Inside(rx, kConfigButtonX, kConfigButtonRight) && Inside(ry, kKeysButtonY, kKeysButtonY + kConfigButtonHeight)) {
                ShowKeyBindingsScreen();
                return true;
            }
            if (Inside(rx, kConfigButtonX, kConfigButtonRight) &&
                Inside(ry, kPickupButtonY, kPickupButtonY + kConfigButtonHeight)) {
                ShowAutoPickupScreen();
                return true;
            }
            const int32_t toggle = SettingsToggleAt(rx, ry);
            if (toggle >= 0) {
                int32_t& value = *Toggles[toggle].value;
                value = value != 0 ? 0 : 1;
                if (Toggles[toggle].value == &use2XUI) {
                    Layout.largeInterface = use2XUI != 0 ? 1 : 0;
                    UpdateScreenLayout();
                }
                return true;
            }
            for (const TextBlock& block : GetQuestionBlocks("config")) {
                if (Inside(rx, block.x, block.x + block.w) && Inside(ry, block.y, block.y + block.h)) {
                    help_ = true;
                    helpText_ = block.text;
                    helpX_ = x_ + block.x;
                    helpY_ = y_ + block.y;
                    return true;
                }
            }
            if (first_.StrictlyContains(mx, my)) {
                PlaySFX("click");
                if (exits_.first == SettingsExitKind::JustQuit) {
                    JustQuit();
                } else {
                    SaveOnLeaveFlag = true;
                    result_ = 1;
                }
                return true;
            }
        }
        if (second_.StrictlyContains(mx, my)) {
            PlaySFX("click");
            SecondExit();
            return true;
        }
        if (return_.StrictlyContains(mx, my) ||
            (StrictlyInside(rx, kSettingsPanelWidth - 22, kSettingsPanelWidth) && StrictlyInside(ry, 0, 22))) {
            PlaySFX("click");
            result_ = 0;
        }
        return true;
    }

    void JustQuit() {
        if (ShowDialog("Are you sure you want to Just Quit? YOUR GAME WILL NOT BE SAVED AND WILL BE DELETED! FOR REAL.",
                       "ui/dialog_but_yea", "ui/dialog_but_nay") != 0 ||
            ShowDialog("Are you 100% REALLY, REALLY sure you want to Kill This Character, Permanently, And Irrevocably?",
                       "ui/dialog_but_yea", "ui/dialog_but_nay") != 0) {
            result_ = 0;
            return;
        }
        ShowDialog("Okay, you asked for it...", "ui/dialog_but_ok", nullptr);
        // The autosave goes too, but only when it is this hero's: another hero's autosave
        // is not ours to delete.
        const bool autosaveIsOurs = AutosaveRecordIsCurrentHero();
        if (CurrentPlayer != nullptr && !CurrentPlayer->saveName.empty()) {
            DeleteSaveGame(CurrentPlayer->saveName.c_str(), true);
        }
        if (autosaveIsOurs) DeleteSaveGame("autosave.sav", true);
        SaveOnLeaveFlag = false;
        result_ = 1;
    }

    void SecondExit() {
        switch (exits_.second) {
            case SettingsExitKind::PermadeathSaveAndQuit:
                SaveOnLeaveFlag = true;
                result_ = 1;
                break;
            case SettingsExitKind::SaveAndContinue:
                if (CurrentPlayer != nullptr && CurrentPlayer->dead == 0) {
                    if (!SaveGame(CurrentPlayer->saveName.c_str())) {
                        const std::string text = "Your game could not be saved: " + LastSaveGameError() +
                                                 ". Your last save is kept.";
                        ShowDialog(text.c_str(), "ui/dialog_but_ok", nullptr);
                    }
                    result_ = 0;
                }
                break;
            case SettingsExitKind::LeaveTutorial:
                TutorialContinueFlag = 0;
                result_ = 1;
                break;
            default:
                break;
        }
    }

    bool tutorial_ = false;
    bool permadeath_ = false;
    SettingsExitButtons exits_{};
    AutoSurface check_, panel_, thumb_;
    TwoStateButton keys_, pickup_, first_, second_, return_;
    int32_t x_ = 0, y_ = 0;
    int32_t soundOffset_ = 0, musicOffset_ = 0;
    bool dragSound_ = false, dragMusic_ = false;
    bool help_ = false;
    std::string helpText_;
    int32_t helpX_ = 0, helpY_ = 0;
    int32_t result_ = -1;
};

}  // namespace

int32_t SliderVolumeFromOffset(int32_t offset) {
    if (offset <= 0) return 0;
    if (offset >= kSliderTrackLength) return 100;
    return offset * 100 / kSliderTrackLength;
}

int32_t SliderOffsetFromVolume(int32_t volume) {
    if (volume <= 0) return 0;
    if (volume >= 100) return kSliderTrackLength;
    return volume * kSliderTrackLength / 100;
}

const SettingsToggle* GetSettingsToggles() { return Toggles; }

int32_t SettingsToggleAt(int32_t rx, int32_t ry) {
    for (int32_t i = 0; i < kSettingsToggleCount; ++i) {
        const SettingsToggle& t = Toggles[i];
        if (StrictlyInside(rx, t.x, t.x + kCheckSize) && StrictlyInside(ry, t.y, t.y + kCheckSize)) return i;
    }
    return -1;
}

SettingsExitButtons ChooseSettingsExitButtons(bool permadeath, bool tutorial) {
    if (tutorial) {
        return {false, SettingsExitKind::JustQuit, SettingsExitKind::LeaveTutorial,
                "ui/gameplay/settings_button_justquit", "ui/gameplay/settings_tutorial_exit", 103, 307};
    }
    if (permadeath) {
        return {true, SettingsExitKind::JustQuit, SettingsExitKind::PermadeathSaveAndQuit,
                "ui/gameplay/settings_button_justquit", "ui/gameplay/settings_button_saveandquit", 190, 374};
    }
    return {true, SettingsExitKind::SaveAndQuit, SettingsExitKind::SaveAndContinue, "ui/gameplay/settings_save_quit",
            "ui/gameplay/settings_save_continue", 190, 374};
}

SDL_Rect SaveThumbnailSourceRect() {
    SDL_Rect r = {0, 0, kSaveThumbnailWidth, kSaveThumbnailHeight};
    const Player* hero = CurrentPlayer;
    if (hero == nullptr) return r;
    const MapView& v = Layout.view;
    const int32_t hx = (hero->x - v.originX) * v.tileWidth - v.pixelX + static_cast<int32_t>(hero->offsetX);
    const int32_t hy = (hero->y - v.originY) * v.tileHeight - v.pixelY + static_cast<int32_t>(hero->offsetY);
    r.x = static_cast<Sint16>(hx - kSaveThumbnailWidth / 2);
    r.y = static_cast<Sint16>(hy - kSaveThumbnailHeight / 2);
    return r;
}

void CaptureSaveThumbnail() {
    if (SaveThumbnailSurface == nullptr) {
        SaveThumbnailSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, kSaveThumbnailWidth, kSaveThumbnailHeight, 32,
                                                    0xFF0000, 0xFF00, 0xFF, 0);
        if (SaveThumbnailSurface == nullptr) return;
    }
    RefreshSaveThumbnail();
}

void RefreshSaveThumbnail() {
    if (SaveThumbnailSurface == nullptr || ScreenSurface == nullptr) return;
    if (CurrentPlayer != nullptr) {
        // A fresh frame of the level without any window or tooltip over it.
        const bool slot = TooltipSlotFree;
        TooltipSlotFree = false;
        DrawGameScreen();
        TooltipSlotFree = slot;
    }
    SDL_FillRect(SaveThumbnailSurface, nullptr, 0);
    SDL_Rect source = SaveThumbnailSourceRect();
    SDL_Rect at = {0, 0, 0, 0};
    // Parts of the rectangle off the screen stay black.
    if (source.x < 0) {
        at.x = static_cast<Sint16>(-source.x);
        source.w = static_cast<Uint16>(source.w + source.x);
        source.x = 0;
    }
    if (source.y < 0) {
        at.y = static_cast<Sint16>(-source.y);
        source.h = static_cast<Uint16>(source.h + source.y);
        source.y = 0;
    }
    SDL_BlitSurface(ScreenSurface, &source, SaveThumbnailSurface, &at);
}

int32_t ShowSettingsScreen() {
    if (PlayWindowReplacement replacement = GetPlayWindowReplacement()) return replacement(PlayWindow::Settings);
    CaptureSaveThumbnail();
    SettingsWindow window;
    return window.Run();
}
