#pragma once

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCLayer.h"

namespace pagly::engine {

class CCMenuItem;

enum { kMenuStateWaiting, kMenuStateTrackingTouch };

// A layer of CCMenuItems that takes touches before ordinary layers (priority
// kMenuHandlerPriority, swallowing). It claims a touch that begins on a visible, enabled
// item while the menu and all its ancestors are visible; the item under the finger shows
// selected; the item under the finger when the touch ends is activated once. A touch that
// begins on no item is left for the layers below.
class CCMenu : public CCLayer {
  public:
    CCMenu();
    ~CCMenu() override;

    static CCMenu* create();
    // Items up to a terminating null.
    static CCMenu* create(CCMenuItem* item, ...);
    static CCMenu* createWithArray(CCArray* items);
    static CCMenu* createWithItem(CCMenuItem* item);
    bool init() override;
    bool initWithArray(CCArray* items);

    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override;
    void ccTouchMoved(CCTouch* touch, CCEvent* event) override;
    void ccTouchEnded(CCTouch* touch, CCEvent* event) override;
    void ccTouchCancelled(CCTouch* touch, CCEvent* event) override;
    void onExit() override;

    // Stacks the items top to bottom, centred on the menu's origin.
    void alignItemsVertically();
    void alignItemsVerticallyWithPadding(float padding);
    // Lines the items up left to right, centred on the menu's origin.
    void alignItemsHorizontally();
    void alignItemsHorizontallyWithPadding(float padding);

    virtual bool isEnabled() const { return m_bEnabled; }
    virtual void setEnabled(bool enabled) { m_bEnabled = enabled; }
    int getState() const { return m_eState; }
    // The item the current touch is on (null when none).
    CCMenuItem* getSelectedItem() const { return m_pSelectedItem.get(); }

  protected:
    // The topmost visible, enabled item under the touch.
    CCMenuItem* itemForTouch(CCTouch* touch);

    bool m_bEnabled = true;
    int m_eState = kMenuStateWaiting;
    RefPtr<CCMenuItem> m_pSelectedItem;
};

}  // namespace pagly::engine
