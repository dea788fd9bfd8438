// Monster::TakeDamage: every harm that reaches a monster, its death, its drops and the
// waking of the monsters nearby.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/event_log.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/shell_services.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/combat.h"
#include "creatures/combat_feedback.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/splat.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/eye_candy.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/ticker.h"
#include "store_platform/stats.h"

namespace {

// The tries of the corpse-square search and of the zoo reward's armour draw.
constexpr int32_t kCorpseSquareTries = 64;
constexpr int32_t kZooRewardDraws = 200;
constexpr int32_t kBossDeathFrames = 600;

const char* const kBloodySentences[] = {
    "It is drizzled with blood. ",
    "It drips with blood. ",
    "It is covered in blood! Oh, that's just nasty. ",
    "It is covered in blood and ichor. ",
    "It is covered in the blood of the monsters you have slain. ",
};

bool IsDiggleKind(const std::string& name) {
    return name == "Diggle" || name == "Sickly Diggle" || name == "Diggle Commando" || name == "Arch Diggle" ||
           name == "Enraged Diggle";
}

bool IsFinalBoss(const std::string& name) { return name == "Lord Zarnoch" || name == "Tougher Lord Zarnoch"; }

// Square kinds a corpse may lie on.
bool CorpseMayLieOn(int32_t kind) {
    switch (kind) {
        case SquareType::Floor:
        case SquareType::ShopFloor:
        case SquareType::Water:
        case SquareType::Lava:
        case SquareType::Ice:
        case SquareType::Goo:
        case SquareType::ZooFloor:
            return true;
        default:
            return false;
    }
}

void CountDiggleKill() {
    static const StatMilestone kMilestones[] = {
        {10, "ACHIEVEMENT_ORNITHOLOGIST"},
        {100, "ACHIEVEMENT_HMS_DEAGLE"},
        {1000, "ACHIEVEMENT_WAY_OF_THE_DODO"},
    };
    CountStatEvent("STAT_DIGGLES_KILLED", kMilestones, 3);
}

void CountKill() { CountStatEvent("STAT_MONSTERS_KILLED"); }

// A dropped item on the monster's square, placed at the end of the turn.
void DropOnSquare(Monster* monster, GameObj* item) { QueueObjectMove(item, monster->x, monster->y, monster->level); }

}  // namespace

// The armour of the zoo reward: a definition that is not special; null (with a diagnostic)
// when none comes within a bounded number of draws.
const ItemDef* DrawZooRewardArmour() {
    for (int32_t draw = 0; draw < kZooRewardDraws; ++draw) {
        const ItemDef* def = RandomArmourDefByLevel(2);
        if (def == nullptr) break;
        if (!def->special) return def;
    }
    std::printf("zoo reward: no armour that is not special; no reward\n");
    return nullptr;
}

void Monster::GiveZooReward() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    RotateDungeonMusic(true);
    GrantCombatAchievement("ACHIEVEMENT_BLOODY_MESS");
    const ItemDef* def = DrawZooRewardArmour();
    if (def == nullptr) return;
    Armour* armour = new Armour(def);
    const int32_t depth = level != nullptr ? level->depth : 0;
    const int32_t power = 1 + RandomInt(static_cast<int32_t>(static_cast<float>(depth) * 0.25f));
    GenerateArtifact(&armour->artifactRecord, power, armour);
    const int32_t sentence = std::min(CRand() / 6554, 4);
    armour->artifactRecord.text += kBloodySentences[sentence];
    armour->isArtifact = true;
    ShowZooClearedDialog(armour);
    PutItemInBag(armour);
}

int32_t Monster::TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t, int32_t) {
    std::printf("Monster takes %i damage %s \n; HP %i / %i\n\n", amount, cause.c_str(), health - amount,
                stat[kStatLife]);
    Player* hero = CurrentPlayer;
    const std::string shownName = record != nullptr ? record->displayName : std::string();
    if (HasStatus(kStatusAsleep)) {
        statusFlags = 0;
        AddText("The " + shownName + " wakes up!", true);
    }
    if (tame && source != nullptr && source != allyTarget && source != hero) {
        Hittable* attacker = dynamic_cast<Hittable*>(source);
        if (attacker != nullptr) allyTarget = attacker;
    }
    if (HasStatus(kStatusPacified) || !noticed) {
        pacifyTurns = 0;
        statusFlags = 0;
        noticed = true;
        AddText("The " + shownName + " becomes hostile!", true);
        if (IsInView(this)) SpawnFollowingEyeCandy(&bob, EyeCandyIcons.alert, 1, 0);
    }
    health -= amount;
    // Blood on the square where the monster was hit, one splat at most.
    if (level != nullptr && level->GetCell(x, y) != nullptr && !SquareHasSplat(level, x, y)) {
        const int32_t variant = CRand() / 5462;
        Splat* splat = new Splat(level, record != nullptr ? record->splat : std::string("blood"), variant);
        QueueObjectMove(splat, x, y, level);
    }
    if (health <= 0 && !dead) Die(source);
    WakeNearbyMonsters();
    return amount;
}

