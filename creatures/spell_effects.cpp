// The effects of one spell on one square: its mines, then one action per effect kind.
#include <cmath>
#include <cstdio>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "core/tweak.h"
#include "creatures/combat.h"
#include "creatures/combat_feedback.h"
#include "creatures/hittable.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "creatures/spell_item_effects.h"
#include "items_fixtures/anvil.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/ring_of_protection.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/spell_clouds.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/seen_stamp.h"
#include "levels/object_queue.h"
#include "levels/tile_effects.h"
#include "media/bob.h"
#include "media/effect_animation.h"
#include "media/sound.h"
#include "media/ticker.h"

namespace {

// Effect kind codes.
enum : int32_t {
    kDamage = 0, kCharm = 1, kHeal = 2, kHealF = 3, kBlink = 4, kTeleport = 5, kUncurse = 6, kCorrupt = 7,
    kParalyze = 9, kRoot = 10, kConfuse = 11, kDestroyObject = 12, kSummon = 13, kRing = 14, kCreate = 15,
    kSpawn = 16, kKnock = 17, kSuction = 20, kLockdown = 21, kRift = 22, kPacify = 23, kSleep = 24, kSlow = 25,
    kOil = 26, kResurrection = 27, kDig = 28, kMagicMapping = 29, kRechargeAnvil = 30, kRandomizeWand = 32,
    kSacrificeArtifact = 33, kRandomizeArtifact = 34, kStealItem = 35, kSpellPoints = 37, kBleed = 38,
    kDrain = 39, kDrainMana = 40, kDrainCasterMana = 41, kKill = 42, kDot = 43, kTrigger = 44, kBlind = 45,
    kGrantXp = 46, kRogueSkill = 48, kTargetBlink = 49, kPolymorph = 50, kFear = 53, kDisplace = 54, kShout = 55,
    kSpawnItemAtLocation = 56, kRemoveInvisibility = 57, kCleanseArtifact = 58, kSpawnItemFromList = 59,
    kTriggerFromList = 60, kRemoveBuffByName = 61, kSummonHostile = 62, kConsumeFood = 64, kConsumeBooze = 65,
};

// What one call works on; an action may move the target square (summon) or end the call.
struct EffectCall {
    Spell* spell;
    int32_t x, y;
    Hittable* caster;  // never null while a hero exists: a null caster is the hero
    Item* targetItem;
    const char* cause;
    bool isDirectCast;
    bool wallOpened = false;
    bool stop = false;
};

Level* Lvl() { return CurrentLevel; }

bool IsHero(const GameObj* obj) { return obj != nullptr && obj == static_cast<GameObj*>(CurrentPlayer); }

Monster* AsMonster(GameObj* obj) {
    return obj != nullptr && obj->IsMonster() != 0 ? static_cast<Monster*>(obj) : nullptr;
}

bool PassesTaxa(const SpellEffect& e, GameObj* obj) {
    Monster* monster = AsMonster(obj);
    return monster == nullptr || MonsterMatchesTaxa(e.taxa, monster);
}

// The resistance roll of resistable effects: 1 when the effect takes hold.
bool TakesHold(const SpellEffect& e, Hittable* target) {
    return !e.resistable || RollSpellResistanceHalf(target) != 0;
}

void Impact(const Spell* spell, int32_t x, int32_t y) {
    if (spell->impactFrames <= 0) return;
    PlayEffectAtTile(x, y, spell->impactSprite.c_str(), spell->impactFrames, spell->impactFramerate,
                     spell->impactCenterEffect != 0, false);
}

// The objects on the square, copied: actions may move or queue them.
std::vector<GameObj*> ObjectsAt(int32_t x, int32_t y) {
    const LevelCell* cell = Lvl() != nullptr ? Lvl()->GetCell(x, y) : nullptr;
    return cell != nullptr ? cell->contents : std::vector<GameObj*>();
}

std::vector<Monster*> MonstersAt(int32_t x, int32_t y) {
    std::vector<Monster*> found;
    if (Lvl() == nullptr) return found;
    for (GameObj* obj : Lvl()->monsters) {
        if (obj != nullptr && obj->x == x && obj->y == y) found.push_back(static_cast<Monster*>(obj));
    }
    return found;
}

bool ExcludedCaster(const SpellEffect& e, const EffectCall& c, const GameObj* obj) {
    return e.affectscaster == 0 && obj == static_cast<GameObj*>(c.caster);
}

int32_t ScaleValue(const SpellEffect& e, const Hittable* who) {
    if (who == nullptr) return 0;
    if (e.primaryScale != -1) {
        return e.primaryScale >= 0 && e.primaryScale < kPrimaryStatCount ? who->primary[e.primaryScale] : 0;
    }
    return e.secondaryScale >= 0 && e.secondaryScale < kSecondaryStatCount ? who->stat[e.secondaryScale] : 0;
}

// value + amountF x scale, truncated after the sum.
int32_t AddScaled(int32_t value, const SpellEffect& e, const Hittable* who) {
    return static_cast<int32_t>(static_cast<float>(value) + e.amountF * static_cast<float>(ScaleValue(e, who)));
}

void RemoveAndDeleteBuffs(Hittable* target, bool (*pick)(const Buff*)) {
    std::vector<Buff*> kept;
    std::vector<Buff*> dropped;
    for (Buff* buff : target->buffs) (buff != nullptr && pick(buff) ? dropped : kept).push_back(buff);
    for (Buff* buff : dropped) target->RemoveBuff(buff);
    target->buffs.swap(kept);
    // A buff granted by an item stays with the item.
    for (Buff* buff : dropped) {
        if (!(buff->fromItem && buff->item != nullptr)) delete buff;
    }
}

// A random square within five of (cx, cy) that the test accepts, up to 10 tries.
template <typename Test>
bool RandomNearbySquare(int32_t cx, int32_t cy, Test accepts, int32_t* outX, int32_t* outY) {
    for (int32_t i = 0; i < 10; ++i) {
        const int32_t dx = RandomInt(11) - 5;
        const int32_t dy = RandomInt(11) - 5;
        if (accepts(cx + dx, cy + dy)) {
            *outX = cx + dx;
            *outY = cy + dy;
            return true;
        }
    }
    return false;
}

void HeroJumpsTo(Player* hero, int32_t x, int32_t y) {
    PlayBobToEnd(&hero->bob, hero->heroAnimations[kHeroVanishR]);
    FlushInput();
    hero->InterruptWalk();
    hero->PlaceOnLevel(x, y, Lvl(), 0);
    hero->SetIdleAnimation();
}

bool FreeForHero(Player* hero, int32_t x, int32_t y) {
    return Lvl()->IsInside(x, y) && Lvl()->IsSquarePassable(hero, x, y) && !Lvl()->IsSquareBlocked(x, y, false, true);
}

// ---- the actions -----------------------------------------------------------------------

void PlaceProtectionRing(const SpellEffect& e, EffectCall& c) {
    Player* hero = CurrentPlayer;
    Level* level = Lvl();
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            const int32_t px = c.x + dx;
            const int32_t py = c.y + dy;
            if (!level->IsInside(px, py) || !level->IsSquarePassable(hero, px, py)) continue;
            GameObj* piece = new RingOfProtection(level, e.turns, dx, dy);
            piece->PlaceOnLevel(px, py, level, 0);
        }
    }
}

