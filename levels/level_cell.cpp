#include "levels/level_cell.h"

#include <algorithm>
#include <unordered_set>

#include "levels/game_obj.h"
#include "media/bob.h"

namespace {

// Every Bob that some square owns as a decoration: a Bob has one owner at most.
std::unordered_set<const Bob*>& OwnedDecorations() {
    static std::unordered_set<const Bob*> owned;
    return owned;
}

}  // namespace

bool IsWalkableSquareType(int32_t kind) {
    switch (kind) {
        case SquareType::Floor:
        case SquareType::StairsUp:
        case SquareType::StairsDown:
        case SquareType::FloorVariant:
        case SquareType::Door:
        case SquareType::ShopFloor:
        case SquareType::ZooFloor:
            return true;
        default:
            return false;
    }
}

bool IsPlainFloorType(int32_t kind) { return kind == SquareType::Floor; }

bool IsLiquidSquareType(int32_t kind) {
    return kind == SquareType::Water || kind == SquareType::Lava || kind == SquareType::Goo ||
           kind == SquareType::Ice;
}

LevelCell::LevelCell() = default;

LevelCell::~LevelCell() {
    for (SpellMine* mine : mines) delete mine;
    mines.clear();
    // Owned decorations go first: each one's destructor unlinks it from every square.
    std::vector<Bob*> owned;
    owned.swap(decorations);
    for (Bob* bob : owned) {
        OwnedDecorations().erase(bob);
        delete bob;
    }
    // A Bob still linked here (owned elsewhere) must not keep a pointer to a square that
    // is gone.
    for (Bob* bob : bobs) bob->ForgetList(&bobs);
    bobs.clear();
    // Objects are owned by the level; only forget them.
    for (GameObj* obj : contents) {
        if (obj->cell == this) obj->cell = nullptr;
    }
    contents.clear();
}

void LevelCell::RemoveObject(GameObj* obj) {
    auto found = std::find(contents.begin(), contents.end(), obj);
    if (found != contents.end()) contents.erase(found);
    if (obj != nullptr && obj->cell == this) obj->cell = nullptr;
}

bool LevelCell::AdoptDecoration(Bob* bob) {
    if (bob == nullptr) return false;
    if (!OwnedDecorations().insert(bob).second) return false;
    decorations.push_back(bob);
    bob->LinkInto(&bobs);
    return true;
}

bool LevelCell::OwnsDecoration(const Bob* bob) const {
    return std::find(decorations.begin(), decorations.end(), bob) != decorations.end();
}

int32_t LevelCell::ReapFinishedDecorations() {
    int32_t reaped = 0;
    for (size_t i = 0; i < decorations.size();) {
        Bob* bob = decorations[i];
        if (bob->deleteWhenDone && bob->finished) {
            decorations.erase(decorations.begin() + static_cast<std::ptrdiff_t>(i));
            OwnedDecorations().erase(bob);
            delete bob;  // unlinks itself from every square
            ++reaped;
        } else {
            ++i;
        }
    }
    return reaped;
}
