#include "gui/GUIRenderer.h"

#include "engine/base/CCRedraw.h"

namespace cocos2d {
namespace extension {

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

}  // namespace extension
}  // namespace cocos2d
