#pragma once
// One <script> of a room template: how often it may fire on a level (-1 without limit), the
// conditions that must all hold, and the actions it runs when it fires. Actions read with
// on="failure" are kept but never run. Scripts belong to their room template and are numbered
// by their position in it.
#include <cstdint>
#include <memory>
#include <vector>

#include "levels/room_actions.h"
#include "levels/room_conditions.h"

class RoomScript {
public:
    explicit RoomScript(int32_t repeatCount = 1) : repeat(repeatCount) {}
    void SetRepeat(int32_t count) { repeat = count; }
    int32_t GetRepeat() const { return repeat; }
    void AddCondition(RoomCondition* c) { conditions.emplace_back(c); }
    void AddSuccessAction(RoomAction* a) { successActions.emplace_back(a); }
    void AddFailureAction(RoomAction* a) { failureActions.emplace_back(a); }

    // The conditions in order, stopping at the first that does not hold; true without any.
    bool TestConditions(int32_t room);
    void RunSuccessActions(int32_t room);

    int32_t repeat;  // -1 without limit
    std::vector<std::unique_ptr<RoomCondition>> conditions;
    std::vector<std::unique_ptr<RoomAction>> successActions;
    std::vector<std::unique_ptr<RoomAction>> failureActions;
};
