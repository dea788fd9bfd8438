// The monster's turn: timed states, the corpse timer, tame allies, sleeping, noticing the
// hero, fleeing and wandering, insults, spells, melee, theft and the step toward the hero.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "core/text_db.h"
#include "creatures/combat.h"
#include "creatures/combat_feedback.h"
#include "creatures/line_of_fire.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_pickers.h"
#include "levels/field_of_view.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/object_queue.h"
#include "levels/path_finding.h"
#include "media/effect_animation.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

namespace {

enum IdleDir { kIdleLeft = 0, kIdleRight = 1, kIdleUp = 2, kIdleDown = 3 };
enum StrikeDir { kStrikeRight = 0, kStrikeLeft = 1, kStrikeUp = 2, kStrikeDown = 3 };

constexpr int32_t kNoticeSkill = 26;

int32_t Sign(int32_t value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }

bool HeroIsInvisible(const Player* hero) {
    if (hero == nullptr) return false;
    for (const Buff* buff : hero->buffs) {
        if (buff != nullptr && buff->invisible) return true;
    }
    return false;
}

int32_t EuclideanDistance(int32_t dx, int32_t dy) {
    return static_cast<int32_t>(std::sqrt(static_cast<float>(dx * dx + dy * dy)));
}

int32_t SquaredDistance(const GameObj* a, const GameObj* b) {
    const int32_t dx = a->x - b->x;
    const int32_t dy = a->y - b->y;
    return dx * dx + dy * dy;
}

int32_t ManhattanDistance(const GameObj* a, const GameObj* b) { return std::abs(a->x - b->x) + std::abs(a->y - b->y); }

void FloatAlert(Monster* monster) { SpawnFollowingEyeCandy(&monster->bob, EyeCandyIcons.alert, 1, 0); }

}  // namespace

// ---------------------------------------------------------------- small operations

bool Monster::IsAdjacentTo(const GameObj* other) const {
    if (other == nullptr) return false;
    return (other->x == x && std::abs(other->y - y) == 1) || (other->y == y && std::abs(other->x - x) == 1);
}

bool Monster::CanSeePlayer() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || level == nullptr) return false;
    if (SquaredDistance(this, hero) > 25) return false;
    if (!MissilePathClear(x, y, hero->x, hero->y, level)) return false;
    return IsInView(this);
}

void Monster::ShowIdle(int32_t dx, int32_t dy) {
    Sprite* sprite = nullptr;
    if (dx < 0) sprite = idleSprites[kIdleLeft];
    if (dx > 0) sprite = idleSprites[kIdleRight];
    if (dy < 0) sprite = idleSprites[kIdleUp];
    if (dy > 0) sprite = idleSprites[kIdleDown];
    if (sprite != nullptr) bob.SetSprite(sprite);
}

int32_t Monster::AcceptsItem(Item* item) {
    // Unpaid spores are the shop's: what sprouts of them would be the hero's own.
    return dead != 0 && item != nullptr && item->type == kItemMisc && item->subtype == 1 && item->unpaid == 0 ? 1 : 0;
}

int32_t Monster::UseItemOn(Item* item) {
    if (AcceptsItem(item) == 0) return 0;
    if (--item->count <= 0) QueueObjectDeletion(item);
    sprouts = true;
    sproutTurns = 5;
    return 1;
}

std::string Monster::GetDescription() {
    std::string text = record != nullptr ? record->infoText : std::string();
    if (health > 0) {
        if (HasStatus(kStatusPacified)) {
            text += "It is peaceful and not attacking you at the moment. ";
        } else if (insolent) {
            text += "Oh, no! This monster is insolent! ";
        } else if (tame) {
            text += "This monster is a tame monster, and fights alongside you. ";
        } else if (noticed) {
            text += "This monster is trying to kill you! ";
        } else {
            text += "This monster has not noticed your presence. ";
        }
    }
    if (HasStatus(kStatusConfused)) text += "This monster is confused. ";
    if (isBurning) text += "This monster is on fire. ";
    if (isBleeding) text += "This monster is bleeding. ";
    if (blindTurns > 0) text += "This monster is blinded. ";
    if (HasStatus(kStatusAfraid)) text += "This monster is afraid and running in fear. ";
    if (HasStatus(kStatusAsleep)) text += "This monster is asleep. ";
    if (HasStatus(kStatusLockedDown)) text += "This monster is rooted to the ground. ";
    if (stunTurns > 0) text += "This monster is paralyzed and unable to move or act. ";
    if (!hordeMembers.empty()) text += "This monster is the commander of " + hordeName + ". ";
    return text;
}

