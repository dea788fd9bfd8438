#include "creatures/shopkeeper.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/class_registry.h"
#include "core/event_log.h"
#include "core/random.h"
#include "core/saturating.h"
#include "core/shell/shell_services.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/shop_pedestal.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "store_platform/stats.h"

SERIALIZABLE_REGISTRATION(Shopkeeper);

int32_t ShopkeeperChatterCounter = 0;

namespace {

const char* const kKeeperName = "Brax";

MonsterRecord* KeeperRecord() {
    MonsterRecord* record = monDBFindByDisplayName(kKeeperName);
    if (record == nullptr) std::fprintf(stderr, "shopkeeper: the monster data has no \"%s\"\n", kKeeperName);
    return record;
}

}  // namespace

const char* ShopkeeperChatterLine(int32_t counter) {
    switch (counter) {
        case 8:
            return "There's giant wrenches, demon feeders, Zarnoch statues, aqua regia, piles of spores and old "
                   "fedoras, three uncursed scrolls of amnesia, pressure plates and copper wires, steampunk goggles, "
                   "chariot tires, 8-bit palettes, Viking mallets, magic dehumidifiers...";
        case 9:
            return "Battered kite shields, ancient maps, panini presses, Dwarven traps, aluminum tubes and Lutefisk "
                   "Cubes and wizard staves with matching caps, Voltaic cells, undead sneezes, porta-stills, Thrusty "
                   "diseases, Skatha's roots, blue velvet boots, all forty thousand kinds of cheeses...";
        case 10:
            return "Pan-galactic Gargle Blasters, statues made from oleaster, Diggle eggs and Blobby legs and "
                   "Automatic Goblin Sanders, boards with nails, wizard gowns, Sir Albrecht's Helm, used coffee "
                   "grounds, some magic crowns, explosive rounds, and don't forget the Shield of Caketown!";
        default:
            return "Buy something, will ya?";
    }
}

uint32_t Shopkeeper::GetClassHash() { return GetRegisteredClassHash("Shopkeeper"); }
int32_t Shopkeeper::GetClassIndex() { return GetRegisteredClassIndex("Shopkeeper"); }

Shopkeeper::Shopkeeper() : Monster(KeeperRecord()) {
    isNamed = true;
    customName = kKeeperName;
}

Shopkeeper::Shopkeeper(SaveReader& in) : Monster(in) {
    hostile = in.ReadBool() ? 1 : 0;
    if (in.version.AtLeast(kSaveV1_0_2)) {
        guardX = in.ReadInt32();
        guardY = in.ReadInt32();
        homeX = in.ReadInt32();
        homeY = in.ReadInt32();
    }
    if (in.version.AtLeast(kSaveV1_0_3)) atGuard = in.ReadBool() ? 1 : 0;
    if (in.version.AtLeast(kSaveV1_0_8)) stealDone = in.ReadBool() ? 1 : 0;
    if (level != nullptr && !in.Failed()) {
        // The saved home stays (the keeper may be on guard).
        const int32_t savedHomeX = homeX;
        const int32_t savedHomeY = homeY;
        PlaceOnLevel(x, y, level, 0);
        homeX = savedHomeX;
        homeY = savedHomeY;
    }
}

Shopkeeper::~Shopkeeper() {
    if (level != nullptr) {
        std::vector<GameObj*>& keepers = level->shopkeepers;
        keepers.erase(std::remove(keepers.begin(), keepers.end(), static_cast<GameObj*>(this)), keepers.end());
    }
}

bool Shopkeeper::Save(SaveWriter& out) {
    bool ok = Monster::Save(out);
    ok = out.WriteBool(hostile) && ok;
    ok = out.WriteInt32(guardX) && ok;
    ok = out.WriteInt32(guardY) && ok;
    ok = out.WriteInt32(homeX) && ok;
    ok = out.WriteInt32(homeY) && ok;
    ok = out.WriteBool(atGuard) && ok;
    return out.WriteBool(stealDone) && ok;
}

