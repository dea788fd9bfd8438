// The two ends of a game, played by tools/autoplay through the real program (its start-up, play
// loop, turn engine and closing screens): a strong hero on the last level kills the final boss
// and the victory reaches the high-score table, the leaderboard and the achievements; a
// permadeath hero who dies leaves neither its save nor the autosave behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

std::string AutoplayPath() {
    const std::string exe = VAULTMERE_EXE;
    return exe.substr(0, exe.find_last_of('/') + 1) + "autoplay";
}

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// One game of autoplay in the user folder, with the game's event log written there.
GameRun RunAutoplay(const TempDir& user, const std::vector<std::string>& args) {
    std::string cmd = "env VAULTMERE_EVENT_LOG=" + Quote(user.file("events.txt")) + " timeout -s KILL 400 " +
                      Quote(AutoplayPath()) + " --user-dir " + Quote(user.path()) + " --game-timeout 300";
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " </dev/null 2>&1";
    GameRun run;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// The game's own log of the run, for failure messages.
std::string GameLog(const TempDir& user, const std::string& seed) {
    const std::string text = ReadWholeFile(user.file("autoplay_seed" + seed + ".log"));
    return text.substr(text.size() > 4000 ? text.size() - 4000 : 0);
}

// The scores of the hiscores.txt entries whose text holds `text`: the file keeps each entry
// as three lines (name, score, text).
std::vector<int> ScoresWithText(const std::string& table, const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(table);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::vector<int> scores;
    for (size_t i = 0; i + 2 < lines.size(); i += 3) {
        if (lines[i + 2].find(text) != std::string::npos) scores.push_back(std::atoi(lines[i + 1].c_str()));
    }
    return scores;
}

TEST(AutoplaySession, AStrongHeroOnTheLastLevelKillsLordZarnochAndTheVictoryIsRecorded) {
    TempDir user;
    const GameRun run = RunAutoplay(user, {"--seed", "3", "--start-depth", "10", "--hero-level", "40", "--hero-bonus", "200",
                                           "--turn-limit", "4000"});
    ASSERT_EQ(run.exitCode, 0) << run.output << GameLog(user, "3");
    EXPECT_NE(run.output.find("end: victory on depth 10"), std::string::npos) << run.output << GameLog(user, "3");

    // The kill itself, as the game logged it.
    const std::string events = ReadWholeFile(user.file("events.txt"));
    EXPECT_NE(events.find("EVENT: Player killed a Lord Zarnoch"), std::string::npos) << events;

    // The victory screen grants the victory's achievements: a random build on normal difficulty.
    const std::string stats = ReadWholeFile(user.file("store/stats.txt"));
    EXPECT_NE(stats.find("achievement ACHIEVEMENT_KILL_ZARNOCH_MEDIUM\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("achievement ACHIEVEMENT_RANDOM_SKILLS_BUILD\n"), std::string::npos) << stats;
    EXPECT_EQ(stats.find("ACHIEVEMENT_KILL_ZARNOCH_MEDIUM_PERMADEATH"), std::string::npos) << stats;

    // The high-score table holds the won run with a score above nothing.
    const std::string table = ReadWholeFile(user.file("hiscores.txt"));
    const std::vector<int> scores = ScoresWithText(table, "Vanquished Lord Zarnoch!");
    ASSERT_EQ(scores.size(), 1u) << table;
    EXPECT_GT(scores[0], 0) << table;

    // The same score went to the normal difficulty's board.
    const std::string boards = ReadWholeFile(user.file("store/leaderboards.txt"));
    EXPECT_NE(boards.find(std::to_string(scores[0]) + " Dwarven Moderation\n"), std::string::npos) << boards;
}

TEST(AutoplaySession, APermadeathHeroWhoDiesLeavesNeitherItsSaveNorTheAutosave) {
    TempDir user;
    // A hero of the first level dropped onto the last one.
    const GameRun run = RunAutoplay(user, {"--seed", "2", "--start-depth", "10", "--permadeath", "--save-at-start",
                                           "--turn-limit", "4000"});
    ASSERT_EQ(run.exitCode, 0) << run.output << GameLog(user, "2");
    EXPECT_NE(run.output.find("end: death on depth 10"), std::string::npos) << run.output << GameLog(user, "2");
    // Both saves were there before the death.
    std::vector<std::string> saved;
    std::istringstream in(run.output);
    for (std::string line; std::getline(in, line);) {
        const std::string mark = "saved at the start: ";
        const size_t at = line.find(mark);
        if (at != std::string::npos) saved.push_back(line.substr(at + mark.size()));
    }
    ASSERT_EQ(saved.size(), 2u) << run.output;
    EXPECT_EQ(saved[0], "autosave.sav");
    for (const std::string& name : saved) EXPECT_FALSE(FileExists(user.file(name))) << name << " is still there";
    // The death reached the table all the same.
    const std::string table = ReadWholeFile(user.file("hiscores.txt"));
    EXPECT_NE(table.find("Autoplay the"), std::string::npos) << table;
}

}  // namespace
