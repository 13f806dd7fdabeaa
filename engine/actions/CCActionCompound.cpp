#include "engine/actions/CCActionCompound.h"

#include <algorithm>

#include "engine/base/CCArray.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

namespace {

// The non-null actions of a null-ended argument list.
std::vector<CCFiniteTimeAction*> collect(CCFiniteTimeAction* first, va_list args) {
    std::vector<CCFiniteTimeAction*> list;
    for (CCFiniteTimeAction* a = first; a; a = va_arg(args, CCFiniteTimeAction*)) list.push_back(a);
    return list;
}

std::vector<CCFiniteTimeAction*> collect(CCArray* array) {
    std::vector<CCFiniteTimeAction*> list;
    if (!array) return list;
    for (CCObject* o : *array) {
        if (auto* a = dynamic_cast<CCFiniteTimeAction*>(o)) {
            list.push_back(a);
        } else {
            CCLog("CCSequence/CCSpawn: skipping an array element that is not a finite action");
        }
    }
    return list;
}

// More cycles than this in one frame means a zero-length action repeated absurdly often; the
// rest are dropped rather than hanging the frame.
const unsigned int kMaxCyclesPerUpdate = 10000;

}  // namespace

// --- CCSequence ---

CCSequence* CCSequence::create(CCFiniteTimeAction* first, ...) {
    va_list args;
    va_start(args, first);
    CCSequence* s = createWithVariableList(first, args);
    va_end(args);
    return s;
}

