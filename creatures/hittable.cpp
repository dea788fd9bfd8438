// Stand-in: what is still to be built is listed at the top of creatures/hittable.h.
#include "creatures/hittable.h"

#include <algorithm>

Hittable::Hittable() = default;

Hittable::~Hittable() {
    for (Buff* buff : buffs) {
        delete buff;
    }
}

void Hittable::UpdateBuffs() {
    for (auto it = buffs.begin(); it != buffs.end();) {
        Buff* buff = *it;
        if (!buff->permanent && --buff->duration <= 0) {
            delete buff;
            it = buffs.erase(it);
        } else {
            ++it;
        }
    }
}

void Hittable::TickSpellTriggers() {}

void Hittable::RecalculateStats() {}

bool Hittable::RemoveBuff(Buff* buff) {
    auto it = std::find(buffs.begin(), buffs.end(), buff);
    if (it == buffs.end()) {
        return false;
    }
    delete *it;
    buffs.erase(it);
    return true;
}
