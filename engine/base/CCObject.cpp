#include "engine/base/CCObject.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace pagly::engine {

namespace {
long g_liveObjects = 0;
unsigned int g_nextId = 0;
std::vector<CCObject*>& poolObjects() {
    static std::vector<CCObject*> objects;
    return objects;
}
CCLogSink g_logSink = nullptr;
}  // namespace

CCObject::CCObject() : m_uID(++g_nextId), m_uReference(1), m_uAutoReleaseCount(0) {
    ++g_liveObjects;
}

CCObject::~CCObject() { --g_liveObjects; }

long CCObject::liveObjectCount() { return g_liveObjects; }

void CCObject::retain() {
    assert(m_uReference > 0 && "retain on a freed object");
    ++m_uReference;
}

void CCObject::release() {
    assert(m_uReference > 0 && "release on a freed object (one release too many)");
    --m_uReference;
    if (m_uReference == 0) delete this;
}

CCObject* CCObject::autorelease() {
    CCAutoreleasePool::sharedPool()->addObject(this);
    return this;
}

CCAutoreleasePool* CCAutoreleasePool::sharedPool() {
    static CCAutoreleasePool pool;
    return &pool;
}

void CCAutoreleasePool::addObject(CCObject* object) {
    poolObjects().push_back(object);
    ++object->m_uAutoReleaseCount;
}

void CCAutoreleasePool::drain() {
    // Releasing may destroy objects whose destructors autorelease others: loop until empty.
    std::vector<CCObject*>& objects = poolObjects();
    while (!objects.empty()) {
        std::vector<CCObject*> batch;
        batch.swap(objects);
        for (CCObject* object : batch) {
            --object->m_uAutoReleaseCount;
            object->release();
        }
    }
}

bool CCAutoreleasePool::contains(const CCObject* object) const {
    for (CCObject* o : poolObjects())
        if (o == object) return true;
    return false;
}

unsigned int CCAutoreleasePool::size() const { return (unsigned int)poolObjects().size(); }

void CCSetLogSink(CCLogSink sink) { g_logSink = sink; }

void CCLog(const char* format, ...) {
    char buffer[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (g_logSink) {
        g_logSink(buffer);
    } else {
        fprintf(stderr, "%s\n", buffer);
    }
}

}  // namespace pagly::engine
