// The key-binding window.
#include "interface/key_binding_window.h"

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "interface/menu_frame.h"
#include "interface/window_art.h"
#include "media/image.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text.h"

namespace {

constexpr int32_t kPanelWidth = 442;
constexpr int32_t kPanelHeight = 410;
constexpr int32_t kArrowX = 409;
constexpr int32_t kUpArrowY = 163;
constexpr int32_t kDownArrowY = 227;
constexpr int32_t kArrowWidth = 32;
constexpr int32_t kArrowHeight = 40;
constexpr int32_t kCrossX = 392;
constexpr int32_t kFirstRefusedKey = 300;

bool OnArrow(int32_t rx, int32_t ry, int32_t arrowY) {
    return rx >= kArrowX && rx <= kArrowX + kArrowWidth && ry >= arrowY && ry <= arrowY + kArrowHeight;
}

// The arrow pictures: normal, pointer over it, disabled.
struct ArrowArt {
    AutoSurface normal, hover, disabled;
    void Load(const char* base) {
        normal.Reset(LoadImage((std::string(base) + "0.png").c_str()));
        hover.Reset(LoadImage((std::string(base) + "1.png").c_str()));
        disabled.Reset(LoadImage((std::string(base) + "3.png").c_str()));
    }
    void Draw(int32_t x, int32_t y, bool enabled, bool pointerOn) const {
        DrawPicture(!enabled ? disabled.get() : pointerOn ? hover.get() : normal.get(), x, y);
    }
};

}  // namespace

std::vector<std::string> ListedKeyBindings() {
    std::vector<std::string> ids;
    for (const auto& entry : KeyBindingTable) {
        if (entry.second.configurable != 0 && entry.second.enabled != 0) ids.push_back(entry.first);
    }
    return ids;
}

int32_t KeyBindingEntryAt(int32_t rx, int32_t ry, int32_t top, int32_t count) {
    if (rx < kKeyBindingKeyLeft || rx > kKeyBindingKeyRight) return -1;
    if (ry < kKeyBindingRowsTop || ry >= kKeyBindingRowsTop + kKeyBindingRows * kKeyBindingRowStep) return -1;
    const int32_t entry = top + (ry - kKeyBindingRowsTop) / kKeyBindingRowStep;
    return entry >= 0 && entry < count ? entry : -1;
}

bool KeyAcceptableForBinding(const std::string& id, const SDL_keysym& event) {
    const int32_t key = static_cast<int32_t>(event.sym);
    if (key == SDLK_RETURN || key == SDLK_ESCAPE || key >= kFirstRefusedKey) return false;
    KeyBinding* own = GetKeyBinding(id);
    if (own == nullptr) return false;
    return FindKeyBinding(event) == nullptr || own->Matches(event);
}

bool KeyBindingsCanScrollUp(int32_t top) { return top > 0; }

bool KeyBindingsCanScrollDown(int32_t top, int32_t count) { return top + kKeyBindingRows - 1 < count - 1; }

void ShowKeyBindingsScreen() {
    AutoSurface panel(LoadImage("ui/gameplay/config_keys_bg.png"));
    AutoSurface highlight(LoadImage("ui/gameplay/config_key_highlight.png"));
    ArrowArt up, down;
    up.Load("ui/gameplay/skilltome_arrowbutton_up");
    down.Load("ui/gameplay/skilltome_arrowbutton_down");
    const std::vector<std::string> ids = ListedKeyBindings();
    const int32_t count = static_cast<int32_t>(ids.size());
    int32_t top = 0;
    int32_t waiting = -1;
    SDL_EnableUNICODE(1);
    FlushInput();
    DiscardPendingEvents();
    for (;;) {
        if (MenuBarHover) return;
        int32_t x = 0;
        int32_t y = 0;
        DrawPanelOverGame(panel, kPanelWidth, kPanelHeight, &x, &y);
        for (int32_t r = 0; r < kKeyBindingRows && top + r < count; ++r) {
            const int32_t i = top + r;
            const int32_t rowTop = y + kKeyBindingRowsTop + kKeyBindingRowStep * r;
            if (waiting == i) DrawPicture(highlight, x + kKeyBindingKeyLeft, rowTop);
            const KeyBinding* binding = GetKeyBinding(ids[i]);
            if (binding == nullptr) continue;
            DrawMediumTextGold(x + 15, rowTop, binding->label);
            DrawMediumTextCenteredGold(x + 348, rowTop, binding->GetKeyName().c_str());
        }
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        up.Draw(x + kArrowX, y + kUpArrowY, KeyBindingsCanScrollUp(top), OnArrow(mx - x, my - y, kUpArrowY));
        down.Draw(x + kArrowX, y + kDownArrowY, KeyBindingsCanScrollDown(top, count),
                  OnArrow(mx - x, my - y, kDownArrowY));
        DrawCloseButton(x + kCrossX, y);
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP) {
                if (waiting >= 0) {
                    const std::string& id = ids[waiting];
                    waiting = -1;
                    if (KeyAcceptableForBinding(id, event.key.keysym)) {
                        GetKeyBinding(id)->SetFromEvent(event.key.keysym);
                        PlaySFX("click");
                    } else {
                        PlaySFX("poisonhead");
                    }
                } else if (event.key.keysym.sym == SDLK_ESCAPE) {
                    return;
                }
                continue;
            }
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t rx = event.button.x - x;
            const int32_t ry = event.button.y - y;
            if (rx > kCrossX && rx < kCrossX + 22 && ry > 0 && ry < 22) {
                PlaySFX("click");
                return;
            }
            if (OnArrow(rx, ry, kUpArrowY)) {
                if (KeyBindingsCanScrollUp(top)) --top;
            } else if (OnArrow(rx, ry, kDownArrowY)) {
                if (KeyBindingsCanScrollDown(top, count)) ++top;
            } else if (waiting >= 0) {
                waiting = -1;
            } else {
                waiting = KeyBindingEntryAt(rx, ry, top, count);
            }
        }
    }
}
