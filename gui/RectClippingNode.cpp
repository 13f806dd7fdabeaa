#include "gui/RectClippingNode.h"

#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCDrawNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

RectClippingNode::RectClippingNode() {}

RectClippingNode::~RectClippingNode() {}

RectClippingNode* RectClippingNode::create() { return ccCreateInitialized(new RectClippingNode()); }

bool RectClippingNode::init() {
    m_pInnerStencil = CCDrawNode::create();
    if (!m_pInnerStencil) return false;
    drawStencil();
    return CCClippingNode::init(m_pInnerStencil);
}

void RectClippingNode::drawStencil() {
    float w = m_clippingSize.width, h = m_clippingSize.height;
    m_corners[0] = CCPoint(0, 0);
    m_corners[1] = CCPoint(w, 0);
    m_corners[2] = CCPoint(w, h);
    m_corners[3] = CCPoint(0, h);
    // The stencil's colour is never seen; only its shape counts.
    ccColor4F green = ccColor4F(0, 1, 0, 1);
    m_pInnerStencil->drawPolygon(m_corners, 4, green, 0, green);
}

void RectClippingNode::setClippingSize(const CCSize& size) {
    setContentSize(size);
    m_clippingSize = size;
    m_pInnerStencil->clear();
    drawStencil();
}

void RectClippingNode::setClippingEnabled(bool enabled) {
    if (m_bClippingEnabled == enabled) return;
    m_bClippingEnabled = enabled;
    ccRequestRedraw();
}

void RectClippingNode::setEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    ccRequestRedraw();
}

void RectClippingNode::visit(Renderer* renderer) {
    if (!m_bEnabled) return;
    if (m_bClippingEnabled) {
        CCClippingNode::visit(renderer);
    } else {
        CCNode::visit(renderer);
    }
}

}  // namespace pagly::gui
