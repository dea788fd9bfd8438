#pragma once
// The wandering-monster spawner.
//
// Stand-in: only the suppression count is kept. Still to be built here: periodic
// spawning, one wandering monster every 100 turns outside tutorials, monster zoos and
// their announcement, and the spawner's part of the turn.
#include <cstdint>

// Points of suppression; each spawn attempt is held back while it is above 0.
extern int32_t MonsterSpawnSuppression;

// Resets the spawner (before every new game and tutorial).
void InitMonsterSpawning();
// Called by creature code: flag 0 adds 10 points of suppression.
void DelayMonsterSpawning(int32_t flag);
// The spawner's part of every turn.
void UpdateMonsterSpawning();

class Level;
// The wandering monster of every hundredth turn: one monster at a random free square, awake,
// alone, swimmers allowed.
void SpawnWanderingMonster(Level* level);
