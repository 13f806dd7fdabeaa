#include "gui/UIScrollView.h"

#include <algorithm>
#include <cmath>

#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
// A release this soon after the press is a tap, not a flick.
const float kMinSlideTime = 0.016f;
}  // namespace

UIScrollView::UIScrollView() {}

UIScrollView::~UIScrollView() {}

UIScrollView* UIScrollView::create() { return ccCreateInitialized(new UIScrollView()); }

bool UIScrollView::init() {
    if (!ContentLayout::init()) return false;
    setUpdateEnabled(true);
    setTouchEnabled(true);
    setClippingEnabled(true);
    if (m_pInnerContainer) m_pInnerContainer->setTouchEnabled(false);
    return true;
}

std::string UIScrollView::getDescription() const { return "ScrollView"; }

void UIScrollView::onExit() {
    ContentLayout::onExit();
    // Off the tree the gesture is over: a flick must not glide on when the view comes back.
    stopAutoScroll();
    m_bPressed = false;
}

// ---------------------------------------------------------------- size

void UIScrollView::onSizeChanged() {
    ContentLayout::onSizeChanged();
    m_fTopBoundary = m_size.height;
    m_fRightBoundary = m_size.width;
    if (m_pInnerContainer) fitInnerContainer(m_pInnerContainer->getSize());
}

void UIScrollView::setInnerContainerSize(const CCSize& size) {
    if (m_pInnerContainer) fitInnerContainer(size);
}

const CCSize& UIScrollView::getInnerContainerSize() const {
    return m_pInnerContainer ? m_pInnerContainer->getSize() : CCSizeZero;
}

void UIScrollView::fitInnerContainer(const CCSize& requested) {
    // Never smaller than the view, so short content rests against both ends at once.
    CCSize size(std::max(requested.width, m_size.width), std::max(requested.height, m_size.height));
    m_pInnerContainer->setSize(size);
    m_pInnerContainer->setPosition(CCPoint(0.0f, m_size.height - size.height));
}

void UIScrollView::setDirection(int direction) { m_eDirection = direction; }

// ---------------------------------------------------------------- scrolling

void UIScrollView::moveChildren(float offset) {
    if (!m_pInnerContainer) return;
    CCPoint p = m_pInnerContainer->getPosition();
    if (m_eDirection == ScrollViewDirVertical) {
        p.y += offset;
    } else if (m_eDirection == ScrollViewDirHorizontal) {
        p.x += offset;
    } else {
        return;  // no axis: the view scrolls nowhere
    }
    m_pInnerContainer->setPosition(p);
}

bool UIScrollView::scrollChildren(float offset) {
    if (!m_pInnerContainer) return false;
    Layout* inner = m_pInnerContainer;
    if (m_eDirection == ScrollViewDirVertical) {
        if (m_eMoveDirection == ScrollViewMoveUp) {
            float bottom = inner->getBottomEdge();
            if (bottom + offset >= m_fBottomBoundary) {
                moveChildren(m_fBottomBoundary - bottom);
                m_bBottomEnd = true;
                fireEvent(ScrollViewEventScrollToBottom);
                return false;
            }
        } else if (m_eMoveDirection == ScrollViewMoveDown) {
            float top = inner->getTopEdge();
            if (top + offset <= m_fTopBoundary) {
                moveChildren(m_fTopBoundary - top);
                m_bTopEnd = true;
                fireEvent(ScrollViewEventScrollToTop);
                return false;
            }
        }
        moveChildren(offset);
        m_bTopEnd = false;
        m_bBottomEnd = false;
        return true;
    }
    if (m_eDirection != ScrollViewDirHorizontal) return true;  // no axis, nothing moves
    if (m_eMoveDirection == ScrollViewMoveLeft) {
        float right = inner->getRightEdge();
        if (right + offset <= m_fRightBoundary) {
            moveChildren(m_fRightBoundary - right);
            m_bRightEnd = true;
            fireEvent(ScrollViewEventScrollToRight);
            return false;
        }
    } else if (m_eMoveDirection == ScrollViewMoveRight) {
        float left = inner->getLeftEdge();
        if (left + offset >= m_fLeftBoundary) {
            moveChildren(m_fLeftBoundary - left);
            m_bLeftEnd = true;
            fireEvent(ScrollViewEventScrollToLeft);
            return false;
        }
    }
    moveChildren(offset);
    m_bLeftEnd = false;
    m_bRightEnd = false;
    return true;
}

