#pragma once

#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCNode;

enum { kActionTagInvalid = -1 };

// Base of all actions: something that changes a target node over time, stepped by the
// action manager once per frame.
class CCAction : public CCObject {
  public:
    CCAction() = default;
    // A fresh, not yet started copy (autoreleased).
    virtual CCAction* copy() = 0;
    virtual bool isDone() { return true; }
    virtual void startWithTarget(CCNode* target);
    // Called when the action is removed from its target; the target is forgotten.
    virtual void stop();
    // dt in seconds since the last frame.
    virtual void step(float dt);
    // t in 0..1 for finite actions.
    virtual void update(float t);

    CCNode* getTarget() const { return m_pTarget; }
    void setTarget(CCNode* target) { m_pTarget = target; }
    CCNode* getOriginalTarget() const { return m_pOriginalTarget; }
    void setOriginalTarget(CCNode* target) { m_pOriginalTarget = target; }
    int getTag() const { return m_nTag; }
    void setTag(int tag) { m_nTag = tag; }

  protected:
    // Non-owning: the action manager keeps targets and actions apart.
    CCNode* m_pOriginalTarget = nullptr;
    CCNode* m_pTarget = nullptr;
    int m_nTag = kActionTagInvalid;
};

// An action with a duration.
class CCFiniteTimeAction : public CCAction {
  public:
    float getDuration() const { return m_fDuration; }
    // As at creation: a negative or NaN duration would never end; it counts as an instant.
    void setDuration(float duration) { m_fDuration = duration > 0 ? duration : 0; }
    // The action run backwards (autoreleased), or null where none exists.
    virtual CCFiniteTimeAction* reverse() { return nullptr; }

  protected:
    float m_fDuration = 0;
};

}  // namespace pagly::engine
