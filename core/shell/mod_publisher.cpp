// The mod publisher window (see mod_publisher.h).
#include "core/shell/mod_publisher.h"

#include <SDL.h>
#include <physfs.h>

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "core/input_log.h"
#include "core/shell/launcher.h"
#include "core/shell/startup.h"
#include "interface/button.h"
#include "interface/layout.h"
#include "interface/ui_services.h"
#include "media/font.h"
#include "media/image.h"
#include "media/opengl_present.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/surface.h"
#include "media/text.h"
#include "platform/platform.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"

const char* const kPublishNotAnArchive =
    "Couldn't load your mod; make sure it's a .zip file and you have read access to it.";
const char* const kPublishNoModXml = "Your mod doesn't appear to be valid.";
const char* const kPublishBadPreview =
    "Your preview doesn't appear to be valid; make sure it's a .jpg or .png file and you have read access to it.";

namespace {

constexpr int32_t kRows = 6;

bool In(int32_t x, int32_t y, int32_t left, int32_t top, int32_t w, int32_t h) {
    return x >= left && x <= left + w && y >= top && y <= top + h;
}

void Blit(SDL_Surface* picture, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

// Three pictures: rest, under the pointer, disabled (or held).
struct PublisherButton {
    AutoSurface states[3];
    int32_t x = 0, y = 0;
    void Load(const char* base, int count) {
        for (int i = 0; i < 3; ++i) {
            const std::string file = std::string(base) + std::to_string(i < count ? i : count - 1) + ".png";
            states[i].Reset(LoadImage(file.c_str()));
        }
    }
    int32_t w() const { return states[0].get() ? states[0]->w : 176; }
    int32_t h() const { return states[0].get() ? states[0]->h : 32; }
    void Draw(int32_t mx, int32_t my, bool enabled) const {
        Blit(states[!enabled ? 2 : In(mx, my, x, y, w(), h()) ? 1 : 0], x, y);
    }
};

// Button places of the list screen (top-left corners) and their sizes.
constexpr int32_t kPageX = 40, kNewX = 232, kUpdateX = 424, kButtonY = 546, kExitX = 616, kExitY = 542;
constexpr int32_t kButtonW = 176, kButtonH = 32, kExitH = 36;
constexpr int32_t kArrowX = 754, kUpY = 248, kDownY = 312, kArrowW = 32, kArrowH = 40;

[[noreturn]] void CloseWindowExit() {
    // The orderly exit: the configuration is written and the crash cookie deleted.
    ExitEarly(0);
}

std::string ModLine(const ModRecord& mod) { return "\"" + mod.name + ",\" by " + mod.author + ":"; }

// The yes / no question over the large scroll; true for yes.
bool ConfirmPublication(const ModRecord& mod, const ModRecord* old) {
    AutoSurface scroll(LoadImage("ui/scroll_bg_large.png"));
    const int32_t scrollW = scroll.get() ? scroll->w : 800;
    const int32_t scrollH = scroll.get() ? scroll->h : 600;
    StateButton yes, no;
    yes.Load("ui/dialog_but_yea", "Yes", 120, 32);
    no.Load("ui/dialog_but_nay", "No", 120, 32);
    yes.rect.x = static_cast<Sint16>(scrollW / 4 - yes.rect.w / 2);
    no.rect.x = static_cast<Sint16>(scrollW * 3 / 4 - no.rect.w / 2);
    yes.rect.y = static_cast<Sint16>(scrollH - 96 - yes.rect.h);
    no.rect.y = static_cast<Sint16>(scrollH - 96 - no.rect.h);
    for (;;) {
        SteamAPI_RunCallbacks();
        SDL_FillRect(ScreenSurface, nullptr, 0);
        Blit(scroll, 0, 0);
        DrawText(114, 102, "We will publish this mod...", kTextBlack, ScreenSurface, LargeFont);
        DrawText(114, 137, ModLine(mod), kTextBlack, ScreenSurface, MediumFont);
        DrawTextWrapped(mod.description.c_str(), 134, 157, 697, 235, MediumFont, kTextBlack, ScreenSurface);
        if (old != nullptr) {
            DrawText(114, 250, "...which will overwrite...", kTextBlack, ScreenSurface, LargeFont);
            DrawText(114, 285, ModLine(*old), kTextBlack, ScreenSurface, MediumFont);
            DrawTextWrapped(old->description.c_str(), 134, 305, 697, 383, MediumFont, kTextBlack, ScreenSurface);
            DrawText(114, 394, "Are you sure? This can't be undone!", kTextBlack, ScreenSurface, LargeFont);
        }
        int mx = 0, my = 0;
        const Uint8 held = LoggedGetMouseState(&mx, &my);
        yes.Draw(ScreenSurface, mx, my, held);
        no.Draw(ScreenSurface, mx, my, held);
        PresentFrame(ScreenSurface);
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) CloseWindowExit();
            if (event.type != SDL_MOUSEBUTTONUP || event.button.button != SDL_BUTTON_LEFT) continue;
            if (yes.Contains(event.button.x, event.button.y)) return true;
            if (no.Contains(event.button.x, event.button.y)) return false;
        }
        if (LauncherHasNoInput()) return false;
        if (!InputScriptActive()) SDL_Delay(50);
    }
}

