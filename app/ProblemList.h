#pragma once

#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {
class CCLayerColor;
}

namespace pagly {

// The things in a book that cannot be used, one line each, in a box of a fixed size that
// scrolls: a drag, the mouse wheel or the Up / Down keys move it a line at a time, and a bar at
// its right edge shows which part of the list is in view.
class ProblemList : public engine::CCNode {
  public:
    // `box`: where the list sits, in its parent's space.
    static ProblemList* create(const engine::CCRect& box);

    // The lines, and how many things there are in all (more than the lines when the importer
    // named more than were kept).
    void setLines(const std::vector<std::string>& lines, int total);
    size_t lineCount() const { return m_lines.size(); }
    const std::string& lineText(size_t i) const { return m_lines[i]; }

    // Moves the list by `distance` design units (positive: further down the list), within
    // its ends.
    void scrollBy(float distance);
    void scrollLines(int lines);
    float scrollOffset() const { return m_offset; }
    float longestScroll() const;
    // Whether the line `i` is wholly in view.
    bool isLineInView(size_t i) const;
    bool contains(const engine::CCPoint& pointInParent) const {
        return m_box.containsPoint(pointInParent);
    }

  private:
    explicit ProblemList(const engine::CCRect& box);
    void place();

    engine::CCRect m_box;
    engine::CCNode* m_content = nullptr;  // children of the clipping node
    engine::CCLayerColor* m_thumb = nullptr;
    std::vector<std::string> m_lines;
    std::vector<float> m_tops;  // each line's top, down from the list's top
    float m_height = 0;         // of all the lines
    float m_offset = 0;
    float m_lineStep = 30;  // a wheel notch or an arrow key
};

}  // namespace pagly
