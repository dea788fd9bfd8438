// In-game frame benchmarks: painting one 1280 x 720 frame into the software screen surface -
// a generated level around the hero, the HUD, the ticker with a few lines and the pointer -
// and a whole frame pass (painting, present on the fixed frame clock, animation step).
// Each reports frames per second ("fps").
//
// Runs in the assembled game folder: the folder "game" beside this program, or the one named
// by VAULTMERE_GAME_ROOT. With VAULTMERE_FRAME_PNG=file the last painted frame is written
// there as a PNG for a look at it.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <memory>
#include <new>
#include <string>

#include "core/input_log.h"
#include "media/screen.h"
#include "interface/hud_surfaces.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "levels/level.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "platform/vfs.h"

// Every allocation of the process is counted, so each benchmark can report how many a frame
// makes ("allocs_per_frame"; a frame should make none).
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

std::string GameRoot() {
    if (const char* root = std::getenv("VAULTMERE_GAME_ROOT")) return root;
    char exe[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "game";
    std::string path(exe, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/')) + "/game";
}

// The play screen of a game that has just started on a generated first level: everything a
// frame draws is loaded once for all benchmarks.
class FrameScene {
public:
    static FrameScene& Get() {
        static FrameScene scene;
        return scene;
    }

    bool ok() const { return ok_; }
    Level* level() const { return level_; }

    // Every square of the level seen before (the most a view can draw), or only what the
    // hero sees from the start square.
    void SetExplored(bool all) {
        for (LevelCell& cell : level_->squares) cell.flags = 0;
        if (all) level_->RevealMap();
        level_->UpdateFieldOfView(CurrentPlayer->x, CurrentPlayer->y, CurrentPlayer->SightRadius());
    }

private:
    FrameScene() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::string root = GameRoot();
        if (chdir(root.c_str()) != 0) {
            std::printf("frame_bench: no game folder at %s\n", root.c_str());
            return;
        }
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            std::printf("frame_bench: %s\n", SDL_GetError());
            return;
        }
        ScreenSurface =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF, 0xFF00, 0xFF0000, 0);
        UpdateScreenLayout();
        MountDataTree();
        if (!LoadFonts() || !LoadGenerationData("game")) return;
        InstallSampleGenerationRecords();
        InitExperienceTable();

        Hud.bottomBar = LoadImage("ui/gameplay/bottombar_bg.png");
        Hud.digestInactive = LoadImage("ui/gameplay/digest_inactive.png");
        Hud.lifeBar = LoadImage("ui/gameplay/lifebar0.png");
        Hud.manaBar0 = LoadImage("ui/gameplay/manabar0.png");
        Hud.manaBar1 = LoadImage("ui/gameplay/manabar1.png");
        Hud.expBar = LoadImage("ui/gameplay/expbar0.png");
        UpdateScreenLayout();
        CursorSprite = SpriteMgr_GetOrLoad("ui/cursor.spr");
        CursorCornerSprite = SpriteMgr_GetOrLoad("ui/cursorcorner.spr");
        CurrentCursor = CursorSprite;

        LevelGenCase genCase;
        genCase.seed = 7;
        genCase.depth = 0;
        bool accepted = false;
        level_ = GenerateLevelForCase(genCase, &accepted).release();
        if (level_ == nullptr || level_->tilesetImage == nullptr) {
            std::printf("frame_bench: the level or its tileset is missing\n");
            return;
        }
        CurrentLevel = level_;
        GenLevelGFXRep(level_, 0, 0, level_->width, level_->height);

        Player* hero = new Player();
        hero->stat[kStatLife] = hero->health = 40;
        hero->stat[kStatMana] = 30;
        hero->mana = 18;
        hero->experience = 7;
        hero->LoadAnimations(hero);
        hero->PlaceOnLevel(level_->startX, level_->startY, level_, 0);
        CurrentPlayer = hero;
        SetExplored(false);

        AddText("Welcome to Vaultmere!", true);
        AddText("You feel a cold draught from the stairs below.", true);
        AddText("Somewhere a door slams shut.", true);
        ok_ = true;
    }

    bool ok_ = false;
    Level* level_ = nullptr;
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
    WriteFramePng();
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Painting only: what DrawGameScreen costs per frame.
void BM_DrawGameScreen(benchmark::State& state, bool explored) {
    FrameScene& scene = FrameScene::Get();
    if (!scene.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    scene.SetExplored(explored);
    DrawGameScreen();  // the first frame loads the drawing art and fills the text cache
    const uint64_t before = AllocationCount;
    for (auto _ : state) {
        DrawGameScreen();
        benchmark::DoNotOptimize(ScreenSurface->pixels);
        benchmark::ClobberMemory();
    }
    ReportFps(state, AllocationCount - before);
}
BENCHMARK_CAPTURE(BM_DrawGameScreen, start_of_game, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawGameScreen, whole_level_seen, true)->Unit(benchmark::kMicrosecond);

// A whole frame pass of the play loop on the fixed frame clock (no 2 ms sleep): painting, the
// present of the software surface and the animation step.
void BM_FramePass(benchmark::State& state) {
    FrameScene& scene = FrameScene::Get();
    if (!scene.ok()) {
        state.SkipWithError("the game folder could not be loaded");
        return;
    }
    scene.SetExplored(true);
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
    SetFixedFrameTime(0);
    ReportFps(state, allocations);
}
BENCHMARK(BM_FramePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
