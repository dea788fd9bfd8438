// A bookshelf shows its minimap mark, and another once it has been searched.
#include <gtest/gtest.h>

#include <string>

#include "../interface/frame_test_support.h"
#include "items_fixtures/bookshelf.h"
#include "media/screen.h"
#include "media/sprite.h"

namespace {

// The sprite the minimap's loader keeps under a name (one of our own, added when absent).
Sprite* MarkNamed(const std::string& name, Uint8 shade) {
    if (Sprite* found = SpriteMgr_Find(name.c_str())) return found;
    Sprite* made = MakeSolidSprite(3, 3, shade, 0x40, 0x80);
    EXPECT_TRUE(SpriteMgr_Add(name.c_str(), made));
    return made;
}

TEST(BookshelfMinimap, TheMarkFollowsTheSearchAndTheZoom) {
    GuardedScreen screen(40, 40);
    SDL_Surface* saved = ScreenSurface;
    ScreenSurface = screen.surface();
    Bookshelf shelf;
    for (int32_t zoom = 0; zoom < 4; ++zoom) {
        for (bool searched : {false, true}) {
            const std::string name =
                std::string(searched ? "minimap_bookshelf_used_" : "minimap_bookshelf_") + std::to_string(zoom);
            Sprite* mark = MarkNamed(name, static_cast<Uint8>(0x10 * zoom + (searched ? 8 : 0)));
            shelf.searched = searched;
            SDL_FillRect(screen.surface(), nullptr, 0);
            shelf.DrawOnMinimap(5, 6, zoom);
            EXPECT_EQ(screen.Rgb(5, 6), FirstPixelRgb(mark)) << name;
        }
    }
    SDL_FillRect(screen.surface(), nullptr, 0);
    shelf.DrawOnMinimap(5, 6, 4);  // no such zoom: nothing
    EXPECT_EQ(screen.Rgb(5, 6), 0u);
    EXPECT_EQ(screen.DamagedGuards(), 0u);
    ScreenSurface = saved;
}

}  // namespace
