#include "engine/base/CCArray.h"

#include <climits>
#include <cstdarg>
#include <utility>

namespace pagly::engine {

CCArray::~CCArray() { removeAllObjects(); }

CCArray* CCArray::create() {
    CCArray* a = new CCArray();
    a->autorelease();
    return a;
}

CCArray* CCArray::createWithCapacity(unsigned int capacity) {
    CCArray* a = create();
    a->m_data.reserve(capacity);
    return a;
}

CCArray* CCArray::create(CCObject* object, ...) {
    CCArray* a = create();
    if (!object) return a;
    a->addObject(object);
    va_list args;
    va_start(args, object);
    for (CCObject* o = va_arg(args, CCObject*); o; o = va_arg(args, CCObject*)) a->addObject(o);
    va_end(args);
    return a;
}

CCArray* CCArray::createWithArray(CCArray* other) {
    CCArray* a = create();
    a->addObjectsFromArray(other);
    return a;
}

CCObject* CCArray::objectAtIndex(unsigned int index) const {
    return index < m_data.size() ? m_data[index] : nullptr;
}

bool CCArray::containsObject(const CCObject* object) const {
    return indexOfObject(object) != UINT_MAX;
}

unsigned int CCArray::indexOfObject(const CCObject* object) const {
    for (size_t i = 0; i < m_data.size(); ++i)
        if (m_data[i] == object) return (unsigned int)i;
    return UINT_MAX;
}

void CCArray::addObject(CCObject* object) {
    if (!object) return;
    object->retain();
    m_data.push_back(object);
}

void CCArray::addObjectsFromArray(const CCArray* other) {
    if (!other) return;
    std::vector<CCObject*> copy = other->m_data;  // other may be this
    for (CCObject* o : copy) addObject(o);
}

void CCArray::insertObject(CCObject* object, unsigned int index) {
    if (!object) return;
    if (index > m_data.size()) index = (unsigned int)m_data.size();
    object->retain();
    m_data.insert(m_data.begin() + index, object);
}

void CCArray::removeObject(CCObject* object, bool releaseObj) {
    unsigned int index = indexOfObject(object);
    if (index != UINT_MAX) removeObjectAtIndex(index, releaseObj);
}

void CCArray::removeObjectAtIndex(unsigned int index, bool releaseObj) {
    if (index >= m_data.size()) return;
    CCObject* o = m_data[index];
    m_data.erase(m_data.begin() + index);
    if (releaseObj) o->release();
}

void CCArray::removeLastObject(bool releaseObj) {
    if (!m_data.empty()) removeObjectAtIndex((unsigned int)m_data.size() - 1, releaseObj);
}

void CCArray::removeAllObjects() {
    std::vector<CCObject*> old;
    old.swap(m_data);
    for (CCObject* o : old) o->release();
}

void CCArray::exchangeObjectAtIndex(unsigned int a, unsigned int b) {
    if (a < m_data.size() && b < m_data.size()) std::swap(m_data[a], m_data[b]);
}

void CCArray::replaceObjectAtIndex(unsigned int index, CCObject* object) {
    if (index >= m_data.size() || !object) return;
    object->retain();
    CCObject* old = m_data[index];
    m_data[index] = object;
    old->release();
}

}  // namespace pagly::engine
