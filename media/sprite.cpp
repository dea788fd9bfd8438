#include "media/sprite.h"
#include "media/sprite_draw_list.h"

#include <expat.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "media/display_settings.h"
#include "media/screen.h"
#include "media/image.h"
#include "platform/platform.h"
#include "platform/vfs.h"

bool SpriteDoubling = true;

namespace {

// ".spr" layout: 3 ignored bytes, frame count, width, height, then per frame a delay, a
// 768-byte palette and width x height indices.
const size_t kSprHeader = 9;
const size_t kPaletteBytes = 768;
// Largest ".spr" side accepted (doubled it must still fit the 16-bit size fields).
const uint32_t kMaxSprSide = 8192;
// Frame names in a frame list are shorter than this.
const size_t kMaxFrameName = 2048;
const int kPlaceholderSide = 32;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// A frame delay as a sprite keeps it: 0 to 65535 ms (a negative delay shows the frame for no
// time at all rather than for a minute).
uint16_t ClampDelay(int64_t ms) {
    if (ms < 0) return 0;
    if (ms > 0xFFFF) return 0xFFFF;
    return static_cast<uint16_t>(ms);
}

std::string Extension(const char* file) {
    const char* dot = strrchr(file, '.');
    if (dot == nullptr) return "";
    const char* slash = strrchr(file, '/');
    const char* backslash = strrchr(file, '\\');
    if ((slash != nullptr && slash > dot) || (backslash != nullptr && backslash > dot)) return "";
    std::string ext(dot);
    for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return ext;
}

SDL_Surface* NewIndexedSurface(int width, int height) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_HWACCEL, width, height, 8, 0, 0, 0, 0);
    if (s != nullptr) SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
    return s;
}

// A magenta box with a cross, drawn where art is broken.
SDL_Surface* MakePlaceholderFrame(int width, int height) {
    if (width <= 0 || height <= 0) width = height = kPlaceholderSide;
    SDL_Surface* s = NewIndexedSurface(width, height);
    if (s == nullptr) return nullptr;
    SDL_Color colours[2] = {{0, 0, 0, 0}, {255, 0, 255, 0}};
    SDL_SetColors(s, colours, 0, 2);
    SDL_LockSurface(s);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < width; ++x) {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const bool diagonal = x * height / width == y || (width - 1 - x) * height / width == y;
            row[x] = (edge || diagonal) ? 1 : 0;
        }
    }
    SDL_UnlockSurface(s);
    return s;
}

// Opacity of every pixel of a frame: index not 0 (8-bit), alpha byte not 0 (32-bit).
bool OpacityMap(SDL_Surface* frame, std::vector<uint8_t>& opaque) {
    const int w = frame->w;
    const int h = frame->h;
    opaque.assign(static_cast<size_t>(w) * h, 0);
    const int bpp = frame->format->BitsPerPixel;
    if (bpp != 8 && bpp != 32) return false;
    SDL_LockSurface(frame);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(frame->pixels) + y * frame->pitch;
        for (int x = 0; x < w; ++x) {
            if (bpp == 8) {
                opaque[static_cast<size_t>(y) * w + x] = row[x] != 0;
            } else {
                uint32_t pixel;
                memcpy(&pixel, row + x * 4, 4);
                opaque[static_cast<size_t>(y) * w + x] = (pixel >> 24) != 0;
            }
        }
    }
    SDL_UnlockSurface(frame);
    return true;
}

// Frame list being read (one list at a time, main thread only).
struct FrameListReader {
    std::vector<std::pair<std::string, int32_t>> frames;
    std::string text;
    bool inFrame = false;
    bool nameTooLong = false;
};

// The delay of frame-list frames: one value for the whole process; a frame without a "delay"
// attribute takes the last one read, from this list or an earlier one.
int32_t FrameListDelay = 0;