void DoDamage(const SpellEffect& e, EffectCall& c) {
    Level* level = Lvl();
    LevelCell* cell = level->GetCell(c.x, c.y);
    if (cell != nullptr && cell->type == SquareType::Wall && cell->HasFlag(SquareFlag::MarkedWall)) {
        Impact(c.spell, c.x, c.y);
        cell->type = SquareType::Floor;
        c.wallOpened = true;
    }
    const int32_t t = c.spell->targetType;
    const bool singleTarget = t == SpellTarget::Target || t == SpellTarget::TargetFloor || t == SpellTarget::TargetZombie;
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || ExcludedCaster(e, c, obj)) continue;
        std::printf("attempting to damage object: \n");
        if (!obj->IsHittable()) {
            obj->Shatter();
            continue;
        }
        Hittable* target = static_cast<Hittable*>(obj);
        Monster* monster = AsMonster(obj);
        if (!IsHero(obj) && (monster == nullptr || !MonsterMatchesTaxa(e.taxa, monster) || monster->dead != 0)) {
            continue;
        }
        Impact(c.spell, c.x, c.y);
        if (e.isSleeping && monster != nullptr && monster->sleepTurns < 1) continue;
        if (e.burn) {
            target->isBurning = true;
            target->burnTurns += RandomInt(5) + 2;
        }
        if (c.spell->attack) {
            // A striking spell: one strike of the caster with the effect's damage.
            if (c.caster != nullptr) ResolveSpellStrike(c.caster, target, e.damageAmounts);
            continue;
        }
        const int32_t before = target->health;
        ResolveSpellDamage(c.caster, target, e.damageAmounts, e.damageAmountsF, singleTarget, c.cause,
                           e.primaryScale, e.secondaryScale);
        const int32_t lost = before - target->health;
        if (e.midas && lost > 0) {
            const int32_t worth = static_cast<int32_t>(GetTweakFloat("midas scaler") * static_cast<float>(lost));
            Item* pile = new Zorkmids(worth);
            QueueObjectMove(pile, target->x, target->y, level);
            PlaySFX("money_get");
        }
    }
}

