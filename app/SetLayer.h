#pragma once

#include "app/ReadingState.h"
#include "engine/nodes/CCLayer.h"
#include "gui/UIWidget.h"

namespace pagly::gui {
class Layout;
class UILayer;
}  // namespace pagly::gui

namespace pagly {

// The settings overlay: choose the reading mode, then confirm or cancel, or go home. Its
// look comes from the settings document; six buttons in it are found by name.
class SetLayer : public engine::CCLayer {
  public:
    SetLayer();
    // Forgets the chosen button when the overlay goes.
    ~SetLayer() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void onExitTransitionDidStart() override;

    // Touch listener of the six buttons; acts on the first touch event.
    void onSettingTouched(engine::CCObject* sender, gui::WidgetTouchEvent kind);

    ReadingMode pendingMode() const { return m_pendingMode; }
    gui::UILayer* uiLayer() const { return m_uiLayer; }

  private:
    void returnToPage();

    gui::UILayer* m_uiLayer = nullptr;  // a child of this layer
    ReadingMode m_pendingMode;
    gui::Layout* m_documentWidget = nullptr;  // owned by the widget tree
    bool m_leaving = false;
};

}  // namespace pagly
