#pragma once

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

// Draws its children (and itself) cut to a stencil node. The stencil lives in this node's
// space and is not drawn. Clipping is rectangular: the clip is the bounding rectangle of the
// stencil's shapes (a CCDrawNode) or of its content size (any other node), mapped to world
// space. With no stencil, or an invisible one, nothing is drawn. Inverted clipping is not
// supported (logged once; the children are then drawn unclipped).
class CCClippingNode : public CCNode {
  public:
    static CCClippingNode* create();
    static CCClippingNode* create(CCNode* stencil);
    bool init() override;
    virtual bool init(CCNode* stencil);
    ~CCClippingNode() override;

    CCNode* getStencil() const { return m_stencil.get(); }
    void setStencil(CCNode* stencil);
    // Kept for callers; rectangular clipping has no use for it.
    float getAlphaThreshold() const { return m_alphaThreshold; }
    void setAlphaThreshold(float threshold) { m_alphaThreshold = threshold; }
    bool isInverted() const { return m_inverted; }
    void setInverted(bool inverted);

    // The clip rectangle in the stencil's own space.
    CCRect stencilRect() const;

    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;
    void onExit() override;
    void visit(Renderer* renderer) override;

  private:
    RefPtr<CCNode> m_stencil;
    float m_alphaThreshold = 1.0f;
    bool m_inverted = false;
};

}  // namespace pagly::engine