void XMLCALL FrameListStart(void* data, const XML_Char* element, const XML_Char** attributes) {
    FrameListReader* reader = static_cast<FrameListReader*>(data);
    if (strcmp(element, "frame") != 0) return;
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (strcmp(attributes[i], "delay") == 0) {
            const long value = strtol(attributes[i + 1], nullptr, 10);
            FrameListDelay = static_cast<int32_t>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
        }
    }
    reader->inFrame = true;
    reader->text.clear();
}

void XMLCALL FrameListText(void* data, const XML_Char* text, int length) {
    FrameListReader* reader = static_cast<FrameListReader*>(data);
    if (!reader->inFrame || length <= 0) return;
    // expat may hand one text over in several pieces: keep them all.
    if (reader->text.size() + static_cast<size_t>(length) >= kMaxFrameName) {
        reader->nameTooLong = true;
        return;
    }
    reader->text.append(text, static_cast<size_t>(length));
}

void XMLCALL FrameListEnd(void* data, const XML_Char* element) {
    FrameListReader* reader = static_cast<FrameListReader*>(data);
    if (strcmp(element, "frame") != 0 || !reader->inFrame) return;
    reader->inFrame = false;
    std::string& t = reader->text;
    size_t begin = 0;
    size_t end = t.size();
    while (begin < end && isspace(static_cast<unsigned char>(t[begin]))) ++begin;
    while (end > begin && isspace(static_cast<unsigned char>(t[end - 1]))) --end;
    reader->frames.emplace_back(t.substr(begin, end - begin), FrameListDelay);
    t.clear();
}

}  // namespace

namespace {

// The decoded frames of one ".spr" file (doubled or not), shared by every hue variant loaded
// from it: a variant differs only in its palettes, so its frames are surfaces over these
// pixels with palettes of their own. The pixels live while a variant uses them.
struct SprPixels {
    uint16_t count = 0;
    int surfaceW = 0;
    int surfaceH = 0;
    std::vector<uint16_t> delays;
    std::vector<uint8_t> palettes;  // count x 768
    std::vector<uint8_t> pixels;    // count x surfaceW x surfaceH
};

std::map<std::string, std::weak_ptr<SprPixels>>& DecodedSprFiles() {
    static auto* files = new std::map<std::string, std::weak_ptr<SprPixels>>();
    return *files;
}

// The shared pixels each hue variant's frames lie on.
std::map<const Sprite*, std::shared_ptr<SprPixels>>& SharedPixelUsers() {
    static auto* users = new std::map<const Sprite*, std::shared_ptr<SprPixels>>();
    return *users;
}

// Makes `sprite` the hue variant of the shared frames: surfaces over the shared pixels, each
// with its frame's palette turned by `hueShift` degrees, colour 0 keyed out; the last frame's
// turned palette stays in sprite.palette, as a load from the file leaves it.
void LoadHueVariant(Sprite& sprite, const std::shared_ptr<SprPixels>& shared, int32_t hueShift) {
    const uint16_t count = shared->count;
    sprite.frames = new SDL_Surface*[count]();
    sprite.outlines = new SDL_Surface*[count]();
    sprite.delays = new uint16_t[count]();
    sprite.frameCount = count;
    const size_t frameBytes = static_cast<size_t>(shared->surfaceW) * static_cast<size_t>(shared->surfaceH);
    SDL_Color colours[256];
    uint8_t turned[256][3];
    for (uint16_t i = 0; i < count; ++i) {
        sprite.delays[i] = shared->delays[i];
        const uint8_t* own = shared->palettes.data() + static_cast<size_t>(i) * kPaletteBytes;
        // Frames mostly share one palette: it is turned once.
        if (i == 0 || memcmp(own, own - kPaletteBytes, kPaletteBytes) != 0) {
            for (int c = 0; c < 256; ++c) {
                HueShiftColour(own + c * 3, static_cast<float>(hueShift), turned[c]);
                colours[c].r = turned[c][0];
                colours[c].g = turned[c][1];
                colours[c].b = turned[c][2];
                colours[c].unused = 0;
            }
        }
        memcpy(sprite.palette, turned, kPaletteBytes);
        SDL_Surface* s = SDL_CreateRGBSurfaceFrom(shared->pixels.data() + static_cast<size_t>(i) * frameBytes,
                                                  shared->surfaceW, shared->surfaceH, 8, shared->surfaceW, 0, 0, 0, 0);
        if (s == nullptr) s = MakePlaceholderFrame(shared->surfaceW, shared->surfaceH);
        if (s == nullptr) continue;
        SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
        SDL_SetColors(s, colours, 0, 256);
        sprite.frames[i] = s;
    }
    sprite.width = count > 0 && sprite.frames[0] != nullptr ? static_cast<uint16_t>(sprite.frames[0]->w) : 0;
    sprite.height = count > 0 && sprite.frames[0] != nullptr ? static_cast<uint16_t>(sprite.frames[0]->h) : 0;
    SharedPixelUsers()[&sprite] = shared;
}

}  // namespace

