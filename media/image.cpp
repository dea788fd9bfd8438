#include "media/image.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include <stb/stb_image.h>

#include "media/display_settings.h"
#include "media/screen.h"
#include "media/png_palette.h"
#include "media/png_truecolour.h"
#include "platform/platform.h"
#include "platform/vfs.h"

bool PaletteExpandMode = true;
bool PaletteCaptured = false;
uint8_t GlobalPalette[256][4] = {};

namespace {

bool HueShiftOn = false;
int32_t HueShiftDegrees = 0;

const Uint32 kMaskR = 0x000000FF;
const Uint32 kMaskG = 0x0000FF00;
const Uint32 kMaskB = 0x00FF0000;
const Uint32 kMaskA = 0xFF000000;

// Reads a whole file through the virtual file system (name through GetResourceFilename).
bool ReadArtFile(const char* name, std::string* resolved, std::vector<char>& data) {
    *resolved = GetResourceFilename(name);
    return VfsReadFile(*resolved, data);
}

template <typename T>
void DoubleBlock(const T* src, int width, int height, size_t srcPitch, T* dest, size_t destPitch,
                 bool smooth) {
    auto at = [&](int x, int y) -> T {
        if (x < 0) x = 0;
        if (y < 0) y = 0;
        if (x >= width) x = width - 1;
        if (y >= height) y = height - 1;
        return *reinterpret_cast<const T*>(reinterpret_cast<const uint8_t*>(src) + y * srcPitch +
                                           x * sizeof(T));
    };
    for (int y = 0; y < height; ++y) {
        T* top = reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(dest) + (2 * y) * destPitch);
        T* bottom = reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(dest) + (2 * y + 1) * destPitch);
        const T* row = reinterpret_cast<const T*>(reinterpret_cast<const uint8_t*>(src) + y * srcPitch);
        for (int x = 0; x < width; ++x) {
            const T e = row[x];
            T e0 = e, e1 = e, e2 = e, e3 = e;
            if (smooth) {
                const T a = at(x, y - 1);
                const T d = at(x - 1, y);
                const T f = at(x + 1, y);
                const T h = at(x, y + 1);
                if (a != h && d != f) {
                    e0 = d == a ? d : e;
                    e1 = a == f ? f : e;
                    e2 = d == h ? d : e;
                    e3 = h == f ? f : e;
                }
            }
            top[2 * x] = e0;
            top[2 * x + 1] = e1;
            bottom[2 * x] = e2;
            bottom[2 * x + 1] = e3;
        }
    }
}

}  // namespace

void EnableHueShift(int32_t degrees) {
    HueShiftOn = true;
    HueShiftDegrees = degrees;
}

void DisableHueShift() { HueShiftOn = false; }

bool HueShiftEnabled() { return HueShiftOn; }

void RgbToHsl(float r, float g, float b, float* h, float* s, float* l) {
    float max = r > g ? r : g;
    if (b > max) max = b;
    float min = r < g ? r : g;
    if (b < min) min = b;
    float hue = 0.0f;
    if (max != min) {
        if (r == max) {
            hue = (g - b) * 60.0f / (max - min);
        } else if (g == max) {
            hue = (b - r) * 60.0f / (max - min) + 120.0f;
        } else {
            hue = (r - g) * 60.0f / (max - min) + 240.0f;
        }
        if (hue < 0.0f) {
            while (hue < 0.0f) hue += 360.0f;
        } else {
            while (hue >= 360.0f) hue -= 360.0f;
        }
    }
    const float light = (max + min) * 0.5f;
    float sat;
    if (light < 0.5f) {
        sat = (max + min) == 0.0f ? 0.0f : (max - min) / (max + min);
    } else {
        sat = light == 1.0f ? 0.0f : (max - min) / (2.0f - 2.0f * light);
    }
    *h = hue;
    *s = sat;
    *l = light;
}

namespace {

float HueChannel(float p, float q, float t) {
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    if (t < 0.16666667f) return p + (q - p) * 6.0f * t;
    if (t < 0.5f) return q;
    if (t < 0.6666667f) return p + (q - p) * 6.0f * (0.6666667f - t);
    return p;
}

}  // namespace

void HslToRgb(float h, float s, float l, float* r, float* g, float* b) {
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    const float t = h / 360.0f;
    *r = HueChannel(p, q, t + 0.33333334f);
    *g = HueChannel(p, q, t);
    *b = HueChannel(p, q, t - 0.33333334f);
}

