#pragma once

#include <vector>

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// The keyboard's place in a list of menu lines: Up and Down move a visible bar from line to
// line, and the list scrolls (within its drag bounds) to keep the marked line in view.
class ListHighlight {
  public:
    // `lines` in list order, children of `list`; none is marked at first.
    void setLines(engine::CCNode* list, const std::vector<engine::CCNode*>& lines);
    // Moves the mark by `delta` lines (the first key marks the first line), stopping at the
    // ends, and scrolls the list by as little as keeps the line in view.
    void move(int delta, float limit, engine::CCPoint& rememberedOffset);
    // The marked line, or null.
    engine::CCNode* current() const;
    int index() const { return m_index; }

  private:
    void mark(int index, bool on);

    engine::CCNode* m_list = nullptr;      // non-owning: the screen's list menu
    std::vector<engine::CCNode*> m_lines;  // non-owning: the menu's items
    int m_index = -1;
};

}  // namespace pagly
