#include "engine/nodes/CCClippingNode.h"

#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

CCClippingNode* CCClippingNode::create() { return create(nullptr); }

CCClippingNode* CCClippingNode::create(CCNode* stencil) {
    CCClippingNode* node = new CCClippingNode();
    if (!node->init(stencil)) {
        node->release();
        return nullptr;
    }
    node->autorelease();
    return node;
}

CCClippingNode::~CCClippingNode() = default;

bool CCClippingNode::init() { return init(nullptr); }

bool CCClippingNode::init(CCNode* stencil) {
    setStencil(stencil);
    m_alphaThreshold = 1.0f;
    m_inverted = false;
    return true;
}

void CCClippingNode::setStencil(CCNode* stencil) {
    if (m_stencil.get() == stencil) return;
    if (m_stencil && m_bRunning) {
        m_stencil->onExitTransitionDidStart();
        m_stencil->onExit();
    }
    m_stencil = stencil;
    if (m_stencil && m_bRunning) {
        m_stencil->onEnter();
        m_stencil->onEnterTransitionDidFinish();
    }
    ccRequestRedraw();
}

void CCClippingNode::setInverted(bool inverted) {
    if (inverted && !m_inverted) {
        static bool told = false;
        if (!told) CCLog("CCClippingNode: inverted clipping is not supported; drawing unclipped");
        told = true;
    }
    m_inverted = inverted;
    ccRequestRedraw();
}

CCRect CCClippingNode::stencilRect() const {
    if (!m_stencil) return CCRectZero;
    if (CCDrawNode* shapes = dynamic_cast<CCDrawNode*>(m_stencil.get()))
        return shapes->getBoundingRect();
    const CCSize& size = m_stencil->getContentSize();
    return CCRect(0, 0, size.width, size.height);
}

// The stencil takes part in the scene's lifecycle so its actions and callbacks run.
void CCClippingNode::onEnter() {
    CCNode::onEnter();
    if (m_stencil) m_stencil->onEnter();
}
void CCClippingNode::onEnterTransitionDidFinish() {
    CCNode::onEnterTransitionDidFinish();
    if (m_stencil) m_stencil->onEnterTransitionDidFinish();
}
void CCClippingNode::onExitTransitionDidStart() {
    if (m_stencil) m_stencil->onExitTransitionDidStart();
    CCNode::onExitTransitionDidStart();
}
void CCClippingNode::onExit() {
    if (m_stencil) m_stencil->onExit();
    CCNode::onExit();
}

void CCClippingNode::visit(Renderer* renderer) {
    if (!m_bVisible) return;
    if (!m_stencil || !m_stencil->isVisible()) {
        if (m_inverted) CCNode::visit(renderer);
        return;
    }
    if (m_inverted || !renderer) {
        CCNode::visit(renderer);
        return;
    }
    // The same world transform CCNode::visit computes, needed first to place the stencil.
    CCAffineTransform world =
        m_pParent ? CCAffineTransformConcat(nodeToParentTransform(), m_pParent->worldTransform())
                  : nodeToParentTransform();
    CCAffineTransform stencilWorld =
        CCAffineTransformConcat(m_stencil->nodeToParentTransform(), world);
    ClipScope clip(renderer, stencilRect(), stencilWorld);
    CCNode::visit(renderer);
}

}  // namespace pagly::engine
