#include "engine/actions/CCActionInstant.h"

#include "engine/nodes/CCNode.h"

namespace pagly::engine {

void CCActionInstant::startWithTarget(CCNode* target) {
    CCFiniteTimeAction::startWithTarget(target);
    m_bDone = false;
}

void CCActionInstant::step(float) {
    m_bDone = true;
    update(1);
}

CCShow* CCShow::create() { return ccAutoreleased(new CCShow()); }
CCFiniteTimeAction* CCShow::reverse() { return CCHide::create(); }
void CCShow::update(float) {
    if (m_pTarget) m_pTarget->setVisible(true);
}

CCHide* CCHide::create() { return ccAutoreleased(new CCHide()); }
CCFiniteTimeAction* CCHide::reverse() { return CCShow::create(); }
void CCHide::update(float) {
    if (m_pTarget) m_pTarget->setVisible(false);
}

CCPlace* CCPlace::create(const CCPoint& position) {
    CCPlace* a = new CCPlace();
    a->m_position = position;
    return ccAutoreleased(a);
}
void CCPlace::update(float) {
    if (m_pTarget) m_pTarget->setPosition(m_position);
}

CCCallFunc* CCCallFunc::create(CCObject* selectorTarget, SEL_CallFunc selector) {
    CCCallFunc* a = new CCCallFunc();
    a->m_selectorTarget = selectorTarget;
    a->m_callFunc = selector;
    return ccAutoreleased(a);
}

CCCallFunc* CCCallFunc::create(std::function<void()> function) {
    CCCallFunc* a = new CCCallFunc();
    a->m_function = std::move(function);
    return ccAutoreleased(a);
}

CCCallFunc* CCCallFunc::copy() {
    CCCallFunc* a = new CCCallFunc();
    a->m_selectorTarget = m_selectorTarget.get();
    a->m_callFunc = m_callFunc;
    a->m_function = m_function;
    return ccAutoreleased(a);
}

void CCCallFunc::update(float) { execute(); }

void CCCallFunc::execute() {
    if (m_selectorTarget && m_callFunc) {
        // The callback may stop this action (and drop the last other reference to the
        // target); keep the target alive for the call.
        RefPtr<CCObject> keep(m_selectorTarget.get());
        (keep.get()->*m_callFunc)();
    } else if (m_function) {
        m_function();
    }
}

CCCallFuncN* CCCallFuncN::create(CCObject* selectorTarget, SEL_CallFuncN selector) {
    CCCallFuncN* a = new CCCallFuncN();
    a->m_selectorTarget = selectorTarget;
    a->m_callFuncN = selector;
    return ccAutoreleased(a);
}

CCCallFuncN* CCCallFuncN::create(std::function<void(CCNode*)> function) {
    CCCallFuncN* a = new CCCallFuncN();
    a->m_functionN = std::move(function);
    return ccAutoreleased(a);
}

CCCallFuncN* CCCallFuncN::copy() {
    CCCallFuncN* a = new CCCallFuncN();
    a->m_selectorTarget = m_selectorTarget.get();
    a->m_callFuncN = m_callFuncN;
    a->m_functionN = m_functionN;
    return ccAutoreleased(a);
}

void CCCallFuncN::execute() {
    if (m_selectorTarget && m_callFuncN) {
        RefPtr<CCObject> keep(m_selectorTarget.get());
        (keep.get()->*m_callFuncN)(m_pTarget);
    } else if (m_functionN) {
        m_functionN(m_pTarget);
    }
}

}  // namespace pagly::engine
