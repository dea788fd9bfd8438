// autoplay: plays whole games on its own, headless and on the fixed frame clock, through the
// game's own start-up, play loop and turn engine. Each game runs the real game (GameMain) in
// a child process with a fresh user folder; a driver called by the play loop acts with the same
// calls a click or a key makes (a click on a square, an item used from the backpack, the rest
// key, the trapdoor key), and the dialogs and screens that wait for input are answered through
// the logged input as a player's keys and clicks would be.
//
// The policy is plain: fight what stands next to the hero or hunts it, drink or eat when low,
// rest when nothing is in sight, pick up what lies about, explore toward unexplored squares,
// take the stairs down once the level is explored (or after a while), and on the last level
// go for the final boss.
//
//   autoplay [--seeds N | --seeds A,B,C | --seed S] [--first-seed S] [--difficulty easy|normal|hard|0..2]
//            [--quick] [--extended] [--start-depth LEVEL] [--hero-level L] [--hero-bonus B] [--turn-limit T]
//            [--permadeath] [--save-at-start] [--user-dir DIR] [--keep-logs DIR]
//            [--game-timeout SECONDS] [--quiet]
//
// Prints one line per level of each game (depth, turns, health, hero level, kills, items) and
// how the game ended: death (cause and square), victory, or stuck (no path, a window it could
// not close, the turn limit). For a set of seeds it then prints a table. Exit code 0 when every
// game ended in a death, a victory or its turn limit; 1 when a game crashed, hung, was stuck
// otherwise or a sanitizer reported; 2 for a bad command line.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/input_log.h"
#include "core/shell/debug_keys.h"
#include "core/shell/game_input.h"
#include "core/shell/level_change.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/shell/startup.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/shopkeeper.h"
#include "core/shell/play_input.h"
#include "interface/skill_tome.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/weapon.h"
#include "creatures/ability.h"
#include "creatures/skill_db.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_layout.h"
#include "levels/level.h"
#include "media/screen.h"
#include "media/bob.h"
#include "store_platform/stats.h"
#include "tools/autoplay_report.h"

namespace {

using autoplay::GameResult;
using autoplay::LevelRecord;
using autoplay::ParseReport;
using autoplay::PrintGame;
using autoplay::PrintTable;

struct Options {
    std::vector<uint32_t> seeds;
    int32_t difficulty = 1;
    bool quick = false;
    bool extended = false;
    bool permadeath = false;
    bool saveAtStart = false;
    int32_t startDepth = 0;
    int32_t heroLevel = 0;
    int32_t heroBonus = 0;
    int32_t turnLimit = 20000;
    int32_t gameTimeout = 900;
    std::string userDir;
    std::string keepLogs;
    bool quiet = false;
};

// ---------------------------------------------------------------------------------------
// The child: one game of the real program, driven from inside its play loop.

Options Opt;
int ResultFd = -1;
uint32_t GameSeed = 0;

void Emit(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    std::string text = std::string(line) + "\n";
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = write(ResultFd, p, left);
        if (n <= 0 && errno != EINTR) return;
        if (n > 0) {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
}

struct DriverState {
    bool started = false;
    bool finished = false;  // the end was reported; the game winds down by itself
    bool gameSeen = false;  // a hero has been in play
    Level* level = nullptr;  // compared only: a side dimension is deleted once left
    int32_t levelDepth = 0;  // shown depth (1 = the first level)
    bool levelSide = false;  // a side dimension reached through a portal
    int32_t levelStartTurn = 0;
    int32_t levelStartKills = 0;
    int32_t picked = 0;
    int32_t idlePasses = 0;
    int32_t pollsIdle = 0;
    int32_t lastTurns = -1;
    int32_t answers = 0;
    int32_t menuAnswers = 0;
    int32_t restStreak = 0;
    int32_t restStartHealth = 0;
    bool restingUseless = false;
    std::string lastAction;
    // Squares that did not answer as expected, with the tries spent on them, per level.
    std::map<std::pair<int32_t, int32_t>, int32_t> tries;
    std::set<std::pair<int32_t, int32_t>> given;  // given up: never a target or a way again
    bool crossTraps = false;  // no other way on: spotted traps count as open ground
};
DriverState D;

int32_t Kills() { return GetStatInt("STAT_MONSTERS_KILLED"); }

int32_t CarriedItems(const Player& hero) {
    int32_t n = 0;
    for (Item* item : InventoryGrid.cells) n += item != nullptr ? 1 : 0;
    for (Item* item : hero.quickSlots) n += item != nullptr ? 1 : 0;
    return n;
}

void EmitLevelLine() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || D.level == nullptr) return;
    Emit("LEVEL %d %d %d %d %d %d %d %d %d", D.levelDepth, HeroInputTurns - D.levelStartTurn, hero->health,
         hero->stat[0], hero->level, Kills() - D.levelStartKills, D.picked, CarriedItems(*hero), D.levelSide ? 1 : 0);
}

