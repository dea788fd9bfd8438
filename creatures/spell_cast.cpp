// Casting: the hero's mana cost and cast, the target pre-check, the taxa test, CastSpell by
// target type and the copies of a spell's buff templates.
#include <cmath>
#include <cstdio>

#include "core/event_log.h"
#include "core/random.h"
#include "core/shell/shell_services.h"
#include "creatures/ability.h"
#include "creatures/hittable.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/tile_effects.h"
#include "levels/tutorial.h"
#include "media/bob.h"
#include "media/effect_animation.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

Spell* SelectedSpell = nullptr;
int32_t SpellTargetX = 0;
int32_t SpellTargetY = 0;
SpellLevelServices SpellLevel;
SpellCallLog* SpellCallRecorder = nullptr;
Item* (*SpellItemUnderPointer)() = nullptr;

namespace {

const char* const kMustBeNext = "You must be next to your target to use this ability!";

bool OnLevel(int32_t x, int32_t y) { return CurrentLevel != nullptr && CurrentLevel->IsInside(x, y); }

bool SquareVisible(int32_t x, int32_t y) {
    const LevelCell* cell = CurrentLevel != nullptr ? CurrentLevel->GetCell(x, y) : nullptr;
    return cell != nullptr && cell->HasFlag(SquareFlag::Visible);
}

// The spell's own animation at a square.
void ShowAt(const Spell* spell, int32_t x, int32_t y, bool wait) {
    PlayEffectAtTile(x, y, spell->animSprite.c_str(), spell->animFrames, spell->animFramerate,
                     spell->animCenterEffect != 0, wait);
}

void Hit(Spell* spell, int32_t x, int32_t y, Hittable* caster) {
    if (!OnLevel(x, y)) return;
    ApplySpellEffects(spell, x, y, caster, false, nullptr, nullptr, true);
    ApplySpellBuffsAtSquare(spell, x, y, caster);
}

bool HoldsHittable(int32_t x, int32_t y) {
    const LevelCell* cell = CurrentLevel->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->IsHittable()) return true;
    }
    return false;
}

int32_t AdjacentSuccess(Spell* spell, int32_t x, int32_t y, Hittable* caster) {
    ShowAt(spell, x, y, false);
    Hit(spell, x, y, caster);
    StartQueuedAnimations();
    return 1;
}

// The first monster standing on (x, y) that the test accepts.
template <typename Test>
Monster* FirstMonsterAt(int32_t x, int32_t y, Test test) {
    if (CurrentLevel == nullptr) return nullptr;
    for (GameObj* obj : CurrentLevel->monsters) {
        if (obj == nullptr || obj->x != x || obj->y != y) continue;
        Monster* monster = static_cast<Monster*>(obj);
        if (test(monster)) return monster;
    }
    return nullptr;
}

bool RecordTaxaFits(const Spell* spell, const Monster* monster) {
    return spell->taxa.empty() || (monster->record != nullptr && monster->record->taxa == spell->taxa);
}

int32_t CastAtCorpse(Spell* spell, int32_t x, int32_t y, Hittable* caster) {
    Monster* corpse =
        FirstMonsterAt(x, y, [spell](Monster* m) { return m->dead != 0 && RecordTaxaFits(spell, m); });
    if (corpse == nullptr) return 0;
    const bool revives = !spell->effects.empty() && spell->effects[0].kind == 27;
    if (!revives) QueueObjectDeletion(corpse);
    ShowAt(spell, x, y, false);
    ApplySpellEffects(spell, x, y, caster, false, nullptr, nullptr, true);
    return 1;
}

// The full-screen picture of an area spell, blended over the frame until its last image.
void PlayAreaAnimation(const Spell* spell) {
    if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
    if (spell->animSprite.empty() || spell->animFrames < 1) return;
    Sprite* sprite = SpriteMgr_GetOrLoadSeries(spell->animSprite.c_str(), spell->animSprite.c_str(),
                                               spell->animFrames, 1, spell->animFramerate, 0);
    if (sprite == nullptr || sprite->frameCount == 0) return;
    Bob bob;
    bob.SetSprite(sprite);
    bob.playing = true;
    bob.loop = false;
    int32_t x = 400 - sprite->width / 2;
    int32_t y = 300 - sprite->height / 2;
    Player* hero = CurrentPlayer;
    if (spell->animCenterEffect != 0 && hero != nullptr) {
        x = hero->bob.x - (sprite->width - 64) / 2;
        y = hero->bob.y - (sprite->height - 64) / 2;
    }
    BlockingLoopGuard guard;
    while (!bob.finished && guard.Running()) {
        DrawGameScreen();
        sprite->DrawFrame(x, y, bob.frame);
        AdvanceFrame();
        bob.Update(guard.TakeElapsedMs());
    }
}