CCSequence* CCSequence::createWithVariableList(CCFiniteTimeAction* first, va_list args) {
    std::vector<CCFiniteTimeAction*> list = collect(first, args);
    if (list.empty()) return nullptr;
    CCSequence* s = new CCSequence();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

CCSequence* CCSequence::createWithTwoActions(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    return create(one, two, nullptr);
}

CCSequence* CCSequence::create(CCArray* actions) {
    std::vector<CCFiniteTimeAction*> list = collect(actions);
    if (list.empty()) return nullptr;
    CCSequence* s = new CCSequence();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

bool CCSequence::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    m_actions.clear();
    m_starts.clear();
    float total = 0;
    for (CCFiniteTimeAction* a : actions) {
        if (!a) continue;
        m_actions.emplace_back(a);
        m_starts.push_back(total);
        total += a->getDuration();
    }
    CCActionInterval::initWithDuration(total);
    return !m_actions.empty();
}

CCFiniteTimeAction* CCSequence::getActionAt(unsigned int index) const {
    return index < m_actions.size() ? m_actions[index].get() : nullptr;
}

CCSequence* CCSequence::copy() {
    std::vector<CCFiniteTimeAction*> list;
    for (auto& a : m_actions) list.push_back(static_cast<CCFiniteTimeAction*>(a->copy()));
    CCSequence* s = new CCSequence();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

CCSequence* CCSequence::reverse() {
    std::vector<CCFiniteTimeAction*> list;
    for (auto it = m_actions.rbegin(); it != m_actions.rend(); ++it) {
        CCFiniteTimeAction* r = (*it)->reverse();
        if (!r) return nullptr;
        list.push_back(r);
    }
    CCSequence* s = new CCSequence();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

void CCSequence::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_current = 0;
    m_currentStarted = false;
}

void CCSequence::stop() {
    if (m_currentStarted && m_current < m_actions.size()) m_actions[m_current]->stop();
    m_currentStarted = false;
    CCActionInterval::stop();
}

void CCSequence::update(float t) {
    if (!m_pTarget) return;
    const float time = t * m_fDuration;
    const bool atEnd = t >= 1;
    if (m_current < m_actions.size() && time < m_starts[m_current] - kActionTimeEpsilon) {
        // Moved backwards: begin again from the first member.
        if (m_currentStarted) m_actions[m_current]->stop();
        m_current = 0;
        m_currentStarted = false;
    }
    while (m_current < m_actions.size()) {
        // Hold the member: its callback may stop this sequence.
        RefPtr<CCFiniteTimeAction> member(m_actions[m_current].get());
        if (!m_currentStarted) {
            member->startWithTarget(m_pTarget);
            m_currentStarted = true;
        }
        const float start = m_starts[m_current];
        const float d = member->getDuration();
        if (atEnd || time >= start + d - kActionTimeEpsilon) {
            member->update(1);
            if (!m_currentStarted) return;  // stopped from inside the member's update
            member->stop();
            ++m_current;
            m_currentStarted = false;
            if (!m_pTarget) return;
            continue;
        }
        float local = (time - start) / d;  // d > epsilon here
        member->update(local < 0 ? 0 : local);
        break;
    }
}

// --- CCSpawn ---

CCSpawn* CCSpawn::create(CCFiniteTimeAction* first, ...) {
    va_list args;
    va_start(args, first);
    CCSpawn* s = createWithVariableList(first, args);
    va_end(args);
    return s;
}

CCSpawn* CCSpawn::createWithVariableList(CCFiniteTimeAction* first, va_list args) {
    std::vector<CCFiniteTimeAction*> list = collect(first, args);
    if (list.empty()) return nullptr;
    CCSpawn* s = new CCSpawn();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

CCSpawn* CCSpawn::createWithTwoActions(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
    return create(one, two, nullptr);
}

CCSpawn* CCSpawn::create(CCArray* actions) {
    std::vector<CCFiniteTimeAction*> list = collect(actions);
    if (list.empty()) return nullptr;
    CCSpawn* s = new CCSpawn();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

bool CCSpawn::initWithActions(const std::vector<CCFiniteTimeAction*>& actions) {
    m_actions.clear();
    float longest = 0;
    for (CCFiniteTimeAction* a : actions) {
        if (!a) continue;
        m_actions.emplace_back(a);
        longest = std::max(longest, a->getDuration());
    }
    m_finished.assign(m_actions.size(), false);
    CCActionInterval::initWithDuration(longest);
    return !m_actions.empty();
}

CCFiniteTimeAction* CCSpawn::getActionAt(unsigned int index) const {
    return index < m_actions.size() ? m_actions[index].get() : nullptr;
}

CCSpawn* CCSpawn::copy() {
    std::vector<CCFiniteTimeAction*> list;
    for (auto& a : m_actions) list.push_back(static_cast<CCFiniteTimeAction*>(a->copy()));
    CCSpawn* s = new CCSpawn();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

CCSpawn* CCSpawn::reverse() {
    std::vector<CCFiniteTimeAction*> list;
    for (auto& a : m_actions) {
        CCFiniteTimeAction* r = a->reverse();
        if (!r) return nullptr;
        float wait = m_fDuration - a->getDuration();
        if (wait > kActionTimeEpsilon)
            r = CCSequence::createWithTwoActions(CCDelayTime::create(wait), r);
        list.push_back(r);
    }
    CCSpawn* s = new CCSpawn();
    s->initWithActions(list);
    return ccAutoreleased(s);
}

void CCSpawn::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_finished.assign(m_actions.size(), false);
    for (auto& a : m_actions) a->startWithTarget(target);
}

void CCSpawn::stop() {
    for (size_t i = 0; i < m_actions.size(); ++i)
        if (!m_finished[i]) m_actions[i]->stop();
    m_finished.assign(m_actions.size(), true);
    CCActionInterval::stop();
}

void CCSpawn::update(float t) {
    const float time = t * m_fDuration;
    const bool atEnd = t >= 1;
    for (size_t i = 0; i < m_actions.size() && m_pTarget; ++i) {
        if (m_finished[i]) continue;
        RefPtr<CCFiniteTimeAction> member(m_actions[i].get());
        const float d = member->getDuration();
        if (atEnd || time >= d - kActionTimeEpsilon) {
            m_finished[i] = true;
            member->update(1);
            member->stop();
        } else {
            member->update(time / d);  // d > epsilon here
        }
    }
}

// --- CCRepeat ---

CCRepeat* CCRepeat::create(CCFiniteTimeAction* action, unsigned int times) {
    if (!action) return nullptr;
    CCRepeat* r = new CCRepeat();
    r->initWithAction(action, times);
    return ccAutoreleased(r);
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* action, unsigned int times) {
    m_inner = action;
    m_times = times;
    CCActionInterval::initWithDuration(action ? action->getDuration() * (float)times : 0);
    return action != nullptr;
}

CCRepeat* CCRepeat::copy() {
    return create(static_cast<CCFiniteTimeAction*>(m_inner->copy()), m_times);
}

CCRepeat* CCRepeat::reverse() {
    CCFiniteTimeAction* r = m_inner->reverse();
    return r ? create(r, m_times) : nullptr;
}

void CCRepeat::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    m_done = 0;
    m_innerStarted = false;
}

void CCRepeat::stop() {
    if (m_innerStarted) m_inner->stop();
    m_innerStarted = false;
    CCActionInterval::stop();
}

void CCRepeat::update(float t) {
    if (!m_pTarget || !m_inner) return;
    const float time = t * m_fDuration;
    const bool atEnd = t >= 1;
    const float d = m_inner->getDuration();
    RefPtr<CCFiniteTimeAction> inner(m_inner.get());
    unsigned int cycles = 0;
    while (m_done < m_times && m_pTarget) {
        if (!m_innerStarted) {
            inner->startWithTarget(m_pTarget);
            m_innerStarted = true;
        }
        const float start = (float)m_done * d;
        if (atEnd || time >= start + d - kActionTimeEpsilon) {
            inner->update(1);
            inner->stop();
            m_innerStarted = false;
            ++m_done;
            if (++cycles >= kMaxCyclesPerUpdate) break;
            continue;
        }
        float local = (time - start) / d;  // d > epsilon here
        inner->update(local < 0 ? 0 : local);
        break;
    }
}

// --- CCRepeatForever ---

CCRepeatForever* CCRepeatForever::create(CCActionInterval* action) {
    if (!action) return nullptr;
    CCRepeatForever* r = new CCRepeatForever();
    r->initWithAction(action);
    return ccAutoreleased(r);
}

bool CCRepeatForever::initWithAction(CCActionInterval* action) {
    m_inner = action;
    CCActionInterval::initWithDuration(action ? action->getDuration() : 0);
    return action != nullptr;
}

CCRepeatForever* CCRepeatForever::copy() { return create(m_inner->copy()); }

CCRepeatForever* CCRepeatForever::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? create(r) : nullptr;
}

void CCRepeatForever::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_inner) m_inner->startWithTarget(target);
}

