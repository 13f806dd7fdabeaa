#pragma once

#include "app/KeyHelp.h"
#include "app/ReadingSession.h"
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
    // Desktop keys, each as a touch on a button: Left / Right (or Up / Down) move the choice
    // of mode, Enter confirms, Escape cancels; F1 or '?' lists the keys.
    void keyPressed(int keyCode) override;
    bool isKeyHelpShown() const { return m_keyHelp.isShown(); }
    // A tap that begins and ends outside the card cancels.
    void ccTouchesBegan(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesEnded(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesCancelled(engine::CCSet* touches, engine::CCEvent* event) override;

    ReadingMode pendingMode() const { return m_pendingMode; }
    gui::UILayer* uiLayer() const { return m_uiLayer; }

  private:
    void returnToPage();
    // Acts as a touch on the button with this action tag would; false when there is none.
    bool press(int tag);
    bool isOutsideCard(const engine::CCPoint& at) const;

    gui::UILayer* m_uiLayer = nullptr;  // a child of this layer
    ReadingMode m_pendingMode;
    gui::Layout* m_documentWidget = nullptr;  // owned by the widget tree
    bool m_leaving = false;
    gui::UIWidget* m_buttons[6] = {};  // by action tag - 1; owned by the widget tree
    KeyHelp m_keyHelp;
    gui::UIWidget* m_card = nullptr;  // owned by the widget tree; null without one
    int m_outsideTouch = -1;          // the touch that began outside the card, or -1
};

}  // namespace pagly