[[noreturn]] void Stuck(const std::string& reason) {
    EmitLevelLine();
    Player* hero = CurrentPlayer;
    Emit("END stuck %d %d %d %d %s", D.levelDepth, HeroInputTurns,
         hero != nullptr ? hero->x : -1, hero != nullptr ? hero->y : -1, reason.c_str());
    std::fflush(stdout);
    _exit(0);
}

std::string SeedLine() { return "seed " + std::to_string(GameSeed) + "\n"; }

// The logged input asks here whenever the game wants input and no script plays. The play loop's
// own passes are answered by the driver; anything else that waits long without a turn passing
// is a window or a screen, answered as a player would.
std::string AnswerWaitingWindow() {
    if (D.gameSeen && CurrentPlayer == nullptr) {
        // The game is over and the title menu is up: leave it as a player does.
        if (++D.menuAnswers > 6) Stuck("a window it could not close: the title menu");
        return SeedLine() + "wait 100\nkey escape\nwait 100\nclick 1 535 458\n";
    }
    if (HeroInputTurns != D.lastTurns) {
        D.lastTurns = HeroInputTurns;
        D.pollsIdle = 0;
        D.answers = 0;
    }
    if (++D.pollsIdle < 150) return "";
    D.pollsIdle = 0;
    ++D.answers;
    // The window that would not close is kept as a picture in the user folder.
    if (D.answers == 40) return SeedLine() + "screenshot\n";
    if (D.answers > 40) Stuck("a window it could not close");
    // The message boxes sit in the middle of the screen with their two buttons below the
    // text: the second ("No") first, then the first, then the keys and a plain click.
    const int32_t cx = ScreenSurface != nullptr ? ScreenSurface->w / 2 : 640;
    const int32_t cy = ScreenSurface != nullptr ? ScreenSurface->h / 2 : 360;
    const auto click = [](int32_t x, int32_t y) {
        return "click 1 " + std::to_string(x) + " " + std::to_string(y) + "\n";
    };
    const std::string answers[] = {click(cx + 105, cy + 98), click(cx - 105, cy + 98), "key return\n", "key escape\n",
                                   click(cx, cy)};
    return SeedLine() + "wait 20\n" + answers[(D.answers - 1) % 5];
}

// ---- what the hero sees and may do

bool Hostile(Monster* m) {
    return m != nullptr && m->dead == 0 && !m->tame && m->pacifyTurns <= 0 && dynamic_cast<Shopkeeper*>(m) == nullptr;
}

bool IsBoss(Monster* m) { return m != nullptr && m->customName == kFinalBossDisplayName; }

bool Visible(Level* level, int32_t x, int32_t y) {
    const LevelCell* cell = level->GetCell(x, y);
    return cell != nullptr && (cell->flags & SquareFlag::Visible) != 0;
}

Monster* MonsterOn(Level* level, int32_t x, int32_t y) {
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return nullptr;
    for (GameObj* obj : cell->contents) {
        if (auto* m = dynamic_cast<Monster*>(obj)) {
            if (m->dead == 0) return m;
        }
    }
    return nullptr;
}

bool HasSpottedTrap(Level* level, int32_t x, int32_t y) {
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->IsSpottedTrap()) return true;
    }
    return false;
}

bool HasAlly(Level* level, int32_t x, int32_t y) {
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->blocksMovement != 0 && obj->passable != 0 && obj != CurrentPlayer) return true;
    }
    return false;
}

bool HasClosedDoor(Level* level, int32_t x, int32_t y) {
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->IsDoorOrLever() != 0 && obj->blocksMovement != 0) return true;
    }
    return false;
}

// A square the hero may cross on the way somewhere: walkable ground without a spotted trap or
// a blocking fixture; closed doors and hostile monsters count as open (they are dealt with when
// the hero stands before them); stairs only as the goal.
bool Passable(Level* level, Player* hero, int32_t x, int32_t y, bool zoo) {
    if (D.given.count({x, y}) != 0) return false;
    const int32_t kind = level->SquareKind(x, y);
    if (!IsWalkableSquareType(kind) || kind == SquareType::StairsUp || kind == SquareType::StairsDown) return false;
    if (!zoo && kind == SquareType::ZooFloor) return false;
    LevelCell* cell = level->GetCell(x, y);
    for (GameObj* obj : cell->contents) {
        if (obj == nullptr || obj == hero) continue;
        if (obj->IsSpottedTrap() && !D.crossTraps) return false;
        // An ally blocks but lets the hero swap places with it.
        if (obj->blocksMovement == 0 || obj->IsDoorOrLever() != 0 || obj->passable != 0) continue;
        if (auto* m = dynamic_cast<Monster*>(obj)) {
            if (Hostile(m)) continue;
        }
        return false;
    }
    return true;
}