Sprite::Sprite() {
    memset(palette, 0, sizeof palette);
}

Sprite::~Sprite() {
    FreeFrames();
}

void Sprite::FreeFrames() {
    for (uint16_t i = 0; i < frameCount; ++i) {
        if (frames != nullptr && frames[i] != nullptr) SDL_FreeSurface(frames[i]);
        if (outlines != nullptr && outlines[i] != nullptr) SDL_FreeSurface(outlines[i]);
        if (seeThrough != nullptr && seeThrough[i] != nullptr) SDL_FreeSurface(seeThrough[i]);
    }
    delete[] frames;
    delete[] outlines;
    delete[] seeThrough;
    seeThrough = nullptr;
    delete[] delays;
    frames = nullptr;
    outlines = nullptr;
    delays = nullptr;
    frameCount = 0;
    width = 0;
    height = 0;
    // The frames over shared pixels are gone: the pixels may go too.
    if (!SharedPixelUsers().empty()) SharedPixelUsers().erase(this);
}

void Sprite::Allocate(uint16_t count, bool withOutlines) {
    FreeFrames();
    frames = new SDL_Surface*[count]();
    outlines = withOutlines ? new SDL_Surface*[count]() : nullptr;
    delays = new uint16_t[count]();
    frameCount = count;
}

void Sprite::UsePlaceholder() {
    Allocate(1, true);
    frames[0] = MakePlaceholderFrame(kPlaceholderSide, kPlaceholderSide);
    delays[0] = 1000;
    Finish(true);
}

void Sprite::Finish(bool) {
    int w = 0, h = 0;
    for (uint16_t i = 0; i < frameCount; ++i) {
        if (frames[i] != nullptr) {
            w = frames[i]->w;
            h = frames[i]->h;
            break;
        }
    }
    // The outline frames are made the first time each is drawn (DrawOutlineFrame): most
    // frames of most sprites are never outlined.
    for (uint16_t i = 0; i < frameCount; ++i) {
        if (frames[i] == nullptr) frames[i] = MakePlaceholderFrame(w, h);
    }
    width = frameCount > 0 && frames[0] != nullptr ? static_cast<uint16_t>(frames[0]->w) : 0;
    height = frameCount > 0 && frames[0] != nullptr ? static_cast<uint16_t>(frames[0]->h) : 0;
}

