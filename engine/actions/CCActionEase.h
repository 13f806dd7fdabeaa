#pragma once

#include "engine/actions/CCActionInterval.h"
#include "engine/base/RefPtr.h"

namespace pagly::engine {

// Base of the easing actions: runs an inner action over the same duration, but feeds it a
// reshaped time f(t) instead of t. f(0) = 0 and f(1) = 1; in between an ease may leave 0..1
// (the elastic ones overshoot).
class CCActionEase : public CCActionInterval {
  public:
    bool initWithAction(CCActionInterval* action);
    CCActionInterval* getInnerAction() const { return m_inner.get(); }

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;
    // The easing curve.
    virtual float ease(float t) const { return t; }

  protected:
    RefPtr<CCActionInterval> m_inner;
};

// An ease with a rate (an exponent).
class CCEaseRateAction : public CCActionEase {
  public:
    bool initWithAction(CCActionInterval* action, float rate);
    float getRate() const { return m_fRate; }
    void setRate(float rate) { m_fRate = rate; }

  protected:
    float m_fRate = 1;
};

// Slow start: t^rate.
class CCEaseIn : public CCEaseRateAction {
  public:
    static CCEaseIn* create(CCActionInterval* action, float rate);
    CCEaseIn* copy() override;
    CCActionInterval* reverse() override;
    float ease(float t) const override;
};

// Slow end: t^(1/rate).
class CCEaseOut : public CCEaseRateAction {
  public:
    static CCEaseOut* create(CCActionInterval* action, float rate);
    CCEaseOut* copy() override;
    CCActionInterval* reverse() override;
    float ease(float t) const override;
};

// Slow start and end: t^rate on the first half, mirrored on the second. A rate of 1 is linear.
class CCEaseInOut : public CCEaseRateAction {
  public:
    static CCEaseInOut* create(CCActionInterval* action, float rate);
    CCEaseInOut* copy() override;
    CCEaseInOut* reverse() override;
    float ease(float t) const override;
};

// Slow start and end along a half sine wave.
class CCEaseSineInOut : public CCActionEase {
  public:
    static CCEaseSineInOut* create(CCActionInterval* action);
    CCEaseSineInOut* copy() override;
    CCEaseSineInOut* reverse() override;
    float ease(float t) const override;
};

// An elastic ease with a period (the length of one swing, as a fraction of the duration).
class CCEaseElastic : public CCActionEase {
  public:
    bool initWithAction(CCActionInterval* action, float period);
    float getPeriod() const { return m_fPeriod; }
    void setPeriod(float period) { m_fPeriod = period; }

  protected:
    float m_fPeriod = 0.3f;
};

// Shoots past the end and settles on it in shrinking swings.
class CCEaseElasticOut : public CCEaseElastic {
  public:
    static CCEaseElasticOut* create(CCActionInterval* action);
    static CCEaseElasticOut* create(CCActionInterval* action, float period);
    CCEaseElasticOut* copy() override;
    CCActionInterval* reverse() override;
    float ease(float t) const override;
};

// Winds up in growing swings before the start, then goes.
class CCEaseElasticIn : public CCEaseElastic {
  public:
    static CCEaseElasticIn* create(CCActionInterval* action);
    static CCEaseElasticIn* create(CCActionInterval* action, float period);
    CCEaseElasticIn* copy() override;
    CCActionInterval* reverse() override;
    float ease(float t) const override;
};

}  // namespace pagly::engine
