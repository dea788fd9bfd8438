// A test screen: the game's pointer sprite, an outlined (highlighted) sprite and gold text drawn
// into a real video surface. The picture is written to "sprite_screen.png" in the test's working
// folder (the build folder under ctest) for a reviewer to look at. Runs under the dummy video
// driver and under Xvfb alike.
#include <gtest/gtest.h>
#include <physfs.h>
#include <stb_image_write.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "media/screen.h"
#include "media/bob.h"
#include "media/font.h"
#include "media/sprite.h"
#include "media/text.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"

namespace {

uint32_t ScreenRgb(int x, int y) {
    Uint8 r, g, b;
    Uint32 pixel = 0;
    const Uint8* p = static_cast<const Uint8*>(ScreenSurface->pixels) + y * ScreenSurface->pitch +
                     x * ScreenSurface->format->BytesPerPixel;
    memcpy(&pixel, p, ScreenSurface->format->BytesPerPixel);
    SDL_GetRGB(pixel, ScreenSurface->format, &r, &g, &b);
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

int CountInRect(int x0, int y0, int w, int h, bool (*match)(uint32_t)) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += match(ScreenRgb(x, y)) ? 1 : 0;
    return n;
}

TEST(SpriteScreen, SpriteOutlinedSpriteAndGoldText) {
    const std::string root = VAULTMERE_GAME_ROOT;
    char cwdBuffer[4096];
    ASSERT_NE(getcwd(cwdBuffer, sizeof cwdBuffer), nullptr);
    const std::string outputFile = std::string(cwdBuffer) + "/sprite_screen.png";
    const bool ownVideo = SDL_WasInit(SDL_INIT_VIDEO) == 0;
    if (ownVideo) {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    SDL_Surface* saved = ScreenSurface;
    ScreenSurface = SDL_SetVideoMode(320, 200, 32, SDL_SWSURFACE);
    ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
    SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 24, 24, 40));

    const bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    {
        ScopedWorkingDir cwd(root);
        ASSERT_TRUE(cwd.ok());
        MountDataTree();
        Sprite* pointer = SpriteMgr_GetOrLoad("ui/cursor.spr");
        Sprite* ring = SpriteMgr_GetOrLoad("ui/goto_b.spr");
        ASSERT_NE(pointer, nullptr);
        ASSERT_NE(ring, nullptr);
        ASSERT_GT(pointer->frameCount, 0);

        Bob plain;
        plain.SetSprite(pointer);
        plain.x = 20;
        plain.y = 20;
        plain.Draw();
        Bob outlined;
        outlined.SetSprite(ring);
        outlined.x = 120;
        outlined.y = 20;
        outlined.HighlightNextDraw();
        outlined.Draw();
        EXPECT_FALSE(outlined.highlight);

        ASSERT_TRUE(LoadFonts());
        ASSERT_NE(MediumFont, nullptr) << "fonts/Austin.ttf did not open";
        DrawMediumTextGold(20, 120, "Vaultmere", ScreenSurface);

        // The pointer shows in its own colours; the highlighted ring has red outline pixels; the
        // text is gold.
        EXPECT_GT(CountInRect(20, 20, pointer->width, pointer->height,
                              [](uint32_t c) { return c != 0x181828u; }), 0);
        EXPECT_GT(CountInRect(119, 19, ring->width + 2, ring->height + 2,
                              [](uint32_t c) { return c == 0xFF0000u; }), 0);
        EXPECT_GT(CountInRect(20, 120, 200, 40, [](uint32_t c) {
                      const int r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
                      return r > 180 && g > 150 && b < 140;
                  }), 10);
        FreeFonts();
        SpriteMgr_FreeAll();
        PHYSFS_deinit();
    }
    if (wasInit) PHYSFS_init(nullptr);

    // The picture for a reviewer.
    std::vector<uint8_t> rgb;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint32_t c = ScreenRgb(x, y);
            rgb.push_back(uint8_t(c >> 16));
            rgb.push_back(uint8_t(c >> 8));
            rgb.push_back(uint8_t(c));
        }
    EXPECT_NE(stbi_write_png(outputFile.c_str(), 320, 200, 3, rgb.data(), 320 * 3), 0);
    ScreenSurface = saved;
    if (ownVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
