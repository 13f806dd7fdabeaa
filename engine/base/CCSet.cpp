#include "engine/base/CCSet.h"

#include <algorithm>

namespace pagly::engine {

CCSet::~CCSet() { removeAllObjects(); }

CCSet* CCSet::create() {
    CCSet* s = new CCSet();
    s->autorelease();
    return s;
}

CCSet* CCSet::copy() const {
    CCSet* s = new CCSet();
    for (CCObject* o : m_data) s->addObject(o);
    return s;
}

void CCSet::addObject(CCObject* object) {
    if (!object || containsObject(object)) return;
    object->retain();
    m_data.push_back(object);
}

void CCSet::removeObject(CCObject* object) {
    auto it = std::find(m_data.begin(), m_data.end(), object);
    if (it == m_data.end()) return;
    m_data.erase(it);
    object->release();
}

void CCSet::removeAllObjects() {
    std::vector<CCObject*> old;
    old.swap(m_data);
    for (CCObject* o : old) o->release();
}

bool CCSet::containsObject(const CCObject* object) const {
    return std::find(m_data.begin(), m_data.end(), object) != m_data.end();
}

}  // namespace pagly::engine
