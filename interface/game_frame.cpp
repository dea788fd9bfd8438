// The in-game frame: the whole play screen drawn, then every animation moved on.
#include "interface/game_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "levels/game_obj.h"
#include "core/input_log.h"
#include "media/screen.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/cursor.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "interface/play_tooltips.h"
#include "items_fixtures/inventory.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/level_draw.h"
#include "media/bob.h"
#include "media/eye_candy.h"
#include "media/speech_lines.h"
#include "media/image.h"
#include "media/sprite.h"
#include "media/sprite_draw_list.h"

Uint32 FrameStartTicks = 0;
int32_t FrameElapsedMs = 0;
int32_t IdleMs = 0;
int32_t& InputIdleMs = IdleMs;
int32_t ZooBannerMs = 0;
SDL_Surface* ZooBannerImage = nullptr;
bool TooltipSlotFree = true;
bool MenuBarHover = false;

namespace {

std::vector<Bob*>& SharedBobs() {
    static std::vector<Bob*> bobs;
    return bobs;
}

// Whole pixels of a drawing offset, truncated toward zero; offsets that are not numbers or
// lie far beyond any screen count as 0 or as a large bound.
int64_t TruncateOffset(float offset) {
    if (std::isnan(offset)) return 0;
    const float bound = 1.0e7f;
    return static_cast<int64_t>(std::max(-bound, std::min(bound, offset)));
}

// One axis of the camera: the cell and the pixel offset into it.
void SplitCameraAxis(int64_t pixels, int32_t tile, int32_t* cell, int32_t* pixel) {
    if (pixels < 0 || tile <= 0) {
        *cell = 0;
        *pixel = 0;
        return;
    }
    int64_t c = pixels / tile;
    int64_t r = pixels % tile;
    if (r > 0 && (r % 2) != 0) --r;
    c = std::min<int64_t>(c, std::numeric_limits<int32_t>::max());
    *cell = static_cast<int32_t>(c);
    *pixel = static_cast<int32_t>(r);
}

// The game-over picture, loaded the first time a dead hero is shown; kept for the process.
SDL_Surface* GameOverPicture() {
    static SDL_Surface* picture = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        picture = LoadImage("ui/gameover.png");
    }
    return picture;
}

// Fills the surface (within its clip rectangle) with colour 0. A whole unclipped surface is
// cleared row by row with memset, which is several times faster than the general fill.
void ClearToBlack(SDL_Surface* surface) {
    const SDL_Rect& clip = surface->clip_rect;
    const bool whole = clip.x == 0 && clip.y == 0 && clip.w == surface->w && clip.h == surface->h;
    if (!whole || SDL_MUSTLOCK(surface) || surface->pixels == nullptr) {
        SDL_FillRect(surface, nullptr, 0);
        return;
    }
    const size_t rowBytes = static_cast<size_t>(surface->w) * surface->format->BytesPerPixel;
    Uint8* row = static_cast<Uint8*>(surface->pixels);
    if (rowBytes == static_cast<size_t>(surface->pitch)) {
        std::memset(row, 0, rowBytes * static_cast<size_t>(surface->h));
        return;
    }
    for (int y = 0; y < surface->h; ++y, row += surface->pitch) std::memset(row, 0, rowBytes);
}

void BlitCentred(SDL_Surface* picture, int32_t cx, int32_t cy) {
    if (picture == nullptr) return;
    SDL_Rect at;
    at.x = static_cast<Sint16>(cx - picture->w / 2);
    at.y = static_cast<Sint16>(cy - picture->h / 2);
    at.w = 0;
    at.h = 0;
    SDL_BlitSurface(picture, nullptr, ScreenSurface, &at);
}

void StepTile(BranchTileRange& tile, int32_t elapsedMs) {
    const int32_t count = tile.numframes;
    const int32_t delay = tile.framerate;
    if (count < 1 || delay <= 0 || elapsedMs <= 0) return;
    if (tile.frame < 0 || tile.frame >= count) tile.frame = 0;
    if (tile.frameStep != 1 && tile.frameStep != -1) tile.frameStep = 1;
    int64_t timer = static_cast<int64_t>(tile.frameTimer) + elapsedMs;
    // Whole cycles bring a tile back to where it was: drop all but one of them.
    const int64_t cycleSteps = tile.pingpong ? 2 * std::max(1, count - 1) : count;
    const int64_t cycle = cycleSteps * delay;
    if (timer > cycle) timer -= (timer / cycle - 1) * cycle;
    while (timer > delay) {
        timer -= delay;
        if (count == 1) continue;
        tile.frame += tile.frameStep;
        if (tile.pingpong) {
            if (tile.frame >= count - 1) {
                tile.frame = count - 1;
                tile.frameStep = -1;
            } else if (tile.frame <= 0) {
                tile.frame = 0;
                tile.frameStep = 1;
            }
        } else if (tile.frame >= count || tile.frame < 0) {
            tile.frame = 0;
        }
    }
    tile.frameTimer = static_cast<int32_t>(timer);
}

