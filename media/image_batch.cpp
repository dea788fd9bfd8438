#include "media/image_batch.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <system_error>
#include <thread>

#include "media/image.h"
#include "media/png_palette.h"
#include "media/png_truecolour.h"
#include "platform/platform.h"
#include "platform/vfs.h"

namespace {

// One picture of a batch. Only the plain truecolour kind is decoded off the calling thread;
// everything else goes through LoadImage's own path when the batch finishes.
struct Job {
    std::string name;
    std::string file;
    std::vector<char> bytes;
    bool read = false;
    bool quick = false;
    SDL_Surface* surface = nullptr;  // set by the worker when the quick decode succeeded
};

bool AcceptedSize(const std::vector<char>& bytes) {
    const size_t length = bytes.size();
    if (length == 0 || length > static_cast<size_t>(INT_MAX)) return false;
    uint32_t width = 0, height = 0;
    if (!ReadPngSize(reinterpret_cast<const uint8_t*>(bytes.data()), length, &width, &height)) return false;
    return width != 0 && height != 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// The quick path of CreateSurfaceFromImageData, without its messages: they are left to the
// calling thread, which decodes the picture again when this gives null.
SDL_Surface* DecodeQuick(const Job& job) {
    TruecolourPng png;
    if (!png.Open(reinterpret_cast<const uint8_t*>(job.bytes.data()), job.bytes.size())) return nullptr;
    SDL_Surface* surface =
        SDL_CreateRGBSurface(0, png.Width(), png.Height(), 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (surface == nullptr) return nullptr;
    SDL_LockSurface(surface);
    const bool decoded = png.DecodeInto(static_cast<uint8_t*>(surface->pixels), surface->pitch, 4);
    SDL_UnlockSurface(surface);
    if (decoded) return surface;
    SDL_FreeSurface(surface);
    return nullptr;
}

unsigned ThreadCount(unsigned asked, size_t jobs, bool leaveOneToCaller) {
    unsigned threads = asked;
    if (threads == 0) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        threads = std::min(8u, leaveOneToCaller && cores > 1 ? cores - 1 : cores);
    }
    return static_cast<unsigned>(std::min<size_t>(threads, jobs));
}

}  // namespace

struct PictureBatch::State {
    std::vector<Job> jobs;
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    bool anyRead = false;

    void Work() {
        for (;;) {
            const size_t i = next.fetch_add(1);
            if (i >= jobs.size()) return;
            if (jobs[i].quick) jobs[i].surface = DecodeQuick(jobs[i]);
        }
    }
    void Join() {
        for (std::thread& worker : workers) worker.join();
        workers.clear();
    }
};

PictureBatch::PictureBatch() = default;

PictureBatch::~PictureBatch() {
    for (SDL_Surface* picture : Finish()) SDL_FreeSurface(picture);
}

bool PictureBatch::Pending() const { return state_ != nullptr; }

void PictureBatch::Start(const std::vector<std::string>& names, unsigned threads) {
    Begin(names, threads, true);
}

void PictureBatch::Begin(const std::vector<std::string>& names, unsigned threads, bool leaveOneToCaller) {
    for (SDL_Surface* picture : Finish()) SDL_FreeSurface(picture);
    state_.reset(new State);
    State& state = *state_;
    state.jobs.resize(names.size());
    size_t quickJobs = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        Job& job = state.jobs[i];
        job.name = names[i];
        job.file = GetResourceFilename(names[i]);
        job.read = VfsReadFile(job.file, job.bytes);
        if (!job.read) continue;
        state.anyRead = true;
        job.quick = AcceptedSize(job.bytes);
        if (job.quick) ++quickJobs;
    }
    unsigned count = ThreadCount(threads, quickJobs, leaveOneToCaller);
    if (!leaveOneToCaller && count > 0) --count;
    state.workers.reserve(count);
    for (unsigned t = 0; t < count; ++t) {
        try {
            state.workers.emplace_back([&state] { state.Work(); });
        } catch (const std::system_error&) {
            break;  // no thread to be had: Finish decodes the rest
        }
    }
}

std::vector<SDL_Surface*> PictureBatch::Finish() {
    std::vector<SDL_Surface*> out;
    if (!state_) return out;
    std::unique_ptr<State> state = std::move(state_);
    state->Work();  // whatever no worker has claimed yet
    state->Join();
    out.resize(state->jobs.size(), nullptr);
    for (size_t i = 0; i < state->jobs.size(); ++i) {
        Job& job = state->jobs[i];
        if (job.surface != nullptr) {
            out[i] = job.surface;
            continue;
        }
        if (!job.read) continue;  // missing: null without a message, as LoadImage
        // A kind the quick path declines, or a damaged file: LoadImage's own decoder judges it.
        out[i] = CreateSurfaceFromImageData(reinterpret_cast<const unsigned char*>(job.bytes.data()),
                                            job.bytes.size());
        if (out[i] == nullptr) {
            printf("Could not load resource '%s' with filename '%s'\n", job.name.c_str(), job.file.c_str());
        }
    }
    // The palette state is left as LoadImage leaves it.
    if (state->anyRead) {
        PaletteExpandMode = true;
        PaletteCaptured = false;
    }
    return out;
}

std::vector<SDL_Surface*> LoadImages(const std::vector<std::string>& names, unsigned threads) {
    PictureBatch batch;
    batch.Begin(names, threads, false);
    return batch.Finish();
}
