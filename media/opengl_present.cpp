#include "media/opengl_present.h"

#include <cstdio>

namespace {

// OpenGL 1.1 types and values used here (no GL header is needed for so few).
typedef unsigned int GLenum;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;

constexpr GLenum kGlTriangles = 0x0004;
constexpr GLenum kGlTexture2D = 0x0DE1;
constexpr GLenum kGlUnsignedByte = 0x1401;
constexpr GLenum kGlRgba = 0x1908;
constexpr GLenum kGlNearest = 0x2600;
constexpr GLenum kGlTextureMagFilter = 0x2800;
constexpr GLenum kGlTextureMinFilter = 0x2801;
constexpr GLenum kGlRgb8 = 0x8051;
constexpr GLenum kGlNoError = 0;

struct GlEntryPoints {
    void(VAULTMERE_GLAPI* Begin)(GLenum) = nullptr;
    void(VAULTMERE_GLAPI* End)() = nullptr;
    void(VAULTMERE_GLAPI* BindTexture)(GLenum, GLuint) = nullptr;
    void(VAULTMERE_GLAPI* Enable)(GLenum) = nullptr;
    void(VAULTMERE_GLAPI* GenTextures)(GLsizei, GLuint*) = nullptr;
    void(VAULTMERE_GLAPI* TexCoord2f)(GLfloat, GLfloat) = nullptr;
    void(VAULTMERE_GLAPI* TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum,
                                      GLenum, const void*) = nullptr;
    void(VAULTMERE_GLAPI* TexSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum,
                                         GLenum, const void*) = nullptr;
    void(VAULTMERE_GLAPI* TexParameteri)(GLenum, GLenum, GLint) = nullptr;
    void(VAULTMERE_GLAPI* Vertex3f)(GLfloat, GLfloat, GLfloat) = nullptr;
    // Not one of the ten: used, when the driver has it, to notice a texture it refused.
    GlGetErrorFn GetError = nullptr;
};

GlEntryPoints Gl;
std::string MissingEntryPoint;
GLuint ScreenTexture = 0;
int TextureWidth = 0;
int TextureHeight = 0;
bool Active = false;

template <typename Fn>
bool Fetch(Fn& slot, const char* name) {
    slot = reinterpret_cast<Fn>(SDL_GL_GetProcAddress(name));
    if (slot == nullptr && MissingEntryPoint.empty()) MissingEntryPoint = name;
    return slot != nullptr;
}

// Sets a plain SDL window of the same size, so frames can still be shown.
void FallBackToSDLWindow() {
    Active = false;
    SDL_Surface* video = SDL_GetVideoSurface();
    if (video == nullptr) return;
    const Uint32 fullScreen = video->flags & SDL_FULLSCREEN;
    if (SDL_SetVideoMode(video->w, video->h, 32, fullScreen) == nullptr) {
        printf("Unable to set video mode: %s\n", SDL_GetError());
    }
}

}  // namespace

int ClearOpenGLErrors(GlGetErrorFn getError) {
    if (getError == nullptr) return 0;
    int read = 0;
    while (read < kMaxOpenGLErrorReads && getError() != kGlNoError) ++read;
    return read;
}

bool LoadOpenGLEntryPoints() {
    MissingEntryPoint.clear();
    bool ok = true;
    ok &= Fetch(Gl.Begin, "glBegin");
    ok &= Fetch(Gl.End, "glEnd");
    ok &= Fetch(Gl.BindTexture, "glBindTexture");
    ok &= Fetch(Gl.Enable, "glEnable");
    ok &= Fetch(Gl.GenTextures, "glGenTextures");
    ok &= Fetch(Gl.TexCoord2f, "glTexCoord2f");
    ok &= Fetch(Gl.TexImage2D, "glTexImage2D");
    ok &= Fetch(Gl.TexSubImage2D, "glTexSubImage2D");
    ok &= Fetch(Gl.TexParameteri, "glTexParameteri");
    ok &= Fetch(Gl.Vertex3f, "glVertex3f");
    Gl.GetError = reinterpret_cast<decltype(Gl.GetError)>(SDL_GL_GetProcAddress("glGetError"));
    return ok;
}

