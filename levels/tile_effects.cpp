#include "levels/tile_effects.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "interface/ui_services.h"
#include "levels/level.h"
#include "levels/map_view.h"
#include "media/bob.h"
#include "media/effect_animation.h"
#include "media/sprite.h"

namespace {

constexpr int32_t kLineSubSteps = 100;

// Whole square of a coordinate computed in floating point; the small lift keeps 5.9999 from
// a division that should give 6 on square 6.
int32_t WholeSquare(double v) { return static_cast<int32_t>(std::floor(v + 1e-6)); }

// Half-up rounding of a coordinate of a line walk.
int32_t RoundHalfUp(double v) { return static_cast<int32_t>(std::floor(v + 0.5)); }

bool StopsFlight(const Level* level, int32_t x, int32_t y) {
    return level->IsSquareBlocked(x, y, false, true) || level->SquareKind(x, y) == SquareType::Wall;
}

// A series with a ".png" name is one picture whatever its frame count.
bool HasFrames(const char* file, int frameCount) {
    if (frameCount >= 1) return true;
    const size_t length = std::strlen(file);
    return length >= 4 && std::strcmp(file + length - 4, ".png") == 0;
}

}  // namespace

void DrawSpriteFrameAtTile(int32_t tileX, int32_t tileY, Sprite* sprite, int32_t frame) {
    if (sprite == nullptr) return;
    const MapView& view = PlayScreenCamera();
    const int32_t sx = (tileX - view.originX) * view.tileWidth - sprite->width / 2 + view.tileWidth / 2 - view.pixelX;
    const int32_t sy = (tileY - view.originY + 1) * view.tileWidth - sprite->height - view.pixelY;
    sprite->DrawFrame(sx, sy, frame);
}

void PlayEffectAtTile(int tileX, int tileY, const char* file, int frameCount, int delayMs, bool centreVertically,
                      bool wait) {
    Level* level = CurrentLevel;
    if (level == nullptr || file == nullptr || file[0] == '\0' || !HasFrames(file, frameCount)) return;
    const LevelCell* cell = level->GetCell(tileX, tileY);
    if (cell == nullptr || !cell->HasFlag(SquareFlag::Visible)) return;
    Sprite* sprite = SpriteMgr_GetOrLoadSeries(file, file, frameCount, 0, delayMs, 1);
    if (sprite == nullptr) return;
    std::unique_ptr<Bob> bob(new Bob());
    bob->SetSprite(sprite);
    bob->playing = true;
    bob->loop = false;
    bob->finished = false;
    bob->centreVertically = centreVertically;
    if (!wait) {
        bob->deleteWhenDone = true;
        level->AdoptEffectBob(std::move(bob), tileX, tileY);
        return;
    }
    LinkBobToTile(bob.get(), tileX, tileY);
    BlockingLoopGuard guard;
    while (sprite->frameCount > 0 && !bob->finished && guard.Running()) {
        DrawGameScreen();
        AdvanceFrame();
    }
}

void MissilePathStep(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t step, int32_t* outX, int32_t* outY) {
    const int32_t dx = x1 - x0;
    const int32_t dy = y1 - y0;
    const bool alongX = std::abs(dx) > std::abs(dy);
    const int32_t major = alongX ? dx : dy;
    const int32_t minor = alongX ? dy : dx;
    const int32_t dir = major >= 0 ? 1 : -1;
    const double minorAt = major == 0 ? 0.0 : static_cast<double>(minor) * step / std::abs(major);
    if (alongX) {
        *outX = x0 + dir * step;
        *outY = WholeSquare(y0 + minorAt);
    } else {
        *outX = WholeSquare(x0 + minorAt);
        *outY = y0 + dir * step;
    }
}

void PlaceBobAtMapPoint(Bob& bob, const MapView& view, double px, double py) {
    bob.x = static_cast<int32_t>(view.tileWidth * px - (view.originX * view.tileWidth + view.pixelX)) -
            bob.FrameWidth() / 2 + view.tileWidth / 2;
    bob.y = static_cast<int32_t>(view.tileHeight * py - (view.originY * view.tileHeight + view.pixelY)) -
            bob.FrameHeight() / 2 + view.tileHeight / 2;
}

