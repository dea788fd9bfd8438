#pragma once
// What autoplay's games report and how it is shown: the lines a game's child process writes
// ("LEVEL ...", "END ...", "SAVED ..."), read back into one record per game, printed per game
// and summed up in a table over all the seeds.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace autoplay {

struct LevelRecord {
    int32_t depth = 0, turns = 0, health = 0, maxHealth = 0, heroLevel = 0, kills = 0, picked = 0, carried = 0;
    int32_t side = 0;  // 1: a side dimension entered from that depth
};

struct GameResult {
    uint32_t seed = 0;
    std::vector<LevelRecord> levels;
    std::string kind;  // death, victory, stuck, crash, hang
    int32_t depth = 0;
    int32_t turns = 0;
    int32_t x = -1, y = -1;
    std::string detail;
    bool sanitizer = false;
    std::vector<std::string> saved;
    bool Failure() const {
        return sanitizer || kind == "crash" || kind == "hang" || (kind == "stuck" && detail != "turn limit") || kind.empty();
    }
};

inline GameResult ParseReport(uint32_t seed, const std::string& text) {
    GameResult r;
    r.seed = seed;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "LEVEL") {
            LevelRecord l;
            words >> l.depth >> l.turns >> l.health >> l.maxHealth >> l.heroLevel >> l.kills >> l.picked >> l.carried >> l.side;
            r.levels.push_back(l);
        } else if (tag == "END") {
            words >> r.kind >> r.depth >> r.turns >> r.x >> r.y;
            std::getline(words, r.detail);
            if (!r.detail.empty() && r.detail[0] == ' ') r.detail.erase(0, 1);
        } else if (tag == "SAVED") {
            std::string name;
            words >> name;
            r.saved.push_back(name);
        }
    }
    return r;
}

inline void PrintGame(const GameResult& r) {
    std::printf("seed %u\n", r.seed);
    for (const LevelRecord& l : r.levels) {
        std::printf("  depth %2d%s: turns %5d  health %4d/%-4d  level %2d  kills %3d  items picked %2d carried %2d\n", l.depth,
                    l.side != 0 ? " (side dimension)" : "", l.turns, l.health, l.maxHealth, l.heroLevel, l.kills, l.picked,
                    l.carried);
    }
    if (r.kind == "death") {
        std::printf("  end: death on depth %d at (%d, %d) after %d turns: %s\n", r.depth, r.x, r.y, r.turns, r.detail.c_str());
    } else if (r.kind == "victory") {
        std::printf("  end: victory on depth %d after %d turns, score %s\n", r.depth, r.turns, r.detail.c_str());
    } else if (r.kind == "stuck") {
        std::printf("  end: stuck on depth %d at (%d, %d) after %d turns: %s\n", r.depth, r.x, r.y, r.turns, r.detail.c_str());
    } else {
        std::printf("  end: %s: %s\n", r.kind.empty() ? "no report" : r.kind.c_str(), r.detail.c_str());
    }
    if (r.sanitizer) std::printf("  a sanitizer reported (see the game's log)\n");
    std::fflush(stdout);
}

inline int32_t Median(std::vector<int32_t> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void PrintTable(const std::vector<GameResult>& results) {
    std::vector<int32_t> deepest;
    std::map<int32_t, std::vector<int32_t>> turnsByDepth;
    std::map<int32_t, int32_t> reached;
    std::map<int32_t, std::map<std::string, int32_t>> deathsByDepth;
    int32_t wins = 0;
    std::map<std::string, int32_t> ends;
    for (const GameResult& r : results) {
        int32_t deep = r.depth;
        for (const LevelRecord& l : r.levels) {
            deep = std::max(deep, l.depth);
            if (l.side == 0) turnsByDepth[l.depth].push_back(l.turns);
        }
        std::set<int32_t> seen;
        for (const LevelRecord& l : r.levels) seen.insert(l.depth);
        for (int32_t d : seen) ++reached[d];
        deepest.push_back(deep);
        if (r.kind == "victory") ++wins;
        if (r.kind == "death") {
            std::string cause = r.detail;
            ++deathsByDepth[r.depth][cause];
        }
        ++ends[r.kind == "stuck" ? "stuck (" + r.detail.substr(0, r.detail.find(':')) + ")" : r.kind];
    }
    const int32_t games = static_cast<int32_t>(results.size());
    const auto spread = std::minmax_element(deepest.begin(), deepest.end());
    std::printf("\nautoplay summary: %d games, median depth reached %d (spread %d-%d), win rate %d/%d (%.0f %%)\n", games,
                Median(deepest), deepest.empty() ? 0 : *spread.first, deepest.empty() ? 0 : *spread.second, wins, games,
                games > 0 ? 100.0 * wins / games : 0.0);
    std::printf("  ends:");
    for (const auto& e : ends) std::printf(" %s %d;", e.first.c_str(), e.second);
    std::printf("\n  depth | games reaching | median turns | deaths | causes of death\n");
    for (const auto& entry : reached) {
        const int32_t depth = entry.first;
        int32_t deaths = 0;
        std::string causes;
        for (const auto& c : deathsByDepth[depth]) {
            deaths += c.second;
            causes += (causes.empty() ? "" : "; ") + c.first + (c.second > 1 ? " x" + std::to_string(c.second) : "");
        }
        std::printf("  %5d | %14d | %12d | %6d | %s\n", depth, entry.second, Median(turnsByDepth[depth]), deaths, causes.c_str());
    }
}

}  // namespace autoplay
