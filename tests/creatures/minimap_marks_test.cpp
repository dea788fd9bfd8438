// The minimap marks of the hero (by gender), quest monsters (alive and dead) and commanders.
#include <gtest/gtest.h>

#include <memory>

#include "../interface/frame_test_support.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/status_overlays.h"
#include "fight_fixture.h"
#include "items_fixtures/quest.h"

namespace {

class MinimapMarks : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        savedScreen_ = ScreenSurface;
        ScreenSurface = screen_.surface();
        savedMonsterMarks_ = MinimapMonsterMarks;
        savedHeroMarks_ = MinimapHeroMarks;
        // Every mark its own colour; sizes grow with the zoom so the zoom can be read too.
        for (int32_t zoom = 0; zoom < kMinimapZoomCount; ++zoom) {
            const int side = 2 + zoom;
            MinimapHeroMarks.male[zoom] = Keep(MakeSolidSprite(side, side, 10, 20, static_cast<Uint8>(zoom)));
            MinimapHeroMarks.female[zoom] = Keep(MakeSolidSprite(side, side, 30, 40, static_cast<Uint8>(zoom)));
            MinimapMonsterMarks.quest[zoom] = Keep(MakeSolidSprite(side, side, 50, 60, static_cast<Uint8>(zoom)));
            MinimapMonsterMarks.questDead[zoom] = Keep(MakeSolidSprite(side, side, 70, 80, static_cast<Uint8>(zoom)));
            MinimapMonsterMarks.commander[zoom] = Keep(MakeSolidSprite(side, side, 90, 100, static_cast<Uint8>(zoom)));
        }
    }
    void TearDown() override {
        MinimapMonsterMarks = savedMonsterMarks_;
        MinimapHeroMarks = savedHeroMarks_;
        ScreenSurface = savedScreen_;
        FightTest::TearDown();
    }
    Sprite* Keep(Sprite* sprite) {
        sprites_.emplace_back(sprite);
        return sprite;
    }
    // The colour drawn at (x, y) after clearing the screen and drawing the object.
    uint32_t DrawnAt(GameObj* object, int32_t zoom, int32_t x = 20, int32_t y = 30) {
        SDL_FillRect(screen_.surface(), nullptr, 0);
        object->DrawOnMinimap(x, y, zoom);
        return screen_.Rgb(x, y);
    }
    static uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

    GuardedScreen screen_{64, 64};
    SDL_Surface* savedScreen_ = nullptr;
    MinimapMonsterIcons savedMonsterMarks_;
    MinimapHeroIcons savedHeroMarks_;
    std::vector<std::unique_ptr<Sprite>> sprites_;
};

TEST_F(MinimapMarks, EachDrawsItsOwnMarkForTheZoomAndOthersDrawNothing) {
    for (int32_t zoom = 0; zoom < kMinimapZoomCount; ++zoom) {
        hero_.female = 0;
        EXPECT_EQ(DrawnAt(&hero_, zoom), Rgb(10, 20, zoom)) << zoom;
        hero_.female = 1;
        EXPECT_EQ(DrawnAt(&hero_, zoom), Rgb(30, 40, zoom)) << zoom;
    }
    Monster* plain = AddMonster("Diggle", 6, 6);
    Monster* member = AddMonster("Diggle", 7, 6);
    EXPECT_EQ(DrawnAt(plain, 2), 0u) << "a monster with no quest and no horde has no mark";
    plain->hordeMembers.push_back(member);
    EXPECT_EQ(DrawnAt(plain, 2), Rgb(90, 100, 2));
    QuestRecord quest;
    plain->quest = &quest;
    EXPECT_EQ(DrawnAt(plain, 1), Rgb(50, 60, 1)) << "a quest monster's mark wins over a commander's";
    plain->dead = 1;
    EXPECT_EQ(DrawnAt(plain, 3), Rgb(70, 80, 3));
    plain->quest = nullptr;
    plain->hordeMembers.clear();
    // Zoom indices outside 0..3 draw nothing.
    for (int32_t zoom : {-1, kMinimapZoomCount}) {
        EXPECT_EQ(DrawnAt(&hero_, zoom), 0u) << zoom;
    }
    EXPECT_EQ(screen_.DamagedGuards(), 0u);
}

}  // namespace
