#pragma once

#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

// An insertion-ordered set of engine objects (the touches of one event); retains its members.
class CCSet : public CCObject {
  public:
    CCSet() = default;
    ~CCSet() override;
    static CCSet* create();
    CCSet* copy() const;  // a new set with a count of one (not autoreleased)

    int count() const { return (int)m_data.size(); }
    void addObject(CCObject* object);
    void removeObject(CCObject* object);
    void removeAllObjects();
    bool containsObject(const CCObject* object) const;
    CCObject* anyObject() const { return m_data.empty() ? nullptr : m_data.front(); }

    typedef std::vector<CCObject*>::const_iterator const_iterator;
    const_iterator begin() const { return m_data.begin(); }
    const_iterator end() const { return m_data.end(); }

  private:
    std::vector<CCObject*> m_data;
};

typedef CCSet::const_iterator CCSetIterator;

}  // namespace pagly::engine