void Monster::Die(GameObj* source) {
    Player* hero = CurrentPlayer;
    const std::string shownName = record != nullptr ? record->displayName : std::string();
    const std::string recordName = record != nullptr ? record->name : std::string();
    health = 0;
    const TextDB& text = GetTextDB();
    std::string line = "The " + shownName + " collapses in a pile of " + PickRandomWord(text.ichors);
    if (MTOneChanceIn(2)) {
        line += " and " + PickRandomWord(text.ichors) + "!";
    } else {
        line += ".";
    }
    AddText(line, true);
    if (!hordeMembers.empty()) {
        AddText("You have defeated the Commander of " + hordeName + "!", true);
        AddText("The remaining members of " + hordeName + " flee in fear!", true);
        for (Monster* member : hordeMembers) {
            if (member == nullptr) continue;
            member->statusFlags |= kStatusAfraid;
            member->fearTurns += 20 + CRand() / 1093;
        }
    }
    LogEvent(("Player killed a " + shownName).c_str());
    dead = 1;
    Hittable* killer = dynamic_cast<Hittable*>(source);
    if (killer != nullptr) ApplyOnHitEffects(this, killer, HitHook::TargetKill);
    CountKill();
    if (IsDiggleKind(recordName)) CountDiggleKill();
    if (record != nullptr && !record->dieSound.empty()) PlaySFX(record->dieSound.c_str());
    if (zooMonster && hero != nullptr && hero->zooMonsterCount > 0) {
        --hero->zooMonsterCount;
        if (hero->zooMonsterCount < 1) {
            hero->zooMonsterCount = 0;
            GiveZooReward();
        }
    }
    if (!tame && hero != nullptr) {
        int32_t experience = xpValue;
        if (isNamed) experience = static_cast<int32_t>(static_cast<float>(experience) * GetTweakFloat("boss mob XP scaler"));
        hero->AddExperience(experience, 0);
    }
    dead = 1;
    deathProcessed = true;
    int32_t corpseX = x;
    int32_t corpseY = y;
    FindCorpseSquare(&corpseX, &corpseY);
    if (quest != nullptr) quest->OnMonsterKilled(this);
    if (dieSprite != nullptr) {
        bob.SetSprite(dieSprite);
        bob.loop = false;
        bob.playing = true;
    }
    if (TutorialFlag) NotifyTutorial(1, customName);
    // The corpse lies under the living: it no longer blocks, acts or hides what stands there.
    active = 0;
    blocksMovement = 0;
    blocksSight = 0;
    if (level != nullptr) QueueObjectMove(this, corpseX, corpseY, level);
    if (midasLevel > 0) {
        DropOnSquare(this, new Zorkmids(midasLevel * GetTweakInt("midas scaler")));
        PlaySFX("money_get");
        midasLevel = 0;
    }
    if (IsFinalBoss(recordName)) CelebrateFinalBoss();
    for (GameObj* item : carriedItems) DropOnSquare(this, item);
    carriedItems.clear();
    const int32_t chance = GetTweakInt("monster loot drop chance");
    const bool goldDrops = chance < 1 || chance > 32766 || MTRandomInt(static_cast<uint32_t>(chance)) == 0;
    if (goldDrops) {
        const int32_t depth = level != nullptr ? level->depth : 0;
        DropOnSquare(this, new Zorkmids(5 + RandomInt(GetTweakInt("gold drop per level") * (depth + 1))));
        PlaySFX("money_get");
    }
}

void Monster::FindCorpseSquare(int32_t* outX, int32_t* outY) const {
    *outX = x;
    *outY = y;
    if (level == nullptr) return;
    int32_t cx = x;
    int32_t cy = y;
    // Bounded: a monster whose neighbours all are unsuitable stays where it fell.
    for (int32_t tries = 0; tries < kCorpseSquareTries && !CorpseMayLieOn(level->SquareKind(cx, cy)); ++tries) {
        if (MTOneChanceIn(2)) {
            cx = MTOneChanceIn(2) ? x - 1 : x + 1;
        } else {
            cy = MTOneChanceIn(2) ? y + 1 : y - 1;
        }
    }
    // SquareKind is -1 outside the grid, so a suitable square always lies inside it.
    if (!CorpseMayLieOn(level->SquareKind(cx, cy))) return;
    *outX = cx;
    *outY = cy;
}

void Monster::CelebrateFinalBoss() {
    if (dieSprite != nullptr) {
        bob.SetSprite(dieSprite);
        bob.loop = false;
        bob.playing = true;
        // The death animation plays to its end (bounded, should the clock stand still).
        for (int32_t frame = 0; frame < kBossDeathFrames && !bob.finished; ++frame) {
            DrawGameScreen();
            AdvanceFrame();
            bob.Update(16);
        }
    }
    VictoryFlag = true;
    PlayMusicOnce("tunes/orb-unlooped.ogg");
    if (CurrentPlayer != nullptr) CurrentPlayer->PlayVictoryAnimation();
    for (;;) {
        DrawGameScreen();
        UpdateMouseCursor();
        AdvanceFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_MOUSEBUTTONUP || event.type == SDL_QUIT) return;
        }
    }
}

void Monster::WakeNearbyMonsters() {
    Player* hero = CurrentPlayer;
    if (level == nullptr) return;
    const int32_t sneakiness = hero != nullptr ? hero->stat[kStatSneakiness] : 0;
    const std::vector<GameObj*> monsters = level->monsters;
    for (GameObj* obj : monsters) {
        Monster* other = dynamic_cast<Monster*>(obj);
        if (other == nullptr) continue;
        const int32_t dx = other->x - x;
        const int32_t dy = other->y - y;
        if (dx * dx + dy * dy >= 25) continue;
        if (PercentRoll() >= std::max(0, 100 - sneakiness)) continue;
        if (!other->HasStatus(kStatusAsleep)) continue;
        if (level->SquareKind(other->x, other->y) != SquareType::ZooFloor) {
            AddText("A nearby monster has woken up as a result of the fighting!", true);
        }
        // Only the sleep ends: a commander's fallen horde stays afraid.
        other->statusFlags &= ~kStatusAsleep;
        other->sleepTurns = 0;
    }
}