SDL_Surface* Sprite::MakeOutline(SDL_Surface* frame) {
    if (frame == nullptr) return nullptr;
    const int w = frame->w;
    const int h = frame->h;
    SDL_Surface* outline = NewIndexedSurface(w + 2, h + 2);
    if (outline == nullptr) return nullptr;
    SDL_Color colours[2] = {{0, 0, 0, 0}, {255, 0, 0, 0}};
    if (enableColourBlind != 0) colours[1] = SDL_Color{0, 0, 255, 0};
    SDL_SetColors(outline, colours, 0, 2);
    std::vector<uint8_t> opaque;
    const bool known = OpacityMap(frame, opaque);
    auto isOpaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && opaque[static_cast<size_t>(y) * w + x] != 0;
    };
    SDL_LockSurface(outline);
    for (int oy = 0; oy < h + 2; ++oy) {
        uint8_t* row = static_cast<uint8_t*>(outline->pixels) + oy * outline->pitch;
        for (int ox = 0; ox < w + 2; ++ox) {
            const int x = ox - 1;
            const int y = oy - 1;
            bool on = false;
            if (known) {
                const bool neighbour = isOpaque(x - 1, y) || isOpaque(x + 1, y) || isOpaque(x, y - 1) ||
                                       isOpaque(x, y + 1);
                // A pixel of the top row counts as transparent here.
                const bool self = y >= 1 && isOpaque(x, y);
                on = neighbour && !self;
            }
            row[ox] = on ? 1 : 0;
        }
    }
    SDL_UnlockSurface(outline);
    return outline;
}

bool Sprite::Load(const char* file, const char* paletteFile, int32_t hueShift, int32_t whiteFirstFrame,
                  int32_t nativeSize) {
    if (file == nullptr) file = "";
    const std::string ext = Extension(file);
    if (ext == ".png") return LoadPNG(file, nativeSize == 0);
    if (ext == ".xml") return LoadXML(file, nativeSize == 0, hueShift);
    return LoadSPR(file, paletteFile, hueShift, whiteFirstFrame, nativeSize);
}