void HueShiftColour(const uint8_t in[3], float degrees, uint8_t out[3]) {
    const float r = static_cast<float>(in[0] / 255.0);
    const float g = static_cast<float>(in[1] / 255.0);
    const float b = static_cast<float>(in[2] / 255.0);
    float h, s, l;
    RgbToHsl(r, g, b, &h, &s, &l);
    h = h + degrees;
    if (h < 0.0f) {
        while (h < 0.0f) h += 360.0f;
    } else {
        while (h > 360.0f) h -= 360.0f;
    }
    float outR, outG, outB;
    HslToRgb(h, s, l, &outR, &outG, &outB);
    out[0] = static_cast<uint8_t>(static_cast<int>(outR * 255.0) & 0xFF);
    out[1] = static_cast<uint8_t>(static_cast<int>(outG * 255.0) & 0xFF);
    out[2] = static_cast<uint8_t>(static_cast<int>(outB * 255.0) & 0xFF);
}

bool ExpandPaletteWithHueShift(const PalettePng& image, int channels, std::vector<uint8_t>& out) {
    if (channels != 3 && channels != 4) return false;
    // The palette is converted once; every pixel then copies its entry.
    uint8_t colours[256][4];
    for (int i = 0; i < 256; ++i) {
        if (HueShiftOn) {
            HueShiftColour(image.palette[i], static_cast<float>(HueShiftDegrees), colours[i]);
        } else {
            colours[i][0] = image.palette[i][0];
            colours[i][1] = image.palette[i][1];
            colours[i][2] = image.palette[i][2];
        }
        colours[i][3] = image.palette[i][3];
    }
    const size_t count = image.indices.size();
    try {
        out.resize(count * channels);
    } catch (const std::bad_alloc&) {  // "outofmem"
        out.clear();
        return false;
    }
    uint8_t* dest = out.data();
    for (size_t i = 0; i < count; ++i) {
        memcpy(dest, colours[image.indices[i]], channels);
        dest += channels;
    }
    return true;
}

namespace {

// The size check every decode starts with: a PNG header whose size is within the limits.
bool AcceptedPngSize(const unsigned char* bytes, size_t length, uint32_t* width, uint32_t* height) {
    if (bytes == nullptr || length == 0 || length > static_cast<size_t>(INT_MAX)) return false;
    if (!ReadPngSize(bytes, length, width, height)) return false;  // not a PNG
    return *width != 0 && *height != 0 && *width <= kMaxPictureSide && *height <= kMaxPictureSide;
}

SDL_Surface* NewRgbaSurface(int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, 32, kMaskR, kMaskG, kMaskB, kMaskA);
    if (surface == nullptr) printf("Couldn't allocate SDL surface!\n");
    return surface;
}

}  // namespace

bool DecodeImageBytes(const unsigned char* bytes, size_t length, int requested,
                      std::vector<uint8_t>& pixels, int* width, int* height, int* channels) {
    PaletteCaptured = false;
    pixels.clear();
    uint32_t declaredWidth = 0, declaredHeight = 0;
    if (!AcceptedPngSize(bytes, length, &declaredWidth, &declaredHeight)) return false;
    if (IsPalettePng(bytes, length)) {
        PalettePng image;
        if (!DecodePalettePng(bytes, length, &image)) return false;
        *width = image.width;
        *height = image.height;
        if (!PaletteExpandMode) {
            memcpy(GlobalPalette, image.palette, sizeof GlobalPalette);
            PaletteCaptured = true;
            pixels.swap(image.indices);
            *channels = 1;
            return true;
        }
        const int count = requested >= 3 ? requested : (image.hasTransparency ? 4 : 3);
        *channels = count;
        return ExpandPaletteWithHueShift(image, count, pixels);
    }
    if (DecodeTruecolourPng(bytes, length, requested, pixels, width, height, channels)) return true;
    int w = 0, h = 0, own = 0;
    stbi_uc* decoded = stbi_load_from_memory(bytes, static_cast<int>(length), &w, &h, &own, requested);
    if (decoded == nullptr) return false;
    if (static_cast<uint32_t>(w) != declaredWidth || static_cast<uint32_t>(h) != declaredHeight) {
        stbi_image_free(decoded);
        return false;
    }
    const int count = requested != 0 ? requested : own;
    pixels.assign(decoded, decoded + static_cast<size_t>(w) * h * count);
    stbi_image_free(decoded);
    *width = w;
    *height = h;
    *channels = count;
    return true;
}

void DoublePixels32(const uint32_t* src, int width, int height, size_t srcPitch, uint32_t* dest,
                    size_t destPitch, bool smooth) {
    DoubleBlock(src, width, height, srcPitch, dest, destPitch, smooth);
}

