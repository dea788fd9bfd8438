#include "interface/screenshot.h"

#include "media/screen.h"
#include "platform/platform.h"

#include <sys/stat.h>

#include <cstdio>

namespace {

bool PathExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string SaveScreenshot(SDL_Surface* surface) {
    if (!surface) surface = ScreenSurface;
    if (!surface) return std::string();
    const std::string folder = GetUserDataPath();
    for (int n = 0; n < kScreenshotNameCount; ++n) {
        const std::string path = folder + "bitmap_" + std::to_string(n) + ".bmp";
        if (PathExists(path)) continue;
        SDL_RWops* out = SDL_RWFromFile(path.c_str(), "wb");
        if (!out) {
            std::printf("Could not open %s for the screenshot\n", path.c_str());
            return std::string();
        }
        // The call closes the stream whatever happens.
        if (SDL_SaveBMP_RW(surface, out, 1) != 0) {
            std::printf("Could not write the screenshot %s: %s\n", path.c_str(), SDL_GetError());
            RemoveFile(path.c_str());
            return std::string();
        }
        return path;
    }
    return std::string();
}
