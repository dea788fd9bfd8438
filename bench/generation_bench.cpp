// Generation as the player meets it: a whole level (layout, content, tile layers) with the
// monsters of every room placed, for seeds never generated before in the process, from a
// cold start (nothing warmed up: the first level pays for the art it is the first to use).
// Each level is dropped afterwards as a level change drops it (the level, then the sprites
// loaded for it), so the memory counters show what stays behind per level.
//
// Reported per level in milliseconds (each benchmark runs a fixed number of levels once,
// without the timing runs that would warm everything up first), with counters:
//   first_level_ms   the first level of the run alone
//   rss_growth_kb    growth of the resident memory per level after the first
//   sprites_left     sprites still in the sprite table after the last level was dropped
//
// Runs in the assembled game folder (the folder "game" beside this program, or the one named
// by VAULTMERE_GAME_ROOT); what generation prints while it is timed goes to /dev/null.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/game_root.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "levels/level.h"
#include "media/sprite.h"
#include "platform/vfs.h"

namespace {

bool GenerationDataReady() {
    static const bool ready = [] {
        const std::string root = GameRoot();
        if (chdir(root.c_str()) != 0) {
            std::printf("generation_bench: no game folder at %s\n", root.c_str());
            return false;
        }
        MountDataTree();
        if (!LoadGenerationData("game")) return false;
        InstallSampleGenerationRecords();
        return true;
    }();
    return ready;
}

// Resident memory of the process in kilobytes.
long ResidentKb() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    long pages = 0;
    long resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            close(null);
        }
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, 1);
            close(saved_);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_ = -1;
};

// Seeds are never repeated within the process: each benchmark takes the next ones.
uint32_t nextSeed = 1000;

// One level per iteration, depths going round 0..9 (the ordinary dungeon).
void BM_GenerateLevelWithMonstersFirstUse(benchmark::State& state) {
    if (!GenerationDataReady()) {
        state.SkipWithError("no game folder found (set VAULTMERE_GAME_ROOT)");
        return;
    }
    QuietStdout quiet;
    int64_t done = 0;
    double firstMs = 0.0;
    long afterFirstKb = 0;
    int64_t monsters = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        LevelGenCase genCase;
        genCase.seed = nextSeed++;
        genCase.depth = static_cast<int32_t>(done % 10);
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        GenLevelGFXRep(level.get(), 0, 0, level->width, level->height);
        PopulateLevelRooms(*level);
        monsters += static_cast<int64_t>(level->monsters.size());
        // Dropped as a level change drops it.
        level.reset();
        SpriteMgr_FreeTransient();
        if (done == 0) {
            firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            afterFirstKb = ResidentKb();
        }
        ++done;
    }
    state.counters["first_level_ms"] = firstMs;
    state.counters["monsters_per_level"] = done > 0 ? static_cast<double>(monsters) / static_cast<double>(done) : 0.0;
    state.counters["rss_growth_kb"] =
        done > 1 ? static_cast<double>(ResidentKb() - afterFirstKb) / static_cast<double>(done - 1) : 0.0;
    state.counters["sprites_left"] = static_cast<double>(SpriteMgr_Count());
}
BENCHMARK(BM_GenerateLevelWithMonstersFirstUse)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
