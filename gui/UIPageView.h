#pragma once

#include "gui/Layout.h"
#include "gui/UIScrollInterface.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// A clipping panel with page bookkeeping. Paging (moving pages with the finger) works only on its
// own list of pages, which documents never fill: they attach their widgets as ordinary children, so
// a drag over a page view moves none of them. A touch on the view ends as soon as the finger leaves
// it.
class UIPageView : public Layout, public UIScrollInterface {
  public:
    UIPageView();
    ~UIPageView() override;
    static UIPageView* create();

    bool init() override;
    std::string getDescription() const override;

    bool removeChild(UIWidget* child) override;
    void removeAllChildren() override;
    // Children are placed where they are put; the page view arranges nothing.
    void doLayout() override;

    bool onTouchBegan(const CCPoint& touchPoint) override;
    void onTouchMoved(const CCPoint& touchPoint) override;
    void onTouchEnded(const CCPoint& touchPoint) override;
    void onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) override;
    void update(float dt) override;

    void handlePressLogic(const CCPoint& touchPoint) override;
    void handleMoveLogic(const CCPoint& touchPoint) override;
    void handleReleaseLogic(const CCPoint& touchPoint) override;

    CCArray* getPages() const { return m_pages.get(); }
    int getCurPageIndex() const { return m_nCurrentPage; }
    float getChildFocusCancelOffset() const { return m_fChildFocusCancelOffset; }

  protected:
    // A finger that stays near where it touched a child is still pressing it.
    bool hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const override;

  private:
    RefPtr<CCArray> m_pages;
    int m_nCurrentPage = 0;
    float m_fChildFocusCancelOffset = 5.0f;
    // The finger's last x in the view's space, from which page moves are measured.
    float m_fTouchMoveStartX = 0.0f;
};

}  // namespace pagly::gui