void DoublePixels8(const uint8_t* src, int width, int height, size_t srcPitch, uint8_t* dest,
                   size_t destPitch, bool smooth) {
    DoubleBlock(src, width, height, srcPitch, dest, destPitch, smooth);
}

SDL_Surface* CreateSurfaceFromImageData(const unsigned char* bytes, size_t length) {
    PaletteExpandMode = true;
    // The usual kind of picture is decoded straight into the surface.
    uint32_t declaredWidth = 0, declaredHeight = 0;
    TruecolourPng quick;
    if (AcceptedPngSize(bytes, length, &declaredWidth, &declaredHeight) && quick.Open(bytes, length)) {
        PaletteCaptured = false;
        SDL_Surface* surface = NewRgbaSurface(quick.Width(), quick.Height());
        if (surface == nullptr) return nullptr;
        SDL_LockSurface(surface);
        const bool decoded = quick.DecodeInto(static_cast<uint8_t*>(surface->pixels), surface->pitch, 4);
        SDL_UnlockSurface(surface);
        if (decoded) return surface;
        SDL_FreeSurface(surface);  // damaged: the general decoder below judges it
    }
    std::vector<uint8_t> pixels;
    int width = 0, height = 0, channels = 0;
    if (!DecodeImageBytes(bytes, length, 4, pixels, &width, &height, &channels)) return nullptr;
    SDL_Surface* surface = NewRgbaSurface(width, height);
    if (surface == nullptr) return nullptr;
    SDL_LockSurface(surface);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
               pixels.data() + static_cast<size_t>(y) * rowBytes, rowBytes);
    }
    SDL_UnlockSurface(surface);
    return surface;
}

SDL_Surface* LoadImage(const char* name) {
    if (name == nullptr) return nullptr;
    std::string file;
    std::vector<char> data;
    if (!ReadArtFile(name, &file, data)) return nullptr;
    SDL_Surface* surface =
        CreateSurfaceFromImageData(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    if (surface == nullptr) {
        printf("Could not load resource '%s' with filename '%s'\n", name, file.c_str());
    }
    return surface;
}

SDL_Surface* LoadImageMiddle(const char* name, int w, int h) {
    if (name == nullptr) return nullptr;
    std::string file;
    std::vector<char> data;
    if (!ReadArtFile(name, &file, data)) return nullptr;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data.data());
    uint32_t fullW = 0, fullH = 0;
    TruecolourPng quick;
    if (AcceptedPngSize(bytes, data.size(), &fullW, &fullH) && quick.Open(bytes, data.size())) {
        const int pictureW = quick.Width();
        const int pictureH = quick.Height();
        const int partW = pictureW > w && w > 0 ? w : pictureW;
        const int partH = pictureH > h && h > 0 ? h : pictureH;
        const int partX = pictureW / 2 - partW / 2;
        const int partY = pictureH / 2 - partH / 2;
        PaletteExpandMode = true;
        PaletteCaptured = false;
        SDL_Surface* surface = NewRgbaSurface(partW, partH);
        if (surface == nullptr) return nullptr;
        SDL_LockSurface(surface);
        const bool decoded = quick.DecodePartInto(partX, partY, partW, partH,
                                                  static_cast<uint8_t*>(surface->pixels), surface->pitch, 4);
        SDL_UnlockSurface(surface);
        if (decoded) return surface;
        SDL_FreeSurface(surface);  // damaged: the whole-picture loader below judges it
    }
    // Any other kind of picture is decoded whole; the part is what is kept.
    SDL_Surface* whole = CreateSurfaceFromImageData(bytes, data.size());
    if (whole == nullptr) {
        printf("Could not load resource '%s' with filename '%s'\n", name, file.c_str());
        return nullptr;
    }
    const int partW = whole->w > w && w > 0 ? w : whole->w;
    const int partH = whole->h > h && h > 0 ? h : whole->h;
    if (partW == whole->w && partH == whole->h) return whole;
    SDL_Surface* part = NewRgbaSurface(partW, partH);
    if (part != nullptr) {
        const int partX = whole->w / 2 - partW / 2;
        const int partY = whole->h / 2 - partH / 2;
        for (int y = 0; y < partH; ++y) {
            memcpy(static_cast<uint8_t*>(part->pixels) + static_cast<size_t>(y) * part->pitch,
                   static_cast<const uint8_t*>(whole->pixels) + static_cast<size_t>(partY + y) * whole->pitch +
                       static_cast<size_t>(partX) * 4,
                   static_cast<size_t>(partW) * 4);
        }
    }
    SDL_FreeSurface(whole);
    return part;
}