void WaitForPublication() {
    SDL_FillRect(ScreenSurface, nullptr, 0);
    AutoSurface scroll(LoadImage("ui/scroll_bg.png"));
    Sprite* hero = SpriteMgr_GetOrLoad("sprites/hero/hero_long_idle.spr");
    int32_t frame = 0;
    Uint32 frameStart = LoggedGetTicks();
    while (WorkshopPublished && WorkshopPublished->publishResult == -1) {
        SDL_FillRect(ScreenSurface, nullptr, 0);
        const int32_t sw = scroll.get() ? scroll->w : 450;
        const int32_t sh = scroll.get() ? scroll->h : 272;
        const int32_t sx = (ScreenSurface->w - sw) / 2;
        const int32_t sy = (ScreenSurface->h - sh) / 2;
        Blit(scroll, sx, sy);
        DrawText(sx + 135, sy + 50, "Publishing your mod.", kTextBlack, ScreenSurface, MediumFont);
        DrawText(sx + 133, sy + 70, "Please amuse yourself.", kTextBlack, ScreenSurface, MediumFont);
        if (hero != nullptr && hero->frameCount > 0) {
            const Uint32 now = LoggedGetTicks();
            const Uint32 delay = hero->delays != nullptr && hero->delays[frame] > 0 ? hero->delays[frame] : 100;
            if (now - frameStart >= delay) {
                frame = (frame + 1) % hero->frameCount;
                frameStart = now;
            }
            hero->DrawFrame(ScreenSurface->w / 2 - hero->width / 2, ScreenSurface->h / 2 + 30 - hero->height / 2, frame);
        }
        PresentFrame(ScreenSurface);
        SteamAPI_RunCallbacks();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) CloseWindowExit();
        }
        if (!InputScriptActive()) SDL_Delay(10);
    }
}

void PublishModDialog(const ModRecord* old, const WorkshopFileEntry* entry) {
    const bool updating = old != nullptr && entry != nullptr;
    const char* caption = updating ? "Mod Update" : "Mod Publish";
    SDL_WM_SetCaption(caption, caption);
    const std::string content = AskOpenFileName("Please select your mod's file");
    if (content.empty()) return;
    ModRecord mod;
    std::string refusal = ReadModToPublish(content, &mod);
    if (!refusal.empty()) {
        ShowDialog(refusal.c_str(), "ui/dialog_but_ok", nullptr);
        return;
    }
    const std::string preview = AskOpenFileName("Please select your mod's preview image file");
    if (preview.empty()) return;
    refusal = CheckPreview(preview);
    if (!refusal.empty()) {
        ShowDialog(refusal.c_str(), "ui/dialog_but_ok", nullptr);
        return;
    }
    const bool yes = ConfirmPublication(mod, updating ? old : nullptr);
    PlaySFX("click");
    if (!yes || !WorkshopPublished) return;
    if (updating) {
        WorkshopPublished->UpdateMod(*entry, content, preview, mod.name, mod.description);
    } else {
        WorkshopPublished->PublishMod(content, preview, mod.name, mod.description);
    }
    WaitForPublication();
    const bool published = WorkshopPublished && WorkshopPublished->publishResult == 1;
    printf("%s\n", published ? "Your mod is published!" : "ERROR: Your mod failed to publish!");
    ShowDialog(published ? "Your mod is published!"
                         : "ERROR: Your mod failed to publish! Check your internet connection.",
               "ui/dialog_but_ok", nullptr);
}

}  // namespace

