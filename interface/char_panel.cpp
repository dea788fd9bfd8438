#include "interface/char_panel.h"

#include <cstdio>
#include <string>

#include "core/input_log.h"
#include "core/text_db.h"
#include "creatures/damage_type.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/layout.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/weapon.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

namespace {

const HudPoint kSlotSquares[kCharPanelSlots] = {
    {185, 78}, {243, 90}, {127, 90}, {135, 132}, {135, 169}, {185, 41},
    {227, 52}, {185, 189}, {243, 166}, {185, 115}, {243, 128}, {185, 152},
};
const int32_t kClickOrder[kCharPanelSlots] = {2, 1, 5, 4, 3, 0, 7, 6, 8, 10, 9, 11};

struct CharPanelArt {
    SDL_Surface* background = nullptr;
    SDL_Surface* extendedResist = nullptr;
    SDL_Surface* extendedDamage = nullptr;
    SDL_Surface* skillBars[3] = {};
};
CharPanelArt art;

// The small damage-type icons of the panel: resistances and damage.
SDL_Surface* resistIcons[kDamageTypeCount] = {};
SDL_Surface* damageIcons[kDamageTypeCount] = {};
const char* const kIconNames[kDamageTypeCount] = {
    "crushing", "slashing", "blast", "piercing", "conflagratory", "hyperborean", "voltaic", "toxic",
    "righteous", "necromatic", "acidic", "putrefying", "transmutative", "aethereal", "aphyxiative",
    "existential"};

const SDL_Color kNameGold = {247, 218, 118, 0};

void Number(int32_t x, int32_t y, const char* format, int32_t a, int32_t b = 0) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b);
    HudRecordText(text, x, y);
    DrawTextCentered(x, y, text, TickerFont, kTextWhite, nullptr);
}

// Swaps the cursor item into the slot.
void EquipFromCursor(Item* carried, Item*& slotItem, int32_t slot) {
    Item* old = slotItem;
    slotItem = carried;
    PlaySFX(carried->dropSound.c_str());
    if (old != nullptr) old->OnUnequip(slot);
    carried->OnEquip(slot);
    SetCursorItem(old);
}

bool InSquare(int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t size) {
    return x >= sx && y >= sy && x <= sx + size && y <= sy + size;
}

}  // namespace

void LoadCharPanelArt() {
    art.background = LoadImage("ui/gameplay/panel_char_bg.png");
    art.extendedResist = LoadImage("ui/gameplay/panel_char_bg_extended_resist.png");
    art.extendedDamage = LoadImage("ui/gameplay/panel_char_bg_extended_dmg.png");
    art.skillBars[0] = LoadImage("ui/gameplay/panel_char_skillbar_warrior.png");
    art.skillBars[1] = LoadImage("ui/gameplay/panel_char_skillbar_wizard.png");
    art.skillBars[2] = LoadImage("ui/gameplay/panel_char_skillbar_rogue.png");
    for (int32_t i = 0; i < kDamageTypeCount; ++i) {
        const std::string stem = std::string("ui/icons/dmg_") + kIconNames[i];
        damageIcons[i] = LoadImage((stem + ".png").c_str());
        resistIcons[i] = LoadImage((stem + "_resist.png").c_str());
    }
}

HudPoint CharPanelSlotOffset(int32_t slot) {
    if (slot < 0 || slot >= kCharPanelSlots) return HudPoint{-1000, -1000};
    return kSlotSquares[slot];
}

bool EquipSlotClick(int32_t x, int32_t y, int32_t sx, int32_t sy, Item*& slotItem, int32_t slot) {
    if (x < sx || x > sx + 32 || y < sy || y > sy + 32) return false;
    Item* carried = GetCursorItem();
    if (carried != nullptr) {
        if (!carried->FitsEquipSlot(slot)) return false;
        EquipFromCursor(carried, slotItem, slot);
        return true;
    }
    if (slotItem == nullptr) return false;
    Item* taken = slotItem;
    PlaySFX(taken->pickUpSound.c_str());
    taken->OnUnequip(slot);
    slotItem = nullptr;
    SetCursorItem(taken);
    return true;
}

