// The skill tome window: the hero's skills five at a time with their abilities by level.
#include <SDL.h>

#include <string>

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/layout.h"
#include "interface/menu_bar.h"
#include "interface/menu_frame.h"
#include "interface/skill_tome.h"
#include "interface/window_art.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/surface.h"
#include "media/text.h"
#include "media/tooltip.h"

int32_t SkillTomeOpenings = 0;

namespace {

constexpr int32_t kIcon = 64;
constexpr const char* kUnknownAbility = "You do not know anything about this ability yet.";

struct TomeArt {
    AutoSurface select, dither, learn0, learn1, background;
    AutoSurface widgets[8];
    AutoSurface up[4], down[4];
    TomeArt() {
        select.Reset(LoadImage("ui/ability_quickbar_select.png"));
        dither.Reset(LoadImage("ui/64x64_dither.png"));
        learn0.Reset(LoadImage("ui/gameplay/skilltome_learn0.png"));
        learn1.Reset(LoadImage("ui/gameplay/skilltome_learn1.png"));
        background.Reset(LoadImage("ui/gameplay/skilltome_bg.png"));
        for (int i = 0; i < 8; ++i) {
            widgets[i].Reset(LoadImage(("ui/gameplay/skilltome_skillwidget" + std::to_string(i + 1) + ".png").c_str()));
        }
        for (int i = 0; i < 4; ++i) {
            up[i].Reset(LoadImage(("ui/gameplay/skilltome_arrowbutton_up" + std::to_string(i) + ".png").c_str()));
            down[i].Reset(LoadImage(("ui/gameplay/skilltome_arrowbutton_down" + std::to_string(i) + ".png").c_str()));
        }
    }
};

// Where an ability of a shown skill slot lies: its square's top-left corner.
bool AbilitySquare(const AbilityRecord* ability, int32_t left, int32_t rowTop, int32_t* x, int32_t* y) {
    if (ability->level < 0 || ability->level > 7) return false;
    *x = left + 136 + 80 * ability->level;
    *y = rowTop + 64;
    return true;
}

// True when the click lies in the ability belt row (the belt geometry of the bottom bar).
int32_t AbilityBeltSlotAt(int32_t mx, int32_t my) {
    const int32_t cell = Layout.largeInterface != 0 ? 64 : 32;
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        const HudPoint p = BeltSlotOrigin(true, i);
        if (PointInRect(mx, my, p.x, p.y, p.x + cell, p.y + cell)) return i;
    }
    return -1;
}

}  // namespace