bool Known(Level* level, int32_t x, int32_t y) {
    const LevelCell* cell = level->GetCell(x, y);
    return cell != nullptr && (cell->flags & (SquareFlag::Explored | SquareFlag::Visible | SquareFlag::Mapped)) != 0;
}

// Breadth-first search over the known squares from the hero to the first square `goal` accepts
// (which need not be passable itself); the path without the hero's square, or empty.
template <typename Goal>
std::vector<std::pair<int32_t, int32_t>> Route(Level* level, Player* hero, bool zoo, bool unknownToo, Goal goal) {
    const int32_t w = level->width;
    const int32_t h = level->height;
    std::vector<int32_t> from(static_cast<size_t>(w * h), -2);
    std::deque<int32_t> queue;
    const int32_t start = hero->y * w + hero->x;
    from[static_cast<size_t>(start)] = -1;
    queue.push_back(start);
    static const int32_t kDx[4] = {1, -1, 0, 0};
    static const int32_t kDy[4] = {0, 0, 1, -1};
    while (!queue.empty()) {
        const int32_t at = queue.front();
        queue.pop_front();
        const int32_t x = at % w;
        const int32_t y = at / w;
        if (at != start && goal(x, y)) {
            std::vector<std::pair<int32_t, int32_t>> path;
            for (int32_t p = at; p != start; p = from[static_cast<size_t>(p)]) path.emplace_back(p % w, p / w);
            std::reverse(path.begin(), path.end());
            return path;
        }
        if (at != start && !Passable(level, hero, x, y, zoo)) continue;
        for (int d = 0; d < 4; ++d) {
            const int32_t nx = x + kDx[d];
            const int32_t ny = y + kDy[d];
            if (!level->IsInside(nx, ny)) continue;
            const int32_t n = ny * w + nx;
            if (from[static_cast<size_t>(n)] != -2) continue;
            if (!unknownToo && !Known(level, nx, ny)) continue;
            from[static_cast<size_t>(n)] = at;
            queue.push_back(n);
        }
    }
    return {};
}

// An explored square with an unexplored walkable neighbour.
bool Frontier(Level* level, Player* hero, int32_t x, int32_t y) {
    if (!Known(level, x, y) || !Passable(level, hero, x, y, false)) return false;
    static const int32_t kDx[4] = {1, -1, 0, 0};
    static const int32_t kDy[4] = {0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
        const int32_t nx = x + kDx[d];
        const int32_t ny = y + kDy[d];
        if (level->IsInside(nx, ny) && !Known(level, nx, ny) && IsWalkableSquareType(level->SquareKind(nx, ny))) {
            return true;
        }
    }
    return false;
}

bool HasPortal(Level* level, int32_t x, int32_t y) {
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (dynamic_cast<Portal*>(obj) != nullptr) return true;
    }
    return false;
}

// An item lying free on the square (not for sale).
bool LooseItemOn(Level* level, int32_t x, int32_t y) {
    if (level->SquareKind(x, y) == SquareType::ShopFloor) return false;
    LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->IsItem() && obj->blocksMovement == 0) return true;
    }
    return false;
}

// What closes the hero in, for a stuck report: each neighbour's square kind and what blocks it.
std::string Surroundings(Level* level, Player* hero) {
    static const int32_t kDx[4] = {1, -1, 0, 0};
    static const int32_t kDy[4] = {0, 0, 1, -1};
    static const char* const kSide[4] = {"east", "west", "south", "north"};
    std::string text = "around the hero:";
    for (int d = 0; d < 4; ++d) {
        const int32_t x = hero->x + kDx[d];
        const int32_t y = hero->y + kDy[d];
        text += std::string(" ") + kSide[d] + " kind " + std::to_string(level->SquareKind(x, y));
        if (LevelCell* cell = level->GetCell(x, y)) {
            if (!Known(level, x, y)) text += " unseen";
            if (D.given.count({x, y}) != 0) text += " given up";
            for (GameObj* obj : cell->contents) {
                if (obj == nullptr) continue;
                const std::string name = obj->GetName();
                text += " [" + (name.empty() ? std::string(typeid(*obj).name()) : name) +
                        (obj->blocksMovement != 0 ? " blocking" : "") +
                        (obj->IsSpottedTrap() ? " trap" : "") + "]";
            }
        }
        text += ";";
    }
    return text;
}

