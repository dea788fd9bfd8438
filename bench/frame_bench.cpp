// In-game frame benchmarks: painting one 1280 x 720 frame into the game's own video surface
// (made by SDL_SetVideoMode exactly as start-up makes the window, so every picture is blitted
// to the format the game really draws to) - a generated level around the hero, the HUD, the
// ticker with a few lines and the pointer (bench/play_scene.h) - and a whole frame pass
// (painting, the present of the video surface on the fixed frame clock, the animation step).
// For scale, clearing the same surface with memset. Each reports frames per second ("fps")
// and the allocations a frame makes ("allocs_per_frame"; a frame should make none).
//
// Runs in the assembled game folder: the folder "game" beside this program, or the one named
// by VAULTMERE_GAME_ROOT. With VAULTMERE_FRAME_PNG=file the last painted frame is written
// there as a PNG for a look at it.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "bench/game_root.h"
#include "bench/play_scene.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "core/random.h"
#include "creatures/player.h"
#include "media/eye_candy.h"

// Every allocation of the process is counted, so each benchmark can report how many a frame
// makes.
std::atomic<uint64_t> AllocationCount{0};

void* operator new(size_t size) {
    ++AllocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
// The replacement operators pair malloc with free themselves; GCC cannot see that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// The window and the scene, made once for all benchmarks.
class FrameBench {
public:
    static FrameBench& Get() {
        static FrameBench bench;
        return bench;
    }
    bool ok() const { return ok_; }
    PlayScene& scene() { return scene_; }

private:
    FrameBench() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            std::printf("frame_bench: %s\n", SDL_GetError());
            return;
        }
        SDL_Surface* window = SDL_SetVideoMode(1280, 720, 32, 0);
        if (window == nullptr) {
            std::printf("frame_bench: no video mode: %s\n", SDL_GetError());
            return;
        }
        ok_ = scene_.Open(GameRoot(), window, PlayScene::Setup());
    }

    bool ok_ = false;
    PlayScene scene_;
};

// Writes the screen surface as an RGB PNG when VAULTMERE_FRAME_PNG names a file.
void WriteFramePng() {
    const char* file = std::getenv("VAULTMERE_FRAME_PNG");
    if (file == nullptr || ScreenSurface == nullptr) return;
    SDL_Surface* s = ScreenSurface;
    std::unique_ptr<unsigned char[]> rgb(new unsigned char[static_cast<size_t>(s->w) * s->h * 3]);
    for (int y = 0; y < s->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(row[x], s->format, &r, &g, &b);
            unsigned char* out = rgb.get() + (static_cast<size_t>(y) * s->w + x) * 3;
            out[0] = r;
            out[1] = g;
            out[2] = b;
        }
    }
    if (!stbi_write_png(file, s->w, s->h, 3, rgb.get(), s->w * 3)) {
        std::printf("frame_bench: could not write %s\n", file);
    }
}

void ReportFps(benchmark::State& state, uint64_t allocations) {
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Painting only: what DrawGameScreen costs per frame.
void BM_DrawGameScreen(benchmark::State& state, bool explored) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    bench.scene().SetExplored(explored);
    DrawGameScreen();  // the first frame loads the drawing art and fills the text cache
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        DrawGameScreen();
        benchmark::DoNotOptimize(ScreenSurface->pixels);
        benchmark::ClobberMemory();
    }
    const uint64_t allocations = AllocationCount - before;
    WriteFramePng();
    ReportFps(state, allocations);
}
BENCHMARK_CAPTURE(BM_DrawGameScreen, start_of_game, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawGameScreen, whole_level_seen, true)->Unit(benchmark::kMicrosecond);

