// The start-up step of the cloud copies over a store of 20 saves of 1 MB each (with their
// index): every pass restores all of them over the local files. Reports milliseconds per pass.
// The user folder and the store folder are temporary folders.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/random.h"
#include "core/shell/cloud_sync.h"
#include "core/shell/saved_games.h"
#include "core/shell/shell_services.h"
#include "store_platform/cloud_files.h"
#include "store_platform/store.h"

namespace {

bool Prepare() {
    static const bool ready = [] {
        static char userDir[] = "/tmp/cloud_bench_XXXXXX";
        if (mkdtemp(userDir) == nullptr) return false;
        const std::string user = std::string(userDir) + "/";
        setenv("VAULTMERE_USER_DIR", userDir, 1);
        setenv("VAULTMERE_STORE_DIR", (user + "store").c_str(), 1);
        enableSteamCloud = 1;
        if (!SteamAPI_Init()) return false;
        CSRand(5);
        SaveSlots.clear();
        for (int i = 0; i < 20; ++i) {
            // Half random bytes, half runs, like a save's mix of packed and repeated fields.
            std::string bytes(1 << 20, '\0');
            for (size_t b = 0; b < bytes.size(); b += 2) {
                const int draw = CRand();
                bytes[b] = static_cast<char>(draw & 0xFF);
            }
            const std::string name = "Hero" + std::to_string(i) + ".sav";
            FILE* f = std::fopen((user + name).c_str(), "wb");
            if (f == nullptr) return false;
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
            SaveSlot slot;
            slot.fileName = name;
            SaveSlots.push_back(slot);
        }
        if (!WriteSaveIndex()) return false;
        bool clear = false;
        InitSteamCloud(clear);  // seeds the store
        return true;
    }();
    return ready;
}

void BM_StartUpCloudStep(benchmark::State& state) {
    if (!Prepare()) {
        state.SkipWithError("no temporary folders");
        return;
    }
    for (auto _ : state) {
        bool clear = false;
        InitSteamCloud(clear);
    }
}
BENCHMARK(BM_StartUpCloudStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
