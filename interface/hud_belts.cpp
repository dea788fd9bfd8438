#include "interface/hud_belts.h"

#include <cstdio>

#include "core/input_log.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/hud_surfaces.h"
#include "interface/layout.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/skill_item.h"
#include "media/font.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

int32_t BeltHoverSlot = -1;
bool BeltArrowHovered = false;

namespace {

constexpr int32_t kVampireSkill = 13;

bool Large() {
    return Layout.largeInterface != 0;
}

bool InSquare(int32_t mx, int32_t my, int32_t x, int32_t y, int32_t size) {
    return mx >= x && my >= y && mx <= x + size && my <= y + size;
}

bool InRect(const SDL_Rect& r, int32_t x, int32_t y) {
    return x >= r.x && y >= r.y && x <= r.x + r.w && y <= r.y + r.h;
}

void DrawCount(int32_t count, int32_t x, int32_t y) {
    if (count <= 1) return;
    char text[16];
    std::snprintf(text, sizeof text, "%i", count);
    const bool large = Large();
    const int32_t rx = x + (large ? 62 : 30);
    const int32_t ry = y + (large ? 44 : 22);
    HudRecordText(text, rx, ry);
    DrawTextRightAligned(rx, ry, text, kTextWhite, nullptr, large ? MediumFont : SmallFont);
}

void DrawSelectionFrame(int32_t x, int32_t y) {
    if (Large()) {
        HudBlit(Hud.quickbarSelect64, "selection frame", x - 1, y - 1);
    } else {
        HudBlit(Hud.quickbarSelect, "selection frame", x, y);
    }
}

void DrawSkillItem(Item* item, int32_t x, int32_t y, const std::string& what) {
    if (Large()) {
        SkillItem* skill = dynamic_cast<SkillItem*>(item);
        SDL_Surface* picture = skill != nullptr && skill->ability != nullptr ? skill->ability->iconSprite : nullptr;
        HudBlit(picture, what, x, y);
    } else {
        HudSprite(item->bob.sprite, item->bob.frame, what, x, y);
    }
}

int32_t SkillCooldown(Item* item) {
    if (item == nullptr || !item->IsSkillItem()) return 0;
    SkillItem* skill = dynamic_cast<SkillItem*>(item);
    if (skill == nullptr || skill->spell == nullptr || !skill->spell->hasCooldown) return 0;
    return skill->spell->cooldownCounter;
}

void DrawAbilityArrow() {
    const bool large = Large();
    const int32_t a = large ? 949 : 626;
    const int32_t p = large ? 70 : 36;
    const int32_t b = large ? 91 : 47;
    const int32_t d = large ? 52 : 21;
    const int32_t top = BottomBarTop();
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    int32_t s = (mx - a - Layout.interfaceX) / p;
    if (mx - a - Layout.interfaceX < 0 || s > 8) s = -1;  // truncation would make -35..-1 slot 0
    if (my < top + b || my > top + b + p) s = -1;
    if (s != BeltHoverSlot) {
        BeltHoverSlot = s;
        return;
    }
    if (s == -1 || GetCursorItem() != nullptr) return;
    Sprite* arrow = SpriteMgr_GetOrLoadPNG("beltarrow", "ui/gameplay/button_addskill.png", 0);
    const int32_t x = Layout.interfaceX + a + p * s + d;
    const int32_t y = top + b + d;
    HudSprite(arrow, 0, "belt arrow", x, y);
    const int32_t w = arrow != nullptr ? arrow->width : 0;
    const int32_t h = arrow != nullptr ? arrow->height : 0;
    if (mx >= x && my >= y && mx <= x + w && my <= y + h && CountSkillSlotsWithAbilities() >= 1) {
        BeltArrowHovered = true;
    }
}

void FillRows(const int32_t* damage, const int32_t* resist, const int32_t* primary,
              const int32_t* secondary, TooltipStatRows& rows) {
    for (int32_t i = 0; i < kDamageTypeCount; ++i) {
        rows.damage[i] = damage[i];
        rows.resist[i] = resist[i];
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) rows.base[i] = primary[i];
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) rows.secondary[i] = secondary[i];
}

}  // namespace

