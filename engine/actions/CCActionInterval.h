#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace pagly::engine {

// Slack allowed when deciding that an action has reached its end: frame steps add up in
// floats, and thirty steps of 1/60 s must finish a 0.5 s action, not leave it a hair short.
// A tenth of a millisecond is far below one frame.
const float kActionTimeEpsilon = 1e-4f;

// An action that runs for a fixed duration. The action manager calls step(dt) once per frame;
// step adds dt to the elapsed time and calls update(t) with t = elapsed / duration in 0..1.
//
// The first step counts its dt like every other step: an action started before frame N is
// at t = dt / duration after frame N, and a 0.5 s action driven by 1/60 s frames is done
// (update(1) called, isDone true) after exactly 30 frames. update(0) is never sent by the
// manager; the start values are those the target had at startWithTarget. A duration of 0
// completes at the first step with update(1) and never divides by zero.
class CCActionInterval : public CCFiniteTimeAction {
  public:
    bool initWithDuration(float duration);

    float getElapsed() const { return (float)m_elapsed; }
    // Time run past the end (negative before it), for carrying over into a next run.
    double getOvershoot() const { return m_elapsed - m_fDuration; }
    bool isDone() override;
    void step(float dt) override;
    void startWithTarget(CCNode* target) override;
    CCActionInterval* copy() override = 0;
    CCActionInterval* reverse() override { return nullptr; }

  protected:
    // t for the current elapsed time: 1 once the end is reached (within the slack above).
    float progress() const;

    // Double: hundreds of float additions of 1/60 s would drift by a good fraction of a
    // millisecond, which repeated cycles would carry along.
    double m_elapsed = 0;
};

// Moves the target to a position.
class CCMoveTo : public CCActionInterval {
  public:
    static CCMoveTo* create(float duration, const CCPoint& position);
    bool initWithDuration(float duration, const CCPoint& position);
    CCMoveTo* copy() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    CCPoint m_endPosition;
    CCPoint m_startPosition;
    CCPoint m_delta;
};

// Moves the target by an offset from where it is when the action starts.
class CCMoveBy : public CCActionInterval {
  public:
    static CCMoveBy* create(float duration, const CCPoint& delta);
    bool initWithDuration(float duration, const CCPoint& delta);
    CCMoveBy* copy() override;
    CCMoveBy* reverse() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    CCPoint m_delta;
    CCPoint m_startPosition;
};

// Scales the target to given factors.
class CCScaleTo : public CCActionInterval {
  public:
    static CCScaleTo* create(float duration, float scale);
    static CCScaleTo* create(float duration, float scaleX, float scaleY);
    bool initWithDuration(float duration, float scaleX, float scaleY);
    CCScaleTo* copy() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    float m_startX = 1, m_startY = 1;
    float m_endX = 1, m_endY = 1;
};

// Multiplies the target's scale by given factors.
class CCScaleBy : public CCScaleTo {
  public:
    static CCScaleBy* create(float duration, float scale);
    static CCScaleBy* create(float duration, float scaleX, float scaleY);
    CCScaleBy* copy() override;
    // A factor of 0 has no inverse; such a scale has no reverse (null).
    CCScaleBy* reverse() override;
    void startWithTarget(CCNode* target) override;

  protected:
    float m_byX = 1, m_byY = 1;
};

// Rotates the target to an angle (degrees, clockwise) the short way round. The target ends
// on exactly the angle given (not on an equivalent one), and starts from its own.
class CCRotateTo : public CCActionInterval {
  public:
    static CCRotateTo* create(float duration, float angle);
    bool initWithDuration(float duration, float angle);
    CCRotateTo* copy() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    float m_endAngle = 0;
    float m_startAngle = 0;
    float m_diff = 0;
};

// Rotates the target by an angle (degrees, clockwise).
class CCRotateBy : public CCActionInterval {
  public:
    static CCRotateBy* create(float duration, float angle);
    bool initWithDuration(float duration, float angle);
    CCRotateBy* copy() override;
    CCRotateBy* reverse() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    float m_angle = 0;
    float m_startAngle = 0;
};

// Tints a target that has a colour (CCRGBAProtocol) to a colour; other targets are left alone.
class CCTintTo : public CCActionInterval {
  public:
    static CCTintTo* create(float duration, unsigned char r, unsigned char g, unsigned char b);
    bool initWithDuration(float duration, const ccColor3B& color);
    CCTintTo* copy() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    ccColor3B m_to;
    ccColor3B m_from;
};

// Fades a target that has an opacity (CCRGBAProtocol) to an opacity; others are left alone.
class CCFadeTo : public CCActionInterval {
  public:
    static CCFadeTo* create(float duration, unsigned char opacity);
    bool initWithDuration(float duration, unsigned char opacity);
    CCFadeTo* copy() override;
    void startWithTarget(CCNode* target) override;
    void update(float t) override;

  protected:
    unsigned char m_toOpacity = 255;
    unsigned char m_fromOpacity = 255;
};

// Fades from fully transparent to opaque (whatever the opacity was before).
class CCFadeIn : public CCActionInterval {
  public:
    static CCFadeIn* create(float duration);
    CCFadeIn* copy() override;
    CCActionInterval* reverse() override;
    void update(float t) override;
};

// Fades from opaque to fully transparent (whatever the opacity was before).
class CCFadeOut : public CCActionInterval {
  public:
    static CCFadeOut* create(float duration);
    CCFadeOut* copy() override;
    CCActionInterval* reverse() override;
    void update(float t) override;
};

// Does nothing for a while; used to space out the members of a sequence.
class CCDelayTime : public CCActionInterval {
  public:
    static CCDelayTime* create(float duration);
    CCDelayTime* copy() override;
    CCDelayTime* reverse() override;
    void update(float) override {}
};

}  // namespace pagly::engine
