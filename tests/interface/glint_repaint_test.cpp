// Glints lie between the map's base layer and its tops. While they play, the frame copies the
// kept map and paints the map again only under them; the pixels must be those of painting
// the whole map with the glints in their place: cleared, the base layer, the glints, the
// tops, the shading and the objects.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/play_scene.h"
#include "core/random.h"
#include "interface/cursor.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "levels/level_draw.h"
#include "media/eye_candy.h"
#include "media/sprite_draw_list.h"
#include "tests/interface/frame_test_support.h"

namespace {

std::vector<uint8_t> Pixels(SDL_Surface* s) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
        bytes.insert(bytes.end(), row, row + s->w * 4);
    }
    return bytes;
}

void DrawGlintsInView(void*) {
    const MapView& v = Layout.view;
    DrawGlints(v.originX, v.originY, v.pixelX, v.pixelY, v.tileWidth, v.tileHeight);
}

// The rectangles the glints cover, as the frame finds them.
std::vector<SDL_Rect> GlintAreas() {
    std::vector<SpriteDrawCall> calls;
    SetSpriteDrawList(&calls);
    DrawGlintsInView(nullptr);
    SetSpriteDrawList(nullptr);
    std::vector<SDL_Rect> areas;
    for (const SpriteDrawCall& call : calls) {
        const SDL_Surface* frame = call.sprite->frames[call.frame];
        SDL_Rect r;
        r.x = static_cast<Sint16>(call.x);
        r.y = static_cast<Sint16>(call.y);
        r.w = static_cast<Uint16>(frame->w);
        r.h = static_cast<Uint16>(frame->h);
        areas.push_back(r);
    }
    return areas;
}

TEST(GlintRepaint, OnlyTheSquaresUnderGlintsArePaintedAgainAndThePictureIsTheWholeRepaint) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/ui/cursor.spr")) GTEST_SKIP() << "game folder not assembled";
    ScopedVideo video;
    ASSERT_TRUE(video.ok()) << SDL_GetError();
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(screen, nullptr);
    {
        PlayScene scene;
        PlayScene::Setup setup;
        setup.seed = 7;
        ASSERT_TRUE(scene.Open(root, screen, setup));
        Level& level = *scene.level();
        scene.MoveHero(level.startX, level.startY, true);
        LoadGlints();
        ASSERT_NE(GlintSprite, nullptr);
        UpdateCamera();
        // The map kept from a frame without glints.
        DrawMapWithInlays(level, Layout.view, {}, nullptr, nullptr);

        // Glints round the hero (where the squares are in sight), overlapping each other, on
        // several animation frames, and all over the view up to its edges, where they are cut
        // off.
        CSRand(11);
        const MapView& v = Layout.view;
        const int32_t columns = screen->w / v.tileWidth;
        const int32_t rows = screen->h / v.tileHeight;
        const Player* hero = scene.hero();
        for (int32_t i = 0; i < 20; ++i) SpawnGlint(hero->x - 2 + i % 5, hero->y - 2 + i / 5, nullptr);
        for (int32_t i = 0; i < 20; ++i) {
            SpawnGlint(v.originX + (i * 3) % (columns + 1), v.originY + (i / 2) % (rows + 1), nullptr);
        }
        int32_t frame = 0;
        for (GlintSlot& slot : Glints) {
            if (slot.active != 0) slot.bob.frame = frame++ % GlintSprite->frameCount;
        }
        const std::vector<SDL_Rect> areas = GlintAreas();
        ASSERT_GE(areas.size(), 20u);

        for (int pass = 0; pass < 2; ++pass) {
            SCOPED_TRACE(pass == 0 ? "the kept map" : "the map painted afresh");
            if (pass == 1) {
                // Another view first, so that the kept map is made anew in this frame.
                MapView other = Layout.view;
                other.originX += 1;
                DrawMapWithInlays(level, other, {}, nullptr, nullptr);
            }
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 200, 10, 10));
            DrawMapWithInlays(level, Layout.view, areas, DrawGlintsInView, nullptr);
            const std::vector<uint8_t> repainted = Pixels(screen);

            SDL_FillRect(screen, nullptr, 0);
            level.DrawFluids(Layout.view);
            DrawGlintsInView(nullptr);
            level.Draw(Layout.view);
            const std::vector<uint8_t> whole = Pixels(screen);
            EXPECT_TRUE(repainted == whole) << "the glints' squares differ from a whole repaint";
        }
        SDL_FillRect(screen, nullptr, 0);
        const std::vector<uint8_t> black = Pixels(screen);
        DrawGlintsInView(nullptr);
        EXPECT_FALSE(Pixels(screen) == black) << "glints draw nothing";
        // The glints are really in the picture: without them it differs.
        SDL_FillRect(screen, nullptr, 0);
        level.DrawFluids(Layout.view);
        level.Draw(Layout.view);
        const std::vector<uint8_t> bare = Pixels(screen);
        DrawMapWithInlays(level, Layout.view, areas, DrawGlintsInView, nullptr);
        EXPECT_FALSE(Pixels(screen) == bare);

        // The whole frame without the interface and the pointer: the map with the glints in
        // it, the objects' overlays and the black strip at the top.
        const int32_t savedHide = Layout.hideInterface;
        const bool savedCursor = CursorVisible;
        Layout.hideInterface = 1;
        CursorVisible = false;
        DrawGameScreen();
        const std::vector<uint8_t> frameShown = Pixels(screen);
        SDL_FillRect(screen, nullptr, 0);
        level.DrawFluids(Layout.view);
        DrawGlintsInView(nullptr);
        level.Draw(Layout.view);
        for (GameObj* obj : level.objects) {
            const LevelCell* cell = level.GetCell(obj->x, obj->y);
            if (cell != nullptr && cell->HasFlag(SquareFlag::Visible)) obj->DrawOverlay(Layout.view);
        }
        SDL_Rect strip = {0, 0, static_cast<Uint16>(screen->w), static_cast<Uint16>(screen->h < 768 ? 32 : 64)};
        SDL_FillRect(screen, &strip, 0);
        EXPECT_TRUE(Pixels(screen) == frameShown) << "the frame with glints differs from a whole repaint";
        Layout.hideInterface = savedHide;
        CursorVisible = savedCursor;
        for (GlintSlot& slot : Glints) slot.active = 0;
    }
    SDL_FreeSurface(screen);
}

}  // namespace