// ---- actions, each the call a click or a key makes

// A left click on the square: attack, open, pick up, use, or walk there.
void ClickSquare(int32_t x, int32_t y, const char* what) {
    D.lastAction = std::string(what) + " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    ActivateSquareObjects(x, y);
}

// One step along a path: what stands on the next square is dealt with first. A square that
// keeps refusing is given up.
void StepAlong(Player* hero, const std::vector<std::pair<int32_t, int32_t>>& path, const char* why) {
    const int32_t nx = path.front().first;
    const int32_t ny = path.front().second;
    if (HasSpottedTrap(CurrentLevel, nx, ny) || HasAlly(CurrentLevel, nx, ny)) {
        // A click would try to disarm a trap and a walk stops before it or an ally: a move key
        // steps on (and swaps places with the ally).
        static const char* const kKeys[3][3] = {{"", "up", ""}, {"left", "", "right"}, {"", "down", ""}};
        const char* key = kKeys[ny - hero->y + 1][nx - hero->x + 1];
        D.lastAction = std::string("key step to (") + std::to_string(nx) + ", " + std::to_string(ny) + ")";
        if (++D.tries[{nx, ny}] > 6) D.given.insert({nx, ny});
        OpenInputScriptText(SeedLine() + "key " + key + "\n");
        return;
    }
    const int32_t tried = ++D.tries[{nx, ny}];
    if (tried > 12) D.given.insert({nx, ny});
    if (tried > 3 && MonsterOn(CurrentLevel, nx, ny) == nullptr && !HasClosedDoor(CurrentLevel, nx, ny)) {
        // A click keeps using what stands there: walk onto it instead.
        D.lastAction = std::string("walk (") + why + ") to (" + std::to_string(nx) + ", " + std::to_string(ny) + ")";
        hero->WalkPathTo(nx, ny);
        return;
    }
    ClickSquare(nx, ny, why);
}

bool HealingItem(Item* item) {
    if (item == nullptr || item->def == nullptr) return false;
    if (dynamic_cast<Potion*>(item) != nullptr) {
        const std::string& name = item->def->name;
        return name.find("Mend") != std::string::npos || name.find("Heal") != std::string::npos ||
               name.find("Health") != std::string::npos || name.find("Restor") != std::string::npos;
    }
    return dynamic_cast<Food*>(item) != nullptr && item->def->hp > 0;
}

// Drinks or eats the first healing thing of the belt or the backpack, as its right click does.
bool UseHealing(Player* hero) {
    std::vector<Item*> carried;
    for (Item* item : hero->quickSlots) carried.push_back(item);
    for (Item* item : InventoryGrid.cells) carried.push_back(item);
    for (Item* item : carried) {
        if (!HealingItem(item)) continue;
        const bool potion = dynamic_cast<Potion*>(item) != nullptr;
        if (!potion && hero->IsDigesting()) continue;
        D.lastAction = "use " + item->def->name;
        if (item->Use() != 0) {
            AdvanceTurn();
            return true;
        }
    }
    return false;
}

// Spends a skill point as a click in the skill tome does: the learnable ability of the lowest
// level, so the build grows evenly.
bool LearnSomething(Player* hero) {
    if (hero->skillPoints < 1) return false;
    AbilityRecord* best = nullptr;
    for (AbilityRecord* ability : AbilityList) {
        if (AbilityLearnable(ability) && (best == nullptr || ability->level < best->level)) best = ability;
    }
    if (best == nullptr) return false;
    D.lastAction = "learn " + best->name;
    return LearnAbility(best);
}

int32_t DamageSum(const Item* item) {
    int32_t sum = 0;
    if (item != nullptr && item->def != nullptr) {
        for (int32_t d : item->def->damage) sum += d;
    }
    return sum;
}

// Puts on what is better than what is worn, as a right click in the backpack does: body
// armour of more protection, a melee weapon of more damage. Each item is tried once.
bool EquipBetter(Player* hero) {
    static std::set<const Item*> tried;
    for (Item* item : InventoryGrid.cells) {
        if (item == nullptr || item->def == nullptr || tried.count(item) != 0) continue;
        bool better = false;
        if (auto* armour = dynamic_cast<Armour*>(item)) {
            const int32_t slot = armour->Slot();
            if (slot == 0 || slot == 5 || slot == 6 || slot == 7 || (slot >= 9 && slot <= 11)) {
                const Item* worn = hero->EquippedAt(slot);
                better = worn == nullptr || (worn->def != nullptr && item->def->ac > worn->def->ac);
            }
        } else if (auto* weapon = dynamic_cast<Weapon*>(item)) {
            const int32_t kind = weapon->Kind();
            const Item* held = hero->firstHandWeapon;
            better = kind >= 0 && kind < kWeaponCrossbow && DamageSum(item) > DamageSum(held) + (held == nullptr ? -1 : 0);
        }
        if (!better) continue;
        tried.insert(item);
        D.lastAction = "equip " + item->def->name;
        item->Use();
        return true;
    }
    return false;
}

