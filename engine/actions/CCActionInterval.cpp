#include "engine/actions/CCActionInterval.h"

#include <cfloat>
#include <cmath>

#include "engine/nodes/CCNode.h"

namespace pagly::engine {

namespace {

CCRGBAProtocol* rgbaOf(CCNode* target) { return dynamic_cast<CCRGBAProtocol*>(target); }

unsigned char lerpByte(unsigned char from, unsigned char to, float t) {
    float v = (float)from + ((float)to - (float)from) * t;
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    return (unsigned char)std::lround(v);
}

// from + (to - from) x t, worked out in double: in float the difference of two far-apart
// values (a document may give +-3e38) is infinite and the pose becomes NaN. An overshooting
// ease (t > 1) is held to the float range.
float lerp(double from, double to, float t) {
    from = std::fmax(-FLT_MAX, std::fmin(FLT_MAX, from));
    to = std::fmax(-FLT_MAX, std::fmin(FLT_MAX, to));  // an infinite change ends at the edge
    double v = from + (to - from) * t;
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return (float)v;
}

CCPoint lerp(const CCPoint& from, const CCPoint& to, float t) {
    return CCPoint(lerp(from.x, to.x, t), lerp(from.y, to.y, t));
}

}  // namespace

// --- CCActionInterval ---

bool CCActionInterval::initWithDuration(float duration) {
    // Negative or NaN durations make no sense; they act like an instant.
    m_fDuration = (duration > 0) ? duration : 0;
    m_elapsed = 0;
    return true;
}

bool CCActionInterval::isDone() { return m_elapsed >= m_fDuration - kActionTimeEpsilon; }

float CCActionInterval::progress() const {
    if (m_elapsed >= m_fDuration - kActionTimeEpsilon) return 1.0f;
    double t = m_elapsed / m_fDuration;  // m_fDuration > epsilon here
    return t < 0 ? 0 : (float)t;
}

void CCActionInterval::step(float dt) {
    if (dt > 0) m_elapsed += dt;
    update(progress());
}

void CCActionInterval::startWithTarget(CCNode* target) {
    CCFiniteTimeAction::startWithTarget(target);
    m_elapsed = 0;
}

// --- CCMoveTo ---

CCMoveTo* CCMoveTo::create(float duration, const CCPoint& position) {
    CCMoveTo* a = new CCMoveTo();
    a->initWithDuration(duration, position);
    return ccAutoreleased(a);
}

bool CCMoveTo::initWithDuration(float duration, const CCPoint& position) {
    CCActionInterval::initWithDuration(duration);
    m_endPosition = position;
    return true;
}

CCMoveTo* CCMoveTo::copy() { return create(m_fDuration, m_endPosition); }

void CCMoveTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_startPosition = target->getPosition();
    m_delta = m_endPosition - m_startPosition;
}

void CCMoveTo::update(float t) {
    if (!m_pTarget) return;
    // Land exactly on the end position rather than on start + delta rounded.
    m_pTarget->setPosition(t >= 1 ? m_endPosition : lerp(m_startPosition, m_endPosition, t));
}

// --- CCMoveBy ---

CCMoveBy* CCMoveBy::create(float duration, const CCPoint& delta) {
    CCMoveBy* a = new CCMoveBy();
    a->initWithDuration(duration, delta);
    return ccAutoreleased(a);
}

bool CCMoveBy::initWithDuration(float duration, const CCPoint& delta) {
    CCActionInterval::initWithDuration(duration);
    m_delta = delta;
    return true;
}

CCMoveBy* CCMoveBy::copy() { return create(m_fDuration, m_delta); }
CCMoveBy* CCMoveBy::reverse() { return create(m_fDuration, CCPoint(-m_delta.x, -m_delta.y)); }

void CCMoveBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_startPosition = target->getPosition();
}

void CCMoveBy::update(float t) {
    if (!m_pTarget) return;
    m_pTarget->setPosition(
        CCPoint(lerp(m_startPosition.x, (double)m_startPosition.x + m_delta.x, t),
                lerp(m_startPosition.y, (double)m_startPosition.y + m_delta.y, t)));
}

// --- CCScaleTo / CCScaleBy ---

CCScaleTo* CCScaleTo::create(float duration, float scale) { return create(duration, scale, scale); }

CCScaleTo* CCScaleTo::create(float duration, float scaleX, float scaleY) {
    CCScaleTo* a = new CCScaleTo();
    a->initWithDuration(duration, scaleX, scaleY);
    return ccAutoreleased(a);
}

bool CCScaleTo::initWithDuration(float duration, float scaleX, float scaleY) {
    CCActionInterval::initWithDuration(duration);
    m_endX = scaleX;
    m_endY = scaleY;
    return true;
}

CCScaleTo* CCScaleTo::copy() { return create(m_fDuration, m_endX, m_endY); }

void CCScaleTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_startX = target->getScaleX();
    m_startY = target->getScaleY();
}

void CCScaleTo::update(float t) {
    if (!m_pTarget) return;
    if (t >= 1) {
        m_pTarget->setScale(m_endX, m_endY);
    } else {
        m_pTarget->setScale(lerp(m_startX, m_endX, t), lerp(m_startY, m_endY, t));
    }
}

CCScaleBy* CCScaleBy::create(float duration, float scale) { return create(duration, scale, scale); }

CCScaleBy* CCScaleBy::create(float duration, float scaleX, float scaleY) {
    CCScaleBy* a = new CCScaleBy();
    a->initWithDuration(duration, scaleX, scaleY);
    a->m_byX = scaleX;
    a->m_byY = scaleY;
    return ccAutoreleased(a);
}

CCScaleBy* CCScaleBy::copy() { return create(m_fDuration, m_byX, m_byY); }

