#include "media/opengl_present.h"

void InitOpenGLPresent() {}

void PresentScreenOpenGL(SDL_Surface*) {}
