// Buying from a vending machine through the executable. A visit to the vending arcade is
// autosaved; in this process the save is read, the price the food vendor shows for a good whose
// scaled value has a fraction is looked up, and the hero is given exactly that much money (and,
// for the second save, one zorkmid less). The executable then loads each save, opens the
// machine and clicks the good: with the shown price the hero buys it, with one less nothing
// happens.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "items_fixtures/dispenser.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"

namespace {

// The hero stands on (4, 2) of the arcade, just below the food vendor on (4, 1) of it; the square
// above him is drawn at (672, 320) to (735, 383) on the 1280 x 720 screen.
const char* const kMachineAbove = "704 352";

// The vending window's 320 x 320 background is centred: slot i's cell starts at
// (480 + 72 * (i % 4) + 20, 200 + 72 * (i / 4) + 88).
std::string SlotPoint(int slot) {
    return std::to_string(480 + 72 * (slot % 4) + 20 + 30) + " " + std::to_string(200 + 72 * (slot / 4) + 88 + 30);
}

struct Visit {
    GameRun run;
    std::string ticker;
};

Visit PlayVending(const TempDir& user, const std::vector<std::string>& args, const std::string& script) {
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    std::remove(user.file("ticker.txt").c_str());
    Visit v;
    v.run = RunGame(args, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    v.ticker = FileExists(user.file("ticker.txt")) ? ReadWholeFile(user.file("ticker.txt")) : std::string();
    return v;
}

TEST(VendingSession, AHeroWithExactlyTheShownPriceBuysAndOneZorkmidLessBuysNothing) {
    TempDir user;
    const Visit arcade = PlayVending(user, {"-no-initial-config", "-player-random-build", "-testroom", "Vending Arcade", "-x", "4", "-y", "2"},
                             "seed 11\nwait 300\nframes 1000x310\nwait 305000\n" + std::string(kLeaveGameScript));
    ASSERT_EQ(arcade.run.exitCode, 0) << TailOf(arcade.run.output);
    ASSERT_TRUE(FileExists(user.file("autosave.sav"))) << TailOf(arcade.run.output);
    WriteWholeFile(user.file("arcade.sav"), ReadWholeFile(user.file("autosave.sav")));

    // The good, its shown price, and the two saves.
    int slot = -1;
    int price = 0;
    std::string good;
    {
        InProcessGame game(user.path());
        ASSERT_TRUE(game.loaded());
        std::string printed;
        ASSERT_TRUE(game.Load("arcade.sav", &printed)) << TailOf(printed);
        Dispenser* vendor = nullptr;
        for (GameObj* obj : CurrentLevel->objects) {
            Dispenser* machine = dynamic_cast<Dispenser*>(obj);
            if (machine != nullptr && machine->kind == 1 && machine->x == CurrentPlayer->x &&
                machine->y == CurrentPlayer->y - 1) {
                vendor = machine;
            }
        }
        ASSERT_NE(vendor, nullptr);
        for (int i = 0; i < Dispenser::kSlots && slot < 0; ++i) {
            Item* item = vendor->stock[i];
            if (item != nullptr && item->GetValue() % 2 == 1) slot = i;  // 1.5 times an odd value has a half
        }
        ASSERT_GE(slot, 0) << "no good with a fractional price in this machine";
        price = vendor->SlotPrice(slot);
        good = vendor->stock[slot]->GetItemName();
        ASSERT_GT(price, 0);
        CurrentPlayer->zorkmids = price;
        ASSERT_TRUE(SaveGame("exact.sav"));
        CurrentPlayer->zorkmids = price - 1;
        ASSERT_TRUE(SaveGame("short.sav"));
    }

    // A purchase closes the window; a refused click leaves it open, and the click on its close
    // box (background corner plus (298, 0) to (318, 20)) shuts it then (and falls on nothing
    // in the room otherwise).
    const std::string click = "seed 11\nwait 400\nclick 1 " + std::string(kMachineAbove) + "\nwait 600\nmove " +
                              SlotPoint(slot) + "\nwait 300\nclick 1 " + SlotPoint(slot) +
                              "\nwait 600\nclick 1 788 210\nwait 300\n";
    const std::string leave = std::string(kLeaveGameScript) + kQuitFromMenuScript;
    const std::string bought = "You put " + good + " in your bag.";
    const Visit exact = PlayVending(user, {"-no-initial-config", "-load-filename=exact.sav"}, click + leave);
    ASSERT_EQ(exact.run.exitCode, 0) << TailOf(exact.run.output);
    EXPECT_NE(exact.ticker.find(bought), std::string::npos) << "price " << price << "\n" << exact.ticker;

    const Visit shortOne = PlayVending(user, {"-no-initial-config", "-load-filename=short.sav"}, click + leave);
    ASSERT_EQ(shortOne.run.exitCode, 0) << TailOf(shortOne.run.output);
    EXPECT_EQ(shortOne.ticker.find(bought), std::string::npos) << shortOne.ticker;
}

}  // namespace
