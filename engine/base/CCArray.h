#pragma once

#include <cstddef>
#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

// An ordered array of engine objects; it retains what it holds.
class CCArray : public CCObject {
  public:
    CCArray() = default;
    ~CCArray() override;

    static CCArray* create();
    static CCArray* createWithCapacity(unsigned int capacity);
    // A list of objects ended by null.
    static CCArray* create(CCObject* object, ...);
    static CCArray* createWithArray(CCArray* other);

    unsigned int count() const { return (unsigned int)m_data.size(); }
    unsigned int capacity() const { return (unsigned int)m_data.capacity(); }
    CCObject* objectAtIndex(unsigned int index) const;
    CCObject* lastObject() const { return m_data.empty() ? nullptr : m_data.back(); }
    CCObject* randomObject() const = delete;
    bool containsObject(const CCObject* object) const;
    // UINT_MAX when absent.
    unsigned int indexOfObject(const CCObject* object) const;

    void addObject(CCObject* object);
    void addObjectsFromArray(const CCArray* other);
    void insertObject(CCObject* object, unsigned int index);
    void removeObject(CCObject* object, bool releaseObj = true);
    void removeObjectAtIndex(unsigned int index, bool releaseObj = true);
    void removeLastObject(bool releaseObj = true);
    void removeAllObjects();
    void exchangeObjectAtIndex(unsigned int a, unsigned int b);
    void replaceObjectAtIndex(unsigned int index, CCObject* object);

    std::vector<CCObject*>::const_iterator begin() const { return m_data.begin(); }
    std::vector<CCObject*>::const_iterator end() const { return m_data.end(); }
    const std::vector<CCObject*>& data() const { return m_data; }

  private:
    std::vector<CCObject*> m_data;
};

}  // namespace pagly::engine
