#include "items_fixtures/anvil.h"
#include "items_fixtures/fixture.h"

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/stats.h"

FIXTURE_REGISTRATION(Anvil)

int32_t LastAnvilOutcome = 0;
AnvilDialogSet AnvilDialogs = {ShowDialog, ShowKrongDialog};

void ResetAnvilMemory() { LastAnvilOutcome = 0; }

namespace {

constexpr int32_t kOutcomeCurse = 2;

// The artifact parts of a weapon or armour piece; null for other items.
struct ArtifactParts {
    ArtifactRecord* record = nullptr;
    bool* isArtifact = nullptr;
    bool weapon = false;
};

ArtifactParts PartsOf(Item* item) {
    ArtifactParts parts;
    if (item == nullptr) return parts;
    if (item->type == kItemWeapon) {
        if (Weapon* weapon = dynamic_cast<Weapon*>(item)) {
            parts.record = &weapon->artifactRecord;
            parts.isArtifact = &weapon->isArtifact;
            parts.weapon = true;
        }
    } else if (item->type == kItemArmour) {
        if (Armour* armour = dynamic_cast<Armour*>(item)) {
            parts.record = &armour->artifactRecord;
            parts.isArtifact = &armour->isArtifact;
        }
    }
    return parts;
}

// The grant of an item power to a new weapon artifact, as the powers of an artifact grant it.
void MaybeGrantItemPower(ArtifactRecord& record, Item* item) {
    const int32_t chance = GetTweakInt("item power granting chance");
    if (!MTOneChanceIn(static_cast<uint32_t>(chance < 1 ? 1 : chance))) return;
    if (record.firstPower != nullptr || record.grantedBuff == nullptr || ItemDefLists.powers.empty()) return;
    const int32_t pick = RandomInt(static_cast<int32_t>(ItemDefLists.powers.size()));
    record.firstPower = ItemDefLists.powers[static_cast<size_t>(pick)];
    BuffHook& hook = record.grantedBuff->targetHitEffect;
    hook.spell = record.firstPower->spell;
    hook.percentage = MTOneChanceIn(2) ? 35 : 15;
    record.grantedBuff->extraFlag = item->def != nullptr && item->def->itemClass == kWeaponCrossbow;
}

void Curse(Item* item, const ArtifactParts& parts) {
    ArtifactRecord& record = *parts.record;
    PlaySFX("magicbzzt");
    if (record.grantedBuff == nullptr) {
        *parts.isArtifact = true;
        GenerateArtifact(&record, 0, item);
        record.anvilPower = 0;
        record.name = GenerateArtifactName();
        record.title = record.name;
        record.text = "It is made of shame and disgrace.";
        // The item keeps exactly one granted buff: the shameful one replaces the one just made.
        record.grantedBuff.reset(new Buff("", ""));
        record.grantedBuff->name = record.title;
        record.grantedBuff->fromItem = true;
        record.grantedBuff->isArtifactBuff = true;
        record.grantedBuff->frozenTimer = true;
        record.grantedBuff->item = item;
        record.grantedBuff->description =
            (item->def != nullptr ? item->def->description : std::string()) + " " + record.text;
    }
    const int32_t points = 2 + RandomInt(3);
    CurseArtifactPowers(&record, points, item, false);
    AnvilDialogs.krong(item, false, "Woe unto you, for Krong has encrusted your artifact with potent runes of cursing!");
    static const StatMilestone kHatred[] = {{100, "ACHIEVEMENT_KRONG_HATES_YOU"}};
    CountStatEvent("STAT_BAD_KRONGINGS", kHatred, 1);
    if (LastAnvilOutcome == kOutcomeCurse) AwardAchievement("ACHIEVEMENT_TWO_KRONGS_DONT_MAKE_A_RIGHT");
    LastAnvilOutcome = kOutcomeCurse;
}

void Bless(Item* item, const ArtifactParts& parts) {
    ArtifactRecord& record = *parts.record;
    *parts.isArtifact = true;
    if (record.grantedBuff == nullptr) {
        const int32_t power = parts.weapon ? 1 + RandomInt(2) : 1 + static_cast<int32_t>(MTRandomInt(2));
        GenerateArtifact(&record, power, item);
        if (parts.weapon) MaybeGrantItemPower(record, item);
    } else {
        const int32_t points = parts.weapon ? 1 + RandomInt(2) : 1 + static_cast<int32_t>(MTRandomInt(2));
        AddArtifactPowers(&record, points, item);
    }
    PlaySFX("anvil");
    AnvilDialogs.krong(item, true, "Blessed be you, for Krong has added new powers to your artifact!");
    LastAnvilOutcome = 0;
}

}  // namespace

Anvil::Anvil() {
    blocksMovement = 1;
    blocksSight = 0;
    RefreshPicture();
}

Anvil::Anvil(SaveReader& in) : GameObj(in) {
    used = in.ReadBool() ? 1 : 0;
    dead = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Anvil::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteBool(used) && ok;
    return out.WriteBool(dead) && ok;
}

void Anvil::RefreshPicture() {
    if (used == 0) {
        ShowFixtureSprite(*this, "Anvil", "dungeon/krong_anvil.png", false);
    } else if (dead != 0) {
        ShowFixtureSprite(*this, "Anvil_dead", "dungeon/krong_anvil_broken.png", false);
    } else {
        ShowFixtureSprite(*this, "Anvil_broken", "dungeon/krong_anvil_used.png", false);
    }
}

int32_t Anvil::Activate() {
    const bool adjacent = IsAdjacentToPlayer();
    if (adjacent && used != 0) {
        AnvilDialogs.show("The Anvil of Krong sits depleted.  Perhaps if you continue adventuring you will find another.",
                          "ui/dialog_but_ok", nullptr);
        return 1;
    }
    if (!adjacent) return 0;
    PlaySFX("anvil");
    AnvilDialogs.show("Place your equipment on the Sacred Anvil of Krong...", "ui/dialog_but_ok", nullptr);
    return 1;
}

int32_t Anvil::UseItemOn(Item* item) {
    if (used != 0) {
        AnvilDialogs.show("The Anvil of Krong sits, depleted, as a testament to your poor crafting ability.",
                          "ui/dialog_but_ok", nullptr);
        return 1;
    }
    int32_t uses = 1;
    if (CurrentPlayer != nullptr) uses = ++CurrentPlayer->anvilUses;
    const ArtifactParts parts = PartsOf(item);
    if (parts.record != nullptr) {
        const uint32_t roll = MTRandomInt(7);
        if (roll >= 5 && uses >= 2) {
            Curse(item, parts);
        } else {
            Bless(item, parts);
        }
    } else {
        const bool food = item != nullptr && item->type == kItemFood;
        AnvilDialogs.show(food ? "A glowing phantasmal hammer crashes down on your food, and it goes flying everywhere."
                               : "The powers of the Anvil of Krong cannot work on this item. The anvil seems to decay "
                                 "before your eyes.",
                          "ui/dialog_but_ok", nullptr);
        LastAnvilOutcome = 0;
    }
    used = 1;
    RefreshPicture();
    return 1;
}

void Anvil::Recharge() {
    if (recharged) {
        AnvilDialogs.show("The Ancient Kronian Ritual has already been performed on this Anvil.", "ui/dialog_but_ok",
                          nullptr);
        return;
    }
    if (used == 0) return;
    used = 0;
    recharged = true;
    RefreshPicture();  // the fresh picture again
}

void Anvil::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    DrawFixtureMinimapIcon(used != 0 ? "krong_used" : "krong", px, py, zoom);
}
