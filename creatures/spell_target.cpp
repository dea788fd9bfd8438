// The shapes of area casts (burst, cone, area, maneuver template) and the animated burst,
// cone and beam casts that end by applying the spell to the squares they cover.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "creatures/hittable.h"
#include "creatures/maneuver.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "levels/level.h"
#include "levels/tile_effects.h"
#include "media/bob.h"
#include "media/effect_animation.h"
#include "media/sprite.h"

namespace {

bool OnLevel(int32_t x, int32_t y) { return CurrentLevel != nullptr && CurrentLevel->IsInside(x, y); }

void AddIfOnLevel(SquareList& squares, int32_t x, int32_t y) {
    if (OnLevel(x, y)) squares.emplace_back(x, y);
}

// The offsets -r..r (r the radius truncated) from a centre that stay on the current level,
// one range per axis; false when none does (no level, a radius below 0 or not a number).
struct OffsetRange {
    int64_t first = 0;
    int64_t last = -1;
};

bool ClipAxis(int64_t centre, int64_t size, int64_t reach, OffsetRange* range) {
    range->first = std::max(-reach, -centre);
    range->last = std::min(reach, size - 1 - centre);
    return range->first <= range->last;
}

bool ClipOffsets(int32_t cx, int32_t cy, float radius, OffsetRange* across, OffsetRange* down) {
    const Level* level = CurrentLevel;
    if (level == nullptr || !(radius >= 0.0f)) return false;
    // No offset beyond the level's own size can land on it from a centre on or off it.
    const int64_t span = static_cast<int64_t>(level->width) + level->height + std::abs(static_cast<int64_t>(cx)) +
                         std::abs(static_cast<int64_t>(cy));
    const int64_t reach =
        static_cast<double>(radius) >= static_cast<double>(span) ? span : static_cast<int64_t>(radius);
    return ClipAxis(cx, level->width, reach, across) && ClipAxis(cy, level->height, reach, down);
}

// The numbered series of an area animation, or null when there is nothing to show.
Sprite* SeriesOrNull(const char* file, int32_t frames, int32_t first, int32_t delay) {
    if (file == nullptr || file[0] == '\0' || frames < 1) return nullptr;
    Sprite* sprite = SpriteMgr_GetOrLoadSeries(file, file, frames, first, delay, 1);
    return sprite != nullptr && sprite->frameCount > 0 ? sprite : nullptr;
}

// Plays the sprite once, drawing its current frame on every square each frame.
void PlayOverSquares(Sprite* sprite, const SquareList& squares) {
    if (sprite == nullptr) return;
    Bob bob;
    bob.SetSprite(sprite);
    bob.playing = true;
    bob.loop = false;
    BlockingLoopGuard guard;
    while (!bob.finished && guard.Running()) {
        DrawGameScreen();
        for (const auto& square : squares) DrawSpriteFrameAtTile(square.first, square.second, sprite, bob.frame);
        AdvanceFrame();
        bob.Update(guard.TakeElapsedMs());
    }
}

void ApplyToSquares(Spell* spell, const SquareList& squares, Hittable* caster) {
    for (const auto& square : squares) {
        ApplySpellEffects(spell, square.first, square.second, caster, false, nullptr, nullptr, true);
    }
}

// The beam's walk: every square it reaches in order.
SquareList BeamSquares(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool digging) {
    SquareList squares;
    const Level* level = CurrentLevel;
    WalkTileLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
        squares.emplace_back(x, y);
        return digging || level->SquareKind(x, y) != SquareType::Wall;
    });
    return squares;
}

}  // namespace

SquareList BurstSquares(int32_t cx, int32_t cy, float radius) {
    SquareList squares;
    OffsetRange across;
    OffsetRange down;
    if (!ClipOffsets(cx, cy, radius, &across, &down)) return squares;
    for (int64_t dx = across.first; dx <= across.last; ++dx) {
        for (int64_t dy = down.first; dy <= down.last; ++dy) {
            if (static_cast<float>(dx * dx + dy * dy) <= radius * radius) {
                squares.emplace_back(static_cast<int32_t>(cx + dx), static_cast<int32_t>(cy + dy));
            }
        }
    }
    return squares;
}

SquareList ConeSquares(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float range, float spread) {
    SquareList squares;
    const float dirX = static_cast<float>(x1 - x0);
    const float dirY = static_cast<float>(y1 - y0);
    const float length = std::sqrt(dirX * dirX + dirY * dirY);
    // A cone aimed at its own square has no direction and covers nothing.
    if (length <= 0.0f) return squares;
    const float ux = dirX / length;
    const float uy = dirY / length;
    OffsetRange across;
    OffsetRange down;
    if (!ClipOffsets(x0, y0, range, &across, &down)) return squares;
    for (int64_t i = across.first; i <= across.last; ++i) {
        for (int64_t j = down.first; j <= down.last; ++j) {
            const float d = std::sqrt(static_cast<float>(i * i + j * j));
            if (d <= 0.0f || d > range + 1.0f) continue;
            if ((static_cast<float>(i) / d) * ux + (static_cast<float>(j) / d) * uy > spread) {
                squares.emplace_back(static_cast<int32_t>(x0 + i), static_cast<int32_t>(y0 + j));
            }
        }
    }
    return squares;
}

