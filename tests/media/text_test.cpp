// Measuring and drawing single lines and styled text.
#include "media/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "media/text_fixture.h"

namespace {

using TextTest = GameFontTest;

// Blits a fresh rendering of the text straight from the font engine: what a routine is
// expected to have drawn.
void ReferenceDraw(SDL_Surface* dst, int left, int y, const char* text, TTF_Font* font, SDL_Color c) {
    SDL_Surface* r = TTF_RenderUTF8_Blended(font, text, c);
    ASSERT_NE(r, nullptr);
    SDL_Rect rect = {static_cast<Sint16>(left), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(r, nullptr, dst, &rect);
    SDL_FreeSurface(r);
}

TEST_F(TextTest, MeasuresAsTheFontEngineDoes) {
    for (const char* text : {"A", "Hello world", "  spaced  ", "Gold: 1234"}) {
        for (TTF_Font* font : {LargeFont, MediumFont, TickerFont, SmallFont}) {
            int w = 0, h = 0;
            ASSERT_EQ(TTF_SizeUTF8(font, text, &w, &h), 0);
            EXPECT_EQ(TextWidth(text, font), w) << text;
            EXPECT_EQ(TextHeight(text, font), h) << text;
            EXPECT_EQ(TextWidth(std::string(text), font), w);
        }
    }
    EXPECT_EQ(TextWidth(static_cast<const char*>(nullptr), TickerFont), 0);
    EXPECT_EQ(TextHeight(static_cast<const char*>(nullptr), TickerFont), 0);
    EXPECT_EQ(TextWidth("abc", nullptr), 0);
    EXPECT_EQ(TextWidth("", TickerFont), 0);
    EXPECT_EQ(TextHeight("", TickerFont), TTF_FontHeight(TickerFont));
}

struct RoutineCase {
    const char* name;
    std::function<void(int, int, const char*, SDL_Surface*)> draw;
    TTF_Font** font;
    SDL_Color colour;
    int align;  // 0 left edge, 1 right edge, 2 centre
};

TEST_F(TextTest, SingleLineRoutinesPlaceFontAndColourAsListed) {
    const SDL_Color red = {200, 30, 30, 0};
    const std::vector<RoutineCase> cases = {
        {"DrawText", [&](int x, int y, const char* t, SDL_Surface* s) { DrawText(x, y, t, red, s, TickerFont); },
         &TickerFont, red, 0},
        {"DrawTextRightAligned",
         [&](int x, int y, const char* t, SDL_Surface* s) { DrawTextRightAligned(x, y, t, red, s, SmallFont); },
         &SmallFont, red, 1},
        {"DrawTextCentered",
         [&](int x, int y, const char* t, SDL_Surface* s) { DrawTextCentered(x, y, t, MediumFont, red, s); },
         &MediumFont, red, 2},
        {"DrawLargeText", DrawLargeText, &LargeFont, kTextBlack, 0},
        {"DrawLargeTextCentered", DrawLargeTextCentered, &LargeFont, kTextBlack, 2},
        {"DrawLargeTextCenteredGold", DrawLargeTextCenteredGold, &LargeFont, {247, 218, 118, 0}, 2},
        {"DrawMediumText", DrawMediumText, &MediumFont, kTextBlack, 0},
        {"DrawMediumTextRightAligned", DrawMediumTextRightAligned, &MediumFont, kTextBlack, 1},
        {"DrawMediumTextCentered", DrawMediumTextCentered, &MediumFont, kTextBlack, 2},
        {"DrawMediumTextGold", DrawMediumTextGold, &MediumFont, {247, 218, 118, 0}, 0},
        {"DrawMediumTextRightAlignedGold", DrawMediumTextRightAlignedGold, &MediumFont, {247, 218, 118, 0}, 1},
        {"DrawMediumTextCenteredGold", DrawMediumTextCenteredGold, &MediumFont, {248, 218, 118, 0}, 2},
    };
    const char* text = "Quaint Gold 17";
    for (const RoutineCase& c : cases) {
        SDL_Surface* got = NewSurface(640, 120, 32);
        SDL_Surface* want = NewSurface(640, 120, 32);
        c.draw(300, 40, text, got);
        int w = 0, h = 0;
        TTF_SizeUTF8(*c.font, text, &w, &h);
        const int left = c.align == 0 ? 300 : c.align == 1 ? 300 - w : 300 - w / 2;
        ReferenceDraw(want, left, 40, text, *c.font, c.colour);
        EXPECT_TRUE(SamePixelsAs(got, want)) << c.name;
        // Drawn again (now from the cache) the result is the same.
        SDL_FillRect(got, nullptr, SDL_MapRGB(got->format, 40, 80, 120));
        c.draw(300, 40, text, got);
        EXPECT_TRUE(SamePixelsAs(got, want)) << c.name << " (second draw)";
        SDL_FreeSurface(got);
        SDL_FreeSurface(want);
    }
}

TEST_F(TextTest, NullSurfaceMeansTheScreenAndNothingDrawsForNoText) {
    SDL_Rect box;
    DrawText(10, 10, static_cast<const char*>(nullptr), kTextWhite, nullptr, TickerFont);
    DrawText(10, 10, "", kTextWhite, nullptr, TickerFont);
    DrawText(10, 10, "no font", kTextWhite, nullptr, nullptr);
    DrawStyledText(10, 10, "", 1, nullptr);
    EXPECT_FALSE(InkBox(screen_, &box));
    DrawText(10, 10, "x", kTextWhite, nullptr, TickerFont);
    ASSERT_TRUE(InkBox(screen_, &box));
    EXPECT_GE(box.x, 10);
    EXPECT_GE(box.y, 10);
}

TEST_F(TextTest, CachedTextDrawsRightOnSurfacesOfDifferentFormats) {
    const char* text = "Cached twice";
    ClearTextCache();
    for (int round = 0; round < 2; ++round) {
        for (int bpp : {32, 16}) {
            SDL_Surface* got = NewSurface(300, 40, bpp);
            SDL_Surface* want = NewSurface(300, 40, bpp);
            DrawText(5, 5, text, kTextGold, got, MediumFont);
            ReferenceDraw(want, 5, 5, text, MediumFont, kTextGold);
            EXPECT_TRUE(SamePixelsAs(got, want)) << bpp << " bits, round " << round;
            SDL_FreeSurface(got);
            SDL_FreeSurface(want);
        }
    }
    EXPECT_EQ(TextCacheSize(), 1u);  // one text, one font, one colour
    FreeFonts();
    EXPECT_EQ(TextCacheSize(), 0u);
}

TEST_F(TextTest, PositionsBeyondSixteenBitsDoNotWrapOntoTheScreen) {
    SDL_Rect box;
    DrawText(65536 + 10, 10, "wrapped?", kTextWhite, screen_, TickerFont);
    DrawText(10, 65536 + 10, "wrapped?", kTextWhite, screen_, TickerFont);
    DrawTextRightAligned(65536 + 200, 10, "wrapped?", kTextWhite, screen_, TickerFont);
    EXPECT_FALSE(InkBox(screen_, &box));
    // Negative positions within range clip as usual.
    DrawText(-3, -3, "clipped", kTextWhite, screen_, TickerFont);
    EXPECT_TRUE(InkBox(screen_, &box));
}

TEST_F(TextTest, TextFarWiderThanAnySurfaceIsDrawnFromItsStart) {
    // Tens of thousands of pixels wide: more than a 16-bit surface pitch can hold.
    const std::string text(6000, 'W');
    ASSERT_GT(TextWidth(text, MediumFont), 40000);
    DrawText(0, 0, text, kTextWhite, screen_, MediumFont);
    SDL_Rect box;
    ASSERT_TRUE(InkBox(screen_, &box));
    EXPECT_LE(box.x, 2);
    EXPECT_GE(box.x + box.w, screen_->w - 20);  // the surface is filled across
}

TEST(Utf8Test, MalformedSequencesBecomeReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},                    // two-byte character kept
        {"\xE2\x82\xAC" "5", "\xE2\x82\xAC" "5"},          // three-byte character kept
        {"abc\xE2", "abc" + r},                            // cut short at the end
        {"a\xE2\x82z", "a" + r + r + "z"},                 // cut short inside
        {"\x80x", r + "x"},                                // stray continuation byte
        {"\xC0\xAF", r + r},                               // overlong form
        {"\xED\xA0\x80", r + r + r},                       // surrogate half
        {"\xF0\x9F\x99\x82!", r + "!"},                    // beyond 16 bits: one replacement
        {"\xFF", r},
    };
    for (const auto& c : cases) EXPECT_EQ(SanitizeUtf8(c.in), c.out) << c.in;
}

