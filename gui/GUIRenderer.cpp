#include "gui/GUIRenderer.h"

#include "engine/base/CCRedraw.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

GUIRenderer::~GUIRenderer() {}

GUIRenderer* GUIRenderer::create() { return ccCreateInitialized(new GUIRenderer()); }

void GUIRenderer::setEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    ccRequestRedraw();
}

void GUIRenderer::visit(Renderer* renderer) {
    if (!m_bEnabled) return;
    CCNodeRGBA::visit(renderer);
}

}  // namespace pagly::gui
