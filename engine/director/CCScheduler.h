#pragma once

#include <climits>
#include <memory>
#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCNode;

constexpr unsigned int kRepeatForever = UINT_MAX - 1;

// Calls member callbacks of targets at intervals (0 = every frame) and per-frame update()
// of registered nodes. Safe against callbacks that unschedule or reschedule themselves or
// others, or destroy their target: it works on a snapshot and skips removed entries.
class CCScheduler : public CCObject {
  public:
    CCScheduler() = default;
    ~CCScheduler() override;

    void update(float dt);

    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, bool paused);
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval,
                          unsigned int repeat, float delay, bool paused);
    void unscheduleSelector(SEL_SCHEDULE selector, CCObject* target);
    bool isScheduled(SEL_SCHEDULE selector, CCObject* target) const;

    // Lower priority values are called first; equal priorities in scheduling order.
    void scheduleUpdateForTarget(CCNode* target, int priority, bool paused);
    void unscheduleUpdateForTarget(CCObject* target);

    void unscheduleAllForTarget(CCObject* target);
    void unscheduleAll();
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    bool isTargetPaused(CCObject* target) const;

    float getTimeScale() const { return m_fTimeScale; }
    // A scale that is not a finite number of zero or more is ignored: it would stop time or
    // fill every timer with NaN.
    void setTimeScale(float scale) {
        if (scale >= 0 && scale <= 1e6f) m_fTimeScale = scale;
    }
    unsigned int timerCount() const;
    // Seconds of scheduler time until the next callback is due: 0 while anything runs every
    // frame, a negative number when nothing is scheduled at all. Per-frame updates that are
    // known to do nothing (CCNode::hasEmptyUpdate) do not count.
    double secondsUntilNextCall() const;

  private:
    struct Timer {
        CCObject* target;
        SEL_SCHEDULE selector;
        float interval;
        double elapsed;
        unsigned int repeat;
        unsigned int timesExecuted;
        float delay;
        bool useDelay;
        bool paused;
        bool removed;
    };
    struct UpdateEntry {
        CCNode* target;
        int priority;
        bool paused;
        bool removed;
    };
    Timer* findTimer(SEL_SCHEDULE selector, CCObject* target) const;
    UpdateEntry* findUpdate(CCObject* target) const;
    bool fireTimer(Timer* timer, float dt);
    void purgeRemoved();

    std::vector<std::shared_ptr<Timer>> m_timers;
    std::vector<std::shared_ptr<UpdateEntry>> m_updates;
    float m_fTimeScale = 1.0f;
    bool m_bUpdating = false;
};

}  // namespace pagly::engine
