#include "gui/UIDragPanel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
// Positions come out of float sums (start + displacement); content within this distance of a panel
// edge rests against it. Without it a rounding crumb would read as an uncovered margin and start a
// spring-back of a millionth of a unit.
const float kRestTolerance = 1e-3f;
// The straight-line distance a finger must travel from where it touched a child before the panel
// takes the drag over.
const float kChildFocusCancelOffset = 5.0f;
// Frames per second that the glide's displacement is measured in.
const float kFramesPerSecond = 60.0f;

bool near(float a, float b) { return std::fabs(a - b) <= kRestTolerance; }
}  // namespace

UIDragPanel::UIDragPanel() {}

UIDragPanel::~UIDragPanel() {}

UIDragPanel* UIDragPanel::create() { return ccCreateInitialized(new UIDragPanel()); }

bool UIDragPanel::init() {
    if (!ContentLayout::init()) return false;
    setUpdateEnabled(true);
    setTouchEnabled(true);
    setClippingEnabled(true);
    return true;
}

std::string UIDragPanel::getDescription() const { return "DragPanel"; }

// ---------------------------------------------------------------- size

void UIDragPanel::onSizeChanged() {
    ContentLayout::onSizeChanged();
    if (!m_pInnerContainer) return;
    // The content always covers the panel; it grows in place.
    const CCSize& inner = m_pInnerContainer->getSize();
    m_pInnerContainer->setSize(
        CCSize(std::max(inner.width, m_size.width), std::max(inner.height, m_size.height)));
}

void UIDragPanel::setInnerContainerSize(const CCSize& size) {
    if (!m_pInnerContainer) return;
    CCSize fitted(std::max(size.width, m_size.width), std::max(size.height, m_size.height));
    m_pInnerContainer->setSize(fitted);
    m_pInnerContainer->setPosition(CCPoint(0.0f, m_size.height - fitted.height));
}

const CCSize& UIDragPanel::getInnerContainerSize() const {
    return m_pInnerContainer ? m_pInnerContainer->getSize() : CCSizeZero;
}

void UIDragPanel::setAutoMoveEaseRate(float rate) {
    if (!(rate > 0.0f)) {
        CCLog("UIDragPanel::setAutoMoveEaseRate: the rate must be positive, got %g", rate);
        return;
    }
    m_fAutoMoveEaseRate = rate;
}

void UIDragPanel::setBounceEaseRate(float rate) {
    if (!(rate > 0.0f)) {
        CCLog("UIDragPanel::setBounceEaseRate: the rate must be positive, got %g", rate);
        return;
    }
    m_fBounceEaseRate = rate;
}

void UIDragPanel::addEventListener(CCObject* target, SEL_DragPanelEvent selector) {
    m_pDragPanelListener = target;
    m_pfnDragPanelSelector = selector;
}

void UIDragPanel::fireEvent(int kind) {
    if (!m_pDragPanelListener || !m_pfnDragPanelSelector) return;
    RefPtr<CCObject> target(m_pDragPanelListener);
    (target.get()->*m_pfnDragPanelSelector)(this, (DragPanelEventType)kind);
}

// ---------------------------------------------------------------- geometry

UIDragPanel::Edges UIDragPanel::contentEdges() {
    Layout* inner = m_pInnerContainer;
    return Edges{inner->getLeftEdge(), inner->getRightEdge(), inner->getBottomEdge(),
                 inner->getTopEdge()};
}

CCPoint UIDragPanel::clampToCover(const CCPoint& delta) {
    if (!m_pInnerContainer) return delta;
    Edges e = contentEdges();
    CCPoint d = delta;
    if (e.left + d.x > 0.0f) {
        d.x = -e.left;
    } else if (e.right + d.x < m_size.width) {
        d.x = m_size.width - e.right;
    }
    if (e.bottom + d.y > 0.0f) {
        d.y = -e.bottom;
    } else if (e.top + d.y < m_size.height) {
        d.y = m_size.height - e.top;
    }
    return d;
}

bool UIDragPanel::uncoversPanel() {
    if (!m_pInnerContainer) return false;
    Edges e = contentEdges();
    return e.left > kRestTolerance || e.right < m_size.width - kRestTolerance ||
           e.bottom > kRestTolerance || e.top < m_size.height - kRestTolerance;
}

