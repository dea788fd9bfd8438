// The message ticker: placement, wrapping, scrolling under the fake clock, piece ownership
// and the ticker log.
#include "media/screen.h"
#include "media/ticker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "core/input_log.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/text_fixture.h"
#include "support/run_game.h"

namespace {

static_assert(std::has_virtual_destructor<TickerEntry>::value,
              "pieces are destroyed through TickerEntry pointers");

class TickerTest : public GameFontTest {
protected:
    void SetUp() override {
        GameFontTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ResetInputLog();
        SetFixedFrameTime(16);
        ClearTicker();
        ClearTickerLog();
    }
    void TearDown() override {
        ClearTicker();
        ClearTickerLog();
        ResetInputLog();
        GameFontTest::TearDown();
    }

    // Adds a line of one word ending with a line break.
    static void AddLine(int i) { AddText("Line" + std::to_string(i), true); }

    static TickerEntry* Entry(size_t i) { return Ticker.entries.at(i).get(); }

    // A sentence of the given number of words.
    static std::string Words(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += (i ? " " : "") + std::string("word") + std::to_string(i);
        return s;
    }

    // The longest such sentence no wider than the given width.
    static std::string WordsUpTo(int width) {
        int n = 1;
        while (TextWidth(Words(n + 1), TickerFont) <= width) ++n;
        return Words(n);
    }
};

// A piece that counts how many of its kind are alive.
class CountedEntry : public TickerEntry {
public:
    static int alive;
    CountedEntry() { ++alive; }
    ~CountedEntry() override { --alive; }
    int GetWidth() override { return 10; }
    int GetHeight() override { return 12; }
    void Draw() override {}
    std::string PlainText() const override { return "<c>"; }
};
int CountedEntry::alive = 0;

TEST_F(TickerTest, FirstMessageStartsAtTheTopLeftAndEndsWithABreak) {
    AddText("You pull the lever.", true);
    ASSERT_EQ(Ticker.entries.size(), 2u);
    EXPECT_EQ(Entry(0)->x, 100);
    EXPECT_EQ(Entry(0)->y, 0);
    EXPECT_FALSE(Entry(0)->IsLineBreak());
    EXPECT_EQ(Entry(0)->GetWidth(), TextWidth("You pull the lever.", TickerFont) + 1);
    EXPECT_EQ(Entry(0)->GetHeight(), TextHeight("You pull the lever.", TickerFont) + 1);
    EXPECT_TRUE(Entry(1)->IsLineBreak());
    EXPECT_EQ(Entry(1)->x, 100 + Entry(0)->GetWidth());
    EXPECT_EQ(Entry(1)->GetWidth(), 0);
    EXPECT_EQ(Entry(1)->GetHeight(), 18);
    AddText("Next.", false);
    EXPECT_EQ(Entry(2)->x, 100);
    EXPECT_EQ(Entry(2)->y, 18);
}

TEST_F(TickerTest, LongMessagesWrapAt592WithWordsWhole) {
    for (bool lineBreak : {true, false}) {
        ClearTicker();
        const std::string text = Words(60);
        AddText(text, lineBreak);
        std::string joined;
        int textPieces = 0;
        for (size_t i = 0; i < Ticker.entries.size(); ++i) {
            TickerEntry* e = Entry(i);
            if (e->IsLineBreak()) continue;
            ++textPieces;
            const std::string& piece = static_cast<TextTickerEntry*>(e)->text;
            EXPECT_LE(TextWidth(piece, TickerFont), 592) << piece;
            EXPECT_EQ(e->x, 100);
            EXPECT_EQ(e->y, 18 * (textPieces - 1));
            joined += piece;
            const bool last = i + 1 == Ticker.entries.size() ||
                              (i + 2 == Ticker.entries.size() && Entry(i + 1)->IsLineBreak());
            if (!last) {
                EXPECT_TRUE(Entry(i + 1)->IsLineBreak()) << "line " << textPieces;
            }
        }
        EXPECT_GT(textPieces, 2);
        EXPECT_EQ(joined, text);
        EXPECT_EQ(Ticker.entries.back()->IsLineBreak(), lineBreak);
    }
}

TEST_F(TickerTest, UnbrokenMessagesContinueTheLineUntilItIsFull) {
    AddText("Hit", false);
    AddText("for", false);
    ASSERT_EQ(Ticker.entries.size(), 2u);
    EXPECT_EQ(Entry(1)->x, 100 + Entry(0)->GetWidth());
    EXPECT_EQ(Entry(1)->y, 0);

    // A piece that would pass x 692 gets a line break first and opens the next line.
    const std::string filler = WordsUpTo(560);
    ASSERT_GT(TextWidth(filler, TickerFont) + Entry(1)->x + Entry(1)->GetWidth(), 692);
    ASSERT_LE(TextWidth(filler, TickerFont), 592);
    AddText(filler, false);
    ASSERT_EQ(Ticker.entries.size(), 4u);
    EXPECT_TRUE(Entry(2)->IsLineBreak());
    EXPECT_EQ(Entry(2)->x, Entry(1)->x + Entry(1)->GetWidth());
    EXPECT_EQ(Entry(2)->y, 0);
    EXPECT_EQ(Entry(3)->x, 100);
    EXPECT_EQ(Entry(3)->y, 18);
    EXPECT_EQ(CountTickerLines(), 2);
}

TEST_F(TickerTest, AWidePieceAfterALineBreakGetsASecondBreakOnTheSameLine) {
    // The first line nearly full, then a wide piece: placed after the break it would pass x 692,
    // so a second break goes in at the first one's place; the piece opens the next line with no
    // empty line between, but the ticker counts the second break as a line.
    const std::string filler = WordsUpTo(560);
    AddText(filler, true);
    const int breakX = Entry(1)->x;
    ASSERT_GT(breakX + TextWidth(filler, TickerFont) + 1, 692);
    AddText(filler, true);
    ASSERT_EQ(Ticker.entries.size(), 5u);
    EXPECT_TRUE(Entry(2)->IsLineBreak());
    EXPECT_EQ(Entry(2)->x, breakX);
    EXPECT_EQ(Entry(2)->y, 0);
    EXPECT_EQ(Entry(3)->x, 100);
    EXPECT_EQ(Entry(3)->y, 18);
    EXPECT_TRUE(Entry(4)->IsLineBreak());
    EXPECT_EQ(CountTickerLines(), 3);
    // A narrow piece after a break needs none: "Hit" fits after the break's place.
    AddText("Hit", false);
    ASSERT_EQ(Ticker.entries.size(), 6u);
    EXPECT_EQ(Entry(5)->x, 100);
    EXPECT_EQ(Entry(5)->y, 36);
    // The log holds the lines as shown: the second break ends no line of its own.
    AddText("", true);
    EXPECT_EQ(TickerLines(), (std::vector<std::string>{filler, filler, "Hit"}));
}

TEST_F(TickerTest, EmptyTextAddsAOnePixelPiece) {
    AddText("", false);
    ASSERT_EQ(Ticker.entries.size(), 1u);
    EXPECT_EQ(Entry(0)->GetWidth(), 1);
    AddText("   ", true);
    ASSERT_EQ(Ticker.entries.size(), 3u);
    EXPECT_EQ(Entry(1)->GetWidth(), 1);
    EXPECT_EQ(Entry(1)->x, 101);
    EXPECT_TRUE(Entry(2)->IsLineBreak());
    AddText(static_cast<const char*>(nullptr), true);  // nothing
    EXPECT_EQ(Ticker.entries.size(), 3u);
}

TEST_F(TickerTest, AWordWiderThanTheTickerStandsAlone) {
    const std::string giant(80, 'W');
    ASSERT_GT(TextWidth(giant, TickerFont), 592);
    AddText("Before", false);
    AddText(giant, true);
    ASSERT_EQ(Ticker.entries.size(), 5u);
    EXPECT_TRUE(Entry(1)->IsLineBreak());
    EXPECT_EQ(Entry(2)->x, 100);
    EXPECT_EQ(Entry(2)->y, 18);
    EXPECT_GT(Entry(2)->x + Entry(2)->GetWidth(), 692);
    // The break asked for behind the giant word would itself lie past x 692: a break goes in at
    // its place first, so the one asked for leaves an empty line.
    EXPECT_TRUE(Entry(3)->IsLineBreak());
    EXPECT_EQ(Entry(3)->x, 100 + Entry(2)->GetWidth());
    EXPECT_EQ(Entry(3)->y, 18);
    EXPECT_TRUE(Entry(4)->IsLineBreak());
    EXPECT_EQ(Entry(4)->x, 100);
    EXPECT_EQ(Entry(4)->y, 36);
    AddText("lead " + giant + " tail", true);
    EXPECT_EQ(Ticker.entries.back()->y, 108);
    EXPECT_EQ(TickerLines(),
              (std::vector<std::string>{"Before", giant, "", "lead ", giant + " ", "", "tail"}));
    EXPECT_EQ(CountTickerLines(), 8);  // seven lines shown, and one break beside another
}

TEST_F(TickerTest, CountsLines) {
    EXPECT_EQ(CountTickerLines(), 0);
    AddTickerString("a", true);
    EXPECT_EQ(CountTickerLines(), 1);
    AddTickerString("b", false);
    EXPECT_EQ(CountTickerLines(), 2);
    AddTickerEntry(new LineBreakTickerEntry);
    EXPECT_EQ(CountTickerLines(), 2);
    AddTickerEntry(nullptr);
    EXPECT_EQ(CountTickerLines(), 2);
}

TEST_F(TickerTest, FourLinesStayAFifthScrollsOnePixelPer20ms) {
    for (int i = 0; i < 4; ++i) AddLine(i);
    EXPECT_EQ(Ticker.entries.back()->y + Ticker.entries.back()->GetHeight(), 72);
    AdvanceFakeClock(5000);
    DrawTicker();
    EXPECT_EQ(Entry(0)->y, 0);
    EXPECT_EQ(Ticker.lastScrollTime, 0u);

    AddLine(4);
    ASSERT_EQ(CountTickerLines(), 5);
    DrawTicker();  // long overdue: one pixel at once
    EXPECT_EQ(Entry(0)->y, -1);
    EXPECT_EQ(Ticker.lastScrollTime, LoggedGetTicks());

    int steps = 1;
    while (Ticker.entries.size() > 8 && steps < 100) {
        const int before = Ticker.entries.back()->y;
        AdvanceFakeClock(20);
        DrawTicker();
        EXPECT_EQ(Ticker.entries.back()->y, before) << "scrolled after only 20 ms";
        AdvanceFakeClock(1);
        DrawTicker();
        EXPECT_EQ(Ticker.entries.back()->y, before - 1);
        ++steps;
    }
    EXPECT_EQ(steps, 18);  // the top line is gone once it is fully above the edge
    EXPECT_EQ(CountTickerLines(), 4);
    EXPECT_EQ(TickerLines(), (std::vector<std::string>{"Line1", "Line2", "Line3", "Line4"}));
    EXPECT_EQ(Entry(0)->y, 0);
    AdvanceFakeClock(1000);
    DrawTicker();
    EXPECT_EQ(Entry(0)->y, 0);
}

TEST_F(TickerTest, ScrollIntervalShortensWithTheBacklog) {
    const struct {
        int lines;
        Uint32 interval;
    } cases[] = {{5, 20}, {10, 20}, {11, 5}, {20, 5}, {21, 2}, {40, 2}};
    for (const auto& c : cases) {
        ClearTicker();
        for (int i = 0; i < c.lines; ++i) AddLine(i);
        ASSERT_EQ(CountTickerLines(), c.lines);
        AdvanceFakeClock(c.interval);
        DrawTicker();
        EXPECT_EQ(Entry(0)->y, 0) << c.lines << " lines";
        AdvanceFakeClock(1);
        DrawTicker();
        EXPECT_EQ(Entry(0)->y, -1) << c.lines << " lines";
    }
    // An unbroken last line counts too: four breaks and a fifth, open line.
    ClearTicker();
    for (int i = 0; i < 4; ++i) AddLine(i);
    AddText("open", false);
    EXPECT_EQ(CountTickerLines(), 5);
    AdvanceFakeClock(1000);
    DrawTicker();
    EXPECT_EQ(Entry(0)->y, 0);  // no break lies below 72, so nothing scrolls
}

TEST_F(TickerTest, DrawsTextWithShadowAndStopsAfterTheOverfullBreak) {
    const SDL_Color red = {220, 20, 20, 0};
    AddTickerEntry(new TextTickerEntry("Red alert", &red));
    AddTickerEntry(new LineBreakTickerEntry);
    DrawTicker();
    SDL_Surface* want = NewSurface(800, 600, 32);
    // The dark backing first, the piece's width and height and a little to each side.
    SDL_Rect band = {static_cast<Sint16>(100 - kTickerBackingPad), 0,
                     static_cast<Uint16>(Entry(0)->GetWidth() + 2 * kTickerBackingPad),
                     static_cast<Uint16>(Entry(0)->GetHeight())};
    SDL_FillRect(want, &band, SDL_MapRGB(want->format, kTickerBacking.r, kTickerBacking.g, kTickerBacking.b));
    DrawText(101, 1, "Red alert", kTextBlack, want, TickerFont);
    DrawText(100, 0, "Red alert", red, want, TickerFont);
    EXPECT_TRUE(SamePixelsAs(screen_, want));
    SDL_FreeSurface(want);

    ClearTicker();
    for (int i = 0; i < 6; ++i) AddLine(i);
    SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 40, 80, 120));
    DrawTicker();
    SDL_Rect box;
    ASSERT_TRUE(InkBox(screen_, &box));
    EXPECT_LE(box.y, 4);  // drawn from the top
    EXPECT_LE(box.y + box.h, 18 * 5 + 1) << "the sixth line was drawn";
    EXPECT_GT(box.y + box.h, 18 * 4) << "the fifth line was not drawn";
}