bool Shopkeeper::HasKeeperRecord() const {
    return record != nullptr && record == monDBFindByDisplayName(kKeeperName);
}

const char* Shopkeeper::GetActionVerb() { return hostile == 0 ? "Purchase Goods" : Monster::GetActionVerb(); }

int32_t Shopkeeper::Activate() {
    if (hostile != 0 || dead != 0) return Monster::Activate();
    Talk();
    return 1;
}

void Shopkeeper::Talk() {
    Player* hero = CurrentPlayer;
    if (!PlayerHasUnpaidItem()) {
        ShopDialogs.show(ShopkeeperChatterLine(ShopkeeperChatterCounter), "ui/dialog_but_ok", nullptr);
        if (++ShopkeeperChatterCounter >= 11) ShopkeeperChatterCounter = 0;
        return;
    }
    const int32_t total = UnpaidGoodsTotal();
    const int32_t money = hero != nullptr ? hero->zorkmids : 0;
    char text[160];
    std::snprintf(text, sizeof text, "That'll be %i zorkmids. You have %i zorkmids. You want it or don'tcha?",
                  static_cast<int>(total), static_cast<int>(money));
    if (ShopDialogs.show(text, "ui/dialog_but_DontBuy", "ui/dialog_but_Buy") != 1) return;
    if (hero != nullptr && hero->zorkmids >= total) {
        LogEvent("Player bought items from a shop");
        AddCollectedStat("Total Purchases", total);
        hero->zorkmids -= total;
        MarkAllItemsPaid();
        if (CurrentLevel != nullptr) CurrentLevel->UpdateShopkeeperPositions();
    } else {
        ShopDialogs.show("You don't have the money, punk!", "ui/dialog_but_ok", nullptr);
    }
}

int32_t Shopkeeper::UseItemOn(Item* item) {
    if (hostile != 0) return Monster::UseItemOn(item);
    BuyFromHero(item);
    return 1;
}

void Shopkeeper::BuyFromHero(Item* item) {
    if (item == nullptr) return;
    if (item->unpaid != 0) {
        ShopDialogs.show("Quit wavin' that thing at me. You gonna buy it or aincha?", "ui/dialog_but_ok", nullptr);
        return;
    }
    const int32_t price = ShopSellPrice(item);
    if (price < 1) {
        ShopDialogs.show("I ain't buying that!", "ui/dialog_but_ok", nullptr);
        return;
    }
    char text[96];
    std::snprintf(text, sizeof text, "I'll give you %i zorkmids for it.", static_cast<int>(price));
    if (ShopDialogs.show(text, "ui/dialog_but_DontSell", "ui/dialog_but_Sell") != 1) return;
    QueueObjectDeletion(item);
    if (CurrentPlayer != nullptr) CurrentPlayer->GainZorkmids(price);
}

void Shopkeeper::Update() {
    AddAmbientMessage("You hear the sounds of a cash register.");
    if (level != nullptr && level->shopkeepersAngry != 0) hostile = 1;
    if (hostile == 0) return;
    Monster::Update();
    if (!MTOneChanceIn(4)) return;
    Player* hero = CurrentPlayer;
    Level* here = CurrentLevel;
    if (hero == nullptr || here == nullptr || SpellLevel.findOpenSquareNear == nullptr) return;
    int32_t sx = 0;
    int32_t sy = 0;
    if (SpellLevel.findOpenSquareNear(&sx, &sy, hero->x, hero->y, here) == 0) return;
    MonsterRecord* collector = monDBFindByDisplayName("Dread Collector");
    if (collector == nullptr) {
        std::fprintf(stderr, "shopkeeper: the monster data has no \"Dread Collector\"\n");
        return;
    }
    QueueObjectMove(new Monster(collector), sx, sy, here);
}