void DoHeal(const SpellEffect& e, EffectCall& c, bool withAmount) {
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || !obj->IsHittable()) continue;
        Hittable* target = static_cast<Hittable*>(obj);
        if (target->health <= 0) continue;
        int32_t health = target->health;
        if (withAmount) {
            health += e.amount;
            if (e.amountF > 0.0f) health = AddScaled(health, e, c.caster);
        } else {
            health = AddScaled(health, e, c.caster);
        }
        target->health = std::min(health, target->stat[kStatLife]);
    }
}

void DoStun(const SpellEffect& e, EffectCall& c) {
    if (e.self != 0) {
        if (c.caster != nullptr) c.caster->AddStunTurns(e.amount);
        return;
    }
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || ExcludedCaster(e, c, obj) || !PassesTaxa(e, obj)) continue;
        if (!obj->CanBeStunned()) continue;
        if (e.amount != 0 && !MTOneChanceIn(static_cast<uint32_t>(e.amount))) continue;
        if (!obj->IsHittable()) continue;
        if (!TakesHold(e, static_cast<Hittable*>(obj))) continue;
        Impact(c.spell, c.x, c.y);
        obj->AddStunTurns(e.turns);
    }
}

Monster* PlaceNewMonster(const SpellEffect& e, EffectCall& c) {
    MonsterRecord* record = monDBFindByName(e.monsterType.c_str());
    if (record == nullptr) return nullptr;
    Level* level = Lvl();
    if (level->IsSquareBlocked(c.x, c.y, false, true) && SpellLevel.findOpenSquareNear != nullptr) {
        int32_t nx = c.x;
        int32_t ny = c.y;
        if (SpellLevel.findOpenSquareNear(&nx, &ny, c.x, c.y, level) != 0) {
            c.x = nx;
            c.y = ny;
        }
    }
    Monster* monster = new Monster(record);
    monster->PlaceOnLevel(c.x, c.y, level, 0);
    return monster;
}

void DoSummon(const SpellEffect& e, EffectCall& c, bool hostile) {
    Monster* monster = PlaceNewMonster(e, c);
    Player* hero = CurrentPlayer;
    if (monster == nullptr || hostile || hero == nullptr || !IsHero(c.caster)) return;
    monster->charmedByHero = true;
    monster->tame = true;
    if (static_cast<int32_t>(hero->summonedCreatures.size()) > e.amount) {
        const std::vector<Monster*> old = hero->summonedCreatures;
        for (Monster* summoned : old) QueueObjectDeletion(summoned);
        hero->summonedCreatures.clear();
    }
    hero->summonedCreatures.push_back(monster);
}

Item* MakeStack(const char* name, int32_t count) {
    Item* item = CreateItemByName(name);
    if (item != nullptr && count > 1) item->count = count;
    return item;
}

void DoSpawn(const SpellEffect& e, EffectCall& c) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    const std::string& name = e.name;
    const ItemDef* def = FindItemDefByName(name);
    if (def != nullptr && def->category == kItemWeapon) {
        Item* weapon = MakeStack(name.c_str(), e.amount);
        if (weapon == nullptr) return;
        if (GetWeaponClass(def->itemClass) == 5) {
            for (Item*& slot : hero->quickSlots) {
                if (slot == nullptr) {
                    slot = weapon;
                    return;
                }
            }
        }
        PutItemInBag(weapon);
        return;
    }
    if (def != nullptr && def->category == kItemPotion) {
        if (Item* potion = CreateItemByName(name)) PutItemInBag(potion);
        return;
    }
    if (name == "Mushroom Spores") {
        const int32_t stack = hero->GetSkillLevel(28) * e.amount;
        if (stack <= 0) return;
        Item* spores = new Misc(1);
        spores->count = stack;
        PutItemInBag(spores);
        return;
    }
    if (name == "Dwarven Landmine" || name == "Hairtrigger Bramblebox" || name == "Lethean Mist-Sprayer") return;
    Item* made = nullptr;
    if (name == "Lockpick") {
        if (e.amount > 0) {
            made = new Misc(0);
            made->count = e.amount;
        }
    } else if (name == "randomring") {
        if (const ItemDef* ring = RandomJewelleryDef()) made = CreateItem(ring);
    } else if (name == "randomgem") {
        if (const ItemDef* gem = RandomGemDef()) made = CreateItem(gem);
        if (made != nullptr && e.amount > 1) made->count = e.amount;
    } else if (name == "randommushroom") {
        if (const ItemDef* mushroom = RandomMushroomDef()) made = CreateItem(mushroom);
        if (made != nullptr && e.amount > 1) made->count = e.amount;
    }
    // A name that matches nothing makes nothing, and the item on the pointer stays there.
    if (made == nullptr) return;
    if (c.targetItem != nullptr) {
        made->count = c.targetItem->count;
        RemoveItemFromGrid(c.targetItem);
        RemoveItemFromQuickbar(c.targetItem);
        QueueObjectDeletion(c.targetItem);
    }
    PutItemInBag(made);
}

