#include "media/bob.h"

#include <algorithm>

#include "levels/level.h"

int32_t AnimationSpeedDivisor = 1;

Bob::Bob() = default;

Bob::~Bob() { UnlinkFromTiles(); }

void Bob::SetSprite(Sprite* newSprite) {
    if (locked || newSprite == sprite) return;
    sprite = newSprite;
    finished = false;
    frame = 0;
    frameTimer = 0;
}

void Bob::Update(int32_t elapsedMs) {
    if (sprite == nullptr || !playing) return;
    frameTimer += elapsedMs;
}

void Bob::Draw() {
    if (sprite == nullptr) return;
}

void Bob::DrawOutline() {}

int32_t Bob::FrameWidth() const { return 0; }

int32_t Bob::FrameHeight() const { return 0; }

void Bob::LinkToTile(int32_t tileX, int32_t tileY) {
    if (CurrentLevel == nullptr) return;
    LevelCell* cell = CurrentLevel->GetCell(tileX, tileY);
    if (cell == nullptr) return;
    cell->bobs.push_back(this);
    linkedCells.push_back(cell);
}

void Bob::UnlinkFromTiles() {
    for (LevelCell* cell : linkedCells) {
        cell->bobs.erase(std::remove(cell->bobs.begin(), cell->bobs.end(), this), cell->bobs.end());
    }
    linkedCells.clear();
}