void UIScrollView::endRecordSlide() {
    // The finger is up either way. Only a slide that scrolled the content and lasted longer than a
    // frame leaves inertia behind: a tap on a button inside, jittering by a few units, must not
    // send the content gliding the way an earlier drag went.
    m_bPressed = false;
    bool scrolled = m_bSlideScrolled;
    m_bSlideScrolled = false;
    if (m_fSlideTime <= kMinSlideTime || !scrolled) return;
    float slideTime = m_fSlideTime;
    m_bAutoScroll = true;
    m_fSlideTime = 0.0f;
    m_fAutoScrollSpeed = std::fabs(m_fTouchEndPoint - m_fTouchBeganPoint) / slideTime;
}

void UIScrollView::stopAutoScroll() {
    m_bAutoScroll = false;
    m_fAutoScrollSpeed = 0.0f;
}

void UIScrollView::update(float dt) {
    RefPtr<UIScrollView> keep(this);  // a listener may drop the view while it scrolls
    if (m_bAutoScroll) {
        m_fAutoScrollSpeed -= m_fAutoScrollDeceleration * dt;
        float offset = m_fAutoScrollSpeed * dt;
        if (offset <= 0.0f) {
            offset = 0.0f;
            stopAutoScroll();
        }
        if (m_eMoveDirection == ScrollViewMoveDown || m_eMoveDirection == ScrollViewMoveLeft) {
            offset = -offset;
        }
        if (!scrollChildren(offset)) stopAutoScroll();
    }
    if (m_bPressed) m_fSlideTime += dt;
}

void UIScrollView::addEventListener(CCObject* target, SEL_ScrollViewEvent selector) {
    m_pScrollListener = target;
    m_pfnScrollSelector = selector;
}

void UIScrollView::fireEvent(ScrollViewEventType kind) {
    if (!m_pScrollListener || !m_pfnScrollSelector) return;
    RefPtr<CCObject> target(m_pScrollListener);
    (target.get()->*m_pfnScrollSelector)(this, kind);
}

// ---------------------------------------------------------------- touch hooks

float UIScrollView::axisCoordinate(const CCPoint& worldPoint) {
    CCPoint p = m_pRender ? m_pRender->convertToNodeSpace(worldPoint) : worldPoint;
    if (m_eDirection == ScrollViewDirVertical) return p.y;
    if (m_eDirection == ScrollViewDirHorizontal) return p.x;
    return 0.0f;
}

void UIScrollView::handlePressLogic(const CCPoint& touchPoint) {
    float c = axisCoordinate(touchPoint);
    m_fTouchBeganPoint = c;
    m_fTouchMovedPoint = c;
    stopAutoScroll();
    m_bPressed = true;
    m_fSlideTime = 0.0f;
    m_bSlideScrolled = false;
}

void UIScrollView::handleMoveLogic(const CCPoint& touchPoint) {
    float c = axisCoordinate(touchPoint);
    float delta = c - m_fTouchMovedPoint;
    m_fTouchMovedPoint = c;
    if (m_eDirection == ScrollViewDirVertical) {
        if (delta > 0.0f) {
            m_eMoveDirection = ScrollViewMoveUp;
        } else if (delta < 0.0f) {
            m_eMoveDirection = ScrollViewMoveDown;
        }
    } else if (m_eDirection == ScrollViewDirHorizontal) {
        if (delta > 0.0f) {
            m_eMoveDirection = ScrollViewMoveRight;
        } else if (delta < 0.0f) {
            m_eMoveDirection = ScrollViewMoveLeft;
        }
    }
    m_bSlideScrolled = true;
    scrollChildren(delta);
}

void UIScrollView::handleReleaseLogic(const CCPoint& touchPoint) {
    m_fTouchEndPoint = axisCoordinate(touchPoint);
    endRecordSlide();
}

// Measured along the scroll axis only.
bool UIScrollView::hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const {
    const CCPoint& start = sender->getTouchStartPos();
    float travelled = 0.0f;  // a view without an axis never takes the drag over
    if (m_eDirection == ScrollViewDirVertical) {
        travelled = std::fabs(start.y - touchPoint.y);
    } else if (m_eDirection == ScrollViewDirHorizontal) {
        travelled = std::fabs(start.x - touchPoint.x);
    }
    return travelled > m_fChildFocusCancelOffset;
}

void UIScrollView::onTouchCancelled(const CCPoint& touchPoint) {
    ContentLayout::onTouchCancelled(touchPoint);
    // A cancelled touch is no flick: drop the press without inertia.
    m_bPressed = false;
}

void UIScrollView::onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender,
                                     const CCPoint& point) {
    interceptTouchEvent(kind, sender, point);
}

}  // namespace pagly::gui
