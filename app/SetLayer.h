#pragma once

#include "app/ReadingState.h"
#include "engine/nodes/CCLayer.h"
#include "gui/UIWidget.h"

namespace cocos2d::extension {
class Layout;
class UILayer;
}  // namespace cocos2d::extension

namespace pagly {

// The settings overlay: choose the reading mode, then confirm or cancel, or go home. Its
// look comes from the settings document; six buttons in it are found by name.
class SetLayer : public cocos2d::CCLayer {
  public:
    SetLayer();
    // Forgets the chosen button when the overlay goes.
    ~SetLayer() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void onExitTransitionDidStart() override;

    // Touch listener of the six buttons; acts on the first touch event.
    void onSettingTouched(cocos2d::CCObject* sender, cocos2d::extension::WidgetTouchEvent kind);

    ReadingMode pendingMode() const { return m_pendingMode; }
    cocos2d::extension::UILayer* uiLayer() const { return m_uiLayer; }

  private:
    void returnToPage();

    cocos2d::extension::UILayer* m_uiLayer = nullptr;  // a child of this layer
    ReadingMode m_pendingMode;
    cocos2d::extension::Layout* m_documentWidget = nullptr;  // owned by the widget tree
    bool m_leaving = false;
};

}  // namespace pagly
