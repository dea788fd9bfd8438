#pragma once
// Showing the finished frame through one OpenGL texture ("-opengl").
//
// Stand-in: nothing is drawn yet. Still to be built here: fetching the ten GL 1.1 entry
// points through SDL_GL_GetProcAddress, the screen texture (GL_NEAREST, GL_RGB8), and
// the per-frame upload, textured quad and buffer swap.
#include <SDL.h>

void InitOpenGLPresent();
void PresentScreenOpenGL(SDL_Surface* screen);
