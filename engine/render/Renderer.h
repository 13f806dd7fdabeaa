#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/render/RenderTypes.h"

// The seam between nodes and pixels. Nodes emit draw commands in design coordinates
// (origin bottom-left) with their world transform; a back-end turns them into pixels.
namespace pagly::engine {

class CCTexture2D;

// A rectangle of a texture drawn onto a rectangle of a node.
struct TexturedQuad {
    CCTexture2D* texture = nullptr;  // non-owning; null draws nothing
    // The region of the texture in pixels, origin at the texture's top-left. For a rotated
    // region the size is the UNROTATED size (w, h): the pixels occupy h columns and w rows,
    // the image turned 90 degrees clockwise (as sprite-sheet packers store it).
    CCRect textureRect;
    bool rotated = false;
    // Where the region lands, in the node's own space (origin bottom-left).
    CCRect rect;
    // Node space -> world (design) space; usually CCNode::worldTransform().
    CCAffineTransform transform;
    // Multiplies the texels; a is the opacity.
    ccColor4B color = ccColor4B(255, 255, 255, 255);
    bool flipX = false, flipY = false;
    ccBlendFunc blend;
};

// Where nodes draw. The back-end maps the design area (default 640 x 960, origin bottom-left)
// onto its output with an exact-fit (non-uniform) stretch.
class Renderer {
  public:
    virtual ~Renderer() = default;
    // Starts a frame (clears to the background colour).
    virtual void beginFrame() = 0;
    // Finishes the frame (presents it, or keeps it in memory for the offscreen back-end).
    virtual void endFrame() = 0;

    // The design area mapped onto the output (exact fit).
    virtual void setDesignSize(const CCSize& size) = 0;
    virtual CCSize getDesignSize() const = 0;
    // The pixel size of the current output (window, offscreen surface or render target).
    virtual CCSize getOutputPixelSize() const = 0;

    // --- draw commands ---
    virtual void drawTexturedQuad(const TexturedQuad& quad) = 0;
    // A quad given by its four corners in world space, in the order bottom-left,
    // bottom-right, top-left, top-right, each with its own colour (a = opacity).
    virtual void drawColoredQuad(const CCPoint corners[4], const ccColor4B colors[4],
                                 const ccBlendFunc& blend = ccBlendFunc()) = 0;
    // A triangle list (indices may be null: then every three vertices form a triangle).
    // Positions are world space; texture may be null for plain coloured triangles.
    virtual void drawTriangles(CCTexture2D* texture, const RenderVertex* vertices, int vertexCount,
                               const int* indices, int indexCount,
                               const ccBlendFunc& blend = ccBlendFunc()) = 0;

    // --- clipping ---
    // Pushes a clip rectangle given in world (design) space; the effective clip is its
    // intersection with the clip already in force. Every push needs a matching pop.
    virtual void pushClipRect(const CCRect& worldRect) = 0;
    virtual void popClipRect() = 0;
    // Convenience for a node's visit: clips to `nodeRect` (node space) under `nodeToWorld`
    // (the bounding rectangle when the transform rotates).
    void pushClipRect(const CCRect& nodeRect, const CCAffineTransform& nodeToWorld) {
        pushClipRect(CCRectApplyAffineTransform(nodeRect, nodeToWorld));
    }
    // True while the clip in force covers no pixel at all (drawing is skipped).
    virtual bool isClippedAway() const = 0;

    // --- render targets ---
    // Redirects drawing into `target` (a texture made with CCTexture2D::initAsRenderTarget).
    // `view` is the rectangle of world space that fills the target (exact fit); pass the
    // whole design area to capture a scene. Clears the target to `clear` unless null.
    // Targets nest; each has its own clip stack.
    virtual void beginRenderTarget(CCTexture2D* target, const CCRect& view,
                                   const ccColor4B* clear) = 0;
    virtual void endRenderTarget() = 0;

    // Makes what drawing `texture` needs on the device now (between frames), so that the
    // frame that first shows it does not pay for it.
    virtual void prepareTexture(CCTexture2D*) {}
};

// Pushes a clip rectangle for the lifetime of a scope: handy in a node's visit override.
class ClipScope {
  public:
    ClipScope(Renderer* r, const CCRect& nodeRect, const CCAffineTransform& nodeToWorld)
        : m_renderer(r) {
        if (m_renderer) m_renderer->pushClipRect(nodeRect, nodeToWorld);
    }
    ~ClipScope() {
        if (m_renderer) m_renderer->popClipRect();
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

  private:
    Renderer* m_renderer;
};

}  // namespace pagly::engine
