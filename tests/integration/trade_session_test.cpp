// Trade and worship through the executable, on rooms found by name: a shop where the hero buys
// one thing and walks out with another, and a chapel where the hero prays, takes a quest and
// completes it. Each run on the fixed clock writes the committed ticker log, twice alike.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

const char* const kLeaveAndQuit = kLeaveGameScript;

// The screen point of the square (dx, dy) squares away from the hero.
std::string Square(int dx, int dy) { return std::to_string(704 + 64 * dx) + " " + std::to_string(416 + 64 * dy); }

// One step by a held key.
std::string Step(const char* key) { return std::string("keydown ") + key + "\nwait 60\nkeyup " + key + "\nwait 600\n"; }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Golden(const char* name) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR "/tests/integration/golden/") + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Line(const std::string& output, const std::string& marker) {
    const size_t at = output.find(marker);
    if (at == std::string::npos) return "";
    return output.substr(at, output.find('\n', at) - at);
}

// The names of the "You put NAME in your bag." lines, in order.
std::vector<std::string> PutInBag(const std::string& ticker) {
    std::vector<std::string> names;
    std::istringstream lines(ticker);
    std::string line;
    const std::string head = "You put ", tail = " in your bag.";
    while (std::getline(lines, line)) {
        if (line.compare(0, head.size(), head) == 0 && line.size() > head.size() + tail.size() &&
            line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
            names.push_back(line.substr(head.size(), line.size() - head.size() - tail.size()));
        }
    }
    return names;
}

struct Session {
    GameRun run;
    std::string ticker;
    std::string stats;  // the local store's statistics file
};

// Plays the script on the named room with the hero on (x, y) of it; extra arguments follow.
Session Play(const TempDir& user, const char* room, int x, int y, const std::string& script,
             const std::vector<std::string>& extra = {}) {
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    std::vector<std::string> args = {"-no-initial-config", "-player-random-build", "-debug-flag",
                                     "-testroom",          room,                   "-x",
                                     std::to_string(x),    "-y",                   std::to_string(y)};
    args.insert(args.end(), extra.begin(), extra.end());
    Session s;
    s.run = RunGame(args, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    s.ticker = ReadWholeFile(user.file("ticker.txt"));
    s.stats = FileExists(user.file("store/stats.txt")) ? ReadWholeFile(user.file("store/stats.txt")) : "";
    return s;
}

// ---- the shop ------------------------------------------------------------------------------

// The hero starts below and between two stocked pedestals with money piles beside it; the
// shop's door is four squares below the start.
std::string ShopScript(bool photograph) {
    std::string script = "seed 5\nwait 400\n";
    script += "click 1 " + Square(-1, -1) + "\nwait 300\n";  // the left pedestal: the store question
    script += "click 1 453 518\nwait 300\n";                    // Buy; the hero steps up between them
    script += "click 1 " + Square(1, 0) + "\nwait 300\n";    // the right pedestal
    if (photograph) script += "screenshot\n";
    script += "click 1 826 518\nwait 300\n";  // Pick up
    for (int i = 0; i < 5; ++i) script += Step("down");
    script += "wait 300\nkey return\nwait 300\n";  // the thief's notice
    return script + kLeaveAndQuit;
}

TEST(TradeSession, TheHeroBuysOneThingAndWalksOutWithAnotherTheSameWayTwice) {
    TempDir firstUser;
    const Session first = Play(firstUser, "Shop Test Counter", 2, 2, ShopScript(false));
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_FALSE(Contains(first.run.output, "not found")) << first.run.output;
    EXPECT_TRUE(Contains(first.run.output, "spawning shopkeeper")) << first.run.output;
    // One bought item is paid for, the other is carried off unpaid; the money went down.
    const std::string leaving = Line(first.run.output, "The hero leaves with ");
    ASSERT_NE(leaving, "") << first.run.output;
    // Two goods went into the bag, one bought and one carried off, and both are carried out.
    const std::vector<std::string> put = PutInBag(first.ticker);
    ASSERT_EQ(put.size(), 2u) << first.ticker;
    for (const std::string& name : put) EXPECT_TRUE(Contains(leaving, " " + name + ";")) << name << leaving;
    EXPECT_FALSE(Contains(leaving, "with 0 zorkmids")) << "the price of one was paid out of the money picked up";
    EXPECT_TRUE(Contains(first.stats, "achievement ACHIEVEMENT_ACCIDENTS_HAPPEN")) << first.stats;
    EXPECT_EQ(first.ticker, Golden("shop_session_ticker.txt"));

    TempDir secondUser;
    const Session second = Play(secondUser, "Shop Test Counter", 2, 2, ShopScript(false));
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.ticker, first.ticker);
    EXPECT_EQ(Line(second.run.output, "The hero leaves with "), leaving);
    EXPECT_EQ(Line(second.run.output, "Leaving the game after "), Line(first.run.output, "Leaving the game after "));
}

