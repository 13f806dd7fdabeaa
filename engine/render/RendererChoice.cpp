#include "engine/render/RendererChoice.h"

#include <SDL.h>

#include <cstring>
#include <initializer_list>
#if defined(__linux__)
#include <sys/stat.h>
#endif

#include "engine/base/CCObject.h"

namespace pagly::engine::RendererChoice {

namespace {

bool userChoseDriver() {
    const char* hint = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    return hint && *hint;
}

// Whether a GPU could be there at all. On Linux a GPU shows as a DRM render node; with none,
// OpenGL can only be Mesa's software rasterizer. Elsewhere we cannot tell before trying.
bool gpuMayExist() {
#if defined(__linux__)
    for (int i = 128; i < 136; ++i) {
        char path[32];
        SDL_snprintf(path, sizeof path, "/dev/dri/renderD%d", i);
        struct stat st;
        if (stat(path, &st) == 0) return true;
    }
    return false;
#else
    return true;
#endif
}

bool firstDriverIsGL() {
    SDL_RendererInfo info;
    if (SDL_GetNumRenderDrivers() < 1 || SDL_GetRenderDriverInfo(0, &info) != 0) return false;
    return SDL_strncmp(info.name, "opengl", 6) == 0;
}

// What the OpenGL context of an SDL renderer says it runs on: a software rasterizer is no GPU.
bool drawsInSoftwareUnderGL(SDL_Renderer* r) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(r, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0)
        return false;
    typedef const unsigned char* (*GetString)(unsigned int);
    GetString getString = (GetString)SDL_GL_GetProcAddress("glGetString");
    const char* name = getString ? (const char*)getString(0x1F01 /* GL_RENDERER */) : nullptr;
    if (!name) return false;
    for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, soft)) return true;
    return false;
}

}  // namespace

unsigned int windowFlags() {
    if (userChoseDriver()) return 0;
    return gpuMayExist() && firstDriverIsGL() ? SDL_WINDOW_OPENGL : 0;
}

SDL_Renderer* create(SDL_Window* window, bool& software) {
    SDL_Renderer* r = nullptr;
    if (userChoseDriver() || gpuMayExist()) {
        r = SDL_CreateRenderer(window, -1, SDL_RENDERER_TARGETTEXTURE);
        if (r && !userChoseDriver() && drawsInSoftwareUnderGL(r)) {
            SDL_DestroyRenderer(r);
            r = nullptr;
        }
    }
    if (!r) {
        // SDL would show a software window's pixels through an OpenGL texture of its own,
        // which brings back the very JIT this choice avoids; the window system's own shared
        // memory image shows them for less.
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
        r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (!r) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    SDL_RendererInfo info;
    software = r && SDL_GetRendererInfo(r, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
    if (r) CCLog("CCEGLView: drawing with SDL's %s renderer", software ? "software" : info.name);
    return r;
}

}  // namespace pagly::engine::RendererChoice
