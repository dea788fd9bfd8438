#pragma once
// The common ground of the chest, door, breakable, trap and lever tests: a lit floor level
// with the hero, recorded dialogs with a chosen answer, the statistics store in a scratch
// folder, lockpicks on the belt or in the backpack, and seeds that force the draws a rule
// makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/random.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "media/sprite.h"
#include "platform/atomic_file.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "tests/creatures/fight_fixture.h"

class LockTest : public FightTest {
public:
    static std::vector<std::string>& DialogTexts() {
        static std::vector<std::string> texts;
        return texts;
    }
    static std::vector<std::string>& DialogArt() {
        static std::vector<std::string> art;
        return art;
    }
    static int32_t& DialogAnswer() {
        static int32_t answer = 0;
        return answer;
    }

protected:
    void SetUp() override {
        FightTest::SetUp();
        InventoryGrid.Clear();
        ClearCursorItem();
        DialogTexts().clear();
        DialogArt().clear();
        DialogAnswer() = 0;
        savedDialog_ = ShowItemDialog;
        ShowItemDialog = [](const char* text, const char* first, const char* second) {
            DialogTexts().push_back(text);
            DialogArt().push_back(std::string(first) + "|" + (second != nullptr ? second : ""));
            return DialogAnswer();
        };
        SteamAPI_Shutdown();
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        SteamAPI_RunCallbacks();  // statistics count once their values have come
        PlaceHero(3, 3);
        testing::internal::CaptureStderr();  // the fixtures' art is not mounted here
    }
    void TearDown() override {
        stderrText_ += testing::internal::GetCapturedStderr();
        ShowItemDialog = savedDialog_;
        ClearCursorItem();
        for (Item*& slot : hero_.quickSlots) {
            if (slot != nullptr && slot->level == nullptr) delete slot;
            slot = nullptr;
        }
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) {
                InventoryGrid.Remove(cell);
                delete cell;
            }
            cell = nullptr;
        }
        FightTest::TearDown();
        SteamAPI_Shutdown();
    }

    // Error-box text printed so far (the capture restarts).
    std::string TakeStderr() {
        stderrText_ += testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        std::string all;
        all.swap(stderrText_);
        return all;
    }

    // A stack of lockpicks on belt slot `slot`, or in backpack cell `cell`.
    Misc* PickOnBelt(int32_t slot, int32_t count = 1) {
        Misc* pick = new Misc(0);
        pick->count = count;
        pick->stackable = 1;
        hero_.quickSlots[slot] = pick;
        return pick;
    }
    Misc* PickInBackpack(int32_t column, int32_t row, int32_t count = 1) {
        Misc* pick = new Misc(0);
        pick->count = count;
        pick->stackable = 1;
        EXPECT_TRUE(PlaceItemInGridCell(column, row, pick));
        return pick;
    }
    // How many lockpicks the hero carries (belt and backpack, each stack once).
    int32_t CarriedPicks() {
        int32_t n = 0;
        std::vector<Item*> seen;
        std::vector<Item*> places(std::begin(hero_.quickSlots), std::end(hero_.quickSlots));
        places.insert(places.end(), std::begin(InventoryGrid.cells), std::end(InventoryGrid.cells));
        for (Item* item : places) {
            Misc* misc = dynamic_cast<Misc*>(item);
            if (misc == nullptr || misc->Kind() != 0) continue;
            if (std::find(seen.begin(), seen.end(), item) != seen.end()) continue;
            seen.push_back(item);
            n += item->count;
        }
        return n;
    }
    void GiveLockSkill(int32_t level) {
        hero_.skillIds[0] = 26;
        hero_.skillLevels[0] = level;
    }

    // The first seed from 1 on whose game-generator draws satisfy the test (which makes the
    // same draws the rule will make); the generator is then seeded with it.
    static uint32_t SeedGameGeneratorFor(const std::function<bool()>& draws) {
        for (uint32_t seed = 1; seed < 100000; ++seed) {
            MTSeed(seed);
            if (draws()) {
                MTSeed(seed);
                return seed;
            }
        }
        ADD_FAILURE() << "no seed gives those draws";
        return 0;
    }
    // The same for the C-style generator.
    static uint32_t SeedCGeneratorFor(const std::function<bool()>& draws) {
        for (uint32_t seed = 1; seed < 100000; ++seed) {
            CSRand(seed);
            if (draws()) {
                CSRand(seed);
                return seed;
            }
        }
        ADD_FAILURE() << "no seed gives those draws";
        return 0;
    }

    // A sprite of `count` small frames, 60 ms each, under the name in the sprite table, so
    // fixtures asking for it by name wear it. A sprite already there under the name (a
    // placeholder of art that is not mounted here) is given those frames.
    static Sprite* FramesSprite(const char* name, uint16_t count) {
        Sprite* sprite = SpriteMgr_Find(name);
        const bool known = sprite != nullptr;
        if (known && sprite->frameCount == count) return sprite;
        if (!known) sprite = new Sprite();
        for (uint16_t i = 0; i < sprite->frameCount; ++i) {
            if (sprite->frames != nullptr && sprite->frames[i] != nullptr) SDL_FreeSurface(sprite->frames[i]);
            if (sprite->outlines != nullptr && sprite->outlines[i] != nullptr) SDL_FreeSurface(sprite->outlines[i]);
            if (sprite->seeThrough != nullptr && sprite->seeThrough[i] != nullptr) {
                SDL_FreeSurface(sprite->seeThrough[i]);
            }
        }
        delete[] sprite->frames;
        delete[] sprite->outlines;
        delete[] sprite->seeThrough;
        delete[] sprite->delays;
        sprite->outlines = nullptr;
        sprite->seeThrough = nullptr;
        sprite->frames = new SDL_Surface*[count]();
        sprite->delays = new uint16_t[count]();
        for (uint16_t i = 0; i < count; ++i) {
            sprite->frames[i] = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xFF0000, 0xFF00, 0xFF, 0);
            sprite->delays[i] = 60;
        }
        sprite->frameCount = count;
        sprite->width = 8;
        sprite->height = 8;
        if (!known) {
            sprite->name = name;
            SpriteMgr_Add(name, sprite);
        }
        return sprite;
    }

    std::string Stats() const { return ReadWholeFile(tmp_.path() + "/store/stats.txt"); }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};

private:
    ItemDialogFn savedDialog_ = nullptr;
    std::string stderrText_;
};
