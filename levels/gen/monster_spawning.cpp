// Stand-in: what is still to be built is listed at the top of levels/gen/monster_spawning.h.
#include "levels/gen/monster_spawning.h"

#include "levels/level.h"

int32_t MonsterSpawnSuppression = 0;

void InitMonsterSpawning() {
    MonsterSpawnSuppression = 0;
}

void DelayMonsterSpawning(int32_t flag) {
    if (flag == 0) {
        MonsterSpawnSuppression += 10;
    }
}

void UpdateMonsterSpawning() {}

void SpawnWanderingMonster(Level* level) {
    if (level) level->SpawnMonster(-1, -1, false, false, true);
}
