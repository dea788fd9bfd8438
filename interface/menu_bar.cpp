#include "interface/menu_bar.h"

#include <string>

#include "core/input_log.h"
#include "core/shell/shell_services.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/layout.h"
#include "interface/dialogs.h"
#include "interface/screens.h"
#include "items_fixtures/inventory.h"
#include "levels/tutorial.h"
#include "media/image.h"
#include "media/sound.h"

namespace {

const char* const kButtonNames[kMenuBarButtons] = {"menu", "character", "inventory", "skills",
                                                   "quests"};
constexpr int32_t kButtonWidth = 56;
constexpr int32_t kButtonHeight = 24;

SDL_Surface* pictures[kMenuBarButtons][4] = {};

int32_t RowTop() {
    return BottomBarTop() + (Layout.largeInterface ? 60 : 18);
}

int32_t RowLeft() {
    return Layout.interfaceX + (Layout.largeInterface ? 106 : 0);
}

}  // namespace

void MenuBarLoad() {
    FreeMenuBar();
    for (int32_t state = 0; state < 4; ++state) {
        for (int32_t i = 0; i < kMenuBarButtons; ++i) {
            const std::string file =
                std::string("ui/minimal/game_button_") + kButtonNames[i] + std::to_string(state) + ".png";
            pictures[i][state] = LoadImage(file.c_str());
        }
    }
}

void FreeMenuBar() {
    for (auto& button : pictures) {
        for (SDL_Surface*& picture : button) {
            SDL_FreeSurface(picture);
            picture = nullptr;
        }
    }
}

SDL_Surface* MenuBarPicture(int32_t button, int32_t state) {
    if (button < 0 || button >= kMenuBarButtons || state < 0 || state > 3) return nullptr;
    return pictures[button][state];
}

void SetMenuBarPicture(int32_t button, int32_t state, SDL_Surface* picture) {
    if (button >= 0 && button < kMenuBarButtons && state >= 0 && state <= 3) pictures[button][state] = picture;
}

HudPoint MenuBarButtonOrigin(int32_t button) {
    HudPoint p;
    p.x = RowLeft() + kButtonWidth * button;
    p.y = RowTop();
    return p;
}

int32_t MenuBarIndexAt(int32_t x, int32_t y) {
    const int32_t top = RowTop();
    if (y < top || y > top + kButtonHeight || x < 0) return -1;
    const int32_t index = (x - RowLeft()) / kButtonWidth;  // truncates toward zero
    if (index < 0 || index >= kMenuBarButtons) return -1;
    return index;
}

void DrawMenuBar() {
    int mx = 0;
    int my = 0;
    const Uint8 buttons = LoggedGetMouseState(&mx, &my);
    for (int32_t i = 0; i < kMenuBarButtons; ++i) {
        const HudPoint p = MenuBarButtonOrigin(i);
        int32_t state = 0;
        if (mx > p.x && mx < p.x + kButtonWidth && my > p.y && my < p.y + kButtonHeight) {
            state = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0 ? 2 : 1;
        }
        HudBlit(pictures[i][state], std::string("menu ") + kButtonNames[i] + std::to_string(state), p.x,
                p.y);
    }
}

void CheckMenuBarHover(int32_t x, int32_t y) {
    if (MenuBarIndexAt(x, y) >= 0) MenuBarHover = true;
}

void HandleMenuBarClick(int32_t x, int32_t y) {
    MenuBarHover = false;
    const int32_t index = MenuBarIndexAt(x, y);
    if (index < 0) return;
    PlaySFX("click");
    switch (index) {
        case 0:
            if (ShowSettingsScreen() == 1) LeaveGameFlag = true;
            break;
        case 1:
            Layout.equipmentOpen = Layout.equipmentOpen != 0 ? 0 : 1;
            if (Layout.equipmentOpen != 0 && TutorialFlag) NotifyTutorial(12, 0);
            break;
        case 2:
            if (Item* carried = GetCursorItem()) {
                // Into the pack; the window stays as it is.
                if (AddItemToInventory(carried, 0)) ClearCursorItem();
                break;
            }
            Layout.inventoryOpen = Layout.inventoryOpen != 0 ? 0 : 1;
            if (Layout.inventoryOpen != 0 && TutorialFlag) NotifyTutorial(6, 0);
            break;
        case 3:
            ShowSkillTome();
            break;
        default:
            ShowQuestLog();
            break;
    }
}
