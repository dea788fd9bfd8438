// Stand-in: what is still to be built is listed at the top of creatures/monster_db.h.
#include "creatures/monster_db.h"

#include "core/random.h"

std::vector<MonsterRecord*> MonsterDB;

void monDBLoad(const char*) {}

MonsterRecord* monDBFindByName(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (MonsterRecord* record : MonsterDB) {
        if (record->name == name) {
            return record;
        }
    }
    return nullptr;
}

MonsterRecord* monDBFindByDisplayName(const char* displayName) {
    if (displayName == nullptr) {
        return nullptr;
    }
    for (MonsterRecord* record : MonsterDB) {
        if (record->displayName == displayName) {
            return record;
        }
    }
    return nullptr;
}

std::string MakeMonsterName() {
    static const char* const kFirst[] = {"Grub", "Mor", "Thal", "Vesk", "Pim", "Orl"};
    static const char* const kLast[] = {"nak", "dregg", "wick", "olm", "azzle", "frit"};
    const int first = CRand() % 6;
    const int last = CRand() % 6;
    return std::string(kFirst[first]) + kLast[last];
}

void ClearMonsterDB() {
    for (MonsterRecord* record : MonsterDB) {
        delete record;
    }
    MonsterDB.clear();
}
