#pragma once

#include <cstdint>
#include <vector>

#include "engine/render/Renderer.h"

namespace pagly::engine {

class SDLRenderer;

// Draws only what changed since the last frame, for a window whose pixels stay put between
// frames (SDL's software renderer). A frame's draw commands are recorded first; at its end
// they are compared with the last frame's, and the rectangle covering the commands that
// differ is the damage: only it is cleared, drawn (all commands, clipped to it) and shown.
// A walking figure on a still page then costs its own small rectangle, not the window.
//
// The damage grows to take in every textured quad it touches: a scaled copy cut at a clip
// edge samples its texels a little differently, so such copies are drawn whole or not at all
// and a partial frame is the same, pixel for pixel, as a full one. A frame that draws into a
// render target (transitions) is drawn whole.
class DamageRenderer : public Renderer {
  public:
    // Draws through `inner` (not owned; it must outlive this object).
    explicit DamageRenderer(SDLRenderer* inner);
    ~DamageRenderer() override;

    // The next frame is drawn whole (the window's pixels were lost or resized).
    void invalidate() { m_fullNext = true; }

    void beginFrame() override;
    void endFrame() override;
    void setDesignSize(const CCSize& size) override;
    CCSize getDesignSize() const override;
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

    // For tests and benchmarks: the pixel rectangle drawn by the last frame (x, y, w, h;
    // w = 0 when nothing was drawn) and whether it was the whole output.
    void lastDamage(int rect[4], bool& whole) const;

  private:
    enum class Kind : uint8_t { Quad, Colored, Triangles, PushClip, PopClip };
    struct Box {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // pixels, half-open; empty when x1 <= x0
        bool empty() const { return x1 <= x0 || y1 <= y0; }
    };
    struct Command {
        Kind kind;
        Box box;           // the pixels it may touch (inside its clip)
        uint32_t key = 0;  // first word of its description in m_keys
        uint32_t keyLength = 0;
        uint32_t arg = 0;  // index into the list of its kind
    };
    struct Triangles {
        CCTexture2D* texture;
        std::vector<RenderVertex> vertices;
        std::vector<int> indices;
        ccBlendFunc blend;
    };
    struct Colored {
        CCPoint corners[4];
        ccColor4B colors[4];
        ccBlendFunc blend;
    };
    struct Frame {
        std::vector<Command> commands;
        std::vector<uint32_t> keys;
        std::vector<TexturedQuad> quads;
        std::vector<Colored> colored;
        std::vector<Triangles> triangles;
        std::vector<CCRect> clips;
        void clear();
    };

    void add(Kind kind, const Box& box, uint32_t arg, const std::vector<uint32_t>& key);
    Box boxOfPoints(const float* xs, const float* ys, int count) const;
    // Stops recording: replays what was recorded as a whole frame and draws the rest of the
    // frame straight through.
    void passThrough();
    void replay(const Frame& frame);
    bool sameCommand(size_t i) const;

    SDLRenderer* m_inner;
    Frame m_frame, m_last;
    std::vector<uint32_t> m_scratchKey;
    bool m_recording = false;
    bool m_passing = false;
    bool m_fullNext = true;
    bool m_lastValid = false;
    int m_damage[4] = {0, 0, 0, 0};
    bool m_damageWhole = false;
    int m_outW = 0, m_outH = 0;
};

}  // namespace pagly::engine