void CCRepeatForever::stop() {
    if (m_inner) m_inner->stop();
    CCActionInterval::stop();
}

void CCRepeatForever::step(float dt) {
    if (!m_inner || !m_pTarget) return;
    RefPtr<CCActionInterval> inner(m_inner.get());
    inner->step(dt);
    unsigned int cycles = 0;
    while (m_pTarget && inner->isDone()) {
        double over = inner->getOvershoot();
        inner->startWithTarget(m_pTarget);
        // A zero-length run (or an absurd frame) waits for the next frame.
        if (inner->getDuration() <= kActionTimeEpsilon || ++cycles >= kMaxCyclesPerUpdate) break;
        inner->step(over > 0 ? (float)over : 0);
    }
}

// --- CCSpeed ---

CCSpeed* CCSpeed::create(CCActionInterval* action, float speed) {
    if (!action) return nullptr;
    CCSpeed* s = new CCSpeed();
    s->initWithAction(action, speed);
    return ccAutoreleased(s);
}

bool CCSpeed::initWithAction(CCActionInterval* action, float speed) {
    m_inner = action;
    m_fSpeed = speed;
    return action != nullptr;
}

CCSpeed* CCSpeed::copy() { return create(m_inner->copy(), m_fSpeed); }

CCSpeed* CCSpeed::reverse() {
    CCActionInterval* r = m_inner->reverse();
    return r ? create(r, m_fSpeed) : nullptr;
}

bool CCSpeed::isDone() { return m_inner->isDone(); }

void CCSpeed::startWithTarget(CCNode* target) {
    CCAction::startWithTarget(target);
    m_inner->startWithTarget(target);
}

void CCSpeed::stop() {
    m_inner->stop();
    CCAction::stop();
}

void CCSpeed::step(float dt) {
    if (m_fSpeed > 0) m_inner->step(dt * m_fSpeed);
}

}  // namespace pagly::engine
