#include "engine/director/CCKeypadDispatcher.h"

#include <algorithm>

#include "engine/director/CCDirector.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCScene.h"

namespace pagly::engine {

CCKeypadDispatcher::~CCKeypadDispatcher() { removeAllDelegates(); }

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* delegate) {
    CCObject* object = dynamic_cast<CCObject*>(delegate);
    if (!object) return;
    if (std::find(m_delegates.begin(), m_delegates.end(), delegate) != m_delegates.end()) return;
    object->retain();
    m_delegates.push_back(delegate);
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* delegate) {
    auto it = std::find(m_delegates.begin(), m_delegates.end(), delegate);
    if (it == m_delegates.end()) return;
    m_delegates.erase(it);
    dynamic_cast<CCObject*>(delegate)->release();
}

void CCKeypadDispatcher::removeAllDelegates() {
    std::vector<CCKeypadDelegate*> old;
    old.swap(m_delegates);
    for (CCKeypadDelegate* d : old) dynamic_cast<CCObject*>(d)->release();
}

void CCKeypadDispatcher::dispatchKey(int keyCode) {
    // Input waits while a transition runs, keys as well as touches; the last key pressed
    // meanwhile waits for the scene the transition brings. Input off for any other reason
    // drops the key.
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (director && !director->getTouchDispatcher()->isDispatchEvents()) {
        CCScene* running = director->getRunningScene();
        if (keyCode != kKeyUnknown && running && running->isTransitionScene() &&
            !running->handedOverScene()) {
            m_heldKey = keyCode;
            m_heldDuring = running;
        }
        return;
    }
    deliver(keyCode);
}

void CCKeypadDispatcher::sceneSwitched(const CCScene* previous, bool handedOver) {
    if (!m_heldDuring) return;
    bool ours = handedOver && previous == m_heldDuring;
    m_heldDuring = nullptr;
    if (!ours) return;  // the transition was cut short: the key belonged to another screen
    CCDirector* director = CCDirector::sharedDirectorIfAlive();
    if (!director || !director->getTouchDispatcher()->isDispatchEvents()) return;
    if (director->getNextScene()) return;  // the new scene is already leaving
    deliver(m_heldKey);
}

void CCKeypadDispatcher::deliver(int keyCode) {
    std::vector<CCKeypadDelegate*> snapshot = m_delegates;
    for (CCKeypadDelegate* d : snapshot) dynamic_cast<CCObject*>(d)->retain();
    for (CCKeypadDelegate* d : snapshot) {
        if (std::find(m_delegates.begin(), m_delegates.end(), d) == m_delegates.end()) continue;
        if (keyCode == kKeyEscape) {
            d->keyBackClicked();
            // It may have left (or turned its keys off) on Back.
            if (std::find(m_delegates.begin(), m_delegates.end(), d) == m_delegates.end()) continue;
        }
        d->keyPressed(keyCode);
    }
    for (CCKeypadDelegate* d : snapshot) dynamic_cast<CCObject*>(d)->release();
}

}  // namespace pagly::engine