void Rest(Player* hero) {
    D.lastAction = "rest";
    // The rest key: one turn, and the next wandering monster comes ten turns sooner.
    hero->wanderingMonsterTurns += 10;
    AdvanceTurn();
}

// ---- the driver

void Setup(Player* hero) {
    AnimationSpeedDivisor = 8;  // the animation-speed key pressed three times
    if (Opt.heroLevel > hero->level) {
        // The debug level boost, by as many levels as asked.
        const int32_t add = Opt.heroLevel - hero->level;
        hero->level += add;
        hero->skillPoints += add;
        hero->LevelUp();
    }
    for (int32_t d = 0; d < Opt.startDepth; ++d) {
        const Level* before = CurrentLevel;
        TrapdoorKeyAction(1);
        if (CurrentLevel == before) break;
    }
    // The skill points go into the tome at once, and the hero starts whole.
    while (LearnSomething(hero)) {
    }
    // A test's strong hero: every primary statistic raised by the same flat bonus.
    for (int32_t& bonus : hero->primaryBonus) bonus += Opt.heroBonus;
    hero->RecalculateStats();
    hero->health = hero->stat[0];
    hero->mana = hero->stat[1];
    if (Opt.saveAtStart) {
        // What the autosave and the settings window's save and quit write.
        if (hero->saveName.empty()) {
            ReadSaveIndex(nullptr);
            hero->saveName = MakeUniqueSaveFileName(hero->name.c_str());
        }
        if (SaveGame(kAutosaveFileName)) Emit("SAVED %s", kAutosaveFileName);
        if (SaveGame(hero->saveName.c_str())) Emit("SAVED %s", hero->saveName.c_str());
    }
}

void NoteLevel(Level* level) {
    const bool side = level->isSideDimension != 0;
    // A side dimension counts at the depth it was entered from.
    const int32_t depth = (side ? level->returnDepth : level->depth) + 1;
    if (level == D.level && depth == D.levelDepth && side == D.levelSide) return;
    if (D.level != nullptr) EmitLevelLine();
    D.level = level;
    D.levelDepth = depth;
    D.levelSide = side;
    D.levelStartTurn = HeroInputTurns;
    D.levelStartKills = Kills();
    D.picked = 0;
    D.tries.clear();
    D.given.clear();
    D.crossTraps = false;
    D.restStreak = 0;
    D.restingUseless = false;
}

int32_t Distance(int32_t ax, int32_t ay, int32_t bx, int32_t by) { return std::abs(ax - bx) + std::abs(ay - by); }