int UIDragPanel::berthCheck() {
    if (!m_pInnerContainer) return DragPanelDirNone;
    Edges e = contentEdges();
    bool left = near(e.left, 0.0f);
    bool right = near(e.right, m_size.width);
    bool bottom = near(e.bottom, 0.0f);
    bool top = near(e.top, m_size.height);
    if (left && bottom) return DragPanelDirLeftBottom;
    if (left && top) return DragPanelDirLeftTop;
    if (right && bottom) return DragPanelDirRightBottom;
    if (right && top) return DragPanelDirRightTop;
    if (left) return DragPanelDirLeft;
    if (right) return DragPanelDirRight;
    if (top) return DragPanelDirTop;
    if (bottom) return DragPanelDirBottom;
    return DragPanelDirNone;
}

void UIDragPanel::moveInnerContainer(const CCPoint& delta) {
    if (m_pInnerContainer) m_pInnerContainer->setPosition(m_pInnerContainer->getPosition() + delta);
}

// ---------------------------------------------------------------- eased moves

void UIDragPanel::startAutoMove(int kind, const CCPoint& by, float duration) {
    if (!m_pInnerContainer) return;
    m_eActionType = kind;
    m_pMoveTarget = m_pInnerContainer;
    m_fMoveDuration = duration > 0.0f ? duration : FLT_EPSILON;
    m_fMoveElapsed = 0.0f;
    m_moveBy = by;
    m_moveStartPos = m_pInnerContainer->getPosition();
    m_movePrevPos = m_moveStartPos;
    m_bRunningAction = true;
    m_bFirstTick = true;
}

void UIDragPanel::stopAutoMove() {
    m_eActionType = DragPanelActionNone;
    m_bRunningAction = false;
    m_pMoveTarget = nullptr;
}

bool UIDragPanel::startBounce() {
    if (!m_pInnerContainer) return false;
    Edges e = contentEdges();
    float w = m_size.width, h = m_size.height;
    bool left = e.left > kRestTolerance;
    bool right = e.right < w - kRestTolerance;
    bool bottom = e.bottom > kRestTolerance;
    bool top = e.top < h - kRestTolerance;
    CCPoint by;
    int dir = DragPanelDirNone;
    if (left && bottom) {
        by = CCPoint(-e.left, -e.bottom);
        dir = DragPanelDirLeftBottom;
    } else if (left && top) {
        by = CCPoint(-e.left, h - e.top);
        dir = DragPanelDirLeftTop;
    } else if (right && bottom) {
        by = CCPoint(w - e.right, -e.bottom);
        dir = DragPanelDirRightBottom;
    } else if (right && top) {
        by = CCPoint(w - e.right, h - e.top);
        dir = DragPanelDirRightTop;
    } else if (left) {
        by = CCPoint(-e.left, 0.0f);
        dir = DragPanelDirLeft;
    } else if (top) {
        by = CCPoint(0.0f, h - e.top);
        dir = DragPanelDirTop;
    } else if (right) {
        by = CCPoint(w - e.right, 0.0f);
        dir = DragPanelDirRight;
    } else if (bottom) {
        by = CCPoint(0.0f, -e.bottom);
        dir = DragPanelDirBottom;
    } else {
        return false;
    }
    m_eBounceDirection = dir;
    startAutoMove(DragPanelActionBounce, by, m_fBounceDuration);
    return true;
}

void UIDragPanel::stepAutoMove(float dt) {
    if (!m_bRunningAction || !m_pMoveTarget) return;
    if (m_bFirstTick) {
        m_bFirstTick = false;
        m_fMoveElapsed = 0.0f;
    } else {
        m_fMoveElapsed += dt;
    }
    float t = std::min(1.0f, std::max(0.0f, m_fMoveElapsed / m_fMoveDuration));
    float rate = m_eActionType == DragPanelActionMove ? m_fAutoMoveEaseRate : m_fBounceEaseRate;
    // Whatever moved the content since the last step (a finger) shifts the whole path.
    CCPoint current = m_pMoveTarget->getPosition();
    m_moveStartPos = m_moveStartPos + (current - m_movePrevPos);
    CCPoint next = m_moveStartPos + m_moveBy * std::pow(t, 1.0f / rate);
    m_pMoveTarget->setPosition(next);
    m_movePrevPos = next;

    if (m_eActionType == DragPanelActionMove && m_bBounceEnabled && uncoversPanel()) {
        stopAutoMove();
        startBounce();
        return;
    }
    if (m_fMoveElapsed < m_fMoveDuration) return;

    int kind = m_eActionType;
    m_eActionType = DragPanelActionNone;
    m_bRunningAction = false;
    m_pMoveTarget = nullptr;
    if (kind == DragPanelActionMove) {
        m_eBerthDirection = berthCheck();
        int berth = m_eBerthDirection;
        m_eBerthDirection = DragPanelDirNone;
        if (berth != DragPanelDirNone) fireEvent(berth - 1);
    } else if (kind == DragPanelActionBounce) {
        int bounce = m_eBounceDirection;
        m_eBounceDirection = DragPanelDirNone;
        if (bounce != DragPanelDirNone) fireEvent(7 + bounce);
    }
}

