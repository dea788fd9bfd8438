// Word wrapping: words stay whole, white space is kept as spaces, and measuring agrees with
// drawing.
#include "media/text_wrap.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "media/text.h"
#include "media/text_fixture.h"

namespace {

int TenPerByte(const std::string& s) {
    return static_cast<int>(s.size()) * 10;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

TEST(WrapWordsTest, TableOfTexts) {
    const struct {
        const char* text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"one  two", 1000, {"one  two"}},                       // both spaces kept
        {"a\nb", 1000, {"a b"}},                                 // a newline becomes one space
        {"a\t\r\nb", 1000, {"a   b"}},                           // one space per white-space byte
        {"averyverylongword", 50, {"averyverylongword"}},        // a word is never split
        {"longwordfirst x", 50, {"longwordfirst ", "x"}},        // no empty line before it
        {"aaa bbb ccc", 70, {"aaa bbb ", "ccc"}},                // 70 fits exactly, 110 does not
        {"aaa bbb ccc", 69, {"aaa ", "bbb ", "ccc"}},
        {"aaa   ", 1000, {"aaa   "}},                            // trailing spaces stay
        {"   aaa", 1000, {"aaa"}},                               // leading ones do not
        {"x yy zzz", 0, {"x ", "yy ", "zzz"}},
        {"", 100, {}},
        {" \n\t ", 100, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapWords(c.text, c.width, TenPerByte), c.lines) << c.text;
}

using WrapTest = GameFontTest;

TEST_F(WrapTest, WrappingKeepsWordsWholeAndLinesWithinTheWidth) {
    CSRand(77);
    const char* const vocabulary[] = {"the", "goblin", "swings", "a", "rusty", "halberd", "at",
                                      "you", "and", "misses", "wildly!", "Unfathomably-long-word",
                                      "\xC3\xA9p\xC3\xA9" "e", "12"};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int count = 1 + CRand() % 40;
        for (int i = 0; i < count; ++i) {
            text += vocabulary[CRand() % (sizeof vocabulary / sizeof *vocabulary)];
            text += (CRand() % 7 == 0) ? "  " : (CRand() % 9 == 0 ? "\n" : " ");
        }
        const int width = 60 + CRand() % 400;
        const std::vector<WrappedLine> lines = WrapTextLines(text.c_str(), TickerFont, width);
        std::string joined;
        for (const WrappedLine& line : lines) {
            const std::vector<std::string> words = Words(line.text);
            ASSERT_FALSE(words.empty()) << "an empty line in: " << text;
            if (words.size() > 1) {
                // The width is checked before the spaces after the last word are added.
                const std::string trimmed = line.text.substr(0, line.text.find_last_not_of(' ') + 1);
                EXPECT_LE(TextWidth(trimmed, TickerFont), width) << line.text;
            }
            EXPECT_EQ(line.width, TextWidth(line.text, TickerFont));
            joined += line.text;
        }
        EXPECT_EQ(Words(joined), Words(text)) << text;
    }
}

TEST_F(WrapTest, MeasuringEqualsDrawingInHeight) {
    const std::string longWord(120, 'M');
    const char* const texts[] = {
        "Short.",
        "one  two",
        "A rather longer sentence that will surely need more than one line at these widths.",
        "a\nb\nc\nd",
        longWord.c_str(),
        "Lead word then a very long word: Supercalifragilisticexpialidociously-overlong tail",
        "   padded   both   ends   ",
        "caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC" "5 bad\xE2",
    };
    for (TTF_Font* font : {TickerFont, MediumFont, LargeFont, SmallFont}) {
        for (const char* text : texts) {
            for (int width : {40, 150, 592}) {
                SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 40, 80, 120));
                const int drawn = DrawTextWrapped(text, 10, 20, 10 + width, 0, font, kTextWhite, screen_);
                const int measured = MeasureTextWrapped(text, 10, 20, 10 + width, 0, font);
                EXPECT_EQ(drawn, measured) << text << " / " << width;
                EXPECT_EQ(WrappedTextHeight(text, font, width), measured) << text;
                const size_t lines = WrapTextLines(text, font, width).size();
                EXPECT_EQ(drawn, static_cast<int>(lines) * TTF_FontHeight(font)) << text;
                SDL_Rect box;
                ASSERT_TRUE(InkBox(screen_, &box)) << text;
                EXPECT_GE(box.y, 20);
                EXPECT_LE(box.y + box.h, 20 + drawn) << text;
                EXPECT_GE(box.x, 10);
                const int centred = DrawTextWrappedCentered(text, 10, 20, 10 + width, 0, font,
                                                            kTextWhite, screen_);
                EXPECT_EQ(centred, drawn);
            }
        }
    }
    EXPECT_EQ(DrawTextWrapped(nullptr, 0, 0, 100, 0, TickerFont, kTextWhite, screen_), 0);
    EXPECT_EQ(DrawTextWrapped("", 0, 0, 100, 0, TickerFont, kTextWhite, screen_), 0);
    EXPECT_EQ(MeasureTextWrapped("", 0, 0, 100, 0, TickerFont), 0);
    EXPECT_EQ(WrappedTextHeight(nullptr, TickerFont, 100), 0);
    EXPECT_EQ(WrappedTextHeight("   ", TickerFont, 100), 0);
}

TEST_F(WrapTest, LinesDrawAtTheLeftEdgeOrCentredWithTheirTrailingSpaces) {
    const char* text = "first line words second";
    const int width = TextWidth("first line words ", TickerFont);  // exactly one line's worth
    const std::vector<WrappedLine> lines = WrapTextLines(text, TickerFont, width);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "first line words ");
    EXPECT_EQ(lines[1].text, "second");

    SDL_Surface* want = NewSurface(800, 600, 32);
    DrawTextWrapped(text, 50, 30, 50 + width, 0, TickerFont, kTextGold, screen_);
    DrawText(50, 30, lines[0].text, kTextGold, want, TickerFont);
    DrawText(50, 30 + lines[0].height, lines[1].text, kTextGold, want, TickerFont);
    EXPECT_TRUE(SamePixelsAs(screen_, want));

    SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 40, 80, 120));
    SDL_FillRect(want, nullptr, SDL_MapRGB(want->format, 40, 80, 120));
    DrawTextWrappedCentered(text, 50, 30, 50 + width, 0, TickerFont, kTextGold, screen_);
    const int mid = (50 + 50 + width) / 2;
    DrawText(mid - lines[0].width / 2, 30, lines[0].text, kTextGold, want, TickerFont);
    DrawText(mid - lines[1].width / 2, 30 + lines[0].height, lines[1].text, kTextGold, want, TickerFont);
    EXPECT_TRUE(SamePixelsAs(screen_, want));
    SDL_FreeSurface(want);
}

}  // namespace
