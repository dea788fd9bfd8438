#include "items_fixtures/weapon.h"

#include <algorithm>
#include <cstdio>
#include <vector>


#include "core/class_registry.h"
#include "core/random.h"
#include "core/shell/shell_services.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/combat.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/object_queue.h"
#include "levels/tile_effects.h"
#include "levels/tutorial.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

SERIALIZABLE_REGISTRATION(Weapon);

namespace {

const ItemDef* OldWeapon(int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= ItemDefLists.weapons.size()) return nullptr;
    return ItemDefLists.weapons[static_cast<size_t>(position)];
}

}  // namespace

Weapon::Weapon(const ItemDef* definition) : Item(definition) {
    type = kItemWeapon;
    if (definition != nullptr) {
        std::copy(std::begin(definition->damage), std::end(definition->damage), damage);
        std::copy(std::begin(definition->resist), std::end(definition->resist), resist);
        stackable = definition->itemClass >= kWeaponThrowing ? 1 : 0;
    }
}

Weapon::Weapon(SaveReader& in) : Item(in) {
    type = kItemWeapon;
    const ItemDef* definition = ReadItemDefinition(in, this, OldWeapon);
    in.ReadDamageArray(damage);
    if (in.version.AtLeast(kSaveV1_0_10)) {
        in.ReadDamageArray(resist);
    } else if (definition != nullptr) {
        std::copy(std::begin(definition->resist), std::end(definition->resist), resist);
    }
    isArtifact = in.ReadBool();
    if (isArtifact) {
        artifactRecord.Read(in);
        if (artifactRecord.grantedBuff != nullptr) artifactRecord.grantedBuff->item = this;
        LendIconToBuff();
    }
}

void Weapon::LendIconToBuff() {
    if (isArtifact && artifactRecord.grantedBuff != nullptr) artifactRecord.grantedBuff->iconSprite = iconSprite;
}

Weapon::~Weapon() = default;

bool Weapon::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    ok = out.WriteDamageArray(damage) && ok;
    if (out.version.AtLeast(kSaveV1_0_10)) ok = out.WriteDamageArray(resist) && ok;
    ok = out.WriteBool(isArtifact) && ok;
    if (isArtifact) ok = artifactRecord.Write(out) && ok;
    return ok;
}

uint32_t Weapon::GetClassHash() { return GetRegisteredClassHash("Weapon"); }
int32_t Weapon::GetClassIndex() { return GetRegisteredClassIndex("Weapon"); }

std::string Weapon::GetItemName() const {
    std::string text = def != nullptr ? def->name : std::string();
    if (isArtifact && (def == nullptr || !def->artifact)) text = artifactRecord.name;
    if (count >= 2) text += "(" + std::to_string(count) + ")";
    return text;
}

std::string Weapon::GetCategoryName() const {
    static const char* const kNames[] = {"Sword Class Weapon",    "Axe Class Weapon",      "Mace Class Weapon",
                                         "Staff Class Weapon",    "Crossbow Class Weapon", "Throwing Class Weapon",
                                         "Ammunition"};
    const int32_t kind = Kind();
    return kind >= 0 && kind <= 6 ? kNames[kind] : "Weapon";
}

std::string Weapon::GetTooltipDescription() const {
    std::string text = DefinitionDescription();
    if (isArtifact) text += "\n\n" + artifactRecord.text;
    return text;
}

bool Weapon::FitsEquipSlot(int32_t slot) {
    const int32_t kind = Kind();
    if (kind == kWeaponCrossbow) return slot == 8;
    if (kind == kWeaponThrowing || kind == kWeaponAmmunition) return false;
    return slot == 1 || slot == 2;
}

void Weapon::AddChestBonus(int32_t which, int32_t amount) {
    if (which < 0 || which > 1) return;
    damage[kChestBonusKinds[which]] += amount;
}

int32_t Weapon::GetValue() {
    const int32_t base = Item::GetValue();
    return isArtifact ? ArtifactValue(base, artifactRecord) : base;
}