CCScaleBy* CCScaleBy::reverse() {
    if (m_byX == 0 || m_byY == 0) return nullptr;
    return create(m_fDuration, 1.0f / m_byX, 1.0f / m_byY);
}

void CCScaleBy::startWithTarget(CCNode* target) {
    CCScaleTo::startWithTarget(target);
    m_endX = m_startX * m_byX;
    m_endY = m_startY * m_byY;
}

// --- CCRotateTo / CCRotateBy ---

CCRotateTo* CCRotateTo::create(float duration, float angle) {
    CCRotateTo* a = new CCRotateTo();
    a->initWithDuration(duration, angle);
    return ccAutoreleased(a);
}

bool CCRotateTo::initWithDuration(float duration, float angle) {
    CCActionInterval::initWithDuration(duration);
    m_endAngle = angle;
    return true;
}

CCRotateTo* CCRotateTo::copy() { return create(m_fDuration, m_endAngle); }

void CCRotateTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_startAngle = target->getRotation();
    // The short way round: the difference folded into -180..180.
    double diff = std::fmod((double)m_endAngle - m_startAngle, 360.0);
    if (!std::isfinite(diff)) diff = 0;
    if (diff > 180) diff -= 360;
    if (diff < -180) diff += 360;
    m_diff = (float)diff;
}

void CCRotateTo::update(float t) {
    if (!m_pTarget) return;
    m_pTarget->setRotation(t >= 1 ? m_endAngle
                                  : lerp(m_startAngle, (double)m_startAngle + m_diff, t));
}

CCRotateBy* CCRotateBy::create(float duration, float angle) {
    CCRotateBy* a = new CCRotateBy();
    a->initWithDuration(duration, angle);
    return ccAutoreleased(a);
}

bool CCRotateBy::initWithDuration(float duration, float angle) {
    CCActionInterval::initWithDuration(duration);
    m_angle = angle;
    return true;
}

CCRotateBy* CCRotateBy::copy() { return create(m_fDuration, m_angle); }
CCRotateBy* CCRotateBy::reverse() { return create(m_fDuration, -m_angle); }

void CCRotateBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_startAngle = target->getRotation();
}

void CCRotateBy::update(float t) {
    if (m_pTarget) m_pTarget->setRotation(lerp(m_startAngle, (double)m_startAngle + m_angle, t));
}

// --- CCTintTo ---

CCTintTo* CCTintTo::create(float duration, unsigned char r, unsigned char g, unsigned char b) {
    CCTintTo* a = new CCTintTo();
    a->initWithDuration(duration, ccColor3B(r, g, b));
    return ccAutoreleased(a);
}

bool CCTintTo::initWithDuration(float duration, const ccColor3B& color) {
    CCActionInterval::initWithDuration(duration);
    m_to = color;
    return true;
}

CCTintTo* CCTintTo::copy() { return create(m_fDuration, m_to.r, m_to.g, m_to.b); }

void CCTintTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (CCRGBAProtocol* rgba = rgbaOf(target)) m_from = rgba->getColor();
}

void CCTintTo::update(float t) {
    CCRGBAProtocol* rgba = rgbaOf(m_pTarget);
    if (!rgba) return;
    rgba->setColor(ccColor3B(lerpByte(m_from.r, m_to.r, t), lerpByte(m_from.g, m_to.g, t),
                             lerpByte(m_from.b, m_to.b, t)));
}

// --- CCFadeTo / CCFadeIn / CCFadeOut ---

CCFadeTo* CCFadeTo::create(float duration, unsigned char opacity) {
    CCFadeTo* a = new CCFadeTo();
    a->initWithDuration(duration, opacity);
    return ccAutoreleased(a);
}

bool CCFadeTo::initWithDuration(float duration, unsigned char opacity) {
    CCActionInterval::initWithDuration(duration);
    m_toOpacity = opacity;
    return true;
}

CCFadeTo* CCFadeTo::copy() { return create(m_fDuration, m_toOpacity); }

void CCFadeTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (CCRGBAProtocol* rgba = rgbaOf(target)) m_fromOpacity = rgba->getOpacity();
}

void CCFadeTo::update(float t) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pTarget))
        rgba->setOpacity(lerpByte(m_fromOpacity, m_toOpacity, t));
}

CCFadeIn* CCFadeIn::create(float duration) {
    CCFadeIn* a = new CCFadeIn();
    a->initWithDuration(duration);
    return ccAutoreleased(a);
}

CCFadeIn* CCFadeIn::copy() { return create(m_fDuration); }
CCActionInterval* CCFadeIn::reverse() { return CCFadeOut::create(m_fDuration); }

void CCFadeIn::update(float t) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pTarget)) rgba->setOpacity(lerpByte(0, 255, t));
}

CCFadeOut* CCFadeOut::create(float duration) {
    CCFadeOut* a = new CCFadeOut();
    a->initWithDuration(duration);
    return ccAutoreleased(a);
}

CCFadeOut* CCFadeOut::copy() { return create(m_fDuration); }
CCActionInterval* CCFadeOut::reverse() { return CCFadeIn::create(m_fDuration); }

void CCFadeOut::update(float t) {
    if (CCRGBAProtocol* rgba = rgbaOf(m_pTarget)) rgba->setOpacity(lerpByte(255, 0, t));
}

// --- CCDelayTime ---

CCDelayTime* CCDelayTime::create(float duration) {
    CCDelayTime* a = new CCDelayTime();
    a->initWithDuration(duration);
    return ccAutoreleased(a);
}

CCDelayTime* CCDelayTime::copy() { return create(m_fDuration); }
CCDelayTime* CCDelayTime::reverse() { return create(m_fDuration); }

}  // namespace pagly::engine
