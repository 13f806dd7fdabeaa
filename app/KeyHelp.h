#pragma once

#include "engine/base/RefPtr.h"

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// The key list of a screen: F1 or '?' shows the keys of that screen on a card over it. The
// list is modal: the next key, whatever it is, or a click or touch anywhere closes it and does
// nothing else; a notch of the mouse wheel (kKeyUp / kKeyDown) leaves it open.
class KeyHelp {
  public:
    KeyHelp();
    ~KeyHelp();
    KeyHelp(const KeyHelp&) = delete;
    KeyHelp& operator=(const KeyHelp&) = delete;

    // Takes the key when it opens the list, or while the list is shown (true); `lines` is the
    // screen's key list, one "key: what it does" line each, ending with a null.
    bool handleKey(engine::CCNode* screen, int keyCode, const char* const* lines);
    bool isShown() const;

    // The overlay is the screen's child with kOverlayTag; the card within it has kCardTag
    // and a content size of its own; the card's key and action labels carry kKeyTag and
    // kActionTag.
    static const int kOverlayTag = 7401;
    static const int kCardTag = 7402;
    static const int kKeyTag = 7403;
    static const int kActionTag = 7404;

  private:
    engine::RefPtr<engine::CCNode> m_overlay;  // a child of the screen while shown
};

}  // namespace pagly
