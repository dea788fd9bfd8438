#pragma once
// A small level with two placed rooms for the room-script tests: room 0 at (2, 2) and room 1 at
// (10, 2), both 6 x 5, with the hero on the level and the templates read from a document made
// in the test.
#include <gtest/gtest.h>

#include <string>

#include "core/command_state.h"
#include "creatures/player.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "media/ticker.h"

class RoomScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedFlags_ = CmdLine.debugFlags;
        CmdLine.debugFlags = 0;
        CurrentPlayer = &hero_;
        level_.reset(new ScopedTestLevel(20, 10, SquareType::Floor));
        for (LevelCell& cell : L().squares) cell.room = kNoRoomIndex;
        ClearTicker();
    }
    void TearDown() override {
        ApplyDeferredObjectMoves();
        DeleteQueuedObjects();
        hero_.PlaceOnLevel(0, 0, nullptr, 0);
        level_.reset();
        ClearRoomTemplates();
        ClearTicker();
        CurrentPlayer = savedHero_;
        CmdLine.debugFlags = savedFlags_;
    }

    Level& L() { return **level_; }

    // Reads the rooms document and places its first two templates as rooms 0 and 1.
    void UseRooms(const std::string& roomsInside) {
        const std::string xml = "<roomdb>" + roomsInside + "</roomdb>";
        ClearRoomTemplates();
        ASSERT_TRUE(LoadRoomTemplatesFromBuffer(xml.data(), xml.size(), "test rooms"));
        for (size_t i = 0; i < RoomTemplates.size() && i < 2; ++i) Place(RoomTemplates[i], 2 + 8 * static_cast<int32_t>(i), 2);
    }
    void Place(RoomTemplate* t, int32_t left, int32_t top) {
        const int32_t index = static_cast<int32_t>(L().rooms.size());
        RoomRecord* record = new RoomRecord(index);
        record->active = 1;
        record->left = left;
        record->top = top;
        record->right = left + 6;
        record->bottom = top + 5;
        record->roomTemplate = t;
        L().rooms.push_back(record);
        for (int32_t y = top; y < top + 5; ++y)
            for (int32_t x = left; x < left + 6; ++x) L().GetCell(x, y)->room = static_cast<uint8_t>(index);
    }
    // Puts the object on the level with a label in a room.
    template <class T>
    T* Label(T* object, int32_t room, const std::string& id, int32_t x, int32_t y) {
        object->PlaceOnLevel(x, y, level_->get(), 1);
        object->roomNumber = room;
        object->roomID = id;
        return object;
    }
    void HeroAt(int32_t x, int32_t y) { hero_.PlaceOnLevel(x, y, level_->get(), 1); }
    static int32_t CountTicker(const std::string& text) {
        int32_t n = 0;
        for (const std::string& line : TickerLines()) n += line.find(text) != std::string::npos ? 1 : 0;
        return n;
    }

    Player hero_;
    Player* savedHero_ = nullptr;
    uint32_t savedFlags_ = 0;
    std::unique_ptr<ScopedTestLevel> level_;
};
