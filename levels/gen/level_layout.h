#pragma once
// Template placement: the layout pass that grows a level out of room templates, the portal,
// tutorial and test-room levels, door and room finishing, stairs, and the bookkeeping the
// passes share (door list, placed rooms, floor count, the generation report and the moves
// queued while a level is being built).
//
// Every search of the passes is bounded. A search that finds nothing is counted in the
// generation report and the level is completed without that piece; a layout that never
// reaches its acceptance size ends with a "ZARNOCH ERROR" line after a fixed number of
// restarts and keeps its last attempt.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class GameObj;
class Level;
struct RoomTemplate;

// One stamped template of the layout pass.
struct PlacedRoom {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // left + template width
    int32_t bottom = 0;  // top + template height
    std::string nameWord;  // the noun of the room's title ("" when none)
    RoomTemplate* roomTemplate = nullptr;
    bool shop = false;
    int32_t smallSX = 0;  // level squares of the template's "s" and "S" (shops)
    int32_t smallSY = 0;
    int32_t bigSX = 0;
    int32_t bigSY = 0;
    bool zoo = false;
};

// Bounds of the passes.
constexpr int32_t kMaxLayoutAttempts = 250;       // restarts of a layout pass
constexpr int32_t kMaxDrawsPerDoor = 1000;         // template draws (counted or not) per door
constexpr int32_t kCountedDrawsPerDoor = 5;
constexpr int32_t kMaxFirstRoomDraws = 10000;
constexpr int32_t kMaxSquareDraws = 20000;         // random square draws of one placement
constexpr int32_t kMaxStairDraws = 400000;
constexpr int32_t kStairDistanceRejections = 4000;
constexpr int32_t kMaxPortalLayoutAttempts = 2000;

// What the last generation did: filled by the passes, read by the checks.
struct GenerationReport {
    int32_t layoutAttempts = 0;    // layout starts, the first included
    bool layoutAccepted = false;   // reached the acceptance size (or the portal room target)
    int32_t searchesGivenUp = 0;   // bounded searches that found nothing
    std::map<std::string, int32_t> givenUpBySearch;  // the same by what was searched for
    std::vector<std::string> errors;  // the "ZARNOCH ERROR" texts printed
};
GenerationReport& LastGenerationReport();
void ResetGenerationReport();
// Prints "ZARNOCH ERROR: <where>, line <line>: <text>" and keeps the text in the report.
void ReportGenerationError(const char* where, int32_t line, const std::string& text);
// One more bounded search that found nothing; `what` names it in the report.
void NoteSearchGivenUp(const char* what);

// The generation state of the running layout pass; ClearLayoutState empties it (every pass
// starts with it cleared).
void ClearLayoutState();
std::vector<PlacedRoom>& PlacedRooms();
int32_t LayoutFloorCount();
// Door squares still to grow from (the front is the next one).
const std::vector<std::pair<int32_t, int32_t>>& PendingDoors();

// Objects placed while a level is built go through the turn engine's move queue
// (QueueObjectMove); the outermost generation scope carries the queued moves out when it ends.
// Scopes nest.
void BeginGenerationScope();
void EndGenerationScope();

// The quick-game and long-dungeon flags of the hero (false without a hero), and the last
// depth of the dungeon (14 with the long dungeon, else 9).
bool QuickGameFlag();
bool ExtendedContentFlag();
int32_t LastDungeonDepth();
// Most shops one level may hold: 1 in a quick game, else the tuning value "max shops".
int32_t MaxShopsPerLevel();

// The scatter steps of the layout pass after the rooms are finished (level_gen_scatter.cpp).
void PlaceLevelStairs(Level* level);
void ScatterLevelTreasures(Level* level);
void ScatterLevelExtras(Level* level);