void Act(Player* hero, Level* level) {
    const int32_t maxHealth = std::max(1, hero->stat[0]);
    // What is near: hostiles next to the hero, and the awake ones in sight.
    Monster* adjacent = nullptr;
    Monster* hunting = nullptr;
    Monster* boss = nullptr;
    int32_t huntDistance = 1 << 30;
    for (GameObj* obj : level->monsters) {
        auto* m = dynamic_cast<Monster*>(obj);
        if (!Hostile(m)) continue;
        if (IsBoss(m)) boss = m;
        const int32_t d = Distance(m->x, m->y, hero->x, hero->y);
        if (d == 1 && (adjacent == nullptr || IsBoss(adjacent))) adjacent = m;
        if (d > 1 && d <= 8 && Visible(level, m->x, m->y) && !m->HasStatus(Monster::kStatusAsleep) && d < huntDistance) {
            hunting = m;
            huntDistance = d;
        }
    }
    const bool threatened = adjacent != nullptr || hunting != nullptr;
    // Free actions between fights: skill points and better things to wear.
    if (!threatened && (LearnSomething(hero) || EquipBetter(hero))) return;
    if (hero->health * 100 < maxHealth * (threatened ? 35 : 50) && UseHealing(hero)) return;
    if (adjacent != nullptr) {
        ClickSquare(adjacent->x, adjacent->y, "attack");
        return;
    }
    if (hunting != nullptr) {
        auto path = Route(level, hero, true, false, [&](int32_t x, int32_t y) { return x == hunting->x && y == hunting->y; });
        if (!path.empty()) {
            StepAlong(hero, path, "approach");
            return;
        }
    }
    // Nothing in sight: rest back to health.
    if (!threatened && !D.restingUseless && hero->health * 100 < maxHealth * 70) {
        if (D.restStreak == 0) D.restStartHealth = hero->health;
        if (++D.restStreak % 60 == 0) {
            if (hero->health <= D.restStartHealth) D.restingUseless = true;
            D.restStartHealth = hero->health;
        }
        Rest(hero);
        return;
    }
    D.restStreak = 0;
    // Things to pick up in sight.
    auto path = Route(level, hero, false, false,
                      [&](int32_t x, int32_t y) { return Visible(level, x, y) && D.given.count({x, y}) == 0 && LooseItemOn(level, x, y); });
    if (!path.empty() && path.size() <= 12) {
        if (path.size() == 1) {
            const auto square = path.front();
            if (++D.tries[square] > 4) D.given.insert(square);
            ClickSquare(square.first, square.second, "pick up");
            ++D.picked;
            return;
        }
        StepAlong(hero, path, "fetch");
        return;
    }
    const bool lastLevel = level->depth >= LastDungeonDepth();
    const int32_t turnsHere = HeroInputTurns - D.levelStartTurn;
    const bool longEnough = turnsHere > 1500 && hero->health * 100 >= maxHealth * 60;
    if (!longEnough) {
        path = Route(level, hero, false, false, [&](int32_t x, int32_t y) { return Frontier(level, hero, x, y); });
        if (!path.empty()) {
            StepAlong(hero, path, "explore");
            return;
        }
    }
    if (lastLevel) {
        if (boss == nullptr) Stuck("no path: the last level has no final boss to fight");
        for (bool unknown : {false, true}) {
            path = Route(level, hero, true, unknown, [&](int32_t x, int32_t y) { return x == boss->x && y == boss->y; });
            if (!path.empty()) {
                StepAlong(hero, path, "go for the final boss");
                return;
            }
        }
        Stuck("no path: the final boss cannot be reached");
    }
    if (level->isSideDimension != 0) {
        // The way back is the portal of the side dimension.
        for (bool unknown : {false, true}) {
            path = Route(level, hero, true, unknown, [&](int32_t x, int32_t y) { return HasPortal(level, x, y); });
            if (!path.empty()) {
                StepAlong(hero, path, "portal back");
                return;
            }
        }
        Stuck("no path: no way back out of the side dimension");
    }
    for (bool zoo : {false, true}) {
        path = Route(level, hero, zoo, false, [&](int32_t x, int32_t y) { return level->SquareKind(x, y) == SquareType::StairsDown; });
        if (!path.empty()) {
            StepAlong(hero, path, "stairs down");
            return;
        }
    }
    if (longEnough) {
        path = Route(level, hero, false, false, [&](int32_t x, int32_t y) { return Frontier(level, hero, x, y); });
        if (!path.empty()) {
            StepAlong(hero, path, "explore");
            return;
        }
    }
    path = Route(level, hero, true, false, [&](int32_t x, int32_t y) { return Frontier(level, hero, x, y); });
    if (!path.empty()) {
        StepAlong(hero, path, "explore a zoo");
        return;
    }
    // Nothing seen yet that leads on (a level just arrived on shows itself after a turn): a
    // square never seen that is open ground, reached across unseen squares too.
    for (bool unknown : {false, true}) {
        path = Route(level, hero, true, unknown, [&](int32_t x, int32_t y) {
            return !Known(level, x, y) && Passable(level, hero, x, y, true);
        });
        if (!path.empty()) {
            StepAlong(hero, path, "explore the unseen");
            return;
        }
    }
    if (!D.crossTraps) {
        // Every way on crosses a spotted trap: walk over them from now on.
        D.crossTraps = true;
        D.lastAction = "look again, traps and all";
        return;
    }
    Stuck("no path: no unexplored square and no stairs down can be reached; " + Surroundings(level, hero));
}

// The final boss fell (the game shows the victory screen at its next pass).
bool TellVictory() {
    Player* hero = CurrentPlayer;
    if (!VictoryFlag || hero == nullptr || CurrentLevel == nullptr) return false;
    EmitLevelLine();
    Emit("END victory %d %d %d %d %d", D.levelDepth, HeroInputTurns, hero->x, hero->y, hero->score);
    D.finished = true;
    return true;
}

