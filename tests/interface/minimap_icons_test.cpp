// The minimap's icon set loaded from the game's own art: the marks that creatures draw on the
// minimap (hero, quest monster alive and dead, horde commander) come from it, one per zoom.
#include <gtest/gtest.h>

#include <set>

#include "creatures/status_overlays.h"
#include "interface/hud.h"
#include "interface/minimap.h"
#include "media/sprite.h"
#include "menu_test_fixture.h"

namespace {

class MinimapIconSet : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        savedMonsterMarks_ = MinimapMonsterMarks;
        savedHeroMarks_ = MinimapHeroMarks;
        MinimapMonsterMarks = MinimapMonsterIcons();
        MinimapHeroMarks = MinimapHeroIcons();
    }
    void TearDown() override {
        if (!IsSkipped()) {
            MinimapMonsterMarks = savedMonsterMarks_;
            MinimapHeroMarks = savedHeroMarks_;
            SpriteMgr_FreeAll();
        }
        MenuScreenTest::TearDown();
    }
    // The colour at the centre of the sprite's first frame.
    static uint32_t CentreColour(Sprite* sprite) {
        SDL_Surface* frame = sprite->frames[0];
        return MenuPixelRgb(frame, frame->w / 2, frame->h / 2);
    }
    MinimapMonsterIcons savedMonsterMarks_;
    MinimapHeroIcons savedHeroMarks_;
};

TEST_F(MinimapIconSet, QuestAndCommanderMarksComeFromTheIconSetAtEveryZoom) {
    testing::internal::CaptureStdout();
    LoadMinimapIcons();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.find("not found"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Couldn't load"), std::string::npos) << printed;

    // Kind numbers of the icon set: quest 6, quest_used 7, monster1 10, player 11, fplayer 12.
    struct Case {
        const char* what;
        Sprite* const* marks;
        int32_t kind;
    };
    const Case cases[] = {
        {"quest monster", MinimapMonsterMarks.quest, 6},
        {"dead quest monster", MinimapMonsterMarks.questDead, 7},
        {"commander", MinimapMonsterMarks.commander, 10},
        {"hero", MinimapHeroMarks.male, 11},
        {"heroine", MinimapHeroMarks.female, 12},
    };
    const int32_t sides[kMinimapZoomCount] = {5, 8, 11, 14};
    for (int32_t zoom = 0; zoom < kMinimapZoomCount; ++zoom) {
        std::set<uint32_t> monsterColours;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " at zoom " + std::to_string(zoom));
            Sprite* mark = c.marks[zoom];
            ASSERT_NE(mark, nullptr);
            EXPECT_EQ(mark, MinimapIcon(c.kind, zoom));
            ASSERT_GT(mark->frameCount, 0);
            ASSERT_NE(mark->frames[0], nullptr);
            // The picture of the right size was read, not a placeholder.
            EXPECT_EQ(mark->frames[0]->w, sides[zoom]);
            EXPECT_EQ(mark->frames[0]->h, sides[zoom]);
            if (c.kind == 6 || c.kind == 7 || c.kind == 10) monsterColours.insert(CentreColour(mark));
        }
        // A quest monster, a dead one and a commander can be told apart on the map.
        EXPECT_EQ(monsterColours.size(), 3u) << "zoom " << zoom;
    }
}

}  // namespace