int32_t CastMissile(Spell* spell, int32_t cx, int32_t cy, int32_t tx, int32_t ty, Hittable* caster) {
    // A missile without frames flies unseen.
    Sprite* sprite = nullptr;
    if (!spell->animSprite.empty() && spell->animFrames >= 1) {
        sprite = SpriteMgr_GetOrLoadSeries(spell->animSprite.c_str(), spell->animSprite.c_str(), spell->animFrames,
                                           0, spell->animFramerate, 1);
    }
    int32_t sx = -1;
    int32_t sy = -1;
    AnimateMissile(cx, cy, tx, ty, &sx, &sy, sprite);
    if (!OnLevel(sx, sy)) return 0;
    const LevelCell* cell = CurrentLevel->GetCell(sx, sy);
    const std::vector<GameObj*> standing = cell->contents;
    for (GameObj* obj : standing) {
        if (obj == nullptr || !obj->IsHittable()) continue;
        const int32_t roll = RandomInt(100);
        if (roll < static_cast<Hittable*>(obj)->stat[kStatReflection]) {
            PlaySFX("bampf");
            const int32_t fromX = sx;
            const int32_t fromY = sy;
            AnimateMissile(fromX, fromY, cx, cy, &sx, &sy, sprite);
            break;
        }
    }
    if (!OnLevel(sx, sy)) return 0;
    if (spell->impactFrames > 0 && SquareVisible(sx, sy)) {
        PlayEffectAtTile(sx, sy, spell->impactSprite.c_str(), spell->impactFrames, spell->impactFramerate,
                         spell->impactCenterEffect != 0, false);
    }
    Hit(spell, sx, sy, caster);
    return 1;
}

int32_t CastBeamMissile(Spell* spell, int32_t cx, int32_t cy, int32_t tx, int32_t ty, Hittable* caster,
                        bool fromMine) {
    if (cx == tx && cy == ty) return 0;
    Level* level = CurrentLevel;
    if (level == nullptr) return 0;
    Sprite* sprite = nullptr;
    if (!spell->animSprite.empty() && spell->animFrames >= 1) {
        sprite = SpriteMgr_GetOrLoadSeries(spell->animSprite.c_str(), spell->animSprite.c_str(), spell->animFrames,
                                           1, spell->animFramerate, 1);
    }
    const MapView& view = PlayScreenCamera();
    Bob bob;
    bob.SetSprite(sprite);
    bob.playing = true;
    bob.loop = true;
    const int32_t steps = std::max(std::abs(tx - cx), std::abs(ty - cy));
    int32_t done = 0;
    int32_t curX = cx;
    int32_t curY = cy;
    float t = 0.0f;
    BlockingLoopGuard guard;
    while (done < steps && guard.Running()) {
        int32_t nextX = 0;
        int32_t nextY = 0;
        MissilePathStep(cx, cy, tx, ty, done + 1, &nextX, &nextY);
        DrawGameScreen();
        PlaceBobAtMapPoint(bob, view, curX + (nextX - curX) * static_cast<double>(t),
                           curY + (nextY - curY) * static_cast<double>(t));
        bob.Draw();
        AdvanceFrame();
        bob.Update(guard.TakeElapsedMs());
        t += 0.4f;
        if (t < 1.0f) continue;
        t = 0.0f;
        ++done;
        curX = nextX;
        curY = nextY;
        if (!level->IsInside(curX, curY) || level->SquareKind(curX, curY) == SquareType::Wall) break;
        ApplySpellEffects(spell, curX, curY, caster, fromMine, nullptr, nullptr, true);
        ApplySpellBuffsAtSquare(spell, curX, curY, caster);
    }
    return 1;
}

