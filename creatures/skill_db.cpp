// Stand-in: what is still to be built is listed at the top of creatures/skill_db.h.
#include "creatures/skill_db.h"

#include "core/high_scores.h"

namespace {

const char* const kBuiltInSkills[] = {
    "Cudgelling",     "Bladecraft",      "Longbowery",   "Pocket Lore",   "Ember Weaving",
    "Frostcraft",     "Sparkwright",     "Fungal Lore",  "Shield Bearing", "Cellar Brewing",
    "Trap Sense",     "Lamplighting",    "Hexwork",      "Bone Whispers", "Tinkering",
    "Stone Skin",     "Moss Healing",    "Haggling",     "Sure Footing",  "Lute Playing",
};

std::vector<SkillRecord> BuiltInSkills() {
    std::vector<SkillRecord> table;
    int32_t code = 0;
    for (const char* name : kBuiltInSkills) {
        SkillRecord record;
        record.name = name;
        record.code = code++;
        table.push_back(record);
    }
    return table;
}

}  // namespace

std::vector<SkillRecord> SkillDB = BuiltInSkills();

void SkillDBLoad(const char*) {}

void AddDummySkills() {
    for (const char* name : {"Untrained", "Wandering"}) {
        SkillRecord record;
        record.name = name;
        record.code = static_cast<int32_t>(SkillDB.size());
        record.excluded = 1;
        SkillDB.push_back(record);
    }
}

void BuildChoosableSkillList(std::vector<int32_t>& skills) {
    skills.clear();
    for (size_t i = 0; i < SkillDB.size(); ++i) {
        if (!SkillDB[i].excluded) {
            skills.push_back(static_cast<int32_t>(i));
        }
    }
}

void LoadLastSkillChoice(std::vector<int32_t>& skills) {
    skills = LoadLastTxt(static_cast<int32_t>(SkillDB.size()));
}

SkillRecord* GetSkillRecord(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= SkillDB.size()) {
        return nullptr;
    }
    return &SkillDB[static_cast<size_t>(index)];
}

void ClearChosenSkills() {
    for (SkillRecord& record : SkillDB) {
        record.chosen = 0;
    }
}

bool SetSkillChosen(int32_t index) {
    SkillRecord* record = GetSkillRecord(index);
    if (record == nullptr) {
        return false;
    }
    record->chosen = 1;
    return true;
}

void ResetSkillDB() {
    SkillDB = BuiltInSkills();
}