TEST_F(TextTest, MalformedUtf8MeasuresAndDrawsSafely) {
    // A lead byte at the very end once made the font engine read past the string.
    EXPECT_EQ(TextWidth("abc\xE2", TickerFont), TextWidth("abc\xEF\xBF\xBD", TickerFont));
    EXPECT_EQ(TextWidth("\xF0\x9F\x99\x82", TickerFont), TextWidth("\xEF\xBF\xBD", TickerFont));
    EXPECT_GT(TextWidth("caf\xC3\xA9", TickerFont), TextWidth("caf", TickerFont));
    DrawText(5, 5, "bad \xE2", kTextWhite, screen_, TickerFont);
    SDL_Rect box;
    EXPECT_TRUE(InkBox(screen_, &box));
}

TEST(StyledTextTest, LinesSplitAtNewlinesAndAfter78Bytes) {
    const std::string a78(78, 'a');
    const struct {
        std::string in;
        std::vector<std::string> lines;
    } cases[] = {
        {std::string(100, 'x'), {std::string(78, 'x'), std::string(22, 'x')}},
        {a78, {a78}},
        {a78 + a78, {a78, a78}},
        {a78 + "b", {a78, "b"}},
        {"one\ntwo", {"one", "two"}},
        {"one\n", {"one"}},
        {"\nlead", {"\nlead"}},             // a newline into an empty line is kept as a character
        {"a\n\nb", {"a", "\nb"}},           // the byte after a line end is always kept
        {a78 + "\nb", {a78, "b"}},          // the 79th byte, a newline, ends the full line
        {a78 + "\n\nb", {a78, "\nb"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitStyledLines(c.in.c_str()), c.lines) << c.in;
    EXPECT_TRUE(SplitStyledLines(nullptr).empty());
}

TEST(StyledTextTest, FullLineNeverEndsInsideACharacter) {
    const std::string e = "\xC3\xA9";      // two bytes
    const std::string euro = "\xE2\x82\xAC";  // three bytes
    EXPECT_EQ(SplitStyledLines((std::string(77, 'a') + e + "b").c_str()),
              (std::vector<std::string>{std::string(77, 'a'), e + "b"}));
    EXPECT_EQ(SplitStyledLines((std::string(76, 'a') + euro + "b").c_str()),
              (std::vector<std::string>{std::string(76, 'a'), euro + "b"}));
    EXPECT_EQ(SplitStyledLines((std::string(78, 'a') + euro).c_str()),
              (std::vector<std::string>{std::string(78, 'a'), euro}));
    // Forty two-byte characters: 39 characters (78 bytes) then one.
    std::string many;
    for (int i = 0; i < 40; ++i) many += e;
    const std::vector<std::string> lines = SplitStyledLines(many.c_str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 78u);
    EXPECT_EQ(lines[1], e);
}

TEST_F(TextTest, StyledTextDrawsEachLineWithItsStyle) {
    const std::string text = std::string(100, 'i');
    const std::string first(78, 'i'), second(22, 'i');
    struct StyleCase {
        int style;
        TTF_Font** font;
        SDL_Color colour;
        int align;
        int step;
    };
    const StyleCase cases[] = {
        {0, &LargeFont, {247, 218, 118, 0}, 2, 32}, {1, &MediumFont, {247, 218, 118, 0}, 0, 24},
        {2, &MediumFont, {247, 218, 118, 0}, 1, 24}, {3, &MediumFont, {248, 218, 118, 0}, 2, 24},
        {4, &LargeFont, kTextBlack, 0, 32},          {5, &MediumFont, kTextBlack, 0, 24},
        {6, &MediumFont, kTextBlack, 1, 24},         {7, &MediumFont, kTextBlack, 2, 24},
        {8, &AltMediumFont, kTextBlack, 0, 24},      {9, &AltMediumFont, kTextBlack, 2, 24},
    };
    for (const StyleCase& c : cases) {
        SDL_Surface* got = NewSurface(800, 200, 32);
        SDL_Surface* want = NewSurface(800, 200, 32);
        DrawStyledText(400, 20, text.c_str(), c.style, got);
        int line = 0;
        for (const std::string& part : {first, second}) {
            const int w = TextWidth(part, *c.font);
            const int left = c.align == 0 ? 400 : c.align == 1 ? 400 - w : 400 - w / 2;
            ReferenceDraw(want, left, 20 + line * c.step, part.c_str(), *c.font, c.colour);
            ++line;
        }
        EXPECT_TRUE(SamePixelsAs(got, want)) << "style " << c.style;
        SDL_FreeSurface(got);
        SDL_FreeSurface(want);
    }
    SDL_Rect box;
    for (int style : {10, -1, 99}) DrawStyledText(400, 20, "nothing", style, screen_);
    EXPECT_FALSE(InkBox(screen_, &box));
}

}  // namespace