std::string WorkshopPageAddress(uint64_t workshopId) {
    char address[128];
    snprintf(address, sizeof(address), "https://community.vaultmere.invalid/sharedfiles/filedetails/?id=%" PRIu64,
             workshopId);
    return address;
}

std::string ReadModToPublish(const std::string& contentPath, ModRecord* mod) {
    if (!PHYSFS_mount(contentPath.c_str(), "/", 1)) return kPublishNotAnArchive;
    std::vector<ModRecord> found;
    ParseModXml(found, contentPath, 0);
    PHYSFS_unmount(contentPath.c_str());
    if (found.empty()) return kPublishNoModXml;
    *mod = found.front();
    return "";
}

std::string CheckPreview(const std::string& previewPath) {
    uint32_t size = 0;
    const void* view = MapFileToMemory(previewPath.c_str(), &size);
    if (view == nullptr) return kPublishBadPreview;
    SDL_Surface* picture = size > 0 ? CreateSurfaceFromImageData(static_cast<const unsigned char*>(view), size) : nullptr;
    UnmapFile(view);
    if (picture == nullptr) return kPublishBadPreview;
    SDL_FreeSurface(picture);
    return "";
}

PublisherAction PublisherRelease(PublisherState& state, int32_t x, int32_t y) {
    const int32_t count = static_cast<int32_t>(PublishedModList.size());
    for (int32_t i = 0; i < kRows; ++i) {
        if (x >= 10 && x <= 745 && y >= 116 + 64 * i && y <= 178 + 64 * i) {
            const int32_t index = state.scroll + i;
            state.selected = index < count ? index : -1;
            return PublisherAction::None;
        }
    }
    const bool selected = state.selected >= 0 && state.selected < count;
    if (selected && In(x, y, kPageX, kButtonY, kButtonW, kButtonH)) return PublisherAction::OpenPage;
    if (In(x, y, kNewX, kButtonY, kButtonW, kButtonH)) return PublisherAction::New;
    if (selected && In(x, y, kUpdateX, kButtonY, kButtonW, kButtonH)) return PublisherAction::Update;
    if (In(x, y, kExitX, kExitY, kButtonW, kExitH)) return PublisherAction::Exit;
    if (In(x, y, kArrowX, kDownY, kArrowW, kArrowH) && state.scroll + kRows < count) ++state.scroll;
    if (In(x, y, kArrowX, kUpY, kArrowW, kArrowH) && state.scroll > 0) --state.scroll;
    return PublisherAction::None;
}

void RunPublishDialog(const ModRecord* mod, const WorkshopFileEntry* entry) {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    const std::string savedTitle = title != nullptr ? title : "";
    const std::string savedIcon = icon != nullptr ? icon : "";
    PublishModDialog(mod, entry);
    SDL_WM_SetCaption(savedTitle.c_str(), savedIcon.c_str());
    RestartPublishedHolder();
}

