#include "gui/UIImageView.h"

#include "gui/TextureNodes.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UIImageView::UIImageView() {}

UIImageView::~UIImageView() {}

UIImageView* UIImageView::create() { return ccCreateInitialized(new UIImageView()); }

void UIImageView::initRenderer() {
    UIWidget::initRenderer();
    m_pImageRenderer = texturenode::create(m_bScale9Enabled);
    m_pRender->addChild(m_pImageRenderer);
}

std::string UIImageView::getDescription() const { return "ImageView"; }

void UIImageView::loadTexture(const char* name, TextureResType texType) {
    if (!name || !*name) return;
    std::string copy = name;
    m_strTextureFile = copy;
    m_eImageTexType = texType;
    texturenode::load(m_pImageRenderer, m_bScale9Enabled, copy.c_str(), texType, m_capInsets);
    texturenode::tint(m_pImageRenderer, m_bScale9Enabled, getColor(), getOpacity());
    m_imageTextureSize = m_pImageRenderer->getContentSize();
    setAnchorPoint(m_anchorPoint);
    fitImage();
}

void UIImageView::fitImage() {
    if (m_bIgnoreSize && !m_bScale9Enabled) {
        m_pImageRenderer->setScale(1.0f);
        m_size = m_imageTextureSize;
        return;
    }
    // The natural size is taken afresh from the node.
    texturenode::fit(m_pImageRenderer, m_bScale9Enabled, m_bIgnoreSize, m_size,
                     m_pImageRenderer->getContentSize());
}

void UIImageView::setScale9Enabled(bool enabled) {
    if (enabled == m_bScale9Enabled) return;
    m_bScale9Enabled = enabled;
    m_pRender->removeChild(m_pImageRenderer, true);
    m_pImageRenderer = texturenode::create(m_bScale9Enabled);
    m_pRender->addChild(m_pImageRenderer);
    std::string file = m_strTextureFile;
    loadTexture(file.c_str(), m_eImageTexType);
    if (enabled) {
        // Remember the size mode to restore; the base call keeps that memory intact.
        m_bPrevIgnoreSize = m_bIgnoreSize;
        UIWidget::setIgnoreSize(false);
    } else {
        setIgnoreSize(m_bPrevIgnoreSize);
    }
    setCapInsets(m_capInsets);
}

void UIImageView::setCapInsets(const CCRect& capInsets) {
    m_capInsets = capInsets;
    texturenode::setCapInsets(m_pImageRenderer, m_bScale9Enabled, capInsets);
}

// A nine-slice image always has a custom size.
void UIImageView::setIgnoreSize(bool ignore) {
    if (m_bScale9Enabled && ignore) return;
    UIWidget::setIgnoreSize(ignore);
    m_bPrevIgnoreSize = ignore;
}

void UIImageView::onSizeChanged() { fitImage(); }

CCSize UIImageView::getContentSize() { return m_imageTextureSize; }

CCNode* UIImageView::getRenderNode() { return m_pImageRenderer; }

void UIImageView::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pImageRenderer->setAnchorPoint(anchor);
}

void UIImageView::setFlipX(bool flipX) {
    if (!m_bScale9Enabled) texturenode::setFlipX(m_pImageRenderer, flipX);
}

void UIImageView::setFlipY(bool flipY) {
    if (!m_bScale9Enabled) texturenode::setFlipY(m_pImageRenderer, flipY);
}

bool UIImageView::isFlipX() {
    return m_bScale9Enabled ? false : texturenode::isFlipX(m_pImageRenderer);
}

bool UIImageView::isFlipY() {
    return m_bScale9Enabled ? false : texturenode::isFlipY(m_pImageRenderer);
}

}  // namespace pagly::gui
