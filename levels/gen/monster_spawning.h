#pragma once
// Monster population: rooms fill with monsters the first time the hero sees into them,
// monster zoos fill square by square, and a wandering-monster spawner adds monsters near
// the hero every few turns while a suppression count lets it.
#include <cstdint>

class Level;
struct RoomRecord;

// The spawner state of the running game (not saved).
struct MonsterSpawnerState {
    int32_t spawnTurn = 0;
    int32_t lastSpawnTurn = 0;
    int32_t lastCalmTurn = 0;
    int32_t spawnSuppression = 60;  // the periodic spawner works only below 60
    int32_t roomsPopulated = 0;
    bool zooAnnounced = false;      // the zoo announcement is made once a game
};

extern MonsterSpawnerState MonsterSpawner;

// Resets the spawner (before every new game and tutorial).
void InitMonsterSpawning();
// Called by creature code: flag 0 adds 10 points of suppression.
void DelayMonsterSpawning(int32_t flag);
// The spawner's part of every turn: counts the turn, lets the suppression fall and spawns a
// monster in or beside a neighbouring room of the hero's room when it is time.
void UpdateMonsterSpawning();
// After a sight pass: discovers the rooms of the current level the hero now sees into,
// fills them (and zoos) and announces the first zoo.
void DiscoverMonsterZoo();
// Fills a room the first time it is seen; marks it active.
void PopulateRoomWithMonsters(Level* level, RoomRecord* room);
// Puts a monster on every free zoo square of the room.
void FillMonsterZoo(Level* level, RoomRecord* room);

// The wandering monster of every hundredth turn: one monster at a random free square, awake,
// alone, swimmers allowed.
void SpawnWanderingMonster(Level* level);
