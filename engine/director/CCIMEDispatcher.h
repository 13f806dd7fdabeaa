#pragma once

#include <vector>

namespace pagly::engine {

class CCIMEDispatcher;

// Something that takes typed text: it registers with the input-method dispatcher while it
// exists, and receives text only while it is the one attached.
class CCIMEDelegate {
  public:
    virtual ~CCIMEDelegate();

    // Asks to become the attached delegate (opens text entry). False when refused: this
    // delegate cannot attach, or the attached one will not let go.
    virtual bool attachWithIME();
    // Lets go of text entry. False when this delegate is not attached or refuses.
    virtual bool detachWithIME();

  protected:
    friend class CCIMEDispatcher;
    CCIMEDelegate();

    // Consulted before attaching / detaching; answer false to refuse.
    virtual bool canAttachWithIME() { return false; }
    virtual void didAttachWithIME() {}
    virtual bool canDetachWithIME() { return false; }
    virtual void didDetachWithIME() {}

    // Text typed while attached: UTF-8, `len` bytes, not NUL-terminated in general.
    virtual void insertText(const char* /*text*/, int /*len*/) {}
    virtual void deleteBackward() {}
    // The text the delegate holds (for the platform's input method); may be null.
    virtual const char* getContentText() { return nullptr; }
};

// Routes typed text from the view to the one attached delegate. The view calls
// dispatchInsertText for text input events and dispatchDeleteBackward for Backspace.
// When the first delegate attaches the keyboard hook is told to open text entry, when the
// last detaches to close it (by default SDL_StartTextInput / SDL_StopTextInput once SDL's
// video is up).
class CCIMEDispatcher {
  public:
    static CCIMEDispatcher* sharedDispatcher();

    void dispatchInsertText(const char* text, int len);
    void dispatchDeleteBackward();
    const char* getContentText();

    bool isAnyDelegateAttachedWithIME() const { return m_attached != nullptr; }
    CCIMEDelegate* attachedDelegate() const { return m_attached; }
    bool isKeyboardOpen() const { return m_keyboardOpen; }

    // Replaces how text entry is opened and closed (null: the SDL default). Tests and the
    // platform view use it.
    typedef void (*KeyboardHook)(bool open);
    void setKeyboardHook(KeyboardHook hook) { m_hook = hook; }

  protected:
    friend class CCIMEDelegate;
    void addDelegate(CCIMEDelegate* delegate);
    void removeDelegate(CCIMEDelegate* delegate);
    bool attachDelegateWithIME(CCIMEDelegate* delegate);
    bool detachDelegateWithIME(CCIMEDelegate* delegate);

  private:
    CCIMEDispatcher() = default;
    bool isRegistered(CCIMEDelegate* delegate) const;
    void setKeyboard(bool open);

    std::vector<CCIMEDelegate*> m_delegates;  // non-owning: delegates unregister when destroyed
    CCIMEDelegate* m_attached = nullptr;
    KeyboardHook m_hook = nullptr;
    bool m_keyboardOpen = false;
};

}  // namespace pagly::engine
