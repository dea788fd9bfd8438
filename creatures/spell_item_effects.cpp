// The item kinds of the spell effects: corruption of worn artifacts, and the wand and artifact
// kinds that item-targeted spells apply to the item they were cast on.
#include "creatures/spell_item_effects.h"

#include <algorithm>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/buff.h"
#include "creatures/combat_feedback.h"
#include "creatures/player.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/weapon.h"
#include "levels/object_queue.h"
#include "media/eye_candy.h"
#include "media/ticker.h"

const char* const kSacrificeQuestion = "Are you sure you want to send this to the warehouse?";
const char* const kReshapeQuestion = "Trade this artifact's powers for new ones of the same strength?";
const char* const kNoArtifactAnswer = "Sadly, you are now lost in your own museum.";

namespace {

// The artifact parts of a weapon or armour piece; record null for any other item.
struct ArtifactParts {
    ArtifactRecord* record = nullptr;
    bool* isArtifact = nullptr;
    Weapon* weapon = nullptr;  // null for armour
};

ArtifactParts PartsOf(Item* item) {
    ArtifactParts parts;
    if (item == nullptr) return parts;
    if (item->type == kItemWeapon) {
        if (Weapon* weapon = dynamic_cast<Weapon*>(item)) parts = {&weapon->artifactRecord, &weapon->isArtifact, weapon};
    } else if (item->type == kItemArmour) {
        if (Armour* armour = dynamic_cast<Armour*>(item)) parts = {&armour->artifactRecord, &armour->isArtifact, nullptr};
    }
    return parts;
}

bool IsLiveArtifact(const ArtifactParts& parts) {
    return parts.record != nullptr && *parts.isArtifact && parts.record->grantedBuff != nullptr;
}

// Takes an item's granted buff off the hero while the item changes, and puts the item's
// (possibly new) buff back on afterwards.
class WornBuffAside {
public:
    WornBuffAside(Player* hero, Buff* buff) : hero_(hero) {
        if (hero_ == nullptr || buff == nullptr) return;
        auto it = std::find(hero_->buffs.begin(), hero_->buffs.end(), buff);
        if (it == hero_->buffs.end()) return;
        hero_->RemoveBuff(buff);
        hero_->buffs.erase(std::find(hero_->buffs.begin(), hero_->buffs.end(), buff));
        worn_ = true;
    }
    void PutBack(Buff* buff) {
        if (worn_ && buff != nullptr) hero_->AddBuff(buff);
        worn_ = false;
        if (hero_ != nullptr) hero_->RecalculateStats();
    }

private:
    Player* hero_ = nullptr;
    bool worn_ = false;
};

bool Confirmed(const char* question) {
    return ShowItemDialog(question, "ui/dialog_but_yea", "ui/dialog_but_nay") == 0;
}

// Takes the item off wherever the hero keeps it: equipment (its bonuses go with it), backpack,
// belt and the pointer.
void TakeFromHero(Player* hero, Item* item) {
    if (hero != nullptr) {
        for (int32_t slot = 0; slot < kEquipSlotCount; ++slot) {
            if (hero->EquippedAt(slot) != item) continue;
            item->OnUnequip(slot);
            hero->ForgetEquipped(item);
        }
    }
    RemoveItemFromGrid(item);
    RemoveItemFromQuickbar(item);
    ForgetCursorItem(item);
}

}  // namespace

void CorruptWornArtifact(Player* hero) {
    if (hero == nullptr) return;
    if (RollSpellResistance(hero) == 0) return;
    std::vector<Item*> worn;
    for (int32_t slot = 0; slot < kEquipSlotCount; ++slot) {
        Item* item = hero->EquippedAt(slot);
        if (!IsLiveArtifact(PartsOf(item))) continue;
        if (std::find(worn.begin(), worn.end(), item) == worn.end()) worn.push_back(item);
    }
    if (worn.empty()) return;
    Item* item = worn[static_cast<size_t>(RandomInt(static_cast<int32_t>(worn.size())))];
    ArtifactRecord* record = PartsOf(item).record;
    SpawnFollowingEyeCandy(&hero->bob, EyeCandyIcons.corruption, 1, 0);
    AddText("Oh no! Your " + item->GetItemName() + " has been corrupted!", true);
    Buff* buff = record->grantedBuff.get();
    WornBuffAside aside(hero, buff);
    hero->RecalculateStats();
    CurseArtifactPowers(record, 2 + RandomInt(3), item, true);
    if (MTOneChanceIn(4)) buff->isArtifactBuff = false;
    aside.PutBack(buff);
}

void RandomizeWand(Item* item) {
    if (item == nullptr || item->type != kItemWand || dynamic_cast<Wand*>(item) == nullptr) return;
    const ItemDef* kind = PickRandomWandDef();
    if (kind == nullptr) return;
    item->def = kind;
    item->subtype = kind->index;
    item->ShowDefinitionIcon();
}

void SacrificeArtifact(Item* item) {
    const ArtifactParts parts = PartsOf(item);
    if (!IsLiveArtifact(parts)) return;
    if (!Confirmed(kSacrificeQuestion)) return;
    Player* hero = CurrentPlayer;
    const int32_t level = item->def != nullptr ? item->def->level : 0;
    const int32_t experience = GetTweakInt("artifact quality museum multiplier") * level * parts.record->power;
    TakeFromHero(hero, item);
    QueueObjectDeletion(item);
    if (hero != nullptr) hero->AddExperience(experience, 0);
}

void RandomizeArtifact(Item* item) {
    const ArtifactParts parts = PartsOf(item);
    if (parts.record == nullptr) return;
    if (!IsLiveArtifact(parts)) {
        ShowItemDialog(kNoArtifactAnswer, "ui/dialog_but_ok", nullptr);
        return;
    }
    if (!Confirmed(kReshapeQuestion)) return;
    ArtifactRecord* record = parts.record;
    const int32_t power = record->power;
    // The old buff goes with the old record: off the hero first when it is worn.
    WornBuffAside aside(CurrentPlayer, record->grantedBuff.get());
    *record = ArtifactRecord();
    GenerateArtifact(record, power, item);
    if (parts.weapon != nullptr) CurseArtifactPowers(record, 2 + RandomInt(3), item, false);
    aside.PutBack(record->grantedBuff.get());
}

void CleanseArtifact(Item* item) {
    const ArtifactParts parts = PartsOf(item);
    // Armour always takes its damage and resistances from its definition (also when loaded),
    // so its bonuses stay with the buff rather than be lost with the next save.
    if (!IsLiveArtifact(parts) || parts.weapon == nullptr) return;
    Buff* buff = parts.record->grantedBuff.get();
    WornBuffAside aside(CurrentPlayer, buff);
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        parts.weapon->damage[t] += buff->damage[t];
        buff->damage[t] = 0;
        parts.weapon->resist[t] += buff->resist[t];
        buff->resist[t] = 0;
    }
    aside.PutBack(buff);
}
