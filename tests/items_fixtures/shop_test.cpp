// Shops: prices, buying and selling at pedestals, the keeper's chatter and bill, selling to
// the keeper, the alarm squares, hostility, the debt collectors, the theft chance and the
// item-stealing spell, with the shop's boxes answered by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creatures/ability.h"
#include "creatures/shopkeeper.h"
#include "creatures/skill_db.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/dirt.h"
#include "items_fixtures/shrines.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level_cell.h"
#include "tests/creatures/fight_fixture.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Brass Lamp"><price amount="7"/></item>
  <item name="Pebble"><price amount="1"/></item>
  <item name="Dart Bundle" level="3"><price amount="3"/></item>
  <item name="Crown" level="20"><price amount="50"/></item>
</itemdb>)";

std::vector<std::string> gTexts;
std::vector<int32_t> gAnswers;  // answers of the boxes in order; 0 when they run out
std::vector<std::string> gStoreArt;
int32_t gStolenShown = 0;

int32_t NextAnswer() {
    if (gAnswers.empty()) return 0;
    const int32_t a = gAnswers.front();
    gAnswers.erase(gAnswers.begin());
    return a;
}
int32_t Show(const char* text, const char*, const char*) {
    gTexts.push_back(text != nullptr ? text : "");
    return NextAnswer();
}
int32_t Store(Item*, const char* first, const char*, const char* third) {
    gStoreArt.push_back(std::string(first) + (third != nullptr ? "+3" : ""));
    return NextAnswer();
}
void Steal(Item*) { ++gStolenShown; }

class ShopTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        LoadMonsters("<monDB><monster name=\"Brax\" displayName=\"Brax\"/>"
                     "<monster name=\"Dread Collector\" displayName=\"Dread Collector\"/></monDB>");
        SetTweaks(Tweak("store buy price scaler", 1, 1.5f) + Tweak("store sell price scaler", 0, 0.5f));
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        InventoryGrid.Clear();
        saved_ = ShopDialogs;
        ShopDialogs = {Show, Store, Steal};
        gTexts.clear();
        gAnswers.clear();
        gStoreArt.clear();
        gStolenShown = 0;
        ShopkeeperChatterCounter = 0;
        // Shop floor on columns 2..9; column 1 is the way out.
        for (int32_t y = 0; y < 12; ++y) {
            for (int32_t x = 2; x < 10; ++x) level_->GetCell(x, y)->type = SquareType::ShopFloor;
        }
        PlaceHero(5, 5);
        hero_.zorkmids = 100;
    }
    void TearDown() override {
        ShopDialogs = saved_;
        ClearCursorItem();
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) delete cell;
            cell = nullptr;
        }
        for (Item*& slot : hero_.quickSlots) slot = nullptr;
        FightTest::TearDown();
        ClearItemDB();
        AbilityList.clear();
    }
    Item* Make(const char* name, int32_t count = 1, bool stack = false) {
        Item* item = CreateItemByName(name);
        EXPECT_NE(item, nullptr) << name;
        item->count = count;
        item->stackable = stack ? 1 : 0;
        return item;
    }
    ShopPedestal* Pedestal(int32_t x, int32_t y, Item* item) {
        ShopPedestal* p = new ShopPedestal();
        p->stock = item;
        if (item != nullptr) item->unpaid = 1;
        p->PlaceOnLevel(x, y, level_.get(), 0);
        return p;
    }
    Shopkeeper* Keeper() {
        Shopkeeper* k = new Shopkeeper();
        k->homeX = 8;
        k->homeY = 8;
        k->guardX = 2;
        k->guardY = 5;
        k->PlaceOnLevel(8, 8, level_.get(), 0);
        return k;
    }
    static bool Carried(const Item* item) {
        for (Item** place : CarriedPlaces()) {
            if (*place == item) return true;
        }
        return false;
    }
    ShopDialogSet saved_{};
};

