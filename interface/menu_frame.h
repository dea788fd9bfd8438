#pragma once
// The frame machinery shared by every full-screen menu screen (title menu, load, high scores,
// death, victory, intro, quit, new game, skills, tutorials, credits).
//
// A running menu screen composes its whole picture on MenuBackground, a screen-sized surface
// in the screen's format. Only the rectangles queued in MenuDirtyRects are copied from it to
// the screen surface at the end of a frame (PresentMenuFrame), which also draws the mouse
// pointer in software, presents the frame and waits a little. Only one menu screen runs at a
// time; each creates the background on entry and frees it on exit.
#include <SDL.h>

#include <cstdint>
#include <vector>

// The composed picture of the running menu screen; null between screens.
extern SDL_Surface* MenuBackground;
// A copy of MenuBackground before the screen's changing parts were drawn (screens that
// restore parts of their picture); null when unused.
extern SDL_Surface* MenuCleanBackground;
// Rectangles to copy from MenuBackground to the screen at the next frame ends.
extern std::vector<SDL_Rect> MenuDirtyRects;
// How many more frame ends copy the queued rectangles (0: they are copied once).
extern int32_t MenuDirtyFrames;

// The screen size menus lay themselves out in: the screen surface's, 1280 x 720 without one.
int32_t MenuScreenWidth();
int32_t MenuScreenHeight();

// A copy of the surface in the screen surface's format, without alpha (opaque copies blit
// fastest); a plain 32-bit copy while there is no screen surface. Null for a null surface.
// The caller owns the copy; the source is left alone.
SDL_Surface* ConvertToScreenFormat(SDL_Surface* surface);
// Replaces the surface by the copy ConvertToScreenFormat makes, freeing it; a 32-bit picture
// is converted where its pixels lie, so that the two never take memory at once. Left alone
// when no copy can be made.
void ReplaceByScreenFormat(SDL_Surface*& surface);
// A new, black, screen-sized surface in the screen format. The caller owns it.
SDL_Surface* CreateScreenSizedSurface();

// A picture for a menu screen, through the resource name lookup and the image loader. When
// the picture cannot be read a diagnostic is printed and, when fallbackWidth is positive, a
// plain stand-in box of that size (with the label written on it) is returned instead, so the
// screen stays usable; otherwise null. The caller owns the surface.
SDL_Surface* LoadMenuPicture(const char* name, int fallbackWidth = 0, int fallbackHeight = 0,
                             const char* fallbackLabel = nullptr);
// What LoadMenuPicture gives for a picture that could not be read: the diagnostic, then the
// stand-in box (or null without a size).
SDL_Surface* MenuPictureStandIn(const char* name, int fallbackWidth, int fallbackHeight,
                                const char* fallbackLabel = nullptr);

// The standard backdrop: stone tiles, the painting frame in the middle, the top bar along the
// top, the title centred along the top and the picture centred on the screen (each when
// named). A new 32-bit screen-sized surface that the caller owns.
SDL_Surface* DrawMenuBackground(const char* picture, const char* title);
// The backdrop with the top bar drawn a second time and the title along the top.
SDL_Surface* MakeTitledMenuBackground(const char* title);

// Sets MenuBackground (and, when wanted, MenuCleanBackground) from a backdrop, converted to
// the screen format. The backdrop is left to the caller. False when no copy could be made.
bool SetMenuBackgrounds(SDL_Surface* backdrop, bool withCleanCopy);
// Frees both backgrounds and empties the queue.
void FreeMenuBackgrounds();

// Queues a rectangle of MenuBackground for the next frame ends.
void QueueMenuRect(const SDL_Rect& rect);
// Copies the whole of MenuBackground to the screen surface.
void CopyMenuBackgroundToScreen();
// Copies the whole of MenuBackground to the screen surface and presents it, `times` times.
void ShowWholeMenuBackground(int times);

// Ends one frame of a menu screen: copies the queued rectangles, draws the pointer, presents
// the frame and waits 10 ms.
void PresentMenuFrame();
// Erases the pointer of the earlier frames from the screen and draws it at its position.
void DrawMenuPointer();
// Forgets where the pointer was drawn (the trail starts at 0, 0).
void ResetMenuPointerTrail();

// Takes every pending event and drops it.
void DiscardPendingEvents();
