// The fixture gallery through the executable: the test room is built from its object records,
// every fixture in it has its picture, its clock counts down in the ticker while the hero
// rests, and two runs on the fixed clock write the same ticker log. A walk through the gallery
// uses the fridge, the fountain, the chest of evil, the dirt and the pedestal; the game's
// autosave of it loads again with the fountain dry and the fridge raided.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "items_fixtures/fountain.h"
#include "items_fixtures/freezer.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"
#include "tests/levels/save_bytes.h"

namespace {

struct GalleryRun {
    GameRun run;
    std::string tickerLog;
};

GalleryRun PlayGallery() {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::string script = "seed 7\nwait 300\n";
    for (int i = 0; i < 5; ++i) script += "key space\nwait 40\n";
    script += kLeaveGameScript;
    WriteWholeFile(user.file("script.txt"), script);
    GalleryRun g;
    g.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Fixture Gallery", "-x", "6", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    g.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return g;
}

TEST(FixtureGallery, TheGalleryRoomStandsWithItsArtAndItsClockCountsDownTheSameWayTwice) {
    const GalleryRun first = PlayGallery();
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_EQ(first.run.output.find("not found"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.run.output.find("Couldn't load"), std::string::npos) << first.run.output;
    EXPECT_EQ(first.run.output.find("roomScript:"), std::string::npos) << first.run.output;
    const size_t two = first.tickerLog.find("The timer ticks down to 2...\n");
    const size_t one = first.tickerLog.find("The timer ticks down to 1...\n");
    const size_t zero = first.tickerLog.find("The timer ticks down to 0!\n");
    ASSERT_NE(two, std::string::npos) << first.tickerLog;
    ASSERT_NE(one, std::string::npos) << first.tickerLog;
    ASSERT_NE(zero, std::string::npos) << first.tickerLog;
    EXPECT_LT(two, one);
    EXPECT_LT(one, zero);
    // It stops at 0 and says nothing more.
    EXPECT_EQ(first.tickerLog.find("The timer ticks down", zero + 1), std::string::npos) << first.tickerLog;

    const GalleryRun second = PlayGallery();
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

const char* const kLeaveAndQuit =
    kLeaveGameScript;

// Steps by key, one square each.
std::string Steps(const char* key, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += std::string("keydown ") + key + "\nwait 60\nkeyup " + key + "\nwait 600\n";
    return s;
}

// The walk from the start (6, 4). The hero stays in the middle of the screen: the square west
// of him is clicked at (640, 416), north at (704, 352), east at (768, 416).
std::string WalkScript(bool waitForAutosave) {
    std::string s = "seed 2\nwait 300\n";
    s += Steps("up", 1) + "click 1 704 352\nwait 1000\n";  // the fridge
    // The fountain: its question answered with the drink button, its text closed by Return.
    s += Steps("left", 3) + Steps("up", 1) + "click 1 640 416\nwait 1000\nclick 1 747 526\nwait 1000\nkey return\nwait 1000\n";
    s += Steps("down", 1) + Steps("right", 6) + Steps("up", 1) + "click 1 768 416\nwait 1500\n";  // the chest of evil
    s += Steps("down", 3) + Steps("left", 6) + Steps("down", 1) + "click 1 640 416\nwait 1500\n";  // the dirt
    // The pedestal's reading ends on the release of a key; the screen is taken while the
    // guide is read and again once it is put away.
    s += Steps("right", 3) + "click 1 768 416\nwait 1000\nscreenshot\nwait 100\nkey space\nwait 1000\nscreenshot\n";
    if (waitForAutosave) s += "frames 1000x320\nwait 310000\n";
    return s + kLeaveAndQuit;
}

struct WalkRun {
    GameRun run;
    std::string tickerLog;
    std::string events;  // the game's event log
    std::string autosave;
    // The pixels of the screen inside the pedestal's 450 x 272 scroll centred on the 1280 x 720
    // screen that differ between the shot taken while reading and the one after, and all of them.
    int scrollPixelsChanged = 0;
    int scrollPixels = 0;
};

// Counts the pixels of the box (x, y, w, h) that differ between the two screenshots.
void CompareScreenshots(const std::string& reading, const std::string& after, WalkRun* w) {
    SDL_Surface* a = SDL_LoadBMP(reading.c_str());
    SDL_Surface* b = SDL_LoadBMP(after.c_str());
    if (a != nullptr && b != nullptr && a->w == b->w && a->h == b->h && a->format->BytesPerPixel == b->format->BytesPerPixel) {
        const int bpp = a->format->BytesPerPixel;
        for (int y = 360 - 136; y < 360 + 136 && y < a->h; ++y) {
            for (int x = 640 - 225; x < 640 + 225 && x < a->w; ++x) {
                const Uint8* pa = static_cast<const Uint8*>(a->pixels) + y * a->pitch + x * bpp;
                const Uint8* pb = static_cast<const Uint8*>(b->pixels) + y * b->pitch + x * bpp;
                ++w->scrollPixels;
                if (std::memcmp(pa, pb, static_cast<size_t>(bpp)) != 0) ++w->scrollPixelsChanged;
            }
        }
    }
    if (a != nullptr) SDL_FreeSurface(a);
    if (b != nullptr) SDL_FreeSurface(b);
}

WalkRun WalkGallery(bool waitForAutosave) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), WalkScript(waitForAutosave));
    WalkRun w;
    w.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Fixture Gallery", "-x", "6", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")},
                     {"VAULTMERE_EVENT_LOG", user.file("events.txt")}});
    w.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    if (FileExists(user.file("events.txt"))) w.events = ReadWholeFile(user.file("events.txt"));
    if (FileExists(user.file("autosave.sav"))) w.autosave = ReadWholeFile(user.file("autosave.sav"));
    CompareScreenshots(user.file("bitmap_0.bmp"), user.file("bitmap_1.bmp"), &w);
    return w;
}

