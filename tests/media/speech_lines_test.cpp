// Lines monsters say in one frame never overlap: a taken place pushes a line up.
#include "media/speech_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Overlap(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class SpeechLinesTest : public testing::Test {
protected:
    void SetUp() override { ClearSpeechLines(); }
    void TearDown() override { ClearSpeechLines(); }
};

TEST_F(SpeechLinesTest, LinesOfOneFrameNeverOverlap) {
    struct Want {
        int cx, y, w, h;
    };
    // Monsters side by side and one above another, as in a crowded room: 64-pixel squares,
    // lines wider than a square.
    const std::vector<Want> wants = {{100, 200, 120, 22}, {164, 200, 140, 22}, {228, 200, 90, 22},
                                     {164, 136, 160, 22}, {164, 180, 60, 22},  {600, 200, 100, 22}};
    std::vector<SDL_Rect> placed;
    for (const Want& w : wants) placed.push_back(PlaceSpeechLine(w.cx, w.y, w.w, w.h));
    for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].w, wants[i].w);
        EXPECT_EQ(placed[i].h, wants[i].h);
        EXPECT_EQ(placed[i].x, wants[i].cx - wants[i].w / 2) << "lines move only up";
        EXPECT_LE(placed[i].y, wants[i].y);
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(placed[i], placed[j])) << i << " and " << j;
    }
    // The first line and the lone line far away keep their places.
    EXPECT_EQ(placed[0].y, 200);
    EXPECT_EQ(placed[5].y, 200);
    // The second is pushed just above the first.
    EXPECT_EQ(placed[1].y, 200 - 22 - 2);
}

TEST_F(SpeechLinesTest, ANewFrameStartsWithEveryPlaceFree) {
    EXPECT_EQ(PlaceSpeechLine(100, 50, 80, 20).y, 50);
    EXPECT_EQ(PlaceSpeechLine(100, 50, 80, 20).y, 28);
    ClearSpeechLines();
    EXPECT_EQ(PlaceSpeechLine(100, 50, 80, 20).y, 50);
}

}  // namespace