std::string Monster::GetInjuryText() const {
    if (health < 1 || dead) return "It is dead. ";
    const int32_t maximum = stat[kStatLife];
    // A maximum of 0 or less has no share to speak of.
    if (maximum <= 0) return std::string();
    const float share = static_cast<float>(health) / static_cast<float>(maximum);
    if (share < 0.15f) return "It is critically injured. ";
    if (share < 0.25f) return "It is very injured. ";
    if (share < 0.5f) return "It is somewhat injured. ";
    if (health != maximum) return "It is lightly injured. ";
    return std::string();
}

// ---------------------------------------------------------------- placement and steps

void Monster::PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t quiet) {
    GameObj::PlaceOnLevel(newX, newY, newLevel, quiet);
    if (level != nullptr && std::find(level->monsters.begin(), level->monsters.end(), this) == level->monsters.end()) {
        level->monsters.push_back(this);
    }
    if (quiet != 0 || cell == nullptr) return;
    TriggerSpellMines();
    // Copied: a trap may change what stands on the square.
    const std::vector<GameObj*> others = cell->contents;
    for (GameObj* obj : others) {
        if (obj != this) obj->MonsterEntered(this);
    }
}

void Monster::AdvanceAnimation(int32_t elapsedMs) {
    Hittable::AdvanceAnimation(elapsedMs);
    if (!hasPendingMove || (cell != nullptr && !cell->bobs.empty())) return;
    hasPendingMove = false;
    if (level != nullptr && !level->IsSquareBlocked(pendingMoveX, pendingMoveY, true, true)) {
        PlaceOnLevel(pendingMoveX, pendingMoveY, level, 0);
    }
}

bool Monster::TryStep(int32_t targetX, int32_t targetY) {
    if (level == nullptr) return false;
    bool enters = false;
    if (record->terrain == 1) {
        enters = level->SquareKind(targetX, targetY) == SquareType::Water;
    } else {
        enters = level->IsSquarePassableForMonster(this, targetX, targetY, record->terrain) &&
                 !level->IsSquareBlockedFor(targetX, targetY, this);
    }
    if (!enters) return false;
    if (cell == nullptr || cell->bobs.empty()) {
        PlaceOnLevel(targetX, targetY, level, 0);
    } else {
        hasPendingMove = true;
        pendingMoveX = targetX;
        pendingMoveY = targetY;
    }
    return true;
}

// ---------------------------------------------------------------- the turn

