// Stand-in: what is still to be built is listed at the top of media/opengl_present.h.
#include "media/opengl_present.h"

void InitOpenGLPresent() {}

void PresentScreenOpenGL(SDL_Surface*) {}