void UIDragPanel::update(float dt) {
    RefPtr<UIDragPanel> keep(this);  // a listener may drop the panel
    if (m_bRunningAction) stepAutoMove(dt);
    if (m_bTouchPressed) m_fSlideTime += dt;
}

// ---------------------------------------------------------------- touch hooks

void UIDragPanel::handlePressLogic(const CCPoint& touchPoint) {
    if (!m_pInnerContainer) return;
    const CCSize& inner = m_pInnerContainer->getSize();
    if (m_size.width >= inner.width && m_size.height >= inner.height) {
        m_bTouchPressed = false;  // nothing to drag
        return;
    }
    m_bTouchPressed = true;
    m_bTouchReleased = false;
    // Measure this slide alone: a previous touch released outside the panel left its time.
    m_fSlideTime = 0.0f;
    if (m_bRunningAction) {
        if (m_eActionType == DragPanelActionBounce) {
            m_bTouchPressed = false;  // the spring-back finishes first
        } else {
            stopAutoMove();
        }
    }
    m_touchStartNodeSpace = m_pRender ? m_pRender->convertToNodeSpace(touchPoint) : touchPoint;
    m_touchStartWorldSpace = touchPoint;
}

void UIDragPanel::handleMoveLogic(const CCPoint& touchPoint) {
    if (!m_bTouchPressed || m_bBouncingBack || !m_pInnerContainer) return;
    m_bTouchMoved = true;
    CCPoint nodePoint = m_pRender ? m_pRender->convertToNodeSpace(touchPoint) : touchPoint;
    CCPoint delta = nodePoint - m_touchStartNodeSpace;
    m_touchStartNodeSpace = nodePoint;
    if (!m_bBounceEnabled) {
        m_eBerthDirection = DragPanelDirNone;
        moveInnerContainer(clampToCover(delta));
        m_eBerthDirection = berthCheck();
        if (m_eBerthDirection != DragPanelDirNone) fireEvent(m_eBerthDirection - 1);
        return;
    }
    moveInnerContainer(delta);
    if (hitTest(touchPoint)) return;
    // The finger left the panel: let go of the content and spring it back.
    m_bTouchMoved = false;
    if (uncoversPanel()) {
        m_bBouncingBack = true;
        startBounce();
    }
}

void UIDragPanel::handleReleaseLogic(const CCPoint& touchPoint) {
    if (!m_bTouchPressed) return;
    m_bTouchPressed = false;
    m_bTouchMoved = false;
    m_bTouchReleased = true;
    m_bBouncingBack = false;
    bool gliding = false;
    if (hitTest(touchPoint)) {
        m_touchEndWorldSpace = touchPoint;
        // A release in the frame of its press has no measured slide: no glide then.
        if (m_fSlideTime > 0.0f) {
            CCPoint by =
                (m_touchEndWorldSpace - m_touchStartWorldSpace) / (m_fSlideTime * kFramesPerSecond);
            if (!m_bBounceEnabled) by = clampToCover(by);
            startAutoMove(DragPanelActionMove, by, m_fAutoMoveDuration);
            gliding = true;
        }
        m_fSlideTime = 0.0f;
    }
    // Content pulled past an edge must not stay there when no glide will bring it back.
    if (!gliding && m_bBounceEnabled && !m_bRunningAction && uncoversPanel()) startBounce();
}

// Measured in any direction: the panel moves both ways.
bool UIDragPanel::hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const {
    return sender->getTouchStartPos().getDistance(touchPoint) > kChildFocusCancelOffset;
}

void UIDragPanel::onTouchCancelled(const CCPoint& touchPoint) {
    RefPtr<UIDragPanel> keep(this);
    ContentLayout::onTouchCancelled(touchPoint);
    if (!m_bTouchPressed) return;
    // No glide for a cancelled touch, but no margin left behind either.
    m_bTouchPressed = false;
    m_bTouchMoved = false;
    m_bBouncingBack = false;
    if (m_bBounceEnabled && !m_bRunningAction && uncoversPanel()) startBounce();
}

void UIDragPanel::onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) {
    interceptTouchEvent(kind, sender, point);
}

}  // namespace pagly::gui
