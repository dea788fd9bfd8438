#include "store_platform/leaderboards.h"

#include "store_platform/store.h"

std::vector<std::unique_ptr<LeaderboardWrapper>> Leaderboards;

namespace {

const char* const kBoardOrder[6] = {
    "Elvishly Easy", "Elvishly Easy + Permadeath", "Dwarven Moderation", "Dwarven Moderation + Permadeath",
    "Going Rogue",   "Going Rogue + Permadeath",
};

}  // namespace

LeaderboardWrapper::LeaderboardWrapper(const char* boardName) : name(boardName != nullptr ? boardName : "") {
    if (StoreUserStats* stats = SteamUserStats()) {
        findResult.Set(stats->FindLeaderboard(name.c_str()), this, &LeaderboardWrapper::OnLeaderboardFound);
    }
}

void LeaderboardWrapper::OnLeaderboardFound(LeaderboardFindResult_t* record, bool ioFailure) {
    if (record->m_bLeaderboardFound != 0 && !ioFailure) handle = record->m_hSteamLeaderboard;
}

void CreateLeaderboards() {
    Leaderboards.clear();
    for (const char* board : kBoardOrder) Leaderboards.emplace_back(new LeaderboardWrapper(board));
    SteamAPI_RunCallbacks();
}

void UploadLeaderboardScore(const char* boardName, int32_t score) {
    if (boardName == nullptr) return;
    for (const std::unique_ptr<LeaderboardWrapper>& board : Leaderboards) {
        if (board->name != boardName || board->handle == 0) continue;
        if (StoreUserStats* stats = SteamUserStats()) stats->UploadLeaderboardScore(board->handle, 1, score, nullptr, 0);
    }
}

const char* LeaderboardNameFor(int32_t difficulty, bool permadeath) {
    if (difficulty < 0 || difficulty > 2) return nullptr;
    return kBoardOrder[difficulty * 2 + (permadeath ? 1 : 0)];
}

void UploadRunScore(int32_t difficulty, bool permadeath, int32_t score) {
    const char* board = LeaderboardNameFor(difficulty, permadeath);
    if (board != nullptr) UploadLeaderboardScore(board, score);
}
