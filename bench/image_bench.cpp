// Picture loading benchmarks: the seventeen notice backgrounds that start-up decodes, loaded
// one by one with LoadImage and as one batch with LoadImages on 1, 2, 4 and 8 threads. Each
// reports the megapixels decoded per second ("mpix_per_s").
//
// Runs in the assembled game folder: the folder "game" beside this program, or the one named
// by VAULTMERE_GAME_ROOT.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/game_root.h"
#include "interface/notices.h"
#include "media/image.h"
#include "media/image_batch.h"
#include "platform/vfs.h"

namespace {

// Mounts the game folder once; the names of the notice pictures and their pixel count.
struct NoticeFiles {
    NoticeFiles() {
        const std::string root = GameRoot();
        if (chdir(root.c_str()) != 0) {
            std::fprintf(stderr, "image_bench: no game folder at %s\n", root.c_str());
            return;
        }
        MountDataTree();
        names.assign(kNoticePictureFiles, kNoticePictureFiles + kNoticePictureCount);
        for (SDL_Surface* s : LoadImages(names, 1)) {
            if (s == nullptr) {
                std::fprintf(stderr, "image_bench: a notice picture is missing\n");
                names.clear();
                return;
            }
            pixels += static_cast<double>(s->w) * s->h;
            SDL_FreeSurface(s);
        }
    }
    std::vector<std::string> names;
    double pixels = 0;
};

const NoticeFiles& Files() {
    static const NoticeFiles files;
    return files;
}

void Report(benchmark::State& state) {
    state.counters["mpix_per_s"] = benchmark::Counter(Files().pixels / 1e6 * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

void BM_NoticePicturesOneByOne(benchmark::State& state) {
    const NoticeFiles& files = Files();
    if (files.names.empty()) {
        state.SkipWithError("the game folder has no notice pictures");
        return;
    }
    for (auto _ : state) {
        std::vector<SDL_Surface*> kept;
        for (const std::string& name : files.names) kept.push_back(LoadImage(name.c_str()));
        for (SDL_Surface* s : kept) SDL_FreeSurface(s);
    }
    Report(state);
}
BENCHMARK(BM_NoticePicturesOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NoticePicturesBatch(benchmark::State& state) {
    const NoticeFiles& files = Files();
    if (files.names.empty()) {
        state.SkipWithError("the game folder has no notice pictures");
        return;
    }
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        for (SDL_Surface* s : LoadImages(files.names, threads)) SDL_FreeSurface(s);
    }
    Report(state);
}
BENCHMARK(BM_NoticePicturesBatch)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
