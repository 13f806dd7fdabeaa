#pragma once

#include <vector>

namespace pagly::engine {
class CCLabelTTF;
}

namespace pagly {

// Fits a one-line label into `width` (design units) without cutting a glyph: first smaller
// type, down to `smallest`; then two centred lines at that size; then the second line ends
// in an ellipsis. A label that fits is left as it is.
void fitLabelToWidth(engine::CCLabelTTF* label, float width, float smallest);

// A line of the main page's or the contents' list fitted to the screen's width, a margin kept
// on each side.
void fitListLine(engine::CCLabelTTF* label);
// The lines of one list fitted so, then all set in one type size: the smallest any one-line
// line needed (lines on two lines keep theirs).
void fitListLines(const std::vector<engine::CCLabelTTF*>& labels);

}  // namespace pagly