TEST_F(TickerTest, DrawingWithoutAScreenStillScrolls) {
    ScreenSurface = nullptr;
    for (int i = 0; i < 6; ++i) AddLine(i);
    AdvanceFakeClock(100);
    DrawTicker();
    EXPECT_EQ(Entry(0)->y, -1);
}

TEST_F(TickerTest, PiecesAreFreedWhenTheyScrollOutOrTheTickerIsCleared) {
    CountedEntry::alive = 0;
    for (int i = 0; i < 6; ++i) {
        NonBreakingTickerEntry* group = new NonBreakingTickerEntry;
        group->AddPart(new CountedEntry);
        group->AddPart(new CountedEntry);
        group->AddPart(nullptr);
        AddTickerEntry(group);
        AddTickerEntry(new LineBreakTickerEntry);
    }
    EXPECT_EQ(CountedEntry::alive, 12);
    for (int i = 0; i < 200 && CountTickerLines() > 4; ++i) {
        AdvanceFakeClock(51);
        DrawTicker();
    }
    EXPECT_EQ(CountTickerLines(), 4);
    EXPECT_EQ(CountedEntry::alive, 8);
    ClearTicker();
    EXPECT_TRUE(Ticker.entries.empty());
    EXPECT_EQ(CountedEntry::alive, 0);
    EXPECT_EQ(Ticker.lastScrollTime, LoggedGetTicks());
}