void HandleCharPanelClick(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (int32_t slot : kClickOrder) {
        if (EquipSlotClick(x, y, kSlotSquares[slot].x, kSlotSquares[slot].y, hero->EquippedAt(slot), slot)) return;
    }
    if (Item* carried = GetCursorItem()) {
        for (int32_t slot = 0; slot < kCharPanelSlots; ++slot) {
            if (!carried->FitsEquipSlot(slot)) continue;
            EquipFromCursor(carried, hero->EquippedAt(slot), slot);
            return;
        }
        return;
    }
    for (const TextBlock& block : GetQuestionBlocks("equip")) {
        const int32_t qx = block.x + 100;
        const int32_t qy = block.y + 100;
        if (x >= qx && y >= qy && x <= qx + 14 && y <= qy + 14) {
            ShowTextPopup(block.text.c_str(), Layout.equipmentX + qx, Layout.equipmentY + qy);
            return;
        }
    }
}

int32_t CharPanelDamage(int32_t type) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || type < 0 || type >= kDamageTypeCount) return 0;
    int32_t total = hero->damageBonus[type] + hero->meleeSkillDamage[type];
    for (const Weapon* weapon : {hero->firstHandWeapon, hero->secondHandWeapon}) {
        if (weapon != nullptr) total += weapon->damage[type];
    }
    return total;
}

int32_t CharPanelResistanceCount() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return 0;
    int32_t n = 0;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) n += hero->resistance[t] != 0;
    return n;
}

int32_t CharPanelDamageCount() {
    int32_t n = 0;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) n += CharPanelDamage(t) > 0;
    return n;
}

HudPoint CharPanelResistanceIcon(int32_t n, int32_t rows) {
    HudPoint p;
    if (rows <= 8) {
        p.x = 53;
        p.y = 54 + 18 * n;
    } else {
        p.x = 33 + 32 * (n / 8);
        p.y = 56 + 18 * (n % 8);
    }
    return p;
}