void DoKnock(const SpellEffect& e, EffectCall& c) {
    Hittable* caster = c.caster;
    if (caster == nullptr) return;
    const float dx = static_cast<float>(c.x - caster->x);
    const float dy = static_cast<float>(c.y - caster->y);
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) return;
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || !obj->IsMovable()) continue;
        if (Monster* monster = AsMonster(obj)) {
            if (!e.resistable || !TakesHold(e, monster) || !MonsterMatchesTaxa(e.taxa, monster)) continue;
        }
        for (int32_t i = 0; i < 10; ++i) {
            const float distance = static_cast<float>(RandomInt(3) + 1);
            const int32_t nx = c.x + static_cast<int32_t>(std::ceil(dx / length * distance));
            const int32_t ny = c.y + static_cast<int32_t>(std::ceil(dy / length * distance));
            if ((nx != c.x || ny != c.y) && Lvl()->IsSquarePassable(obj, nx, ny)) {
                QueueObjectMove(obj, nx, ny, Lvl());
                break;
            }
        }
    }
}

void DoSuction(const SpellEffect& e, EffectCall& c) {
    Hittable* caster = c.caster;
    if (caster == nullptr) return;
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        Monster* monster = AsMonster(obj);
        if (monster == nullptr || monster->dead != 0 || !MonsterMatchesTaxa(e.taxa, monster)) continue;
        static const int32_t kOffsets[4][2] = {{-1, -1}, {-1, 0}, {0, -1}, {0, 0}};
        for (const auto& offset : kOffsets) {
            const int32_t nx = caster->x + offset[0];
            const int32_t ny = caster->y + offset[1];
            if (Lvl()->IsSquarePassable(monster, nx, ny)) {
                monster->PlaceOnLevel(nx, ny, Lvl(), 0);
                break;
            }
        }
        return;
    }
}

// Monster on the square passing the taxa test (and, when asked, the resistance roll).
template <typename Act>
void ForMonstersAt(const SpellEffect& e, EffectCall& c, bool roll, Act act) {
    for (Monster* monster : MonstersAt(c.x, c.y)) {
        if (!MonsterMatchesTaxa(e.taxa, monster)) continue;
        if (roll && !TakesHold(e, monster)) continue;
        act(monster);
    }
}

void DoSleep(const SpellEffect& e, EffectCall& c) {
    for (Monster* monster : MonstersAt(c.x, c.y)) {
        if (!MonsterMatchesTaxa(e.taxa, monster)) continue;
        if (!TakesHold(e, monster)) {
            c.stop = true;
            return;
        }
        monster->statusFlags |= Monster::kStatusAsleep;
        monster->sleepTurns = 10 + RandomInt(10);
    }
}

void DoDrain(const SpellEffect& e, EffectCall& c) {
    Hittable* caster = c.caster;
    // A drain first takes the hero's first timed buff that carries the run-time mark, and
    // its modifiers with it.
    if (Player* hero = CurrentPlayer) {
        for (size_t i = 0; i < hero->buffs.size(); ++i) {
            Buff* buff = hero->buffs[i];
            if (buff == nullptr || buff->turnsLeft == 0 || !buff->extraFlag2) continue;
            hero->RemoveBuff(buff);
            // RemoveBuff may sort the list again: erase the buff itself, not the position.
            hero->buffs.erase(std::find(hero->buffs.begin(), hero->buffs.end(), buff));
            delete buff;
            break;
        }
    }
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || !obj->IsHittable() || ExcludedCaster(e, c, obj)) continue;
        Hittable* target = static_cast<Hittable*>(obj);
        Monster* monster = AsMonster(obj);
        if (target->health <= 0 || (monster != nullptr && (!MonsterMatchesTaxa(e.taxa, monster) || monster->dead != 0))) {
            continue;
        }
        Impact(c.spell, c.x, c.y);
        const int32_t before = target->health;
        ResolveSpellDamage(caster, target, e.damageAmounts, e.damageAmountsF, true, nullptr, e.primaryScale,
                           e.secondaryScale);
        const int32_t lost = before - target->health;
        if (caster != nullptr && lost > 0) caster->health = std::min(caster->health + lost, caster->stat[kStatLife]);
    }
}

