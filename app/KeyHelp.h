#pragma once

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// The key overlay of a screen: F1 or '?' shows the keys of that screen over it; the next key,
// whatever it is, closes it and does nothing else.
class KeyHelp {
  public:
    // Takes the key when it opens or closes the overlay (true); `lines` is the screen's key
    // list, one "key: what it does" line each, ending with a null.
    bool handleKey(engine::CCNode* screen, int keyCode, const char* const* lines);
    bool isShown() const { return m_overlay != nullptr; }

  private:
    engine::CCNode* m_overlay = nullptr;  // a child of the screen while shown
};

}  // namespace pagly
