// The play-field tooltips.
#include "interface/play_tooltips.h"

#include "core/input_log.h"
#include "core/tweak.h"
#include "creatures/buff.h"
#include "creatures/hittable.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "interface/buff_bar.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/layout.h"
#include "interface/skill_tome.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/skill_item.h"
#include "levels/level.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

namespace {

constexpr SDL_Color kSecondColour = {210, 185, 100, 0};
constexpr SDL_Color kThirdColour = {247, 247, 152, 0};
constexpr SDL_Color kBodyColour = {180, 180, 180, 0};
constexpr SDL_Color kInjuryColour = {255, 0, 0, 0};
constexpr int32_t kBuffRow = 32;
constexpr int32_t kBuffRowHeight = 38;

bool Has(const char* text) { return text != nullptr && text[0] != '\0'; }
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

int32_t LineHeight(const char* text) { return Has(text) ? TextHeight(text, TickerFont) : 0; }

}  // namespace

void DrawTextTooltip(Hittable* creature, const char* title, const char* second, SDL_Color fourthColour,
                     const char* third, const char* fourth, const char* body) {
    if (!Has(title) || ScreenSurface == nullptr) return;
    RememberTooltipTitle(title);
    int32_t w = TextWidth(title, TickerFont);
    if (Has(body) && w < 160) w = 160;
    if (Has(third) && TextWidth(third, TickerFont) > w) w = TextWidth(third, TickerFont);
    if (Has(fourth) && TextWidth(fourth, TickerFont) > w) w = TextWidth(fourth, TickerFont);
    const int32_t buffs = creature != nullptr ? static_cast<int32_t>(creature->buffs.size()) : 0;
    const int32_t h = LineHeight(title) + LineHeight(second) + LineHeight(third) + LineHeight(fourth) +
                      (Has(body) ? WrappedTextHeight(body, TickerFont, w) : 0) + kBuffRowHeight * buffs;
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    const TooltipPlacement at = PlaceTooltip(w, h, 3, 0, mx, my, ScreenSurface->w, ScreenSurface->h);
    SDL_Rect box = {static_cast<Sint16>(at.x), static_cast<Sint16>(at.y), static_cast<Uint16>(w + 6),
                    static_cast<Uint16>(h + 3)};
    SDL_FillRect(ScreenSurface, &box, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
    RecordTooltipBox(box.x, box.y, box.w, box.h);
    int32_t y = at.y;
    DrawText(at.x + 3, y, title, kTextWhite, nullptr, TickerFont);
    y += LineHeight(title);
    if (Has(second)) {
        DrawText(at.x + 3, y, second, kSecondColour, nullptr, TickerFont);
        y += LineHeight(second);
    }
    if (Has(third)) {
        DrawText(at.x + 3, y, third, kThirdColour, nullptr, TickerFont);
        y += LineHeight(third);
    }
    if (Has(fourth)) {
        DrawText(at.x + 3, y, fourth, fourthColour, nullptr, TickerFont);
        y += LineHeight(fourth);
    }
    if (Has(body)) y += DrawTextWrapped(body, at.x + 3, y, at.x + w + 3, y + 1000, TickerFont, kBodyColour, nullptr);
    for (int32_t i = 0; i < buffs; ++i) {
        const Buff* buff = creature->buffs[static_cast<size_t>(i)];
        if (buff == nullptr) continue;
        const Sprite* icon = buff->iconSprite;
        if (icon != nullptr && icon->frameCount > 0 && icon->frames != nullptr) {
            SDL_Rect iconAt = {static_cast<Sint16>(at.x + 3), static_cast<Sint16>(y + 18), 0, 0};
            SDL_BlitSurface(icon->frames[0], nullptr, ScreenSurface, &iconAt);
        }
        DrawText(at.x + 38, y + 26, buff->name, kTextWhite, nullptr, TickerFont);
        y += kBuffRow;
    }
}

int32_t AbilityTooltipSlotAt(int32_t mx, int32_t my) {
    const bool large = Layout.largeInterface != 0;
    const int32_t top = BottomBarTop();
    const int32_t side = large ? 64 : 32;
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        // The step the belt is drawn with.
        const int32_t x = Layout.interfaceX + (large ? 949 + 70 * i : 626 + 36 * i);
        const int32_t y = top + (large ? 91 : 47);
        if (mx >= x && mx <= x + side && my >= y && my <= y + side) return i;
    }
    return -1;
}