int32_t PercentOfMaximumMana(const SpellEffect& e, const Hittable* who) {
    const double v = static_cast<double>(e.amount) / 100.0 * static_cast<double>(who->stat[kStatMana]);
    return std::min(static_cast<int32_t>(v), who->mana);
}

void AddTrigger(Hittable* target, Spell* spell, Hittable* caster, int32_t turns, int32_t chance, bool repeats) {
    SpellTrigger trigger;
    trigger.spell = spell;
    trigger.caster = caster;
    trigger.turnsLeft = turns;
    trigger.chance = chance;
    trigger.repeats = repeats;
    target->spellTriggers.push_back(trigger);
}

void DoTrigger(const SpellEffect& e, EffectCall& c, const std::string& spellName) {
    Spell* spell = spellDBFindByName(spellName.c_str());
    if (spell == nullptr) {
        c.stop = true;
        return;
    }
    if (e.amount == 0) {
        if (RandomInt(100) > e.percent) return;
        const int32_t fromX = c.caster != nullptr ? c.caster->x : c.x;
        const int32_t fromY = c.caster != nullptr ? c.caster->y : c.y;
        CastSpell(spell, fromX, fromY, c.x, c.y, c.caster, false, true);
        return;
    }
    for (GameObj* obj : ObjectsAt(c.x, c.y)) {
        if (obj == nullptr || !obj->IsHittable() || !PassesTaxa(e, obj)) continue;
        Hittable* target = static_cast<Hittable*>(obj);
        if (target->health <= 0 && !e.affectsCorpses) continue;
        AddTrigger(target, spell, c.caster, e.amount, e.percent, false);
    }
}

void DoConsume(EffectCall& c, bool booze) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    std::vector<Item**> food;
    for (Item** place : CarriedPlaces()) {
        Item* item = *place;
        if (item == nullptr || item->type != kItemFood) continue;
        const bool isBooze = item->def != nullptr && item->def->booze.spell != nullptr;
        if (isBooze == booze) food.push_back(place);
    }
    if (food.empty()) return;
    Item** place = food[static_cast<size_t>(RandomInt(static_cast<int32_t>(food.size())))];
    Item* item = *place;
    const std::string itemName = item->GetItemName();
    item->count -= RandomInt(2) + 1;
    if (item->count <= 0) {
        *place = nullptr;
        RemoveItemFromGrid(item);
        delete item;
    }
    Monster* monster = AsMonster(c.caster);
    if (monster != nullptr) {
        const std::string name = monster->GetName();
        std::string who = name.empty() ? "Something " : (monster->isNamed ? name : "The " + name);
        AddText(who + (booze ? " drinks a " : " eats a ") + itemName + " from your inventory!", true);
    }
}