int32_t CastTemplate(Spell* spell, int32_t cx, int32_t cy, int32_t tx, int32_t ty, Hittable* caster) {
    Player* hero = CurrentPlayer;
    const int32_t facing = hero != nullptr ? hero->facing : 2;
    const SquareList squares = TemplateSquares(spell, cx, cy, tx, ty, facing);
    if (squares.empty()) return 0;
    if (SquareVisible(tx, ty) && !spell->animSprite.empty() && spell->animFrames >= 1) {
        Sprite* sprite = SpriteMgr_GetOrLoadSeries(spell->animSprite.c_str(), spell->animSprite.c_str(),
                                                   spell->animFrames, spell->animFirstFrame, spell->animFramerate, 1);
        if (sprite != nullptr && sprite->frameCount > 0) {
            Bob bob;
            bob.SetSprite(sprite);
            bob.playing = true;
            bob.loop = false;
            BlockingLoopGuard guard;
            while (!bob.finished && guard.Running()) {
                DrawGameScreen();
                for (const auto& square : squares) {
                    DrawSpriteFrameAtTile(square.first, square.second, sprite, bob.frame);
                }
                AdvanceFrame();
                bob.Update(guard.TakeElapsedMs());
            }
        }
    }
    for (const auto& square : squares) {
        if (spell->effects.empty()) {
            HeroActsOnSquare(square.first, square.second);
        } else if (!spell->affectOnlyHittables || HoldsHittable(square.first, square.second)) {
            Hit(spell, square.first, square.second, caster);
        }
    }
    return 1;
}

bool ItemFits(const Spell* spell, const Item* item) {
    if (!spell->consumeItem) return true;
    const std::string& kind = spell->consumeItemType;
    if (kind == "wand") return item->type == kItemWand;
    if (kind == "gem") return item->type == kItemGem;
    if (kind == "mushroom") return item->type == kItemMushroom;
    if (kind == "weapon") return item->type == kItemWeapon;
    if (kind == "armour") return item->type == kItemArmour;
    if (kind == "food") return item->type == kItemFood;
    if (kind == "booze") return item->type == kItemFood && item->def != nullptr && item->def->booze.spell != nullptr;
    if (kind == "toolkit") return item->type == kItemToolkit;
    if (kind == "misc") return item->type == kItemMisc;
    if (kind == "artifact") return item->IsArtifact();
    return true;
}

}  // namespace

void HeroActsOnSquare(int32_t sx, int32_t sy) {
    if (CurrentPlayer != nullptr) CurrentPlayer->ActOnSquare(sx, sy);
}

namespace {

// A copy of a buff template as the spell hands it out.
Buff* CopyBuffTemplate(const Spell* spell, const Buff& templ) {
    Buff* copy = new Buff(templ);
    copy->name = spell->name;
    copy->description = spell->description;
    if (templ.icon.empty()) {
        copy->icon = spell->icon;
        copy->iconSprite = spell->iconSprite;
    } else {
        copy->LoadIconSprites();
    }
    return copy;
}

// The buff identity of Player::AddBuff: the same name and the same icon.
bool WearsSameBuff(const Hittable* creature, const Spell* spell, const Buff& templ) {
    const std::string& icon = templ.icon.empty() ? spell->icon : templ.icon;
    for (const Buff* worn : creature->buffs) {
        if (worn != nullptr && worn->name == spell->name && worn->icon == icon) return true;
    }
    return false;
}

Hittable* CasterOrHero(Hittable* caster) { return caster != nullptr ? caster : CurrentPlayer; }

}  // namespace

void ApplySpellBuffsAtSquare(Spell* spell, int32_t x, int32_t y, Hittable* caster) {
    if (spell == nullptr || CurrentLevel == nullptr) return;
    Player* hero = CurrentPlayer;
    for (const Buff& templ : spell->buffTemplates) {
        if (!templ.applyToPlayer) continue;
        if (hero != nullptr && hero->GameObj::level == CurrentLevel && hero->x == x && hero->y == y) {
            hero->AddBuff(CopyBuffTemplate(spell, templ));
        }
        const std::vector<GameObj*> monsters = CurrentLevel->monsters;
        for (GameObj* obj : monsters) {
            if (obj == nullptr || obj->x != x || obj->y != y) continue;
            Monster* monster = static_cast<Monster*>(obj);
            if (!templ.allowStacking && WearsSameBuff(monster, spell, templ)) return;
            Hittable* receiver = templ.self ? CasterOrHero(caster) : monster;
            if (receiver != nullptr) receiver->AddBuff(CopyBuffTemplate(spell, templ));
        }
    }
}

