#pragma once

#include "engine/base/RefPtr.h"
#include "engine/render/CCTexture2D.h"

namespace pagly::engine {

class CCNode;
class Renderer;

// Renders a scene into a texture the size of the renderer's output, so a transition can draw
// it bent or turned. The texture is made on first use and again when the output size changes;
// it starts opaque black, as the screen does. When a capture is done with, its texture is kept
// for the next one: making a window-sized render target costs more than drawing a whole frame,
// and it would fall in the very first frame of every page turn.
class SceneCapture {
  public:
    SceneCapture() = default;
    SceneCapture(const SceneCapture&) = delete;
    SceneCapture& operator=(const SceneCapture&) = delete;
    ~SceneCapture();
    // Lets go of the texture kept for the next capture (the engine's caches are being purged).
    static void dropSpareTexture();
    // Makes the texture for the next capture on `renderer` now, between frames, when none is
    // kept yet (the first transition of a run would otherwise make it in its first frame).
    static void prepareSpareTexture(Renderer* renderer);

    // The captured texture, or null when the renderer has no output to size it by or cannot
    // make a render target.
    CCTexture2D* capture(Renderer* renderer, CCNode* scene);
    CCTexture2D* texture() const { return m_texture.get(); }
    // Hands the texture on to the next capture now, for a transition that has ended but is
    // not yet destroyed: the incoming scene, entered meanwhile, then finds it instead of
    // making another (which the ended transition's texture would replace a moment later).
    void keepForNext();
    // The texture kept for the next capture, or null.
    static CCTexture2D* keptTexture();

  private:
    RefPtr<CCTexture2D> m_texture;
};

}  // namespace pagly::engine
