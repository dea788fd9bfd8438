// The fixtures that mark the minimap draw the icon of their state at the zoom asked for; the
// others draw nothing there.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../interface/frame_test_support.h"
#include "items_fixtures/anvil.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/dirt.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest_statue.h"
#include "items_fixtures/shrines.h"
#include "media/screen.h"
#include "media/sprite.h"

namespace {

// The icon the minimap's loader keeps under a name: one of our own, each name its own colour.
Sprite* IconNamed(const std::string& name) {
    if (Sprite* found = SpriteMgr_Find(name.c_str())) return found;
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    Sprite* made = MakeSolidSprite(3, 3, static_cast<Uint8>(hash | 1), static_cast<Uint8>(hash >> 8),
                                   static_cast<Uint8>(hash >> 16));
    EXPECT_TRUE(SpriteMgr_Add(name.c_str(), made)) << name;
    return made;
}

const char* const kZoomSuffix[4] = {"", "_2x", "_3x", "_4x"};

TEST(FixtureMinimap, EachFixtureDrawsTheIconOfItsStateAtEveryZoom) {
    GuardedScreen screen(40, 40);
    struct Case {
        const char* what;
        std::function<GameObj*()> make;
        // The icon's name at a zoom; empty: the fixture draws nothing.
        std::function<std::string(int32_t zoom)> icon;
    };
    auto loaded = [](const char* kind) {
        return [kind](int32_t zoom) { return std::string("minimap_") + kind + "_" + std::to_string(zoom); };
    };
    const Case cases[] = {
        {"down stairs", [] { return new Stairs(0); }, loaded("stairsdown")},
        {"up stairs", [] { return new Stairs(1); }, loaded("stairsup")},
        {"teleporter", [] { return new Teleporter(3, 4); }, loaded("teleport")},
        {"quest statue", [] { return new Statue(); }, loaded("quest")},
        {"used quest statue",
         [] {
             Statue* s = new Statue();
             s->available = 0;
             return s;
         },
         loaded("quest_used")},
        {"lutefisk statue", [] { return new LutefiskStatue(); }, loaded("lutefisk")},
        {"spent lutefisk statue",
         [] {
             LutefiskStatue* s = new LutefiskStatue();
             s->spent = 1;
             return s;
         },
         loaded("lutefisk_used")},
        {"diggle god", [] { return new DiggleGod("Nobody Known"); }, loaded("digglegod")},
        {"anvil", [] { return new Anvil(); }, loaded("krong")},
        {"locked uber chest", [] { return new UberChest(); },
         [](int32_t zoom) { return std::string("ui/icons/minimap_uberchest_locked") + kZoomSuffix[zoom] + ".png"; }},
        {"open uber chest",
         [] {
             UberChest* c = new UberChest();
             c->locked = 0;
             return c;
         },
         [](int32_t zoom) { return std::string("ui/icons/minimap_uberchest") + kZoomSuffix[zoom] + ".png"; }},
        {"portal", [] { return new Portal(); }, [](int32_t) { return std::string(); }},
        {"dirt", [] { return new Dirt(); }, [](int32_t) { return std::string(); }},
    };
    // Every icon any case may draw is loaded before any case draws, so a wrong pick shows.
    for (const Case& c : cases) {
        for (int32_t zoom = 0; zoom < 4; ++zoom) {
            if (!c.icon(zoom).empty()) IconNamed(c.icon(zoom));
        }
    }
    for (const Case& c : cases) {
        std::unique_ptr<GameObj> fixture(c.make());
        for (int32_t zoom = 0; zoom < 4; ++zoom) {
            SDL_FillRect(screen.surface(), nullptr, 0);
            fixture->DrawOnMinimap(5, 6, zoom);
            const std::string name = c.icon(zoom);
            const uint32_t want = name.empty() ? 0u : FirstPixelRgb(IconNamed(name));
            EXPECT_EQ(screen.Rgb(5, 6), want) << c.what << " zoom " << zoom;
            EXPECT_EQ(screen.Rgb(4, 6), 0u) << c.what << ": the icon's corner is (5, 6)";
        }
        // No such zoom: nothing.
        SDL_FillRect(screen.surface(), nullptr, 0);
        fixture->DrawOnMinimap(5, 6, 4);
        fixture->DrawOnMinimap(5, 6, -1);
        EXPECT_EQ(screen.Rgb(5, 6), 0u) << c.what;
    }
    EXPECT_EQ(screen.DamagedGuards(), 0u);
}

}  // namespace