int32_t Weapon::MasterySkill() const {
    const int32_t kind = Kind();
    if (kind >= 0 && kind <= 5) return kind;
    return kind == kWeaponAmmunition ? 4 : 2;
}

namespace {

constexpr int32_t kDualWieldSkill = 7;
const char kHandsFull[] = "Hands Full!";

Buff* FindBuffNamed(Player* hero, const char* name) {
    for (Buff* buff : hero->buffs) {
        if (buff->name == name) return buff;
    }
    return nullptr;
}

// Erases the first buff of that name from the list (its effects go with the next
// recalculation).
void EraseBuffNamed(Player* hero, const char* name) {
    for (auto it = hero->buffs.begin(); it != hero->buffs.end(); ++it) {
        if ((*it)->name == name) {
            Buff* buff = *it;
            hero->buffs.erase(it);
            if (!(buff->fromItem && buff->item != nullptr)) delete buff;
            return;
        }
    }
}

Weapon* HeldWeapon(Item* item) {
    return dynamic_cast<Weapon*>(item);
}

}  // namespace

int32_t Weapon::Use() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return 0;
    const int32_t kind = Kind();
    if (kind == kWeaponThrowing || kind == kWeaponAmmunition) {
        ActiveItem = this;
        SelectedAbility = nullptr;
        if (TutorialFlag) NotifyTutorial(4, def != nullptr ? def->name : std::string());
        return 0;
    }
    if (kind == kWeaponCrossbow) {
        Item*& slot = hero->EquippedAt(kSlotAmmunition);
        Weapon* held = hero->crossbow;
        if (slot == nullptr && held == nullptr) {
            slot = this;
            OnEquip(kSlotAmmunition);
            TradeCarriedPlaces(this, nullptr, true);
        } else if (held != nullptr) {
            held->OnUnequip(kSlotAmmunition);
            slot = this;
            OnEquip(kSlotAmmunition);
            TradeCarriedPlaces(this, held, true);
        }
        return 0;
    }
    Item*& one = hero->EquippedAt(1);
    Item*& two = hero->EquippedAt(2);
    int32_t target = -1;
    if (one == nullptr && two == nullptr) {
        target = 1;
    } else if (two == nullptr) {
        target = 2;
    } else if (one != nullptr && HeldWeapon(one) == nullptr) {
        if (HeldWeapon(two) != nullptr) target = 2;
    } else {
        target = 1;
    }
    if (target < 0) return 0;
    Item*& slot = target == 1 ? one : two;
    Weapon* replaced = slot != nullptr ? HeldWeapon(slot) : nullptr;
    if (replaced != nullptr) {
        replaced->OnUnequip(target);
        slot = nullptr;
    }
    slot = this;
    OnEquip(target);
    TradeCarriedPlaces(this, replaced, true);
    return 0;
}

