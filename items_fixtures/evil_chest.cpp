#include "items_fixtures/evil_chest.h"

#include <cstdio>

#include "core/random.h"
#include "creatures/damage_type.h"
#include "creatures/monster.h"
#include "creatures/monster_names.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/ticker.h"

FIXTURE_REGISTRATION(EvilChest)

EvilChest::EvilChest() { RefreshPicture(); }

EvilChest::EvilChest(SaveReader& in) : GameObj(in) {
    opened = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool EvilChest::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(opened) && ok;
}

void EvilChest::RefreshPicture() {
    if (opened != 0) {
        ShowFixtureSprite(*this, "EvilChestOpened", "dungeon/crate_of_evil_opened.spr", true);
        blocksMovement = 0;
        blocksSight = 0;
    } else {
        ShowFixtureSprite(*this, "EvilChest", "dungeon/crate_of_evil.spr", true);
        blocksMovement = 1;
    }
}

void EvilChest::Destroy() { QueueObjectDeletion(this); }

void EvilChest::ReleaseMonster() {
    const std::string name = MakeMonsterName();
    Level* here = CurrentLevel;
    Monster* monster = here != nullptr ? here->CreateNamedMonster(name.c_str(), 3) : nullptr;
    if (monster == nullptr) {
        std::printf("chest of evil: no monster could be made for \"%s\"; nothing is released\n", name.c_str());
        return;
    }
    monster->PlaceOnLevel(x, y, here, 0);
    AddText("You have accidentally released the monster " + name + " from its slumber!", true);
    PlaySFX("naughty");
}

void EvilChest::GiveArtifact() {
    const ItemDef* def = RandomWeaponDefByLevel(1, 1);
    if (def == nullptr) {
        std::printf("chest of evil: no weapon definition to be had; the chest is empty\n");
        return;
    }
    const int32_t depth = CurrentLevel != nullptr ? CurrentLevel->depth : 0;
    Weapon* weapon = new Weapon(def);
    weapon->isArtifact = true;
    GenerateArtifact(&weapon->artifactRecord, depth + 1, weapon);
    // The dark artifact resists nothing of its own.
    for (int32_t& value : weapon->artifactRecord.resistanceTally) value = 0;
    const bool necromantic = MTOneChanceIn(2);
    weapon->damage[necromantic ? kDamageNecromantic : kDamageToxic] += 2 * depth + 2;
    AddText("You have discovered the dark artifact, " + weapon->artifactRecord.name + "!", true);
    PutItemInBag(weapon);
    PlaySFX("naughty");
}

int32_t EvilChest::Activate() {
    if (opened != 0) return 0;
    ShowFixtureSprite(*this, "EvilChestOpened", "dungeon/crate_of_evil_opened.spr", false);
    blocksSight = 0;
    if (MTOneChanceIn(2)) {
        ReleaseMonster();
    } else {
        GiveArtifact();
    }
    blocksMovement = 0;
    opened = 1;
    return 1;
}
