#pragma once

struct SDL_Renderer;
struct SDL_Window;

namespace pagly::engine {

// Which SDL renderer draws a window. A GPU draws this 2D book fastest; without one, SDL's
// OpenGL renderer runs on Mesa's llvmpipe, whose LLVM shader compiler costs start-up time
// and tens of megabytes, while SDL's own software renderer draws the same pages with
// neither. So: software where SDL's OpenGL reports a software rasterizer or there is no GPU
// device to find, the accelerated renderer elsewhere, and SDL's choice whenever the user
// named a render driver (SDL_RENDER_DRIVER).
namespace RendererChoice {

// Window flags for SDL_CreateWindow that suit the renderer about to be tried (so that SDL
// need not make the window a second time for OpenGL).
unsigned int windowFlags();

// Creates the window's renderer (render targets supported), or null. `software` tells which
// kind came out.
SDL_Renderer* create(SDL_Window* window, bool& software);

}  // namespace RendererChoice

}  // namespace pagly::engine