int32_t Shopkeeper::TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a, int32_t b) {
    if (hostile == 0) AngerShopkeepers(CurrentLevel != nullptr ? CurrentLevel : level);
    hostile = 1;
    return Monster::TakeDamage(amount, source, cause, a, b);
}

void Shopkeeper::Draw(const MapView& view) {
    Monster::Draw(view);
    if (stealDone == 0) TryTheft();
}

void Shopkeeper::TryTheft() {
    if (stealDone != 0) return;
    // Set first: the theft dialog redraws the play screen, and with it this keeper.
    stealDone = 1;
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    const std::vector<AbilityRecord*> abilities = AbilityList;
    for (AbilityRecord* ability : abilities) {
        if (ability == nullptr || !ability->storeTheft || !PlayerHasAbilityLevel(ability)) continue;
        const ItemDef* def = nullptr;
        if (MTOneChanceIn(4)) {
            const std::vector<ItemDef*>& all = ItemDefLists.all;
            bool any = false;
            for (const ItemDef* d : all) any = any || (d != nullptr && !d->special && !d->debug);
            while (any && def == nullptr) {
                const ItemDef* drawn = all[static_cast<size_t>(RandomInt(static_cast<int32_t>(all.size())))];
                if (drawn != nullptr && !drawn->special && !drawn->debug) def = drawn;
            }
        } else if (MTOneChanceIn(2)) {
            def = RandomWeaponDefByLevel(1, 1);
        } else {
            def = RandomArmourDefByLevel(0);
        }
        Item* item = def != nullptr ? CreateItem(def) : nullptr;
        if (item == nullptr) continue;
        ShopDialogs.steal(item);
        if (!AddItemToInventory(item, 0) && CurrentLevel != nullptr) DropItemToFloor(item, hero->x, hero->y);
    }
}

void Shopkeeper::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) {
    const bool arriving = level == nullptr;
    Monster::PlaceOnLevel(px, py, onLevel, flag);
    if (onLevel == nullptr) return;
    if (arriving) {
        // The first square on a level is home; moves within the level keep it.
        homeX = px;
        homeY = py;
    }
    std::vector<GameObj*>& keepers = onLevel->shopkeepers;
    if (std::find(keepers.begin(), keepers.end(), static_cast<GameObj*>(this)) == keepers.end()) {
        keepers.push_back(this);
    }
}

// The shop alarm and the shopkeepers' anger, kept with the shopkeepers they move.

void Level::UpdateShopkeeperPositions() {
    bool heroInShop = false;
    if (CurrentPlayer != nullptr && CurrentPlayer->GameObj::level == this) {
        const LevelCell* cell = GetCell(CurrentPlayer->x, CurrentPlayer->y);
        heroInShop = cell != nullptr && cell->type == SquareType::ShopFloor;
    }
    bool alarm = heroInShop && PlayerHasUnpaidItem();
    // A list copy: placing a shopkeeper must not disturb the walk.
    std::vector<GameObj*> keepers = shopkeepers;
    for (GameObj* listed : keepers) {
        Shopkeeper* keeper = static_cast<Shopkeeper*>(listed);
        if (alarm && keeper->atGuard == 0) {
            keeper->PlaceOnLevel(keeper->guardX, keeper->guardY, this, 0);
            keeper->atGuard = 1;
        } else if (!alarm && keeper->atGuard != 0) {
            keeper->PlaceOnLevel(keeper->homeX, keeper->homeY, this, 0);
            keeper->atGuard = 0;
        }
    }
}

void AngerShopkeepers(Level* level) {
    if (level == nullptr) return;
    level->shopkeepersAngry = 1;
    for (GameObj* keeper : level->shopkeepers) static_cast<Shopkeeper*>(keeper)->hostile = 1;
    AwardAchievement("ACHIEVEMENT_ACCIDENTS_HAPPEN");
    MarkAllItemsPaid();
}
