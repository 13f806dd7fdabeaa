#pragma once

#include "gui/Layout.h"
#include "gui/UIScrollInterface.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// A panel that keeps its content widgets in an inner container it moves as a whole (the
// scroll view and the drag panel): children added to it go to the container. Its own touches
// run the widget behaviour first, then the container's press / move / release.
class ContentLayout : public Layout, public UIScrollInterface {
  public:
    bool onTouchBegan(const CCPoint& touchPoint) override;
    void onTouchMoved(const CCPoint& touchPoint) override;
    void onTouchEnded(const CCPoint& touchPoint) override;

    bool addChild(UIWidget* child) override;
    bool removeChild(UIWidget* child) override;
    void removeAllChildren() override;
    CCArray* getChildren() override;
    void setLayoutType(int type) override;
    int getLayoutType() override;
    void doLayout() override;

    Layout* getInnerContainer() const { return m_pInnerContainer; }

  protected:
    void initRenderer() override;

    Layout* m_pInnerContainer = nullptr;  // owned by the panel's own children array
};

}  // namespace pagly::gui
