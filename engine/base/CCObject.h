#pragma once

// Base of every reference-counted engine object. create() hands out autoreleased objects;
// parents and containers retain; the director drains the autorelease pool after every frame.
namespace pagly::engine {

class CCObject;
class CCNode;
class CCEvent;

typedef void (CCObject::*SEL_SCHEDULE)(float);
typedef void (CCObject::*SEL_CallFunc)();
typedef void (CCObject::*SEL_CallFuncN)(CCNode*);
typedef void (CCObject::*SEL_MenuHandler)(CCObject*);

// A member function of a CCObject subclass in the form the engine stores callbacks: a pointer to
// a CCObject member of the same signature. Unlike a plain cast, a wrong signature does not build.
template <class T, class R, class... Args>
R (CCObject::*memberCallback(R (T::*callback)(Args...)))
(Args...) {
    return static_cast<R (CCObject::*)(Args...)>(callback);
}

class CCObject {
  public:
    CCObject();
    virtual ~CCObject();

    void retain();
    void release();
    CCObject* autorelease();
    unsigned int retainCount() const { return m_uReference; }
    bool isSingleReference() const { return m_uReference == 1; }
    unsigned int m_uID;

    // Number of engine objects alive right now; tests compare it against a baseline.
    static long liveObjectCount();

    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;

  protected:
    unsigned int m_uReference;
    unsigned int m_uAutoReleaseCount;
    friend class CCAutoreleasePool;
};

// The one autorelease pool. Objects added here lose one reference when the pool is drained,
// which the director does once after every frame.
class CCAutoreleasePool {
  public:
    static CCAutoreleasePool* sharedPool();
    void addObject(CCObject* object);
    void drain();
    bool contains(const CCObject* object) const;
    unsigned int size() const;

  private:
    CCAutoreleasePool() = default;
};

// Two-phase creation: runs init on a new object and hands it back autoreleased, or destroys it
// and gives null when init fails.
template <class T>
T* ccCreateInitialized(T* object) {
    if (!object->init()) {
        object->release();
        return nullptr;
    }
    object->autorelease();
    return object;
}

// Hands a new object back autoreleased, typed as it is (for create functions whose init
// cannot fail).
template <class T>
T* ccAutoreleased(T* object) {
    object->autorelease();
    return object;
}

// Debug log: one plain line per call, printf-style.
void CCLog(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Where CCLog lines go; tests capture them. Null restores stderr.
typedef void (*CCLogSink)(const char* line);
void CCSetLogSink(CCLogSink sink);

}  // namespace pagly::engine