void RunAction(const SpellEffect& e, EffectCall& c) {
    Level* level = Lvl();
    Player* hero = CurrentPlayer;
    switch (e.kind) {
        case kDamage: DoDamage(e, c); break;
        case kCharm:
            ForMonstersAt(e, c, true, [&](Monster* m) {
                if (m->record != nullptr && m->record->cancharm) {
                    m->tame = true;
                    m->tameTurns = e.turns;
                }
            });
            break;
        case kHeal: DoHeal(e, c, true); break;
        case kHealF: DoHeal(e, c, false); break;
        case kBlink: {
            if (hero == nullptr) break;
            int32_t nx = 0;
            int32_t ny = 0;
            if (RandomNearbySquare(hero->x, hero->y, [&](int32_t x, int32_t y) { return FreeForHero(hero, x, y); },
                                   &nx, &ny)) {
                HeroJumpsTo(hero, nx, ny);
            }
            break;
        }
        case kTeleport:
            if (hero != nullptr && level->IsSquarePassable(hero, c.x, c.y)) {
                PlayBobToEnd(&hero->bob, hero->heroAnimations[kHeroVanishR]);
                hero->PlaceOnLevel(c.x, c.y, level, 0);
                hero->SetIdleAnimation();
            }
            break;
        case kUncurse:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable()) continue;
                Hittable* target = static_cast<Hittable*>(obj);
                RemoveAndDeleteBuffs(target, [](const Buff* b) { return b->bad; });
                target->spellTriggers.remove_if([](const SpellTrigger& t) { return t.repeats; });
            }
            break;
        case kParalyze:
        case kRoot: DoStun(e, c); break;
        case kConfuse:
            ForMonstersAt(e, c, true, [](Monster* m) {
                m->statusFlags |= Monster::kStatusConfused;
                int32_t turns = 5 + RandomInt(5);
                turns += RandomInt(5);
                turns += RandomInt(3);
                m->confusionTurns = turns;
            });
            break;
        case kDestroyObject:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj != nullptr) obj->Destroy();
            }
            break;
        case kSummon: DoSummon(e, c, false); break;
        case kSummonHostile: DoSummon(e, c, true); break;
        case kRing: PlaceProtectionRing(e, c); break;
        case kCreate: {
            if (!level->IsInside(c.x, c.y)) break;
            Blocker* blocker = new Blocker(level, e.turns, e.objectSprite.c_str());
            blocker->PlaceOnLevel(c.x, c.y, level, 0);
            break;
        }
        case kSpawn: DoSpawn(e, c); break;
        case kKnock: DoKnock(e, c); break;
        case kSuction: DoSuction(e, c); break;
        case kLockdown:
            ForMonstersAt(e, c, true, [&](Monster* m) {
                m->statusFlags |= Monster::kStatusLockedDown;
                m->lockdownTurns += e.amount;
            });
            break;
        case kPacify:
            ForMonstersAt(e, c, true, [&](Monster* m) {
                m->statusFlags |= Monster::kStatusPacified;
                m->pacifyTurns = e.amount;
            });
            break;
        case kSleep: DoSleep(e, c); break;
        case kSlow: ForMonstersAt(e, c, true, [](Monster* m) { m->statusFlags |= Monster::kStatusSlowed; }); break;
        case kOil: ForMonstersAt(e, c, false, [](Monster* m) { m->isOiled = true; }); break;
        case kResurrection:
            for (Monster* m : MonstersAt(c.x, c.y)) {
                if (m->dead == 0) continue;
                if (!level->IsSquareBlockedFor(c.x, c.y, m)) {
                    m->dead = 0;
                    m->active = 1;
                    m->health = m->stat[kStatLife];
                    UnqueueAnimations(&m->bob);
                    m->ResetAppearance();
                }
                break;
            }
            break;
        case kDig: {
            if (c.x <= 0 || c.y <= 0 || c.x >= level->width - 1 || c.y >= level->height - 1) break;
            LevelCell* cell = level->GetCell(c.x, c.y);
            if (cell->type != SquareType::Wall && cell->type != SquareType::Rock) break;
            cell->type = SquareType::Floor;
            LevelCell* above = level->GetCell(c.x, c.y - 1);
            if (above != nullptr && above->type == SquareType::Rock) above->type = SquareType::Wall;
            break;
        }
        case kMagicMapping:
            NoteLevelSeenChange(level);
            for (LevelCell& cell : level->squares) {
                if (e.amount == 0 || MTOneChanceIn(static_cast<uint32_t>(e.amount))) {
                    cell.flags |= SquareFlag::Explored | SquareFlag::Mapped;
                }
            }
            break;
        case kSpellPoints:
            if (hero != nullptr) {
                int32_t mana = hero->mana + e.amount;
                if (e.amountF > 0.0f) mana = AddScaled(mana, e, c.caster);
                hero->mana = std::min(mana, hero->stat[kStatMana]);
            }
            break;
        case kBleed:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable()) continue;
                Hittable* target = static_cast<Hittable*>(obj);
                if (AsMonster(obj) != nullptr && (!PassesTaxa(e, obj) || !TakesHold(e, target))) continue;
                target->isBleeding = true;
                target->bleedTurns += RandomInt(5) + 2;
            }
            break;
        case kDrain: DoDrain(e, c); break;
        case kDrainMana:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable() || !PassesTaxa(e, obj)) continue;
                Hittable* target = static_cast<Hittable*>(obj);
                if (!TakesHold(e, target)) continue;
                Impact(c.spell, c.x, c.y);
                const int32_t v = PercentOfMaximumMana(e, target);
                if (v > 0) {
                    target->mana -= v;
                    if (c.caster != nullptr) c.caster->mana += v;
                }
            }
            break;
        case kDrainCasterMana:
            if (c.caster != nullptr) {
                c.caster->mana -= PercentOfMaximumMana(e, c.caster);
                c.caster->mana = std::max(0, std::min(c.caster->mana, c.caster->stat[kStatMana]));
            }
            break;
        case kKill:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj != nullptr && !ExcludedCaster(e, c, obj)) Impact(c.spell, c.x, c.y);
            }
            break;
        case kDot: {
            Spell* spell = spellDBFindByName(e.spell.c_str());
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable() || !PassesTaxa(e, obj)) continue;
                Hittable* target = static_cast<Hittable*>(obj);
                if (!TakesHold(e, target)) continue;
                AddTrigger(target, spell, c.caster, e.amount, e.percent, true);
            }
            break;
        }
        case kTrigger: DoTrigger(e, c, e.spell); break;
        case kTriggerFromList:
            if (!e.options.empty()) {
                const int32_t pick = RandomInt(static_cast<int32_t>(e.options.size()));
                DoTrigger(e, c, e.options[static_cast<size_t>(pick)]);
            }
            break;
        case kBlind:
            for (Monster* m : MonstersAt(c.x, c.y)) {
                if (!TakesHold(e, m)) continue;
                m->blindSight = e.amount;
                m->blindTurns = e.turns;
            }
            break;
        case kGrantXp:
            if (hero != nullptr) hero->AddExperience(e.amount, 0);
            break;
        case kRogueSkill:
            if (hero != nullptr) hero->AddExperience(3, 0);
            break;
        case kTargetBlink: {
            Hittable* caster = c.caster;
            if (caster == nullptr) break;
            int32_t nx = 0;
            int32_t ny = 0;
            auto free = [&](int32_t x, int32_t y) {
                return level->IsInside(x, y) && level->IsSquarePassable(caster, x, y) &&
                       !level->IsSquareBlocked(x, y, false, true);
            };
            if (RandomNearbySquare(caster->x, caster->y, free, &nx, &ny)) caster->PlaceOnLevel(nx, ny, level, 0);
            break;
        }
        case kFear:
            ForMonstersAt(e, c, false, [&](Monster* m) {
                m->statusFlags |= Monster::kStatusAfraid;
                m->fearTurns += e.amount;
            });
            break;
        case kDisplace:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable() || !PassesTaxa(e, obj)) continue;
                const bool isHero = IsHero(obj);
                auto free = [&](int32_t x, int32_t y) {
                    if (!level->IsInside(x, y) || level->IsSquareBlocked(x, y, false, true)) return false;
                    return isHero ? level->IsSquarePassable(obj, x, y) : level->IsSquarePassableForMonster(obj, x, y, 0);
                };
                int32_t nx = 0;
                int32_t ny = 0;
                if (RandomNearbySquare(obj->x, obj->y, free, &nx, &ny)) QueueObjectMove(obj, nx, ny, level);
            }
            break;
        case kShout:
            for (Monster* m : MonstersAt(c.x, c.y)) {
                m->statusFlags = 0;
                m->pacifyTurns = 0;
                m->attentionTurns = 0;
                m->relentless = true;
                m->noticed = true;
            }
            break;
        case kSpawnItemAtLocation:
            if (Item* item = CreateItemByName(e.name)) QueueObjectMove(item, c.x, c.y, level);
            break;
        case kSpawnItemFromList:
            if (!e.options.empty()) {
                const int32_t pick = RandomInt(static_cast<int32_t>(e.options.size()));
                if (Item* item = CreateItemByName(e.options[static_cast<size_t>(pick)])) {
                    QueueObjectMove(item, c.x, c.y, level);
                }
            }
            break;
        case kRemoveInvisibility:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsHittable() || !PassesTaxa(e, obj)) continue;
                if (Monster* m = AsMonster(obj)) m->invisible = false;
                RemoveAndDeleteBuffs(static_cast<Hittable*>(obj), [](const Buff* b) { return b->invisible; });
            }
            break;
        case kRemoveBuffByName: {
            if (hero == nullptr) break;
            int32_t left = e.amount;
            std::vector<Buff*> kept;
            std::vector<Buff*> dropped;
            for (Buff* buff : hero->buffs) {
                const bool take = buff != nullptr && buff->name == e.name && left != 0;
                if (take && left > 0) --left;
                (take ? dropped : kept).push_back(buff);
            }
            for (Buff* buff : dropped) hero->RemoveBuff(buff);
            hero->buffs.swap(kept);
            for (Buff* buff : dropped) {
                if (!(buff->fromItem && buff->item != nullptr)) delete buff;  // item buffs stay with the item
            }
            break;
        }
        case kConsumeFood: DoConsume(c, false); break;
        case kConsumeBooze: DoConsume(c, true); break;
        case kRift:
            if (level->IsInside(c.x, c.y)) (new Rift(e.amount))->PlaceOnLevel(c.x, c.y, level, 0);
            break;
        case kRechargeAnvil:
            for (GameObj* obj : ObjectsAt(c.x, c.y)) {
                if (obj == nullptr || !obj->IsAnvil()) continue;
                if (Anvil* anvil = dynamic_cast<Anvil*>(obj)) anvil->Recharge();
            }
            break;
        case kStealItem: StealShopItemAt(level, c.x, c.y); break;
        case kCorrupt:
            if (hero != nullptr && hero->x == c.x && hero->y == c.y) CorruptWornArtifact(hero);
            break;
        case kRandomizeWand: RandomizeWand(c.targetItem); break;
        case kSacrificeArtifact: SacrificeArtifact(c.targetItem); break;
        case kRandomizeArtifact: RandomizeArtifact(c.targetItem); break;
        case kCleanseArtifact: CleanseArtifact(c.targetItem); break;
        case kPolymorph:
            // An unknown form name turns nobody into anything.
            if (hero != nullptr) {
                if (const MonsterRecord* form = monDBFindByDisplayName(e.name.c_str())) hero->StartPolymorph(form);
            }
            break;
        default: break;
    }
}

