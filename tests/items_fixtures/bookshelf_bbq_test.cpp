// Bookshelves (learning recipes) and barbecues (a find, and grilling steaks): their rules with
// scripted draws, and their save blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/event_log.h"
#include "core/input_log.h"
#include "items_fixtures/bbq.h"
#include "items_fixtures/bookshelf.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Steak"><food hp="5" meat="1"/></item>
  <item name="Aged Steak"><food hp="7" meat="1"/></item>
  <item name="Grilled Steak"><food hp="20" meat="1"/></item>
  <item name="Bread"><food hp="3"/></item>
  <item name="Newt Eye"><price amount="1"/></item>
  <item name="Elixir"><potion/></item>
  <item name="Secret Elixir"><potion/></item>
</itemdb>)";

// 0 and 1 plain alchemy recipes, 2 a hidden one.
const char kRecipes[] = R"(<craftdb>
  <craft><input name="Newt Eye"/><tool tag="alchemy"/><output name="Elixir"/></craft>
  <craft><input name="Newt Eye"/><input name="Newt Eye"/><tool tag="alchemy"/><output name="Elixir" amount="2"/></craft>
  <craft hidden="1"><input name="Bread"/><tool tag="alchemy"/><output name="Secret Elixir"/></craft>
</craftdb>)";

std::vector<std::string>* Dialogs = nullptr;
int32_t RecordDialog(const char* text, const char*, const char*) {
    if (Dialogs != nullptr) Dialogs->push_back(text);
    return 1;
}

std::vector<uint8_t> SaveBytes(GameObj& obj) {
    SaveWriter out;
    EXPECT_TRUE(obj.Save(out));
    return out.Buffer();
}

class FixtureRulesTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        ClearItemDB();
        ClearRecipes();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ASSERT_TRUE(craftDBLoadText(kRecipes, "test recipes"));
        InventoryGrid.Clear();
        ClearCursorItem();
        Dialogs = &dialogs_;
        saved_ = ShowItemDialog;
        ShowItemDialog = RecordDialog;
        PlaceHero(3, 3);
        testing::internal::CaptureStderr();  // the fixtures' art is not mounted here
    }
    void TearDown() override {
        testing::internal::GetCapturedStderr();
        ShowItemDialog = saved_;
        Dialogs = nullptr;
        ClearCursorItem();
        for (Item*& slot : hero_.quickSlots) {
            if (slot != nullptr && slot->level == nullptr) delete slot;
            slot = nullptr;
        }
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) delete cell;
            cell = nullptr;
        }
        FightTest::TearDown();
        ClearRecipes();
        ClearItemDB();
    }
    Bookshelf* Shelf(int32_t x, int32_t y) {
        Bookshelf* shelf = new Bookshelf();
        shelf->PlaceOnLevel(x, y, level_.get(), 0);
        return shelf;
    }
    // The item of that name in the backpack or on the belt (not the cursor).
    Item* Carried(const char* name) {
        std::vector<Item*> places(std::begin(InventoryGrid.cells), std::end(InventoryGrid.cells));
        places.insert(places.end(), std::begin(hero_.quickSlots), std::end(hero_.quickSlots));
        for (Item* item : places) {
            if (item != nullptr && item->def != nullptr && item->def->name == name) return item;
        }
        return nullptr;
    }
    std::vector<std::string> dialogs_;
    ItemDialogFn saved_ = nullptr;
};

