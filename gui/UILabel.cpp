#include "gui/UILabel.h"

#include <cstring>

#include "engine/nodes/CCLabelTTF.h"
#include "gui/LabelSizing.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UILabel::UILabel() {}

UILabel::~UILabel() {}

UILabel* UILabel::create() { return ccCreateInitialized(new UILabel()); }

void UILabel::initRenderer() {
    UIWidget::initRenderer();
    m_pLabelRenderer = CCLabelTTF::create();
    m_pRender->addChild(m_pLabelRenderer);
}

std::string UILabel::getDescription() const { return "Label"; }

void UILabel::setText(const char* text) {
    if (!text) return;
    m_pLabelRenderer->setString(text);
    labelScaleChangedWithSize();
}

const char* UILabel::getStringValue() const { return m_pLabelRenderer->getString(); }

int UILabel::getStringLength() const { return (int)std::strlen(m_pLabelRenderer->getString()); }

void UILabel::setFontSize(int size) {
    m_pLabelRenderer->setFontSize((float)size);
    labelScaleChangedWithSize();
}

void UILabel::setFontName(const char* name) {
    if (!name) return;
    m_pLabelRenderer->setFontName(name);
    labelScaleChangedWithSize();
}

void UILabel::setTextAreaSize(const CCSize& size) {
    m_pLabelRenderer->setDimensions(size);
    labelScaleChangedWithSize();
}

void UILabel::setTextHorizontalAlignment(int alignment) {
    m_pLabelRenderer->setHorizontalAlignment((CCTextAlignment)alignment);
    labelScaleChangedWithSize();
}

void UILabel::setTextVerticalAlignment(int alignment) {
    m_pLabelRenderer->setVerticalAlignment((CCVerticalTextAlignment)alignment);
    labelScaleChangedWithSize();
}

void UILabel::setTouchScaleEnabled(bool enabled) {
    m_bTouchScaleEnabled = enabled;
    m_fNormalScaleValue = m_pRender->getScaleX();
    m_fNormalScaleValueY = m_pRender->getScaleY();
}

void UILabel::onStateNormal() {
    if (!m_bTouchScaleEnabled) return;
    m_pRender->setScaleX(m_fNormalScaleValue);
    m_pRender->setScaleY(m_fNormalScaleValueY);
}

void UILabel::onStatePressed() {
    if (!m_bTouchScaleEnabled) return;
    m_pRender->setScaleX(m_fNormalScaleValue + m_fOnSelectedScaleOffset);
    m_pRender->setScaleY(m_fNormalScaleValueY + m_fOnSelectedScaleOffset);
}

void UILabel::onSizeChanged() { labelScaleChangedWithSize(); }

void UILabel::labelScaleChangedWithSize() {
    applyLabelSizeRule(m_pLabelRenderer, m_bIgnoreSize, m_size);
}

CCSize UILabel::getContentSize() { return m_pLabelRenderer->getContentSize(); }

CCNode* UILabel::getRenderNode() { return m_pLabelRenderer; }

void UILabel::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pLabelRenderer->setAnchorPoint(anchor);
}

void UILabel::setFlipX(bool flipX) { m_pLabelRenderer->setFlipX(flipX); }
bool UILabel::isFlipX() { return m_pLabelRenderer->isFlipX(); }
void UILabel::setFlipY(bool flipY) { m_pLabelRenderer->setFlipY(flipY); }
bool UILabel::isFlipY() { return m_pLabelRenderer->isFlipY(); }

}  // namespace pagly::gui
