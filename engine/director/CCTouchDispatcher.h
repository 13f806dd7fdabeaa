#pragma once

#include <climits>
#include <memory>
#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCEvent;
class CCSet;
class CCTouch;

enum { kTouchesAllAtOnce, kTouchesOneByOne };
enum { kMenuHandlerPriority = -128 };
// Before every other priority: a modal overlay registered with it sees each touch first and,
// swallowing, keeps it from everything under it (menus included).
enum { kModalHandlerPriority = INT_MIN };

// Receives touches one at a time; claiming a touch in ccTouchBegan gets its later events.
class CCTargetedTouchDelegate {
  public:
    virtual ~CCTargetedTouchDelegate() = default;
    virtual bool ccTouchBegan(CCTouch*, CCEvent*) { return false; }
    virtual void ccTouchMoved(CCTouch*, CCEvent*) {}
    virtual void ccTouchEnded(CCTouch*, CCEvent*) {}
    virtual void ccTouchCancelled(CCTouch*, CCEvent*) {}
};

// Receives all touches of an event at once (those no targeted delegate swallowed).
class CCStandardTouchDelegate {
  public:
    virtual ~CCStandardTouchDelegate() = default;
    virtual void ccTouchesBegan(CCSet*, CCEvent*) {}
    virtual void ccTouchesMoved(CCSet*, CCEvent*) {}
    virtual void ccTouchesEnded(CCSet*, CCEvent*) {}
    virtual void ccTouchesCancelled(CCSet*, CCEvent*) {}
};

// Routes touches: targeted delegates first in priority order (lower first; equal priorities
// in registration order), then standard delegates with what is left. A touch claimed by a
// swallowing targeted delegate reaches nobody after it. Delegates are kept alive while they
// are called and may be added or removed during dispatch.
class CCTouchDispatcher : public CCObject {
  public:
    enum TouchPhase { Began, Moved, Ended, Cancelled };

    CCTouchDispatcher() = default;
    ~CCTouchDispatcher() override;

    // The delegate must also be a CCObject; the dispatcher holds a reference while registered.
    void addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches);
    void addStandardDelegate(CCStandardTouchDelegate* delegate, int priority);
    void removeDelegate(CCObject* delegate);
    void removeAllDelegates();
    void setPriority(int priority, CCObject* delegate);
    bool isDispatchEvents() const { return m_bDispatchEvents; }
    void setDispatchEvents(bool dispatch) { m_bDispatchEvents = dispatch; }
    unsigned int delegateCount() const;

    void touches(CCSet* touches, CCEvent* event, TouchPhase phase);
    void touchesBegan(CCSet* touches, CCEvent* event) { this->touches(touches, event, Began); }
    void touchesMoved(CCSet* touches, CCEvent* event) { this->touches(touches, event, Moved); }
    void touchesEnded(CCSet* touches, CCEvent* event) { this->touches(touches, event, Ended); }
    void touchesCancelled(CCSet* touches, CCEvent* event) {
        this->touches(touches, event, Cancelled);
    }

  private:
    struct Handler {
        CCObject* object;
        CCTargetedTouchDelegate* targeted;
        CCStandardTouchDelegate* standard;
        int priority;
        bool swallows;
        bool removed;
        std::vector<CCTouch*> claimed;  // touches this handler claimed (targeted only)
    };
    void addHandler(std::shared_ptr<Handler> handler);
    void purgeRemoved();

    std::vector<std::shared_ptr<Handler>> m_handlers;
    bool m_bDispatchEvents = true;
    int m_nDispatching = 0;
};

}  // namespace pagly::engine