bool Sprite::LoadSPR(const char* file, const char* paletteFile, int32_t hueShift,
                     int32_t whiteFirstFrame, int32_t nativeSize) {
    if (file == nullptr) file = "";
    const bool doubled = SpriteDoubling && nativeSize == 0;
    // A hue variant of a file whose frames are decoded already takes its pixels from there.
    const bool variant = hueShift != -1 && (paletteFile == nullptr || paletteFile[0] == '\0') && whiteFirstFrame == 0;
    const std::string sharedKey =
        std::string(file) + (doubled ? "|2" : "|1") + (smoothScaling != 0 ? "s" : "");
    if (variant) {
        auto found = DecodedSprFiles().find(sharedKey);
        if (found != DecodedSprFiles().end()) {
            if (std::shared_ptr<SprPixels> shared = found->second.lock()) {
                FreeFrames();
                name = file;
                LoadHueVariant(*this, shared, hueShift);
                return true;
            }
        }
    }
    WarnIfArtMissing(file);
    FreeFrames();
    name = file;

    std::vector<char> data;
    const bool read = VfsReadFile(GetResourceFilename(file), data);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
    uint16_t count = 0, w = 0, h = 0;
    if (read && data.size() >= kSprHeader) {
        count = ReadU16(bytes + 3);
        w = ReadU16(bytes + 5);
        h = ReadU16(bytes + 7);
    }
    const uint64_t area = static_cast<uint64_t>(w) * h;
    const uint64_t needed = kSprHeader + static_cast<uint64_t>(count) * (2 + kPaletteBytes + area);
    if (!read || count == 0 || w == 0 || h == 0 || w > kMaxSprSide || h > kMaxSprSide ||
        data.size() < needed) {
        ShowBrokenArtBox(file, BrokenArtKind::SpriteFile);
        UsePlaceholder();
        return false;
    }

    uint8_t external[kPaletteBytes];
    bool useExternal = false;
    if (paletteFile != nullptr && paletteFile[0] != '\0') {
        FILE* f = fopen(GetResourceFilename(paletteFile).c_str(), "rb");
        if (f != nullptr) {
            useExternal = fread(external, 1, kPaletteBytes, f) == kPaletteBytes;
            fclose(f);
        }
        // A missing or short palette file is reported; the frames keep their own colours.
        if (!useExternal) ShowBrokenArtBox(paletteFile, BrokenArtKind::Palette);
    }

    const bool smooth = smoothScaling != 0;
    const int surfaceW = doubled ? w * 2 : w;
    const int surfaceH = doubled ? h * 2 : h;
    if (variant) {
        // Decoded once into shared pixels; this sprite is their first variant.
        auto shared = std::make_shared<SprPixels>();
        shared->count = count;
        shared->surfaceW = surfaceW;
        shared->surfaceH = surfaceH;
        const size_t frameBytes = static_cast<size_t>(surfaceW) * static_cast<size_t>(surfaceH);
        shared->delays.resize(count);
        shared->palettes.resize(static_cast<size_t>(count) * kPaletteBytes);
        shared->pixels.resize(static_cast<size_t>(count) * frameBytes);
        size_t at = kSprHeader;
        for (uint16_t i = 0; i < count; ++i) {
            shared->delays[i] = ReadU16(bytes + at);
            at += 2;
            memcpy(shared->palettes.data() + static_cast<size_t>(i) * kPaletteBytes, bytes + at, kPaletteBytes);
            at += kPaletteBytes;
            const uint8_t* pixels = bytes + at;
            at += area;
            uint8_t* into = shared->pixels.data() + static_cast<size_t>(i) * frameBytes;
            if (doubled) {
                DoublePixels8(pixels, w, h, w, into, static_cast<size_t>(surfaceW), smooth);
            } else {
                memcpy(into, pixels, static_cast<size_t>(area));
            }
        }
        DecodedSprFiles()[sharedKey] = shared;
        LoadHueVariant(*this, shared, hueShift);
        return true;
    }

    Allocate(count, true);
    size_t pos = kSprHeader;
    for (uint16_t i = 0; i < count; ++i) {
        delays[i] = ReadU16(bytes + pos);
        pos += 2;
        memcpy(palette, bytes + pos, kPaletteBytes);
        pos += kPaletteBytes;
        if (hueShift != -1) {
            for (int c = 0; c < 256; ++c) {
                uint8_t shifted[3];
                HueShiftColour(palette[c], static_cast<float>(hueShift), shifted);
                memcpy(palette[c], shifted, 3);
            }
        }
        const uint8_t* pixels = bytes + pos;
        pos += area;

        SDL_Surface* s = NewIndexedSurface(surfaceW, surfaceH);
        if (s == nullptr) continue;  // Finish puts a placeholder there
        SDL_Color colours[256];
        for (int c = 0; c < 256; ++c) {
            const uint8_t* rgb = useExternal ? external + c * 3 : palette[c];
            colours[c].r = rgb[0];
            colours[c].g = rgb[1];
            colours[c].b = rgb[2];
            colours[c].unused = 0;
            if (i == 0 && whiteFirstFrame != 0 && c >= 1) colours[c].r = colours[c].g = colours[c].b = 255;
        }
        SDL_SetColors(s, colours, 0, 256);
        SDL_LockSurface(s);
        if (doubled) {
            DoublePixels8(pixels, w, h, w, static_cast<uint8_t*>(s->pixels), s->pitch, smooth);
        } else {
            for (int y = 0; y < h; ++y)
                memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, pixels + static_cast<size_t>(y) * w, w);
        }
        SDL_UnlockSurface(s);
        frames[i] = s;
    }
    Finish(true);
    return true;
}

bool Sprite::LoadPNG(const char* file, int32_t doubled) {
    if (file == nullptr) file = "";
    FreeFrames();
    name = file;
    WarnIfArtMissing(file);
    const std::string resolved = GetResourceFilename(file);
    SDL_Surface* frame = doubled != 0 ? LoadAlphaImage(resolved.c_str()) : LoadImage(resolved.c_str());
    if (frame == nullptr) {
        ShowBrokenArtBox(file, BrokenArtKind::Png);
        UsePlaceholder();
        return false;
    }
    Allocate(1, true);
    frames[0] = frame;
    delays[0] = 1000;
    Finish(true);
    return true;
}

