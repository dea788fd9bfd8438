#pragma once
// Showing the finished frame through one OpenGL texture ("-opengl").
//
// The game always draws into its software screen surface (32 bits, bytes R, G, B, unused in
// memory order, rows packed). In OpenGL mode each presented frame is uploaded into one
// texture of the screen's size and drawn as a quad over the whole window. OpenGL is reached
// only through SDL_GL_GetProcAddress; no OpenGL library is linked.
//
// When an entry point cannot be fetched or the screen texture cannot be made, the window is
// set again as a plain SDL window of the same size and frames are blitted and flipped there.
#include <SDL.h>

#include <string>

// Called once right after the OpenGL video mode is set. True when frames will go through
// OpenGL; false when it fell back to the SDL window (a line says why).
bool InitOpenGLPresent();
// Shows one finished frame of the screen surface (upload, quad, buffer swap; or the fallback
// blit and flip).
void PresentScreenOpenGL(SDL_Surface* screen);

#if defined(_WIN32)
#define VAULTMERE_GLAPI __stdcall
#else
#define VAULTMERE_GLAPI
#endif

// glGetError's shape.
typedef unsigned int(VAULTMERE_GLAPI* GlGetErrorFn)();
// Pending errors read before the screen texture is made: a driver that never stops reporting one
// must not hang the start-up.
constexpr int kMaxOpenGLErrorReads = 64;
// Reads OpenGL errors until none is pending, at most kMaxOpenGLErrorReads of them; returns how
// many were read.
int ClearOpenGLErrors(GlGetErrorFn getError);

// Fetches the ten entry points; false when one is missing (its name is then kept).
bool LoadOpenGLEntryPoints();
// The first entry point that could not be fetched ("" when all were found).
const std::string& MissingOpenGLEntryPoint();
// True while frames go through OpenGL.
bool OpenGLPresentActive();
// Steps of PresentScreenOpenGL before the buffer swap: upload and draw the textured quad
// (tests read the back buffer after it). Does nothing unless OpenGL presentation is active.
void DrawScreenOpenGL(SDL_Surface* screen);
