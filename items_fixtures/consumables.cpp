// Eating, drinking and zapping: Food, Potion, Mushroom and Wand uses.
#include <algorithm>
#include <string>

#include "creatures/combat.h"
#include "creatures/shopkeeper.h"
#include "creatures/skill_db.h"
#include "creatures/ability.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_kinds.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/sound.h"
#include "media/ticker.h"
#include "store_platform/stats.h"

ItemDialogFn ShowItemDialog = ShowDialog;

namespace {

constexpr int32_t kVampireSkill = 13;

Player* HeroOf(GameObj* obj) {
    return obj != nullptr && static_cast<GameObj*>(CurrentPlayer) == obj ? CurrentPlayer : nullptr;
}

// The shopkeeper the target is on the current level, or null.
Shopkeeper* ShopkeeperOf(GameObj* target) {
    if (target == nullptr || CurrentLevel == nullptr) return nullptr;
    const std::vector<GameObj*>& keepers = CurrentLevel->shopkeepers;
    if (std::find(keepers.begin(), keepers.end(), target) == keepers.end()) return nullptr;
    return dynamic_cast<Shopkeeper*>(target);
}

bool IsPeacefulShopkeeper(GameObj* target) {
    Shopkeeper* keeper = ShopkeeperOf(target);
    return keeper != nullptr && keeper->hostile == 0;
}

// One item of the stack is used up; the last one leaves the pack and belt and is deleted.
void UseUpOne(Item* item) {
    if (item->count >= 2) {
        --item->count;
        return;
    }
    RemoveItemFromGrid(item);
    RemoveItemFromQuickbar(item);
    ForgetCursorItem(item);
    item->count = 0;
    QueueObjectDeletion(item);
}

void PlayHeroAnimation(Player* hero, int32_t anim) {
    if (hero == nullptr) return;
    hero->PlayAnimationToEnd(hero->heroAnimations[anim]);
    hero->SetIdleAnimation();
}

void CastFromHero(Spell* spell, GameObj* target) {
    Player* hero = CurrentPlayer;
    if (spell == nullptr || hero == nullptr) return;
    const int32_t tx = target != nullptr ? target->x : hero->x;
    const int32_t ty = target != nullptr ? target->y : hero->y;
    CastSpell(spell, hero->x, hero->y, tx, ty, hero, false, true);
}

}  // namespace

// Food --------------------------------------------------------------------------------------

const char* Food::GetUseText() {
    return IsBooze() ? "Drink Booze To Slowly Restore Mana" : "Eat Food To Slowly Restore Health";
}

int32_t Food::Use() { return UseOn(CurrentPlayer, CurrentPlayer); }

int32_t Food::UseOn(GameObj* target, GameObj* user) {
    if (unpaid != 0) {
        ShowItemDialog("Hey, whaddaya think this is, a deli? Pay for your food before eating it!", "ui/dialog_but_ok",
                       nullptr);
        return 1;
    }
    Player* hero = HeroOf(target);
    const bool booze = IsBooze();
    const std::string name = def != nullptr ? def->name : std::string();
    if (hero != nullptr && HeroOf(user) == hero && !booze && hero->GetSkillLevel(kVampireSkill) > 0) {
        ShowItemDialog(name.find("Cheese") != std::string::npos
                           ? "You crave the blood of innocents, not this processed cheese of mortals!"
                           : "You crave the blood of innocents, not this food of mortals!",
                       "ui/dialog_but_ok", nullptr);
        return 0;
    }
    const int32_t hp = def != nullptr ? def->hp : 0;
    const int32_t mp = def != nullptr ? def->mp : 0;
    if (target != nullptr && target->IsMonster() != 0) {
        if (IsPeacefulShopkeeper(target)) return 0;
        PlaySFX(booze ? "drink" : "eat");
        Hittable* fed = dynamic_cast<Hittable*>(target);
        if (fed != nullptr) {
            fed->foodRegenLeft += hp;
            fed->boozeRegenLeft += mp;
        }
        UseUpOne(this);
        return 1;
    }
    if (hero == nullptr) return 0;
    PlaySFX(booze ? "drink" : "eat");
    PlayHeroAnimation(hero, booze ? kHeroDrink : kHeroEat);
    hero->foodRegenLeft += hp;
    hero->boozeRegenLeft += mp;
    if (mp > 0) ApplyOnHitEffects(hero, hero, HitHook::Booze);
    if (hp > 0) ApplyOnHitEffects(hero, hero, HitHook::Food);
    ApplyOnHitEffects(hero, hero, HitHook::Consumable);
    if (CurrentTutorial != nullptr) NotifyTutorial(3, name);
    if (name == "Diggle Egg") {
        AddToStat("STAT_DIGGLE_EGGS_EATEN", 1);
        if (GetStatInt("STAT_DIGGLE_EGGS_EATEN") == 100) AwardAchievement("ACHIEVEMENT_HIGH_CHOLESTEROL");
    } else if (name == "Deep Omelette") {
        AddToStat("STAT_DEEP_OMELETTES_EATEN", 1);
        if (GetStatInt("STAT_DEEP_OMELETTES_EATEN") == 100) AwardAchievement("ACHIEVEMENT_MONSTERS_WITH_OMELETTES");
    } else if (name == "Root of T'Char") {
        AwardAchievement("ACHIEVEMENT_ROOT_OF_TCHAR");
    } else if (name == "Lutefisk") {
        AwardAchievement("ACHIEVEMENT_LUTEFISK");
    }
    if (def != nullptr && def->meat) {
        for (const AbilityRecord* ability : AbilityList) {
            if (ability != nullptr && ability->veganism && PlayerHasAbilityLevel(ability)) {
                CastFromHero(spellDBFindByName("Fallen Vegan"), hero);
            }
        }
    }
    if (def != nullptr && def->spell != nullptr) CastFromHero(def->spell, target);
    UseUpOne(this);
    return 1;
}

