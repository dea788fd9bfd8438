// Room-script benchmark: one DoRoomTriggerLogic pass on a 160 x 60 level with 250 placed rooms,
// each with a lever and three scripts that are tested every turn (a lever test, an entered test
// and a breakable event test), none of which fires. Times are in microseconds per pass.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "creatures/player.h"
#include "items_fixtures/passages.h"
#include "levels/gen/room_triggers.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/room_templates.h"

namespace {

constexpr int32_t kRooms = 250;
constexpr int32_t kColumns = 25;

const char* const kRoomsXml =
    "<roomdb><room name='bench' width='6' height='5'>"
    "<row text='######'/><row text='#....#'/><row text='#.1..#'/><row text='#....#'/><row text='######'/>"
    "<lever at='1' id='lever'/>"
    "<script repeat='-1'><condition condition_type='activated' id='lever'/>"
    "<action on='success' action_type='ticker' text='click'/></script>"
    "<script repeat='-1'><condition condition_type='entered'/>"
    "<action on='success' action_type='ticker' text='hello'/></script>"
    "<script repeat='-1'><condition condition_type='event' id='urn' event_type='broken'/>"
    "<action on='success' action_type='ticker' text='crash'/></script>"
    "</room></roomdb>";

void BM_RoomTriggerPass(benchmark::State& state) {
    const std::string xml = kRoomsXml;
    LoadRoomTemplatesFromBuffer(xml.data(), xml.size(), "bench rooms");
    RoomTemplate* t = RoomTemplates.empty() ? nullptr : RoomTemplates[0];
    std::unique_ptr<Level> level(new Level(0, 1));
    level->SetSize(160, 60);
    for (LevelCell& cell : level->squares) {
        cell.type = SquareType::Floor;
        cell.room = kNoRoomIndex;
    }
    Level* saved = CurrentLevel;
    CurrentLevel = level.get();
    Player hero;
    Player* savedHero = CurrentPlayer;
    CurrentPlayer = &hero;
    for (int32_t r = 0; r < kRooms; ++r) {
        RoomRecord* record = new RoomRecord(r);
        record->active = 1;
        record->left = (r % kColumns) * 6;
        record->top = (r / kColumns) * 6;
        record->right = record->left + 6;
        record->bottom = record->top + 5;
        record->roomTemplate = t;
        level->rooms.push_back(record);
        Lever* lever = new Lever();
        lever->PlaceOnLevel(record->left + 2, record->top + 2, level.get(), 1);
        lever->roomNumber = r;
        lever->roomID = "lever";
    }
    hero.PlaceOnLevel(159, 59, level.get(), 1);  // outside every room
    for (auto _ : state) {
        DoRoomTriggerLogic();
    }
    hero.PlaceOnLevel(0, 0, nullptr, 0);
    CurrentPlayer = savedHero;
    CurrentLevel = saved;
    level.reset();
    ClearRoomTemplates();
}
BENCHMARK(BM_RoomTriggerPass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
