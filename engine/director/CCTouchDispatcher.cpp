#include "engine/director/CCTouchDispatcher.h"

#include <algorithm>

#include "engine/base/CCSet.h"
#include "engine/director/CCTouch.h"

namespace pagly::engine {

CCTouchDispatcher::~CCTouchDispatcher() { removeAllDelegates(); }

void CCTouchDispatcher::addHandler(std::shared_ptr<Handler> handler) {
    for (auto& h : m_handlers) {
        if (!h->removed && h->object == handler->object) return;  // registered once
    }
    handler->object->retain();
    // Stable by priority: insert after every handler of the same or lower priority.
    auto it =
        std::upper_bound(m_handlers.begin(), m_handlers.end(), handler,
                         [](const std::shared_ptr<Handler>& a, const std::shared_ptr<Handler>& b) {
                             return a->priority < b->priority;
                         });
    m_handlers.insert(it, handler);
}

void CCTouchDispatcher::addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority,
                                            bool swallowsTouches) {
    CCObject* object = dynamic_cast<CCObject*>(delegate);
    if (!object) return;
    auto h = std::make_shared<Handler>();
    h->object = object;
    h->targeted = delegate;
    h->standard = nullptr;
    h->priority = priority;
    h->swallows = swallowsTouches;
    h->removed = false;
    addHandler(h);
}

void CCTouchDispatcher::addStandardDelegate(CCStandardTouchDelegate* delegate, int priority) {
    CCObject* object = dynamic_cast<CCObject*>(delegate);
    if (!object) return;
    auto h = std::make_shared<Handler>();
    h->object = object;
    h->targeted = nullptr;
    h->standard = delegate;
    h->priority = priority;
    h->swallows = false;
    h->removed = false;
    addHandler(h);
}

void CCTouchDispatcher::removeDelegate(CCObject* delegate) {
    for (auto& h : m_handlers) {
        if (!h->removed && h->object == delegate) {
            h->removed = true;
            for (CCTouch* t : h->claimed) t->release();
            h->claimed.clear();
            h->object->release();
        }
    }
    if (m_nDispatching == 0) purgeRemoved();
}

void CCTouchDispatcher::removeAllDelegates() {
    std::vector<CCObject*> objects;
    for (auto& h : m_handlers)
        if (!h->removed) objects.push_back(h->object);
    for (CCObject* o : objects) removeDelegate(o);
    if (m_nDispatching == 0) purgeRemoved();
}

void CCTouchDispatcher::setPriority(int priority, CCObject* delegate) {
    auto it = std::find_if(m_handlers.begin(), m_handlers.end(),
                           [delegate](auto& h) { return !h->removed && h->object == delegate; });
    if (it == m_handlers.end()) return;
    std::shared_ptr<Handler> h = *it;
    h->priority = priority;
    std::stable_sort(m_handlers.begin(), m_handlers.end(),
                     [](const auto& a, const auto& b) { return a->priority < b->priority; });
}

unsigned int CCTouchDispatcher::delegateCount() const {
    unsigned int n = 0;
    for (auto& h : m_handlers)
        if (!h->removed) ++n;
    return n;
}

void CCTouchDispatcher::purgeRemoved() {
    m_handlers.erase(std::remove_if(m_handlers.begin(), m_handlers.end(),
                                    [](const auto& h) { return h->removed; }),
                     m_handlers.end());
}

void CCTouchDispatcher::touches(CCSet* touches, CCEvent* event, TouchPhase phase) {
    if (!m_bDispatchEvents || !touches || touches->count() == 0) return;
    ++m_nDispatching;
    // What the standard delegates will get: the touches nobody swallowed.
    CCSet* remaining = touches->copy();
    std::vector<std::shared_ptr<Handler>> handlers = m_handlers;

    std::vector<CCObject*> list(touches->begin(), touches->end());
    for (CCObject* o : list) {
        CCTouch* touch = static_cast<CCTouch*>(o);
        for (auto& h : handlers) {
            if (h->removed || !h->targeted) continue;
            CCObject* keep = h->object;
            keep->retain();
            bool claimed = false;
            if (phase == Began) {
                claimed = h->targeted->ccTouchBegan(touch, event);
                if (claimed && !h->removed) {
                    touch->retain();
                    h->claimed.push_back(touch);
                }
            } else {
                auto it = std::find(h->claimed.begin(), h->claimed.end(), touch);
                if (it != h->claimed.end()) {
                    claimed = true;
                    if (phase == Moved) {
                        h->targeted->ccTouchMoved(touch, event);
                    } else {
                        // Forget the touch before calling: the handler may unregister itself.
                        it = std::find(h->claimed.begin(), h->claimed.end(), touch);
                        if (it != h->claimed.end()) {
                            h->claimed.erase(it);
                            touch->release();
                        }
                        if (phase == Ended) {
                            h->targeted->ccTouchEnded(touch, event);
                        } else {
                            h->targeted->ccTouchCancelled(touch, event);
                        }
                    }
                }
            }
            bool swallows = h->swallows;
            keep->release();
            if (claimed && swallows) {
                remaining->removeObject(touch);
                break;
            }
        }
    }

    if (remaining->count() > 0) {
        for (auto& h : handlers) {
            if (h->removed || !h->standard) continue;
            CCObject* keep = h->object;
            keep->retain();
            switch (phase) {
                case Began:
                    h->standard->ccTouchesBegan(remaining, event);
                    break;
                case Moved:
                    h->standard->ccTouchesMoved(remaining, event);
                    break;
                case Ended:
                    h->standard->ccTouchesEnded(remaining, event);
                    break;
                case Cancelled:
                    h->standard->ccTouchesCancelled(remaining, event);
                    break;
            }
            keep->release();
        }
    }
    remaining->release();
    --m_nDispatching;
    if (m_nDispatching == 0) purgeRemoved();
}

}  // namespace pagly::engine