TEST_F(ShopTest, TooltipQuestionAndChargeAgreeForSinglesAndStacks) {
    struct Case {
        const char* name;
        int32_t count;
        bool stack;
        int32_t price;
    } cases[] = {{"Brass Lamp", 1, false, 10}, {"Dart Bundle", 4, true, 18}, {"Pebble", 1, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hero_.zorkmids = 100;
        Item* item = Make(c.name, c.count, c.stack);
        ShopPedestal* p = Pedestal(4, 4, item);
        EXPECT_EQ(p->GetDescription(), std::string(item->GetName()) + " (cost: " + std::to_string(c.price) + " zorkmids)");
        EXPECT_STREQ(p->GetActionVerb(), "Perform Feats of Shopping");
        gAnswers = {0};
        EXPECT_EQ(p->Activate(), 0);
        EXPECT_EQ(hero_.zorkmids, 100 - c.price);
        EXPECT_EQ(p->stock, nullptr);
        EXPECT_TRUE(Carried(item));
        EXPECT_EQ(item->unpaid, 0);
        EXPECT_EQ(p->GetDescription(), "Drop an item on the Pedestal to sell it!");
        EXPECT_EQ(p->GetActionVerb(), nullptr);
        p->PlaceOnLevel(0, 0, nullptr, 0);
        delete p;
    }
    EXPECT_EQ(gStoreArt, (std::vector<std::string>{"ui/dialog_but_Buy+3", "ui/dialog_but_Buy+3", "ui/dialog_but_Buy+3"}));
}

TEST_F(ShopTest, TooLittleMoneyOrDeclinedChangesNothing) {
    Item* crown = Make("Crown");
    ShopPedestal* p = Pedestal(4, 4, crown);
    hero_.zorkmids = 74;  // the price is 75
    gAnswers = {0};
    EXPECT_EQ(p->Activate(), 0);
    EXPECT_EQ(gTexts, std::vector<std::string>{"You don't have the money, punk!"});
    gAnswers = {1};
    EXPECT_EQ(p->Activate(), 1);
    EXPECT_EQ(hero_.zorkmids, 74);
    EXPECT_EQ(p->stock, crown);
    EXPECT_EQ(crown->unpaid, 1);
}

TEST_F(ShopTest, PickUpRaisesTheAlarmAndAnEmptyPedestalTakesItBackQuietly) {
    Shopkeeper* keeper = Keeper();
    Item* lamp = Make("Brass Lamp");
    ShopPedestal* p = Pedestal(4, 4, lamp);
    ShopPedestal* empty = Pedestal(6, 4, nullptr);
    gAnswers = {2};
    EXPECT_EQ(p->Activate(), 1);
    EXPECT_TRUE(Carried(lamp));
    EXPECT_EQ(lamp->unpaid, 1);
    EXPECT_TRUE(PlayerHasUnpaidItem());
    EXPECT_EQ(keeper->atGuard, 1);
    EXPECT_EQ(keeper->x, 2);
    EXPECT_EQ(keeper->y, 5);
    // A full pedestal takes nothing.
    EXPECT_EQ(p->UseItemOn(Make("Pebble")), 0) << "p is empty now and takes it as a sale question";
    gStoreArt.clear();
    Item* taken = p->stock;
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(p->UseItemOn(lamp), 0);
    // Back onto the empty one: no question, no money.
    RemoveItemFromGrid(lamp);
    RemoveItemFromQuickbar(lamp);
    const int32_t money = hero_.zorkmids;
    EXPECT_EQ(empty->UseItemOn(lamp), 1);
    EXPECT_TRUE(gStoreArt.empty());
    EXPECT_EQ(hero_.zorkmids, money);
    EXPECT_EQ(empty->stock, lamp);
    EXPECT_FALSE(PlayerHasUnpaidItem());
    EXPECT_EQ(keeper->atGuard, 0);
    EXPECT_EQ(keeper->x, 8);
    EXPECT_EQ(keeper->y, 8);
}

TEST_F(ShopTest, SellingOnAPedestalPaysTheSellPriceAndMakesItShopGoods) {
    struct Case {
        int32_t answer;
        bool sold;
    } cases[] = {{0, true}, {1, false}};
    for (const Case& c : cases) {
        ShopPedestal* p = Pedestal(4, 4, nullptr);
        Item* lamp = Make("Brass Lamp");
        SetCursorItem(lamp);
        hero_.zorkmids = 10;
        gAnswers = {c.answer};
        EXPECT_EQ(p->UseItemOn(lamp), 0);
        EXPECT_EQ(p->stock == lamp, c.sold);
        EXPECT_EQ(hero_.zorkmids, c.sold ? 13 : 10);
        EXPECT_EQ(GetCursorItem() == nullptr, c.sold);
        if (c.sold) {
            EXPECT_EQ(lamp->unpaid, 1);
        }
        ClearCursorItem();
        if (!c.sold) delete lamp;
        p->PlaceOnLevel(0, 0, nullptr, 0);
        delete p;
    }
    EXPECT_EQ(gStoreArt, (std::vector<std::string>{"ui/dialog_but_Sell", "ui/dialog_but_Sell"}));
}

TEST_F(ShopTest, ChatterCyclesEightShortLinesThenTheThreeLongOnes) {
    Shopkeeper* keeper = Keeper();
    for (int32_t i = 0; i < 12; ++i) EXPECT_EQ(keeper->Activate(), 1);
    ASSERT_EQ(gTexts.size(), 12u);
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(gTexts[static_cast<size_t>(i)], "Buy something, will ya?");
    EXPECT_EQ(gTexts[8].rfind("There's giant wrenches", 0), 0u);
    EXPECT_EQ(gTexts[9].rfind("Battered kite shields", 0), 0u);
    EXPECT_EQ(gTexts[10].rfind("Pan-galactic Gargle Blasters", 0), 0u);
    EXPECT_EQ(gTexts[11], "Buy something, will ya?");
    EXPECT_EQ(ShopkeeperChatterCounter, 1);
}

TEST_F(ShopTest, TheBillSumsSeparatelyTruncatedPrices) {
    Shopkeeper* keeper = Keeper();
    // 7 x 1.5 = 10.5 each: the bill is 10 + 10 = 20, not trunc(21.0) = 21.
    Item* a = Make("Brass Lamp");
    Item* b = Make("Brass Lamp");
    a->unpaid = b->unpaid = 1;
    ASSERT_TRUE(AddItemToInventory(a, 1));
    ASSERT_TRUE(AddItemToInventory(b, 1));
    struct Case {
        int32_t money;
        int32_t answer;
        int32_t left;
        std::vector<std::string> texts;
    } cases[] = {
        {100, 0, 100, {"That'll be 20 zorkmids. You have 100 zorkmids. You want it or don'tcha?"}},
        {19, 1, 19,
         {"That'll be 20 zorkmids. You have 19 zorkmids. You want it or don'tcha?", "You don't have the money, punk!"}},
        {20, 1, 0, {"That'll be 20 zorkmids. You have 20 zorkmids. You want it or don'tcha?"}},
    };
    for (const Case& c : cases) {
        hero_.zorkmids = c.money;
        gTexts.clear();
        gAnswers = {c.answer};
        EXPECT_EQ(keeper->Activate(), 1);
        EXPECT_EQ(gTexts, c.texts);
        EXPECT_EQ(hero_.zorkmids, c.left);
    }
    EXPECT_FALSE(PlayerHasUnpaidItem());
}

TEST_F(ShopTest, SellingToTheKeeper) {
    Shopkeeper* keeper = Keeper();
    struct Case {
        const char* name;
        bool unpaid;
        int32_t answer;
        int32_t gain;
        const char* text;
    } cases[] = {
        {"Brass Lamp", true, 1, 0, "Quit wavin' that thing at me. You gonna buy it or aincha?"},
        {"Pebble", false, 1, 0, "I ain't buying that!"},
        {"Brass Lamp", false, 0, 0, "I'll give you 3 zorkmids for it."},
        {"Brass Lamp", false, 1, 3, "I'll give you 3 zorkmids for it."},
    };
    for (const Case& c : cases) {
        Item* item = Make(c.name);
        item->unpaid = c.unpaid ? 1 : 0;
        hero_.zorkmids = 0;
        gTexts.clear();
        gAnswers = {c.answer};
        EXPECT_EQ(keeper->UseItemOn(item), 1);
        EXPECT_EQ(gTexts, std::vector<std::string>{c.text});
        EXPECT_EQ(hero_.zorkmids, c.gain);
        if (c.gain == 0) delete item;
    }
}

TEST_F(ShopTest, ABlowAngersEveryKeeperAndAHostileKeeperFights) {
    Shopkeeper* a = Keeper();
    Shopkeeper* b = Keeper();
    b->PlaceOnLevel(7, 7, level_.get(), 0);
    a->stat[kStatLife] = a->health = 1000;
    EXPECT_STREQ(a->GetActionVerb(), "Purchase Goods");
    EXPECT_EQ(level_->shopkeepers.size(), 2u);
    a->TakeDamage(1, &hero_, "test", 0, 0);
    EXPECT_EQ(level_->shopkeepersAngry, 1);
    EXPECT_EQ(a->hostile, 1);
    EXPECT_EQ(b->hostile, 1);
    EXPECT_STREQ(a->GetActionVerb(), "Attack Monster");
    // Peaceful talk no more.
    a->Activate();
    EXPECT_TRUE(gTexts.empty());
    delete b;
    EXPECT_EQ(level_->shopkeepers, std::vector<GameObj*>{a});
}

TEST_F(ShopTest, AnAngryLevelTurnsItsKeeperAndTheCollectorComesOnAForcedRoll) {
    auto finder = [](int32_t* ox, int32_t* oy, int32_t x, int32_t y, Level*) {
        *ox = x + 1;
        *oy = y;
        return 1;
    };
    const SpellLevelServices saved = SpellLevel;
    SpellLevel.findOpenSquareNear = finder;
    Shopkeeper* keeper = Keeper();
    keeper->Update();
    EXPECT_EQ(keeper->hostile, 0);
    level_->shopkeepersAngry = 1;
    // Seeds whose MTOneChanceIn(4) in the keeper's turn hits or misses.
    int32_t summoned = 0;
    int32_t turns = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        MTSeed(seed);
        const size_t before = level_->objects.size();
        keeper->Update();
        ApplyDeferredObjectMoves();
        ++turns;
        if (level_->objects.size() > before) {
            ++summoned;
            Monster* newest = static_cast<Monster*>(level_->objects.back());
            EXPECT_EQ(newest->GetName(), "Dread Collector");
            EXPECT_EQ(newest->x, hero_.x + 1);
            newest->PlaceOnLevel(0, 0, nullptr, 0);
            delete newest;
        }
    }
    EXPECT_EQ(keeper->hostile, 1);
    EXPECT_GT(summoned, 0);
    EXPECT_LT(summoned, turns);
    SpellLevel = saved;
}