void ApplySpellBuffsToCaster(Spell* spell, Hittable* caster) {
    if (spell == nullptr) return;
    Hittable* receiver = CasterOrHero(caster);
    if (receiver == nullptr) return;
    for (const Buff& templ : spell->buffTemplates) receiver->AddBuff(CopyBuffTemplate(spell, templ));
}

namespace {

Sprite* HeroCastSprite(const Player* hero) {
    switch (hero->facing) {
        case 1: return hero->heroAnimations[kHeroCastLeft];
        case 2: return hero->heroAnimations[kHeroCastUp];
        case 3: return hero->heroAnimations[kHeroCastRight];
        default: return hero->heroAnimations[kHeroCastDown];
    }
}

}  // namespace

void PlayerCastSelectedSpell() {
    Player* hero = CurrentPlayer;
    Spell* spell = SelectedSpell;
    if (hero == nullptr || spell == nullptr) return;
    const bool wasPolymorphed = hero->isPolymorphed != 0;
    if (!spell->hasCooldown) {
        const int32_t cost = GetSpellManaCost(spell);
        if (cost > hero->mana) {
            static const char* const kLowSounds[] = {"manalow1", "manalow2", "manalow3", "manalow4", "manalow5"};
            const int32_t pick = CRand() / 6554;
            PlaySFX(kLowSounds[pick < 5 ? pick : 4]);
            AddText("You have insufficient magic to cast that spell!", true);
            return;
        }
        for (const Buff* buff : hero->buffs) {
            if (buff != nullptr && buff->mute) {
                AddText("You are prevented from casting spells!", true);
                return;
            }
        }
        hero->mana -= cost;
    }
    // Casting reveals the hero.
    RemovePlayerInvisibility();

    if (spell->targetType != SpellTarget::Self) {
        const int32_t dx = SpellTargetX - hero->x;
        const int32_t dy = SpellTargetY - hero->y;
        if (std::abs(dy) > std::abs(dx)) {
            hero->facing = dy >= 0 ? 0 : 2;
        } else {
            hero->facing = dx >= 0 ? 3 : 1;
        }
    }
    const int32_t casts = spell->multiAttack > 0 ? spell->multiAttack : 1;
    if (casts > 1) PlaySFX("combo");
    int32_t result = 0;
    for (int32_t i = 0; i < casts; ++i) {
        if (!spell->attack) {
            PlayBobToEnd(&hero->bob, HeroCastSprite(hero));
        } else {
            static const int32_t kStepX[] = {0, -1, 0, 1};
            static const int32_t kStepY[] = {1, 0, -1, 0};
            const int32_t f = hero->facing >= 0 && hero->facing < 4 ? hero->facing : 0;
            HeroActsOnSquare(hero->x + kStepX[f], hero->y + kStepY[f]);
        }
        hero->SetIdleAnimation();
        ++spell->castCount;
        AddCollectedStat(("Player Cast [" + spell->name + "]").c_str(), 1);
        if (spell->targetType != SpellTarget::Area && !spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
        result = CastSpell(spell, hero->x, hero->y, SpellTargetX, SpellTargetY, hero, false, true);
        if (result == 1 && TutorialFlag) NotifyTutorial(5, spell->name);
    }
    if (result == 1 && spell->hasCooldown) spell->cooldownCounter += spell->downtime + 1;
    if (!wasPolymorphed && hero->isPolymorphed != 0) SelectedSpell = nullptr;
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->triggerOnCast.spell == nullptr) continue;
        if (hero->GetSkillLevel(ability->skillId) <= ability->level) continue;
        if (PercentRoll() >= ability->triggerOnCast.percent) continue;
        Spell* trigger = ability->triggerOnCast.spell;
        if (!trigger->sfx.empty()) PlaySFX(trigger->sfx.c_str());
        CastSpell(trigger, hero->x, hero->y, SpellTargetX, SpellTargetY, hero, false, false);
    }
    AdvanceTurn();
}

