// The crafting workshop through the executable. The hero picks up an alchemy kit, two reagents,
// a potion, a wand and some food, opens the crafting panel and crafts, searches the bookshelf,
// grills five steaks on the BBQ, drinks the potion, eats a steak and zaps the wand at a diggle
// until it burns out. Two runs write the same ticker log, equal to the committed one; the
// store counts the mixed potion and the event log the searched shelf. A visit that stops with a
// charge left in the wand is autosaved; the save loads and saves again to the same bytes, the
// loaded wand burns out at its next zap, and read here the save has the craft's ingredients used
// up and the shelf's hidden recipe known.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "creatures/player.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"

namespace {

const char* const kGolden = VAULTMERE_SOURCE_DIR "/tests/integration/golden/workshop_ticker.txt";

// The hero starts on the room's square (6, 4), drawn at (672, 384) to (735, 447) on the
// 1280 x 720 screen; the room's squares around it:
//   (5, 3) the kit   (6, 3) bat wing, newt eye   (7, 3) potion, wand
//   (5, 4) shelf     hero                        (7, 4) BBQ
//   (5, 5) apple, beer  (6, 5) five aged steaks
// Shift and a click put an item straight into the pack (potions, wands and food onto the belt
// when there is no stack to join).
const char* const kPickUp =
    "seed 5\nwait 400\n"
    "keydown left_shift\n"
    "click 1 640 352\nwait 200\n"
    "click 1 704 352\nwait 200\nclick 1 704 352\nwait 200\n"
    "click 1 768 352\nwait 200\nclick 1 768 352\nwait 200\n"
    "click 1 640 480\nwait 200\nclick 1 640 480\nwait 200\n"
    "keyup left_shift\nwait 200\n";

// Alt+1 opens the panel on the alchemy tab (it lies at (100, 100)); the top button puts the
// first known recipe in the middle row, the craft button makes it. Escape closes the panel.
const char* const kCraft =
    "key 1 alt\nwait 300\n"
    "click 1 630 255\nwait 300\n"
    "move 560 430\nwait 100\nscreenshot\n"
    "click 1 550 360\nwait 300\n"
    "key escape\nwait 200\n";

// The shelf teaches its recipe in a notice that Return dismisses; the steaks go onto the
// cursor and then onto the grill.
const char* const kShelfAndGrill =
    "click 1 640 416\nwait 500\nkey return\nwait 300\n"
    "click 1 704 480\nwait 200\nclick 1 768 416\nwait 300\n";

// The potion from the pack (the inventory's second cell), then a grilled steak from belt 3.
const char* const kDrinkAndEat =
    "key i\nwait 200\nclick 3 826 72\nwait 400\nkey i\nwait 200\n"
    "key 3 shift\nwait 400\n";

// The wand on belt 1, aimed at the diggle, which has come up to the square above the hero.
const char* const kZap = "key 1 shift\nwait 100\nclick 3 704 352\nwait 800\n";

// Five minutes of idle frames at a second each: the autosave comes.
const char* const kIdleForTheAutosave = "frames 1000x310\nwait 305000\n";

const char* const kLeaveAndQuit =
    kLeaveGameScript;

struct Visit {
    GameRun run;
    std::string tickerLog;
    std::string events;  // the game's event log
    std::string stats;   // the local store's statistics
};

void ReadRecords(const TempDir& user, Visit* v) {
    v->tickerLog = ReadWholeFile(user.file("ticker.txt"));
    v->events = FileExists(user.file("events.txt")) ? ReadWholeFile(user.file("events.txt")) : std::string();
    v->stats = FileExists(user.file("store/stats.txt")) ? ReadWholeFile(user.file("store/stats.txt")) : std::string();
}

Visit PlayWorkshop(const TempDir& user, const std::string& script) {
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    Visit v;
    v.run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Tinker's Workshop", "-x", "6", "-y", "4"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")},
                     {"VAULTMERE_EVENT_LOG", user.file("events.txt")}});
    ReadRecords(user, &v);
    return v;
}