void Drive() {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    // Once the end is told, the closing screens are answered like any waiting window.
    if (hero == nullptr || level == nullptr || D.finished) return;
    D.pollsIdle = 0;
    D.gameSeen = true;
    if (!D.started) {
        D.started = true;
        Setup(hero);
        return;
    }
    NoteLevel(level);
    if (TellVictory()) return;
    if (hero->dead != 0) {
        EmitLevelLine();
        Emit("END death %d %d %d %d %s%s", D.levelDepth, HeroInputTurns, hero->x, hero->y, D.levelSide ? "(in a side dimension) " : "",
             hero->deathCause.empty() ? "(no cause)" : hero->deathCause.c_str());
        D.finished = true;
        // Any click now leads to the death screen.
        OpenInputScriptText(SeedLine() + "wait 100\nclick 1 400 300\n");
        return;
    }
    if (HeroInputTurns >= Opt.turnLimit) Stuck("turn limit");
    // A key step or a script of ours is still under way: the game goes on with it first.
    if (InputScriptActive() || !MoveKeyQueue.empty() || StepFlags[0] || StepFlags[1] || StepFlags[2] || StepFlags[3]) {
        return;
    }
    const int32_t turns = HeroInputTurns;
    const int32_t x = hero->x;
    const int32_t y = hero->y;
    Act(hero, level);
    if (TellVictory()) return;
    if (CurrentPlayer != hero || HeroInputTurns != turns || CurrentLevel != level || hero->x != x || hero->y != y) {
        D.idlePasses = 0;
    } else if (++D.idlePasses > 80) {
        Stuck("no progress: " + D.lastAction);
    }
}

std::string ExeFolder() {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
    return folder.substr(0, folder.find_last_of('/') + 1);
}

int RunChild(uint32_t seed, const std::string& userDir, const std::string& logPath, int fd) {
    ResultFd = fd;
    GameSeed = seed;
    setenv("VAULTMERE_USER_DIR", userDir.c_str(), 1);
    setenv("VAULTMERE_FRAME_MS", "16", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    unsetenv("VAULTMERE_INPUT_SCRIPT");
    unsetenv("VAULTMERE_INPUT_RECORD");
    int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log < 0) log = open("/dev/null", O_WRONLY);
    if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        close(log);
    }
    if (chdir((ExeFolder() + "game").c_str()) != 0) {
        Emit("END stuck 0 0 -1 -1 no game folder beside the program");
        return 2;
    }
    OpenInputScriptText(SeedLine());
    SetInputScriptSource(AnswerWaitingWindow);
    PlayLoopDriver = Drive;
    std::vector<std::string> args = {"vaultmere",
                                     "-no-initial-config",
                                     "-nomusic",
                                     "-nosound",
                                     "-player-random-build",
                                     "-player-name=Autoplay",
                                     "-player-difficulty=" + std::to_string(Opt.difficulty),
                                     "-player-quickie=" + std::to_string(Opt.quick ? 1 : 0),
                                     "-player-extended=" + std::to_string(Opt.extended ? 1 : 0),
                                     "-player-permadeath=" + std::to_string(Opt.permadeath ? 1 : 0)};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    const int rc = GameMain(static_cast<int>(args.size()), argv.data());
    if (!D.finished) Emit("END stuck 0 %d -1 -1 the game ended without a death or a victory", HeroInputTurns);
    Emit("EXIT %d", rc);
    return rc;
}

// ---------------------------------------------------------------------------------------
// The parent: one child per seed, its report read back, and the table.

bool SanitizerReported(const std::string& logPath) {
    FILE* f = std::fopen(logPath.c_str(), "rb");
    if (f == nullptr) return false;
    std::string text;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
    std::fclose(f);
    return text.find("ERROR: AddressSanitizer") != std::string::npos ||
           text.find("ERROR: LeakSanitizer") != std::string::npos || text.find("runtime error:") != std::string::npos;
}

void RemoveTree(const std::string& path) {
    const std::string command = "rm -rf '" + path + "'";
    if (path.find('\'') == std::string::npos && std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "autoplay: could not remove %s\n", path.c_str());
    }
}