void Monster::Update() {
    Player* hero = CurrentPlayer;
    if (dead) health = 0;
    Hittable::Update();
    if (speechCooldown > 0) --speechCooldown;
    const bool heroInvisible = HeroIsInvisible(hero);
    TickSpellTriggers();
    UpdateBuffs();

    if (dead) {
        ++corpseTurns;
        if (corpseTurns > record->corpseTimer) QueueObjectDeletion(this);
        if (sprouts && --sproutTurns <= 0) {
            sprouts = false;
            Item* mushroom = CreateItem(RandomMushroomDef());
            if (mushroom != nullptr) QueueObjectMove(mushroom, x, y, level);
            QueueObjectDeletion(this);
        }
        return;
    }

    if (tameTurns > 0 && --tameTurns == 0) {
        tame = false;
        passable = 0;
    }
    if (isBurning) {
        const int32_t amount = static_cast<int32_t>(std::max(static_cast<float>(stat[kStatLife]) * 0.01f, 1.0f));
        TakeDamage(amount, nullptr, "by fire", kDamageConflagratory, 0);
        if (--burnTurns <= 0) isBurning = false;
    }
    if (isBleeding) {
        const int32_t amount = static_cast<int32_t>(std::max(static_cast<float>(stat[kStatLife]) * 0.01f, 1.0f));
        TakeDamage(amount, nullptr, "by blood loss", kDamagePiercing, 0);
        if (--bleedTurns <= 0) isBleeding = false;
    }
    // A monster that burned or bled to death has no turn left.
    if (dead) return;
    if (tame) {
        TakeAllyTurn();
        return;
    }

    if (!HasStatus(kStatusPacified)) {
        for (AbilityRecord* ability : AbilityList) {
            if (ability == nullptr || ability->friendlyTaxa.empty() || !PlayerHasAbilityLevel(ability)) continue;
            if (ability->friendlyTaxa == record->taxa) {
                statusFlags |= kStatusPacified;
                pacifiedByAbility = true;
            }
        }
    }

    if (lockdownTurns > 0 && --lockdownTurns == 0) statusFlags = 0;
    if (countdownTurns != 0) countdownTurns = std::max(countdownTurns - 1, 0);
    if (stunTurns != 0) {
        stunTurns = std::max(stunTurns - 1, 0);
        return;
    }
    if (confusionTurns > 0 && --confusionTurns == 0) statusFlags = 0;
    if (sleepTurns > 0 && --sleepTurns == 0) statusFlags = 0;

    if (HasStatus(kStatusAsleep) && cell != nullptr) {
        const bool inView = IsInView(this);
        if (inView) AddAmbientMessage("You hear a distant snoring.");
        if (ZooDiscovered) {
            statusFlags = 0;
            pacifyTurns = 0;
            if (inView) FloatAlert(this);
        }
        return;
    }
    if (alwaysNotices) noticed = true;
    if (hero == nullptr) return;

    // Movement choice.
    int32_t dx = 0;
    int32_t dy = 0;
    bool moved = false;
    const bool lockedDown = HasStatus(kStatusLockedDown);
    bool flee = HasStatus(kStatusAfraid);
    if (!flee) {
        flee = (HasStatus(kStatusConfused) && MTOneChanceIn(2)) || (record->chicken && MTOneChanceIn(2)) ||
               (blindTurns > 0 && EuclideanDistance(hero->x - x, hero->y - y) > blindSight);
        if (!flee && (statusFlags == kStatusPacified || !noticed || heroInvisible || record->chicken)) {
            if (pacifyTurns > 0) --pacifyTurns;
            if (pacifyTurns == 0) {
                const int32_t chance = (50 - hero->stat[kStatSneakiness]) * 2;
                if (RandomInt(100) < std::max(chance, 0) && !heroInvisible && !pacifiedByAbility) {
                    noticed = true;
                    if (IsInView(this) && HasStatus(kStatusPacified)) FloatAlert(this);
                    statusFlags = 0;
                }
            }
            if (!lockedDown) {
                switch (RandomInt(5)) {
                    case 0: dx = -1; break;
                    case 1: dx = 1; break;
                    case 2: dy = -1; break;
                    case 3: dy = 1; break;
                    default: break;
                }
                ShowIdle(dx, dy);
            }
            moved = true;
        }
    }
    if (flee) {
        if (!lockedDown) {
            dx = hero->x < x ? 1 : (hero->x > x ? -1 : 0);
            dy = hero->y < y ? 1 : (hero->y > y ? -1 : 0);
            ShowIdle(dx, 0);
            ShowIdle(0, dy);
        }
        moved = true;
        if (HasStatus(kStatusAfraid) && --fearTurns < 1) {
            statusFlags = 0;
            AddText("The " + record->displayName + " is no longer afraid, and turns to fight!", true);
        }
    }

    // Attack phase.
    if (!HasStatus(kStatusAfraid) && !HasStatus(kStatusPacified) && !heroInvisible) {
        if (MTOneChanceIn(25) && speechCooldown == 0) {
            speechCooldown = 5;
            speechText = PickRandomWord(GetTextDB().insults);
        }
        if (!record->spells.empty() && noticed && CanSeePlayer()) {
            if (RandomInt(100) < record->spellPercentage && CastRandomSpell()) return;
        }
        const std::vector<Monster*> allies = hero->summonedCreatures;
        for (Monster* ally : allies) {
            if (ally != nullptr && ally->dead == 0 && IsAdjacentTo(ally)) {
                AttackCreature(ally);
                return;
            }
        }
        if (IsAdjacentTo(hero)) {
            AttackCreature(hero);
            return;
        }
    }

    // Approach.
    if (!moved && lockdownTurns <= 0 && !lockedDown) {
        dx = Sign(hero->x - x);
        dy = Sign(hero->y - y);
        if (dx != 0 && dy != 0) {
            bool vertical = false;
            if (level != nullptr && level->SquareKind(x, y + 1) == SquareType::Wall) {
                vertical = dy == -1 || MTOneChanceIn(2);
            } else {
                vertical = MTOneChanceIn(2);
            }
            if (vertical) {
                dx = 0;
            } else {
                dy = 0;
            }
        }
        ShowIdle(dx, dy);
    }

    // Attention.
    if (!noticed) {
        const int32_t d2 = SquaredDistance(this, hero);
        const int32_t reach = record->aggressiveness * record->aggressiveness;
        bool notices = false;
        if (d2 < reach) {
            // With the hero's noticing skill a first roll comes before the usual one.
            if (hero->GetSkillLevel(kNoticeSkill) >= 1) notices = MTOneChanceIn(25);
            if (!notices) notices = MTOneChanceIn(15);
        }
        if (notices) {
            if (IsInView(this)) FloatAlert(this);
            noticed = true;
            statusFlags = 0;
            pacifyTurns = 0;
            attentionTurns = 0;
        }
    } else if (!relentless && ++attentionTurns > record->span && MTOneChanceIn(2)) {
        noticed = false;
        attentionTurns = 0;
    }

    // Step.
    if (level == nullptr || lockdownTurns > 0 || (dx == 0 && dy == 0)) return;
    const int32_t targetX = std::min(std::max(x + dx, 0), level->width - 1);
    const int32_t targetY = std::min(std::max(y + dy, 0), level->height - 1);
    if (TryStep(targetX, targetY) || record->terrain == 1) return;
    const int32_t distance = ManhattanDistance(this, hero);
    if (distance < 2 || distance > 9) return;
    // With every square beside the hero taken, no path can reach it: the search would only
    // wander the whole level before it failed.
    bool reachable = false;
    for (int32_t side = 0; side < 4 && !reachable; ++side) {
        const int32_t nx = hero->x + (side == 0 ? 1 : (side == 1 ? -1 : 0));
        const int32_t ny = hero->y + (side == 2 ? 1 : (side == 3 ? -1 : 0));
        reachable = level->IsSquarePassable(this, nx, ny);
    }
    if (!reachable) return;
    int32_t length = 0;
    aiNode** path = FindPath(x, y, hero->x, hero->y, &length, this);
    if (path != nullptr && length >= 2) {
        AStarSquare* next = dynamic_cast<AStarSquare*>(path[1]);
        if (next != nullptr) TryStep(next->x, next->y);
    }
    delete[] path;
}