// The buff requirement: true when the call is to go on.
bool BuffRequirementMet(const EffectCall& c) {
    std::vector<Hittable*> creatures;
    Player* hero = CurrentPlayer;
    if (hero != nullptr && hero->x == c.x && hero->y == c.y) {
        creatures.push_back(hero);
    } else {
        for (Monster* m : MonstersAt(c.x, c.y)) {
            if (m->health > 0) creatures.push_back(m);
        }
    }
    for (const Buff& templ : c.spell->buffTemplates) {
        if (!templ.applyToPlayer) continue;
        for (Hittable* creature : creatures) {
            bool present = false;
            for (const Buff* worn : creature->buffs) {
                if (worn != nullptr && worn->icon == templ.icon) present = true;
            }
            if (!present) return true;
        }
    }
    return false;
}

void LayMines(Spell* spell, int32_t x, int32_t y, Hittable* caster) {
    Level* level = Lvl();
    int32_t index = 0;
    for (size_t i = 0; i < SpellList.size(); ++i) {
        if (SpellList[i] == spell) index = static_cast<int32_t>(i);
    }
    auto lay = [&](int32_t mx, int32_t my) {
        SpellMine* mine = level->AddSpellMine(mx, my, spell, index, caster, spell->mineTimer);
        if (mine != nullptr) mine->turnsLeft = spell->mineTimer > 0 ? spell->mineTimer : -1;
    };
    if (spell->mineRadius < 2 && !spell->minePermanent) {
        int32_t mx = x;
        int32_t my = y;
        if (spell->minesMustBeUnobstructed && level->IsSquareBlocked(x, y, false, true) &&
            SpellLevel.findOpenSquareNear != nullptr) {
            if (SpellLevel.findOpenSquareNear(&mx, &my, x, y, level) == 0) return;
        }
        LevelCell* cell = level->GetCell(mx, my);
        if (cell == nullptr) return;
        for (const SpellMine* mine : cell->mines) {
            if (mine->spell == spell) return;
        }
        lay(mx, my);
        return;
    }
    for (const auto& square : AreaSquares(x, y, spell->mineRadius)) lay(square.first, square.second);
}

}  // namespace

