#pragma once

#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/render/Renderer.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
struct SDL_Vertex;

namespace pagly::engine {

// The SDL back-end of the renderer: quads and meshes through SDL_RenderGeometry (still,
// unrotated quads through SDL_RenderCopy), clip rectangles through SDL's clip rect, render
// targets through SDL target textures. The design area is stretched to the output in x and y
// independently (exact fit), or kept in proportion inside it (setScreenAspect); design y grows
// upwards, SDL's downwards.
class SDLRenderer : public Renderer {
  public:
    // Wraps an SDL renderer (a window's); `owns` destroys it with this object.
    SDLRenderer(SDL_Renderer* renderer, bool owns);
    // A software renderer drawing into an ARGB8888 surface in memory: bit-for-bit repeatable,
    // needs no video driver. Null if SDL cannot make one.
    static SDLRenderer* createOffscreen(int pixelsWide, int pixelsHigh);
    ~SDLRenderer() override;

    SDL_Renderer* sdlRenderer() const { return m_renderer; }
    // The offscreen surface, or null for a window renderer.
    SDL_Surface* surface() const { return m_surface; }

    void setClearColor(const ccColor4B& color) { m_clearColor = color; }
    // Keeps the design area's proportions on the screen: it is drawn into the largest centred
    // rectangle of this width-to-height ratio and the bars beside it are cleared. 0 (the
    // default) stretches it over the whole output.
    void setScreenAspect(float widthOverHeight);
    // Linear filtering of new device textures' scaling (window mode looks smoother);
    // off (nearest) by default.
    void setLinearFiltering(bool on) { m_linearFiltering = on; }
    // Present at endFrame (window mode).
    void setPresents(bool on) { m_presents = on; }

    void beginFrame() override;
    void endFrame() override;
    // A frame of which only the pixel rectangle `damage` (x, y, w, h) is cleared, drawn (every
    // draw clipped to it) and, in a window, shown; the rest of the output keeps its pixels.
    void beginPartialFrame(const int damage[4]);
    // Starts a frame's state (levels, clips, the screen as target) without touching pixels.
    void beginFrameKeepingPixels();
    void endPartialFrame(const int damage[4]);
    // Whether the output keeps its pixels from one frame to the next (a software window or
    // the offscreen surface), so that a partial frame is possible.
    bool keepsPixels() const;
    // Where the screen shows the design area, in output pixels (the bars lie outside it).
    PixelRect shownRect() const { return m_screenRect; }
    // Design (world) point -> output pixel of the current level (y down).
    void designToPixels(float x, float y, float& px, float& py) const { toPixels(x, y, px, py); }
    // The clip in force in output pixels (x0, y0, x1, y1; half-open).
    void clipInPixels(int box[4]) const;
    void setDesignSize(const CCSize& size) override;
    CCSize getDesignSize() const override { return m_designSize; }
    CCSize getOutputPixelSize() const override;

    void drawTexturedQuad(const TexturedQuad& quad) override;
    void drawColoredQuad(const CCPoint corners[4], const ccColor4B colors[4],
                         const ccBlendFunc& blend = ccBlendFunc()) override;
    void drawTriangles(CCTexture2D* texture, const RenderVertex* vertices, int vertexCount,
                       const int* indices, int indexCount,
                       const ccBlendFunc& blend = ccBlendFunc()) override;
    void pushClipRect(const CCRect& worldRect) override;
    using Renderer::pushClipRect;
    void popClipRect() override;
    bool isClippedAway() const override;
    void beginRenderTarget(CCTexture2D* target, const CCRect& view,
                           const ccColor4B* clear) override;
    void endRenderTarget() override;
    void prepareTexture(CCTexture2D* texture) override;

    // The last finished frame's pixel at (x, y), origin top-left of the output.
    ccColor4B readPixel(int x, int y) const;
    // Writes the current output (the last frame) as PNG. False with a log line on failure.
    bool savePNG(const std::string& path) const;
    // Copies the output into a new ARGB8888 surface (the caller frees it).
    SDL_Surface* readSurface() const;

    // Counters for tests and benchmarks.
    unsigned int drawCallCount() const { return m_drawCalls; }

  private:
    struct Clip {
        int x0, y0, x1, y1;  // pixels, half-open
    };
    struct Level {
        RefPtr<CCTexture2D> target;  // null for the screen
        CCRect view;                 // world rect mapped onto the output
        int pw = 0, ph = 0;          // output size in pixels
        std::vector<Clip> clips;
        bool hasBase = false;  // a partial frame's damage: the clip under all others
        Clip base{0, 0, 0, 0};
    };
    Clip outerClip() const;
    Level& level() { return m_levels.back(); }
    const Level& level() const { return m_levels.back(); }
    void refreshScreenLevel();
    void applyClip();
    // World (design) point -> output pixel coordinates (y down).
    void toPixels(float x, float y, float& px, float& py) const;
    void setBlend(void* texture, const ccBlendFunc& blend, bool opaqueSource);
    // A stretch of one screen axis showing `count` texels from `texel` (reversed: the
    // texels run against the screen axis).
    struct AxisPiece {
        float s0, s1;
        int texel, count;
        bool reversed;
    };
    static bool axisPieces(float a0, float a1, float tA, float tB, std::vector<AxisPiece>& out);
    // Draws a quad whose edges run along the screen axes as a (turned, mirrored) copy.
    // False when the texture region is not on whole texels (use triangles instead).
    bool drawAlignedCopy(SDL_Texture* tex, float tw, float th, const float px[4], const float py[4],
                         const float u[4], const float v[4]);

    SDL_Renderer* m_renderer = nullptr;
    SDL_Surface* m_surface = nullptr;
    bool m_owns = false;
    bool m_presents = true;
    bool m_linearFiltering = false;
    bool m_partial = false;
    CCSize m_designSize;
    float m_screenAspect = 0;
    PixelRect m_screenRect;  // where the screen level draws, in output pixels
    ccColor4B m_clearColor;
    std::vector<Level> m_levels;
    std::vector<SDL_Vertex>* m_scratch = nullptr;
    unsigned int m_drawCalls = 0;
};

}  // namespace pagly::engine
