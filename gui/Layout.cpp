#include "gui/Layout.h"

#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCSprite.h"
#include "gui/CCScale9Sprite.h"
#include "gui/RectClippingNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
// The colour renderers lie under the background image, which lies under every child.
const int kColorRendererZ = -2;
const int kBackGroundImageZ = -1;
}  // namespace

Layout::Layout() { m_eWidgetKind = ContainerWidget; }

Layout::~Layout() {}

Layout* Layout::create() { return ccCreateInitialized(new Layout()); }

bool Layout::init() {
    createChildrenArray();
    initRenderer();
    if (!m_pRender) return false;
    m_pRender->setZOrder(m_nWidgetZOrder);
    // A panel keeps the size it is given, never its content's, and sits on its lower-left corner.
    setIgnoreSize(false);
    setSize(CCSizeZero);
    m_bBright = true;
    m_eBrightStyle = BrightNormal;
    onStateNormal();
    setAnchorPoint(CCPointZero);
    takeScheduler();
    return true;
}

void Layout::initRenderer() { m_pRender = RectClippingNode::create(); }

RectClippingNode* Layout::getClippingNode() const {
    return dynamic_cast<RectClippingNode*>(m_pRender.get());
}

std::string Layout::getDescription() const { return "Layout"; }

// ---------------------------------------------------------------- clipping and layout

void Layout::setClippingEnabled(bool enabled) {
    m_bClippingEnabled = enabled;
    if (RectClippingNode* clipper = getClippingNode()) clipper->setClippingEnabled(enabled);
}

bool Layout::isClippingEnabled() { return m_bClippingEnabled; }

void Layout::setClipAble(bool able) { setClippingEnabled(able); }

void Layout::setLayoutType(int type) { m_nLayoutType = type; }

int Layout::getLayoutType() { return m_nLayoutType; }

// Absolute placement: children stay where they were put.
void Layout::doLayout() {}

// ---------------------------------------------------------------- size and hits

void Layout::onSizeChanged() {
    if (RectClippingNode* clipper = getClippingNode()) clipper->setClippingSize(m_size);
    doLayout();
    if (m_pBackGroundImage) {
        m_pBackGroundImage->setPosition(CCPoint(m_size.width / 2.0f, m_size.height / 2.0f));
        if (m_bBackGroundScale9Enabled) {
            static_cast<CCScale9Sprite*>(m_pBackGroundImage)->setPreferredSize(m_size);
        }
    }
    if (m_pColorRender) m_pColorRender->setContentSize(m_size);
    if (m_pGradientRender) m_pGradientRender->setContentSize(m_size);
}

CCSize Layout::getContentSize() { return m_pRender ? m_pRender->getContentSize() : CCSizeZero; }

bool Layout::hitTest(const CCPoint& worldPoint) {
    if (!m_pRender) return false;
    if (!CCAffineTransformIsInvertible(m_pRender->nodeToWorldTransform())) return false;
    CCPoint p = m_pRender->convertToNodeSpace(worldPoint);
    return p.x >= 0 && p.x <= m_size.width && p.y >= 0 && p.y <= m_size.height;
}

// ---------------------------------------------------------------- colour

// The panel itself keeps no colour: only the background image is tinted.
void Layout::setColor(const ccColor3B& color) {
    UIWidget::setColor(color);
    if (CCRGBAProtocol* image = dynamic_cast<CCRGBAProtocol*>(m_pBackGroundImage)) {
        image->setColor(color);
    }
}

void Layout::setOpacity(unsigned char opacity) {
    UIWidget::setOpacity(opacity);
    if (CCRGBAProtocol* image = dynamic_cast<CCRGBAProtocol*>(m_pBackGroundImage)) {
        image->setOpacity(opacity);
    }
}

void Layout::setBackGroundColorType(BackGroundColorType type) {
    if (type == m_colorType) return;
    // Only the renderer of the current kind can exist; drop whichever does.
    if (m_pColorRender) {
        m_pRender->removeChild(m_pColorRender, true);
        m_pColorRender = nullptr;
    }
    if (m_pGradientRender) {
        m_pRender->removeChild(m_pGradientRender, true);
        m_pGradientRender = nullptr;
    }
    m_colorType = type;
    switch (type) {
        case BackGroundColorSolid:
            m_pColorRender = CCLayerColor::create();
            m_pColorRender->setContentSize(m_size);
            m_pColorRender->setOpacity(m_cColorOpacity);
            m_pColorRender->setColor(m_cColor);
            m_pRender->addChild(m_pColorRender, kColorRendererZ);
            break;
        case BackGroundColorGradient:
            m_pGradientRender = CCLayerGradient::create();
            m_pGradientRender->setContentSize(m_size);
            m_pGradientRender->setOpacity(m_cColorOpacity);
            m_pGradientRender->setStartColor(m_gStartColor);
            m_pGradientRender->setEndColor(m_gEndColor);
            m_pGradientRender->setVector(m_alongVector);
            m_pRender->addChild(m_pGradientRender, kColorRendererZ);
            break;
        default:
            break;
    }
}

