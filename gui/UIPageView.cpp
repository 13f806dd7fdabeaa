#include "gui/UIPageView.h"

#include <cmath>
#include <vector>

#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

UIPageView::UIPageView() {}

UIPageView::~UIPageView() {}

UIPageView* UIPageView::create() { return ccCreateInitialized(new UIPageView()); }

bool UIPageView::init() {
    if (!Layout::init()) return false;
    m_pages = CCArray::create();
    setUpdateEnabled(true);
    setClippingEnabled(true);
    return true;
}

std::string UIPageView::getDescription() const { return "PageView"; }

bool UIPageView::removeChild(UIWidget* child) {
    if (!child) return false;
    if (m_pages && m_pages->containsObject(child)) {
        m_pages->removeObject(child);
        return Layout::removeChild(child);
    }
    // Documents attach plain children, never pages; those must still come off when asked, or a
    // widget could never be taken out of a page view.
    return Layout::removeChild(child);
}

void UIPageView::removeAllChildren() {
    if (m_pages) m_pages->removeAllObjects();
    Layout::removeAllChildren();
}

void UIPageView::doLayout() {}

void UIPageView::update(float) {
    // Page turns would advance here; with no pages there is never one under way.
}

// ---------------------------------------------------------------- touch hooks

void UIPageView::handlePressLogic(const CCPoint& touchPoint) {
    CCPoint p = m_pRender ? m_pRender->convertToNodeSpace(touchPoint) : touchPoint;
    m_fTouchMoveStartX = p.x;
}

void UIPageView::handleMoveLogic(const CCPoint& touchPoint) {
    CCPoint p = m_pRender ? m_pRender->convertToNodeSpace(touchPoint) : touchPoint;
    float offset = p.x - m_fTouchMoveStartX;
    m_fTouchMoveStartX = p.x;
    if (!m_pages || m_pages->count() == 0) return;
    // Pages follow the finger along x; plain children stay where they are.
    std::vector<RefPtr<UIWidget>> pages;
    for (CCObject* o : *m_pages) pages.emplace_back(static_cast<UIWidget*>(o));
    for (const RefPtr<UIWidget>& page : pages) {
        CCPoint pos = page->getPosition();
        page->setPosition(CCPoint(pos.x + offset, pos.y));
    }
}

void UIPageView::handleReleaseLogic(const CCPoint&) {}

// Pages turn sideways: only the horizontal distance counts.
bool UIPageView::hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const {
    return std::fabs(sender->getTouchStartPos().x - touchPoint.x) > m_fChildFocusCancelOffset;
}

bool UIPageView::onTouchBegan(const CCPoint& touchPoint) {
    RefPtr<UIPageView> keep(this);
    bool pass = Layout::onTouchBegan(touchPoint);
    handlePressLogic(touchPoint);
    return pass;
}

void UIPageView::onTouchMoved(const CCPoint& touchPoint) {
    RefPtr<UIPageView> keep(this);
    m_touchMovePos = touchPoint;
    if (m_pParent) m_pParent->onChildTouchEvent(TouchMoved, this, touchPoint);
    callTouchListener(TouchMoved);
    handleMoveLogic(touchPoint);
    if (!hitTest(touchPoint)) {
        // The touch ends where the finger leaves the view.
        setFocus(false);
        onTouchEnded(touchPoint);
    }
}

void UIPageView::onTouchEnded(const CCPoint& touchPoint) {
    RefPtr<UIPageView> keep(this);
    Layout::onTouchEnded(touchPoint);
    handleReleaseLogic(touchPoint);
}

void UIPageView::onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) {
    interceptTouchEvent(kind, sender, point);
}

}  // namespace pagly::gui
