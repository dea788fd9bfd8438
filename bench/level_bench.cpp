// Level benchmarks: path searches and the sight pass over 100 x 100 levels, and generating
// whole levels (with their tile layers).
// Times are reported in microseconds per search, per pass or per level.
//
// Generation runs in the assembled game folder (the folder "game" beside this program, or the
// one named by VAULTMERE_GAME_ROOT), so the art that placing objects loads is found; what
// generation prints while it is timed goes to /dev/null.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/game_root.h"
#include "levels/field_of_view.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "levels/gen/level_layout.h"
#include "levels/level.h"
#include "levels/path_finding.h"
#include "platform/vfs.h"

namespace {

constexpr int32_t kSide = 100;

// Makes a 100 x 100 level current for the length of one benchmark.
class BenchLevel {
public:
    explicit BenchLevel(uint8_t fill) : level_(new Level(0, 1)) {
        level_->SetSize(kSide, kSide);
        for (LevelCell& cell : level_->squares) cell.type = fill;
        saved_ = CurrentLevel;
        CurrentLevel = level_.get();
    }
    ~BenchLevel() { CurrentLevel = saved_; }
    Level& operator*() { return *level_; }
    Level* operator->() { return level_.get(); }

private:
    std::unique_ptr<Level> level_;
    Level* saved_ = nullptr;
};

// Walls all round an open floor.
void WallInBorder(Level& level) {
    for (int32_t i = 0; i < kSide; ++i) {
        level.GetCell(i, 0)->type = SquareType::Wall;
        level.GetCell(i, kSide - 1)->type = SquareType::Wall;
        level.GetCell(0, i)->type = SquareType::Wall;
        level.GetCell(kSide - 1, i)->type = SquareType::Wall;
    }
}

// A one-square corridor winding over `rows` rows of 90 squares; returns its far end.
void CarveSerpentine(Level& level, int32_t rows, int32_t* endX, int32_t* endY) {
    for (int32_t r = 0; r < rows; ++r) {
        int32_t y = 1 + 2 * r;
        for (int32_t x = 1; x <= 90; ++x) level.GetCell(x, y)->type = SquareType::Floor;
        if (r + 1 < rows) level.GetCell(r % 2 == 0 ? 90 : 1, y + 1)->type = SquareType::Floor;
        *endX = r % 2 == 0 ? 90 : 1;
        *endY = y;
    }
}

void RunSearches(benchmark::State& state, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t found = 0;
    int32_t length = 0;
    for (auto _ : state) {
        aiNode** path = FindPath(x0, y0, x1, y1, &length, nullptr);
        benchmark::DoNotOptimize(path);
        if (path != nullptr) ++found;
        delete[] path;
    }
    state.counters["found"] = found > 0 ? 1 : 0;
    state.counters["length"] = length;
}

// A long search: a winding corridor of about 900 squares, every one of them walked.
void BM_AStarLongCorridor(benchmark::State& state) {
    BenchLevel level(SquareType::Rock);
    int32_t endX = 0;
    int32_t endY = 0;
    CarveSerpentine(*level, 10, &endX, &endY);
    BuildAStarForLevel();
    RunSearches(state, 1, 1, endX, endY);
}
BENCHMARK(BM_AStarLongCorridor)->Unit(benchmark::kMicrosecond);

// Across an open room: many ties on f, nearly every square of the room gets a record.
void BM_AStarOpenRoomCornerToCorner(benchmark::State& state) {
    BenchLevel level(SquareType::Floor);
    WallInBorder(*level);
    BuildAStarForLevel();
    RunSearches(state, 1, 1, kSide - 2, kSide - 2);
}
BENCHMARK(BM_AStarOpenRoomCornerToCorner)->Unit(benchmark::kMicrosecond);

// A typical walk to a clicked square, round a wall.
void BM_AStarAroundAWall(benchmark::State& state) {
    BenchLevel level(SquareType::Floor);
    WallInBorder(*level);
    for (int32_t y = 10; y <= 30; ++y) level->GetCell(50, y)->type = SquareType::Wall;
    BuildAStarForLevel();
    RunSearches(state, 45, 20, 55, 20);
}
BENCHMARK(BM_AStarAroundAWall)->Unit(benchmark::kMicrosecond);

// One sight pass (radius 5) over a 100 x 100 level.
void BM_FieldOfViewOpenRoom(benchmark::State& state) {
    BenchLevel level(SquareType::Floor);
    WallInBorder(*level);
    for (auto _ : state) {
        level->UpdateFieldOfView(50, 50, kBaseSightRadius);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FieldOfViewOpenRoom)->Unit(benchmark::kMicrosecond);

// The game folder's data and the sample records, read once for the generation benchmarks.
bool GenerationDataReady() {
    static const bool ready = [] {
        const std::string root = GameRoot();
        if (chdir(root.c_str()) != 0) {
            std::printf("level_bench: no game folder at %s\n", root.c_str());
            return false;
        }
        MountDataTree();
        if (!LoadGenerationData("game")) return false;
        InstallSampleGenerationRecords();
        return true;
    }();
    return ready;
}

// Sends standard output to /dev/null while it lives.
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

// One whole level (layout, content and tile layers) per iteration, the seeds going round a
// fixed set, so that runs of different lengths average over the same levels.
constexpr uint32_t kSeedRound = 32;

void GenerateLevels(benchmark::State& state, int32_t depth, bool quick) {
    if (!GenerationDataReady()) {
        state.SkipWithError("no game folder found (set VAULTMERE_GAME_ROOT)");
        return;
    }
    uint32_t seed = 1;
    int32_t restarts = 0;
    QuietStdout quiet;
    for (auto _ : state) {
        LevelGenCase genCase;
        genCase.seed = seed;
        seed = seed % kSeedRound + 1;
        genCase.depth = depth;
        genCase.quick = quick;
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        GenLevelGFXRep(level.get(), 0, 0, level->width, level->height);
        restarts += LastGenerationReport().layoutAttempts - 1;
        benchmark::DoNotOptimize(level.get());
    }
    state.counters["restarts"] = benchmark::Counter(restarts, benchmark::Counter::kAvgIterations);
}

void BM_GenerateLevel100x100(benchmark::State& state) { GenerateLevels(state, static_cast<int32_t>(state.range(0)), false); }
BENCHMARK(BM_GenerateLevel100x100)->Arg(0)->Arg(5)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);

void BM_GenerateQuickLevel75x75(benchmark::State& state) { GenerateLevels(state, 5, true); }
BENCHMARK(BM_GenerateQuickLevel75x75)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