TEST_F(TickerTest, GroupsMeasureAndDrawTheirPartsInARow) {
    SDL_Surface* icon = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 24, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_FillRect(icon, nullptr, SDL_MapRGB(icon->format, 255, 255, 0));
    NonBreakingTickerEntry* group = new NonBreakingTickerEntry;
    EXPECT_EQ(group->GetWidth(), 0);
    EXPECT_EQ(group->GetHeight(), 0);
    TextTickerEntry* hit = new TextTickerEntry("Hit 5", nullptr);
    group->AddPart(hit);
    group->AddPart(new IconTickerEntry(icon, "fire"));
    EXPECT_EQ(group->GetWidth(), hit->GetWidth() + 16);
    EXPECT_EQ(group->GetHeight(), std::max(24, hit->GetHeight()));

    AddText("The imp", false);
    AddTickerEntry(group);
    const int groupX = Entry(0)->x + Entry(0)->GetWidth();
    EXPECT_EQ(group->x, groupX);
    DrawTicker();
    EXPECT_EQ(group->parts[1]->x, groupX + hit->GetWidth());
    EXPECT_EQ(group->parts[1]->y, 0);
    EXPECT_EQ(Pixel(screen_, groupX + hit->GetWidth() + 3, 20), SDL_MapRGB(screen_->format, 255, 255, 0));

    // The group wraps as one piece.
    AddText(Words(10), false);
    const int lineOfGroupEnd = group->y;
    EXPECT_EQ(lineOfGroupEnd, 0);
    EXPECT_EQ(TickerLines().front(), "The impHit 5[fire]");
    SDL_FreeSurface(icon);  // pieces never own their pictures
}

