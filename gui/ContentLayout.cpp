#include "gui/ContentLayout.h"

#include "engine/base/RefPtr.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void ContentLayout::initRenderer() {
    Layout::initRenderer();
    m_pInnerContainer = Layout::create();
    if (m_pInnerContainer) UIWidget::addChild(m_pInnerContainer);
}

bool ContentLayout::addChild(UIWidget* child) {
    return m_pInnerContainer ? m_pInnerContainer->addChild(child) : false;
}

bool ContentLayout::removeChild(UIWidget* child) {
    return m_pInnerContainer ? m_pInnerContainer->removeChild(child) : false;
}

void ContentLayout::removeAllChildren() {
    if (m_pInnerContainer) m_pInnerContainer->removeAllChildren();
}

CCArray* ContentLayout::getChildren() {
    return m_pInnerContainer ? m_pInnerContainer->getChildren() : nullptr;
}

void ContentLayout::setLayoutType(int type) {
    if (m_pInnerContainer) m_pInnerContainer->setLayoutType(type);
}

int ContentLayout::getLayoutType() {
    return m_pInnerContainer ? m_pInnerContainer->getLayoutType() : LayoutAbsolute;
}

void ContentLayout::doLayout() {
    if (m_pInnerContainer) m_pInnerContainer->doLayout();
}

// A listener may let go of the container while it is told: keep it until the end.
bool ContentLayout::onTouchBegan(const CCPoint& touchPoint) {
    RefPtr<ContentLayout> keep(this);
    bool pass = Layout::onTouchBegan(touchPoint);
    handlePressLogic(touchPoint);
    return pass;
}

void ContentLayout::onTouchMoved(const CCPoint& touchPoint) {
    RefPtr<ContentLayout> keep(this);
    Layout::onTouchMoved(touchPoint);
    handleMoveLogic(touchPoint);
}

void ContentLayout::onTouchEnded(const CCPoint& touchPoint) {
    RefPtr<ContentLayout> keep(this);
    Layout::onTouchEnded(touchPoint);
    handleReleaseLogic(touchPoint);
}

}  // namespace pagly::gui
