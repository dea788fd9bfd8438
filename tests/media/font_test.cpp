// Opening the game font at its five sizes.
#include "media/font.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

const char* const kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TTF_Font* const* const kHandles[] = {&LargeFont, &MediumFont, &AltMediumFont, &TickerFont, &SmallFont};

class FontTest : public testing::Test {
protected:
    void TearDown() override { FreeFonts(); }
    TempDir tmp_;
};

TEST_F(FontTest, MissingFontFileFailsAndLeavesNoHandle) {
    ScopedWorkingDir cwd(tmp_.path());
    ASSERT_TRUE(cwd.ok());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadFonts());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Couldn't load font"), std::string::npos) << out;
    for (TTF_Font* const* handle : kHandles) EXPECT_EQ(*handle, nullptr);
}

TEST_F(FontTest, UnreadableFontFileFails) {
    ASSERT_TRUE(MakeFileWithParents(tmp_.file("fonts/Austin.ttf"), "not a font at all"));
    ScopedWorkingDir cwd(tmp_.path());
    ASSERT_TRUE(cwd.ok());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadFonts());
    testing::internal::GetCapturedStdout();
    for (TTF_Font* const* handle : kHandles) EXPECT_EQ(*handle, nullptr);
}

TEST_F(FontTest, OpensFiveHandlesAtTheirSizes) {
    std::ifstream src(kSystemFont, std::ios::binary);
    if (!src) GTEST_SKIP() << "no system font to stand in for the game font";
    const std::string bytes((std::istreambuf_iterator<char>(src)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(MakeFileWithParents(tmp_.file("fonts/Austin.ttf"), bytes));
    ScopedWorkingDir cwd(tmp_.path());
    ASSERT_TRUE(cwd.ok());

    ASSERT_TRUE(LoadFonts());
    for (TTF_Font* const* handle : kHandles) ASSERT_NE(*handle, nullptr);
    EXPECT_NE(MediumFont, AltMediumFont);
    EXPECT_GT(TTF_FontHeight(LargeFont), TTF_FontHeight(MediumFont));
    EXPECT_EQ(TTF_FontHeight(MediumFont), TTF_FontHeight(AltMediumFont));
    EXPECT_GT(TTF_FontHeight(MediumFont), TTF_FontHeight(TickerFont));
    EXPECT_GT(TTF_FontHeight(TickerFont), TTF_FontHeight(SmallFont));

    // Loading again replaces the handles.
    ASSERT_TRUE(LoadFonts());
    for (TTF_Font* const* handle : kHandles) EXPECT_NE(*handle, nullptr);
}

}  // namespace