TEST_F(TickerTest, IconPiecesFromSprites) {
    Sprite sprite;
    sprite.name = "dmg_fire";
    IconTickerEntry none(&sprite, 0);  // a sprite without frames gives an empty icon
    EXPECT_EQ(none.icon, nullptr);
    EXPECT_EQ(none.GetWidth(), 0);
    EXPECT_EQ(none.PlainText(), "[dmg_fire]");
    none.Draw();

    sprite.InitFromSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, 12, 10, 32, 0xFF0000, 0xFF00, 0xFF, 0));
    if (sprite.frameCount == 0) GTEST_SKIP() << "sprites cannot be made from surfaces yet";
    IconTickerEntry first(&sprite, 0);
    EXPECT_EQ(first.GetWidth(), 12);
    EXPECT_EQ(first.GetHeight(), 10);
    IconTickerEntry outOfRange(&sprite, 5);
    EXPECT_EQ(outOfRange.icon, nullptr);
    IconTickerEntry negative(&sprite, -1);
    EXPECT_EQ(negative.icon, nullptr);
    IconTickerEntry noSprite(static_cast<Sprite*>(nullptr), 0);
    EXPECT_EQ(noSprite.PlainText(), "[icon]");
}

TEST_F(TickerTest, LogKeepsEveryLinePostedThroughScrollingAndClearing) {
    AddText("Welcome to the dungeon.", true);
    AddText("You hit", false);
    AddText("the rat.", true);
    const std::string long_ = Words(60);
    AddText(long_, true);
    std::vector<std::string> expected = {"Welcome to the dungeon.", "You hitthe rat."};
    std::vector<std::string> onScreen = TickerLines();
    ASSERT_GT(onScreen.size(), 4u);
    for (size_t i = 2; i < onScreen.size(); ++i) expected.push_back(onScreen[i]);
    EXPECT_EQ(TickerLog(), expected);

    for (int i = 0; i < 400; ++i) {
        AdvanceFakeClock(60);
        DrawTicker();
    }
    EXPECT_EQ(TickerLines().size(), 4u);
    // Each wrapped line after the first sits behind a second break at the first one's place.
    EXPECT_EQ(CountTickerLines(), 7);
    EXPECT_EQ(TickerLog(), expected);  // scrolled-out lines stay in the log

    AddText("unfinished", false);
    expected.push_back("unfinished");
    EXPECT_EQ(TickerLog(), expected);
    ClearTicker();  // a new game: the open line is finished
    AddText("Next game.", true);
    expected.push_back("Next game.");
    EXPECT_EQ(TickerLog(), expected);
    ClearTickerLog();
    EXPECT_TRUE(TickerLog().empty());
}