TEST_F(ShopTest, TheTheftChanceIsTakenOnceAndTheLootIsKept) {
    AbilityRecord ability;
    ability.name = "Sticky Fingers";
    ability.storeTheft = true;
    AbilityList = {&ability, &ability};
    Shopkeeper* keeper = Keeper();
    keeper->stealDone = 1;
    keeper->TryTheft();
    EXPECT_EQ(gStolenShown, 0) << "a keeper already robbed";
    keeper->stealDone = 0;
    keeper->TryTheft();
    keeper->TryTheft();
    EXPECT_EQ(keeper->stealDone, 1);
    // Whether the hero has the ability at its level decides; the hero starts without it.
    EXPECT_EQ(gStolenShown, PlayerHasAbilityLevel(&ability) ? 2 : 0);
}

TEST_F(ShopTest, TheStealingSpellClearsTheMarkDropsTheItemAndMayBeCaught) {
    Shopkeeper* keeper = Keeper();
    struct Case {
        const char* item;
        bool caught;
    } cases[] = {{"Pebble", false}, {"Crown", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Item* item = Make(c.item);
        ShopPedestal* p = Pedestal(4, 6, item);
        gTexts.clear();
        // A C-generator seed whose first RandomInt(100) is at least 10: caught at 90%.
        uint32_t seed = 1;
        for (;; ++seed) {
            CSRand(seed);
            if (RandomInt(100) >= 10) break;
        }
        CSRand(seed);
        EXPECT_TRUE(StealShopItemAt(level_.get(), 4, 6));
        EXPECT_EQ(item->unpaid, 0);
        EXPECT_EQ(item->level, level_.get());
        EXPECT_EQ(item->x, 4);
        EXPECT_EQ(p->stock, nullptr);
        DeleteQueuedObjects();
        EXPECT_EQ(level_->GetCell(4, 6)->contents, std::vector<GameObj*>{item});
        EXPECT_EQ(gTexts.empty(), !c.caught);
        if (c.caught) {
            EXPECT_EQ(gTexts, std::vector<std::string>{"You've been caught!"});
        }
        EXPECT_EQ(keeper->hostile, c.caught ? 1 : 0);
        item->PlaceOnLevel(0, 0, nullptr, 0);
        delete item;
    }
    EXPECT_FALSE(StealShopItemAt(level_.get(), 4, 6)) << "nothing left to steal";
}

// Shop goods handed to the things of the level that use them up (a dead creature or a patch
// of dirt taking spores, the lutefisk statue taking fish) are not taken: what grew of them, or
// the statue's gift, would be the hero's own though the goods were never paid for. Paid goods
// are taken as ever.
TEST_F(ShopTest, UnpaidGoodsAreNoOfferingToTheFixturesThatUseThemUp) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Lutefisk\"><food hp=\"1\"/></item></itemdb>", "fish"));
    const ShrineDialogSet savedShrine = ShrineDialogs;
    ShrineDialogs = {Show, [](int32_t) {}, [](Item*) {}};
    Monster* corpse = AddMonster("Brax", 6, 5);
    corpse->dead = 1;
    Dirt dirt;
    LutefiskStatue statue;
    struct Case {
        const char* name;
        GameObj* taker;
        bool fish;
    };
    const Case cases[] = {{"spores on a dead creature", corpse, false},
                          {"spores in the dirt", &dirt, false},
                          {"lutefisk to the statue", &statue, true}};
    for (const Case& c : cases) {
        for (int32_t unpaid : {1, 0}) {
            SCOPED_TRACE(std::string(c.name) + (unpaid != 0 ? ", unpaid" : ", paid"));
            Item* goods = c.fish ? CreateItemByName("Lutefisk") : new Misc(1);
            ASSERT_NE(goods, nullptr);
            goods->stackable = 1;
            goods->count = 3;
            goods->unpaid = unpaid;
            corpse->sprouts = false;
            dirt.planted = 0;
            const int32_t taken = c.taker->UseItemOn(goods);
            // The statue takes the whole stack (and may answer at once with its gift).
            const bool used = corpse->sprouts || dirt.planted != 0 || QueuedDeletionCount() > 0;
            if (unpaid != 0) {
                EXPECT_EQ(taken, 0);
                EXPECT_FALSE(used);
                EXPECT_EQ(goods->count, 3);
                EXPECT_EQ(QueuedDeletionCount(), 0u);
            } else {
                EXPECT_EQ(taken, 1);
                EXPECT_TRUE(used);
            }
            if (QueuedDeletionCount() == 0) delete goods;
            DeleteQueuedObjects();
        }
    }
    corpse->sprouts = false;
    ShrineDialogs = savedShrine;
}

}  // namespace

