#pragma once

#include <utility>

namespace pagly::engine {

// Owning pointer for reference-counted engine objects: retains on assignment, releases on
// reset and destruction. Members that own an engine object hold it through this.
template <class T>
class RefPtr {
  public:
    RefPtr() = default;
    RefPtr(T* p) : m_p(p) {  // NOLINT: implicit on purpose, assignment from create() reads well
        if (m_p) m_p->retain();
    }
    RefPtr(const RefPtr& other) : RefPtr(other.m_p) {}
    RefPtr(RefPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~RefPtr() { reset(); }

    RefPtr& operator=(T* p) {
        if (p) p->retain();
        T* old = m_p;
        m_p = p;
        if (old) old->release();
        return *this;
    }
    RefPtr& operator=(const RefPtr& other) { return *this = other.m_p; }
    RefPtr& operator=(RefPtr&& other) noexcept {
        if (this != &other) {
            T* old = m_p;
            m_p = other.m_p;
            other.m_p = nullptr;
            if (old) old->release();
        }
        return *this;
    }

    void reset() {
        T* old = m_p;
        m_p = nullptr;
        if (old) old->release();
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    operator T*() const { return m_p; }

  private:
    T* m_p = nullptr;
};

}  // namespace pagly::engine
