#include "items_fixtures/shrines.h"

#include <algorithm>
#include <cstdio>

#include "core/random.h"
#include "creatures/buff.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/weapon.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/sprite.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(DiggleGod)
FIXTURE_REGISTRATION(LutefiskStatue)

ShrineDialogSet ShrineDialogs = {ShowDialog, ShowLutefiskTitheDialog, ShowLutefiskGiftDialog};

const char* const kLutefiskRefusals[kLutefiskRefusalCount] = {
    "The Vededuve Rez is silent.",
    "The Statue of the Vededuve Rez stares at you with sad, fishy eyes.",
    "The Vededuve Rez is not happy with you. He is not unhappy with you, either.",
    "The Vededuve Rez is secretly enraged by your worthless sacrifice... but he keeps it to himself.",
    "The Vededuve Rez wonders if you are secretly worshipping Krong. If so, you want the Anvil.",
    "The Vededuve Rez thinks that this sacrifice would be much better if it was... fishier. And with more lye.",
    "The Vededuve Rez pouts.",
};

// ---- DiggleGod -----------------------------------------------------------------------------

DiggleGod::DiggleGod(const char* name) : godName(name != nullptr ? name : "") { RefreshPicture(); }

DiggleGod::DiggleGod(SaveReader& in) : GameObj(in) {
    godName = in.ReadString();
    RefreshPicture();
}

bool DiggleGod::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteString(godName) && ok;
}

void DiggleGod::RefreshPicture() {
    for (const DiggleGodRecord& god : DiggleGodList) {
        if (god.name != godName) continue;
        if (!god.art.empty()) ShowFixtureSprite(*this, god.art.c_str(), god.art.c_str(), false);
        return;
    }
    // A god the list does not hold (the list may come from a later data file) leaves the
    // statue without a picture.
}

void DiggleGod::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) { DrawFixtureMinimapIcon("digglegod", px, py, zoom); }

int32_t DiggleGod::Activate() {
    const std::string question = "Pray to the " + godName + "?";
    if (ShrineDialogs.ask(question.c_str(), "ui/dialog_but_yea", "ui/dialog_but_nay") != 0) return 1;
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return 1;
    for (;;) {
        auto blessing = std::find_if(hero->buffs.begin(), hero->buffs.end(),
                                     [](const Buff* buff) { return buff != nullptr && buff->digglegod; });
        if (blessing == hero->buffs.end()) break;
        Buff* buff = *blessing;
        hero->RemoveBuff(buff);
        hero->buffs.erase(std::remove(hero->buffs.begin(), hero->buffs.end(), buff), hero->buffs.end());
        delete buff;
    }
    for (const DiggleGodRecord& god : DiggleGodList) {
        if (god.name != godName) continue;
        Spell* spell = spellDBFindByName(god.spell.c_str());
        if (spell == nullptr) continue;
        CastSpellWithCause(spell, x, y, hero->x, hero->y, hero, "by the angry hand of a Diggle God.");
    }
    return 1;
}

// ---- LutefiskStatue ------------------------------------------------------------------------

LutefiskStatue::LutefiskStatue() { RefreshPicture(); }

LutefiskStatue::LutefiskStatue(SaveReader& in) : GameObj(in) {
    spent = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool LutefiskStatue::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(spent) && ok;
}

void LutefiskStatue::RefreshPicture() {
    if (spent != 0) {
        ShowFixtureSprite(*this, "LutefiskStatueSpent", "dungeon/shrine_lutefisk_god_used.png", false);
    } else {
        ShowFixtureSprite(*this, "LutefiskStatue", "dungeon/shrine_lutefisk_god.png", false);
    }
}

void LutefiskStatue::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    DrawFixtureMinimapIcon(spent != 0 ? "lutefisk_used" : "lutefisk", px, py, zoom);
}

int32_t LutefiskStatue::Activate() {
    if (spent != 0) return 0;
    PlaySFX("prayer");
    ShrineDialogs.tithe(CurrentPlayer != nullptr ? CurrentPlayer->lutefiskTithe : 0);
    return 1;
}

int32_t LutefiskStatue::UseItemOn(Item* item) {
    // Unpaid fish is the shop's to tithe, not the hero's: the statue does not take it.
    if (spent != 0 || (item != nullptr && item->unpaid != 0)) return 0;
    Player* hero = CurrentPlayer;
    const bool lutefisk = item != nullptr && item->type == kItemFood && item->def != nullptr && item->def->name == "Lutefisk";
    if (!lutefisk) {
        const int32_t line = CRand() / 4682;
        ShrineDialogs.ask(kLutefiskRefusals[std::min(line, kLutefiskRefusalCount - 1)], "ui/dialog_but_ok", nullptr);
        return 1;
    }
    QueueObjectDeletion(item);
    if (hero == nullptr) return 1;
    hero->lutefiskTithe += item->count > 0 ? item->count : 1;
    if (RandomInt(500) >= hero->lutefiskTithe) {
        PlaySFX("prayer");
        ShrineDialogs.tithe(hero->lutefiskTithe);
        return 1;
    }
    const int32_t tithe = std::min(hero->lutefiskTithe, 500);
    const bool generous = tithe > 250;
    const int32_t power = tithe / 100 + 1;
    hero->lutefiskTithe = 0;
    Item* gift = nullptr;
    ArtifactRecord* record = nullptr;
    if (MTOneChanceIn(2)) {
        if (const ItemDef* def = RandomWeaponDefByLevel(0, generous ? 2 : 1)) {
            Weapon* weapon = new Weapon(def);
            if (!weapon->isArtifact) {
                GenerateArtifact(&weapon->artifactRecord, power, weapon);
                weapon->isArtifact = true;
            }
            record = &weapon->artifactRecord;
            gift = weapon;
        }
    } else if (const ItemDef* def = RandomArmourDefByLevel(0)) {
        Armour* armour = new Armour(def);
        GenerateArtifact(&armour->artifactRecord, power, armour);
        armour->isArtifact = true;
        record = &armour->artifactRecord;
        gift = armour;
    }
    if (gift == nullptr) {
        std::printf("Lutefisk Statue: no weapon or armour definition for the gift\n");
    } else {
        record->text = "It smells mildly of fish.";
        PutItemInBag(gift);
        ShrineDialogs.gift(gift);
    }
    spent = 1;
    RefreshPicture();
    return 1;
}