// The bill counts what lies in a toolkit, and neither the bill, a stack's price nor a sale
// wraps past int32; stacks never merge past what a save can hold.
TEST_F(ShopTest, BillsPricesSalesAndStacksStayInsideWhatCanBeCountedAndSaved) {
    Shopkeeper* keeper = Keeper();
    // A lamp in the pack and one laid in a toolkit: both billed, both paid.
    ToolkitWindows.clear();
    ToolkitWindows.push_back(ToolkitWindow());
    Item* laid = Make("Brass Lamp");
    laid->unpaid = 1;
    ToolkitWindows.back().slots.assign(1, laid);
    Item* packed = Make("Brass Lamp");
    packed->unpaid = 1;
    ASSERT_TRUE(AddItemToInventory(packed, 1));
    hero_.zorkmids = 25;
    gAnswers = {1};
    keeper->Activate();
    ASSERT_FALSE(gTexts.empty());
    EXPECT_EQ(gTexts[0], "That'll be 20 zorkmids. You have 25 zorkmids. You want it or don'tcha?");
    EXPECT_EQ(hero_.zorkmids, 5);
    EXPECT_EQ(laid->unpaid, 0) << "what lay in the toolkit is paid with the rest";
    EXPECT_FALSE(PlayerHasUnpaidItem());
    delete laid;
    ToolkitWindows.clear();

    // A stack of three crowns at a billion each is worth int32's largest value, not a wrapped one.
    FindItemDefByName("Crown")->price = 1000000000;
    Item* crowns = Make("Crown", 3, true);
    EXPECT_EQ(crowns->GetValue(), 2147483647);
    EXPECT_EQ(ShopBuyPrice(crowns), 2147483520);
    // That stack and a lamp of 1.5 billion unpaid: the bill holds at int32's largest and a
    // hero with 100 cannot pay.
    FindItemDefByName("Brass Lamp")->price = 1000000000;
    Item* more = Make("Brass Lamp");
    crowns->unpaid = more->unpaid = 1;
    ASSERT_TRUE(AddItemToInventory(crowns, 1));
    ASSERT_TRUE(AddItemToInventory(more, 1));
    hero_.zorkmids = 100;
    gTexts.clear();
    gAnswers = {1};
    keeper->Activate();
    EXPECT_EQ(gTexts, (std::vector<std::string>{
                          "That'll be 2147483647 zorkmids. You have 100 zorkmids. You want it or don'tcha?",
                          "You don't have the money, punk!"}));
    EXPECT_EQ(hero_.zorkmids, 100);
    EXPECT_TRUE(PlayerHasUnpaidItem());
    MarkAllItemsPaid();

    // A sale to a nearly full purse stops at the most a save may hold.
    hero_.zorkmids = kMaxSavedZorkmids - 1;
    gTexts.clear();
    gAnswers = {1};
    Item* lamp = Make("Brass Lamp");
    keeper->UseItemOn(lamp);
    EXPECT_EQ(hero_.zorkmids, kMaxSavedZorkmids);

    // Stacks: joining may reach kMaxSavedItemCount but never pass it, on any merging path.
    Item* pile = Make("Pebble", kMaxSavedItemCount - 1, true);
    ASSERT_TRUE(AddItemToInventory(pile, 1));
    Item* two = Make("Pebble", 2, true);
    ASSERT_TRUE(AddItemToInventory(two, 1));
    EXPECT_EQ(pile->count, kMaxSavedItemCount - 1) << "two more would pass the saved maximum";
    EXPECT_EQ(two->count, 2);
    Item* one = Make("Pebble", 1, true);
    ASSERT_TRUE(AddItemToInventory(one, 1));
    EXPECT_EQ(pile->count, kMaxSavedItemCount);
    Item* loose = Make("Pebble", 1, true);
    EXPECT_FALSE(MergesInto(pile, loose));
    SetCursorItem(pile);
    InventoryGrid.Remove(pile);
    Item* slot = two;
    EXPECT_FALSE(TakeOneFromStack(&slot)) << "the held stack is full";
    EXPECT_EQ(pile->count, kMaxSavedItemCount);
    EXPECT_EQ(two->count, 2);
    ClearCursorItem();
    DeleteQueuedObjects();
    delete pile;
    delete loose;
}
