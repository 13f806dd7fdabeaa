#pragma once

#include <functional>

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/RefPtr.h"

namespace pagly::engine {

// An action that takes no time: it does its work once, at its first step (or when a
// sequence reaches it), and is then done.
class CCActionInstant : public CCFiniteTimeAction {
  public:
    bool isDone() override { return m_bDone; }
    void startWithTarget(CCNode* target) override;
    void step(float dt) override;
    CCActionInstant* copy() override = 0;
    // An instant is its own reverse (a copy) unless it says otherwise.
    CCFiniteTimeAction* reverse() override { return copy(); }

  protected:
    bool m_bDone = false;
};

// Shows the target.
class CCShow : public CCActionInstant {
  public:
    static CCShow* create();
    CCShow* copy() override { return create(); }
    CCFiniteTimeAction* reverse() override;
    void update(float t) override;
};

// Hides the target.
class CCHide : public CCActionInstant {
  public:
    static CCHide* create();
    CCHide* copy() override { return create(); }
    CCFiniteTimeAction* reverse() override;
    void update(float t) override;
};

// Puts the target at a position.
class CCPlace : public CCActionInstant {
  public:
    static CCPlace* create(const CCPoint& position);
    CCPlace* copy() override { return create(m_position); }
    void update(float t) override;

  private:
    CCPoint m_position;
};

// Calls a member function (target + selector), or a plain function, once. The selector's
// target is retained until the action is destroyed, so the call never reaches a dead object.
class CCCallFunc : public CCActionInstant {
  public:
    static CCCallFunc* create(CCObject* selectorTarget, SEL_CallFunc selector);
    static CCCallFunc* create(std::function<void()> function);
    CCCallFunc* copy() override;
    void update(float t) override;
    // Runs the call now.
    virtual void execute();

    CCObject* getTargetCallback() const { return m_selectorTarget.get(); }
    void setTargetCallback(CCObject* selectorTarget) { m_selectorTarget = selectorTarget; }

  protected:
    RefPtr<CCObject> m_selectorTarget;
    SEL_CallFunc m_callFunc = nullptr;
    std::function<void()> m_function;
};

// Calls a member function (target + selector) with the node the action runs on, once; or a
// plain function with that node.
class CCCallFuncN : public CCCallFunc {
  public:
    static CCCallFuncN* create(CCObject* selectorTarget, SEL_CallFuncN selector);
    static CCCallFuncN* create(std::function<void(CCNode*)> function);
    CCCallFuncN* copy() override;
    void execute() override;

  protected:
    SEL_CallFuncN m_callFuncN = nullptr;
    std::function<void(CCNode*)> m_functionN;
};

}  // namespace pagly::engine