void ApplySpellEffects(Spell* spell, int32_t x, int32_t y, Hittable* caster, bool fromMine, Item* targetItem,
                       const char* cause, bool isDirectCast) {
    if (cause == nullptr) cause = CurrentSpellCastCause();
    if (SpellCallRecorder != nullptr) {
        SpellCallRecorder->effects.push_back(
            {spell, x, y, caster, fromMine, targetItem, cause != nullptr ? cause : "", isDirectCast});
    }
    Level* level = Lvl();
    if (spell == nullptr || level == nullptr || !level->IsInside(x, y)) return;
    if (caster == nullptr) caster = CurrentPlayer;
    if (spell->mine != 0 && !fromMine) {
        LayMines(spell, x, y, caster);
        if (!spell->minePermanent) return;
    }
    EffectCall c{spell, x, y, caster, targetItem, cause, isDirectCast};
    // By index: an action never changes the effect list, but the list is the spell's own.
    for (size_t i = 0; i < spell->effects.size(); ++i) {
        const SpellEffect& e = spell->effects[i];
        if (e.percent != 100 && e.kind != kTrigger && e.kind != kDot) {
            if (PercentRoll() > e.percent) continue;
        }
        if (e.requirebuff && !BuffRequirementMet(c)) return;
        RunAction(e, c);
        if (c.stop) return;
        if ((e.regengfx || c.wallOpened) && SpellLevel.rebuildGraphics != nullptr) {
            SpellLevel.rebuildGraphics(level, 0, 0, 100, 100);
        }
    }
}
