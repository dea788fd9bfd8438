#include "levels/level_cell.h"

#include <algorithm>
#include <utility>

#include "levels/game_obj.h"
#include "media/bob.h"

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

LevelCell::LevelCell() = default;

LevelCell::~LevelCell() {
    for (SpellMine* mine : mines) delete mine;
    mines.clear();
    // Owned decorations go first: each one's destructor unlinks it from every square.
    std::vector<std::unique_ptr<Bob>> owned;
    owned.swap(decorations);
    owned.clear();
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

Bob* LevelCell::AdoptDecoration(std::unique_ptr<Bob> bob) {
    if (bob == nullptr) return nullptr;
    Bob* adopted = bob.get();
    decorations.push_back(std::move(bob));
    adopted->LinkInto(&bobs);
    return adopted;
}

bool LevelCell::OwnsDecoration(const Bob* bob) const {
    for (const std::unique_ptr<Bob>& owned : decorations) {
        if (owned.get() == bob) return true;
    }
    return false;
}

int32_t LevelCell::ReapFinishedDecorations() {
    int32_t reaped = 0;
    for (size_t i = 0; i < decorations.size();) {
        const Bob* bob = decorations[i].get();
        if (bob->deleteWhenDone && bob->finished) {
            // Taken out of the list first: its destructor unlinks it from every square.
            std::unique_ptr<Bob> done = std::move(decorations[i]);
            decorations.erase(decorations.begin() + static_cast<std::ptrdiff_t>(i));
            done.reset();
            ++reaped;
        } else {
            ++i;
        }
    }
    return reaped;
}