int32_t GetSpellManaCost(const Spell* spell) {
    if (spell == nullptr) return 0;
    const Player* hero = CurrentPlayer;
    const float magic = hero != nullptr ? static_cast<float>(hero->stat[kStatMagicPower]) : 0.0f;
    const float savvy = hero != nullptr ? static_cast<float>(hero->primary[kPrimarySavvy]) : 0.0f;
    float cost = static_cast<float>(spell->mp) - std::floor(magic * spell->magPowBonus);
    cost -= std::floor(savvy * spell->savvyBonus);
    if (cost < static_cast<float>(spell->mincost)) cost = static_cast<float>(spell->mincost);
    return static_cast<int32_t>(cost);
}

bool CheckSpellTarget(const Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY) {
    if (spell == nullptr) return false;
    switch (spell->targetType) {
        case SpellTarget::Adjacent:
        case SpellTarget::TargetAdjacentCorpse:
        case SpellTarget::AdjacentWall:
            return std::abs(casterX - targetX) + std::abs(casterY - targetY) == 1;
        case SpellTarget::Target:
            return CurrentLevel != nullptr && CurrentLevel->IsSquareBlocked(targetX, targetY, false, true);
        case SpellTarget::TargetEmptyFloor:
            return CurrentLevel != nullptr && !CurrentLevel->IsSquareBlocked(targetX, targetY, false, true);
        default:
            return true;
    }
}

bool MonsterMatchesTaxa(const std::string& taxa, const Monster* monster) {
    if (taxa.empty()) return true;
    if (monster == nullptr || monster->record == nullptr) return false;
    const MonsterRecord* r = monster->record;
    return taxa == r->taxa || taxa == r->name || taxa == r->parentName;
}

namespace {
const char* gCastCause = nullptr;
}  // namespace

const char* CurrentSpellCastCause() { return gCastCause; }

int32_t CastSpellWithCause(Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY,
                           Hittable* caster, const char* cause) {
    const char* outer = gCastCause;
    gCastCause = cause;
    const int32_t result = CastSpell(spell, casterX, casterY, targetX, targetY, caster, false, true);
    gCastCause = outer;
    return result;
}