TEST_F(TickerTest, LogFileReceivesEachFinishedLine) {
    TempDir tmp;
    const std::string path = tmp.file("ticker.txt");
    ASSERT_TRUE(OpenTickerLogFile(path));
    AddText("First line.", true);
    AddText("Second", false);
    EXPECT_EQ(ReadWholeFile(path), "First line.\n");
    AddTickerString(" line.", true);
    AddText("Open", false);
    CloseTickerLogFile();
    EXPECT_EQ(ReadWholeFile(path), "First line.\nSecond line.\nOpen\n");

    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenTickerLogFile(tmp.file("no/such/folder/log.txt")));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ticker log"), std::string::npos);
}

TEST_F(TickerTest, LogFileNamedByTheEnvironment) {
    TempDir tmp;
    const std::string path = tmp.file("from_env.txt");
    {
        ScopedEnv env("VAULTMERE_TICKER_LOG", path.c_str());
        ClearTickerLog();
        ClearTicker();  // a new game opens the file
    }
    EXPECT_TRUE(FileExists(path));
    AddText("The door creaks open.", true);
    AddText("Pending", false);
    CloseTickerLogFile();
    EXPECT_EQ(ReadWholeFile(path), "The door creaks open.\nPending\n");
}

// The ticker stands on a dark backing over any picture: around a line drawn over white, the
// pixels just left of its text and between its letters are dark, and the screen beyond the
// backing stays white.
TEST_F(TickerTest, TheLinesStandOnADarkBacking) {
    SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 255, 255, 255));
    AddText("Over a white wall.", true);
    DrawTicker();
    const TickerEntry* line = Entry(0);
    const auto rgb = [](int x, int y) {
        Uint8 r, g, b;
        Uint32 pixel = 0;
        std::memcpy(&pixel, static_cast<const Uint8*>(ScreenSurface->pixels) + y * ScreenSurface->pitch +
                                x * ScreenSurface->format->BytesPerPixel,
                    ScreenSurface->format->BytesPerPixel);
        SDL_GetRGB(pixel, ScreenSurface->format, &r, &g, &b);
        return r + g + b;
    };
    const int mid = line->y + 8;
    EXPECT_LT(rgb(line->x - 2, mid), 3 * 40) << "left of the text";
    EXPECT_LT(rgb(line->x - 2, line->y + 1), 3 * 40);
    EXPECT_EQ(rgb(line->x - kTickerBackingPad - 2, mid), 3 * 255) << "beyond the backing";
    EXPECT_EQ(rgb(line->x + 4, line->y + 20), 3 * 255) << "below the line";
}

}  // namespace