// Potion ------------------------------------------------------------------------------------

const char* Potion::GetUseText() { return "Drink Potion"; }

std::string Potion::GetGameplayInfo() const { return std::string(); }

int32_t Potion::Use() {
    UseOn(CurrentPlayer, CurrentPlayer);
    return 1;
}

int32_t Potion::UseOn(GameObj* target, GameObj* user) {
    if (target == nullptr || !target->IsHittable()) return 0;
    if (IsPeacefulShopkeeper(target)) return 0;
    Player* hero = HeroOf(target);
    if (hero != nullptr) {
        if (unpaid != 0) {
            ShowItemDialog("Hey, whaddaya think this is, an open bar? Pay for your potion before you drink it!",
                           "ui/dialog_but_ok", nullptr);
            return 0;
        }
        PlaySFX("drink");
        PlayHeroAnimation(hero, kHeroDrink);
        SetItemTypeKnown(this);
        if (def != nullptr && def->spell != nullptr) {
            Hittable* caster = dynamic_cast<Hittable*>(user);
            CastSpell(def->spell, hero->x, hero->y, target->x, target->y, caster != nullptr ? caster : hero, false, true);
        }
    }
    if (CurrentPlayer != nullptr) {
        CurrentPlayer->bob.loop = true;
        CurrentPlayer->SetIdleAnimation();
    }
    UseUpOne(this);
    if (CurrentTutorial != nullptr) NotifyTutorial(13, 0);
    return 1;
}

// Mushroom ----------------------------------------------------------------------------------

int32_t Mushroom::Use() { return UseOn(CurrentPlayer, CurrentPlayer); }

int32_t Mushroom::UseOn(GameObj* target, GameObj*) {
    Player* hero = HeroOf(target);
    // Offered to anyone else it is neither eaten nor spent (the turn still passes).
    if (hero == nullptr) return 1;
    if (unpaid != 0) {
        ShowItemDialog("Hey, whaddaya think this is, a deli? Pay for your food before eating it!", "ui/dialog_but_ok",
                       nullptr);
        return 0;
    }
    PlaySFX("eat");
    PlayHeroAnimation(hero, kHeroEat);
    Spell* spell = def != nullptr ? def->spell : nullptr;
    UseUpOne(this);
    CastFromHero(spell, target);
    return 1;
}

// Wand --------------------------------------------------------------------------------------

int32_t Wand::Use() {
    ActiveItem = this;
    SelectedAbility = nullptr;
    SelectedSkillItem = nullptr;
    if (CurrentTutorial != nullptr) NotifyTutorial(4, def != nullptr ? def->name : std::string());
    return 0;
}

int32_t Wand::UseOn(GameObj* target, GameObj* user) {
    if (target == nullptr) return 0;
    return Zap(target->x, target->y, target, user, false);
}

int32_t Wand::UseAtSquare(int32_t sx, int32_t sy, GameObj* user) { return Zap(sx, sy, nullptr, user, true); }

int32_t Wand::Zap(int32_t tx, int32_t ty, GameObj* target, GameObj* user, bool atSquare) {
    const bool unlimited = IsUnlimited();
    if (charges <= 0 && (atSquare || !unlimited)) return 0;
    if (!atSquare && ShopkeeperOf(target) != nullptr) return target->UseItemOn(this);
    if (unpaid != 0) {
        ShowItemDialog("Hey, it's a store not a firing range - buy before you try... and all sales are final!",
                       "ui/dialog_but_ok", nullptr);
        return 0;
    }
    Player* hero = HeroOf(user);
    if (hero != nullptr) {
        hero->facing = tx - hero->x < 1 ? 1 : 3;
        hero->PlayAnimationToEnd(hero->heroAnimations[hero->facing == 1 ? kHeroWandWaveL : kHeroWandWaveR]);
        SetItemTypeKnown(this);
        Spell* spell = def != nullptr ? def->spell : nullptr;
        if (spell != nullptr) {
            if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
            CastSpell(spell, hero->x, hero->y, tx, ty, hero, false, true);
        }
    }
    if (CurrentPlayer != nullptr) {
        CurrentPlayer->bob.loop = true;
        CurrentPlayer->SetIdleAnimation();
        RemovePlayerInvisibility();
    }
    if (unlimited && !atSquare) return 1;
    --charges;
    if (charges > 0) return 1;
    AddText("The wand burns out!", true);
    RemoveItemFromGrid(this);
    RemoveItemFromQuickbar(this);
    QueueObjectDeletion(this);
    // Without a burnt-out kind in the database nothing is left behind.
    Item* husk = CreateItemByName("Burnt Out Wand");
    if (husk != nullptr && !AddItemToInventory(husk, 0)) {
        if (CurrentPlayer != nullptr && CurrentLevel != nullptr) {
            DropItemToFloor(husk, CurrentPlayer->x, CurrentPlayer->y);
        } else {
            delete husk;
        }
    }
    return 1;
}