SDL_Surface* LoadAlphaImage(const char* name) {
    if (name == nullptr) return nullptr;
    PaletteExpandMode = true;
    std::string file;
    std::vector<char> data;
    if (!ReadArtFile(name, &file, data)) return nullptr;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data.data());
    std::vector<uint8_t> pixels;
    int width = 0, height = 0, channels = 0;
    bool ok = DecodeImageBytes(bytes, data.size(), 0, pixels, &width, &height, &channels);
    if (ok && channels != 3 && channels != 4) {
        // Grey images (with or without alpha) are read again as RGBA.
        ok = DecodeImageBytes(bytes, data.size(), 4, pixels, &width, &height, &channels);
    }
    if (!ok || width <= 0 || height <= 0) {
        printf("Could not load resource '%s' with filename '%s'\n", name, file.c_str());
        return nullptr;
    }
    const bool rgba = channels == 4;
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width * 2, height * 2, 32, kMaskR, kMaskG, kMaskB,
                                                rgba ? kMaskA : 0);
    if (surface == nullptr) {
        printf("Couldn't allocate SDL surface!\n");
        return nullptr;
    }
    std::vector<uint32_t> packed(static_cast<size_t>(width) * height);
    if (rgba) {
        memcpy(packed.data(), pixels.data(), packed.size() * 4);
    } else {
        for (size_t i = 0; i < packed.size(); ++i) {
            const uint8_t* p = &pixels[i * 3];
            packed[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
        }
    }
    SDL_LockSurface(surface);
    DoublePixels32(packed.data(), width, height, static_cast<size_t>(width) * 4,
                   static_cast<uint32_t*>(surface->pixels), surface->pitch, rgba && smoothScaling != 0);
    SDL_UnlockSurface(surface);
    SDL_SetAlpha(surface, SDL_SRCALPHA, 255);
    return surface;
}

bool WarnIfArtMissing(const char* file) {
    if (file == nullptr) return false;
    if (VfsExists(GetResourceFilename(file))) return true;
    ShowErrorBox(std::string("File named ") + file + " not found. The game will probably crash!");
    return false;
}

namespace {
uint32_t levelImageGeneration = 0;
}  // namespace

uint32_t LevelImageGeneration() { return levelImageGeneration; }

ImageRecord::~ImageRecord() { Free(); }

void ImageRecord::Free() {
    if (surface != nullptr) {
        SDL_FreeSurface(surface);
        ++levelImageGeneration;
    }
    surface = nullptr;
}

bool ImageRecord::LoadImageDoubled(const char* name) {
    Free();
    if (name == nullptr) return false;
    fileName = name;
    std::string file;
    std::vector<char> data;
    if (!ReadArtFile(name, &file, data)) return false;
    PaletteExpandMode = false;
    std::vector<uint8_t> pixels;
    int width = 0, height = 0, channels = 0;
    const bool ok = DecodeImageBytes(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                                     0, pixels, &width, &height, &channels);
    PaletteExpandMode = true;
    if (!ok || !PaletteCaptured || channels != 1) {
        // Only palette images can be read this way: any other kind would be drawn with the
        // palette of whatever palette image was read before it.
        printf("Could not load resource '%s' with filename '%s'\n", name, file.c_str());
        return false;
    }
    SDL_Surface* indexed = SDL_CreateRGBSurface(SDL_HWACCEL, width * 2, height * 2, 8, 0, 0, 0, 0);
    if (indexed == nullptr) {
        printf("Couldn't allocate SDL surface!\n");
        return false;
    }
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i].r = GlobalPalette[i][0];
        colours[i].g = GlobalPalette[i][1];
        colours[i].b = GlobalPalette[i][2];
        colours[i].unused = 0;
    }
    SDL_SetColors(indexed, colours, 0, 256);
    SDL_SetColorKey(indexed, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    SDL_LockSurface(indexed);
    DoublePixels8(pixels.data(), width, height, static_cast<size_t>(width),
                  static_cast<uint8_t*>(indexed->pixels), indexed->pitch, false);
    SDL_UnlockSurface(indexed);
    if (ScreenSurface == nullptr) {
        // No screen yet (tools and tests): keep the keyed 8-bit surface.
        surface = indexed;
        ++levelImageGeneration;
        return true;
    }
    surface = SDL_ConvertSurface(indexed, ScreenSurface->format, SDL_HWSURFACE | SDL_HWACCEL);
    SDL_FreeSurface(indexed);
    if (surface != nullptr) ++levelImageGeneration;
    return surface != nullptr;
}
