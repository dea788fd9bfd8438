#pragma once
// Level content generation: a new level's layout and the level-wide content no room template
// places (the quest blocker, random fixtures, money, food, the final boss, teleporters), and the
// random-content operations the layout pass and the room scripts call (treasure and
// consumable rolls, lever closets, named monsters, hordes, single monsters).
//
// The Level operations (PlaceTreasure, PlaceZorkmids, AddLeverCloset, RollMonsterLevel,
// CreateNamedMonster, SpawnHorde, SpawnMonster) are declared with Level.
//
// Every search draws a bounded number of squares or records. What the data lacks (no quest
// records, no monster of a level, no final-boss record, no item definitions) gives a diagnostic
// or a null result, never a hang.
#include <cstdint>

class Item;
class Level;

// Builds the whole level: layout, then content. False when the layout gave up after its
// bounded restarts (the level is still complete).
bool GenLevelContent(Level* level, int32_t width, int32_t height);
// Forgets which missing-data diagnostics were already given: a new game reports them again.
void ResetContentReports();

// A random treasure: an artifact weapon or armour piece when `artifact` is set, else an item
// of the kind the treasure roll picks; null when the item database has no definition for it.
Item* RollTreasure(bool artifact, int32_t unused = 0);
// Something to eat, drink or throw; null without a definition for it.
Item* RollConsumableLoot();
// One random fixture on an open square (nothing when the branch has no blockers).
void RollRoomFurniture(Level* level);

// The record names of the final boss.
constexpr const char* kFinalBossRecordName = "Tougher Lord Zarnoch";      // long dungeon
constexpr const char* kFinalBossDisplayName = "Lord Zarnoch";