bool Sprite::LoadPNGSeries(const char* base, int32_t first, int32_t count, int32_t delay, int32_t doubled) {
    if (base == nullptr) base = "";
    FreeFrames();
    name = base;
    if (count <= 0 || count > 0xFFFF) {
        ShowBrokenArtBox(base, BrokenArtKind::PngSeries);
        UsePlaceholder();
        return false;
    }
    Allocate(static_cast<uint16_t>(count), false);
    // The first frame that fails is reported as a lone picture would be; the others of the
    // series are only counted, so a long missing series says so in a few lines.
    int32_t failed = 0;
    for (int32_t i = 0; i < count; ++i) {
        char number[16];
        snprintf(number, sizeof number, "%04d", first + i);
        const std::string file = std::string(base) + number + ".png";
        const std::string resolved = GetResourceFilename(file);
        if (failed == 0) {
            WarnIfArtMissing(file.c_str());
            frames[i] = doubled != 0 ? LoadAlphaImage(resolved.c_str()) : LoadImage(resolved.c_str());
            if (frames[i] == nullptr) ShowBrokenArtBox(file, BrokenArtKind::Png);
        } else if (VfsExists(resolved)) {
            frames[i] = doubled != 0 ? LoadAlphaImage(resolved.c_str()) : LoadImage(resolved.c_str());
        }
        if (frames[i] == nullptr) ++failed;
        delays[i] = ClampDelay(delay);
    }
    if (failed > 1) {
        ShowErrorBox(std::to_string(failed - 1) + " more frames of " + base + " are missing or broken.");
    }
    Finish(false);
    return failed == 0;
}

bool Sprite::LoadXML(const char* file, int32_t doubled, int32_t hueShift) {
    if (file == nullptr) file = "";
    FreeFrames();
    name = file;
    const char* slash = strrchr(file, '/');
    const char* backslash = strrchr(file, '\\');
    const char* cut = slash;
    if (backslash != nullptr && (cut == nullptr || backslash > cut)) cut = backslash;
    const std::string folder = cut != nullptr ? std::string(file, cut - file) + "/" : std::string();
    WarnIfArtMissing(file);

    FrameListReader reader;
    std::vector<char> data;
    bool ok = VfsReadFile(GetResourceFilename(file), data) && data.size() <= static_cast<size_t>(INT_MAX);
    if (ok) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &reader);
        XML_SetElementHandler(parser, FrameListStart, FrameListEnd);
        XML_SetCharacterDataHandler(parser, FrameListText);
        ok = XML_Parse(parser, data.data(), static_cast<int>(data.size()), 1) != XML_STATUS_ERROR;
        XML_ParserFree(parser);
    }
    // A list that cannot be read, has no frames, names a frame too long or holds more frames than
    // a sprite can count is broken art.
    if (!ok || reader.nameTooLong || reader.frames.empty() || reader.frames.size() > 0xFFFF) {
        ShowBrokenArtBox(file, BrokenArtKind::FrameList);
        UsePlaceholder();
        return false;
    }

    if (hueShift != -1) {
        EnableHueShift(hueShift);
    } else {
        DisableHueShift();
    }
    Allocate(static_cast<uint16_t>(reader.frames.size()), true);
    bool allFrames = true;
    for (size_t i = 0; i < reader.frames.size(); ++i) {
        const std::string frameFile = folder + reader.frames[i].first;
        WarnIfArtMissing(frameFile.c_str());
        const std::string resolved = GetResourceFilename(frameFile);
        frames[i] = doubled != 0 ? LoadAlphaImage(resolved.c_str()) : LoadImage(resolved.c_str());
        if (frames[i] == nullptr) {
            ShowBrokenArtBox(frameFile, BrokenArtKind::Png);
            allFrames = false;
        }
        delays[i] = ClampDelay(reader.frames[i].second);
    }
    DisableHueShift();
    Finish(true);
    return allFrames;
}