GameResult PlayOne(uint32_t seed) {
    std::string userDir = Opt.userDir;
    bool ownDir = false;
    if (userDir.empty()) {
        char pattern[] = "/tmp/autoplay.XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            GameResult r;
            r.seed = seed;
            r.kind = "stuck";
            r.detail = "no temporary user folder";
            return r;
        }
        userDir = pattern;
        ownDir = true;
    }
    const std::string logPath = (Opt.keepLogs.empty() ? userDir : Opt.keepLogs) + "/autoplay_seed" + std::to_string(seed) + ".log";
    int fds[2];
    if (pipe(fds) != 0) std::exit(2);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        // A normal exit, so that the game's exit handlers (and a leak checker) run.
        std::exit(RunChild(seed, userDir, logPath, fds[1]) == 0 ? 0 : 3);
    }
    close(fds[1]);
    std::string report;
    const auto begin = std::chrono::steady_clock::now();
    bool hung = false;
    for (;;) {
        const auto spent = std::chrono::steady_clock::now() - begin;
        const int64_t leftMs = Opt.gameTimeout * 1000LL - std::chrono::duration_cast<std::chrono::milliseconds>(spent).count();
        if (leftMs <= 0) {
            hung = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::min<int64_t>(leftMs, 1000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n <= 0) break;
        report.append(chunk, static_cast<size_t>(n));
    }
    if (hung) kill(child, SIGKILL);
    close(fds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    GameResult r = ParseReport(seed, report);
    if (hung) {
        r.kind = "hang";
        r.detail = "no end within " + std::to_string(Opt.gameTimeout) + " s";
    } else if (WIFSIGNALED(status)) {
        r.detail = "signal " + std::to_string(WTERMSIG(status)) + (r.kind.empty() ? "" : " after " + r.kind);
        r.kind = "crash";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && r.kind != "stuck") {
        r.kind = "crash";
        r.detail = "exit code " + std::to_string(WEXITSTATUS(status));
    }
    r.sanitizer = SanitizerReported(logPath);
    if (ownDir) RemoveTree(userDir);
    return r;
}

bool ParseSeeds(const std::string& text, uint32_t first, std::vector<uint32_t>* out) {
    if (text.find(',') == std::string::npos) {
        const int32_t n = std::atoi(text.c_str());
        if (n <= 0) return false;
        for (int32_t i = 0; i < n; ++i) out->push_back(first + static_cast<uint32_t>(i));
        return true;
    }
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item.empty()) continue;
        out->push_back(static_cast<uint32_t>(std::strtoul(item.c_str(), nullptr, 10)));
    }
    return !out->empty();
}

int Usage() {
    std::printf(
        "usage: autoplay [--seeds N | --seeds A,B,C | --seed S] [--first-seed S] [--difficulty easy|normal|hard]\n"
        "                [--quick] [--extended] [--start-depth LEVEL] [--hero-level L] [--hero-bonus B] [--turn-limit T]\n"
        "                [--permadeath] [--save-at-start] [--user-dir DIR] [--keep-logs DIR]\n"
        "                [--game-timeout SECONDS] [--quiet]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string seedsText = "1";
    uint32_t firstSeed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seeds" && hasValue) {
            seedsText = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            seedsText = std::string(argv[++i]) + ",";
        } else if (arg == "--first-seed" && hasValue) {
            firstSeed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--difficulty" && hasValue) {
            const std::string d = argv[++i];
            Opt.difficulty = d == "easy" ? 0 : d == "normal" || d == "medium" ? 1 : d == "hard" ? 2 : std::atoi(d.c_str());
            if (Opt.difficulty < 0 || Opt.difficulty > 2) return Usage();
        } else if (arg == "--quick") {
            Opt.quick = true;
        } else if (arg == "--extended") {
            Opt.extended = true;
        } else if (arg == "--permadeath") {
            Opt.permadeath = true;
        } else if (arg == "--save-at-start") {
            Opt.saveAtStart = true;
        } else if (arg == "--start-depth" && hasValue) {
            Opt.startDepth = std::max(0, std::atoi(argv[++i]) - 1);
        } else if (arg == "--hero-level" && hasValue) {
            Opt.heroLevel = std::atoi(argv[++i]);
        } else if (arg == "--hero-bonus" && hasValue) {
            Opt.heroBonus = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--turn-limit" && hasValue) {
            Opt.turnLimit = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--game-timeout" && hasValue) {
            Opt.gameTimeout = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--user-dir" && hasValue) {
            Opt.userDir = argv[++i];
        } else if (arg == "--keep-logs" && hasValue) {
            Opt.keepLogs = argv[++i];
        } else if (arg == "--quiet") {
            Opt.quiet = true;
        } else {
            return Usage();
        }
    }
    if (!ParseSeeds(seedsText, firstSeed, &Opt.seeds)) return Usage();
    if (!Opt.userDir.empty() && Opt.seeds.size() != 1) {
        std::printf("autoplay: --user-dir takes one seed\n");
        return 2;
    }
    if (!Opt.keepLogs.empty()) mkdir(Opt.keepLogs.c_str(), 0755);
    std::vector<GameResult> results;
    bool failed = false;
    for (uint32_t seed : Opt.seeds) {
        GameResult r = PlayOne(seed);
        if (!Opt.quiet || r.Failure()) PrintGame(r);
        for (const std::string& name : r.saved) std::printf("  saved at the start: %s\n", name.c_str());
        failed = failed || r.Failure();
        results.push_back(r);
    }
    PrintTable(results);
    return failed ? 1 : 0;
}