void Layout::setBackGroundColor(const ccColor3B& color) {
    m_cColor = color;
    if (m_pColorRender) m_pColorRender->setColor(color);
}

void Layout::setBackGroundColor(const ccColor3B& startColor, const ccColor3B& endColor) {
    m_gStartColor = startColor;
    if (m_pGradientRender) m_pGradientRender->setStartColor(startColor);
    m_gEndColor = endColor;
    if (m_pGradientRender) m_pGradientRender->setEndColor(endColor);
}

void Layout::setBackGroundColorVector(const CCPoint& vector) {
    m_alongVector = vector;
    if (m_pGradientRender) m_pGradientRender->setVector(vector);
}

void Layout::setBackGroundColorOpacity(unsigned char opacity) {
    m_cColorOpacity = opacity;
    if (m_colorType == BackGroundColorSolid && m_pColorRender) {
        m_pColorRender->setOpacity(opacity);
    } else if (m_colorType == BackGroundColorGradient && m_pGradientRender) {
        m_pGradientRender->setOpacity(opacity);
    }
}

// ---------------------------------------------------------------- background image

void Layout::addBackGroundImage() {
    if (m_bBackGroundScale9Enabled) {
        CCScale9Sprite* image = CCScale9Sprite::create();
        m_pRender->addChild(image, kBackGroundImageZ);
        image->setPreferredSize(m_size);
        m_pBackGroundImage = image;
    } else {
        CCSprite* image = CCSprite::create();
        m_pRender->addChild(image, kBackGroundImageZ);
        m_pBackGroundImage = image;
    }
    m_pBackGroundImage->setPosition(CCPoint(m_size.width / 2.0f, m_size.height / 2.0f));
}

void Layout::removeBackGroundImage() {
    if (!m_pBackGroundImage) return;
    m_pRender->removeChild(m_pBackGroundImage, true);
    m_pBackGroundImage = nullptr;
}

void Layout::setBackGroundImage(const char* fileName, TextureResType texType) {
    if (!fileName || !*fileName) return;
    if (!m_pBackGroundImage) addBackGroundImage();
    // Copy first: the caller may hand us our own stored name.
    std::string name = fileName;
    m_strBackGroundImageFileName = name;
    m_eBGImageTexType = texType;
    if (m_bBackGroundScale9Enabled) {
        CCScale9Sprite* image = static_cast<CCScale9Sprite*>(m_pBackGroundImage);
        if (texType == TextureLocal) {
            image->initWithFile(name.c_str());
        } else if (texType == TexturePlist) {
            image->initWithSpriteFrameName(name.c_str());
        }
        image->setPreferredSize(m_size);
    } else {
        CCSprite* image = static_cast<CCSprite*>(m_pBackGroundImage);
        if (texType == TextureLocal) {
            image->initWithFile(name.c_str());
        } else if (texType == TexturePlist) {
            image->initWithSpriteFrameName(name.c_str());
        }
    }
    if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(m_pBackGroundImage)) {
        rgba->setColor(getColor());
        rgba->setOpacity(getOpacity());
    }
    m_pBackGroundImage->setPosition(CCPoint(m_size.width / 2.0f, m_size.height / 2.0f));
}

void Layout::setBackGroundImageScale9Enabled(bool enabled) {
    if (enabled == m_bBackGroundScale9Enabled) return;
    removeBackGroundImage();
    m_bBackGroundScale9Enabled = enabled;
    addBackGroundImage();
    std::string name = m_strBackGroundImageFileName;
    setBackGroundImage(name.c_str(), m_eBGImageTexType);
    setBackGroundImageCapInsets(m_backGroundImageCapInsets);
}

void Layout::setBackGroundImageCapInsets(const CCRect& capInsets) {
    m_backGroundImageCapInsets = capInsets;
    if (m_bBackGroundScale9Enabled && m_pBackGroundImage) {
        static_cast<CCScale9Sprite*>(m_pBackGroundImage)->setCapInsets(capInsets);
    }
}

}  // namespace pagly::gui
