#include "core/event_log.h"

#include <cstdio>

#include "core/saturating.h"

namespace {

FILE* gEventLog = nullptr;
std::map<std::string, int32_t> gCollected;

}  // namespace

bool OpenEventLog(const std::string& path) {
    CloseEventLog();
    gEventLog = std::fopen(path.c_str(), "w");
    if (gEventLog == nullptr) {
        std::printf("event log: cannot create \"%s\"\n", path.c_str());
        return false;
    }
    return true;
}

void CloseEventLog() {
    if (gEventLog != nullptr) std::fclose(gEventLog);
    gEventLog = nullptr;
    gCollected.clear();
}

bool IsEventLogOpen() { return gEventLog != nullptr; }

void LogEvent(const char* text) {
    if (gEventLog == nullptr) return;
    std::fprintf(gEventLog, "EVENT: %s\n", text != nullptr ? text : "");
    std::fflush(gEventLog);
}

void AddCollectedStat(const char* name, int32_t amount) {
    if (gEventLog == nullptr || name == nullptr) return;
    AddSaturating(gCollected[name], amount);  // sums of prices must not wrap round
}

int32_t GetCollectedStat(const std::string& name) {
    auto it = gCollected.find(name);
    return it == gCollected.end() ? 0 : it->second;
}

const std::map<std::string, int32_t>& CollectedStats() { return gCollected; }
