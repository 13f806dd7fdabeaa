#pragma once

#include "gui/ContentLayout.h"
#include "gui/UIScrollInterface.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Which way a scroll view scrolls (a document's "direction"); other values scroll nowhere.
enum ScrollViewDirection {
    ScrollViewDirNone = 0,
    ScrollViewDirVertical = 1,
    ScrollViewDirHorizontal = 2,
};

// The way the finger last moved over a scroll view; inertia keeps going that way.
enum ScrollViewMoveDirection {
    ScrollViewMoveNone = 0,
    ScrollViewMoveUp = 1,
    ScrollViewMoveDown = 2,
    ScrollViewMoveLeft = 3,
    ScrollViewMoveRight = 4,
};

// What a scroll view's listener is told: the content came to rest against one of its ends.
enum ScrollViewEventType {
    ScrollViewEventScrollToTop = 0,
    ScrollViewEventScrollToBottom = 1,
    ScrollViewEventScrollToLeft = 2,
    ScrollViewEventScrollToRight = 3,
};

typedef void (CCObject::*SEL_ScrollViewEvent)(CCObject* sender, ScrollViewEventType kind);

// A clipping panel whose content (kept in an inner container) the finger scrolls along one axis.
// The content never passes its ends: reaching one stops it there and tells the listener. A flick
// keeps the content moving, slowing at a constant rate, frame by frame.
class UIScrollView : public ContentLayout {
  public:
    UIScrollView();
    ~UIScrollView() override;
    static UIScrollView* create();

    bool init() override;
    std::string getDescription() const override;
    void onExit() override;

    void onTouchCancelled(const CCPoint& touchPoint) override;
    void onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) override;
    void update(float dt) override;

    void handlePressLogic(const CCPoint& touchPoint) override;
    void handleMoveLogic(const CCPoint& touchPoint) override;
    void handleReleaseLogic(const CCPoint& touchPoint) override;

    // --- operations the scroll view adds, in their slot order ---
    // Moves the content by offset along the axis unless that would pass an end, in which case the
    // content stops exactly at the end, the end's event fires and the answer is false.
    virtual bool scrollChildren(float offset);
    // Turns the finger's slide into inertia when it lasted more than one frame's worth.
    virtual void endRecordSlide();

    // Sizes the inner container (never smaller than the view) and aligns it to the top.
    void setInnerContainerSize(const CCSize& size);
    const CCSize& getInnerContainerSize() const;
    // Moves the content by offset along the scroll axis, without any limit.
    void moveChildren(float offset);

    // 1 = vertical, 2 = horizontal; any other value (a document without "direction" gives 0) is
    // kept and scrolls nowhere.
    void setDirection(int direction);
    int getDirection() const { return m_eDirection; }
    int getMoveDirection() const { return m_eMoveDirection; }

    void addEventListener(CCObject* target, SEL_ScrollViewEvent selector);

    bool isAutoScrolling() const { return m_bAutoScroll; }
    float getAutoScrollSpeed() const { return m_fAutoScrollSpeed; }
    float getAutoScrollDeceleration() const { return m_fAutoScrollDeceleration; }
    bool isPressed() const { return m_bPressed; }
    float getSlideTime() const { return m_fSlideTime; }
    float getChildFocusCancelOffset() const { return m_fChildFocusCancelOffset; }
    bool isTopEnd() const { return m_bTopEnd; }
    bool isBottomEnd() const { return m_bBottomEnd; }
    bool isLeftEnd() const { return m_bLeftEnd; }
    bool isRightEnd() const { return m_bRightEnd; }

  protected:
    void onSizeChanged() override;
    // A finger that stays near where it touched a child is still pressing it.
    bool hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const override;

  private:
    // The coordinate along the scroll axis of a world point, in the view's own space.
    float axisCoordinate(const CCPoint& worldPoint);
    void fitInnerContainer(const CCSize& requested);
    void stopAutoScroll();
    void fireEvent(ScrollViewEventType kind);

    int m_eDirection = ScrollViewDirVertical;
    int m_eMoveDirection = ScrollViewMoveNone;
    float m_fTouchBeganPoint = 0.0f;
    float m_fTouchMovedPoint = 0.0f;
    float m_fTouchEndPoint = 0.0f;
    float m_fTopBoundary = 0.0f;
    float m_fBottomBoundary = 0.0f;
    float m_fLeftBoundary = 0.0f;
    float m_fRightBoundary = 0.0f;
    bool m_bTopEnd = false;
    bool m_bBottomEnd = false;
    bool m_bLeftEnd = false;
    bool m_bRightEnd = false;
    bool m_bAutoScroll = false;
    float m_fAutoScrollSpeed = 0.0f;
    float m_fAutoScrollDeceleration = 600.0f;
    bool m_bPressed = false;
    float m_fSlideTime = 0.0f;
    float m_fChildFocusCancelOffset = 5.0f;
    bool m_bSlideScrolled = false;          // the finger scrolled the content since the press
    CCObject* m_pScrollListener = nullptr;  // non-owning, as listeners always are
    SEL_ScrollViewEvent m_pfnScrollSelector = nullptr;
};

}  // namespace pagly::gui
