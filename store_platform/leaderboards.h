#pragma once
// The six store-platform leaderboards, one per difficulty with and without permadeath. Start-up
// finds them; a run's score goes to the board of its difficulty. Nothing is read back, no upload
// result is awaited, and an upload to a board that has not been found is skipped.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store_platform/callbacks.h"

class LeaderboardWrapper {
public:
    // Starts finding the board when the user-statistics interface is there.
    explicit LeaderboardWrapper(const char* name);
    LeaderboardWrapper(const LeaderboardWrapper&) = delete;
    LeaderboardWrapper& operator=(const LeaderboardWrapper&) = delete;

    void OnLeaderboardFound(LeaderboardFindResult_t* record, bool ioFailure);

    std::string name;
    SteamLeaderboard_t handle = 0;
    CCallResult<LeaderboardWrapper, LeaderboardFindResult_t> findResult;
};

// The boards in the order they were created.
extern std::vector<std::unique_ptr<LeaderboardWrapper>> Leaderboards;

// Creates the six boards in their order (dropping any made before) and pumps the callbacks once.
void CreateLeaderboards();
// Uploads the score (keep the better) to every board of that exact name that has a handle.
void UploadLeaderboardScore(const char* boardName, int32_t score);
// The board of a difficulty (0 to 2) with or without permadeath; null for any other difficulty.
const char* LeaderboardNameFor(int32_t difficulty, bool permadeath);
// A finished run's score to its board; a difficulty outside 0..2 uploads nothing.
void UploadRunScore(int32_t difficulty, bool permadeath, int32_t score);