// ---------------------------------------------------------------- allies

void Monster::TakeAllyTurn() {
    Player* hero = CurrentPlayer;
    if (dead || HasStatus(kStatusAsleep) || level == nullptr) return;
    if (allyTarget != nullptr && allyTarget->dead != 0) allyTarget = nullptr;
    if (allyTarget != nullptr) {
        Monster* targetMonster = dynamic_cast<Monster*>(allyTarget);
        const bool answers = targetMonster == nullptr || targetMonster->IsAllyTarget();
        if (IsAdjacentTo(allyTarget) && answers) {
            AttackCreature(allyTarget);
            return;
        }
        if (ManhattanDistance(this, allyTarget) > 10) allyTarget = nullptr;
    }
    if (allyTarget == nullptr) {
        int32_t best = 64;
        for (GameObj* obj : level->monsters) {
            Monster* other = dynamic_cast<Monster*>(obj);
            if (other == nullptr || other == this || other->tame || other->dead != 0 || !other->IsAllyTarget()) continue;
            if (!MissilePathClear(x, y, other->x, other->y, level)) continue;
            const int32_t d2 = SquaredDistance(this, other);
            // Strictly nearer only: of equal candidates the first listed stays.
            if (d2 < best) {
                best = d2;
                allyTarget = other;
            }
        }
    }
    const GameObj* goal = allyTarget != nullptr ? static_cast<const GameObj*>(allyTarget) : hero;
    if (goal == nullptr) return;
    int32_t dx = Sign(goal->x - x);
    int32_t dy = Sign(goal->y - y);
    ShowIdle(dx, dy);
    if (dx != 0 && dy != 0) {
        if (MTOneChanceIn(2)) {
            dx = 0;
        } else {
            dy = 0;
        }
    }
    const int32_t targetX = x + dx;
    const int32_t targetY = y + dy;
    bool enters = false;
    if (record->terrain == 1) {
        enters = level->SquareKind(targetX, targetY) == SquareType::Water;
    } else {
        enters = level->IsSquarePassableForMonster(this, targetX, targetY, record->terrain) &&
                 !level->IsSquareBlocked(targetX, targetY, true, true);
    }
    if (enters && (dx != 0 || dy != 0)) PlaceOnLevel(targetX, targetY, level, 0);
}