// The screenshot's samples of the store question's blank middle, between the description and
// the buttons, are light parchment but for the few under the mouse pointer; without the
// question nearly all of them show the dark shop floor.
bool StoreQuestionShows(const std::string& bmp) {
    SDL_Surface* shot = SDL_LoadBMP(bmp.c_str());
    if (shot == nullptr) return false;
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, shot->w, shot->h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_BlitSurface(shot, nullptr, rgb, nullptr);
    SDL_LockSurface(rgb);
    int dark = 0;
    for (int y = 330; y <= 480; y += 6) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch);
        for (int x = 420; x <= 860; x += 6) {
            const Uint32 p = row[x];
            dark += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 120;
        }
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(shot);
    return dark < 20;  // of 1924 samples
}

TEST(TradeSession, TheStoreQuestionStandsOverTheShop) {
    TempDir user;
    const Session s = Play(user, "Shop Test Counter", 2, 2, ShopScript(true));
    ASSERT_EQ(s.run.exitCode, 0) << s.run.output;
    ASSERT_TRUE(FileExists(user.file("bitmap_0.bmp"))) << s.run.output;
    EXPECT_TRUE(StoreQuestionShows(user.file("bitmap_0.bmp")));
    // The picture is no record of the run: the session goes on as without it.
    EXPECT_EQ(s.ticker, Golden("shop_session_ticker.txt"));
}

// ---- the quest ----------------------------------------------------------------------------

// The hero stands below the statue; the seed's quest is a lost artifact, which lands two
// squares left and one down of the hero.
const char* const kQuestSeed = "seed 3\nwait 400\n";

std::string AcceptQuest() {
    return "click 1 " + Square(0, -1) + "\nwait 300\n"  // the statue
           "click 1 540 458\nwait 300\n"                 // pray: yes
           "click 1 573 528\nwait 300\n";                // the offer: accept
}

std::string CompleteQuest() {
    return Step("left") + "click 1 " + Square(-1, 1) + "\nwait 400\n"  // pick the artifact up
           "key return\nwait 300\n";                                  // the reward notice
}

const char* const kFoundLine = "You have found the item, ";

TEST(TradeSession, ThePrayerQuestIsTakenFoundAndRewardedTheSameWayTwice) {
    TempDir firstUser;
    const Session first =
        Play(firstUser, "Quest Test Chapel", 4, 2, kQuestSeed + AcceptQuest() + CompleteQuest() + kLeaveAndQuit);
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    const std::string quest = Line(first.run.output, "Quest at stage ");
    EXPECT_TRUE(Contains(quest, "Quest at stage 2: Find the magical artifact ")) << first.run.output;
    ASSERT_TRUE(Contains(first.ticker, kFoundLine)) << first.ticker;
    // The reward is the one thing put into the bag, and the hero carries it out.
    const std::vector<std::string> put = PutInBag(first.ticker);
    ASSERT_EQ(put.size(), 1u) << first.ticker;
    EXPECT_TRUE(Contains(Line(first.run.output, "The hero leaves with "), " " + put[0] + ";"));
    EXPECT_EQ(first.ticker, Golden("quest_session_ticker.txt"));

    TempDir secondUser;
    const Session second =
        Play(secondUser, "Quest Test Chapel", 4, 2, kQuestSeed + AcceptQuest() + CompleteQuest() + kLeaveAndQuit);
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.ticker, first.ticker);
    EXPECT_EQ(Line(second.run.output, "The hero leaves with "), Line(first.run.output, "The hero leaves with "));
}

// The save a random hero leaves behind when the game is left through the menu.
const char* const kHeroSave = "Random Hero.sav";

TEST(TradeSession, AQuestSavedAfterItsAcceptanceIsCompletedAfterTheLoad) {
    TempDir straightUser;
    const Session straight =
        Play(straightUser, "Quest Test Chapel", 4, 2, kQuestSeed + AcceptQuest() + CompleteQuest() + kLeaveAndQuit);
    ASSERT_EQ(straight.run.exitCode, 0) << straight.run.output;

    // Accept, then leave with the save; load it and complete the quest.
    TempDir user;
    const Session saved = Play(user, "Quest Test Chapel", 4, 2, kQuestSeed + AcceptQuest() + kLeaveAndQuit);
    ASSERT_EQ(saved.run.exitCode, 0) << saved.run.output;
    EXPECT_TRUE(Contains(Line(saved.run.output, "Quest at stage "), "Quest at stage 0: ")) << saved.run.output;
    const std::string save = kHeroSave;
    ASSERT_TRUE(FileExists(user.file(save))) << saved.run.output;
    WriteWholeFile(user.file("script.txt"), kQuestSeed + CompleteQuest() + kLeaveAndQuit);
    std::remove(user.file("ticker.txt").c_str());
    const GameRun loaded = RunGame({"-no-initial-config", "-debug-flag", "-load-filename=" + save}, user.path(),
                                   {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                                    {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.output;
    const std::string ticker = ReadWholeFile(user.file("ticker.txt"));
    EXPECT_EQ(Line(ticker, kFoundLine), Line(straight.ticker, kFoundLine));
    EXPECT_EQ(Line(loaded.output, "Quest at stage "), Line(straight.run.output, "Quest at stage "));
    // A reward went into the bag and is carried out, as in the run without the save.
    const std::vector<std::string> put = PutInBag(ticker);
    ASSERT_EQ(put.size(), 1u) << ticker;
    EXPECT_TRUE(Contains(Line(loaded.output, "The hero leaves with "), " " + put[0] + ";")) << loaded.output;
}

}  // namespace