namespace {

constexpr int32_t kBowGroup = 4;
constexpr int32_t kThrowGroup = 5;
constexpr int32_t kPlainFloor = 1;

// Turns the hero toward (tx, ty) and plays the shooting or throwing animation of that side.
void TurnAndShoot(Player* hero, int32_t group, int32_t tx, int32_t ty) {
    // Sides of the attack sets: left, right, front (down), back (up).
    int32_t side = 3;
    if (hero->x < tx) {
        hero->facing = 3;
        side = 1;
    } else if (hero->x > tx) {
        hero->facing = 1;
        side = 0;
    } else if (hero->y < ty) {
        hero->facing = 0;
        side = 2;
    } else {
        hero->facing = 2;
    }
    PlaySFX("bow");
    if (Sprite* shot = hero->heroAnimations[HeroAttackAnim(group, side)]) {
        hero->bob.SetSprite(shot);
        hero->bob.loop = false;
    }
    hero->SetIdleAnimation();
}

// The bolt picture for a flight from the hero toward (tx, ty).
Sprite* BoltSprite(const Player* hero, int32_t tx, int32_t ty, const char* sameSquare) {
    const char* name = sameSquare;
    if (hero->y > ty) name = "arrow_n";
    else if (hero->y < ty) name = "arrow_s";
    else if (tx > hero->x) name = "arrow_e";
    else if (tx < hero->x) name = "arrow_w";
    if (name == nullptr) return nullptr;
    const std::string file = std::string("sprites/sfx/") + name + ".spr";
    return SpriteMgr_GetOrLoad(name, file.c_str());
}

void NoCrossbow(Player* hero) {
    AddText("You have no crossbow!", true);
    ShowFloatingText(hero->bob, "You have no crossbow!");
}

// One piece of the stack is spent; the last one ends the stack.
void SpendOne(Weapon* stack) {
    --stack->count;
    if (stack->count > 0) return;
    AddText("You have run out of ammunition!", true);
    QueueObjectDeletion(stack);
}

void CastHitSpell(const Weapon* weapon, Player* hero, int32_t tx, int32_t ty) {
    Spell* spell = weapon->def != nullptr ? weapon->def->hitSpell : nullptr;
    if (spell == nullptr) return;
    if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
    CastSpell(spell, hero->x, hero->y, tx, ty, hero, false, true);
}

}  // namespace

int32_t Weapon::UseOn(GameObj* target, GameObj* user) {
    Player* hero = CurrentPlayer;
    const int32_t kind = Kind();
    if (target == nullptr || target->IsMonster() == 0 || hero == nullptr || user != hero) return 0;
    Monster* monster = static_cast<Monster*>(target);
    if (monster->dead != 0) return 0;
    if (kind >= 0 && kind <= kWeaponCrossbow) return 1;
    if (kind == kWeaponThrowing) {
        if (ActiveItem != this) ActiveItem = this;
        hero->ThrowWeaponAt(monster, this);
        return 1;
    }
    if (hero->crossbow == nullptr) {
        NoCrossbow(hero);
        return 0;
    }
    RemovePlayerInvisibility();
    TurnAndShoot(hero, kBowGroup, monster->x, monster->y);
    Sprite* bolt = BoltSprite(hero, monster->x, monster->y, nullptr);
    if (bolt == nullptr) return 1;  // the same square: nothing is fired
    int32_t landX = monster->x;
    int32_t landY = monster->y;
    AnimateMissile(hero->x, hero->y, monster->x, monster->y, &landX, &landY, bolt);
    CastHitSpell(this, hero, landX, landY);
    Level* onLevel = hero->GameObj::level;
    const ItemDef* definition = def;
    const int32_t shopGoods = unpaid;  // a bolt found again is as paid as its stack
    SpendOne(this);
    if (onLevel != nullptr) {
        LevelCell* landing = onLevel->GetCell(landX, landY);
        const std::vector<GameObj*> struck = landing != nullptr ? landing->contents : std::vector<GameObj*>();
        for (GameObj* obj : struck) {
            std::printf("attempting to damage object: %s\n", obj->GetName().c_str());
            if (!obj->IsHittable() || static_cast<Hittable*>(obj)->health <= 0) continue;
            if (ActiveItem != this && count > 0) ActiveItem = this;
            ResolveRangedAttack(hero, static_cast<Hittable*>(obj), this);
        }
    }
    // Recovery: the bolt may be found again on plain floor.
    int32_t bonus = 0;
    const int32_t crossbowLevel = hero->GetSkillLevel(4);
    for (const AbilityRecord* ability : AbilityList) {
        if (ability != nullptr && ability->skillId == 4 && ability->level < crossbowLevel) bonus += ability->recovery;
    }
    const bool found = RandomInt(100) < GetTweakInt("hit ammo drop percent") + bonus;
    if (found && onLevel != nullptr && definition != nullptr && onLevel->SquareKind(landX, landY) == kPlainFloor &&
        !onLevel->IsSquareBlocked(landX, landY, false, false)) {
        Weapon* piece = new Weapon(definition);
        piece->stackable = 1;
        piece->count = 1;
        piece->unpaid = shopGoods;
        QueueObjectMove(piece, landX, landY, onLevel);
    }
    return 1;
}

