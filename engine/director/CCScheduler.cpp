#include "engine/director/CCScheduler.h"

#include <algorithm>

#include "engine/nodes/CCNode.h"

namespace pagly::engine {

namespace {
// Frame steps of 1/60 s do not sum exactly to an interval like 0.2 s in floating point;
// a timer due within this margin fires now instead of a frame late.
const double kDueEpsilon = 1e-4;
}  // namespace

CCScheduler::~CCScheduler() { unscheduleAll(); }

CCScheduler::Timer* CCScheduler::findTimer(SEL_SCHEDULE selector, CCObject* target) const {
    for (const auto& t : m_timers)
        if (!t->removed && t->target == target && t->selector == selector) return t.get();
    return nullptr;
}

CCScheduler::UpdateEntry* CCScheduler::findUpdate(CCObject* target) const {
    for (const auto& u : m_updates)
        if (!u->removed && u->target == target) return u.get();
    return nullptr;
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval,
                                   bool paused) {
    scheduleSelector(selector, target, interval, kRepeatForever, 0.0f, paused);
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval,
                                   unsigned int repeat, float delay, bool paused) {
    if (!selector || !target) return;
    if (interval < 0) interval = 0;
    if (Timer* existing = findTimer(selector, target)) {
        // Already scheduled: only the interval changes.
        existing->interval = interval;
        return;
    }
    auto timer = std::make_shared<Timer>();
    *timer = Timer{target, selector, interval, 0.0, repeat, 0, delay, delay > 0, paused, false};
    m_timers.push_back(timer);
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE selector, CCObject* target) {
    if (Timer* t = findTimer(selector, target)) t->removed = true;
    if (!m_bUpdating) purgeRemoved();
}

bool CCScheduler::isScheduled(SEL_SCHEDULE selector, CCObject* target) const {
    return findTimer(selector, target) != nullptr;
}

void CCScheduler::scheduleUpdateForTarget(CCNode* target, int priority, bool paused) {
    if (!target) return;
    if (UpdateEntry* u = findUpdate(target)) {
        u->priority = priority;
        u->paused = paused;
    } else {
        auto entry = std::make_shared<UpdateEntry>();
        *entry = UpdateEntry{target, priority, paused, false};
        m_updates.push_back(entry);
    }
    std::stable_sort(
        m_updates.begin(), m_updates.end(),
        [](const std::shared_ptr<UpdateEntry>& a, const std::shared_ptr<UpdateEntry>& b) {
            return a->priority < b->priority;
        });
}

void CCScheduler::unscheduleUpdateForTarget(CCObject* target) {
    if (UpdateEntry* u = findUpdate(target)) u->removed = true;
    if (!m_bUpdating) purgeRemoved();
}

void CCScheduler::unscheduleAllForTarget(CCObject* target) {
    for (auto& t : m_timers)
        if (t->target == target) t->removed = true;
    for (auto& u : m_updates)
        if (u->target == target) u->removed = true;
    if (!m_bUpdating) purgeRemoved();
}

void CCScheduler::unscheduleAll() {
    for (auto& t : m_timers) t->removed = true;
    for (auto& u : m_updates) u->removed = true;
    if (!m_bUpdating) purgeRemoved();
}

void CCScheduler::pauseTarget(CCObject* target) {
    for (auto& t : m_timers)
        if (t->target == target) t->paused = true;
    for (auto& u : m_updates)
        if (u->target == target) u->paused = true;
}

void CCScheduler::resumeTarget(CCObject* target) {
    for (auto& t : m_timers)
        if (t->target == target) t->paused = false;
    for (auto& u : m_updates)
        if (u->target == target) u->paused = false;
}

bool CCScheduler::isTargetPaused(CCObject* target) const {
    for (const auto& t : m_timers)
        if (!t->removed && t->target == target) return t->paused;
    for (const auto& u : m_updates)
        if (!u->removed && u->target == target) return u->paused;
    return false;
}

unsigned int CCScheduler::timerCount() const {
    unsigned int n = 0;
    for (const auto& t : m_timers)
        if (!t->removed) ++n;
    return n;
}

double CCScheduler::secondsUntilNextCall() const {
    for (const auto& u : m_updates)
        if (!u->removed && !u->paused && !u->target->hasEmptyUpdate()) return 0;
    double next = -1;
    for (const auto& t : m_timers) {
        if (t->removed || t->paused) continue;
        double due = (t->useDelay ? t->delay : t->interval) - t->elapsed - kDueEpsilon;
        if (due <= 0) return 0;
        if (next < 0 || due < next) next = due;
    }
    if (next > 0) next = m_fTimeScale > 0 ? next / m_fTimeScale : -1;  // stopped time: never
    return next;
}

void CCScheduler::purgeRemoved() {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [](const std::shared_ptr<Timer>& t) { return t->removed; }),
                   m_timers.end());
    m_updates.erase(
        std::remove_if(m_updates.begin(), m_updates.end(),
                       [](const std::shared_ptr<UpdateEntry>& u) { return u->removed; }),
        m_updates.end());
}

// Returns true when the timer fired.
bool CCScheduler::fireTimer(Timer* t, float dt) {
    t->elapsed += dt;
    if (t->useDelay) {
        if (t->elapsed + kDueEpsilon < t->delay) return false;
        t->elapsed -= t->delay;
        t->useDelay = false;
    } else if (t->elapsed + kDueEpsilon < t->interval) {
        return false;
    }
    float passed = (float)t->elapsed;
    // Keep the phase, but never fire a burst after a long frame.
    t->elapsed = t->interval > 0 ? t->elapsed - t->interval : 0.0;
    if (t->elapsed < 0 || t->elapsed >= t->interval) t->elapsed = 0;
    if (t->repeat != kRepeatForever) {
        if (t->timesExecuted >= t->repeat) t->removed = true;
        ++t->timesExecuted;
    }
    CCObject* target = t->target;
    target->retain();
    (target->*(t->selector))(passed);
    target->release();
    return true;
}

void CCScheduler::update(float dt) {
    dt *= m_fTimeScale;
    m_bUpdating = true;

    std::vector<std::shared_ptr<UpdateEntry>> updates = m_updates;
    for (auto& u : updates) {
        if (u->removed || u->paused) continue;
        CCNode* target = u->target;
        target->retain();
        target->update(dt);
        target->release();
    }

    // Timers scheduled during this pass wait for the next frame.
    std::vector<std::shared_ptr<Timer>> timers = m_timers;
    for (auto& t : timers) {
        if (t->removed || t->paused) continue;
        fireTimer(t.get(), dt);
    }

    m_bUpdating = false;
    purgeRemoved();
}

}  // namespace pagly::engine
