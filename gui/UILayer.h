#pragma once

#include <memory>

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCLayer.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

class UIRootWidget;
class WidgetInputManager;

// Hosts a widget tree on stage and makes it touchable. The layer owns one root widget (whose
// render node is the layer's child) and one input manager; while on stage it is a targeted,
// swallowing touch delegate that claims a touch only when a widget takes it, so an unclaimed
// touch still reaches menus and layers below.
class UILayer : public CCLayer {
  public:
    UILayer();
    ~UILayer() override;
    static UILayer* create();

    bool init() override;
    void setVisible(bool visible) override;
    void onEnter() override;
    void onExit() override;
    // The engine's registration, after dropping a touch that an earlier registration claimed.
    void registerWithTouchDispatcher() override;

    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override;
    void ccTouchMoved(CCTouch* touch, CCEvent* event) override;
    void ccTouchEnded(CCTouch* touch, CCEvent* event) override;
    void ccTouchCancelled(CCTouch* touch, CCEvent* event) override;

    // Removes every widget under the root.
    virtual void clearWidgets();
    // Takes the layer off stage (and drops its parent's reference).
    virtual void dispose();

    UIRootWidget* getRootWidget() const;
    WidgetInputManager* getInputManager() const { return m_pInputManager.get(); }

  private:
    RefPtr<UIRootWidget> m_pRootWidget;
    std::unique_ptr<WidgetInputManager> m_pInputManager;
};

}  // namespace pagly::gui