std::string PedestalPriceLine(const std::string& name, int32_t value, float scaler) {
    return name + " (" + std::to_string(ScaledPrice(value, scaler)) + " zorkmids)";
}

void ShowPlayFieldTooltips(int32_t mx, int32_t my) {
    if (!TooltipSlotFree || Layout.hideInterface != 0) return;
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    if (BeltArrowHovered && Layout.abilityPickerOpen == 0) {
        DrawTooltip("Click to Add Skill", nullptr, nullptr);
        TooltipSlotFree = false;
        return;
    }
    if (Layout.abilityPickerOpen != 0) {
        ShowAbilityPickerTooltip(Layout.abilityPickerSlot);
        return;
    }
    const int32_t slot = AbilityTooltipSlotAt(mx, my);
    if (slot >= 0) {
        if (auto* skill = dynamic_cast<SkillItem*>(hero->abilitySlots[slot]); skill != nullptr && skill->ability) {
            DrawAbilityTooltip(MakeAbilityTooltipInfo(*skill->ability), false);
            TooltipSlotFree = false;
            return;
        }
    }
    if (ShowBuffBarTooltip(mx, my)) return;

    Level* level = CurrentLevel;
    if (level == nullptr) return;
    const MapView& v = Layout.view;
    const int32_t tileW = v.tileWidth > 0 ? v.tileWidth : 64;
    const int32_t tileH = v.tileHeight > 0 ? v.tileHeight : 64;
    const int32_t sx = (mx + v.pixelX) / tileW + v.originX;
    const int32_t sy = (my + v.pixelY) / tileH + v.originY;
    LevelCell* cell = level->GetCell(sx, sy);
    if (cell == nullptr) return;
    if (Item* held = GetCursorItem()) {
        if (hero->x == sx && hero->y == sy) {
            ShowItemTooltip(held, std::string(), 1);
        } else {
            const std::string name = held->GetName();
            const std::string description = held->GetDescription();
            DrawTooltip(name.c_str(), held->IsSkillItem() ? "Remove Skill" : "Drop Item", OrNull(description));
            TooltipSlotFree = false;
        }
        return;
    }
    if (!cell->HasFlag(SquareFlag::Visible)) return;
    for (GameObj* object : cell->contents) {
        if (object == nullptr) continue;
        const std::string title = object->GetName();
        const std::string description = object->GetDescription();
        std::string action;
        std::string injury;
        Monster* monster = object->IsMonster() != 0 ? dynamic_cast<Monster*>(object) : nullptr;
        if (monster != nullptr) {
            injury = monster->GetInjuryText();
        } else if (auto* pedestal = dynamic_cast<ShopPedestal*>(object); pedestal != nullptr && pedestal->stock) {
            const std::string line = PedestalPriceLine(pedestal->stock->GetName(), pedestal->stock->GetValue(),
                                                       GetTweakFloat("store buy price scaler"));
            ShowItemTooltip(pedestal->stock, line, 1);
            return;
        } else if (object->IsItem()) {
            ShowItemTooltip(static_cast<Item*>(object), std::string(), 1);
            return;
        }
        const char* verb = object->GetActionVerb();
        if (verb != nullptr && object->IsClosedDoor()) {
            object->HighlightNextDraw(v);
            action = verb;
        }
        if (title.empty() && action.empty()) continue;
        if (monster != nullptr) {
            const std::string taxa = monster->record != nullptr ? monster->record->taxa : "Other";
            DrawTextTooltip(monster, title.c_str(), taxa.c_str(), kInjuryColour, OrNull(action), OrNull(injury),
                            OrNull(description));
        } else {
            DrawTooltip(title.c_str(), OrNull(action), OrNull(description));
        }
        TooltipSlotFree = false;
        return;
    }
}
