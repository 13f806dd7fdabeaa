#pragma once

#include "engine/base/CCArray.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/RefPtr.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

class UIWidget;

// Routes one layer's touches into its widget tree: a touch goes to the topmost enabled,
// touch-enabled widget under the finger that lies inside every clipping ancestor, and stays
// with that widget until it ends. Owned by its UILayer.
class WidgetInputManager {
  public:
    WidgetInputManager();
    ~WidgetInputManager();
    WidgetInputManager(const WidgetInputManager&) = delete;
    WidgetInputManager& operator=(const WidgetInputManager&) = delete;

    void setRootWidget(UIWidget* root) { m_pRootWidget = root; }
    UIWidget* getRootWidget() const { return m_pRootWidget; }

    // Picks the widget for a new touch; true when one took it. While a touch holds a widget
    // no other touch is taken.
    bool onTouchBegan(const CCPoint& point);
    void onTouchMoved(const CCPoint& point);
    void onTouchEnded(const CCPoint& point);
    void onTouchCancelled(const CCPoint& point);
    // Forgets the touch in progress without telling the listeners (the engine dropped the
    // layer's claim, so the rest of that touch never comes): its widgets lose their focus.
    void abandonTouch();

    // Depth-first, children from the top down: the first widget that qualifies gets the touch.
    bool pickTouchedWidget(UIWidget* widget, const CCPoint& point);

    CCArray* getTouchedWidgets() const { return m_touchedWidgets.get(); }
    const CCPoint& getTouchBeganPos() const { return m_touchBeganPos; }
    const CCPoint& getTouchMovedPos() const { return m_touchMovedPos; }
    const CCPoint& getTouchEndedPos() const { return m_touchEndedPos; }

  private:
    RefPtr<CCArray> m_touchedWidgets;
    CCPoint m_touchBeganPos, m_touchMovedPos, m_touchEndedPos;
    UIWidget* m_pRootWidget = nullptr;  // non-owning: the layer owns the root
};

}  // namespace pagly::gui