void DrawCharPanel(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    HudBlit(art.background, "panel background", x, y);
    const int32_t resistRows = CharPanelResistanceCount();
    const int32_t damageRows = CharPanelDamageCount();
    if (resistRows > 8) HudBlit(art.extendedResist, "panel extended resistances", x, y);
    if (damageRows > 6) HudBlit(art.extendedDamage, "panel extended damage", x, y + 200);
    for (int32_t slot = 0; slot < kCharPanelSlots; ++slot) {
        Item* item = hero->EquippedAt(slot);
        if (item == nullptr) continue;
        HudSprite(item->iconSprite, 0, "slot " + std::to_string(slot), x + kSlotSquares[slot].x,
                  y + kSlotSquares[slot].y);
    }
    DrawCloseButton(x + kCharPanelCross.x, y + kCharPanelCross.y);
    const int32_t rowsY[3] = {273, 289, 306};
    for (int32_t type = 0; type < 3 && type < kSkillTypeCount; ++type) {
        for (int32_t k = 0; k < hero->skillTypePoints[type]; ++k) {
            HudBlit(art.skillBars[type], "skill bar " + std::to_string(type), x + 146 + 4 * k, y + rowsY[type]);
        }
    }
    const std::vector<TextBlock>& resistTips = GetTooltipBlocks("resistances");
    const std::vector<TextBlock>& damageTips = GetTooltipBlocks("damages");
    const char* tip = nullptr;
    int32_t n = 0;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        const int32_t value = hero->resistance[t];
        if (value == 0) continue;
        const HudPoint p = CharPanelResistanceIcon(n++, resistRows);
        HudBlit(resistIcons[t], "resistance " + std::to_string(t), x + p.x, y + p.y);
        char text[16];
        std::snprintf(text, sizeof text, "%i", value);
        DrawText(x + p.x + 18, y + p.y, text, DamageTypeColour[t], nullptr, TickerFont);
        if (InSquare(mx, my, x + p.x, y + p.y, 16) && static_cast<size_t>(t) < resistTips.size()) {
            tip = resistTips[t].text.c_str();
        }
    }
    n = 0;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        const int32_t value = CharPanelDamage(t);
        if (value <= 0) continue;
        // One column of six below the resistances; more spread into columns of six.
        const int32_t ix = x + 53 + (damageRows > 6 ? 58 * (n / 6) : 0);
        const int32_t iy = y + 210 + 18 * (n % 6) - (damageRows > 6 ? 0 : 0);
        ++n;
        HudBlit(damageIcons[t], "damage " + std::to_string(t), ix, iy);
        char text[16];
        std::snprintf(text, sizeof text, "%i", value);
        DrawText(ix + 18, iy, text, DamageTypeColour[t], nullptr, TickerFont);
        if (InSquare(mx, my, ix, iy, 16) && static_cast<size_t>(t) < damageTips.size()) {
            tip = damageTips[t].text.c_str();
        }
    }
    {
        char text[16];
        std::snprintf(text, sizeof text, "+%i", hero->stat[2]);
        const int32_t rx = x + (damageRows > 6 ? 305 : 190);
        DrawTextRightAligned(rx, y + 210 + 18 * 6, text, kTextWhite, nullptr, TickerFont);
    }
    DrawTextCentered(x + 151, y + 6, hero->name.c_str(), MediumFont, kNameGold, nullptr);
    const int32_t primaryOrder[6] = {0, 1, 2, 3, 5, 4};
    const int32_t columns[3][6] = {{2, 4, 8, 3, 5, 11}, {10, 7, 6, 9, 12, 18}, {17, 16, 23, 19, 21, 20}};
    const int32_t columnX[3] = {179, 225, 271};
    for (int32_t r = 0; r < 6; ++r) {
        Number(x + 130, y + 331 + 18 * r, "%i", hero->primary[primaryOrder[r]]);
        for (int32_t c = 0; c < 3; ++c) Number(x + columnX[c], y + 328 + 18 * r, "%i", hero->stat[columns[c][r]]);
    }
    Number(x + 125, y + 446, "%i/%i", hero->health, hero->stat[0]);
    Number(x + 237, y + 446, "%i/%i", hero->mana, hero->stat[1]);
    Number(x + 137, y + 464, "%i", hero->stat[13]);
    Number(x + 249, y + 464, "%i", hero->stat[14]);
    Number(x + 40, y + 303, "%i", hero->level + 1);
    // The help marks lie where the click handler looks for them.
    for (const TextBlock& block : GetQuestionBlocks("equip")) {
        const int32_t qx = x + block.x + 100;
        const int32_t qy = y + block.y + 100;
        HudRecord("help mark " + block.name, qx, qy);
        DrawText(qx + 3, qy, "?", kTextGold, nullptr, TickerFont);
    }
    if (tip != nullptr && TooltipSlotFree) {
        DrawTooltip(tip, nullptr, nullptr);
        TooltipSlotFree = false;
    }
    for (int32_t slot = 0; slot < kCharPanelSlots; ++slot) {
        ShowEquippedItemTooltip(mx, my, x + kSlotSquares[slot].x, y + kSlotSquares[slot].y, hero->EquippedAt(slot));
    }
}

int32_t ShowEquippedItemTooltip(int32_t x, int32_t y, int32_t sx, int32_t sy, Item* item) {
    if (TooltipSlotFree && item != nullptr && InSquare(x, y, sx, sy, 32)) ShowItemTooltip(item, std::string(), 1);
    return 0;
}

int32_t ShowBeltItemTooltip(int32_t x, int32_t y, int32_t sx, int32_t sy, Item* item) {
    const int32_t size = Layout.largeInterface != 0 ? 64 : 32;
    if (TooltipSlotFree && item != nullptr && InSquare(x, y, sx, sy, size)) ShowItemTooltip(item, std::string(), 1);
    return 0;
}