TEST(FixtureGallery, AWalkUsesEveryFixtureAndItsLinesComeInOrderTheSameWayTwice) {
    const WalkRun first = WalkGallery(false);
    ASSERT_EQ(first.run.exitCode, 0) << TailOf(first.run.output);
    // On this seed the fridge holds a potion and the chest of evil an artifact (no monster
    // comes out to get in the way of the walk).
    const char* const inOrder[] = {"You find a potion in the mini-fridge.\n", "You have discovered the dark artifact, ",
                                   "The dirt looks at you, dirtily.\n"};
    size_t from = 0;
    for (const char* line : inOrder) {
        const size_t at = first.tickerLog.find(line, from);
        ASSERT_NE(at, std::string::npos) << line << "\n" << first.tickerLog;
        from = at + 1;
    }
    EXPECT_EQ(first.tickerLog.find("You find nothing in the mini-fridge."), std::string::npos);
    EXPECT_EQ(first.tickerLog.find("from its slumber!"), std::string::npos);
    // The fountain was drunk from, once.
    const std::string drank = "EVENT: Player drank from fountain\n";
    EXPECT_NE(first.events.find(drank), std::string::npos) << first.events;
    EXPECT_EQ(first.events.find(drank), first.events.rfind(drank)) << first.events;
    // The pedestal's guide covered the middle of the screen while it was read.
    ASSERT_GT(first.scrollPixels, 0) << TailOf(first.run.output);
    EXPECT_GT(first.scrollPixelsChanged, first.scrollPixels / 2)
        << first.scrollPixelsChanged << " of " << first.scrollPixels << " pixels";
    const WalkRun second = WalkGallery(false);
    ASSERT_EQ(second.run.exitCode, 0) << TailOf(second.run.output);
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

template <class T>
std::vector<T*> ObjectsOf(Level* level) {
    std::vector<T*> found;
    for (GameObj* obj : level->objects) {
        if (T* t = dynamic_cast<T*>(obj)) found.push_back(t);
    }
    return found;
}

TEST(FixtureGallery, TheWalksAutosaveLoadsWithTheFountainDryAndTheFridgeRaidedAndSavesTheSameBytes) {
    const WalkRun walked = WalkGallery(true);
    ASSERT_EQ(walked.run.exitCode, 0) << TailOf(walked.run.output);
    ASSERT_GT(walked.autosave.size(), 16u) << TailOf(walked.run.output);

    // A load and a save give the same bytes, from the first load on.
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    const std::string once = LoadAndAutosave(user, "gallery.sav", walked.autosave, kLeaveAndQuit + std::string(kQuitFromMenuScript));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(once.begin(), once.end()),
                                  std::vector<uint8_t>(walked.autosave.begin(), walked.autosave.end())),
              "");
    const std::string twice = LoadAndAutosave(user, "gallery.sav", once, kLeaveAndQuit + std::string(kQuitFromMenuScript));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(twice.begin(), twice.end()),
                                  std::vector<uint8_t>(once.begin(), once.end())),
              "");
    WriteWholeFile(user.file("gallery.sav"), once);

    InProcessGame game(user.path());
    ASSERT_TRUE(game.loaded());
    std::string printed;
    ASSERT_TRUE(game.Load("gallery.sav", &printed)) << TailOf(printed);
    ASSERT_NE(CurrentLevel, nullptr);
    const std::vector<Fountain*> fountains = ObjectsOf<Fountain>(CurrentLevel);
    const std::vector<Freezer*> fridges = ObjectsOf<Freezer>(CurrentLevel);
    ASSERT_EQ(fountains.size(), 1u);
    ASSERT_EQ(fridges.size(), 1u);
    EXPECT_EQ(fountains[0]->dry, 1);
    EXPECT_EQ(fountains[0]->GetName(), "Empty Fountain");
    EXPECT_EQ(fridges[0]->raided, 1);
    EXPECT_EQ(fridges[0]->bob.frame, 1);

}

}  // namespace