TEST_F(FixtureRulesTest, BookshelfSearchTable) {
    struct Case {
        const char* name;
        const char* recipeName;
        std::vector<int32_t> known;
        uint32_t seed;
        int32_t learned;  // -1: nothing
    };
    const Case cases[] = {
        {"a named recipe is taught", "Secret Elixir", {0, 1}, 1, 2},
        {"a name no recipe's first output has finds nothing", "Bread", {}, 1, -1},
        {"the named recipe already known finds nothing", "Elixir", {0}, 1, -1},
        {"a random unknown recipe", "", {}, 1, -2},
        {"a known hidden recipe drawn ends the search", "", {0, 1, 2}, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_.clear();
        hero_.knownRecipes[0] = c.known;
        CSRand(c.seed);
        Bookshelf* shelf = Shelf(4, 3);
        shelf->recipeName = c.recipeName;
        // A found recipe's notice waits for Return.
        ASSERT_TRUE(OpenInputScriptText("keydown return\n"));
        EXPECT_EQ(shelf->Activate(), 1);
        EXPECT_EQ(InputScriptActive(), c.learned == -1) << "the notice shows only when a recipe is found";
        ResetInputLog();
        EXPECT_TRUE(shelf->searched);
        EXPECT_EQ(shelf->bob.frame, 0);
        EXPECT_EQ(CountSound("turnpage"), 1);
        Sounds().clear();
        if (c.learned == -1) {
            EXPECT_EQ(dialogs_, std::vector<std::string>{"You find nothing of interest in the bookshelf."});
            EXPECT_EQ(hero_.knownRecipes[0], c.known);
        } else {
            EXPECT_TRUE(dialogs_.empty());
            ASSERT_EQ(hero_.knownRecipes[0].size(), c.known.size() + 1);
            if (c.learned >= 0) {
                EXPECT_EQ(hero_.knownRecipes[0].back(), c.learned);
            }
        }
        EXPECT_EQ(shelf->Activate(), 0) << "searched once only";
        QueueObjectDeletion(shelf);
        DeleteQueuedObjects();
    }
}

TEST_F(FixtureRulesTest, NinetyNineKnownDrawsFindNothingAndAnEmptyListFindsNothing) {
    // Only plain recipes, all known: every draw is rejected.
    ClearRecipes();
    ASSERT_TRUE(craftDBLoadText("<craftdb><craft><tool tag=\"alchemy\"/><output name=\"Elixir\"/></craft></craftdb>", "x"));
    hero_.knownRecipes[0] = {0};
    CSRand(3);
    EXPECT_EQ(ChooseBookshelfRecipe(""), -1);
    // 99 draws were made: the generator stands 99 steps on.
    CSRand(3);
    for (int32_t i = 0; i < 99; ++i) CRand();
    const int32_t after99 = CRand();
    CSRand(3);
    ChooseBookshelfRecipe("");
    EXPECT_EQ(CRand(), after99);
    ClearRecipes();
    EXPECT_EQ(ChooseBookshelfRecipe(""), -1) << "an empty list draws nothing";
}

TEST_F(FixtureRulesTest, ABookshelfNeedsTheHeroBesideItAndAnEmptyCursor) {
    Bookshelf* far = Shelf(8, 8);
    EXPECT_EQ(far->Activate(), 0);
    Bookshelf* near = Shelf(4, 3);
    SetCursorItem(CreateItemByName("Bread"));
    EXPECT_EQ(near->Activate(), 0);
    EXPECT_FALSE(near->searched);
    delete GetCursorItem();
    ClearCursorItem();
}

TEST_F(FixtureRulesTest, OnlyASearchIsLoggedAndCountedAsAPerusal) {
    const std::string events = testing::TempDir() + "bookshelf_events.txt";
    ASSERT_TRUE(OpenEventLog(events));
    Bookshelf* far = Shelf(8, 8);
    EXPECT_EQ(far->Activate(), 0);
    Bookshelf* near = Shelf(4, 3);
    SetCursorItem(CreateItemByName("Bread"));
    EXPECT_EQ(near->Activate(), 0);
    delete GetCursorItem();
    ClearCursorItem();
    EXPECT_EQ(GetCollectedStat("Bookshelves perused"), 0) << "a refused search is no perusal";
    hero_.knownRecipes[0] = {0, 1, 2};  // nothing left to find: no notice to wait for
    EXPECT_EQ(near->Activate(), 1);
    EXPECT_EQ(near->Activate(), 0);
    EXPECT_EQ(GetCollectedStat("Bookshelves perused"), 1);
    Bookshelf* other = Shelf(2, 3);
    EXPECT_EQ(other->Activate(), 1);
    EXPECT_EQ(GetCollectedStat("Bookshelves perused"), 2);
    CloseEventLog();
    EXPECT_EQ(ReadWholeFile(events), "EVENT: Player used bookshelf\nEVENT: Player used bookshelf\n");
    std::remove(events.c_str());
}

TEST_F(FixtureRulesTest, BarbecueTable) {
    struct Case {
        const char* name;
        const char* item;
        int32_t count;
        bool onCursor;
        int32_t answer;
        int32_t grilled;
        const char* line;
        bool unpaid;  // shop goods: what is grilled of them is still the shop's
    };
    const Case cases[] = {
        {"five aged steaks from the cursor", "Aged Steak", 5, true, 1, 5, "You grill your steaks on the BBQ.", false},
        {"one steak from the pack", "Steak", 3, false, 1, 1, "You grill your steak on the BBQ.", false},
        {"two unpaid steaks from the cursor", "Steak", 2, true, 1, 2, "You grill your steaks on the BBQ.", true},
        {"one unpaid steak from the pack", "Steak", 3, false, 1, 1, "You grill your steak on the BBQ.", true},
        {"a grilled steak is refused", "Grilled Steak", 1, true, 0, 0, nullptr, false},
        {"bread is refused", "Bread", 1, true, 0, 0, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTickerLog();
        Sounds().clear();
        BBQ grill;
        Item* raw = CreateItemByName(c.item);
        raw->count = c.count;
        raw->unpaid = c.unpaid ? 1 : 0;
        if (c.onCursor) {
            SetCursorItem(raw);
        } else {
            ASSERT_TRUE(PlaceItemInGridCell(7, 5, raw));
        }
        EXPECT_EQ(grill.UseItemOn(raw), c.answer);
        Item* grilled = Carried("Grilled Steak");
        if (c.grilled == 0) {
            EXPECT_EQ(grilled, nullptr);
            EXPECT_EQ(CountSound("flame"), 0);
            ClearCursorItem();
            delete raw;
            continue;
        }
        ASSERT_NE(grilled, nullptr);
        EXPECT_EQ(grilled->count, c.grilled);
        EXPECT_EQ(grilled->unpaid != 0, c.unpaid);
        EXPECT_TRUE(Logged(c.line));
        EXPECT_EQ(CountSound("flame"), 1);
        if (c.onCursor) {
            EXPECT_EQ(GetCursorItem(), nullptr);
            EXPECT_EQ(QueuedDeletionCount(), 1u) << "the raw stack goes";
        } else {
            EXPECT_EQ(raw->count, c.count - 1) << "one raw steak is used up";
        }
        DeleteQueuedObjects();
        for (Item** place : CarriedPlaces()) {
            if (*place != nullptr) {
                delete *place;
                *place = nullptr;
            }
        }
    }
}

TEST_F(FixtureRulesTest, WithoutAGrilledKindTheGrillDoesNothing) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Steak\"><food hp=\"5\"/></item></itemdb>", "x"));
    BBQ grill;
    Item* raw = CreateItemByName("Steak");
    SetCursorItem(raw);
    EXPECT_EQ(grill.UseItemOn(raw), 0);
    EXPECT_EQ(GetCursorItem(), raw);
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    ClearCursorItem();
    delete raw;
}