// Advances the Bobs linked to the squares of the view (one square of margin left and above,
// one or two right and below) and deletes the finished effect pictures those squares own.
void AdvanceViewBobs(Level& level, int32_t elapsedMs) {
    const int32_t tileW = Layout.view.tileWidth > 0 ? Layout.view.tileWidth : 64;
    const int32_t tileH = Layout.view.tileHeight > 0 ? Layout.view.tileHeight : 64;
    const int32_t lastDy = Layout.screenHeight / tileH + 1;
    const int32_t lastDx = Layout.screenWidth / tileW;
    for (int32_t dy = -1; dy <= lastDy; ++dy) {
        const int32_t y = Layout.view.originY + dy;
        if (y < 0 || y >= level.height) continue;
        for (int32_t dx = -1; dx <= lastDx; ++dx) {
            const int32_t x = Layout.view.originX + dx;
            if (x < 0 || x >= level.width) continue;
            LevelCell* cell = level.GetCell(x, y);
            if (cell->bobs.empty()) continue;
            for (size_t i = 0; i < cell->bobs.size(); ++i) cell->bobs[i]->Update(elapsedMs);
            // Only the pictures the square owns are deleted here; a Bob merely linked to it
            // (an object's own picture) belongs to someone else, whatever its flags say.
            if (!cell->decorations.empty()) cell->ReapFinishedDecorations();
        }
    }
}

// The glints of the view, where the camera puts them.
void DrawGlintsInView() {
    DrawGlints(Layout.view.originX, Layout.view.originY, Layout.view.pixelX, Layout.view.pixelY,
               Layout.view.tileWidth, Layout.view.tileHeight);
}

// Of the glints listed (a list of SpriteDrawCall), those that reach into the screen's clip
// rectangle, in their order: the others would leave it as it is.
void DrawListedGlintsInClip(void* list) {
    const SDL_Rect& clip = ScreenSurface->clip_rect;
    for (const SpriteDrawCall& glint : *static_cast<const std::vector<SpriteDrawCall>*>(list)) {
        const SDL_Surface* frame = glint.sprite->frames[glint.frame];
        if (glint.x < clip.x + clip.w && clip.x < glint.x + frame->w && glint.y < clip.y + clip.h &&
            clip.y < glint.y + frame->h) {
            glint.sprite->DrawFrame(glint.x, glint.y, glint.frame);
        }
    }
}

}  // namespace

MapView ComputeCamera(int32_t x, int32_t y, float offsetX, float offsetY, int32_t tileWidth,
                      int32_t tileHeight, int32_t halfViewColumns, int32_t screenHeight) {
    MapView view;
    view.tileWidth = tileWidth;
    view.tileHeight = tileHeight;
    if (tileWidth <= 0 || tileHeight <= 0) return view;
    const int64_t rows = screenHeight / tileHeight;
    const int64_t px = (static_cast<int64_t>(x) - halfViewColumns) * tileWidth +
                       TruncateOffset(offsetX) - tileWidth / 2;
    const int64_t py = (static_cast<int64_t>(y) - rows / 2 - 1) * tileHeight + TruncateOffset(offsetY);
    SplitCameraAxis(px, tileWidth, &view.originX, &view.pixelX);
    SplitCameraAxis(py, tileHeight, &view.originY, &view.pixelY);
    return view;
}

void UpdateCamera() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    Layout.view = ComputeCamera(hero->x, hero->y, hero->offsetX, hero->offsetY,
                                Layout.view.tileWidth, Layout.view.tileHeight,
                                Layout.halfViewColumns, Layout.screenHeight);
}

