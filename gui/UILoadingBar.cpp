#include "gui/UILoadingBar.h"

#include "engine/nodes/CCSprite.h"
#include "gui/CCScale9Sprite.h"
#include "gui/TextureNodes.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UILoadingBar::UILoadingBar() {}

UILoadingBar::~UILoadingBar() {}

UILoadingBar* UILoadingBar::create() { return ccCreateInitialized(new UILoadingBar()); }

void UILoadingBar::initRenderer() {
    UIWidget::initRenderer();
    m_pBarRenderer = texturenode::create(m_bScale9Enabled);
    m_pRender->addChild(m_pBarRenderer);
    m_pBarRenderer->setAnchorPoint(CCPoint(0.0f, 0.5f));
}

std::string UILoadingBar::getDescription() const { return "LoadingBar"; }

CCNode* UILoadingBar::getRenderNode() { return m_pBarRenderer; }

CCSize UILoadingBar::getContentSize() { return m_barRendererTextureSize; }

void UILoadingBar::loadTexture(const char* name, TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    m_strTextureFile = copy;
    m_eRenderBarTexType = texType;
    // An image that cannot be loaded leaves the node as it is: it must then hold the whole old
    // image, not the share the bar showed, or that share would pass for the whole from now on.
    showWholeImage();
    texturenode::load(m_pBarRenderer, m_bScale9Enabled, copy.c_str(), texType, m_capInsets);
    texturenode::tint(m_pBarRenderer, m_bScale9Enabled, getColor(), getOpacity());
    m_barRendererTextureSize = m_pBarRenderer->getContentSize();
    // A sheet frame is cut from its own place in the sheet, a file from its corner; read from the
    // node, which shows the one it holds.
    m_barTextureOrigin = CCPointZero;
    if (!m_bScale9Enabled) {
        m_barTextureOrigin = static_cast<CCSprite*>(m_pBarRenderer)->getTextureRect().origin;
    }
    // Loading resets the node's anchor and flip.
    applyDirection();
    onSizeChanged();
    // A fresh image shows all of itself; bring back the share the bar stands at.
    applyPercent();
}

void UILoadingBar::setDirection(int direction) {
    if (direction != LoadingBarTypeLeft && direction != LoadingBarTypeRight) {
        CCLog(
            "UILoadingBar::setDirection: %d is neither 0 (from the left) nor 1 (from the "
            "right); keeping %d",
            direction, m_nBarType);
        return;
    }
    if (direction == m_nBarType) return;
    m_nBarType = direction;
    applyDirection();
}

void UILoadingBar::applyDirection() {
    bool right = m_nBarType == LoadingBarTypeRight;
    m_pBarRenderer->setAnchorPoint(CCPoint(right ? 1.0f : 0.0f, 0.5f));
    m_pBarRenderer->setPosition(CCPoint((right ? 1.0f : -1.0f) * m_fTotalLength / 2.0f, 0.0f));
    // A bar filling from the right shows its image mirrored.
    if (!m_bScale9Enabled) texturenode::setFlipX(m_pBarRenderer, right);
}

void UILoadingBar::setPercent(int percent) {
    if (percent < 0 || percent > 100) return;
    if (m_fTotalLength <= 0.0f) return;
    m_nPercent = percent;
    applyPercent();
}

void UILoadingBar::showWholeImage() {
    if (m_bScale9Enabled) {
        static_cast<CCScale9Sprite*>(m_pBarRenderer)->setPreferredSize(m_barRendererTextureSize);
        return;
    }
    static_cast<CCSprite*>(m_pBarRenderer)
        ->setTextureRect(CCRect(m_barTextureOrigin.x, m_barTextureOrigin.y,
                                m_barRendererTextureSize.width, m_barRendererTextureSize.height));
}

void UILoadingBar::applyPercent() {
    float share = m_nPercent / 100.0f;
    if (m_bScale9Enabled) {
        static_cast<CCScale9Sprite*>(m_pBarRenderer)
            ->setPreferredSize(CCSize(share * m_fTotalLength, m_barRendererTextureSize.height));
        return;
    }
    static_cast<CCSprite*>(m_pBarRenderer)
        ->setTextureRect(CCRect(m_barTextureOrigin.x, m_barTextureOrigin.y,
                                m_barRendererTextureSize.width * share,
                                m_barRendererTextureSize.height));
}

void UILoadingBar::onSizeChanged() {
    if (!m_bIgnoreSize) {
        m_fTotalLength = m_size.width;
        if (m_bScale9Enabled) {
            applyPercent();
        } else if (m_barRendererTextureSize.width <= 0 || m_barRendererTextureSize.height <= 0) {
            m_pBarRenderer->setScale(1.0f);
        } else {
            // Scaled against the whole image: the node's current size is only the shown share, and
            // stretching that to the widget would show a partial bar as a full one.
            m_pBarRenderer->setScaleX(m_size.width / m_barRendererTextureSize.width);
            m_pBarRenderer->setScaleY(m_size.height / m_barRendererTextureSize.height);
        }
    } else if (!m_bScale9Enabled) {
        m_fTotalLength = m_barRendererTextureSize.width;
        m_pBarRenderer->setScale(1.0f);
        m_size = m_barRendererTextureSize;
    }
    bool right = m_nBarType == LoadingBarTypeRight;
    m_pBarRenderer->setPosition(CCPoint((right ? 1.0f : -1.0f) * m_fTotalLength / 2.0f, 0.0f));
}

// A nine-slice bar always has a custom size.
void UILoadingBar::setIgnoreSize(bool ignore) {
    if (m_bScale9Enabled && ignore) return;
    UIWidget::setIgnoreSize(ignore);
    m_bPrevIgnoreSize = ignore;
}

void UILoadingBar::setScale9Enabled(bool enabled) {
    if (enabled == m_bScale9Enabled) return;
    m_bScale9Enabled = enabled;
    m_pRender->removeChild(m_pBarRenderer, true);
    m_pBarRenderer = texturenode::create(m_bScale9Enabled);
    m_pRender->addChild(m_pBarRenderer);
    std::string file = m_strTextureFile;
    loadTexture(file.c_str(), m_eRenderBarTexType);
    applyDirection();
    if (enabled) {
        m_bPrevIgnoreSize = m_bIgnoreSize;
        UIWidget::setIgnoreSize(false);
    } else {
        setIgnoreSize(m_bPrevIgnoreSize);
    }
    setCapInsets(m_capInsets);
    applyPercent();
}

void UILoadingBar::setCapInsets(const CCRect& capInsets) {
    m_capInsets = capInsets;
    texturenode::setCapInsets(m_pBarRenderer, m_bScale9Enabled, capInsets);
}

}  // namespace pagly::gui
