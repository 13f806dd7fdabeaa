#include "gui/UILayer.h"

#include "engine/director/CCTouch.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetInputManager.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UILayer::UILayer() {}

UILayer::~UILayer() {
    // The tree first: its widgets may still sit in the input manager's list.
    m_pRootWidget.reset();
    m_pInputManager.reset();
}

UILayer* UILayer::create() { return ccCreateInitialized(new UILayer()); }

bool UILayer::init() {
    if (!CCLayer::init()) return false;
    m_pRootWidget = UIRootWidget::create();
    if (!m_pRootWidget) return false;
    // The tree runs from now on, whether or not the layer is on stage.
    m_pRootWidget->onEnter();
    addChild(m_pRootWidget->getContainerNode());
    m_pInputManager.reset(new WidgetInputManager());
    m_pInputManager->setRootWidget(m_pRootWidget.get());
    return true;
}

UIRootWidget* UILayer::getRootWidget() const { return m_pRootWidget.get(); }

void UILayer::setVisible(bool visible) {
    CCLayer::setVisible(visible);
    if (m_pRootWidget) m_pRootWidget->setVisible(visible);
}

void UILayer::onEnter() {
    setTouchMode(kTouchesOneByOne);
    setTouchEnabled(true);
    CCLayer::onEnter();
}

void UILayer::onExit() {
    // The engine drops a touch this layer claimed when it leaves; so does the layer, or its
    // widget would stay pressed and take part in the next touch after a return.
    if (m_pInputManager) m_pInputManager->abandonTouch();
    setTouchEnabled(false);
    CCLayer::onExit();
}

// Unregistering made the engine forget the touch this layer had claimed; its end never comes.
void UILayer::registerWithTouchDispatcher() {
    if (m_pInputManager) m_pInputManager->abandonTouch();
    CCLayer::registerWithTouchDispatcher();
}

void UILayer::clearWidgets() {
    if (m_pRootWidget) m_pRootWidget->removeAllChildren();
}

void UILayer::dispose() { removeFromParentAndCleanup(true); }

bool UILayer::ccTouchBegan(CCTouch* touch, CCEvent*) {
    if (!m_pInputManager) return false;
    RefPtr<UILayer> keep(this);
    return m_pInputManager->onTouchBegan(touch->getLocation());
}

void UILayer::ccTouchMoved(CCTouch* touch, CCEvent*) {
    if (!m_pInputManager) return;
    RefPtr<UILayer> keep(this);
    m_pInputManager->onTouchMoved(touch->getLocation());
}

void UILayer::ccTouchEnded(CCTouch* touch, CCEvent*) {
    if (!m_pInputManager) return;
    RefPtr<UILayer> keep(this);
    m_pInputManager->onTouchEnded(touch->getLocation());
}

void UILayer::ccTouchCancelled(CCTouch* touch, CCEvent*) {
    if (!m_pInputManager) return;
    RefPtr<UILayer> keep(this);
    m_pInputManager->onTouchCancelled(touch->getLocation());
}

}  // namespace pagly::gui