// ---------------------------------------------------------------- attacks, spells, theft

void Monster::AttackCreature(Hittable* target) {
    Player* hero = CurrentPlayer;
    if (target == nullptr) return;
    const bool atHero = hero != nullptr && static_cast<GameObj*>(target) == static_cast<GameObj*>(hero);
    if (atHero) {
        if (SpellLevel.delayMonsterSpawning != nullptr) SpellLevel.delayMonsterSpawning(0);
        hero->InterruptWalk();
    }
    int32_t strike = kStrikeRight;
    int32_t idle = kIdleRight;
    if (target->y < y) {
        strike = kStrikeUp;
        idle = kIdleUp;
    } else if (target->y > y) {
        strike = kStrikeDown;
        idle = kIdleDown;
    } else if (target->x < x) {
        strike = kStrikeLeft;
        idle = kIdleLeft;
    }
    if (idleSprites[idle] != nullptr) restSprite = idleSprites[idle];
    if (IsInView(this) && attackSprites[strike] != nullptr) {
        if (!record->attackSound.empty()) PlaySFX(record->attackSound.c_str());
        PlayBobToEnd(&bob, attackSprites[strike]);
        if (restSprite != nullptr) bob.SetSprite(restSprite);
    }
    attentionTurns = 0;
    if (!dead && health > 0) {
        ResolveMeleeAttack(this, target);
        if (!dead) actedLastTurn = true;
    }
    if (!atHero) return;
    for (const OnHitSpell& onHit : record->onHitSpells) {
        // A spell without its chance never goes off.
        if (onHit.oneChanceIn <= 0 || !MTOneChanceIn(static_cast<uint32_t>(onHit.oneChanceIn))) continue;
        Spell* spell = spellDBFindByName(onHit.spell.c_str());
        if (spell == nullptr) continue;
        CastSpell(spell, x, y, hero->x, hero->y, this, false, false);
        break;
    }
    if (!dead && record->steal != 0 && PercentRoll() < record->stealPercentage) TryToSteal();
}

void Monster::PlayAttackAnimation() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    int32_t beam = -1;
    int32_t idle = kIdleDown;
    if (hero->x == x) {
        beam = hero->y >= y ? kStrikeDown : kStrikeUp;
        idle = hero->y >= y ? kIdleDown : kIdleUp;
    } else if (hero->y == y) {
        beam = hero->x > x ? kStrikeRight : kStrikeLeft;
        idle = hero->x > x ? kIdleRight : kIdleLeft;
    }
    if (beam >= 0 && beamSprites[beam] != nullptr) {
        PlaySFX("monster_attack");
        PlayBobToEnd(&bob, beamSprites[beam]);
    }
    if (idleSprites[idle] != nullptr) bob.SetSprite(idleSprites[idle]);
}

