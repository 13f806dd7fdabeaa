#include "gui/UILabelAtlas.h"

#include "gui/LabelSizing.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// ---------------------------------------------------------------- UICCLabelAtlas

UICCLabelAtlas::UICCLabelAtlas() {}

UICCLabelAtlas::~UICCLabelAtlas() {}

UICCLabelAtlas* UICCLabelAtlas::create() { return ccCreateInitialized(new UICCLabelAtlas()); }

void UICCLabelAtlas::setProperty(const char* text, const char* charMapFile, unsigned int itemWidth,
                                 unsigned int itemHeight, unsigned int startChar) {
    if (!initWithString(text ? text : "", charMapFile ? charMapFile : "", itemWidth, itemHeight,
                        startChar)) {
        // An image that cannot be used has been named by the texture cache.
        CCLog("label atlas: no character map, or cells of %ux%u", itemWidth, itemHeight);
    }
}

// Before it has a character map there is nothing to draw.
void UICCLabelAtlas::draw(Renderer* renderer) {
    if (!isInitialized()) return;
    CCLabelAtlas::draw(renderer);
}

// ---------------------------------------------------------------- UILabelAtlas

UILabelAtlas::UILabelAtlas() {}

UILabelAtlas::~UILabelAtlas() {}

UILabelAtlas* UILabelAtlas::create() { return ccCreateInitialized(new UILabelAtlas()); }

void UILabelAtlas::initRenderer() {
    UIWidget::initRenderer();
    m_pLabelAtlasRenderer = UICCLabelAtlas::create();
    m_pRender->addChild(m_pLabelAtlasRenderer);
}

std::string UILabelAtlas::getDescription() const { return "LabelAtlase"; }

void UILabelAtlas::setProperty(const char* text, const char* charMapFile, int itemWidth,
                               int itemHeight, const char* startChar) {
    // Negative cell sizes are nonsense from a document; the map then stays unusable.
    unsigned int width = itemWidth > 0 ? (unsigned int)itemWidth : 0;
    unsigned int height = itemHeight > 0 ? (unsigned int)itemHeight : 0;
    unsigned int first = startChar ? (unsigned char)startChar[0] : 0;
    m_pLabelAtlasRenderer->setProperty(text, charMapFile, width, height, first);
    setAnchorPoint(m_anchorPoint);
    applyLabelSizeRule(m_pLabelAtlasRenderer, m_bIgnoreSize, m_size);
}

const char* UILabelAtlas::getStringValue() const { return m_pLabelAtlasRenderer->getString(); }

void UILabelAtlas::onSizeChanged() {
    applyLabelSizeRule(m_pLabelAtlasRenderer, m_bIgnoreSize, m_size);
}

CCSize UILabelAtlas::getContentSize() { return m_pLabelAtlasRenderer->getContentSize(); }

CCNode* UILabelAtlas::getRenderNode() { return m_pLabelAtlasRenderer; }

void UILabelAtlas::setAnchorPoint(const CCPoint& anchor) {
    UIWidget::setAnchorPoint(anchor);
    m_pLabelAtlasRenderer->setAnchorPoint(anchor);
}

}  // namespace pagly::gui