// The whole HUD over the explored level: menu bar, portrait, belts and the minimap at its
// largest size.
void BM_DrawGameScreenFullHud(benchmark::State& state) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    static bool loaded = false;
    if (!loaded) {
        MenuBarLoad();
        LoadPortraits();
        loaded = true;
    }
    bench.scene().SetExplored(true);
    const int32_t savedSize = Layout.minimapSize;
    Layout.minimapSize = 3;
    DrawGameScreen();
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        DrawGameScreen();
        benchmark::DoNotOptimize(ScreenSurface->pixels);
        benchmark::ClobberMemory();
    }
    const uint64_t allocations = AllocationCount - before;
    WriteFramePng();
    Layout.minimapSize = savedSize;
    ReportFps(state, allocations);
}
BENCHMARK(BM_DrawGameScreenFullHud)->Unit(benchmark::kMicrosecond);

// The explored level with 64 glints playing round the hero (each held on its first frame):
// the glints lie between the map's layers, so the squares under them are painted again.
void BM_DrawGameScreenWith64Glints(benchmark::State& state) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    bench.scene().SetExplored(true);
    LoadGlints();
    CSRand(5);
    const Player* hero = bench.scene().hero();
    for (int32_t i = 0; i < 64; ++i) SpawnGlint(hero->x - 8 + i % 16, hero->y - 4 + (i / 16) * 2, nullptr);
    DrawGameScreen();
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        DrawGameScreen();
        benchmark::DoNotOptimize(ScreenSurface->pixels);
        benchmark::ClobberMemory();
    }
    const uint64_t allocations = AllocationCount - before;
    state.counters["glints"] = static_cast<double>(GlintCount());
    WriteFramePng();
    for (GlintSlot& slot : Glints) slot.active = 0;
    ReportFps(state, allocations);
}
BENCHMARK(BM_DrawGameScreenWith64Glints)->Unit(benchmark::kMicrosecond);

// Frames that each show a line posted since the last one (a burst of messages): the line is
// posted between frames (not timed), so allocs_per_frame counts what the painting makes.
void BM_DrawGameScreenWithANewTickerLineEachFrame(benchmark::State& state) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    bench.scene().SetExplored(true);
    DrawGameScreen();
    uint64_t allocations = 0;
    int64_t line = 0;
    static const char* const kLines[] = {"The door creaks open.", "You hear distant footsteps.",
                                         "A cold wind blows through the hall.", "Something glitters on the floor."};
    for (auto _ : state) {
        state.PauseTiming();
        ClearTicker();
        AddText(std::string(kLines[line % 4]) + " (" + std::to_string(line) + ")", true);
        ++line;
        const uint64_t before = AllocationCount;
        state.ResumeTiming();
        DrawGameScreen();
        benchmark::DoNotOptimize(ScreenSurface->pixels);
        benchmark::ClobberMemory();
        allocations += AllocationCount - before;
    }
    ClearTicker();
    ReportFps(state, allocations);
}
BENCHMARK(BM_DrawGameScreenWithANewTickerLineEachFrame)->Unit(benchmark::kMicrosecond);

// A whole frame pass of the play loop on the fixed frame clock (no 2 ms sleep): painting, the
// present of the video surface and the animation step.
void BM_FramePass(benchmark::State& state) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    bench.scene().SetExplored(true);
    SetFixedFrameTime(16);
    DrawGameScreen();
    AdvanceFrame();
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        DrawGameScreen();
        AdvanceFrame();
        benchmark::ClobberMemory();
    }
    const uint64_t allocations = AllocationCount - before;
    WriteFramePng();
    ReportFps(state, allocations);
}
BENCHMARK(BM_FramePass)->Unit(benchmark::kMicrosecond);

// The floor a frame is measured against: writing every pixel of the same surface once.
void BM_ClearScreenMemset(benchmark::State& state) {
    FrameBench& bench = FrameBench::Get();
    if (!bench.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    SDL_Surface* s = ScreenSurface;
    const size_t bytes = static_cast<size_t>(s->pitch) * static_cast<size_t>(s->h);
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        std::memset(s->pixels, 0, bytes);
        benchmark::DoNotOptimize(s->pixels);
        benchmark::ClobberMemory();
    }
    ReportFps(state, AllocationCount - before);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ClearScreenMemset)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
