#include "levels/gen/room_triggers.h"

#include <cstdio>

#include "core/command_state.h"
#include "levels/level.h"
#include "levels/room_script.h"
#include "levels/room_templates.h"

namespace {

bool Tracing() { return (CmdLine.debugFlags & kDebugRoomScripts) != 0; }

}  // namespace

bool RoomScript::TestConditions(int32_t room) {
    for (const auto& condition : conditions) {
        if (!condition || !condition->Holds(room)) return false;
    }
    return true;
}

void RoomScript::RunSuccessActions(int32_t room) {
    for (const auto& action : successActions) {
        if (action) action->Execute(room);
    }
}

bool Level::CanRunRoomScript(int32_t room, int32_t script) {
    RoomTemplate* t = GetRoomTemplate(room);
    if (t == nullptr) {
        RoomScriptWarning("roomScript: Found NULL roomTemplate!\n");
        return false;
    }
    if (script < 0 || static_cast<size_t>(script) >= t->scripts.size() || !t->scripts[script]) {
        RoomScriptWarning("roomScript: Found NULL script!\n");
        return false;
    }
    const int32_t repeat = t->scripts[script]->GetRepeat();
    if (repeat == -1) return true;
    return scriptSuccesses[std::make_pair(room, script)] < repeat;
}

void Level::IncRoomScriptCount(int32_t room, int32_t script) { ++scriptSuccesses[std::make_pair(room, script)]; }

void Level::DoRoomTriggerLogic() {
    const bool trace = Tracing();
    if (trace) std::printf("roomScript: DoRoomTriggerLogic for level %p\n", static_cast<void*>(this));
    const int32_t count = static_cast<int32_t>(rooms.size());
    for (int32_t r = 0; r < count; ++r) {
        RoomRecord* record = rooms[r];
        if (record == nullptr) {
            if (trace) std::printf("roomScript: found NULL roomRecords[%d]\n", r);
            continue;
        }
        if (record->active == 0) continue;
        RoomTemplate* t = record->roomTemplate;
        if (t == nullptr) {
            if (trace) std::printf("roomScript: found a RoomRecord with NULL roomTemplate\n");
            continue;
        }
        if (record->roomId != r) RoomScriptWarning("roomScript: mismatched roomID and RoomRecord ID!");
        const int32_t scripts = static_cast<int32_t>(t->scripts.size());
        for (int32_t s = 0; s < scripts; ++s) {
            RoomScript* script = t->scripts[s].get();
            if (trace) {
                auto found = scriptSuccesses.find(std::make_pair(r, s));
                std::printf("roomScript: testing script %d(%p) in room %d (successCount = %d)\n", s,
                            static_cast<void*>(script), r, found != scriptSuccesses.end() ? found->second : 0);
            }
            if (CanRunRoomScript(r, s) && script->TestConditions(r)) {
                script->RunSuccessActions(r);
                IncRoomScriptCount(r, s);
            }
        }
    }
    // Only a room index that has a record names a room; "no room" (255) and levels without
    // records leave -1.
    previousRoom = HeroRoomOn(this);
    ClearRoomEvents();
}

void DoRoomTriggerLogic() {
    if (Tracing()) std::printf("DoRoomTriggerLogic\n");
    if (CurrentLevel != nullptr) CurrentLevel->DoRoomTriggerLogic();
}
