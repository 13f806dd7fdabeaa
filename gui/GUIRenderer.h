#pragma once

#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The render node of plain widgets: a colour/opacity node that draws itself and its subtree
// only while enabled, so a disabled widget disappears instead of greying out.
class GUIRenderer : public CCNodeRGBA {
  public:
    GUIRenderer() = default;
    ~GUIRenderer() override;
    static GUIRenderer* create();

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_bEnabled; }

    void visit(Renderer* renderer) override;

  private:
    bool m_bEnabled = true;
};

}  // namespace pagly::gui