void Sprite::InitFromSurface(SDL_Surface* surface) {
    FreeFrames();
    if (surface == nullptr) {
        return;
    }
    frames = new SDL_Surface*[1]{surface};
    delays = new uint16_t[1]{1000};
    frameCount = 1;
    width = static_cast<uint16_t>(surface->w);
    height = static_cast<uint16_t>(surface->h);
}

namespace {

// Blits one picture of a frame list to the screen; nothing for a missing list, frame or screen.
void BlitListedFrame(SDL_Surface** list, int32_t count, int32_t frame, int32_t x, int32_t y) {
    SDL_Surface* screen = ScreenSurface;
    if (screen == nullptr || list == nullptr || frame < 0 || frame >= count || list[frame] == nullptr) {
        return;
    }
    // Blits take 16-bit positions; a frame placed beyond them is off every screen.
    if (x < INT16_MIN || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX) return;
    SDL_Rect dest;
    dest.x = static_cast<Sint16>(x);
    dest.y = static_cast<Sint16>(y);
    dest.w = 0;
    dest.h = 0;
    SDL_UpperBlit(list[frame], nullptr, screen, &dest);
}

std::vector<SpriteDrawCall>* spriteDrawList = nullptr;

}  // namespace

void SetSpriteDrawList(std::vector<SpriteDrawCall>* list) {
    spriteDrawList = list;
}

void Sprite::DrawFrame(int32_t x, int32_t y, int32_t frame) {
    if (spriteDrawList != nullptr) {
        if (frames != nullptr && frame >= 0 && frame < frameCount && frames[frame] != nullptr) {
            spriteDrawList->push_back({this, frame, x, y});
        }
        return;
    }
    BlitListedFrame(frames, frameCount, frame, x, y);
}

void Sprite::DrawOutlineFrame(int32_t x, int32_t y, int32_t frame) {
    if (outlines == nullptr || frames == nullptr || frame < 0 || frame >= frameCount) return;
    if (outlines[frame] == nullptr) outlines[frame] = MakeOutline(frames[frame]);
    BlitListedFrame(outlines, frameCount, frame, x, y);
}

void Sprite::DrawSeeThroughFrame(int32_t x, int32_t y, int32_t frame) {
    if (frames == nullptr || frame < 0 || frame >= frameCount || frames[frame] == nullptr) return;
    if (seeThrough == nullptr) seeThrough = new SDL_Surface*[frameCount]();
    if (seeThrough[frame] == nullptr) seeThrough[frame] = MakeSeeThrough(frames[frame]);
    BlitListedFrame(seeThrough, frameCount, frame, x, y);
}

