#include "engine/director/CCIMEDispatcher.h"

#include <SDL.h>

#include <algorithm>

#include "engine/base/CCObject.h"

namespace pagly::engine {

namespace {

// Keeps a delegate that is also an engine object alive while it is called: a delegate may
// remove its own node (and so release it) from inside its callback.
class KeepAlive {
  public:
    explicit KeepAlive(CCIMEDelegate* delegate) : m_object(dynamic_cast<CCObject*>(delegate)) {
        if (m_object) m_object->retain();
    }
    ~KeepAlive() {
        if (m_object) m_object->release();
    }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

  private:
    CCObject* m_object;
};

}  // namespace

// --- CCIMEDelegate ---

CCIMEDelegate::CCIMEDelegate() { CCIMEDispatcher::sharedDispatcher()->addDelegate(this); }

CCIMEDelegate::~CCIMEDelegate() { CCIMEDispatcher::sharedDispatcher()->removeDelegate(this); }

bool CCIMEDelegate::attachWithIME() {
    return CCIMEDispatcher::sharedDispatcher()->attachDelegateWithIME(this);
}

bool CCIMEDelegate::detachWithIME() {
    return CCIMEDispatcher::sharedDispatcher()->detachDelegateWithIME(this);
}

// --- CCIMEDispatcher ---

CCIMEDispatcher* CCIMEDispatcher::sharedDispatcher() {
    // Never destroyed: delegates that outlive static destruction still unregister safely.
    static CCIMEDispatcher* dispatcher = new CCIMEDispatcher();
    return dispatcher;
}

bool CCIMEDispatcher::isRegistered(CCIMEDelegate* delegate) const {
    return std::find(m_delegates.begin(), m_delegates.end(), delegate) != m_delegates.end();
}

void CCIMEDispatcher::addDelegate(CCIMEDelegate* delegate) {
    if (delegate && !isRegistered(delegate)) m_delegates.push_back(delegate);
}

void CCIMEDispatcher::removeDelegate(CCIMEDelegate* delegate) {
    m_delegates.erase(std::remove(m_delegates.begin(), m_delegates.end(), delegate),
                      m_delegates.end());
    if (m_attached == delegate) {
        // Going away while attached: no callbacks into a half-destroyed object.
        m_attached = nullptr;
        setKeyboard(false);
    }
}

void CCIMEDispatcher::setKeyboard(bool open) {
    if (m_keyboardOpen == open) return;
    m_keyboardOpen = open;
    if (m_hook) {
        m_hook(open);
    } else if (SDL_WasInit(SDL_INIT_VIDEO)) {
        if (open) {
            SDL_StartTextInput();
        } else {
            SDL_StopTextInput();
        }
    }
}

bool CCIMEDispatcher::attachDelegateWithIME(CCIMEDelegate* delegate) {
    if (!delegate || !isRegistered(delegate)) return false;
    if (m_attached == delegate) return true;
    KeepAlive keepNew(delegate);
    CCIMEDelegate* old = m_attached;
    KeepAlive keepOld(old);
    if (old && !old->canDetachWithIME()) return false;
    if (!delegate->canAttachWithIME()) return false;
    // The callbacks above may have changed the registry (a delegate destroyed itself).
    if (!isRegistered(delegate)) return false;
    m_attached = delegate;
    if (old && old != delegate && isRegistered(old)) old->didDetachWithIME();
    setKeyboard(true);
    if (m_attached == delegate) delegate->didAttachWithIME();
    return true;
}

bool CCIMEDispatcher::detachDelegateWithIME(CCIMEDelegate* delegate) {
    if (!delegate || m_attached != delegate) return false;
    KeepAlive keep(delegate);
    if (!delegate->canDetachWithIME()) return false;
    if (m_attached != delegate) return false;
    m_attached = nullptr;
    setKeyboard(false);
    delegate->didDetachWithIME();
    return true;
}

void CCIMEDispatcher::dispatchInsertText(const char* text, int len) {
    if (!m_attached || !text || len <= 0) return;
    CCIMEDelegate* target = m_attached;
    KeepAlive keep(target);
    target->insertText(text, len);
}

void CCIMEDispatcher::dispatchDeleteBackward() {
    if (!m_attached) return;
    CCIMEDelegate* target = m_attached;
    KeepAlive keep(target);
    target->deleteBackward();
}

const char* CCIMEDispatcher::getContentText() {
    return m_attached ? m_attached->getContentText() : "";
}

}  // namespace pagly::engine
