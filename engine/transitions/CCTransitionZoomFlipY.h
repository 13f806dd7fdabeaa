#pragma once

#include <vector>

#include "engine/render/RenderTypes.h"
#include "engine/transitions/CCTransitionScene.h"
#include "engine/transitions/SceneCapture.h"

namespace pagly::engine {

// Flips the scenes about the horizontal axis while zooming out and in again: in the first
// half the outgoing scene shrinks to half size and turns edge-on, in the second the incoming
// scene turns in from edge-on and grows back to full size. Up-over turns the top edge away
// from the viewer first; down-over the bottom edge. A duration of 0 shows the incoming scene
// at once and switches at the first frame.
class CCTransitionZoomFlipY : public CCTransitionScene {
  public:
    static CCTransitionZoomFlipY* create(float duration, CCScene* scene);
    static CCTransitionZoomFlipY* create(float duration, CCScene* scene,
                                         TransitionOrientation orientation);
    // Orientation values other than up-over (0) count as down-over.
    bool initWithDuration(float duration, CCScene* scene, TransitionOrientation orientation);

    TransitionOrientation getOrientation() const { return m_eOrientation; }
    // The scene shown, its flip angle (degrees, 0 = facing the viewer) and its zoom at the
    // current progress.
    CCScene* shownScene() const;
    float flipAngle() const;
    float zoom() const;

    void draw(Renderer* renderer) override;

  protected:
    void transitionEnded() override { m_capture.keepForNext(); }

  private:
    TransitionOrientation m_eOrientation = kTransitionOrientationUpOver;
    SceneCapture m_capture;
    std::vector<RenderVertex> m_vertices;
    std::vector<int> m_indices;
};

}  // namespace pagly::engine
