#include "levels/gen/monster_tables.h"

#include <cstdio>

#include "creatures/monster_db.h"

std::vector<MonsterRecord*> MonsterTables[kMonsterLevelCount];

void InitMonsterTables() {
    for (auto& table : MonsterTables) {
        table.clear();
    }
    for (MonsterRecord* record : MonsterTable) {
        if (record == nullptr || record->special != 0) {
            continue;
        }
        if (record->level < 0 || record->level >= kMonsterLevelCount) {
            printf("Monster '%s' has level %d outside 0..%d; left out of the monster tables\n",
                   record->name.c_str(), record->level, kMonsterLevelCount - 1);
            continue;
        }
        MonsterTables[record->level].push_back(record);
    }
}