bool Monster::CastRandomSpell() {
    // A muted monster keeps its spells to itself.
    for (const Buff* buff : buffs) {
        if (buff != nullptr && buff->mute) return false;
    }
    if (record->spells.empty()) return false;
    Spell* spell = record->spells[static_cast<size_t>(RandomInt(static_cast<int32_t>(record->spells.size())))];
    if (spell == nullptr) return true;
    Player* hero = CurrentPlayer;
    auto announce = [&]() {
        if (spell->monsterText.empty()) return;
        std::string subject;
        const std::string name = GetName();
        if (isNamed) {
            subject = name;
        } else if (name.empty()) {
            subject = "Something ";
        } else {
            subject = "The " + name;
        }
        AddText(subject + " " + spell->monsterText, true);
    };
    auto castAnimation = [&]() {
        if (!record->spellSound.empty()) PlaySFX(record->spellSound.c_str());
        if (castSprite != nullptr) PlayBobToEnd(&bob, castSprite);
        if (idleSprites[kIdleDown] != nullptr) bob.SetSprite(idleSprites[kIdleDown]);
    };
    switch (spell->aiHint) {
        case 0:
            if (hero == nullptr) return true;
            castAnimation();
            CastSpell(spell, x, y, hero->x, hero->y, this, false, false);
            announce();
            return true;
        case 1:
            castAnimation();
            CastSpell(spell, x, y, x, y, this, false, false);
            announce();
            return true;
        case 4:
        case 2:
            for (GameObj* obj : level != nullptr ? level->monsters : std::vector<GameObj*>()) {
                Monster* other = dynamic_cast<Monster*>(obj);
                if (other == nullptr || EuclideanDistance(other->x - x, other->y - y) >= 6) continue;
                const bool fits = spell->aiHint == 4 ? other->dead == 0 : (other->dead != 0 && other->corpseTurns > 1);
                if (!fits) continue;
                CastSpell(spell, x, y, other->x, other->y, this, false, false);
                announce();
                return true;
            }
            return true;
        case 3: {
            // At open ground: cast twice at a free square nearby; the monster still acts.
            int32_t ox = x;
            int32_t oy = y;
            if (SpellLevel.findOpenSquareNear != nullptr && SpellLevel.findOpenSquareNear(&ox, &oy, x, y, level) != 0) {
                CastSpell(spell, x, y, ox, oy, this, false, false);
                CastSpell(spell, x, y, ox, oy, this, false, false);
                announce();
            }
            return false;
        }
        default:
            return true;
    }
}

void Monster::TryToSteal() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    const bool inView = IsInView(hero);
    if (PercentRoll() < hero->stat[kStatDodge]) {
        if (inView) {
            SpawnFollowingEyeCandy(&hero->bob, EyeCandyIcons.dodge, 1, 0);
            PlaySFX("evade");
        }
        AddText("You avoid having something stolen from you!", true);
        return;
    }
    if (PercentRoll() < hero->stat[kStatBlock]) {
        if (inView) {
            PlaySFX("metal_get");
            SpawnFollowingEyeCandy(&hero->bob, EyeCandyIcons.block, 1, 0);
        }
        AddText("You block an attempted theft!", true);
        return;
    }
    int32_t order[kBeltSlotCount];
    for (int32_t i = 0; i < kBeltSlotCount; ++i) order[i] = i;
    for (int32_t i = kBeltSlotCount - 1; i > 0; --i) {
        const int32_t j = RandomInt(i + 1);
        std::swap(order[i], order[j]);
    }
    for (int32_t slot : order) {
        Item* item = hero->quickSlots[slot];
        if (item == nullptr) continue;
        hero->quickSlots[slot] = nullptr;
        ForgetTooltipItem(item);
        SpawnFollowingEyeCandy(&hero->bob, EyeCandyIcons.theft, 1, 0);
        AddText("A creature has stolen a " + item->GetName() + " from your belt!", true);
        if (item->stackable != 0 && item->count >= 100) GrantCombatAchievement("ACHIEVEMENT_KLEPTOMANIA");
        carriedItems.push_back(item);
        statusFlags |= kStatusAfraid;
        fearTurns = 10;
        return;
    }
}
