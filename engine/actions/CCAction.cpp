#include "engine/actions/CCAction.h"

namespace pagly::engine {

void CCAction::startWithTarget(CCNode* target) { m_pOriginalTarget = m_pTarget = target; }
void CCAction::stop() { m_pTarget = nullptr; }
void CCAction::step(float) {}
void CCAction::update(float) {}

}  // namespace pagly::engine