HudPoint BeltSlotOrigin(bool abilities, int32_t slot) {
    const bool large = Large();
    const int32_t top = BottomBarTop();
    HudPoint p;
    if (!abilities) {
        p.x = Layout.interfaceX + (large ? 133 + 68 * slot : 134 + 36 * slot);
        p.y = top + (large ? 104 : 56);
    } else {
        p.x = Layout.interfaceX + (large ? 949 + 70 * slot : 626 + 36 * slot);
        p.y = top + (large ? 91 : 47);
    }
    return p;
}

void DrawItemIcon(Item* item, int32_t x, int32_t y, const std::string& what) {
    if (item == nullptr) return;
    Sprite* picture = Large() ? item->iconSprite : item->cursorSprite;
    HudSprite(picture, item->bob.frame, what, x, y);
}

void DrawCooldownDigits(int32_t turns, int32_t x, int32_t y) {
    if (turns < 1) return;
    if (turns > 99) turns = 99;
    const bool large = Large();
    HudBlit(large ? Hud.dither64 : Hud.dither32, "cooldown shade", x, y);
    const int32_t dy = large ? y + 18 : y;
    const int32_t cx = large ? x + 35 : x + 18;
    auto width = [](int32_t digit) { return Hud.digits[digit] != nullptr ? Hud.digits[digit]->w : 8; };
    if (turns >= 10) {
        const int32_t tens = turns / 10;
        const int32_t ones = turns % 10;
        HudBlit(Hud.digits[tens], "digit " + std::to_string(tens), cx - width(tens), dy);
        HudBlit(Hud.digits[ones], "digit " + std::to_string(ones), cx, dy);
    } else {
        HudBlit(Hud.digits[turns], "digit " + std::to_string(turns), cx - width(turns) / 2, dy);
    }
}

void DrawBelts() {
    BeltArrowHovered = false;
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    const bool large = Large();
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        Item* item = hero->quickSlots[i];
        if (item == nullptr) continue;
        const HudPoint p = BeltSlotOrigin(false, i);
        const std::string what = "item belt " + std::to_string(i);
        DrawItemIcon(item, p.x, p.y, what);
        DrawCount(item->count, p.x, p.y);
        if (item == ActiveItem) {
            DrawItemIcon(item, p.x, p.y, what);
            DrawSelectionFrame(p.x, p.y);
        }
    }
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        Item* item = hero->abilitySlots[i];
        const HudPoint p = BeltSlotOrigin(true, i);
        if (item != nullptr) {
            const std::string what = "ability belt " + std::to_string(i);
            DrawSkillItem(item, p.x, p.y, what);
            if (item == ActiveItem) {
                DrawSkillItem(item, p.x, p.y, what);
                DrawSelectionFrame(p.x, p.y);
            }
            DrawCooldownDigits(SkillCooldown(item), p.x, p.y);
        }
        if (!large) {
            char key[4];
            std::snprintf(key, sizeof key, "%i", (i + 1) % 10);
            HudRecordText(key, p.x + 24, p.y + 22);
            DrawText(p.x + 24, p.y + 22, key, kTextWhite, nullptr, SmallFont);
        }
    }
    if (ActiveItem != nullptr) {
        const SDL_Rect r = GetActiveItemRect();
        if (ActiveItem->IsSkillItem()) {
            DrawSkillItem(ActiveItem, r.x, r.y, "active item");
        } else {
            DrawItemIcon(ActiveItem, r.x, r.y, "active item");
        }
    }
    if (Layout.abilityPickerOpen == 0) DrawAbilityArrow();
}

