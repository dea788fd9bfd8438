// Stand-in: what is still to be built is listed at the top of creatures/experience.h.
#include "creatures/experience.h"

std::vector<int32_t> ExperienceTable;

void InitExperienceTable() {
    ExperienceTable.assign(static_cast<size_t>(kMaxHeroLevel) + 1, 0);
    for (int32_t level = 1; level <= kMaxHeroLevel; ++level) {
        ExperienceTable[static_cast<size_t>(level)] = 100 * level + 25 * level * (level - 1);
    }
}

int32_t ExperienceForLevel(int32_t level) {
    if (level < 1 || static_cast<size_t>(level) >= ExperienceTable.size()) {
        return 0;
    }
    return ExperienceTable[static_cast<size_t>(level)];
}
