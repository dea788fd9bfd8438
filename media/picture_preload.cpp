#include "media/picture_preload.h"

#include <physfs.h>

#include <climits>
#include <system_error>
#include <thread>
#include <vector>

#include "media/image.h"
#include "media/png_palette.h"
#include "media/png_truecolour.h"
#include "platform/platform.h"
#include "platform/vfs.h"

namespace {

// Where the file comes from: the folder or archive holding it ("" when none does).
std::string SourceOf(const std::string& file) {
    const std::string resolved = VfsResolveName(file);
    if (resolved.empty()) return "";
    const char* dir = PHYSFS_getRealDir(resolved.c_str());
    return dir != nullptr ? dir : "";
}

}  // namespace

struct PicturePreload::State {
    std::string name;
    int w = 0;
    int h = 0;
    std::string file;
    std::string source;
    std::vector<char> bytes;
    TruecolourPng png;
    int partX = 0;
    int partY = 0;
    int partW = 0;
    int partH = 0;
    // Written by the worker, read after the join.
    SDL_Surface* surface = nullptr;
    bool decoded = false;
    std::thread worker;

    void Decode() {
        // Made here, where clearing the new pixels costs the caller nothing.
        surface = SDL_CreateRGBSurface(0, partW, partH, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
        if (surface != nullptr) {
            uint8_t* pixels = static_cast<uint8_t*>(surface->pixels);
            decoded = png.DecodePartInto(partX, partY, partW, partH, pixels, surface->pitch, 4);
        }
        std::vector<char>().swap(bytes);  // the file's bytes are not needed any more
    }
    void Join() {
        if (worker.joinable()) worker.join();
    }
    ~State() {
        Join();
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
};

PicturePreload::PicturePreload() = default;

PicturePreload::~PicturePreload() = default;

void PicturePreload::Start(const std::string& name, int w, int h) {
    Drop();
    state_.reset(new State);
    State& s = *state_;
    s.name = name;
    s.w = w;
    s.h = h;
    s.file = GetResourceFilename(name);
    s.source = SourceOf(s.file);
    if (!VfsReadFile(s.file, s.bytes)) return;
    const size_t length = s.bytes.size();
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(s.bytes.data());
    uint32_t fullW = 0, fullH = 0;
    if (length == 0 || length > static_cast<size_t>(INT_MAX) || !ReadPngSize(bytes, length, &fullW, &fullH)) return;
    if (fullW == 0 || fullH == 0 || fullW > kMaxPictureSide || fullH > kMaxPictureSide) return;
    if (!s.png.Open(bytes, length)) return;
    // The same part LoadImageMiddle keeps.
    const int pictureW = s.png.Width();
    const int pictureH = s.png.Height();
    s.partW = pictureW > w && w > 0 ? w : pictureW;
    s.partH = pictureH > h && h > 0 ? h : pictureH;
    s.partX = pictureW / 2 - s.partW / 2;
    s.partY = pictureH / 2 - s.partH / 2;
    try {
        s.worker = std::thread([&s] { s.Decode(); });
    } catch (const std::system_error&) {
        s.Decode();  // no thread to be had: decoded here, now
    }
}

bool PicturePreload::Matches(const std::string& name, int w, int h) const {
    if (!state_) return false;
    const State& s = *state_;
    if (s.name != name || s.w != w || s.h != h) return false;
    const std::string file = GetResourceFilename(name);
    return file == s.file && SourceOf(file) == s.source;
}

SDL_Surface* PicturePreload::Take() {
    if (!state_) return nullptr;
    std::unique_ptr<State> s = std::move(state_);
    s->Join();
    if (s->surface != nullptr && s->decoded) {
        // The palette state is left as LoadImageMiddle leaves it.
        PaletteExpandMode = true;
        PaletteCaptured = false;
        SDL_Surface* picture = s->surface;
        s->surface = nullptr;
        return picture;
    }
    // Not the quick kind, damaged or missing: LoadImageMiddle judges it, with its messages.
    return LoadImageMiddle(s->name.c_str(), s->w, s->h);
}

void PicturePreload::Drop() {
    state_.reset();
}
