// The skill tome and the ability belt picker.
#include "interface/skill_tome.h"

#include <SDL.h>

#include <string>

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/layout.h"
#include "interface/menu_bar.h"
#include "interface/play_screen.h"
#include "interface/window_art.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/skill_item.h"
#include "items_fixtures/weapon.h"
#include "levels/object_queue.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text.h"
#include "media/tooltip.h"
#include "store_platform/stats.h"

int32_t TomeScroll = 0;

namespace {

constexpr int32_t kWidgetPictures = 8;

bool HasSkill(const Player* hero, int32_t skillId) {
    for (int32_t id : hero->skillIds) {
        if (id != kNoSkillId && id == skillId) return true;
    }
    return false;
}

// Polymorph rules of the belt.
bool PolymorphAllows(const Player* hero, const AbilityRecord* ability) {
    if (ability->polymorphedOnly && hero->isPolymorphed == 0) return false;
    if (hero->isPolymorphed != 0 && hero->polymorphForm != nullptr &&
        ability->polymorphTag != hero->polymorphForm->displayName) {
        return false;
    }
    return true;
}

bool Large() { return Layout.largeInterface != 0; }
int32_t PickerStep() { return Large() ? 68 : 36; }
int32_t PickerBase() { return Large() ? 949 : 626; }
int32_t PickerOffset() { return Large() ? 91 : 47; }
int32_t PickerIcon() { return Large() ? 64 : 32; }

// Clears every reference the game keeps to an item leaving the belt.
void ForgetBeltItem(Item* item) {
    if (item == nullptr) return;
    if (SelectedSkillItem == item) SelectedSkillItem = nullptr;
    if (ActiveItem == item) ActiveItem = nullptr;
    if (TooltipItem == item) TooltipItem = nullptr;
}

}  // namespace

bool PointInRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return left <= x && x <= right && top <= y && y <= bottom;
}

void IncrementSkillLevel(int32_t skillId) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (int32_t i = 0; i < kBuildSkillCount; ++i) {
        if (hero->skillIds[i] != kNoSkillId && hero->skillIds[i] == skillId) {
            hero->SetSkillLevel(i, hero->skillLevels[i] + 1);
            return;
        }
    }
}

bool CanPutAbilityOnBelt(const AbilityRecord* ability, int32_t skillSlot) {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr || ability == nullptr || skillSlot < 0 || skillSlot >= kBuildSkillCount) return false;
    const int32_t skillId = hero->skillIds[skillSlot];
    if (skillId == kNoSkillId || ability->skillId != skillId || ability->spell == nullptr) return false;
    if (hero->GetSkillLevel(skillId) <= ability->level) return false;
    return PolymorphAllows(hero, ability);
}

