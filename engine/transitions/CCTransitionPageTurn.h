#pragma once

#include "engine/transitions/CCTransitionScene.h"
#include "engine/transitions/PageCurl.h"
#include "engine/transitions/SceneCapture.h"

namespace pagly::engine {

// Turns a page: the outgoing scene curls away from its bottom-right corner and folds over to
// the left, uncovering the incoming scene. Backwards, the incoming scene comes back from the
// left and uncurls onto the outgoing one. The curling page is the scene rendered into a
// texture and drawn as a shaded triangle mesh (its back as plain paper), with a soft shadow
// on the page beneath.
class CCTransitionPageTurn : public CCTransitionScene {
  public:
    static CCTransitionPageTurn* create(float duration, CCScene* scene, bool backwards);
    bool initWithDuration(float duration, CCScene* scene, bool backwards);

    bool isBackwards() const { return m_bBack; }
    // How far the moving page is curled (0 flat .. 1 gone), at the current progress.
    float curlAmount() const;

    void draw(Renderer* renderer) override;

  protected:
    bool isInSceneOnTop() const override { return m_bBack; }
    void transitionEnded() override { m_capture.keepForNext(); }

  private:
    void drawShadow(Renderer* renderer, const CCSize& page);

    bool m_bBack = false;
    RefPtr<CCTexture2D> m_shadowRamp;
    PageCurl m_curl;
    SceneCapture m_capture;
    bool m_meshReady = false;
};

}  // namespace pagly::engine