Visit LoadSave(const TempDir& user, const std::string& name, const std::string& script) {
    WriteWholeFile(user.file("script.txt"), script);
    Visit v;
    v.run = RunGame({"-no-initial-config", "-load-filename=" + name}, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    ReadRecords(user, &v);
    return v;
}

std::string Tail(const std::string& text) { return text.substr(text.size() > 3000 ? text.size() - 3000 : 0); }

void ExpectCleanRun(const GameRun& run) {
    EXPECT_EQ(run.exitCode, 0) << Tail(run.output);
    for (const char* complaint : {"not found", "roomScript:", "Couldn't load", "couldn't"}) {
        EXPECT_EQ(run.output.find(complaint), std::string::npos) << complaint << "\n" << Tail(run.output);
    }
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(WorkshopSession, AWholeVisitWritesTheCommittedTickerLogTwice) {
    const std::string script =
        std::string(kPickUp) + kCraft + kShelfAndGrill + kDrinkAndEat + kZap + kZap + kLeaveAndQuit;
    TempDir firstUser;
    const Visit first = PlayWorkshop(firstUser, script);
    ExpectCleanRun(first.run);
    const std::string& log = first.tickerLog;
    // The panel was open with its rows when the screenshot was taken.
    EXPECT_NE(first.run.output.find("Input script: screenshot saved to " + firstUser.file("bitmap_0.bmp")),
              std::string::npos)
        << Tail(first.run.output);
    const size_t grilled = log.find("You grill your steaks on the BBQ.\n");
    const size_t burnt = log.find("The wand burns out!\n");
    ASSERT_NE(grilled, std::string::npos) << log;
    ASSERT_NE(burnt, std::string::npos) << log;
    EXPECT_LT(grilled, burnt);
    EXPECT_EQ(Count(log, "The wand burns out!"), 1u) << log;
    EXPECT_EQ(ReadWholeFile(kGolden), log);
    // The panel made a potion, and the shelf was searched once.
    EXPECT_NE(first.stats.find("stat STAT_POTIONS_MIXED 1\n"), std::string::npos) << first.stats;
    EXPECT_EQ(Count(first.events, "EVENT: Player used bookshelf\n"), 1u) << first.events;

    TempDir secondUser;
    const Visit second = PlayWorkshop(secondUser, script);
    ExpectCleanRun(second.run);
    EXPECT_EQ(second.tickerLog, log);
}

TEST(WorkshopSession, TheAutosaveOfAVisitLoadsAndSavesAgainToTheSameBytes) {
    TempDir user;
    const Visit visit = PlayWorkshop(user, std::string(kPickUp) + kCraft + kShelfAndGrill + kDrinkAndEat + kZap +
                                               kIdleForTheAutosave + kLeaveAndQuit);
    ExpectCleanRun(visit.run);
    ASSERT_NE(visit.tickerLog.find("Game autosaved."), std::string::npos) << visit.tickerLog;
    EXPECT_EQ(visit.tickerLog.find("The wand burns out!"), std::string::npos) << "one charge is left";
    EXPECT_NE(visit.stats.find("stat STAT_POTIONS_MIXED 1\n"), std::string::npos) << visit.stats;
    const std::string saved = ReadWholeFile(user.file("autosave.sav"));
    ASSERT_GT(saved.size(), 16u);
    WriteWholeFile(user.file("workshop.sav"), saved);

    // Loaded, left alone until the next autosave, and quit: the autosave has the same bytes.
    const std::string idle = std::string("seed 5\n") + kIdleForTheAutosave + kLeaveAndQuit + kQuitFromMenuScript;
    const Visit loaded = LoadSave(user, "workshop.sav", idle);
    ExpectCleanRun(loaded.run);
    const std::string again = ReadWholeFile(user.file("autosave.sav"));
    EXPECT_TRUE(again == saved) << "the autosave of the loaded game differs from the save it was loaded from";

    WriteWholeFile(user.file("workshop.sav"), again);
    const Visit reloaded = LoadSave(user, "workshop.sav", idle);
    ExpectCleanRun(reloaded.run);
    EXPECT_TRUE(ReadWholeFile(user.file("autosave.sav")) == again)
        << "the autosave of the loaded game differs from the save it was loaded from";

    // The pack, the known recipes and the wand came back: the loaded wand has the one charge
    // left, and burns out at the next zap.
    WriteWholeFile(user.file("workshop.sav"), saved);
    const Visit zapped = LoadSave(user, "workshop.sav", std::string("seed 5\nwait 400\n") + kZap + kLeaveAndQuit +
                                                             kQuitFromMenuScript);
    ExpectCleanRun(zapped.run);
    EXPECT_EQ(Count(zapped.tickerLog, "The wand burns out!"), 1u) << zapped.tickerLog;

    // Read here, the autosave shows the craft and holds the recipe the shelf taught.
    WriteWholeFile(user.file("workshop.sav"), saved);
    InProcessGame game(user.path());
    ASSERT_TRUE(game.loaded());
    // The recipes as the game reads them, before the hero's known ones are read back.
    ClearRecipes();
    ASSERT_TRUE(craftDBLoadText(ReadWholeFile(VAULTMERE_SOURCE_DIR "/data/game/craftDB.xml"), "craftDB.xml"));
    std::string printed;
    ASSERT_TRUE(game.Load("workshop.sav", &printed)) << TailOf(printed);
    ASSERT_NE(CurrentPlayer, nullptr);
    // The panel's craft used up the bat wing and the newt eye that were picked up (its potion
    // joined the hero's stack of the kind, the wand is the one left with a charge).
    int potions = 0;
    for (Item** place : CarriedPlaces()) {
        const Item* item = *place;
        if (item == nullptr || item->def == nullptr) continue;
        EXPECT_NE(item->def->name, "Bat Wing") << "not used up by a craft";
        EXPECT_NE(item->def->name, "Newt Eye") << "not used up by a craft";
        if (item->def->name == "Potion of Lesser Mending") potions += item->count;
    }
    EXPECT_GT(potions, 0);
    int taught = -1;
    for (size_t i = 0; i < Recipes.size(); ++i) {
        const Recipe& recipe = Recipes[i];
        if (recipe.hidden && !recipe.outputs.empty() && recipe.outputs[0].name == "Potion of Quickened Blood") {
            taught = static_cast<int>(i);
        }
    }
    ASSERT_GE(taught, 0);
    const std::vector<int32_t>& known = CurrentPlayer->knownRecipes[ToolTypeOfTag("alchemy")];
    EXPECT_NE(std::find(known.begin(), known.end(), taught), known.end()) << "the shelf's hidden recipe is known";
    ClearRecipes();
}

}  // namespace
