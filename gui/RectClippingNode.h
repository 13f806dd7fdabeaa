#pragma once

#include "engine/nodes/CCClippingNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCDrawNode;

}  // namespace pagly::engine

namespace pagly::gui {

// The render node of a panel: a clipping node whose stencil is a filled rectangle the size of
// the panel. It can stop drawing altogether (a disabled panel) and clips only when asked to.
class RectClippingNode : public CCClippingNode {
  public:
    RectClippingNode();
    ~RectClippingNode() override;
    static RectClippingNode* create();

    using CCClippingNode::init;
    bool init() override;
    void visit(Renderer* renderer) override;

    // Resizes the node and redraws the stencil rectangle.
    void setClippingSize(const CCSize& size);
    const CCSize& getClippingSize() const { return m_clippingSize; }
    void setClippingEnabled(bool enabled);
    bool isClippingEnabled() const { return m_bClippingEnabled; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_bEnabled; }
    CCDrawNode* getStencilRectangle() const { return m_pInnerStencil; }

  private:
    void drawStencil();

    CCDrawNode* m_pInnerStencil = nullptr;  // owned by the clipping node as its stencil
    bool m_bEnabled = true;
    CCPoint m_corners[4];
    CCSize m_clippingSize{50.0f, 50.0f};
    bool m_bClippingEnabled = false;
};

}  // namespace pagly::gui
