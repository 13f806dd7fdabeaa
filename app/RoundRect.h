#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCDrawNode;
}

namespace pagly {

// A rectangle with round corners (only the top ones when `topOnly`), as one convex polygon: the
// shape of the reader's cards (the key list, the comparison card) and their title bands.
void drawRoundRect(engine::CCDrawNode* node, const engine::CCRect& r, float radius, bool topOnly,
                   const engine::ccColor4B& colour);

}  // namespace pagly
