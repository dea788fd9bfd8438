// Saving and loading a whole run: ten and twenty generated levels (depths 0 to 9, then 0 to 9
// again with other seeds) with the hero, monsters and items. Reports milliseconds per save and
// per load, the first save and the first load of the process apart ("first_ms": nothing warmed
// up before it), and the size of the file.
//
// Runs in the assembled game folder (the folder "game" beside this program, or the one named
// by VAULTMERE_GAME_ROOT); saves go to a temporary user folder, removed at the end. Generated
// objects whose classes have no save record yet are taken off the levels first. What saving and
// loading print goes to /dev/null.
#include <benchmark/benchmark.h>

#include <chrono>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/game_root.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "levels/level.h"
#include "levels/level_save.h"
#include "levels/object_queue.h"
#include "platform/vfs.h"

namespace {

char UserDir[] = "/tmp/save_bench_XXXXXX";

// The temporary user folder goes when the program ends.
void RemoveUserDir() {
    if (DIR* dir = opendir(UserDir)) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") unlink((std::string(UserDir) + "/" + name).c_str());
        }
        closedir(dir);
    }
    rmdir(UserDir);
}

bool DataReady() {
    static const bool ready = [] {
        const std::string root = GameRoot();
        if (chdir(root.c_str()) != 0) {
            std::printf("save_bench: no game folder at %s\n", root.c_str());
            return false;
        }
        MountDataTree();
        if (!LoadGenerationData("game")) return false;
        InstallSampleGenerationRecords();
        if (mkdtemp(UserDir) == nullptr) return false;
        std::atexit(RemoveUserDir);
        setenv("VAULTMERE_USER_DIR", UserDir, 1);
        return true;
    }();
    return ready;
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

// A game of `levels` levels, current: the hero on the start square of the first level. Depths
// run 0 to 9 and start again, each level with its own seed.
void BuildRun(int32_t levels) {
    for (int32_t n = 0; n < levels; ++n) {
        LevelGenCase genCase;
        genCase.seed = 100 + static_cast<uint32_t>(n);
        genCase.depth = n % 10;
        Level* level = GenerateLevelForCase(genCase, nullptr).release();
        GenLevelGFXRep(level, 0, 0, level->width, level->height);
        const std::vector<GameObj*> objects = level->objects;
        for (GameObj* obj : objects) {
            if (!IsDoorObject(obj) && !MissingSaveRecordClass(obj).empty()) delete obj;
        }
        CurrentLevel = level;
        int32_t added = 0;
        for (int32_t x = 5; x < level->width && added < 4; x += 7) {
            for (int32_t y = 5; y < level->height; y += 3) {
                if (level->SquareKind(x, y) != SquareType::Floor || level->HasObjectAt(x, y)) continue;
                if (level->SpawnMonster(x, y, false, false, false) != nullptr) ++added;
                break;
            }
        }
        ApplyDeferredObjectMoves();
        GameLevels.push_back(level);
    }
    Player* hero = new Player();
    hero->name = "Runner";
    CurrentPlayer = hero;
    CurrentLevel = GameLevels[0];
    hero->PlaceOnLevel(GameLevels[0]->startX, GameLevels[0]->startY, GameLevels[0], 0);
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

long FileSize(const std::string& name) {
    const char* dir = std::getenv("VAULTMERE_USER_DIR");
    FILE* file = std::fopen((std::string(dir != nullptr ? dir : ".") + "/" + name).c_str(), "rb");
    if (file == nullptr) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// The first save of the process is timed on its own: the first use is what a player waits for.
void BM_SaveGame(benchmark::State& state) {
    if (!DataReady()) {
        state.SkipWithError("no game folder found (set VAULTMERE_GAME_ROOT)");
        return;
    }
    QuietStdout quiet;
    BuildRun(static_cast<int32_t>(state.range(0)));
    bool ok = true;
    double first = -1.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ok = SaveGame("bench.sav") && ok;
        const double ms = Milliseconds(start);
        if (first < 0.0) first = ms;
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["first_ms"] = first;
    state.counters["bytes"] = static_cast<double>(FileSize("bench.sav"));
    if (!ok) state.SkipWithError("the save failed");
    EndCurrentGame();
}
BENCHMARK(BM_SaveGame)->Arg(10)->Arg(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
    if (!DataReady()) {
        state.SkipWithError("no game folder found (set VAULTMERE_GAME_ROOT)");
        return;
    }
    QuietStdout quiet;
    BuildRun(static_cast<int32_t>(state.range(0)));
    const bool saved = SaveGame("bench.sav");
    EndCurrentGame();
    bool ok = saved;
    double first = -1.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ok = LoadGame("bench.sav") && ok;
        const double ms = Milliseconds(start);
        if (first < 0.0) first = ms;
        state.SetIterationTime(ms / 1000.0);
        EndCurrentGame();
    }
    state.counters["first_ms"] = first;
    state.counters["bytes"] = static_cast<double>(FileSize("bench.sav"));
    if (!ok) state.SkipWithError("the load failed");
}
BENCHMARK(BM_LoadGame)->Arg(10)->Arg(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