void ShowSkillTome() {
    ++SkillTomeOpenings;
    // A hover left by the menu-bar click that closed an earlier window is no click on this one.
    MenuBarHover = false;
    if (PlayWindowReplacement replacement = GetPlayWindowReplacement()) {
        replacement(PlayWindow::SkillTome);
        return;
    }
    TomeArt art;
    FlushInput();
    DiscardPendingEvents();
    AttachSkillTomeLearnSprite();
    RegisterSharedBob(&SkillTomeLearnBob);
    for (bool open = true; open;) {
        if (MenuBarHover) break;
        Player* hero = CurrentPlayer;
        const int32_t cx = Layout.screenWidth / 2;
        const int32_t cy = Layout.screenHeight / 2;
        const int32_t left = cx - 416;
        const int32_t top = cy - 304;
        int mx = 0, my = 0;
        const Uint8 buttons = LoggedGetMouseState(&mx, &my);
        const bool held = (buttons & SDL_BUTTON(1)) != 0;

        DrawGameScreen();
        DrawPicture(art.background, left, top);
        DrawCloseButton(cx + 362, cy - 288);
        const int32_t upX = cx + 368, upY = top + 232, downY = cy - 8;
        const bool onUp = PointInRect(mx, my, upX, upY, upX + 32, upY + 40);
        const bool onDown = PointInRect(mx, my, upX, downY, upX + 32, downY + 40);
        DrawPicture(art.up[TomeArrowPicture(true, onUp, held)], upX, upY);
        DrawPicture(art.down[TomeArrowPicture(false, onDown, held)], upX, downY);

        AbilityRecord* hovered = nullptr;
        AbilityRecord* learnable = nullptr;
        for (int32_t slot = TomeScroll; hero != nullptr && slot < TomeScroll + kTomeRows && slot < kBuildSkillCount;
             ++slot) {
            const int32_t rowTop = top + 96 * (slot - TomeScroll);
            DrawPicture(art.widgets[0], left + 24, rowTop + 48);
            const int32_t skillId = hero->skillIds[slot];
            if (skillId == kNoSkillId) continue;
            for (AbilityRecord* ability : AbilityList) {
                int32_t x = 0, y = 0;
                if (ability == nullptr || ability->skillId != skillId || !AbilitySquare(ability, left, rowTop, &x, &y)) {
                    continue;
                }
                if (ability->iconSprite != nullptr) DrawPicture(ability->iconSprite, x, y);
                const bool pointerOn = PointInRect(mx, my, x, y, x + kIcon, y + kIcon);
                if (hero->GetSkillLevel(skillId) <= ability->level) DrawPicture(art.dither, x, y);
                if (AbilityLearnable(ability)) {
                    if (pointerOn) {
                        DrawPicture(art.learn1, x, y);
                    } else {
                        SkillTomeLearnBob.x = x;
                        SkillTomeLearnBob.y = y;
                        learnable = ability;
                    }
                }
                if (pointerOn) hovered = ability;
            }
        }
        if (learnable != nullptr && SkillTomeLearnBob.sprite != nullptr) SkillTomeLearnBob.Draw();
        if (hero != nullptr) {
            DrawMediumText(left + 520, top + 562, std::to_string(hero->skillPoints).c_str());
        }
        if (Layout.abilityPickerOpen != 0) DrawAbilityPicker(Layout.abilityPickerSlot);
        if (hovered != nullptr) {
            if (hero != nullptr && hero->GetSkillLevel(hovered->skillId) < hovered->level) {
                DrawTooltip(hovered->name.c_str(), nullptr, kUnknownAbility);
            } else {
                DrawAbilityTooltip(MakeAbilityTooltipInfo(*hovered), false);
            }
        }
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (open && LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP) {
                const SDL_keysym& key = event.key.keysym;
                if (key.sym == SDLK_ESCAPE || KeyBindingMatches(kBindSkills, key)) {
                    open = false;
                } else if (key.sym == SDLK_UP || KeyBindingMatches(kBindUp, key)) {
                    ScrollTome(-1);
                } else if (key.sym == SDLK_DOWN || KeyBindingMatches(kBindDown, key)) {
                    ScrollTome(1);
                }
                continue;
            }
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            if (event.button.button == SDL_BUTTON_WHEELUP) {
                ScrollTome(-1);
                continue;
            }
            if (event.button.button == SDL_BUTTON_WHEELDOWN) {
                ScrollTome(1);
                continue;
            }
            if (event.button.button != SDL_BUTTON_LEFT) continue;
            const int32_t x = event.button.x;
            const int32_t y = event.button.y;
            if (Layout.abilityPickerOpen != 0) {
                PickAbilityForBeltSlot(Layout.abilityPickerSlot);
                break;
            }
            const int32_t beltSlot = AbilityBeltSlotAt(x, y);
            if (beltSlot >= 0 && CountSkillSlotsWithAbilities() > 0) {
                Layout.abilityPickerOpen = 1;
                Layout.abilityPickerSlot = beltSlot;
                break;
            }
            if (PointInRect(x, y, cx + 362, cy - 288, cx + 382, cy - 272)) {
                open = false;
            } else if (PointInRect(x, y, upX, upY, upX + 32, upY + 40)) {
                ScrollTome(-1);
            } else if (PointInRect(x, y, upX, downY, upX + 32, downY + 40)) {
                ScrollTome(1);
            } else if (MenuBarIndexAt(x, y) >= 0) {
                CheckMenuBarHover(x, y);
            } else if (hero != nullptr) {
                for (int32_t slot = TomeScroll; slot < TomeScroll + kTomeRows && slot < kBuildSkillCount; ++slot) {
                    const int32_t rowTop = top + 96 * (slot - TomeScroll);
                    for (AbilityRecord* ability : AbilityList) {
                        int32_t ax = 0, ay = 0;
                        if (ability == nullptr || ability->skillId != hero->skillIds[slot] ||
                            !AbilitySquare(ability, left, rowTop, &ax, &ay)) {
                            continue;
                        }
                        if (PointInRect(x, y, ax, ay, ax + kIcon, ay + kIcon) && AbilityLearnable(ability)) {
                            LearnAbility(ability);
                        }
                    }
                }
            }
        }
    }
    UnregisterSharedBob(&SkillTomeLearnBob);
}
