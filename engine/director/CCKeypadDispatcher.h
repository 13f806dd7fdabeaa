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
    kKeyM,
    kKeyB,
    kKeyY,
    kKeyShiftE,  // E with Shift held
    kKeyMenu,    // Tab, or the keyboard's menu key: a screen's card of all its buttons
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

class CCScene;

// Hands key presses to registered delegates in registration order,
// each kept alive while it is called; delegates may unregister during dispatch.
//
// Input is off while a transition runs. A key pressed then is not lost: the last one is held
// and handed to the incoming scene's delegates once the transition has handed that scene over
// (after its onEnterTransitionDidFinish), so Right, Right during a page curl turns two pages.
// A held key is dropped when the transition ends any other way (cut short by another scene),
// or when input is still off or another scene is already on its way at that moment: it never
// fires later, out of the context it was pressed in.
class CCKeypadDispatcher : public CCObject {
  public:
    ~CCKeypadDispatcher() override;
    void addDelegate(CCKeypadDelegate* delegate);
    void removeDelegate(CCKeypadDelegate* delegate);
    void removeAllDelegates();
    unsigned int delegateCount() const { return (unsigned int)m_delegates.size(); }
    void dispatchKey(int keyCode);

    // The director calls this after every scene switch, once the new scene has entered:
    // `previous` is the scene that was running, `handedOver` whether it was a finished
    // transition giving the director its incoming scene. Delivers or drops the held key.
    void sceneSwitched(const CCScene* previous, bool handedOver);
    bool hasHeldKey() const { return m_heldDuring != nullptr; }
    void dropHeldKey() { m_heldDuring = nullptr; }

  private:
    void deliver(int keyCode);

    std::vector<CCKeypadDelegate*> m_delegates;
    int m_heldKey = kKeyUnknown;
    // The transition that was running when the key was held; only compared, never followed
    // (the running scene changes only through a scene switch or a director reset, and both
    // resolve the held key).
    const CCScene* m_heldDuring = nullptr;
};

}  // namespace pagly::engine
