#include "engine/nodes/CCNode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionManager.h"
#include "engine/base/CCRedraw.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/director/CCTouch.h"

namespace pagly::engine {

bool g_ccNeedsRedraw = true;

namespace {
unsigned int s_globalOrderOfArrival = 1;

CCScheduler* scheduler() { return CCDirector::sharedDirector()->getScheduler(); }
CCActionManager* actionManager() { return CCDirector::sharedDirector()->getActionManager(); }
}  // namespace

CCNode::CCNode() {}

CCNode::~CCNode() {
    // A node that dies while scheduled or animated must not be called back.
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (director) {
        director->getScheduler()->unscheduleAllForTarget(this);
        director->getActionManager()->removeAllActionsFromTarget(this);
    }
    if (m_pChildren) {
        for (CCObject* o : *m_pChildren) static_cast<CCNode*>(o)->m_pParent = nullptr;
        m_pChildren->release();
    }
}

CCNode* CCNode::create() {
    CCNode* node = new CCNode();
    node->init();
    node->autorelease();
    return node;
}

void CCNode::setTransformDirty() {
    m_bTransformDirty = m_bInverseDirty = true;
    ccRequestRedraw();
}

void CCNode::setPosition(const CCPoint& position) {
    if (m_obPosition == position) return;
    m_obPosition = position;
    setTransformDirty();
}

void CCNode::setAnchorPoint(const CCPoint& anchor) {
    if (m_obAnchorPoint == anchor) return;
    m_obAnchorPoint = anchor;
    m_obAnchorPointInPoints =
        CCPoint(m_obContentSize.width * anchor.x, m_obContentSize.height * anchor.y);
    setTransformDirty();
}

void CCNode::setContentSize(const CCSize& size) {
    if (m_obContentSize == size) return;
    m_obContentSize = size;
    m_obAnchorPointInPoints =
        CCPoint(size.width * m_obAnchorPoint.x, size.height * m_obAnchorPoint.y);
    setTransformDirty();
}

void CCNode::setScale(float scale) { setScale(scale, scale); }

void CCNode::setScale(float sx, float sy) {
    if (m_fScaleX == sx && m_fScaleY == sy) return;
    m_fScaleX = sx, m_fScaleY = sy;
    setTransformDirty();
}

void CCNode::setScaleX(float sx) { setScale(sx, m_fScaleY); }
void CCNode::setScaleY(float sy) { setScale(m_fScaleX, sy); }

void CCNode::setRotation(float degrees) {
    if (m_fRotation == degrees) return;
    m_fRotation = degrees;
    setTransformDirty();
}

void CCNode::setVisible(bool visible) {
    if (m_bVisible == visible) return;
    m_bVisible = visible;
    ccRequestRedraw();
}

void CCNode::ignoreAnchorPointForPosition(bool ignore) {
    if (m_bIgnoreAnchorPointForPosition == ignore) return;
    m_bIgnoreAnchorPointForPosition = ignore;
    setTransformDirty();
}

void CCNode::setZOrder(int zOrder) {
    if (m_pParent) {
        m_pParent->reorderChild(this, zOrder);
    } else {
        m_nZOrder = zOrder;
    }
}

// ---------------------------------------------------------------- tree

void CCNode::childrenAlloc() {
    if (!m_pChildren) {
        m_pChildren = new CCArray();
    }
}

void CCNode::addChild(CCNode* child) {
    if (child) addChild(child, child->getZOrder(), child->getTag());
}

void CCNode::addChild(CCNode* child, int zOrder) {
    if (child) addChild(child, zOrder, child->getTag());
}

void CCNode::addChild(CCNode* child, int zOrder, int tag) {
    if (!child) return;
    if (child->m_pParent) {
        CCLog("addChild: node %s already has a parent; not added again",
              child->description().c_str());
        return;
    }
    // A node under itself would make every walk of the tree (visit, exit, cleanup) endless
    // and keep the loop alive forever.
    for (CCNode* n = this; n; n = n->m_pParent) {
        if (n == child) {
            CCLog("addChild: node %s is this node or one of its ancestors; not added",
                  child->description().c_str());
            return;
        }
    }
    childrenAlloc();
    insertChild(child, zOrder);
    child->m_nTag = tag;
    child->setParent(this);
    child->setOrderOfArrival(s_globalOrderOfArrival++);
    if (m_bRunning) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
    ccRequestRedraw();
}

void CCNode::insertChild(CCNode* child, int zOrder) {
    m_bReorderChildDirty = true;
    m_pChildren->addObject(child);
    child->m_nZOrder = zOrder;
}

void CCNode::removeChild(CCNode* child) { removeChild(child, true); }

void CCNode::removeChild(CCNode* child, bool cleanup) {
    if (!m_pChildren || !child) return;
    if (m_pChildren->containsObject(child)) detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
    CCNode* child = getChildByTag(tag);
    if (child) removeChild(child, cleanup);
}

void CCNode::removeFromParentAndCleanup(bool cleanup) {
    if (m_pParent) m_pParent->removeChild(this, cleanup);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
    if (!m_pChildren) return;
    // Detach from a copy: exit callbacks may touch the children list.
    std::vector<CCObject*> children = m_pChildren->data();
    // An exit callback may drop this node's last owner (unless it is being destroyed).
    RefPtr<CCNode> keep(retainCount() > 0 ? this : nullptr);
    for (CCObject* o : children) o->retain();
    for (CCObject* o : children) {
        CCNode* child = static_cast<CCNode*>(o);
        if (child->m_pParent == this) detachChild(child, cleanup);
    }
    for (CCObject* o : children) o->release();
}

void CCNode::detachChild(CCNode* child, bool doCleanup) {
    // The child's exit callbacks may remove it again (ignored: it is on its way out) or let go
    // of this node's last owner.
    if (child->m_bBeingRemoved) return;
    child->m_bBeingRemoved = true;
    // Not when this node is being destroyed itself (a subclass destructor letting go of
    // its children): it has no owner left to lose.
    const bool holdThis = retainCount() > 0;
    if (holdThis) retain();
    child->retain();
    if (m_bRunning) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (doCleanup) child->cleanup();
    child->setParent(nullptr);
    if (m_pChildren) m_pChildren->removeObject(child);
    child->m_bBeingRemoved = false;
    child->release();
    if (holdThis) release();
    ccRequestRedraw();
}

void CCNode::reorderChild(CCNode* child, int zOrder) {
    if (!child) return;
    m_bReorderChildDirty = true;
    child->setOrderOfArrival(s_globalOrderOfArrival++);
    child->m_nZOrder = zOrder;
    ccRequestRedraw();
}

void CCNode::sortAllChildren() {
    if (!m_bReorderChildDirty || !m_pChildren) return;
    std::vector<CCObject*> sorted = m_pChildren->data();
    std::stable_sort(sorted.begin(), sorted.end(), [](CCObject* a, CCObject* b) {
        CCNode* na = static_cast<CCNode*>(a);
        CCNode* nb = static_cast<CCNode*>(b);
        if (na->m_nZOrder != nb->m_nZOrder) return na->m_nZOrder < nb->m_nZOrder;
        return na->m_uOrderOfArrival < nb->m_uOrderOfArrival;
    });
    for (unsigned int i = 0; i < sorted.size(); ++i) {
        // Same members, new order: swap positions without touching reference counts.
        unsigned int j = m_pChildren->indexOfObject(sorted[i]);
        m_pChildren->exchangeObjectAtIndex(i, j);
    }
    m_bReorderChildDirty = false;
}

CCNode* CCNode::getChildByTag(int tag) const {
    if (!m_pChildren) return nullptr;
    for (CCObject* o : *m_pChildren) {
        CCNode* child = static_cast<CCNode*>(o);
        if (child->m_nTag == tag) return child;
    }
    return nullptr;
}

// ---------------------------------------------------------------- lifecycle

namespace {
// Calls f on each child of a snapshot, keeping each alive while it runs.
template <class F>
void forEachChild(CCArray* children, F f) {
    if (!children || children->count() == 0) return;
    std::vector<CCObject*> snapshot = children->data();
    for (CCObject* o : snapshot) o->retain();
    for (CCObject* o : snapshot) f(static_cast<CCNode*>(o));
    for (CCObject* o : snapshot) o->release();
}
}  // namespace

void CCNode::onEnter() {
    // A child's onEnter may add nodes to this one or remove others. A child removed before
    // its turn is not entered (it would run outside the tree); one added meanwhile is, since
    // this node is not marked running yet and addChild leaves entering to us.
    std::vector<CCObject*> entered;  // each held until the end, so no address is reused
    std::unordered_set<CCObject*> seen;
    for (bool more = m_pChildren && m_pChildren->count() > 0; more;) {
        std::vector<CCObject*> snapshot = m_pChildren->data();
        for (CCObject* o : snapshot) o->retain();
        for (CCObject* o : snapshot) {
            CCNode* c = static_cast<CCNode*>(o);
            if (c->m_pParent != this || !seen.insert(o).second) continue;
            o->retain();
            entered.push_back(o);
            c->onEnter();
        }
        for (CCObject* o : snapshot) o->release();
        // Another pass only when the callbacks changed the children.
        more = m_pChildren && m_pChildren->data() != snapshot;
    }
    for (CCObject* o : entered) o->release();
    resumeSchedulerAndActions();
    m_bRunning = true;
    ccRequestRedraw();
}

void CCNode::onEnterTransitionDidFinish() {
    forEachChild(m_pChildren, [](CCNode* c) { c->onEnterTransitionDidFinish(); });
}

// A child on its way out gets its exit callbacks from detachChild, once.
void CCNode::onExitTransitionDidStart() {
    forEachChild(m_pChildren, [](CCNode* c) {
        if (!c->m_bBeingRemoved) c->onExitTransitionDidStart();
    });
}

void CCNode::onExit() {
    pauseSchedulerAndActions();
    m_bRunning = false;
    forEachChild(m_pChildren, [](CCNode* c) {
        if (!c->m_bBeingRemoved) c->onExit();
    });
}

void CCNode::cleanup() {
    stopAllActions();
    unscheduleAllSelectors();
    forEachChild(m_pChildren, [](CCNode* c) { c->cleanup(); });
}

// ---------------------------------------------------------------- transforms

CCAffineTransform CCNode::nodeToParentTransform() {
    if (m_bTransformDirty) {
        float x = m_obPosition.x, y = m_obPosition.y;
        if (m_bIgnoreAnchorPointForPosition) {
            x += m_obAnchorPointInPoints.x;
            y += m_obAnchorPointInPoints.y;
        }
        float c = 1, s = 0;
        if (m_fRotation != 0) {
            float radians = -degreesToRadians(m_fRotation);
            c = std::cos(radians);
            s = std::sin(radians);
        }
        if (m_obAnchorPointInPoints != CCPointZero) {
            float ax = m_obAnchorPointInPoints.x, ay = m_obAnchorPointInPoints.y;
            x += c * -ax * m_fScaleX + -s * -ay * m_fScaleY;
            y += s * -ax * m_fScaleX + c * -ay * m_fScaleY;
        }
        m_sTransform = CCAffineTransformMake(c * m_fScaleX, s * m_fScaleX, -s * m_fScaleY,
                                             c * m_fScaleY, x, y);
        m_bTransformDirty = false;
    }
    return m_sTransform;
}

CCAffineTransform CCNode::parentToNodeTransform() {
    if (m_bInverseDirty) {
        m_sInverse = CCAffineTransformInvert(nodeToParentTransform());
        m_bInverseDirty = false;
    }
    return m_sInverse;
}

CCAffineTransform CCNode::nodeToWorldTransform() {
    CCAffineTransform t = nodeToParentTransform();
    for (CCNode* p = m_pParent; p; p = p->m_pParent)
        t = CCAffineTransformConcat(t, p->nodeToParentTransform());
    return t;
}

CCAffineTransform CCNode::worldToNodeTransform() {
    return CCAffineTransformInvert(nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) {
    return CCPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) {
    return CCPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpaceAR(const CCPoint& worldPoint) {
    return convertToNodeSpace(worldPoint) - m_obAnchorPointInPoints;
}

CCPoint CCNode::convertToWorldSpaceAR(const CCPoint& nodePoint) {
    return convertToWorldSpace(nodePoint + m_obAnchorPointInPoints);
}

CCPoint CCNode::convertTouchToNodeSpace(CCTouch* touch) {
    return convertToNodeSpace(touch->getLocation());
}

CCPoint CCNode::convertTouchToNodeSpaceAR(CCTouch* touch) {
    return convertToNodeSpaceAR(touch->getLocation());
}

CCRect CCNode::boundingBox() {
    CCRect rect(0, 0, m_obContentSize.width, m_obContentSize.height);
    return CCRectApplyAffineTransform(rect, nodeToParentTransform());
}

// ---------------------------------------------------------------- drawing

void CCNode::visit(Renderer* renderer) {
    if (!m_bVisible) return;
    m_worldTransform =
        m_pParent ? CCAffineTransformConcat(nodeToParentTransform(), m_pParent->m_worldTransform)
                  : nodeToParentTransform();
    updateDisplayedFromParent();
    if (!m_pChildren || m_pChildren->count() == 0) {
        draw(renderer);
        return;
    }
    sortAllChildren();
    const std::vector<CCObject*>& children = m_pChildren->data();
    size_t i = 0;
    for (; i < children.size(); ++i) {
        CCNode* child = static_cast<CCNode*>(children[i]);
        if (child->m_nZOrder >= 0) break;
        child->visit(renderer);
    }
    draw(renderer);
    for (; i < children.size(); ++i) static_cast<CCNode*>(children[i])->visit(renderer);
}

void CCNode::draw(Renderer*) {}

// ---------------------------------------------------------------- scheduling

void CCNode::schedule(SEL_SCHEDULE selector) { schedule(selector, 0.0f); }

void CCNode::schedule(SEL_SCHEDULE selector, float interval) {
    scheduler()->scheduleSelector(selector, this, interval, !m_bRunning);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay) {
    scheduler()->scheduleSelector(selector, this, interval, repeat, delay, !m_bRunning);
}

void CCNode::scheduleOnce(SEL_SCHEDULE selector, float delay) {
    schedule(selector, 0.0f, 0, delay);
}

void CCNode::unschedule(SEL_SCHEDULE selector) {
    if (selector) scheduler()->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() { scheduler()->unscheduleAllForTarget(this); }

void CCNode::scheduleUpdate() { scheduleUpdateWithPriority(0); }

void CCNode::scheduleUpdateWithPriority(int priority) {
    scheduler()->scheduleUpdateForTarget(this, priority, !m_bRunning);
}

void CCNode::unscheduleUpdate() { scheduler()->unscheduleUpdateForTarget(this); }

void CCNode::update(float) { m_bEmptyUpdate = true; }

void CCNode::resumeSchedulerAndActions() {
    scheduler()->resumeTarget(this);
    actionManager()->resumeTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
    scheduler()->pauseTarget(this);
    actionManager()->pauseTarget(this);
}

// ---------------------------------------------------------------- actions

CCAction* CCNode::runAction(CCAction* action) {
    if (!action) return nullptr;
    actionManager()->addAction(action, this, !m_bRunning);
    return action;
}

void CCNode::stopAllActions() { actionManager()->removeAllActionsFromTarget(this); }
void CCNode::stopAction(CCAction* action) { actionManager()->removeAction(action); }
void CCNode::stopActionByTag(int tag) { actionManager()->removeActionByTag(tag, this); }
CCAction* CCNode::getActionByTag(int tag) { return actionManager()->getActionByTag(tag, this); }
unsigned int CCNode::numberOfRunningActions() {
    return actionManager()->numberOfRunningActionsInTarget(this);
}

std::string CCNode::description() const {
    char buffer[128];
    snprintf(buffer, sizeof(buffer), "<CCNode | Tag = %d | z = %d>", m_nTag, m_nZOrder);
    return buffer;
}

// ---------------------------------------------------------------- CCNodeRGBA

CCNodeRGBA::CCNodeRGBA() {}

CCNodeRGBA* CCNodeRGBA::create() {
    CCNodeRGBA* node = new CCNodeRGBA();
    node->init();
    node->autorelease();
    return node;
}

void CCNodeRGBA::setColor(const ccColor3B& color) {
    m_realColor = color;
    updateDisplayedColor(inheritedColor(m_pParent));
}

void CCNodeRGBA::setOpacity(unsigned char opacity) {
    m_realOpacity = opacity;
    updateDisplayedOpacity(inheritedOpacity(m_pParent));
}

void CCNodeRGBA::updateDisplayedColor(const ccColor3B& parentColor) {
    if (applyColor(parentColor, m_pChildren)) displayedColorChanged();
}

void CCNodeRGBA::updateDisplayedOpacity(unsigned char parentOpacity) {
    if (applyOpacity(parentOpacity, m_pChildren)) displayedColorChanged();
}

void CCNodeRGBA::updateDisplayedFromParent() {
    // Children added after the parent's colour was set pick it up here.
    if (refreshFrom(m_pParent)) displayedColorChanged();
}

}  // namespace pagly::engine