AbilityTooltipInfo MakeAbilityTooltipInfo(const AbilityRecord& ability) {
    AbilityTooltipInfo info;
    info.name = ability.name;
    info.description = ability.description;
    if (ability.spell != nullptr) {
        info.hasSpell = true;
        info.cooldownBased = ability.spell->hasCooldown;
        info.cooldown = ability.spell->downtime;
        info.manaCost = GetSpellManaCost(ability.spell);
    }
    FillRows(ability.damage, ability.resist, ability.primaryMods, ability.secondaryMods, info.rows);
    return info;
}

std::string LifeTooltipText() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return "";
    for (int32_t k = 0; k < kBuildSkillCount; ++k) {
        if (hero->skillIds[k] != kVampireSkill) continue;
        if (hero->skillLevels[k] > 0) {
            return "You gain no health because you are a vampire. Go eat some people or something.";
        }
        break;
    }
    const int32_t r = GetTweakInt("hpregenturns") - hero->stat[kStatLifeRegen];
    if (r > 1) return "You gain one point of life every " + std::to_string(r) + " rounds.";
    return "You gain one point of life every round.";
}

std::string ManaTooltipText() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return "";
    const int32_t r = GetTweakInt("spregenturns") - hero->stat[kStatManaRegen];
    if (r > 1) return "You gain one point of mana every " + std::to_string(r) + " rounds.";
    return "You gain one point of mana every round.";
}

std::string PortraitTooltipText(int32_t health, int32_t maxHealth, const std::string& name) {
    const double f = maxHealth > 0 ? static_cast<double>(health) / maxHealth : 0.0;
    if (f >= 0.5) return "It's-a me, " + name + "!";
    if (f >= 0.25) return "You've felt better.";
    return "Oh boy, this is gonna hurt, isn't it?";
}

bool ShowHudTooltips(int32_t mx, int32_t my) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return true;
    const int32_t size = Large() ? 64 : 32;
    for (int32_t i = 0; i < kBeltSlotCount && TooltipSlotFree; ++i) {
        Item* item = hero->quickSlots[i];
        const HudPoint p = BeltSlotOrigin(false, i);
        if (item != nullptr && InSquare(mx, my, p.x, p.y, size)) {
            ShowItemTooltip(item, std::string(), 1);
            return false;
        }
    }
    if (InRect(GetActiveItemRect(), mx, my)) {
        if (ActiveItem == nullptr) {
            DrawTooltip("Active Item", nullptr,
                        "Your currently selected item or skill goes here. To select an item from your "
                        "belt (to your left), right-click it. To select a spell from the spell belt (to "
                        "your right), left-click it. To use your currently active item or skill, "
                        "right-click on a target.");
        } else if (SkillItem* skill = dynamic_cast<SkillItem*>(ActiveItem);
                   skill != nullptr && skill->ability != nullptr) {
            DrawAbilityTooltip(MakeAbilityTooltipInfo(*skill->ability), false);
        } else {
            ShowItemTooltip(ActiveItem, std::string(), 1);
        }
        return false;
    }
    if (InRect(GetHealthBarRect(), mx, my)) {
        DrawTooltip("Life", nullptr, LifeTooltipText().c_str());
        return false;
    }
    if (InRect(GetDigestButtonRect(), mx, my)) {
        DrawTooltip("Digest Button", nullptr,
                    "Click this button to wait until you have finished digesting any food or booze "
                    "that you have consumed.");
        return false;
    }
    if (InRect(GetManaBarRect(), mx, my)) {
        DrawTooltip("Mana", nullptr, ManaTooltipText().c_str());
        return false;
    }
    if (InRect(GetExperienceBarRect(), mx, my)) {
        const std::string body = "You have " + std::to_string(hero->experience) + " out of " +
                                 std::to_string(ExperienceForLevel(hero->level)) +
                                 " of the experience needed to gain your next level.";
        DrawTooltip("Experience", nullptr, body.c_str());
        return false;
    }
    if (InRect(GetPortraitRect(), mx, my)) {
        const std::string score = "Your score: " + std::to_string(hero->score);
        DrawTooltip("Our Hero", score.c_str(),
                    PortraitTooltipText(hero->health, hero->stat[kStatLife], hero->name).c_str());
        return false;
    }
    return true;
}