int32_t Weapon::UseAtSquare(int32_t tx, int32_t ty, GameObj* user) {
    Player* hero = CurrentPlayer;
    const int32_t kind = Kind();
    if (hero == nullptr || (kind != kWeaponThrowing && kind != kWeaponAmmunition)) return 0;
    if (kind == kWeaponAmmunition && hero->crossbow == nullptr) {
        NoCrossbow(hero);
        return 0;
    }
    RemovePlayerInvisibility();
    TurnAndShoot(hero, kind == kWeaponThrowing ? kThrowGroup : kBowGroup, tx, ty);
    Sprite* missile = nullptr;
    if (kind == kWeaponThrowing) {
        const std::string name = def != nullptr ? def->thrown : std::string();
        std::printf("attempting to shoot missile: %s\n", name.c_str());
        if (!name.empty()) missile = SpriteMgr_GetOrLoad(name.c_str(), name.c_str());
    } else {
        missile = BoltSprite(hero, tx, ty, "arrow_n");
    }
    if (missile == nullptr) return 0;
    int32_t landX = -1;
    int32_t landY = -1;
    AnimateMissile(hero->x, hero->y, tx, ty, &landX, &landY, missile);
    Level* onLevel = hero->GameObj::level;
    if (onLevel == nullptr || !onLevel->IsInside(landX, landY)) return 0;
    CastHitSpell(this, hero, landX, landY);
    SpendOne(this);
    LevelCell* landing = onLevel->GetCell(landX, landY);
    const std::vector<GameObj*> struck = landing != nullptr ? landing->contents : std::vector<GameObj*>();
    for (GameObj* obj : struck) {
        std::printf("attempting to damage object: %s\n", obj->GetName().c_str());
        if (obj->IsHittable()) {
            Hittable* victim = static_cast<Hittable*>(obj);
            if (victim->health <= 0) continue;
            Hittable* attacker = user != nullptr && user->IsHittable() ? static_cast<Hittable*>(user) : hero;
            if (kind == kWeaponThrowing) {
                ThrownObject = this;
                ResolveThrownAttack(attacker, victim);
                ThrownObject = nullptr;
            } else {
                ResolveRangedAttack(attacker, victim, this);
            }
            if (attacker == hero) UseUpAttackBuffs();
        } else {
            obj->HitByPlayer();
        }
    }
    return 1;
}

void Weapon::CheckDualWield() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    if (HeldWeapon(hero->FirstHand()) == nullptr || HeldWeapon(hero->SecondHand()) == nullptr) return;
    if (hero->GetSkillLevel(kDualWieldSkill) > 0 || FindBuffNamed(hero, kHandsFull) != nullptr) return;
    Buff* buff = new Buff(kHandsFull, "skills/unskilled_dualwield.png");
    buff->description =
        "You aren't ambidextrous enough to be able to wield a weapon in each hand. Your attacks will be less "
        "effective until you let go of one weapon!";
    buff->frozenTimer = true;
    buff->removable = false;
    buff->bad = true;
    hero->AddBuff(buff);
}

void Weapon::ComputeMastery(const Player& hero) {
    std::fill(std::begin(masterySecondary), std::end(masterySecondary), 0);
    std::fill(std::begin(masteryPrimary), std::end(masteryPrimary), 0);
    const int32_t skillLevel = hero.GetSkillLevel(MasterySkill());
    for (const AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->skillId != MasterySkill() || ability->level >= skillLevel) continue;
        for (int32_t i = 0; i < kSecondaryStatCount; ++i) masterySecondary[i] += ability->secondaryMods[i];
        for (int32_t i = 0; i < kPrimaryStatCount; ++i) masteryPrimary[i] += ability->primaryMods[i];
    }
}