void DrawGameScreen() {
    FrameStartTicks = LoggedGetTicks();
    if (ScreenSurface == nullptr) return;
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (hero == nullptr || level == nullptr) {
        ClearToBlack(ScreenSurface);
        return;
    }

    UpdateCamera();
    if (GlintCount() == 0) {
        // Nothing goes between the base layer and the tops: the map comes whole (the clear
        // with it), from the picture kept since the last frame when nothing in it changed.
        level->DrawMap(Layout.view);
    } else {
        // The glints lie between the base layer and the tops: the kept map is copied and
        // only the squares under the glints are painted again, layer by layer.
        static std::vector<SpriteDrawCall> glints;
        static std::vector<SDL_Rect> areas;
        glints.clear();
        areas.clear();
        SetSpriteDrawList(&glints);
        DrawGlintsInView();
        SetSpriteDrawList(nullptr);
        for (const SpriteDrawCall& glint : glints) {
            const SDL_Surface* frame = glint.sprite->frames[glint.frame];
            if (glint.x < INT16_MIN || glint.x > INT16_MAX || glint.y < INT16_MIN || glint.y > INT16_MAX) continue;
            SDL_Rect area;
            area.x = static_cast<Sint16>(glint.x);
            area.y = static_cast<Sint16>(glint.y);
            area.w = static_cast<Uint16>(frame->w);
            area.h = static_cast<Uint16>(frame->h);
            areas.push_back(area);
        }
        DrawMapWithInlays(*level, Layout.view, areas, DrawListedGlintsInClip, &glints);
    }
    // The second pass: speech lines and health bars over what stands on visible squares.
    ClearSpeechLines();
    for (size_t i = 0; i < level->objects.size(); ++i) {
        GameObj* obj = level->objects[i];
        const LevelCell* cell = obj != nullptr ? level->GetCell(obj->x, obj->y) : nullptr;
        if (cell != nullptr && cell->HasFlag(SquareFlag::Visible)) obj->DrawOverlay(Layout.view);
    }

    // The strip behind the ticker.
    SDL_Rect strip;
    strip.x = 0;
    strip.y = 0;
    strip.w = static_cast<Uint16>(ScreenSurface->w);
    strip.h = static_cast<Uint16>(ScreenSurface->h < 768 ? 32 : 64);
    SDL_FillRect(ScreenSurface, &strip, 0);

    HudFrame frame;
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    frame.mouseX = mx;
    frame.mouseY = my;
    frame.tooltipsAllowed = true;
    if (Layout.hideInterface == 0) DrawHud(frame);

    // Once the death animation has played out.
    if (hero->dead != 0 && hero->bob.finished) {
        BlitCentred(GameOverPicture(), ScreenSurface->w / 2, 300);
    }

    DrawEyeCandy();

    if (CursorVisible) {
        Item* held = GetCursorItem();
        if (held != nullptr) {
            DrawCursorItem(held, frame.mouseX, frame.mouseY);
        } else {
            UpdateMouseCursor();
        }
        if (frame.tooltipsAllowed) ShowPlayFieldTooltips(frame.mouseX, frame.mouseY);
    }
}

void AdvanceFrame() {
    // Presented even without a screen surface: the present also moves the fixed-frame clock on,
    // which scripted input waits for.
    PresentFrame(ScreenSurface);
    const Uint32 elapsed = LoggedGetTicks() - FrameStartTicks;
    FrameElapsedMs = static_cast<int32_t>(
        std::min<Uint32>(elapsed, static_cast<Uint32>(std::numeric_limits<int32_t>::max())));
    // The idle sum stops at its largest value instead of turning negative.
    IdleMs = static_cast<int32_t>(std::min<int64_t>(
        static_cast<int64_t>(IdleMs) + FrameElapsedMs, std::numeric_limits<int32_t>::max()));

    Player* hero = CurrentPlayer;
    // A dead hero keeps his death picture however long the player waits.
    if (hero != nullptr && hero->dead == 0 && IdleMs > kLongIdleAfterMs) {
        Sprite* idle = hero->LongIdleSprite();
        if (idle == nullptr) idle = hero->IdleSpriteForFacing();
        if (idle != nullptr && hero->bob.sprite != idle) hero->bob.SetSprite(idle);
    }

    UpdateEyeCandy(static_cast<uint32_t>(FrameElapsedMs));
    UpdateGlints(static_cast<uint32_t>(FrameElapsedMs));

    if (ZooBannerMs > 0) ZooBannerMs = std::max(0, ZooBannerMs - FrameElapsedMs);

    CursorBob.Update(FrameElapsedMs);
    std::vector<Bob*>& shared = SharedBobs();
    for (size_t i = 0; i < shared.size(); ++i) shared[i]->Update(FrameElapsedMs);
    if (hero != nullptr) hero->glowBob.Update(FrameElapsedMs);
    // All mines of one spell share its picture, so they animate in step.
    for (Spell* spell : SpellList) {
        if (spell != nullptr && spell->mineSpriteRef != nullptr) spell->mineBob.Update(FrameElapsedMs);
    }

    Level* level = CurrentLevel;
    if (level != nullptr) {
        // By index: an object's animation step may add objects to the list.
        for (size_t i = 0; i < level->objects.size(); ++i) {
            GameObj* obj = level->objects[i];
            if (obj != nullptr) obj->AdvanceAnimation(FrameElapsedMs);
        }
        AdvanceViewBobs(*level, FrameElapsedMs);
        AdvanceBranchTileAnimations(level->GetBranchRecord(), FrameElapsedMs);
    }

    TooltipSlotFree = true;
}

void ResetFrameClock() {
    FrameStartTicks = LoggedGetTicks();
}

void RegisterSharedBob(Bob* bob) {
    if (bob == nullptr) return;
    std::vector<Bob*>& shared = SharedBobs();
    if (std::find(shared.begin(), shared.end(), bob) == shared.end()) shared.push_back(bob);
}

void UnregisterSharedBob(Bob* bob) {
    std::vector<Bob*>& shared = SharedBobs();
    shared.erase(std::remove(shared.begin(), shared.end(), bob), shared.end());
}

void AdvanceBranchTileAnimations(BranchRecord* branch, int32_t elapsedMs) {
    if (branch == nullptr || elapsedMs <= 0) return;
    for (auto& entry : branch->tiles) StepTile(entry.second, elapsedMs);
    for (BranchTileRange& tile : branch->floors) StepTile(tile, elapsedMs);
    for (BranchTileRange& tile : branch->wallDecor) StepTile(tile, elapsedMs);
}
