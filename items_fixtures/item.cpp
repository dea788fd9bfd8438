#include "items_fixtures/item.h"

#include <cstdio>
#include <map>

#include "core/class_registry.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/saturating.h"
#include "core/shell/shell_services.h"
#include "creatures/icon_art.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/map_view.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "platform/platform.h"
#include "platform/vfs.h"

SERIALIZABLE_REGISTRATION(Item);

Sprite* MinimapQuestItemMarks[kItemMinimapZoomCount] = {};
ItemBadgeSprites ItemBadges;

namespace {

constexpr int32_t kItemTypeCount = 13;
std::map<int32_t, bool> KnownItemTypes[kItemTypeCount];

}  // namespace

bool IsItemTypeKnown(const Item* item) {
    if (item == nullptr || item->type < 0 || item->type >= kItemTypeCount) return false;
    const std::map<int32_t, bool>& known = KnownItemTypes[item->type];
    const auto found = known.find(item->subtype);
    return found != known.end() && found->second;
}

void SetItemTypeKnown(const Item* item) {
    if (item == nullptr || item->type < 0 || item->type >= kItemTypeCount) return;
    KnownItemTypes[item->type][item->subtype] = true;
}

void ResetKnownItemTypes() {
    for (std::map<int32_t, bool>& known : KnownItemTypes) known.clear();
}

void DrawItemBadge(Sprite* badge, int32_t x, int32_t y) {
    if (badge != nullptr) badge->DrawFrame(x + 30, y + 32, 0);
}

void ShowMoneyFloater(int32_t amount) {
    if (CurrentPlayer == nullptr) return;
    const Bob& hero = CurrentPlayer->bob;
    // A small random offset, so that piles picked up in a row do not hide each other.
    int32_t x = hero.x + hero.FrameWidth() / 2 - 8;
    x += CRand() / 2048 - 8;
    int32_t y = hero.y;
    y += CRand() / 4096 - 4;
    SpawnRisingNumberText(x, y, "+" + std::to_string(amount), SDL_Color{248, 218, 118, 0});
}

Item::Item() {
    blocksMovement = 0;
    blocksSight = 0;
    passable = 1;
    anchorMode = 3;
}

Item::Item(const ItemDef* definition) : Item() {
    def = definition;
    if (definition != nullptr) {
        type = definition->category;
        subtype = definition->index;
    }
    ShowDefinitionIcon();
}

Item::Item(SaveReader& in) : GameObj(in) {
    type = in.ReadInt32();
    gridX = in.ReadInt32();
    gridY = in.ReadInt32();
    inBackpack = in.ReadBool();
    holdFlag = in.ReadBool();
    unpaid = in.ReadBool() ? 1 : 0;
    crafted = in.ReadBool();
    count = in.ReadInt32InRange(0, kMaxSavedItemCount, "an item's count");
    stackable = in.ReadBool() ? 1 : 0;
}

Item::~Item() = default;

bool Item::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(type) && ok;
    ok = out.WriteInt32(gridX) && ok;
    ok = out.WriteInt32(gridY) && ok;
    ok = out.WriteBool(inBackpack) && ok;
    ok = out.WriteBool(holdFlag) && ok;
    ok = out.WriteBool(unpaid != 0) && ok;
    ok = out.WriteBool(crafted) && ok;
    ok = out.WriteInt32(count) && ok;
    ok = out.WriteBool(stackable != 0) && ok;
    return ok;
}

uint32_t Item::GetClassHash() { return GetRegisteredClassHash("Item"); }
int32_t Item::GetClassIndex() { return GetRegisteredClassIndex("Item"); }

void Item::CopyStateFrom(GameObj* other) {
    if (Item* item = dynamic_cast<Item*>(other)) unpaid = item->unpaid;
}

std::string Item::GetDescription() {
    return DefinitionDescription();
}

int32_t Item::GetValue() {
    const int32_t price = def != nullptr ? def->price : 100;
    return stackable != 0 ? SaturatingProduct(price, count) : price;
}

int32_t Item::Use() {
    return UseOn(CurrentPlayer, CurrentPlayer);
}

void Item::LeaveLevel() {
    if (cell != nullptr) cell->RemoveObject(this);
    cell = nullptr;
    if (level != nullptr) level->RemoveObject(this);
    level = nullptr;
}