const std::string& MissingOpenGLEntryPoint() {
    return MissingEntryPoint;
}

bool OpenGLPresentActive() {
    return Active;
}

bool InitOpenGLPresent() {
    Active = false;
    SDL_Surface* video = SDL_GetVideoSurface();
    if (video == nullptr || !(video->flags & SDL_OPENGL)) {
        printf("OpenGL presentation needs an OpenGL window; presenting through SDL\n");
        FallBackToSDLWindow();
        return false;
    }
    if (!LoadOpenGLEntryPoints()) {
        printf("OpenGL entry point %s is not available; presenting through SDL\n",
               MissingEntryPoint.c_str());
        FallBackToSDLWindow();
        return false;
    }
    TextureWidth = video->w;
    TextureHeight = video->h;
    ClearOpenGLErrors(Gl.GetError);
    Gl.GenTextures(1, &ScreenTexture);
    Gl.BindTexture(kGlTexture2D, ScreenTexture);
    Gl.TexParameteri(kGlTexture2D, kGlTextureMinFilter, kGlNearest);
    Gl.TexParameteri(kGlTexture2D, kGlTextureMagFilter, kGlNearest);
    Gl.TexImage2D(kGlTexture2D, 0, kGlRgb8, TextureWidth, TextureHeight, 0, kGlRgba,
                  kGlUnsignedByte, nullptr);
    if (Gl.GetError && Gl.GetError() != kGlNoError) {
        printf("OpenGL refused a %dx%d screen texture; presenting through SDL\n", TextureWidth,
               TextureHeight);
        FallBackToSDLWindow();
        return false;
    }
    Active = true;
    return true;
}

void DrawScreenOpenGL(SDL_Surface* screen) {
    if (!Active || screen == nullptr) return;
    // The texture has the window's size; a surface of another size is not uploaded past it.
    const int w = screen->w < TextureWidth ? screen->w : TextureWidth;
    const int h = screen->h < TextureHeight ? screen->h : TextureHeight;
    Gl.BindTexture(kGlTexture2D, ScreenTexture);
    if (screen->format->BytesPerPixel == 4 && screen->pitch == screen->w * 4) {
        SDL_LockSurface(screen);
        if (w == screen->w) {
            Gl.TexSubImage2D(kGlTexture2D, 0, 0, 0, w, h, kGlRgba, kGlUnsignedByte, screen->pixels);
        } else {
            for (int y = 0; y < h; ++y) {
                const Uint8* row = static_cast<const Uint8*>(screen->pixels) + y * screen->pitch;
                Gl.TexSubImage2D(kGlTexture2D, 0, 0, y, w, 1, kGlRgba, kGlUnsignedByte, row);
            }
        }
        SDL_UnlockSurface(screen);
    }
    Gl.Enable(kGlTexture2D);
    Gl.Begin(kGlTriangles);
    Gl.TexCoord2f(0, 0);
    Gl.Vertex3f(-1, 1, 0);
    Gl.TexCoord2f(1, 0);
    Gl.Vertex3f(1, 1, 0);
    Gl.TexCoord2f(1, 1);
    Gl.Vertex3f(1, -1, 0);
    Gl.TexCoord2f(1, 1);
    Gl.Vertex3f(1, -1, 0);
    Gl.TexCoord2f(0, 1);
    Gl.Vertex3f(-1, -1, 0);
    Gl.TexCoord2f(0, 0);
    Gl.Vertex3f(-1, 1, 0);
    Gl.End();
}

void PresentScreenOpenGL(SDL_Surface* screen) {
    if (screen == nullptr) return;
    if (Active) {
        DrawScreenOpenGL(screen);
        SDL_GL_SwapBuffers();
        return;
    }
    SDL_Surface* video = SDL_GetVideoSurface();
    if (video == nullptr || video == screen || (video->flags & SDL_OPENGL)) return;
    SDL_BlitSurface(screen, nullptr, video, nullptr);
    SDL_Flip(video);
}
