// The item tooltip shown over belts, the backpack and the equipment: the weapon, armour and food
// layouts of media/tooltip.h, filled from the item; every other kind in the item box of
// media/item_tooltip_box.h.
#include <string>

#include "core/tweak.h"
#include "items_fixtures/shop_pedestal.h"
#include "creatures/player.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "media/item_tooltip_box.h"
#include "media/tooltip.h"
#include "interface/ui_services.h"

namespace {

// The shown values: the definition's plus the piece's own artifact tallies.
void FillGearRows(const Item& item, bool artifact, const ArtifactRecord& record,
                  TooltipStatRows& rows) {
    const ItemDef* def = item.def;
    for (int32_t i = 0; i < kDamageTypeCount; ++i) {
        rows.damage[i] = (def != nullptr ? def->damage[i] : 0) + (artifact ? record.damageTally[i] : 0);
        rows.resist[i] = (def != nullptr ? def->resist[i] : 0) + (artifact ? record.resistanceTally[i] : 0);
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        rows.base[i] = (def != nullptr ? def->primary[i] : 0) + (artifact ? record.primaryTally[i] : 0);
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        rows.secondary[i] = (def != nullptr ? def->secondary[i] : 0) + (artifact ? record.statTally[i] : 0);
    }
}

ItemTooltipInfo GearInfo(Item& item, const std::string& name) {
    ItemTooltipInfo info;
    info.name = name;
    info.category = item.GetCategoryName();
    info.description = item.GetTooltipDescription();
    info.gameplayInfo = item.GetGameplayInfo();
    info.level = item.def != nullptr ? item.def->level : -1;
    return info;
}

}  // namespace

std::string ItemTooltipName(Item* item, const std::string& title) {
    std::string name = title.empty() ? item->GetName() : title;
    Player* hero = CurrentPlayer;
    Level* level = hero != nullptr ? hero->GameObj::level : nullptr;
    if (level == nullptr || item->unpaid == 0 || level->shopkeepersAngry != 0) return name;
    if (level->SquareKind(hero->x, hero->y) != static_cast<int32_t>(SquareType::ShopFloor)) return name;
    const int32_t price = ScaledPrice(item->GetValue(), GetTweakFloat("store sell price scaler"));
    if (price > 0) name += " (" + std::to_string(price) + " zorkmids)";
    return name;
}

void ShowItemTooltip(Item* item, const std::string& title, int32_t) {
    if (item == nullptr) return;
    const std::string name = ItemTooltipName(item, title);
    if (item->type == 1) {
        ItemTooltipInfo info = GearInfo(*item, name);
        Weapon* weapon = dynamic_cast<Weapon*>(item);
        if (weapon != nullptr) {
            FillGearRows(*item, weapon->isArtifact, weapon->artifactRecord, info.rows);
        } else {
            FillGearRows(*item, false, ArtifactRecord(), info.rows);
        }
        DrawWeaponTooltip(info);
    } else if (item->type == 2) {
        ItemTooltipInfo info = GearInfo(*item, name);
        Armour* armour = dynamic_cast<Armour*>(item);
        if (armour != nullptr) {
            FillGearRows(*item, armour->isArtifact, armour->artifactRecord, info.rows);
        } else {
            FillGearRows(*item, false, ArtifactRecord(), info.rows);
        }
        DrawArmourTooltip(info);
    } else if (item->type == 5) {
        FoodTooltipInfo info;
        info.name = name;
        info.description = item->GetTooltipDescription();
        info.spellPoints = item->def != nullptr ? item->def->mp : 0;
        info.health = item->def != nullptr ? item->def->hp : 0;
        DrawFoodTooltip(info);
    } else {
        const std::string category = item->GetCategoryName();
        const std::string description = item->GetTooltipDescription();
        const std::string gameplay = item->GetGameplayInfo();
        DrawItemTooltip(name.c_str(), category.c_str(), nullptr, description.c_str(), 0, gameplay.c_str());
    }
    TooltipSlotFree = false;
}

void ShowItemTooltip(Item* item, int32_t, int32_t) {
    ShowItemTooltip(item, std::string(), 1);
}
