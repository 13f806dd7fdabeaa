#pragma once

#include <vector>

#include "engine/base/CCObject.h"

namespace pagly::engine {

// Keys the desktop reader reacts to. kKeyUp / kKeyDown scroll a list one step (a notch of
// the mouse wheel); the arrow keys Up and Down arrive as kKeyArrowUp / kKeyArrowDown, which
// move a choice (a highlighted line, a sentence).
enum CCKeyCode {
    kKeyUnknown = 0,
    kKeyLeft,
    kKeyRight,
    kKeyUp,
    kKeyDown,
    kKeySpace,
    kKeyEscape,
    kKeyEnter,
    kKeyBackspace,
    kKeyDelete,
    kKeyArrowUp,
    kKeyArrowDown,
    kKeyS,
    kKeyR,
    kKeyE,
    kKeyHelp,   // F1, or '?'
    kKeyMinus,  // - on the main keys or the keypad
    kKeyPlus,   // + or = (the + key without Shift), or the keypad's +
};

// Keyboard delegate. keyBackClicked / keyMenuClicked are the engine's handheld keys (Escape
// maps to back); keyPressed carries every key.
class CCKeypadDelegate {
  public:
    virtual ~CCKeypadDelegate() = default;
    virtual void keyBackClicked() {}
    virtual void keyMenuClicked() {}
    virtual void keyPressed(int /*CCKeyCode*/) {}
};

// Hands key presses to registered delegates in registration order,
// each kept alive while it is called; delegates may unregister during dispatch.
class CCKeypadDispatcher : public CCObject {
  public:
    ~CCKeypadDispatcher() override;
    void addDelegate(CCKeypadDelegate* delegate);
    void removeDelegate(CCKeypadDelegate* delegate);
    void removeAllDelegates();
    unsigned int delegateCount() const { return (unsigned int)m_delegates.size(); }
    void dispatchKey(int keyCode);

  private:
    std::vector<CCKeypadDelegate*> m_delegates;
};

}  // namespace pagly::engine
