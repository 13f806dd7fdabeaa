#include "gui/UILabelBMFont.h"

#include "engine/nodes/CCLabelBMFont.h"
#include "gui/LabelSizing.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UILabelBMFont::UILabelBMFont() {}

UILabelBMFont::~UILabelBMFont() {}

UILabelBMFont* UILabelBMFont::create() { return ccCreateInitialized(new UILabelBMFont()); }

void UILabelBMFont::initRenderer() {
    UIWidget::initRenderer();
    m_pLabelBMFontRenderer = CCLabelBMFont::create();
    m_pRender->addChild(m_pLabelBMFontRenderer);
}

std::string UILabelBMFont::getDescription() const { return "LabelBMFont"; }

void UILabelBMFont::setFntFile(const char* fileName) {
    if (!fileName || !*fileName) return;
    // A font that cannot be used has been named by the label; the old font stays.
    m_pLabelBMFontRenderer->initWithString("", fileName, kLabelAutomaticWidth, kTextAlignmentLeft,
                                           CCPointZero);
    setAnchorPoint(m_anchorPoint);
    applyLabelSizeRule(m_pLabelBMFontRenderer, m_bIgnoreSize, m_size);
    m_bFntFileHasInit = true;
}

void UILabelBMFont::setText(const char* text) {
    if (!text || !m_bFntFileHasInit) return;
    m_pLabelBMFontRenderer->setString(text);
    applyLabelSizeRule(m_pLabelBMFontRenderer, m_bIgnoreSize, m_size);
}

const char* UILabelBMFont::getStringValue() const { return m_pLabelBMFontRenderer->getString(); }

void UILabelBMFont::onSizeChanged() {
    applyLabelSizeRule(m_pLabelBMFontRenderer, m_bIgnoreSize, m_size);
}

CCSize UILabelBMFont::getContentSize() { return m_pLabelBMFontRenderer->getContentSize(); }

CCNode* UILabelBMFont::getRenderNode() { return m_pLabelBMFontRenderer; }

void UILabelBMFont::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pLabelBMFontRenderer->setAnchorPoint(anchor);
}

}  // namespace pagly::gui