void AnimateMissile(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t* outX, int32_t* outY, Sprite* sprite) {
    int32_t stopX = x1;
    int32_t stopY = y1;
    Level* level = CurrentLevel;
    const int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    if (level != nullptr && steps > 0) {
        const MapView& view = PlayScreenCamera();
        Bob bob;
        bob.SetSprite(sprite);
        bob.playing = true;
        bob.loop = true;
        int32_t done = 0;
        // Points of the flight as floats: the current square and the next one.
        auto point = [&](int32_t k, double* px, double* py) {
            const int32_t dx = x1 - x0;
            const int32_t dy = y1 - y0;
            if (std::abs(dx) > std::abs(dy)) {
                *px = x0 + (dx >= 0 ? k : -k);
                *py = y0 + static_cast<double>(dy) * k / std::abs(dx);
            } else {
                *px = x0 + static_cast<double>(dx) * k / std::abs(dy);
                *py = y0 + (dy >= 0 ? k : -k);
            }
        };
        double cx = x0, cy = y0, nx = 0.0, ny = 0.0;
        point(1, &nx, &ny);
        float t = 0.0f;
        BlockingLoopGuard guard;
        stopX = x0;
        stopY = y0;
        while (guard.Running()) {
            DrawGameScreen();
            const double px = cx * (1.0 - t) + nx * t;
            const double py = cy * (1.0 - t) + ny * t;
            PlaceBobAtMapPoint(bob, view, px, py);
            bob.Draw();
            AdvanceFrame();
            bob.Update(guard.TakeElapsedMs());
            t += 0.8f;
            if (t < 1.0f) continue;
            t = 0.0f;
            ++done;
            cx = nx;
            cy = ny;
            point(done + 1, &nx, &ny);
            int32_t tx = 0;
            int32_t ty = 0;
            MissilePathStep(x0, y0, x1, y1, done, &tx, &ty);
            stopX = tx;
            stopY = ty;
            if (StopsFlight(level, tx, ty) || done >= steps) break;
        }
    }
    if (outX != nullptr) *outX = stopX;
    if (outY != nullptr) *outY = stopY;
}

void WalkTileLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const std::function<bool(int32_t, int32_t)>& visit) {
    const Level* level = CurrentLevel;
    int32_t lastX = x0;
    int32_t lastY = y0;
    for (int32_t i = 1; i <= kLineSubSteps; ++i) {
        const int32_t tx = RoundHalfUp(x0 + static_cast<double>(x1 - x0) * i / kLineSubSteps);
        const int32_t ty = RoundHalfUp(y0 + static_cast<double>(y1 - y0) * i / kLineSubSteps);
        if (tx == lastX && ty == lastY) continue;
        lastX = tx;
        lastY = ty;
        if (level == nullptr || !level->IsInside(tx, ty)) return;
        if (!visit(tx, ty)) return;
        if (tx == x1 && ty == y1) return;
    }
}

void AnimateExplosionLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const Level* level = CurrentLevel;
    if (level == nullptr) return;
    Sprite* sprite = SpriteMgr_GetOrLoad("sprites/sfx/explode.spr");
    if (sprite == nullptr || sprite->frameCount == 0) return;
    Bob bob;
    bob.SetSprite(sprite);
    bob.playing = true;
    bob.loop = false;
    BlockingLoopGuard guard;
    while (!bob.finished && guard.Running()) {
        DrawGameScreen();
        WalkTileLine(x0, y0, x1, y1, [&](int32_t tx, int32_t ty) {
            DrawSpriteFrameAtTile(tx, ty, sprite, bob.frame);
            return !StopsFlight(level, tx, ty);
        });
        AdvanceFrame();
        bob.Update(guard.TakeElapsedMs());
    }
}
