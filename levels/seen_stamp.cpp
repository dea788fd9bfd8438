#include "levels/seen_stamp.h"

#include <unordered_map>

namespace {

uint64_t lastStamp = 0;

// Never destroyed: levels destroyed at exit still drop their stamps.
std::unordered_map<const Level*, uint64_t>& Stamps() {
    static auto* stamps = new std::unordered_map<const Level*, uint64_t>();
    return *stamps;
}

}  // namespace

uint64_t LevelSeenStamp(const Level* level) {
    auto found = Stamps().find(level);
    if (found != Stamps().end()) return found->second;
    const uint64_t stamp = ++lastStamp;
    Stamps()[level] = stamp;
    return stamp;
}

void NoteLevelSeenChange(const Level* level) {
    Stamps()[level] = ++lastStamp;
}

void ForgetLevelSeenStamp(const Level* level) {
    Stamps().erase(level);
}