void Weapon::RefreshMastery(Player& hero) {
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero.statBonus[i] -= masterySecondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero.primaryBonus[i] -= masteryPrimary[i];
    ComputeMastery(hero);
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero.statBonus[i] += masterySecondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero.primaryBonus[i] += masteryPrimary[i];
}

void Weapon::OnEquip(int32_t slot) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || def == nullptr) return;
    if (slot == kSlotFirstHand) hero->firstHandWeapon = this;
    else if (slot == kSlotSecondHand) hero->secondHandWeapon = this;
    else if (slot == kSlotAmmunition) hero->crossbow = this;
    if (slot == kSlotFirstHand || slot == kSlotSecondHand) CheckDualWield();
    if (isArtifact && artifactRecord.grantedBuff != nullptr) {
        artifactRecord.grantedBuff->fromItem = true;
        artifactRecord.grantedBuff->item = this;
        LendIconToBuff();
        hero->AddBuff(artifactRecord.grantedBuff.get());
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero->statBonus[i] += def->secondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero->primaryBonus[i] += def->primary[i];
    ComputeMastery(*hero);
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero->statBonus[i] += masterySecondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero->primaryBonus[i] += masteryPrimary[i];
    hero->RecalculateStats();
    if (TutorialFlag) NotifyTutorial(10, def->name);
}

void Weapon::OnUnequip(int32_t slot) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || def == nullptr) return;
    if (slot == kSlotFirstHand && hero->firstHandWeapon == this) hero->firstHandWeapon = nullptr;
    if (slot == kSlotSecondHand && hero->secondHandWeapon == this) hero->secondHandWeapon = nullptr;
    if (slot == kSlotAmmunition && hero->crossbow == this) hero->crossbow = nullptr;
    Buff* granted = artifactRecord.grantedBuff.get();
    if (isArtifact && granted != nullptr) {
        auto it = std::find(hero->buffs.begin(), hero->buffs.end(), granted);
        if (it != hero->buffs.end()) {
            hero->RemoveBuff(granted);
            hero->buffs.erase(std::find(hero->buffs.begin(), hero->buffs.end(), granted));
        }
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero->statBonus[i] -= def->secondary[i] + masterySecondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero->primaryBonus[i] -= def->primary[i] + masteryPrimary[i];
    std::fill(std::begin(masterySecondary), std::end(masterySecondary), 0);
    std::fill(std::begin(masteryPrimary), std::end(masteryPrimary), 0);
    // The hands as they are once this weapon has left its slot.
    Item* first = hero->FirstHand() == this ? nullptr : hero->FirstHand();
    Item* second = hero->SecondHand() == this ? nullptr : hero->SecondHand();
    const auto skilled = [hero](Item* held) {
        Weapon* weapon = HeldWeapon(held);
        return weapon == nullptr || hero->GetSkillLevel(weapon->MasterySkill()) > 0;
    };
    if (skilled(first) && skilled(second)) EraseBuffNamed(hero, "Bad Weapon!");
    if (HeldWeapon(first) == nullptr || HeldWeapon(second) == nullptr || hero->GetSkillLevel(kDualWieldSkill) > 0) {
        EraseBuffNamed(hero, kHandsFull);
    }
    hero->RecalculateStats();
    if (TutorialFlag) NotifyTutorial(10, def->name);
}

Sprite* Weapon::LevelBadge() const {
    if (isArtifact) return ItemBadges.artifact;
    const int32_t level = def != nullptr ? std::max(0, std::min(10, def->level)) : 0;
    return ItemBadges.level[level];
}

void Weapon::DrawLevelBadge(int32_t px, int32_t py) {
    DrawItemBadge(LevelBadge(), px, py);
}

bool Weapon::IsAutoPickupEnabled() const {
    const int32_t kind = Kind();
    const int32_t position = kind == kWeaponAmmunition ? 1 : kind == kWeaponThrowing ? 7 : 10;
    return AutoLootSwitches[position] != 0;
}
