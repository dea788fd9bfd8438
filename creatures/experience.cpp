#include "creatures/experience.h"

#include "core/tweak.h"

std::vector<int32_t> ExperienceTable;

void InitExperienceTable() {
    // Built at start-up, before any hero exists: the easy section, whatever is played later.
    InitExperienceTableFrom(GetTweakInt("experience n"));
}

void InitExperienceTableFrom(int32_t n) {
    ExperienceTable.assign(static_cast<size_t>(kExperienceTableSize), 0);
    for (int32_t i = 0; i < kExperienceTableSize; ++i) {
        ExperienceTable[static_cast<size_t>(i)] = n + n * (i * (i + 1) / 2);
    }
}

int32_t ExperienceForLevel(int32_t level) {
    if (level < 0 || static_cast<size_t>(level) >= ExperienceTable.size()) return -1;
    return ExperienceTable[static_cast<size_t>(level)];
}
