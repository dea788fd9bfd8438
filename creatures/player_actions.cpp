// The hero's smaller actions: acting on a square, the unarmed attack sound, the creature
// forms of a polymorph and the relinking of summoned creatures after a load.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/event_log.h"
#include "core/random.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "items_fixtures/crafting.h"
#include "creatures/skill_db.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/skill_item.h"
#include "levels/level.h"
#include "media/sprite.h"

namespace {

// A sprite of the form's record; null for an empty name.
Sprite* FormSprite(const std::string& name) {
    if (name.empty()) return nullptr;
    return LoadHueSprite(name, -1);
}

}  // namespace

void Player::ActOnSquare(int32_t sx, int32_t sy) {
    if (CurrentLevel != nullptr) {
        // Copied: an activation may change the list.
        const std::vector<GameObj*> monsters = CurrentLevel->monsters;
        for (GameObj* obj : monsters) {
            if (obj == nullptr || obj->x != sx || obj->y != sy) continue;
            if (obj->Activate() != 0) return;
        }
    }
    PlayerSwingAt(sx, sy, "");
}

std::string Player::GetAttackSoundName() {
    const char* stem = female != 0 ? "unarmed_female" : "unarmed";
    const uint32_t number = MTRandomInt(3) + 1;
    char text[32];
    std::snprintf(text, sizeof(text), "%s%u", stem, number);
    return text;
}

void Player::StartPolymorph(const MonsterRecord* form) {
    if (isPolymorphed != 0) return;
    if (form == nullptr) {
        if (MonsterTable.empty()) return;
        form = MonsterTable[static_cast<size_t>(RandomInt(static_cast<int32_t>(MonsterTable.size())))];
        if (form == nullptr) return;
    }
    std::printf("Player polymorphed into a %s\n", form->name.c_str());
    LogEvent(("Player polymorphed into a " + form->name).c_str());
    isPolymorphed = 1;
    polymorphForm = form;
    LoadPolymorphAnimations();
    for (int32_t slot = 0; slot < kBeltSlotCount; ++slot) {
        stashedAbilitySlots[slot] = abilitySlots[slot];
        abilitySlots[slot] = nullptr;
    }
    // The form's own abilities: polymorph abilities of the hero's skills whose tag is the
    // form's display name, the name by which every polymorph finds its form.
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || !ability->polymorphedOnly || ability->polymorphTag != form->displayName) continue;
        if (!PlayerHasAbilityLevel(ability) || ability->spell == nullptr) continue;
        for (Item*& slot : abilitySlots) {
            if (slot != nullptr) continue;
            slot = new SkillItem(ability);
            break;
        }
    }
}

void Player::EndPolymorph() {
    std::printf("Player restored from polymorph\n");
    LogEvent("Player restored from polymorph");
    LoadAnimations(this);
    isPolymorphed = 0;
    polymorphForm = nullptr;
    SelectedSkillItem = nullptr;
    SelectedAbility = nullptr;
    for (int32_t slot = 0; slot < kBeltSlotCount; ++slot) {
        if (ActiveItem == abilitySlots[slot]) ActiveItem = nullptr;
        delete abilitySlots[slot];
        abilitySlots[slot] = stashedAbilitySlots[slot];
        stashedAbilitySlots[slot] = nullptr;
    }
    const int32_t square = CurrentLevel != nullptr ? CurrentLevel->SquareKind(x, y) : -1;
    if (square == SquareType::Water || square == SquareType::Lava || square == SquareType::Goo) {
        deathCause = female != 0 ? "by suddenly regaining her human form and drowning"
                                 : "by suddenly regaining his human form and drowning";
        Drown();
    }
}

void Player::LoadPolymorphAnimations() {
    const MonsterRecord* form = polymorphForm;
    if (form == nullptr) return;
    // Record directions: idle right, left, up, down; hits left, right, up, down; attacks up,
    // right, down, left.
    Sprite* idleUp = FormSprite(form->idleSprite[2]);
    Sprite* idleDown = FormSprite(form->idleSprite[3]);
    Sprite* idleLeft = FormSprite(form->idleSprite[1]);
    Sprite* idleRight = FormSprite(form->idleSprite[0]);
    heroAnimations[kHeroIdleUp] = heroAnimations[kHeroWalkUp] = idleUp;
    heroAnimations[kHeroIdleDown] = heroAnimations[kHeroWalkDown] = idleDown;
    heroAnimations[kHeroIdleLeft] = heroAnimations[kHeroWalkLeft] = idleLeft;
    heroAnimations[kHeroIdleRight] = heroAnimations[kHeroWalkRight] = idleRight;
    heroAnimations[kHeroHitLeft] = FormSprite(form->hitSprite[0]);
    heroAnimations[kHeroHitRight] = FormSprite(form->hitSprite[1]);
    heroAnimations[kHeroHitUp] = FormSprite(form->hitSprite[2]);
    heroAnimations[kHeroHitDown] = FormSprite(form->hitSprite[3]);
    Sprite* attackBack = FormSprite(form->attackSprite[0]);
    Sprite* attackRight = FormSprite(form->attackSprite[1]);
    Sprite* attackFront = FormSprite(form->attackSprite[2]);
    Sprite* attackLeft = FormSprite(form->attackSprite[3]);
    for (int32_t group = 0; group < kHeroWeaponGroups; ++group) {
        heroAnimations[HeroAttackAnim(group, 0)] = attackLeft;
        heroAnimations[HeroAttackAnim(group, 1)] = attackRight;
        heroAnimations[HeroAttackAnim(group, 2)] = attackFront;
        heroAnimations[HeroAttackAnim(group, 3)] = attackBack;
    }
    Sprite* cast = FormSprite(form->castSpellSprite);
    for (HeroAnim anim : {kHeroCastDown, kHeroCastUp, kHeroCastLeft, kHeroCastRight, kHeroWandWaveL,
                          kHeroWandWaveR, kHeroReadScroll}) {
        heroAnimations[anim] = cast;
    }
    Sprite* death = FormSprite(form->dieSprite);
    for (HeroAnim anim : {kHeroDieR, kHeroDieL, kHeroPoisonR, kHeroPoisonL, kHeroDisintegratedL,
                          kHeroDisintegratedR}) {
        heroAnimations[anim] = death;
    }
    heroAnimations[kHeroEat] = FormSprite(form->eatSprite);
    heroAnimations[kHeroDrink] = FormSprite(form->drinkSprite);
    heroAnimations[kHeroVanishR] = FormSprite(form->vanishSprite);
    heroAnimations[kHeroLongIdle] = FormSprite(form->longidleSprite);
    heroAnimations[kHeroSleep] = idleDown;
    heroAnimations[kHeroLevelUp] = FormSprite(female != 0 ? form->levelupFSprite : form->levelupMSprite);
    SetIdleAnimation();
}

void Player::RefreshCraftableRecipes() {
    RebuildCraftableRecipes(this);
}

void RelinkPlayerSummons() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || CurrentLevel == nullptr) return;
    for (GameObj* obj : CurrentLevel->monsters) {
        Monster* monster = dynamic_cast<Monster*>(obj);
        if (monster == nullptr || !monster->charmedByHero) continue;
        std::vector<Monster*>& summoned = hero->summonedCreatures;
        if (std::find(summoned.begin(), summoned.end(), monster) == summoned.end()) summoned.push_back(monster);
    }
}
