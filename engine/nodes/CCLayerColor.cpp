#include "engine/nodes/CCLayerColor.h"

#include "engine/base/CCRedraw.h"
#include "engine/director/CCDirector.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

// ---------------------------------------------------------------- CCLayerRGBA

CCLayerRGBA::CCLayerRGBA() {}

void CCLayerRGBA::setColor(const ccColor3B& color) {
    m_realColor = color;
    updateDisplayedColor(inheritedColor(m_pParent));
}

void CCLayerRGBA::setOpacity(unsigned char opacity) {
    m_realOpacity = opacity;
    updateDisplayedOpacity(inheritedOpacity(m_pParent));
}

void CCLayerRGBA::updateDisplayedColor(const ccColor3B& parentColor) {
    applyColor(parentColor, m_pChildren);
}

void CCLayerRGBA::updateDisplayedOpacity(unsigned char parentOpacity) {
    applyOpacity(parentOpacity, m_pChildren);
}

void CCLayerRGBA::updateDisplayedFromParent() { refreshFrom(m_pParent); }

// ---------------------------------------------------------------- CCLayerColor

CCLayerColor* CCLayerColor::create() { return ccCreateInitialized(new CCLayerColor()); }

CCLayerColor* CCLayerColor::create(const ccColor4B& color) {
    CCLayerColor* layer = new CCLayerColor();
    if (!layer->initWithColor(color)) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

CCLayerColor* CCLayerColor::create(const ccColor4B& color, float width, float height) {
    CCLayerColor* layer = new CCLayerColor();
    if (!layer->initWithColor(color, width, height)) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

bool CCLayerColor::init() { return initWithColor(ccColor4B(0, 0, 0, 0)); }

bool CCLayerColor::initWithColor(const ccColor4B& color) {
    CCSize win = CCDirector::sharedDirector()->getWinSize();
    return initWithColor(color, win.width, win.height);
}

bool CCLayerColor::initWithColor(const ccColor4B& color, float width, float height) {
    if (!CCLayer::init()) return false;
    m_blend = ccBlendFunc();
    m_realColor = m_displayedColor = ccColor3B(color.r, color.g, color.b);
    m_realOpacity = m_displayedOpacity = color.a;
    setContentSize(CCSize(width, height));
    ccRequestRedraw();
    return true;
}

void CCLayerColor::setContentSize(const CCSize& size) {
    CCLayerRGBA::setContentSize(size);
    ccRequestRedraw();
}

void CCLayerColor::changeWidth(float width) {
    setContentSize(CCSize(width, m_obContentSize.height));
}
void CCLayerColor::changeHeight(float height) {
    setContentSize(CCSize(m_obContentSize.width, height));
}
void CCLayerColor::changeWidthAndHeight(float width, float height) {
    setContentSize(CCSize(width, height));
}

void CCLayerColor::cornerColors(ccColor4B out[4]) {
    ccColor4B c =
        ccColor4B(m_displayedColor.r, m_displayedColor.g, m_displayedColor.b, m_displayedOpacity);
    out[0] = out[1] = out[2] = out[3] = c;
}

void CCLayerColor::draw(Renderer* renderer) {
    if (!renderer || m_obContentSize.width == 0 || m_obContentSize.height == 0) return;
    float w = m_obContentSize.width, h = m_obContentSize.height;
    CCPoint corners[4] = {
        CCPointApplyAffineTransform(CCPoint(0, 0), m_worldTransform),
        CCPointApplyAffineTransform(CCPoint(w, 0), m_worldTransform),
        CCPointApplyAffineTransform(CCPoint(0, h), m_worldTransform),
        CCPointApplyAffineTransform(CCPoint(w, h), m_worldTransform),
    };
    ccColor4B colors[4];
    cornerColors(colors);
    renderer->drawColoredQuad(corners, colors, m_blend);
}

}  // namespace pagly::engine
