#include "engine/actions/CCActionEase.h"

#include <cmath>

namespace pagly::engine {

namespace {

const float kPi = 3.14159265358979f;

// A rate or period that is zero, negative or not a number would make the curves meaningless
// (or divide by zero): fall back to the plain value.
float sanePositive(float v, float fallback) { return (v > 0 && std::isfinite(v)) ? v : fallback; }

}  // namespace

// --- CCActionEase ---

bool CCActionEase::initWithAction(CCActionInterval* action) {
    m_inner = action;
    CCActionInterval::initWithDuration(action ? action->getDuration() : 0);
    return action != nullptr;
}

void CCActionEase::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_inner) m_inner->startWithTarget(target);
}

void CCActionEase::stop() {
    if (m_inner) m_inner->stop();
    CCActionInterval::stop();
}

void CCActionEase::update(float t) {
    if (!m_inner) return;
    // The ends are exact whatever the curve's rounding.
    m_inner->update(t <= 0 ? 0 : t >= 1 ? 1 : ease(t));
}

bool CCEaseRateAction::initWithAction(CCActionInterval* action, float rate) {
    m_fRate = sanePositive(rate, 1);
    return CCActionEase::initWithAction(action);
}

bool CCEaseElastic::initWithAction(CCActionInterval* action, float period) {
    m_fPeriod = sanePositive(period, 0.3f);
    return CCActionEase::initWithAction(action);
}

// --- rate eases ---

CCEaseIn* CCEaseIn::create(CCActionInterval* action, float rate) {
    if (!action) return nullptr;
    CCEaseIn* e = new CCEaseIn();
    e->initWithAction(action, rate);
    return ccAutoreleased(e);
}
CCEaseIn* CCEaseIn::copy() { return create(m_inner->copy(), m_fRate); }
CCActionInterval* CCEaseIn::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? CCEaseOut::create(r, m_fRate) : nullptr;
}
float CCEaseIn::ease(float t) const { return std::pow(t, m_fRate); }

CCEaseOut* CCEaseOut::create(CCActionInterval* action, float rate) {
    if (!action) return nullptr;
    CCEaseOut* e = new CCEaseOut();
    e->initWithAction(action, rate);
    return ccAutoreleased(e);
}
CCEaseOut* CCEaseOut::copy() { return create(m_inner->copy(), m_fRate); }
CCActionInterval* CCEaseOut::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? CCEaseIn::create(r, m_fRate) : nullptr;
}
float CCEaseOut::ease(float t) const { return std::pow(t, 1.0f / m_fRate); }

CCEaseInOut* CCEaseInOut::create(CCActionInterval* action, float rate) {
    if (!action) return nullptr;
    CCEaseInOut* e = new CCEaseInOut();
    e->initWithAction(action, rate);
    return ccAutoreleased(e);
}
CCEaseInOut* CCEaseInOut::copy() { return create(m_inner->copy(), m_fRate); }
CCEaseInOut* CCEaseInOut::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? create(r, m_fRate) : nullptr;
}
float CCEaseInOut::ease(float t) const {
    t *= 2;
    if (t < 1) return 0.5f * std::pow(t, m_fRate);
    return 1.0f - 0.5f * std::pow(2.0f - t, m_fRate);
}

// --- sine ---

CCEaseSineInOut* CCEaseSineInOut::create(CCActionInterval* action) {
    if (!action) return nullptr;
    CCEaseSineInOut* e = new CCEaseSineInOut();
    e->initWithAction(action);
    return ccAutoreleased(e);
}
CCEaseSineInOut* CCEaseSineInOut::copy() { return create(m_inner->copy()); }
CCEaseSineInOut* CCEaseSineInOut::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? create(r) : nullptr;
}
float CCEaseSineInOut::ease(float t) const { return -0.5f * (std::cos(kPi * t) - 1.0f); }

// --- elastic ---

CCEaseElasticOut* CCEaseElasticOut::create(CCActionInterval* action) {
    return create(action, 0.3f);
}
CCEaseElasticOut* CCEaseElasticOut::create(CCActionInterval* action, float period) {
    if (!action) return nullptr;
    CCEaseElasticOut* e = new CCEaseElasticOut();
    e->initWithAction(action, period);
    return ccAutoreleased(e);
}
CCEaseElasticOut* CCEaseElasticOut::copy() { return create(m_inner->copy(), m_fPeriod); }
CCActionInterval* CCEaseElasticOut::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? CCEaseElasticIn::create(r, m_fPeriod) : nullptr;
}
float CCEaseElasticOut::ease(float t) const {
    // A decaying sine around 1, phased so that it starts from 0.
    const float s = m_fPeriod / 4;
    return std::pow(2.0f, -10.0f * t) * std::sin((t - s) * 2 * kPi / m_fPeriod) + 1.0f;
}

CCEaseElasticIn* CCEaseElasticIn::create(CCActionInterval* action) { return create(action, 0.3f); }
CCEaseElasticIn* CCEaseElasticIn::create(CCActionInterval* action, float period) {
    if (!action) return nullptr;
    CCEaseElasticIn* e = new CCEaseElasticIn();
    e->initWithAction(action, period);
    return ccAutoreleased(e);
}
CCEaseElasticIn* CCEaseElasticIn::copy() { return create(m_inner->copy(), m_fPeriod); }
CCActionInterval* CCEaseElasticIn::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? CCEaseElasticOut::create(r, m_fPeriod) : nullptr;
}
float CCEaseElasticIn::ease(float t) const {
    const float s = m_fPeriod / 4;
    const float u = t - 1;
    return -std::pow(2.0f, 10.0f * u) * std::sin((u - s) * 2 * kPi / m_fPeriod);
}

}  // namespace pagly::engine