void RunModPublisher() {
    if (SteamRemoteStorage() == nullptr) {
        ShowErrorBox("Can't talk to Steam Workshop! Is the Steam Client running?");
        return;
    }
    SDL_WM_SetCaption("Vaultmere Mod Publisher", "Your mods");
    SetFramePresenter(nullptr);
    ScreenSurface = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE);
    if (ScreenSurface == nullptr) return;
    UpdateScreenLayout();  // the dialogs centre on (400, 300)
    if (LauncherHasNoInput()) return;

    AutoSurface background(LoadImage("ui/publisher/publisher_bg.png"));
    PublisherButton page, add, update, quit, up, down;
    page.Load("ui/publisher/publisher_but_workshop", 3);
    update.Load("ui/publisher/publisher_but_update", 3);
    add.Load("ui/publisher/publisher_but_new", 3);
    quit.Load("ui/publisher/publisher_but_exit", 2);
    up.Load("ui/gameplay/skilltome_arrowbutton_up", 2);
    down.Load("ui/gameplay/skilltome_arrowbutton_down", 2);
    up.states[2].Reset(LoadImage("ui/gameplay/skilltome_arrowbutton_up3.png"));
    down.states[2].Reset(LoadImage("ui/gameplay/skilltome_arrowbutton_down3.png"));
    page.x = kPageX, page.y = kButtonY;
    add.x = kNewX, add.y = kButtonY;
    update.x = kUpdateX, update.y = kButtonY;
    quit.x = kExitX, quit.y = kExitY;
    up.x = kArrowX, up.y = kUpY;
    down.x = kArrowX, down.y = kDownY;
    AutoSurface widget(LoadImage("ui/publisher/publisher_modwidget.png"));
    AutoSurface widgetSelected(LoadImage("ui/publisher/publisher_modwidget_selected.png"));
    PublisherState state;
    for (;;) {
        const int32_t count = static_cast<int32_t>(PublishedModList.size());
        if (state.selected >= count) state.selected = -1;
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        SDL_FillRect(ScreenSurface, nullptr, 0);
        Blit(background, 0, 0);
        const bool selected = state.selected >= 0;
        page.Draw(mx, my, selected);
        add.Draw(mx, my, true);
        update.Draw(mx, my, selected);
        quit.Draw(mx, my, true);
        up.Draw(mx, my, state.scroll > 0);
        down.Draw(mx, my, state.scroll + kRows < count);
        for (int32_t i = 0; i < kRows && state.scroll + i < count; ++i) {
            const int32_t index = state.scroll + i;
            const ModRecord& mod = PublishedModList[static_cast<size_t>(index)];
            Blit(index == state.selected ? widgetSelected : widget, 10, 116 + 64 * i);
            DrawMediumTextCenteredGold(114, 138 + 64 * i, mod.name.c_str());
            DrawMediumTextCenteredGold(295, 138 + 64 * i, mod.author.c_str());
            DrawTextWrapped(mod.description.c_str(), 381, 116 + 64 * i, 677, 178 + 64 * i, SmallFont, kTextGold,
                            ScreenSurface);
        }
        SteamAPI_RunCallbacks();
        const std::string status = GetWorkshopStatus(WorkshopPublished.get());
        if (!status.empty()) DrawText(300, 500, "Steam Workshop: " + status, kTextWhite, ScreenSurface, MediumFont);
        PresentFrame(ScreenSurface);
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) return;
            if (!IsModScreenClick(event)) continue;
            const int32_t before = state.selected;
            const int32_t scrollBefore = state.scroll;
            const PublisherAction action = PublisherRelease(state, event.button.x, event.button.y);
            if (action != PublisherAction::None || state.selected != before || state.scroll != scrollBefore ||
                (event.button.x >= 10 && event.button.x <= 745 && event.button.y >= 116 && event.button.y <= 178 + 64 * 5)) {
                PlaySFX("click");
            }
            if (action == PublisherAction::Exit) return;
            if (action == PublisherAction::OpenPage) {
                OpenWithShell(WorkshopPageAddress(PublishedModList[static_cast<size_t>(state.selected)].workshopId).c_str());
            } else if (action == PublisherAction::New) {
                RunPublishDialog(nullptr, nullptr);
                state.selected = -1;
            } else if (action == PublisherAction::Update && WorkshopPublished) {
                const ModRecord mod = PublishedModList[static_cast<size_t>(state.selected)];
                for (const WorkshopFileEntry& entry : WorkshopPublished->files) {
                    if (entry.m_nPublishedFileId != mod.workshopId) continue;
                    const WorkshopFileEntry copy = entry;
                    RunPublishDialog(&mod, &copy);
                    state.selected = -1;
                    break;
                }
            }
        }
        if (LauncherHasNoInput()) return;
        if (!InputScriptActive()) SDL_Delay(50);
    }
}
