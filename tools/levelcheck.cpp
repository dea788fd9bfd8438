// levelcheck: generates levels for every depth of the normal and the long dungeon, in normal
// and quick games, over many seeds, and checks each one (every walkable square reachable from
// the start, stairs where they belong, the final boss only on the last level, every object on
// the grid, the layout finished within its bounded tries, no two creatures on one square once
// the rooms are filled).
//
//   levelcheck [--data DIR] [--seeds N] [--first-seed S] [--depth D] [--quiet] [--show]
//
// DIR holds tweakDB.xml, branchDB.xml, rooms.xml and text.xml (default "data/game", then
// "game/game"). --show prints the text dump of every level that breaks a rule. Exits with 0 when every level keeps every rule, 1 otherwise, 2 without data.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <memory>
#include <vector>

#include "core/text_db.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/shopkeeper.h"
#include "levels/gen/monster_spawning.h"
#include "levels/object_queue.h"
#include "core/tweak.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "platform/vfs.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_layout.h"
#include "levels/room_templates.h"
#include "media/sprite.h"

namespace {

// Generation prints its own progress lines (shopkeepers, door fixes) and the branch reader
// looks for art; --quiet drops that output by pointing both streams at the null device.
class QuietStdout {
public:
    explicit QuietStdout(bool on) {
        if (!on) return;
        std::fflush(stdout);
        std::fflush(stderr);
        savedOut_ = dup(STDOUT_FILENO);
        savedErr_ = dup(STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            if (savedOut_ >= 0) dup2(null, STDOUT_FILENO);
            if (savedErr_ >= 0) dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietStdout() {
        std::fflush(stdout);
        std::fflush(stderr);
        if (savedOut_ >= 0) {
            dup2(savedOut_, STDOUT_FILENO);
            close(savedOut_);
        }
        if (savedErr_ >= 0) {
            dup2(savedErr_, STDERR_FILENO);
            close(savedErr_);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int savedOut_ = -1;
    int savedErr_ = -1;
};

// Monster levels that population placed on one depth, and those outside the band.
struct DepthMonsters {
    std::map<int32_t, int32_t> byLevel;
    int32_t outside = 0;
    int32_t stacked = 0;  // squares shared by two or more creatures
};

// Fills every room as the hero's first look would, reports every square two creatures share
// and records the levels of the monsters placed. Single spawns draw from the depth or one deeper, named monsters up to one more
// (tables 0..14), hordes from one shallower (tables 0..9); the final boss and the
// shopkeepers are left out.
void PopulateAndRecord(Level& level, DepthMonsters* out, std::vector<std::string>* problems) {
    PopulateLevelRooms(level);
    Level* saved = CurrentLevel;
    CurrentLevel = &level;
    const std::vector<std::string> shared = SharedCreatureSquares(level);
    out->stacked += static_cast<int32_t>(shared.size());
    problems->insert(problems->end(), shared.begin(), shared.end());
    const int32_t low = std::min(std::max(level.depth - 1, 0), 9);
    const int32_t high = std::min(level.depth + 2, 14);
    for (GameObj* obj : level.monsters) {
        auto* monster = dynamic_cast<Monster*>(obj);
        if (monster == nullptr || dynamic_cast<Shopkeeper*>(obj) != nullptr || monster->record == nullptr ||
            monster->record->special != 0) {
            continue;
        }
        const int32_t m = monster->record->level;
        ++out->byLevel[m];
        if (m < low || m > high) {
            ++out->outside;
            problems->push_back("monster \"" + monster->record->name + "\" of level " + std::to_string(m) +
                                " outside " + std::to_string(low) + ".." + std::to_string(high));
        }
    }
    CurrentLevel = saved;
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = "data/game";
    bool dataGiven = false;
    int32_t seeds = 40;
    uint32_t firstSeed = 1;
    int32_t onlyDepth = -1;
    bool quiet = false;
    bool show = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) {
            data = argv[++i];
            dataGiven = true;
        } else if (arg == "--seeds" && hasValue) {
            seeds = std::atoi(argv[++i]);
        } else if (arg == "--first-seed" && hasValue) {
            firstSeed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--depth" && hasValue) {
            onlyDepth = std::atoi(argv[++i]);
        } else if (arg == "--show") {
            show = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else {
            std::printf("usage: levelcheck [--data DIR] [--seeds N] [--first-seed S] [--depth D] [--quiet] [--show]\n");
            return 2;
        }
    }
    // The data folders as given, from where the program was started.
    char here[4096] = {};
    const std::string start = getcwd(here, sizeof(here) - 1) != nullptr ? std::string(here) + "/" : std::string();
    const auto fromStart = [&start](const std::string& path) { return !path.empty() && path[0] == '/' ? path : start + path; };
    // The pictures the generated objects load come from the assembled game folder beside
    // this program, when there is one.
    {
        char self[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
        std::string folder = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
        folder = folder.substr(0, folder.find_last_of('/') + 1) + "game";
        if (chdir(folder.c_str()) == 0) MountDataTree();
    }
    {
        QuietStdout silence(quiet);  // the branch art is not looked for here
        bool loaded = false;
        if (dataGiven) {
            loaded = LoadGenerationData(fromStart(data));
        } else {
            // From the source tree (data/game) or from the build folder (game/game); only the
            // second attempt reports what it could not read.
            {
                QuietStdout firstTry(true);
                loaded = LoadGenerationData(fromStart(data));
            }
            if (!loaded) loaded = LoadGenerationData(fromStart("game/game"));
        }
        if (!loaded) return 2;
    }
    InstallSampleGenerationRecords();

    struct Mode {
        const char* name;
        bool quick;
        bool extended;
    };
    const Mode modes[] = {{"normal", false, false}, {"quick", true, false},
                          {"normal long", false, true}, {"quick long", true, true}};
    int32_t levels = 0;
    int32_t failures = 0;
    int32_t restarts = 0;
    int32_t givenUp = 0;
    std::map<std::string, int32_t> givenUpBySearch;
    double slowestMs = 0.0;
    double totalMs = 0.0;
    std::map<std::pair<std::string, int32_t>, DepthMonsters> monstersByDepth;
    for (const Mode& mode : modes) {
        const int32_t last = mode.extended ? 14 : 9;
        for (int32_t depth = 0; depth <= last; ++depth) {
            if (onlyDepth >= 0 && depth != onlyDepth) continue;
            for (int32_t s = 0; s < seeds; ++s) {
                LevelGenCase genCase;
                genCase.seed = firstSeed + static_cast<uint32_t>(s);
                genCase.depth = depth;
                genCase.quick = mode.quick;
                genCase.extended = mode.extended;
                bool accepted = false;
                std::vector<std::string> problems;
                std::string dump;
                const auto begin = std::chrono::steady_clock::now();
                double ms = 0.0;
                {
                    QuietStdout silence(quiet);
                    std::unique_ptr<Level> level = GenerateLevelForCase(genCase, &accepted);
                    problems = CheckGeneratedLevel(*level, genCase, accepted);
                    ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
                    PopulateAndRecord(*level, &monstersByDepth[{mode.name, depth}], &problems);
                    if (show && !problems.empty()) dump = DescribeLevel(*level);
                }
                totalMs += ms;
                if (ms > slowestMs) slowestMs = ms;
                ++levels;
                restarts += LastGenerationReport().layoutAttempts - 1;
                givenUp += LastGenerationReport().searchesGivenUp;
                for (const auto& entry : LastGenerationReport().givenUpBySearch) givenUpBySearch[entry.first] += entry.second;
                if (!problems.empty()) {
                    ++failures;
                    for (const std::string& p : problems) {
                        std::printf("FAIL %s depth %d seed %u: %s\n", mode.name, depth, genCase.seed, p.c_str());
                    }
                    std::fputs(dump.c_str(), stdout);
                }
            }
        }
    }
    int32_t stacked = 0;
    for (const auto& entry : monstersByDepth) stacked += entry.second.stacked;
    std::printf("levelcheck: %d levels, %d failed, %d layout restarts, %d searches given up, %d squares shared "
                "by creatures, %.2f ms per level (slowest %.2f ms)\n",
                levels, failures, restarts, givenUp, stacked, levels > 0 ? totalMs / levels : 0.0, slowestMs);
    for (const auto& entry : givenUpBySearch) std::printf("  given up: %s %d\n", entry.first.c_str(), entry.second);
    for (const auto& entry : monstersByDepth) {
        std::printf("  monsters %s depth %d:", entry.first.first.c_str(), entry.first.second);
        for (const auto& count : entry.second.byLevel) std::printf(" L%d x%d", count.first, count.second);
        std::printf("%s\n", entry.second.outside == 0 ? "" : " (some outside the band)");
    }
    RemoveSampleGenerationRecords();
    ClearMonsterDB();
    ClearRoomTemplates();
    ClearBranches();
    ClearTextDB();
    ClearTweakVals();
    SpriteMgr_FreeAll();
    return failures == 0 ? 0 : 1;
}
