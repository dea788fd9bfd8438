// Stand-in: what is still to be built is listed at the top of media/image.h.
#include "media/image.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "platform/platform.h"
#include "platform/vfs.h"

SDL_Surface* CreateSurfaceFromImageData(const unsigned char* bytes, size_t length) {
    if (bytes == nullptr || length == 0 || length > static_cast<size_t>(INT_MAX)) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(length), &width, &height,
                                            &channels, 4);
    if (pixels == nullptr) {
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, 32, 0x000000FF, 0x0000FF00,
                                                0x00FF0000, 0xFF000000);
    if (surface == nullptr) {
        printf("Couldn't allocate SDL surface!\n");
        stbi_image_free(pixels);
        return nullptr;
    }
    SDL_LockSurface(surface);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
               pixels + static_cast<size_t>(y) * rowBytes, rowBytes);
    }
    SDL_UnlockSurface(surface);
    stbi_image_free(pixels);
    return surface;
}

SDL_Surface* LoadImage(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    const std::string file = GetResourceFilename(name);
    std::vector<char> data;
    if (!VfsReadFile(file, data)) {
        return nullptr;
    }
    SDL_Surface* surface = CreateSurfaceFromImageData(
        reinterpret_cast<const unsigned char*>(data.data()), data.size());
    if (surface == nullptr) {
        printf("Could not load resource '%s' with filename '%s'\n", name, file.c_str());
    }
    return surface;
}