SquareList AreaSquares(int32_t cx, int32_t cy, int32_t radius) {
    SquareList squares;
    const Level* level = CurrentLevel;
    if (level == nullptr) return squares;
    const int64_t limit = static_cast<int64_t>(radius) * radius;
    // Only the squares within the radius can count; the box keeps the walk small.
    const int32_t reach = std::abs(radius);
    for (int32_t i = std::max(0, cx - reach); i < level->width && i <= cx + reach; ++i) {
        for (int32_t j = std::max(0, cy - reach); j < level->height && j <= cy + reach; ++j) {
            const int64_t dx = i - cx;
            const int64_t dy = j - cy;
            if (dx * dx + dy * dy < limit) squares.emplace_back(i, j);
        }
    }
    return squares;
}

SquareList TemplateSquares(const Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY,
                           int32_t facing) {
    SquareList squares;
    if (spell == nullptr) return squares;
    const ManeuverTemplate* shape = FindManeuverTemplate(spell->templateID);
    if (shape == nullptr) return squares;
    int32_t ox = -1;
    int32_t oy = -1;
    for (int32_t row = 0; row < shape->height && ox < 0; ++row) {
        for (int32_t col = 0; col < shape->width; ++col) {
            if (shape->At(col, row) == 2) {
                ox = col;
                oy = row;
                break;
            }
        }
    }
    if (ox < 0) return squares;
    const int32_t bx = spell->anchored == 1 ? casterX : targetX;
    const int32_t by = spell->anchored == 1 ? casterY : targetY;
    const int32_t turn = spell->anchored == 0 ? 2 : facing;
    for (int32_t col = 0; col < shape->width; ++col) {
        for (int32_t row = shape->height - 1; row >= 0; --row) {
            const uint8_t code = shape->At(col, row);
            if (code != 1 && !(code == 2 && shape->affectsPlayer != 0)) continue;
            int32_t x = bx + col - ox;
            int32_t y = by + row - oy;
            if (turn == 3) {
                x = bx + oy - row;
                y = by + col - ox;
            } else if (turn == 0) {
                y = by + oy - row;
            } else if (turn == 1) {
                x = bx + row - oy;
                y = by + col - ox;
            }
            AddIfOnLevel(squares, x, y);
        }
    }
    return squares;
}

void CastBurstSpell(int32_t cx, int32_t cy, float radius, const char* file, int32_t frames, int32_t delay,
                    Spell* spell, Hittable* caster) {
    const SquareList squares = BurstSquares(cx, cy, radius);
    PlayOverSquares(SeriesOrNull(file, frames, 1, delay), squares);
    ApplyToSquares(spell, squares, caster);
    StartQueuedAnimations();
}

void CastConeSpell(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float range, float spread, const char* file,
                   int32_t frames, int32_t delay, Spell* spell, Hittable* caster) {
    const SquareList squares = ConeSquares(x0, y0, x1, y1, range, spread);
    PlayOverSquares(SeriesOrNull(file, frames, 0, delay), squares);
    ApplyToSquares(spell, squares, caster);
    StartQueuedAnimations();
}

void CastBeamSpell(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const char* file, int32_t frames, int32_t delay,
                   Spell* spell, Hittable* caster) {
    if (spell == nullptr || CurrentLevel == nullptr) return;
    if (x0 == x1 && y0 == y1) {
        PlayEffectAtTile(x0, y0, file, frames, delay, false, false);
        ApplySpellEffects(spell, x0, y0, caster, false, nullptr, nullptr, true);
        return;
    }
    const bool digging = spell->targetType == SpellTarget::DiggingBeam;
    // The walk is taken once: the picture covers the squares the spell then reaches.
    const SquareList squares = BeamSquares(x0, y0, x1, y1, digging);
    PlayOverSquares(SeriesOrNull(file, frames, 0, delay), squares);
    ApplyToSquares(spell, squares, caster);
    StartQueuedAnimations();
    if (digging && SpellLevel.rebuildGraphics != nullptr) {
        SpellLevel.rebuildGraphics(CurrentLevel, std::min(x0, x1) - 1, std::min(y0, y1) - 1, std::max(x0, x1) + 1,
                                   std::max(y0, y1) + 1);
    }
}