TEST_F(FixtureRulesTest, SearchingTheGrill) {
    BBQ* grill = new BBQ();
    grill->PlaceOnLevel(4, 3, level_.get(), 0);
    EXPECT_EQ(grill->BumpedByPlayer(), 0) << "a bump with an empty cursor does nothing";
    // With an item on the cursor no food is found, but the grill counts as searched.
    Item* bread = CreateItemByName("Bread");
    SetCursorItem(bread);
    for (uint32_t seed = 0; seed < 4; ++seed) {
        MTSeed(seed);
        grill->searched = false;
        EXPECT_EQ(grill->Activate(), 1);
        EXPECT_TRUE(grill->searched);
    }
    EXPECT_EQ(Carried("Bread"), nullptr);
    ClearCursorItem();
    delete bread;
    EXPECT_EQ(grill->Activate(), 1);
    EXPECT_TRUE(Logged("The grill is empty."));
    EXPECT_EQ(CountSound("bbq"), 5);
    // Searched with an empty cursor: food half the time.
    int32_t finds = 0;
    for (uint32_t seed = 0; seed < 40; ++seed) {
        MTSeed(seed);
        ClearTickerLog();
        grill->searched = false;
        grill->Activate();
        if (Logged("You find some food in the BBQ.")) ++finds;
    }
    EXPECT_GT(finds, 5);
    EXPECT_LT(finds, 35);
}

TEST_F(FixtureRulesTest, SaveBlocksAreOneSearchedWordAndRoundTrip) {
    Bookshelf shelf;
    BBQ grill;
    for (bool searched : {false, true}) {
        shelf.searched = searched;
        grill.searched = searched;
        for (GameObj* obj : std::vector<GameObj*>{&shelf, &grill}) {
            SaveWriter base;
            obj->GameObj::Save(base);
            const std::vector<uint8_t> bytes = SaveBytes(*obj);
            ASSERT_EQ(bytes.size(), base.Buffer().size() + 4) << obj->GetName();
            const std::vector<uint8_t> tail(bytes.end() - 4, bytes.end());
            EXPECT_EQ(tail, (std::vector<uint8_t>{static_cast<uint8_t>(searched ? 1 : 0), 0, 0, 0})) << obj->GetName();
            SaveReader in(bytes);
            Serializable* loaded = SerializableRegistry::Instance().CreateFromSave(obj->GetClassHash(), in);
            ASSERT_NE(loaded, nullptr) << obj->GetName();
            EXPECT_FALSE(in.Failed());
            GameObj* again = dynamic_cast<GameObj*>(loaded);
            ASSERT_NE(again, nullptr);
            EXPECT_EQ(SaveBytes(*again), bytes) << obj->GetName();
            delete loaded;
        }
    }
    // A loaded shelf has forgotten its recipe name.
    shelf.recipeName = "Secret Elixir";
    const std::vector<uint8_t> bytes = SaveBytes(shelf);
    SaveReader in(bytes);
    Bookshelf loaded(in);
    EXPECT_TRUE(loaded.recipeName.empty());
    EXPECT_EQ(loaded.bob.frame, 0) << "a searched shelf shows its empty frame";
}

}  // namespace