int32_t CastSpell(Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY, Hittable* caster,
                  bool fromMine, bool isDirectCast) {
    if (SpellCallRecorder != nullptr) {
        SpellCallRecorder->casts.push_back({spell, casterX, casterY, targetX, targetY, caster, fromMine, isDirectCast});
    }
    if (spell == nullptr || CurrentLevel == nullptr) return 0;
    const Player* hero = CurrentPlayer;
    const int32_t heroX = hero != nullptr ? hero->x : casterX;
    const int32_t heroY = hero != nullptr ? hero->y : casterY;
    const int32_t ddx = targetX - casterX;
    const int32_t ddy = targetY - casterY;
    const bool nextTo = ddx * ddx + ddy * ddy < 2;
    switch (spell->targetType) {
        case SpellTarget::Self:
            if (!spell->animSprite.empty()) ShowAt(spell, casterX, casterY, false);
            ApplySpellEffects(spell, casterX, casterY, caster, false, nullptr, nullptr, true);
            ApplySpellBuffsToCaster(spell, caster);
            return 1;
        case SpellTarget::Missile:
            return CastMissile(spell, casterX, casterY, targetX, targetY, caster);
        case SpellTarget::Adjacent:
        case SpellTarget::AdjacentWall:
            if (nextTo) return AdjacentSuccess(spell, targetX, targetY, caster);
            AddText(kMustBeNext, true);
            return 0;
        case SpellTarget::Rook:
            if (targetX == heroX || targetY == heroY) return AdjacentSuccess(spell, targetX, targetY, caster);
            return 0;
        case SpellTarget::KnightlyLeap: {
            const int32_t ax = std::abs(targetX - heroX);
            const int32_t ay = std::abs(targetY - heroY);
            if ((ax == 2 && ay == 1) || (ax == 1 && ay == 2)) return AdjacentSuccess(spell, targetX, targetY, caster);
            return 0;
        }
        case SpellTarget::Area: {
            PlayAreaAnimation(spell);
            for (const auto& square : AreaSquares(casterX, casterY, spell->radius)) {
                if (spell->affectOnlyHittables && !HoldsHittable(square.first, square.second)) continue;
                Hit(spell, square.first, square.second, caster);
            }
            StartQueuedAnimations();
            return 1;
        }
        case SpellTarget::Lockable: {
            const LevelCell* cell = CurrentLevel->GetCell(targetX, targetY);
            if (cell == nullptr) return 0;
            bool found = false;
            const std::vector<GameObj*> standing = cell->contents;
            for (GameObj* obj : standing) {
                if (obj == nullptr || !obj->IsDoorOrChest()) continue;
                found = true;
                if (spell->consumeItem) QueueObjectDeletion(obj);
            }
            if (!found) return 0;
            CastBurstSpell(targetX, targetY, static_cast<float>(spell->radius), spell->animSprite.c_str(),
                           spell->animFrames, spell->animFramerate, spell, caster);
            return 1;
        }
        case SpellTarget::TargetZombie: {
            Monster* zombie = FirstMonsterAt(targetX, targetY,
                                             [](Monster* m) { return m->record != nullptr && m->record->zomby != 0; });
            if (zombie == nullptr) return 0;
            ShowAt(spell, targetX, targetY, false);
            Hit(spell, targetX, targetY, caster);
            return 1;
        }
        case SpellTarget::Fireball:
            CastBurstSpell(targetX, targetY, static_cast<float>(spell->radius), spell->animSprite.c_str(),
                           spell->animFrames, spell->animFramerate, spell, caster);
            return 1;
        case SpellTarget::Cone:
            CastConeSpell(casterX, casterY, targetX, targetY, static_cast<float>(spell->radius), 0.5f,
                          spell->animSprite.c_str(), spell->animFrames, spell->animFramerate, spell, caster);
            return 1;
        case SpellTarget::Target:
        case SpellTarget::TargetFloor:
        case SpellTarget::TargetEmptyFloor:
            if (!OnLevel(targetX, targetY)) return 0;
            if (SquareVisible(targetX, targetY)) ShowAt(spell, targetX, targetY, spell->sync);
            ApplySpellEffects(spell, targetX, targetY, caster, fromMine, nullptr, nullptr, isDirectCast);
            ApplySpellBuffsAtSquare(spell, targetX, targetY, caster);
            return 1;
        case SpellTarget::TargetCorpse:
            return CastAtCorpse(spell, targetX, targetY, caster);
        case SpellTarget::TargetAdjacentCorpse:
            if (nextTo) return CastAtCorpse(spell, targetX, targetY, caster);
            AddText(kMustBeNext, true);
            return 0;
        case SpellTarget::TargetMonster: {
            Monster* monster =
                FirstMonsterAt(targetX, targetY, [spell](Monster* m) { return m->dead == 0 && RecordTaxaFits(spell, m); });
            if (monster == nullptr) return 0;
            ShowAt(spell, targetX, targetY, false);
            ApplySpellEffects(spell, targetX, targetY, caster, false, nullptr, nullptr, true);
            return 1;
        }
        case SpellTarget::Item: {
            Item* item = SpellItemUnderPointer != nullptr ? SpellItemUnderPointer() : nullptr;
            if (item == nullptr || !ItemFits(spell, item)) return 0;
            ApplySpellEffects(spell, casterX, casterY, caster, false, item, nullptr, true);
            return 1;
        }
        case SpellTarget::Beam:
        case SpellTarget::DiggingBeam:
            CastBeamSpell(casterX, casterY, targetX, targetY, spell->animSprite.c_str(), spell->animFrames,
                          spell->animFramerate, spell, caster);
            return 1;
        case SpellTarget::BeamMissile:
            return CastBeamMissile(spell, casterX, casterY, targetX, targetY, caster, fromMine);
        case SpellTarget::Template:
            return CastTemplate(spell, casterX, casterY, targetX, targetY, caster);
        default:
            return 0;
    }
}