int32_t CountSkillSlotsWithAbilities() {
    int32_t count = 0;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        for (const AbilityRecord* ability : AbilityList) {
            if (CanPutAbilityOnBelt(ability, slot)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

void SetSkillMasteryAchievement(int32_t skillId) {
    for (const SkillRecord& record : SkillDB) {
        if (record.id == skillId && !record.achievement.empty()) AwardAchievement(record.achievement.c_str());
    }
}

bool AbilityLearnable(const AbilityRecord* ability) {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr || ability == nullptr || hero->skillPoints < 1) return false;
    if (!HasSkill(hero, ability->skillId)) return false;
    return hero->GetSkillLevel(ability->skillId) == ability->level;
}

bool LearnAbility(AbilityRecord* ability) {
    if (!AbilityLearnable(ability)) return false;
    Player* hero = CurrentPlayer;
    // The weapons come off around the level-up so that their bonuses are recounted.
    Item* held[3] = {hero->secondHandWeapon, hero->firstHandWeapon, hero->reference19};
    const int32_t slots[3] = {kSlotSecondHand, kSlotFirstHand, kSlotAmmunition};
    for (int32_t i = 0; i < 3; ++i) {
        if (held[i] != nullptr) held[i]->OnUnequip(slots[i]);
    }
    IncrementSkillLevel(ability->skillId);
    for (int32_t i = 0; i < 3; ++i) {
        if (held[i] != nullptr) held[i]->OnEquip(slots[i]);
    }
    --hero->skillPoints;
    PlaySFX("prayer");
    hero->RecalculateStats();
    bool higher = false;
    for (const AbilityRecord* other : AbilityList) {
        if (other != nullptr && other->skillId == ability->skillId && other->level > ability->level) higher = true;
    }
    if (!higher) SetSkillMasteryAchievement(ability->skillId);
    if (ability->spell != nullptr && PolymorphAllows(hero, ability)) {
        for (Item*& slot : hero->abilitySlots) {
            if (slot != nullptr) continue;
            slot = new SkillItem(ability);
            break;
        }
    }
    return true;
}

void ScrollTome(int32_t delta) {
    TomeScroll += delta;
    if (TomeScroll < 0) TomeScroll = 0;
    if (TomeScroll > kTomeScrollMax) TomeScroll = kTomeScrollMax;
}

int32_t TomeArrowPicture(bool up, bool hovered, bool held) {
    if (up ? TomeScroll <= 0 : TomeScroll >= kTomeScrollMax) return 3;
    if (hovered) return held ? 2 : 1;
    return 0;
}

std::vector<std::vector<AbilityRecord*>> AbilityPickerRows() {
    std::vector<std::vector<AbilityRecord*>> rows;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        std::vector<AbilityRecord*> row;
        for (AbilityRecord* ability : AbilityList) {
            if (CanPutAbilityOnBelt(ability, slot)) row.push_back(ability);
        }
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

namespace {

// Screen position of the k-th ability of picker row r (of n rows) for belt slot b.
void PickerCell(int32_t b, int32_t r, int32_t n, int32_t k, int32_t* x, int32_t* y) {
    *x = (b + k) * PickerStep() + PickerBase() + Layout.interfaceX;
    *y = Layout.screenHeight - BottomBarHeight() + PickerOffset() - (n - r) * PickerStep();
}

}  // namespace

AbilityRecord* AbilityPickerAt(int32_t beltSlot, int32_t mx, int32_t my) {
    const auto rows = AbilityPickerRows();
    const int32_t n = static_cast<int32_t>(rows.size());
    for (int32_t r = 0; r < n; ++r) {
        for (int32_t k = 0; k < static_cast<int32_t>(rows[r].size()); ++k) {
            int32_t x = 0, y = 0;
            PickerCell(beltSlot, r, n, k, &x, &y);
            if (PointInRect(mx, my, x, y, x + PickerIcon(), y + PickerIcon())) return rows[r][k];
        }
    }
    return nullptr;
}

void PutAbilityInBeltSlot(int32_t beltSlot, AbilityRecord* ability) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || ability == nullptr || beltSlot < 0 || beltSlot >= kBeltSlotCount) return;
    Item* old = hero->abilitySlots[beltSlot];
    hero->abilitySlots[beltSlot] = nullptr;
    if (old != nullptr) {
        ForgetBeltItem(old);
        QueueObjectDeletion(old);
    }
    SkillItem* item = new SkillItem(ability);
    hero->abilitySlots[beltSlot] = item;
    SelectedSkillItem = item;
    item->Use();
}

void PickAbilityForBeltSlot(int32_t beltSlot) {
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    AbilityRecord* ability = AbilityPickerAt(beltSlot, mx, my);
    if (ability != nullptr) PutAbilityInBeltSlot(beltSlot, ability);
    Layout.abilityPickerOpen = 0;
}

void DrawAbilityPicker(int32_t beltSlot) {
    if (CountSkillSlotsWithAbilities() <= 0) return;
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    static AutoSurface select, selectLarge;
    if (!select) select.Reset(LoadImage("ui/ability_quickbar_select.png"));
    if (!selectLarge) selectLarge.Reset(LoadImage("ui/ability_quickbar_select64.png"));
    const auto rows = AbilityPickerRows();
    const int32_t n = static_cast<int32_t>(rows.size());
    for (int32_t r = 0; r < n; ++r) {
        for (int32_t k = 0; k < static_cast<int32_t>(rows[r].size()); ++k) {
            int32_t x = 0, y = 0;
            PickerCell(beltSlot, r, n, k, &x, &y);
            AbilityRecord* ability = rows[r][k];
            if (ability->iconSprite != nullptr && ScreenSurface != nullptr) {
                SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                SDL_Rect part = {0, 0, static_cast<Uint16>(PickerIcon()), static_cast<Uint16>(PickerIcon())};
                BlitSurface(ability->iconSprite, &part, ScreenSurface, &at);
            }
            if (PointInRect(mx, my, x, y, x + PickerIcon(), y + PickerIcon())) {
                DrawPicture(Large() ? selectLarge.get() : select.get(), x, y);
            }
        }
    }
}

void ShowAbilityPickerTooltip(int32_t beltSlot) {
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    AbilityRecord* ability = AbilityPickerAt(beltSlot, mx, my);
    if (ability == nullptr) return;
    DrawAbilityTooltip(MakeAbilityTooltipInfo(*ability), false);
    TooltipSlotFree = false;
}
