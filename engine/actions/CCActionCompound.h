#pragma once

#include <cstdarg>
#include <vector>

#include "engine/actions/CCActionInterval.h"
#include "engine/base/RefPtr.h"

namespace pagly::engine {

class CCArray;

// Runs actions one after the other. Its duration is the sum of theirs; a member of length 0
// (an instant, a zero delay) runs, once, when the sequence reaches it. Each member starts on
// the target as it is when its turn comes, so relative members chain. A sequence holds its
// members, and an empty list gives no sequence (null).
class CCSequence : public CCActionInterval {
  public:
    // A list of actions ended by null.
    static CCSequence* create(CCFiniteTimeAction* first, ...);
    static CCSequence* createWithVariableList(CCFiniteTimeAction* first, va_list args);
    static CCSequence* createWithTwoActions(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    // The CCFiniteTimeActions of an array, in order (other objects are skipped).
    static CCSequence* create(CCArray* actions);
    bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions);

    unsigned int getActionCount() const { return (unsigned int)m_actions.size(); }
    CCFiniteTimeAction* getActionAt(unsigned int index) const;

    CCSequence* copy() override;
    // The members reversed, in reverse order; null when a member has no reverse.
    CCSequence* reverse() override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    // Moving back before the member that is running starts the members over from the first.
    void update(float t) override;

  private:
    std::vector<RefPtr<CCFiniteTimeAction>> m_actions;
    std::vector<float> m_starts;  // start time of each member
    size_t m_current = 0;         // the member running now (or next to start)
    bool m_currentStarted = false;
};

// Runs actions side by side. Its duration is that of the longest member; a shorter member
// ends early and leaves the target alone afterwards (as if padded with a delay). An empty
// list gives no spawn (null).
class CCSpawn : public CCActionInterval {
  public:
    // A list of actions ended by null.
    static CCSpawn* create(CCFiniteTimeAction* first, ...);
    static CCSpawn* createWithVariableList(CCFiniteTimeAction* first, va_list args);
    static CCSpawn* createWithTwoActions(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
    // The CCFiniteTimeActions of an array (other objects are skipped).
    static CCSpawn* create(CCArray* actions);
    bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions);

    unsigned int getActionCount() const { return (unsigned int)m_actions.size(); }
    CCFiniteTimeAction* getActionAt(unsigned int index) const;

    CCSpawn* copy() override;
    // Each member reversed; a shorter member then waits so that all end together. Null when
    // a member has no reverse.
    CCSpawn* reverse() override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;

  private:
    std::vector<RefPtr<CCFiniteTimeAction>> m_actions;
    std::vector<bool> m_finished;
};

// Runs an action a number of times, each run starting from where the previous one left the
// target.
class CCRepeat : public CCActionInterval {
  public:
    static CCRepeat* create(CCFiniteTimeAction* action, unsigned int times);
    bool initWithAction(CCFiniteTimeAction* action, unsigned int times);

    CCFiniteTimeAction* getInnerAction() const { return m_inner.get(); }
    unsigned int getTimes() const { return m_times; }

    CCRepeat* copy() override;
    CCRepeat* reverse() override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;

  private:
    RefPtr<CCFiniteTimeAction> m_inner;
    unsigned int m_times = 0;
    unsigned int m_done = 0;
    bool m_innerStarted = false;
};

// Runs an action again and again until stopped; never done. Time left over when a run ends
// within a frame goes to the next run, so cycles keep their length. A run of length 0 runs
// once per frame.
class CCRepeatForever : public CCActionInterval {
  public:
    static CCRepeatForever* create(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action);

    CCActionInterval* getInnerAction() const { return m_inner.get(); }
    void setInnerAction(CCActionInterval* action) { m_inner = action; }

    CCRepeatForever* copy() override;
    CCRepeatForever* reverse() override;
    bool isDone() override { return false; }
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void step(float dt) override;
    void update(float) override {}

  private:
    RefPtr<CCActionInterval> m_inner;
};

// Runs an action faster or slower: its steps are scaled by the speed (0 or less holds it).
class CCSpeed : public CCAction {
  public:
    static CCSpeed* create(CCActionInterval* action, float speed);
    bool initWithAction(CCActionInterval* action, float speed);

    float getSpeed() const { return m_fSpeed; }
    void setSpeed(float speed) { m_fSpeed = speed; }
    CCActionInterval* getInnerAction() const { return m_inner.get(); }

    CCSpeed* copy() override;
    CCSpeed* reverse();
    bool isDone() override;
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void step(float dt) override;

  private:
    RefPtr<CCActionInterval> m_inner;
    float m_fSpeed = 1;
};

}  // namespace pagly::engine
