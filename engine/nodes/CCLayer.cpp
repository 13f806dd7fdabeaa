#include "engine/nodes/CCLayer.h"

#include "engine/director/CCDirector.h"

namespace pagly::engine {

CCLayer::CCLayer() {
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCLayer::~CCLayer() {}

CCLayer* CCLayer::create() { return ccCreateInitialized(new CCLayer()); }

bool CCLayer::init() {
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

void CCLayer::registerWithTouchDispatcher() {
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    if (m_eTouchMode == kTouchesAllAtOnce) {
        dispatcher->addStandardDelegate(this, m_nTouchPriority);
    } else {
        dispatcher->addTargetedDelegate(this, m_nTouchPriority, true);
    }
    m_bRegistered = true;
}

void CCLayer::unregisterTouches() {
    if (!m_bRegistered) return;
    CCDirector::sharedDirector()->getTouchDispatcher()->removeDelegate(this);
    m_bRegistered = false;
}

void CCLayer::setTouchEnabled(bool enabled) {
    if (m_bTouchEnabled == enabled) return;
    m_bTouchEnabled = enabled;
    if (!m_bRunning) return;
    if (enabled) {
        registerWithTouchDispatcher();
    } else {
        unregisterTouches();
    }
}

void CCLayer::setTouchMode(int mode) {
    if (m_eTouchMode == mode) return;
    m_eTouchMode = mode;
    if (m_bTouchEnabled && m_bRunning) {
        unregisterTouches();
        registerWithTouchDispatcher();
    }
}

void CCLayer::setTouchPriority(int priority) {
    if (m_nTouchPriority == priority) return;
    m_nTouchPriority = priority;
    if (m_bTouchEnabled && m_bRunning) {
        unregisterTouches();
        registerWithTouchDispatcher();
    }
}

void CCLayer::setKeypadEnabled(bool enabled) {
    if (m_bKeypadEnabled == enabled) return;
    m_bKeypadEnabled = enabled;
    if (!m_bRunning) return;
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    if (enabled) {
        keys->addDelegate(this);
    } else {
        keys->removeDelegate(this);
    }
}

void CCLayer::onEnter() {
    if (m_bTouchEnabled) registerWithTouchDispatcher();
    if (m_bKeypadEnabled) CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(this);
    CCNode::onEnter();
}

void CCLayer::onExit() {
    unregisterTouches();
    if (m_bKeypadEnabled) CCDirector::sharedDirector()->getKeypadDispatcher()->removeDelegate(this);
    CCNode::onExit();
}

bool CCLayer::ccTouchBegan(CCTouch*, CCEvent*) { return false; }

}  // namespace pagly::engine
