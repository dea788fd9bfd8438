#include "items_fixtures/splat.h"

#include "items_fixtures/fixture.h"

#include <cstdio>

#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sprite.h"

FIXTURE_REGISTRATION(Splat)

namespace {

const char* const kSplatKinds[] = {"ashes", "blood", "ectoplasm", "goo", "ichor"};
constexpr int32_t kSplatKindCount = 5;
constexpr int32_t kBloodKind = 1;
// Each kind has this many pictures, "..01.png" to "..06.png".
constexpr int32_t kSplatVariantCount = 6;

}  // namespace

int32_t SplatKindIndex(const std::string& word) {
    for (int32_t i = 0; i < kSplatKindCount; ++i) {
        if (word == kSplatKinds[i]) return i;
    }
    return kBloodKind;
}

const char* SplatKindWord(int32_t kind) {
    if (kind < 0 || kind >= kSplatKindCount) return kSplatKinds[kBloodKind];
    return kSplatKinds[kind];
}

uint32_t SplatClassHash() { return GetRegisteredClassHash("Splat"); }

bool SquareHasSplat(const Level* level, int32_t x, int32_t y) {
    if (level == nullptr) return false;
    const uint32_t splatKey = SplatClassHash();
    if (IsQueuedMoveTarget(level, x, y, splatKey)) return true;
    const LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->GetClassHash() == splatKey) return true;
    }
    return false;
}

Splat::Splat(Level*, const std::string& kindWord, int32_t variantNumber)
    : kind(SplatKindIndex(kindWord)), variant(variantNumber) {
    blocksMovement = 0;
    blocksSight = 0;
    RefreshPicture();
}

Splat::Splat(SaveReader& in) : GameObj(in) {
    kind = in.ReadInt32InRange(0, kSplatKindCount - 1, "a splat's kind");
    variant = in.ReadInt32InRange(0, kSplatVariantCount - 1, "a splat's variant");
    RefreshPicture();
}

Splat::~Splat() { std::printf("deleting a splat\n"); }

bool Splat::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(kind) && ok;
    return out.WriteInt32(variant) && ok;
}


void Splat::Destroy() { QueueObjectDeletion(this); }

std::string Splat::PictureName() const {
    return std::string("dungeon/mess_") + SplatKindWord(kind) + "0" + std::to_string(variant + 1) + ".png";
}

void Splat::RefreshPicture() {
    anchorMode = 1;
    drawLayer = 0;  // under every other object of the square
    const std::string picture = PictureName();
    Sprite* sprite = SpriteMgr_GetOrLoad(picture.c_str(), picture.c_str(), "", 0, 0, 0);
    if (sprite != nullptr) {
        bob.SetSprite(sprite);
        bob.loop = true;
        bob.playing = true;
    }
}
