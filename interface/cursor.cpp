#include "interface/cursor.h"

#include <SDL.h>

#include "core/input_log.h"
#include "media/screen.h"
#include "items_fixtures/item.h"
#include "media/sprite.h"

Bob CursorBob;
bool CursorVisible = true;

void UpdateMouseCursor() {
    SDL_PumpEvents();
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    Sprite* pointer = CurrentCursor != nullptr ? CurrentCursor : CursorSprite;
    if (pointer != nullptr) CursorBob.SetSprite(pointer);
    CursorBob.x = mx;
    CursorBob.y = my;
    CursorBob.Draw();
}

void DrawCursorItem(Item* item, int32_t x, int32_t y) {
    if (item == nullptr) return;
    Sprite* picture = item->bob.sprite;
    if (picture != nullptr) picture->DrawFrame(x, y, item->bob.frame);
    if (CursorCornerSprite != nullptr) CursorCornerSprite->DrawFrame(x, y, 0);
}