SDL_Surface* Sprite::MakeSeeThrough(SDL_Surface* frame) {
    if (frame == nullptr) return nullptr;
    SDL_Surface* copy = SDL_ConvertSurface(frame, frame->format, frame->flags & ~SDL_RLEACCEL);
    if (copy == nullptr) return nullptr;
    const SDL_PixelFormat* f = copy->format;
    if (f->Amask != 0 && f->BytesPerPixel == 4) {
        SDL_LockSurface(copy);
        for (int row = 0; row < copy->h; ++row) {
            Uint32* pixel = reinterpret_cast<Uint32*>(static_cast<Uint8*>(copy->pixels) + row * copy->pitch);
            for (int col = 0; col < copy->w; ++col) {
                const Uint32 alpha = ((pixel[col] & f->Amask) >> f->Ashift) / 2;
                pixel[col] = (pixel[col] & ~f->Amask) | ((alpha << f->Ashift) & f->Amask);
            }
        }
        SDL_UnlockSurface(copy);
        SDL_SetAlpha(copy, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    } else {
        if ((frame->flags & SDL_SRCCOLORKEY) != 0) SDL_SetColorKey(copy, SDL_SRCCOLORKEY, frame->format->colorkey);
        SDL_SetAlpha(copy, SDL_SRCALPHA, 128);
    }
    return copy;
}

namespace {

// The table owns its sprites: whatever is still in it at exit is freed with it. Names are
// looked up as they are given, without making a string of them (drawing looks some up).
using SpriteMap = std::map<std::string, Sprite*, std::less<>>;
struct SpriteStore {
    SpriteMap sprites;
    ~SpriteStore() {
        for (auto& entry : sprites) delete entry.second;
    }
};

SpriteMap& Table() {
    static SpriteStore store;
    return store.sprites;
}

// The entry for name, or a new sprite made by `load` and stored under it.
template <typename LoadFn>
Sprite* GetOrMake(const char* name, bool transient, LoadFn load) {
    if (name == nullptr) return nullptr;
    auto& table = Table();
    auto it = table.find(name);
    if (it != table.end()) {
        // Someone keeps this one for good now: a level change must not free it.
        if (!transient) it->second->transient = false;
        return it->second;
    }
    Sprite* sprite = new Sprite();
    load(sprite);
    sprite->transient = transient;
    table.emplace(name, sprite);
    return sprite;
}

}  // namespace

Sprite* SpriteMgr_Find(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : it->second;
}

bool SpriteMgr_Add(const char* name, Sprite* sprite) {
    if (name == nullptr || sprite == nullptr) {
        return false;
    }
    return Table().emplace(name, sprite).second;
}

Sprite* SpriteMgr_GetOrLoad(const char* name, const char* file, const char* paletteFile,
                            int32_t whiteFirstFrame, int32_t nativeSize, int32_t transient) {
    if (file == nullptr) file = name;
    return GetOrMake(name, transient != 0, [&](Sprite* s) {
        s->Load(file, paletteFile, -1, whiteFirstFrame, nativeSize);
    });
}

Sprite* SpriteMgr_GetOrLoadPNG(const char* name, const char* file, int32_t doubled) {
    if (file == nullptr) file = name;
    return GetOrMake(name, false, [&](Sprite* s) { s->LoadPNG(file, doubled); });
}

Sprite* SpriteMgr_GetOrLoadXML(const char* name, const char* file, int32_t doubled) {
    if (file == nullptr) file = name;
    return GetOrMake(name, false, [&](Sprite* s) { s->LoadXML(file, doubled, -1); });
}

Sprite* SpriteMgr_GetOrLoadSeries(const char* name, const char* file, int32_t frameCount,
                                  int32_t first, int32_t delay, int32_t doubled) {
    if (file == nullptr) file = name;
    if (file != nullptr && Extension(file) == ".png") return SpriteMgr_GetOrLoadPNG(name, file, doubled);
    return GetOrMake(name, false, [&](Sprite* s) { s->LoadPNGSeries(file, first, frameCount, delay, doubled); });
}

namespace {
unsigned spriteGeneration = 1;
}  // namespace

unsigned SpriteMgr_Generation() {
    return spriteGeneration;
}

void SpriteMgr_FreeTransient() {
    ++spriteGeneration;
    auto& table = Table();
    for (auto it = table.begin(); it != table.end();) {
        if (it->second != nullptr && it->second->transient) {
            delete it->second;
            it = table.erase(it);
        } else {
            ++it;
        }
    }
}

void SpriteMgr_FreeAll() {
    ++spriteGeneration;
    for (auto& entry : Table()) {
        delete entry.second;
    }
    Table().clear();
}

size_t SpriteMgr_Count() {
    return Table().size();
}

SpriteTable::SpriteTable(const char* name, const char* file, const char* paletteFile)
    : sprite(SpriteMgr_GetOrLoad(name, file, paletteFile)) {}