int32_t Item::Activate() {
    if (inBackpack) return 0;
    const SDLMod mods = LoggedGetModState();
    const bool shift = (mods & KMOD_SHIFT) != 0;
    bool leaves = true;
    if (shift != (AutoClick != 0)) {
        if (!AddItemToInventory(this, 0)) return 0;
        PlaySFX(pickUpSound.c_str());
    } else if (GetCursorItem() != nullptr) {
        return 0;  // the hand is full: what it holds is never dropped for this
    } else if ((mods & KMOD_ALT) != 0) {
        Item* self = this;
        TakeOneFromStack(&self);
        leaves = self == nullptr;  // the whole stack went onto the cursor
    } else {
        SetCursorItem(this);
        PlaySFX(pickUpSound.c_str());
    }
    if (leaves) LeaveLevel();
    if (GetItemName() == "Shield of Caketown") PlaySFX("caketown");
    if (unpaid != 0 && CurrentLevel != nullptr) CurrentLevel->UpdateShopkeeperPositions();
    if (TutorialFlag) NotifyTutorial(8, 0);
    return 1;
}

void Item::PlayerEntered() {
    if (AutoLoot == 0 || !IsAutoPickupEnabled() || inBackpack) return;
    if (!AddItemToInventory(this, 0)) return;
    QueueObjectMove(this, 0, 0, nullptr);
    PlaySFX(pickUpSound.c_str());
    if (unpaid != 0 && CurrentLevel != nullptr) CurrentLevel->UpdateShopkeeperPositions();
}

void Item::Draw(const MapView& view) {
    if (inBackpack) return;
    GameObj::Draw(view);
    if (MTOneChanceIn(20)) SpawnGlint(x, y, nullptr);
}

void Item::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    if (quest == nullptr || zoom < 0 || zoom >= kItemMinimapZoomCount) return;
    if (Sprite* mark = MinimapQuestItemMarks[zoom]) mark->DrawFrame(px, py, 0);
}

void Item::SetIcon(const std::string& fileName) {
    if (fileName.empty()) return;
    iconSprite = SpriteMgr_Find(fileName.c_str());
    if (iconSprite == nullptr) {
        // The item database reports missing icon files once when it loads.
        const std::string file = GetResourceFilename(fileName);
        iconSprite = VfsExists(file) ? SpriteMgr_GetOrLoadPNG(fileName.c_str(), file.c_str(), 0) : MissingIconSprite();
    }
    const std::string cursorName = fileName + "_cursor";
    cursorSprite = SpriteMgr_Find(cursorName.c_str());
    if (cursorSprite == nullptr) {
        const std::string file = GetResourceFilename(fileName);
        cursorSprite = VfsExists(file) ? SpriteMgr_GetOrLoadPNG(cursorName.c_str(), file.c_str(), 0) : MissingIconSprite();
    }
    bob.SetSprite(iconSprite);
    bob.playing = false;
}

void Item::ShowDefinitionIcon() {
    if (def == nullptr) return;
    if (def->iconGeneration == SpriteMgr_Generation() && def->iconSprite != nullptr) {
        iconSprite = def->iconSprite;
        cursorSprite = def->cursorSprite;
        bob.SetSprite(iconSprite);
        bob.playing = false;
    } else {
        SetIcon(def->iconFile);
        def->iconSprite = iconSprite;
        def->cursorSprite = cursorSprite;
        def->iconGeneration = SpriteMgr_Generation();
    }
    if (bob.sprite != nullptr && def->iconNo >= 0 && def->iconNo < bob.sprite->frameCount) bob.frame = def->iconNo;
}

std::string Item::GetItemName() const {
    return "MISC BUG";
}

std::string Item::DefinitionName() const {
    std::string text = def != nullptr ? def->name : std::string();
    if (count >= 2) text += "(" + std::to_string(count) + ")";
    return text;
}

std::string Item::DefinitionDescription() const {
    return def != nullptr ? def->description : std::string();
}

const ItemDef* ReadItemDefinition(SaveReader& in, Item* item, const ItemDef* (*byPosition)(int32_t), bool trimName) {
    const ItemDef* def = nullptr;
    std::string label;
    if (in.version.AtLeast(kSaveV1_0_3)) {
        label = in.ReadString();
        if (trimName) {
            while (!label.empty() && (label.back() == ' ' || label.back() == '\t' || label.back() == '\n' ||
                                      label.back() == '\r')) {
                label.pop_back();
            }
        }
        def = FindItemDefByName(label);
    } else {
        const int32_t position = in.ReadInt32();
        label = "#" + std::to_string(position);
        def = byPosition != nullptr ? byPosition(position) : nullptr;
    }
    if (def == nullptr && !in.Failed()) {
        std::printf("unknown item definition '%s'\n", label.c_str());
        item->dropAfterLoad = true;
    }
    item->def = def;
    if (def != nullptr) item->subtype = def->index;
    item->ShowDefinitionIcon();
    return def;
}

bool WriteItemDefinition(SaveWriter& out, const Item* item) {
    return out.WriteString(item->def != nullptr ? item->def->name : std::string());
}
